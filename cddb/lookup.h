// lookup.h - looking discs up in CDDB on a worker thread.
#ifndef CDDB_LOOKUP_H
#define CDDB_LOOKUP_H

// Starts a lookup worker for one drive (-1: every loaded drive without
// titles). 1 when a worker was started; the caller then sets lookupRunning.
int startLookupWorker(int drive);

#endif
