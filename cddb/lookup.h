// lookup.h - looking discs up in CDDB on a worker thread: the local CDDB
// tree first, then the chosen server, one drive after another. The worker
// reports each found drive with WM_CDDB_DRIVE_FOUND and its end with
// WM_CDDB_QUERY_DONE, sent to the main window.
#ifndef CDDB_LOOKUP_H
#define CDDB_LOOKUP_H

#include <windows.h>

#include "platter/platter.h"

// Starts a lookup worker for one drive (-1: every loaded drive without
// titles). 1 when a worker was started; the caller then sets lookupRunning.
// 0 while another lookup worker runs or the program is closing.
int startLookupWorker(int drive);

// The thread procedure; param is the drive number (or -1) as an integer.
DWORD WINAPI lookupWorker(LPVOID param);

// The two lookups of one drive: 1 when its title record was filled.
int lookupLocal(int drive);
int lookupRemote(int drive);

// Copies the entry found on a CDDB handle into a title record: texts and
// CDDB fields only; the tracks' layout and the program stay as they are.
void copyCddbResult(TitleRecord &record, cddb_handle_t handle);

// The texts of the lookup's boxes.
#define LOCAL_QUERY_ERROR_CAPTION "Local CDDB Query Error"
#define REMOTE_QUERY_ERROR_CAPTION "Remote CDDB Query Error"
#define SERVER_GONE_TEXT \
    "Selected CDDB server is no longer active.\r\nPlease select a different server in the options\r\ndialog and try again."

#endif
