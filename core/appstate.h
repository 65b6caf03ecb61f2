// appstate.h - process-wide values that start-up sets and the rest reads.
#ifndef CORE_APPSTATE_H
#define CORE_APPSTATE_H

#include <windows.h>

// The program's instance: every resource load and dialog uses it.
extern HINSTANCE instanceHandle;
// The drive named on the command line ("D:"), or empty.
extern char startDrive[3];
// Set by "-d": the diagnostics log is opened and closed.
extern int diagnosticsOn;
// The main dialog, which is also the control panel; null until it exists.
extern HWND mainWindow;

#endif
