// trayclicks.h - clicks on the tray icon: one click pauses (or plays), a
// double click skips forward, a triple click goes back; each is resolved
// 500 ms after the last click while a disc plays.
#ifndef APP_TRAYCLICKS_H
#define APP_TRAYCLICKS_H

#include <windows.h>

// WM_TRAY_NOTIFY with the mouse message in lParam; 1 when handled.
INT_PTR onTrayNotify(UINT mouseMessage);
// TIMER_TRAY_CLICK fired: carry out the pending click.
void onTrayClickTimer();

#endif
