// conflict.h - the warning shown when another application drives the
// current CD-ROM drive.
#ifndef UI_CONFLICT_H
#define UI_CONFLICT_H

#include <windows.h>

// Thread routine: shows the warning and ends when it is dismissed.
DWORD WINAPI conflictWarning(LPVOID);
// Starts conflictWarning on a thread of its own and forgets the thread.
void startConflictWarning();

#endif
