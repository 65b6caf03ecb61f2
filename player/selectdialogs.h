// selectdialogs.h - the two list dialogs for choices too long for a menu:
// "Select Track" (every track of the current disc) and "Select Drive"
// (every drive with its disc). Run them with runModalDialog on templates
// IDD_TRACK_SELECT and IDD_DRIVE_SELECT; each ends with a 1-based track or
// drive number, or 0 when cancelled. Both refuse an entry that cannot be
// used and stay open.
#ifndef PLAYER_SELECTDIALOGS_H
#define PLAYER_SELECTDIALOGS_H

#include <windows.h>

INT_PTR CALLBACK trackSelectProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK driveSelectProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
