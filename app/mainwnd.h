// mainwnd.h - the window procedure of the main dialog, the program's
// central dispatcher.
#ifndef APP_MAINWND_H
#define APP_MAINWND_H

#include <windows.h>

INT_PTR CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
