/*
 * platter.h - the C interface of Platter.dll, the CD library.
 *
 * Shared by the player (which calls it) and libplatter/ (which implements
 * it). Conventions: results of 1 or more mean success; play calls return the
 * drive's new play state; tracks count from 1 and track count + 1 is the
 * lead-out; times are minutes, seconds and frames (75 frames a second);
 * texts are NUL-terminated ANSI strings that the caller copies.
 */
#ifndef PLATTER_PLATTER_H
#define PLATTER_PLATTER_H

#include <stdint.h>

#ifdef PLATTER_BUILD
#define PLATTER_API __declspec(dllexport)
#else
#define PLATTER_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Handles, states and results ------------------------------------- */

typedef uint32_t cd_handle_t;   /* one drive; 0 is never a valid handle */
typedef uint32_t cddb_handle_t; /* one CDDB session; 0 is never valid */

/* Play states returned by cd_check_status, cd_play, cd_pause, cd_resume and
 * cd_stop; any other value means unknown (no disc, drive not ready). */
enum {
    PlayStatePlaying = 3,
    PlayStatePaused = 4,
    PlayStateStopped = 5
};

/* Track types reported by cd_get_track_type: 1 is audio, anything else data. */
enum {
    PLATTER_TRACK_AUDIO = 1,
    PLATTER_TRACK_DATA = 4
};

/* Named results. Success is 1 (or, for a CDDB query, 3 for several
 * inexact matches); failures are 0 or the negative codes below. */
enum {
    PLATTER_OK = 1,
    PLATTER_FAIL = 0,
    PLATTER_CDDB_FUZZY = 3,            /* remote query: several inexact matches */
    PLATTER_CDDB_NOT_FOUND = -1,       /* disc not in the local tree / on the server */
    PLATTER_CDDB_BAD_FORMAT = -2,      /* local tree is not in a known layout */
    PLATTER_CDDB_ILLEGAL_FILE = -3,    /* local tree holds a file that is no entry */
    PLATTER_CDDB_NO_SERVER = -4,       /* server host cannot be found */
    PLATTER_CDDB_NO_CONNECT = -5,      /* server cannot be reached (refused, unreachable, no answer) */
    PLATTER_DB_CORRUPT_DROPPED = -7,   /* compacted, corrupted entries left out */
    PLATTER_SMTP_NO_FILE = -1,         /* the file to send cannot be opened */
    PLATTER_SMTP_NO_SERVER = -2,       /* SMTP host cannot be found */
    PLATTER_SMTP_NO_CONNECT = -3       /* SMTP host unreachable or refused the mail */
};

/* Further CDDB and SMTP failures; callers may treat them all as "other". */
enum {
    PLATTER_CDDB_PROTOCOL = -6,        /* the server's answer broke the protocol */
    PLATTER_CDDB_TIMEOUT = -7,         /* the server stopped answering, or too slowly */
    PLATTER_CDDB_REFUSED = -8,         /* the server refused the session or the command */
    PLATTER_CDDB_BAD_ENTRY = -9,       /* the entry read is not a valid xmcd entry */
    PLATTER_CDDB_NOT_READY = -10,      /* the handle lacks what the call needs (tracks, server, category) */
    PLATTER_CDDB_FILE_ERROR = -11,     /* a file or folder cannot be read or written */
    PLATTER_SMTP_SENDER_REFUSED = -4,  /* the server refused MAIL FROM */
    PLATTER_SMTP_RECIPIENT_REFUSED = -5, /* the server refused RCPT TO */
    PLATTER_SMTP_DATA_REFUSED = -6,    /* the server (or submit script) refused the message */
    PLATTER_SMTP_TIMEOUT = -7,         /* the server stopped answering, or too slowly */
    PLATTER_SMTP_PROTOCOL = -8,        /* the server's answer broke the protocol */
    PLATTER_SMTP_BAD_ARGUMENTS = -9    /* an address or the subject is unusable */
};

/* Layouts of a local CDDB tree: root\category\discid files, or the
 * Windows layout of range files ("00to1f") holding "#FILENAME=discid" entries. */
