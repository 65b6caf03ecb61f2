// fakeplatter.h - a CD library for the program's tests: every function of
// platter.h, with a log of each call and its arguments, results that a test
// scripts, and a small model of drives, discs and the title database so that
// the program's queries get consistent answers.
//
// Each call is logged as text, for example "cd_play(1,3,0,0,0,1)" or
// "db_write_entry(0x1A2B3C4D)"; texts are logged in double quotes.
#ifndef TESTS_FAKES_FAKEPLATTER_H
#define TESTS_FAKES_FAKEPLATTER_H

#include "platter/platter.h"

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace fake {

// ---- the call log ----
// Every call since the last reset, oldest first.
std::vector<std::string> calls();
// Only the calls whose text starts with `prefix` (for example "cd_play").
std::vector<std::string> callsTo(const std::string &prefix);
// The calls joined with ", " (handy in failure messages).
std::string callLog();
void clearCalls();
// Forgets everything: calls, scripts, drives, database, CDDB data.
void reset();

// ---- scripted results ----
// The next calls of `function` return these values in turn, before the model answers.
void queueResults(const std::string &function, std::initializer_list<int> results);
// From now on `function` always returns `result` (after any queued results).
void setResult(const std::string &function, int result);

// ---- drives and discs ----
struct Disc {
    std::vector<int> trackTypes;     // one per track: 1 audio, other data
    std::vector<int> startFrames;    // trackCount + 1 absolute starts, the last the lead-out
    uint32_t winId = 0;
    uint32_t cddbId = 0;
};
// A disc of `lengthsSeconds.size()` audio tracks starting at 2 seconds
// (150 frames), each of the given length.
Disc audioDisc(const std::vector<int> &lengthsSeconds, uint32_t winId = 0x12345678);
// The drive a handle was opened on gets a disc (or none).
void insertDisc(const std::string &drive, const Disc &disc);
void removeDisc(const std::string &drive);
// Puts another disc into a drive without an empty moment between (an image
// written over the old one): cd_disc_changed says 1 on every handle of the
// drive until the handle reads the disc with cd_read_data.
void swapDisc(const std::string &drive, const Disc &disc);
// The position reported by cd_get_cur_time_info for a drive.
struct Position {
    int track = 1, min = 0, sec = 0, frame = 0;
    int absMin = 0, absSec = 2, absFrame = 0;
};
void setPosition(const std::string &drive, const Position &position);
// The play state the drive reports (cd_check_status); play calls change it too.
void setDriveState(const std::string &drive, int state);
int driveState(const std::string &drive);
// The handle cd_init gave for a drive opened with cd_open; 0 if none.
cd_handle_t handleOf(const std::string &drive);
// Drives that cd_open refuses.
void failOpen(const std::string &drive);

// ---- title database ----
// An entry the database holds (deep-copied); absent texts stay null.
struct Entry {
    int cddbEntry = 0, revision = 0, submitted = 0;
    const char *artist = nullptr, *discTitle = nullptr, *discText = nullptr;
    std::vector<const char *> trackTitles, trackTexts;   // may be shorter than the disc
    std::vector<int> program;
};
void putEntry(uint32_t winId, const Entry &entry);
bool hasEntry(uint32_t winId);
// What db_write_entry last stored for winId, as texts ("" for absent is "<null>").
std::string entryField(uint32_t winId, const std::string &field);
void setStatistics(int32_t total, int32_t reclaimable);
// Blocks db_read_entry hands out and db_free has not taken back.
int unfreedReads();

// ---- CDDB ----
// Texts the cddb_get_ calls return: key is the getter's name, with ":n" for
// numbered getters ("cddb_get_track_title:2"). Missing keys return null.
void setCddbText(const std::string &key, const char *text);
// Numbered values answer the same way: "cddb_get_track_time:n" as "m:s:f",
// "cddb_get_id" and "cddb_get_win_id" in hex, "cddb_get_play_order_track:i".
// What the program handed over with cddb_set_ calls ("cddb_set_artist" ...).
std::string cddbSetText(const std::string &key);

// ---- pauses ----
// Before `function` (cddb_query_local, cddb_query_remote, cddb_fetch_remote,
// cddb_write_submit_file or smtp_send) answers, the calling thread runs
// `hook` outside the fake's lock: a test holds a worker there while it
// changes the world around it. Null removes the pause.
void setPause(const std::string &function, std::function<void()> hook);

} // namespace fake

#endif
