// tray.h - the notification-area icon: its picture follows the play state,
// its tip the status line, and its clicks go to the main window as
// WM_TRAY_NOTIFY.
#ifndef UI_TRAY_H
#define UI_TRAY_H

// The longest tip the notification area takes, without its NUL.
#define TRAY_TIP_LIMIT 63

#include <windows.h>
#include <shellapi.h>

// Adds the icon (start-up picture, tip "Connecting to CD Player") for
// `owner`, whose window procedure receives `callbackMessage`.
void trayAdd(HINSTANCE instance, HWND owner, UINT callbackMessage);
// Shows the picture of the current play state.
void refreshTrayIcon();
// Shows the no-disc picture with the tip "Spindle Error".
void trayShowNoDisc();
// Removes the icon.
void trayRemove();
// Adds the icon again after the taskbar was re-created (Explorer restarted).
void trayRecreate();

// Sets the icon's tip; at most TRAY_TIP_LIMIT characters are kept. Null
// gives an empty tip.
void traySetTip(const char *text);
// The tip as last set.
const char *trayTip();
// The icon resource shown last (0 before trayAdd).
int trayIconId();

// Every shell call goes through here; tests record them instead.
#include <functional>
using TrayShellHook = std::function<BOOL(DWORD message, const NOTIFYICONDATAA *data)>;
void setTrayShellHook(TrayShellHook hook);

#endif
