// msgbox.h - the one way the program shows a message box. Tests install a
// hook that records the box and answers it, so no test waits on a box.
#ifndef UI_MSGBOX_H
#define UI_MSGBOX_H

#include <windows.h>
#include <functional>

// Shows a message box (MessageBoxA) and returns the button chosen.
int showMessage(HWND owner, const char *text, const char *caption, UINT flags);

// A hook replaces the real box: it gets what the box would show and returns
// the answer. Null restores the real box. May be called from any thread.
using MessageHook = std::function<int(HWND owner, const char *text, const char *caption, UINT flags)>;
void setMessageHook(MessageHook hook);

// The last Win32 error as text, for diagnostics lines.
void lastErrorText(char *buffer, size_t size);

#endif
