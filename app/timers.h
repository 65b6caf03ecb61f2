// timers.h - the main window's timers.
#ifndef APP_TIMERS_H
#define APP_TIMERS_H

#include <windows.h>

// WM_TIMER; 1 when the timer is one of ours.
INT_PTR onTimer(UINT_PTR id);

#endif
