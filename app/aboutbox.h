// aboutbox.h - the About box (dialog IDD_ABOUT): the program's name and
// version, its disc icon and its copyright line.
#ifndef APP_ABOUTBOX_H
#define APP_ABOUTBOX_H

#include <windows.h>

INT_PTR CALLBACK aboutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
