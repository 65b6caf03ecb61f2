// maininit.h - bringing the program up when the main dialog is created, and
// down when it is destroyed.
#ifndef APP_MAININIT_H
#define APP_MAININIT_H

#include <windows.h>

// Runs for WM_INITDIALOG; false when the program cannot come up.
bool mainInit(HWND window);
// Runs for WM_DESTROY; ends with the quit message.
void mainShutdown();
// Opens the mixers for `window` and makes VolumeMixer name a control that
// exists: the first when the stored one is out of range, 0 without a mixer.
void chooseVolumeControl(HWND window);

#endif
