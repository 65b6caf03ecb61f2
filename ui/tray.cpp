// tray.cpp - the notification-area icon: a picture for the play state, the
// status line as its tip, and its mouse messages sent to the main window.
// The record handed to the shell is the Windows 95 form, so that the icon
// works on every shell.
#include "ui/tray.h"
#include "player/drives.h"
#include "res/resource.h"

#include <cstdio>
#include <cstring>

namespace {

char tipText[TRAY_TIP_LIMIT + 1] = "";
HWND trayOwner = nullptr;
UINT trayCallback = 0;
int shownIconId = 0;
HINSTANCE iconInstance = nullptr;
TrayShellHook shellHook;

// The five pictures, loaded once and kept for the life of the process.
HICON trayIcon(int id)
{
    return static_cast<HICON>(LoadImageA(iconInstance, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, LR_SHARED));
}

BOOL callShell(DWORD message, NOTIFYICONDATAA *data)
{
    if (shellHook)
        return shellHook(message, data);
    return Shell_NotifyIconA(message, data);
}

// A fresh record naming our icon; the caller fills in what changes.
NOTIFYICONDATAA record()
{
    NOTIFYICONDATAA data;
    memset(&data, 0, sizeof data);
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = trayOwner;
    data.uID = TRAY_ICON_ID;
    return data;
}

void showIcon(int id)
{
    if (!trayOwner)
        return;
    shownIconId = id;
    NOTIFYICONDATAA data = record();
    data.uFlags = NIF_ICON;
    data.hIcon = trayIcon(id);
    callShell(NIM_MODIFY, &data);
}

void addIcon()
{
    NOTIFYICONDATAA data = record();
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = trayCallback;
    data.hIcon = trayIcon(shownIconId);
    snprintf(data.szTip, sizeof data.szTip, "%s", tipText);
    callShell(NIM_ADD, &data);
}

} // namespace

void trayAdd(HINSTANCE instance, HWND owner, UINT callbackMessage)
{
    iconInstance = instance;
    trayOwner = owner;
    trayCallback = callbackMessage;
    shownIconId = IDI_CD_PLAIN;
    snprintf(tipText, sizeof tipText, "%s", "Connecting to CD Player");
    addIcon();
}

void refreshTrayIcon()
{
    DriveEntry *entry = currentEntry();
    if (!entry) {
        trayShowNoDisc();
        return;
    }
    switch (playState) {
    case PlayStatePlaying: showIcon(IDI_CD_PLAYING); break;
    case PlayStatePaused: showIcon(IDI_CD_PAUSED); break;
    case PlayStateStopped: showIcon(IDI_CD_STOPPED); break;
    default: trayShowNoDisc(); break;
    }
}

void trayShowNoDisc()
{
    snprintf(tipText, sizeof tipText, "%s", "Spindle Error");
    if (!trayOwner)
        return;
    shownIconId = IDI_CD_NONE;
    NOTIFYICONDATAA data = record();
    data.uFlags = NIF_ICON | NIF_TIP;
    data.hIcon = trayIcon(IDI_CD_NONE);
    snprintf(data.szTip, sizeof data.szTip, "%s", tipText);
    callShell(NIM_MODIFY, &data);
}

void traySetTip(const char *text)
{
    // The shell's field holds 64 bytes: longer texts keep their first 63 characters.
    char tip[sizeof tipText];
    snprintf(tip, sizeof tip, "%s", text ? text : "");
    // The polls set the tip every second, mostly to what it already is; the
    // shell is only told of a change (under Wine each call is a synchronous
    // round trip to the tray's process, which then repaints).
    bool unchanged = strcmp(tip, tipText) == 0;
    snprintf(tipText, sizeof tipText, "%s", tip);
    if (!trayOwner || unchanged)
        return;
    NOTIFYICONDATAA data = record();
    data.uFlags = NIF_TIP;
    snprintf(data.szTip, sizeof data.szTip, "%s", tipText);
    callShell(NIM_MODIFY, &data);
}

void trayRemove()
{
    if (!trayOwner)
        return;
    NOTIFYICONDATAA data = record();
    callShell(NIM_DELETE, &data);
    trayOwner = nullptr;
}

void trayRecreate()
{
    if (trayOwner)
        addIcon();
}

const char *trayTip()
{
    return tipText;
}

int trayIconId()
{
    return shownIconId;
}

void setTrayShellHook(TrayShellHook hook)
{
    shellHook = std::move(hook);
}