enum {
    PLATTER_CDDB_LAYOUT_FILES = 0,
    PLATTER_CDDB_LAYOUT_WINDOWS = 1
};

/* The title record of one disc, exchanged with the title database. Field
 * order is a format shared between the program and the library. */
typedef struct TitleRecord {
    int32_t cddbEntry;          /* 1 when the texts came from a CDDB entry */
    int32_t revision;           /* CDDB revision of the entry, 0 if none */
    int32_t submitted;          /* 1 once submitted to CDDB */
    char *artist;               /* texts: null when absent */
    char *discTitle;
    char *discText;             /* extended disc text, CR LF separated lines */
    int32_t trackCount;         /* tracks on the disc */
    int32_t *trackStartFrames;  /* trackCount + 1 starts, the last the lead-out */
    char **trackTitles;         /* trackCount entries */
    char **trackTexts;          /* trackCount entries */
    int32_t programLength;      /* entries in programList; 0 = disc order */
    int32_t *programList;       /* 1-based track numbers in play order */
} TitleRecord;

typedef void (*platter_diag_fn)(char *line);       /* library diagnostics line */
typedef void (*platter_stat_fn)(const char *text); /* library status text */

/* ---- Set-up ------------------------------------------------------------ */

/* Routes the library's diagnostics lines to fn (null turns them off). */
PLATTER_API int platter_diag_init(platter_diag_fn fn);
/* Routes the library's progress texts to fn (null turns them off). */
PLATTER_API int platter_stat_init(platter_stat_fn fn);

/* ---- Devices ----------------------------------------------------------- */

/* Makes a new, unopened drive handle; 0 when none can be had. */
PLATTER_API cd_handle_t cd_init(void);
/* Opens the drive named like "D:" on the handle (flags 0); 1 when open. */
PLATTER_API int cd_open(cd_handle_t handle, const char *drive, int flags);
/* Closes the drive; the handle stays allocated until cd_cleanup. */
PLATTER_API int cd_close(cd_handle_t handle);
/* Releases the handle; it is never valid again. */
PLATTER_API int cd_cleanup(cd_handle_t handle);
/* 1 when the drive holds a disc, 0 when it is empty or not ready. */
PLATTER_API int cd_check_if_media(cd_handle_t handle);
/* Reads the disc's table of contents; 1 when read. */
PLATTER_API int cd_read_data(cd_handle_t handle);
/* 1 when the drive now holds another disc than the one cd_read_data read last (swapped without an empty moment), else 0. */
PLATTER_API int cd_disc_changed(cd_handle_t handle);
/* Fills the number of tracks of the disc read last; 1 on success. */
PLATTER_API int cd_get_num_tracks(cd_handle_t handle, int *count);
/* Fills the type of a track (1 audio, other data); 1 on success. */
PLATTER_API int cd_get_track_type(cd_handle_t handle, int track, int *type);
/* Fills a track's absolute start and its length; track count + 1 gives the
 * lead-out, whose start is the disc's total playing time. 1 on success. */
PLATTER_API int cd_get_track_time(cd_handle_t handle, int track,
                                  int *startMin, int *startSec, int *startFrame,
                                  int *lenMin, int *lenSec, int *lenFrame);
/* Fills the current track, the position within it and the absolute
 * position on the disc, as the drive's Q channel reports them; 1 on success. */
PLATTER_API int cd_get_cur_time_info(cd_handle_t handle, int *track,
                                     int *min, int *sec, int *frame,
                                     int *absMin, int *absSec, int *absFrame);
/* Fills the disc's Windows CD Player identity (the Cdplayer.ini section). */
PLATTER_API int cd_get_win_id(cd_handle_t handle, uint32_t *winId);
/* Fills the disc's CDDB disc id (the freedb algorithm); 1 on success. */
PLATTER_API int cd_get_cddb_id(cd_handle_t handle, uint32_t *discId);
/* Returns the drive's play state (3, 4, 5, or other for unknown). */
PLATTER_API int cd_check_status(cd_handle_t handle);
/* Plays from a position within a track, to the end of that track when
 * singleTrack is 1, else to the lead-out; returns the new play state. */
