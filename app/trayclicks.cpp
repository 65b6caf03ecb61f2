// trayclicks.cpp - the tray icon's mouse messages and the timer that tells
// one click from two or three.
#include "app/trayclicks.h"
#include "core/appstate.h"
#include "app/commands.h"
#include "app/mainstate.h"
#include "app/refresh.h"
#include "player/drives.h"
#include "player/playorder.h"
#include "res/resource.h"
#include "ui/menus.h"

namespace {

const UINT trayClickMs = 500;

void startClickTimer()
{
    if (trayClickTimerOn)
        KillTimer(mainWindow, TIMER_TRAY_CLICK);
    SetTimer(mainWindow, TIMER_TRAY_CLICK, trayClickMs, nullptr);
    trayClickTimerOn = 1;
}

void stopClickTimer()
{
    if (trayClickTimerOn)
        KillTimer(mainWindow, TIMER_TRAY_CLICK);
    trayClickTimerOn = 0;
}

void onRightButtonDown()
{
    if (modalBusy) {
        MessageBeep(0xFFFFFFFF);
        return;
    }
    POINT cursor;
    GetCursorPos(&cursor);
    SetForegroundWindow(mainWindow);
    TrackPopupMenu(trayMenu, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, mainWindow, nullptr);
    // Lets the menu close properly when the user clicks elsewhere.
    PostMessageA(mainWindow, WM_USER, 0, 0);
}

void onLeftButtonDown()
{
    if (modalBusy || currentDrive == 0) {
        MessageBeep(0xFFFFFFFF);
        return;
    }
    switch (playState) {
    case PlayStatePlaying:
        if (trayClickState == 0) {
            trayClickState = 1;
            startClickTimer();
        } else if (trayClickState == 2) {
            stopClickTimer();
            trayClickState = 0;
            advancePlay(AdvancePrevious);
            refreshDisplays("TSdk");
        } else {
            trayClickState = 0;
            stopClickTimer();
        }
        break;
    case PlayStatePaused:
        resumePlay();
        refreshDisplays("TSdk");
        break;
    case PlayStateStopped:
        advancePlay(AdvanceStart);
        refreshDisplays("TSdk");
        break;
    default:
        break;
    }
}

void onLeftDoubleClick()
{
    if (modalBusy || currentDrive == 0) {
        MessageBeep(0xFFFFFFFF);
        return;
    }
    if (trayClickState == 1) {
        trayClickState = 2;
        startClickTimer();
    } else {
        trayClickState = 0;
        stopClickTimer();
    }
}

} // namespace

INT_PTR onTrayNotify(UINT mouseMessage)
{
    switch (mouseMessage) {
    case WM_RBUTTONDOWN: onRightButtonDown(); return 1;
    case WM_LBUTTONDOWN: onLeftButtonDown(); return 1;
    case WM_LBUTTONDBLCLK: onLeftDoubleClick(); return 1;
    default: return 0;
    }
}

void onTrayClickTimer()
{
    KillTimer(mainWindow, TIMER_TRAY_CLICK);
    trayClickTimerOn = 0;
    if (trayClickState == 1) {
        DriveEntry *entry = currentEntry();
        if (entry)
            playState = cd_pause(entry->device);
    } else if (trayClickState == 2) {
        advancePlay(AdvanceNext);
    }
    trayClickState = 0;
    refreshDisplays("TSdK");
}
