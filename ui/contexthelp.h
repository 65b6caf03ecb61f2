// contexthelp.h - help for the controls of the property sheets: F1 on a
// control and a right click both open its pop-up topic in Spindle2.hlp.
// Every WinHelpA call of the program goes through callWinHelp, which tests
// replace with a recorder.
#ifndef UI_CONTEXTHELP_H
#define UI_CONTEXTHELP_H

#include <windows.h>
#include <functional>

// The program's help file, found in the installation directory.
#define HELP_FILE_NAME "Spindle2.hlp"

// Calls WinHelpA (or the hook); returns its result.
BOOL callWinHelp(HWND window, const char *file, UINT command, ULONG_PTR data);

// Serves WM_HELP (F1 on a control: HELP_WM_HELP on that control) and
// WM_CONTEXTMENU (a right click: HELP_CONTEXTMENU on the window clicked)
// from a table of control id, help id pairs ended by 0, 0. A viewer without
// pop-ups gets HELP_CONTEXT with the control's help id instead. TRUE when
// the message was one of the two and was answered.
BOOL handleContextHelp(UINT message, WPARAM wParam, LPARAM lParam, const DWORD *helpIds);

// A hook replaces WinHelpA; null restores it. Any thread.
using WinHelpHook = std::function<BOOL(HWND window, const char *file, UINT command, ULONG_PTR data)>;
void setWinHelpHook(WinHelpHook hook);

#endif