PLATTER_API int cd_play(cd_handle_t handle, int track, int min, int sec,
                        int frame, int singleTrack);
/* Pauses at the current position; returns the new play state. */
PLATTER_API int cd_pause(cd_handle_t handle);
/* Continues from the paused position, now stopping at the end of track
 * when singleTrack is 1, else at the lead-out; returns the new play state. */
PLATTER_API int cd_resume(cd_handle_t handle, int track, int singleTrack);
/* Stops play; returns the new play state. */
PLATTER_API int cd_stop(cd_handle_t handle);
/* Opens the drive's tray; 1 on success. */
PLATTER_API int cd_eject(cd_handle_t handle);

/* ---- Title database ------------------------------------------------------ */

/* Takes the database for this thread, excluding other threads and
 * processes, until db_unlock; 1 on success. */
PLATTER_API int db_lock(void);
/* Releases the database taken by db_lock (harmless from a non-owner). */
PLATTER_API int db_unlock(void);
/* Fills a zeroed record with the entry of winId; > 0 when one exists. */
PLATTER_API int db_read_entry(uint32_t winId, TitleRecord *record);
/* Stores the whole record under winId, durably; > 0 when stored. */
PLATTER_API int db_write_entry(uint32_t winId, const TitleRecord *record);
/* Removes the entry of winId; > 0 when one was removed. */
PLATTER_API int db_delete_entry(uint32_t winId);
/* Releases what db_read_entry allocated in the record and zeroes it. */
PLATTER_API int db_free(TitleRecord *record);
/* Fills the total and the reclaimable size of the database; >= 1 when valid. */
PLATTER_API int db_statistics(int32_t *total, int32_t *reclaimable);
/* Rewrites the database without reclaimable space; 1 done, -7 done with
 * corrupted entries left out, other values failure (old file intact). */
PLATTER_API int db_compact(void);

/* What db_check found in one reading of the whole file. */
typedef struct DbCheckCounts {
    int32_t recordsRead;      /* records in the file, damaged ones and deletions included */
    int32_t liveEntries;      /* entries that read back */
    int32_t damagedRecords;   /* records, or stretches of bytes, that fail their checks */
    int32_t damagedEntries;   /* entries whose newest record is damaged: they read as missing */
    int32_t droppedRecords;   /* records compaction would leave out: superseded, deleted, damaged */
    int32_t reclaimableBytes; /* bytes compaction would free, an unfinished last record included */
    int32_t tornBytes;        /* bytes of an unfinished last record (a crash mid-append) */
} DbCheckCounts;

/* Fills the lowest disc id that has an entry; 1 when found, 0 when there is none. */
PLATTER_API int db_first_entry(uint32_t *winId);
/* Fills the lowest disc id above `after` that has an entry; 1 when found, 0 past the last. */
PLATTER_API int db_next_entry(uint32_t after, uint32_t *winId);
/* Reads every record again, fills counts and up to capacity damaged entries' ids; 1 sound, 2 damage found, 0 unreadable. */
PLATTER_API int db_check(DbCheckCounts *counts, uint32_t *damagedIds, int32_t capacity);

/* ---- CDDB ---------------------------------------------------------------- */

/* Starts a CDDB session for the named program; 0 on failure. */
PLATTER_API cddb_handle_t cddb_init(const char *program, const char *version,
                                    const char *copyright);
/* Ends the session and releases everything it holds. */
PLATTER_API int cddb_cleanup(cddb_handle_t handle);

