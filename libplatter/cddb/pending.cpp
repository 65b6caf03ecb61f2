// pending.cpp - the CDDB family until its client lands: sessions cannot be
// started, so every lookup and submission fails at cddb_init.
#include "platter/platter.h"

extern "C" {
cddb_handle_t cddb_init(const char *, const char *, const char *) { return 0; }
int cddb_cleanup(cddb_handle_t) { return 0; }
int cddb_set_local_root(cddb_handle_t, const char *) { return 0; }
int cddb_set_server_info(cddb_handle_t, const char *, int) { return 0; }
int cddb_set_num_tracks(cddb_handle_t, int) { return 0; }
int cddb_set_track_time(cddb_handle_t, int, int, int, int) { return 0; }
int cddb_set_rev_number(cddb_handle_t, int) { return 0; }
int cddb_set_artist(cddb_handle_t, const char *) { return 0; }
int cddb_set_title(cddb_handle_t, const char *) { return 0; }
int cddb_set_ext_title(cddb_handle_t, const char *) { return 0; }
int cddb_set_track_title(cddb_handle_t, int, const char *) { return 0; }
int cddb_set_ext_track_title(cddb_handle_t, int, const char *) { return 0; }
int cddb_set_id(cddb_handle_t, uint32_t) { return 0; }
int cddb_set_category_name(cddb_handle_t, const char *) { return 0; }
int cddb_get_rev_number(cddb_handle_t) { return 0; }
const char *cddb_get_artist(cddb_handle_t) { return nullptr; }
const char *cddb_get_title(cddb_handle_t) { return nullptr; }
const char *cddb_get_ext_title(cddb_handle_t) { return nullptr; }
const char *cddb_get_track_title(cddb_handle_t, int) { return nullptr; }
const char *cddb_get_ext_track_title(cddb_handle_t, int) { return nullptr; }
int cddb_get_num_fuzzy(cddb_handle_t) { return 0; }
const char *cddb_get_fuzzy_artist(cddb_handle_t, int) { return nullptr; }
const char *cddb_get_fuzzy_title(cddb_handle_t, int) { return nullptr; }
uint32_t cddb_get_fuzzy_id(cddb_handle_t, int) { return 0; }
const char *cddb_get_fuzzy_category(cddb_handle_t, int) { return nullptr; }
int cddb_get_num_server_list(cddb_handle_t) { return 0; }
const char *cddb_get_server_list_name(cddb_handle_t, int) { return nullptr; }
const char *cddb_get_server_list_descr(cddb_handle_t, int) { return nullptr; }
int cddb_get_server_list_port(cddb_handle_t, int) { return 0; }
int cddb_get_num_category_list(cddb_handle_t) { return 0; }
const char *cddb_get_category_list_name(cddb_handle_t, int) { return nullptr; }
int cddb_query_local(cddb_handle_t) { return 0; }
int cddb_query_remote(cddb_handle_t) { return 0; }
int cddb_fetch_remote(cddb_handle_t) { return 0; }
int cddb_fetch_server_list(cddb_handle_t) { return 0; }
int cddb_fetch_category_list(cddb_handle_t) { return 0; }
int cddb_write_submit_file(cddb_handle_t, const char *) { return 0; }
int cddb_write_submit_subject(cddb_handle_t, char *subject, int size)
{
    if (subject && size > 0)
        subject[0] = 0;
    return 0;
}
}
