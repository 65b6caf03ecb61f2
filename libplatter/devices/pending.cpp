// pending.cpp - the device family until its backends land: every call fails.
#include "platter/platter.h"

extern "C" {
cd_handle_t cd_init(void) { return 0; }
int cd_open(cd_handle_t, const char *, int) { return 0; }
int cd_close(cd_handle_t) { return 0; }
int cd_cleanup(cd_handle_t) { return 0; }
int cd_check_if_media(cd_handle_t) { return 0; }
int cd_read_data(cd_handle_t) { return 0; }
int cd_get_num_tracks(cd_handle_t, int *) { return 0; }
int cd_get_track_type(cd_handle_t, int, int *) { return 0; }
int cd_get_track_time(cd_handle_t, int, int *, int *, int *, int *, int *, int *) { return 0; }
int cd_get_cur_time_info(cd_handle_t, int *, int *, int *, int *, int *, int *, int *) { return 0; }
int cd_get_win_id(cd_handle_t, uint32_t *) { return 0; }
int cd_get_cddb_id(cd_handle_t, uint32_t *) { return 0; }
int cd_check_status(cd_handle_t) { return 0; }
int cd_play(cd_handle_t, int, int, int, int, int) { return 0; }
int cd_pause(cd_handle_t) { return 0; }
int cd_resume(cd_handle_t, int, int) { return 0; }
int cd_stop(cd_handle_t) { return 0; }
int cd_eject(cd_handle_t) { return 0; }
}