/* Sets the root folder of the local CDDB tree. */
PLATTER_API int cddb_set_local_root(cddb_handle_t handle, const char *root);
/* Sets the remote server (or proxy) host and port. */
PLATTER_API int cddb_set_server_info(cddb_handle_t handle, const char *host, int port);
/* Sets the number of tracks of the disc to look up or submit. */
PLATTER_API int cddb_set_num_tracks(cddb_handle_t handle, int count);
/* Sets the absolute start of track n (n = count + 1: the lead-out). */
PLATTER_API int cddb_set_track_time(cddb_handle_t handle, int n, int min, int sec, int frame);
/* Sets the revision of the entry to submit. */
PLATTER_API int cddb_set_rev_number(cddb_handle_t handle, int revision);
/* Set the entry's texts (null for absent). */
PLATTER_API int cddb_set_artist(cddb_handle_t handle, const char *text);
PLATTER_API int cddb_set_title(cddb_handle_t handle, const char *text);
PLATTER_API int cddb_set_ext_title(cddb_handle_t handle, const char *text);
PLATTER_API int cddb_set_track_title(cddb_handle_t handle, int n, const char *text);
PLATTER_API int cddb_set_ext_track_title(cddb_handle_t handle, int n, const char *text);
/* Sets the disc id of the entry to fetch. */
PLATTER_API int cddb_set_id(cddb_handle_t handle, uint32_t discId);
/* Sets the category of the entry to fetch or submit. */
PLATTER_API int cddb_set_category_name(cddb_handle_t handle, const char *category);

/* Getters of the entry found or fetched; texts are null when absent. */
PLATTER_API int cddb_get_rev_number(cddb_handle_t handle);
PLATTER_API const char *cddb_get_artist(cddb_handle_t handle);
PLATTER_API const char *cddb_get_title(cddb_handle_t handle);
PLATTER_API const char *cddb_get_ext_title(cddb_handle_t handle);
PLATTER_API const char *cddb_get_track_title(cddb_handle_t handle, int n);
PLATTER_API const char *cddb_get_ext_track_title(cddb_handle_t handle, int n);
/* The inexact matches of the last remote query, numbered from 1. */
PLATTER_API int cddb_get_num_fuzzy(cddb_handle_t handle);
PLATTER_API const char *cddb_get_fuzzy_artist(cddb_handle_t handle, int i);
PLATTER_API const char *cddb_get_fuzzy_title(cddb_handle_t handle, int i);
PLATTER_API uint32_t cddb_get_fuzzy_id(cddb_handle_t handle, int i);
PLATTER_API const char *cddb_get_fuzzy_category(cddb_handle_t handle, int i);
/* The server list fetched last, numbered from 1. */
PLATTER_API int cddb_get_num_server_list(cddb_handle_t handle);
PLATTER_API const char *cddb_get_server_list_name(cddb_handle_t handle, int n);
PLATTER_API const char *cddb_get_server_list_descr(cddb_handle_t handle, int n);
PLATTER_API int cddb_get_server_list_port(cddb_handle_t handle, int n);
/* The category list fetched last, numbered from 1. */
PLATTER_API int cddb_get_num_category_list(cddb_handle_t handle);
PLATTER_API const char *cddb_get_category_list_name(cddb_handle_t handle, int n);

/* Looks the disc up in the local tree: > 0 found, else -1/-2/-3/other. */
PLATTER_API int cddb_query_local(cddb_handle_t handle);
/* Looks the disc up on the server: 1 exact, 3 inexact matches, else -1/-4/-5/other. */
PLATTER_API int cddb_query_remote(cddb_handle_t handle);
/* Fetches the entry named by cddb_set_id and cddb_set_category_name; > 0 done. */
PLATTER_API int cddb_fetch_remote(cddb_handle_t handle);
/* Fetches the server's list of servers; > 0 done. */
PLATTER_API int cddb_fetch_server_list(cddb_handle_t handle);
/* Fetches the server's list of categories; > 0 done. */
PLATTER_API int cddb_fetch_category_list(cddb_handle_t handle);
/* Writes the entry set on the handle as an xmcd submission file; > 0 done. */
PLATTER_API int cddb_write_submit_file(cddb_handle_t handle, const char *fileName);
/* Writes the submission's mail subject ("cddb CATEGORY DISCID") into a
 * buffer of size bytes; > 0 done. */
PLATTER_API int cddb_write_submit_subject(cddb_handle_t handle, char *subject, int size);

