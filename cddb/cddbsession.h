// cddbsession.h - what the CDDB worker threads of one run share with the
// main thread: one lookup and one submission at a time, their thread
// handles, the closing flag that keeps them off the drive table once the
// program shuts down, and the one way they talk to the main window.
#ifndef CDDB_CDDBSESSION_H
#define CDDB_CDDBSESSION_H

#include <windows.h>

#include "platter/platter.h"

#include <cstdint>

enum CddbJob { CddbJobLookup = 0, CddbJobSubmit = 1 };

// Starts proc(arg) on a new thread unless a worker of that kind still runs
// or the program is closing. True when the thread was started; the worker
// then owns arg.
bool startCddbThread(CddbJob job, LPTHREAD_START_ROUTINE proc, void *arg);
// The main window got the worker's end message: the next worker of its
// kind may start (from that message's handler already).
void finishCddbThread(CddbJob job);
// True from a worker's start until its end message was handled.
bool cddbJobRunning(CddbJob job);

// Set once by stopCddbWorkers, under driveLock: a worker that reads it
// under driveLock and sees it set must leave the drive table alone.
bool cddbClosing();

// Sends a worker's message to the main window; nothing once the program is
// closing (the window may be gone).
void notifyMainWindow(UINT message, WPARAM wParam);

// At shutdown, before the drives are closed: marks the closing, ends an
// open fuzzy-match dialog, and waits up to waitMs for running workers while
// answering what they send. Workers still running afterwards touch neither
// the drive table nor the main window. True when every worker had ended.
bool stopCddbWorkers(DWORD waitMs = 5000);

// At start-up: a new main window may start workers again (of either kind,
// once the previous window's workers have ended).
void resetCddbSession();

// The fuzzy-match dialog while it is open (so that shutdown can close it).
void setOpenCddbDialog(HWND dialog);

// A new CDDB handle (cddb_init with the program's name, version and
// copyright line); 0 when the library cannot make one.
cddb_handle_t openCddbHandle();

// Hands the disc's N+1 positions to the library: cddb_set_num_tracks, then
// cddb_set_track_time for n = 1..N+1 (the last the lead-out). Without
// titles: the submission interleaves its own calls.
void setCddbTrackTime(cddb_handle_t handle, int n, int32_t frames);
void setCddbTrackPositions(cddb_handle_t handle, int trackCount, const int32_t *startFrames);

#endif
