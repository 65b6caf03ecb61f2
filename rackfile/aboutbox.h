// aboutbox.h - "About Rackfile": version, copyright and a short usage text.
#ifndef RACKFILE_ABOUTBOX_H
#define RACKFILE_ABOUTBOX_H

#include <windows.h>

// The usage text the box shows.
extern const char kRackfileHelp[];

INT_PTR CALLBACK aboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