/* ---- CDDB: protocol choice, entries and local trees ------------------------ */
/*
 * How the server is spoken to: cddb_set_server_info's host may be an URL
 * "http://host[:port][/path]" (HTTP to that script); a port of 80 or 8080
 * means HTTP to /~cddb/cddb.cgi; any other port the CDDB server protocol.
 * With cddb_set_proxy_target the host and port are an HTTP proxy's, and the
 * requests go through it to the named server. Every exchange is bounded by
 * the time-outs of platter_net_set_timeouts. Texts come back in the ANSI
 * code page ("?" for characters it lacks) with CR LF line breaks.
 */

/* Names the CDDB server behind the proxy (a host for HTTP on port 80, or an
 * http:// URL); null or "" goes back to talking to the server directly. */
PLATTER_API int cddb_set_proxy_target(cddb_handle_t handle, const char *server);
/* Tracks of the handle's disc (set, or read with an entry file); 0 if none. */
PLATTER_API int cddb_get_num_tracks(cddb_handle_t handle);
/* Fills the absolute start of track n (count + 1: the lead-out); 1 on success. */
PLATTER_API int cddb_get_track_time(cddb_handle_t handle, int n, int *min, int *sec, int *frame);
/* The disc id of the entry found or read, else of the disc set; 0 if none. */
PLATTER_API uint32_t cddb_get_id(cddb_handle_t handle);
/* The category of the entry found or read, else the one set; null if none. */
PLATTER_API const char *cddb_get_category_name(cddb_handle_t handle);
/* Fills the Windows CD Player identity of the handle's disc; 1 on success. */
PLATTER_API int cddb_get_win_id(cddb_handle_t handle, uint32_t *winId);
/* Sets the entry's programmed order: count track numbers from 1. */
PLATTER_API int cddb_set_play_order(cddb_handle_t handle, int count, const int *tracks);
/* Entries in the entry's programmed order; 0 for disc order. */
PLATTER_API int cddb_get_num_play_order(cddb_handle_t handle);
/* The track at place i (from 1) of the programmed order; 0 if none. */
PLATTER_API int cddb_get_play_order_track(cddb_handle_t handle, int i);
/* Reads one xmcd file into the handle (entry, disc, id): > 0 done, -3 not an entry, -11 unreadable. */
PLATTER_API int cddb_read_entry_file(cddb_handle_t handle, const char *fileName);
/* Writes the handle's entry and disc as an xmcd file (UTF-8); > 0 done. */
PLATTER_API int cddb_write_entry_file(cddb_handle_t handle, const char *fileName);
/* Stores the entry in the tree at root, in its category, in either layout
 * (PLATTER_CDDB_LAYOUT_*), replacing an entry of the same id; > 0 done. */
PLATTER_API int cddb_write_local_entry(cddb_handle_t handle, const char *root, int layout);
/* Lists the entries of the tree at cddb_set_local_root: the count, or -2. */
PLATTER_API int cddb_list_local(cddb_handle_t handle);
/* Reads listed entry i (from 1) into the handle: > 0 done, -3 not an entry. */
PLATTER_API int cddb_read_local_entry(cddb_handle_t handle, int i);

/* ---- Network --------------------------------------------------------------- */

/* Starts the network for the calling thread; 1 on success. */
PLATTER_API int platter_net_init(void);
/* Ends what platter_net_init started on the calling thread. */
PLATTER_API int platter_net_cleanup(void);
/* Mails a file through an SMTP server: > 0 sent, -1 file, -2 host, -3 connect or refused,
 * other negatives (PLATTER_SMTP_*) a later refusal. When `to` is an http:// URL
 * the file is posted there as a CDDB submission instead (server and port unused). */
PLATTER_API int smtp_send(const char *server, int port, const char *from,
                          const char *to, const char *subject, const char *fileName);

/* Bounds every network exchange: connect, each read, and the whole
 * operation, in milliseconds; 0 or less keeps the default (10 s, 30 s, 60 s). */
PLATTER_API int platter_net_set_timeouts(int connectMs, int readMs, int operationMs);

#ifdef __cplusplus
}
#endif

#endif /* PLATTER_PLATTER_H */
