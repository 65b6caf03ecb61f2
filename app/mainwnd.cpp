// mainwnd.cpp - the main dialog's window procedure: the program's central
// dispatcher. Each message goes to one small handler.
#include "app/mainwnd.h"
#include "core/appstate.h"
#include "core/sender.h"
#include "app/commands.h"
#include "app/maininit.h"
#include "app/mainstate.h"
#include "app/timers.h"
#include "app/trayclicks.h"
#include "cddb/cddbsession.h"
#include "cddb/lookup.h"
#include "mixer/mixer.h"
#include "options/options.h"
#include "player/drives.h"
#include "res/resource.h"
#include "titles/titlelookup.h"
#include "ui/menus.h"
#include "ui/panel.h"
#include "ui/tray.h"
#include "app/refresh.h"

namespace {

// Explorer announces a new taskbar with this message; the icon is added again.
UINT taskbarCreatedMessage()
{
    static UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

void onClose(HWND window)
{
    DriveEntry *entry = currentEntry();
    if (options.StopAtExit && entry && entry->device != 0 && playState == PlayStatePlaying)
        cd_stop(entry->device);
    DestroyWindow(window);
}

INT_PTR onDrawItem(const DRAWITEMSTRUCT *item)
{
    switch (item->CtlID) {
    case IDC_PLAY: case IDC_PAUSE: case IDC_STOP: case IDC_NEXT:
    case IDC_PREVIOUS: case IDC_EJECT: case IDC_VOLUME_UP: case IDC_VOLUME_DOWN:
        drawButton(item);
        return 1;
    case IDC_VOLUME_BAR:
        drawVolumeBar(item);
        return 1;
    default:
        return 0;
    }
}

void onWindowPosChanged(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    options.ControlsX = r.left;
    options.ControlsY = r.top;
    if (!options.ControlsOnTop || !panelVisible || dragging)
        return;
    // Back on top; re-asserting the z-order sends this message again, and
    // once is enough.
    static bool reasserting = false;
    if (reasserting)
        return;
    reasserting = true;
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    reasserting = false;
}

void onLeftButtonDown(HWND window)
{
    if (!panelVisible)
        return;
    SetCapture(window);
    POINT cursor;
    GetCursorPos(&cursor);
    dragging = 1;
    dragOffset.x = cursor.x - options.ControlsX;
    dragOffset.y = cursor.y - options.ControlsY;
}

void onMouseMove(HWND window)
{
    if (!dragging)
        return;
    POINT cursor;
    GetCursorPos(&cursor);
    SetWindowPos(window, options.ControlsOnTop ? HWND_TOPMOST : HWND_TOP, cursor.x - dragOffset.x,
                 cursor.y - dragOffset.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void onLeftButtonUp()
{
    if (!panelVisible)
        return;
    ReleaseCapture();
    dragging = 0;
}

void onRightButtonUp(HWND window)
{
    POINT cursor;
    GetCursorPos(&cursor);
    TrackPopupMenu(panelMenu, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window, nullptr);
}

INT_PTR onMixerChange(HMIXER mixer, DWORD controlId)
{
    if (options.VolumeMixer == 0 || findMixerEntry(mixer, controlId) != options.VolumeMixer)
        return 0;
    RedrawWindow(GetDlgItem(mainWindow, IDC_VOLUME_BAR), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return 1;
}

// Once the program is closing the workers' messages are only answered.
void onCddbDriveFound(int drive)
{
    releaseSender();
    if (cddbClosing())
        return;
    writeTitles(drive);
    if (drive == currentDrive)
        refreshDisplays("TSKX");
    refreshDisplays("D");
}

void onCddbQueryDone()
{
    releaseSender();
    if (cddbClosing())
        return;
    finishCddbThread(CddbJobLookup);
    for (int drive = 1; drive <= driveCount; ++drive) {
        DriveEntry &entry = DriveTable[drive - 1];
        if (entry.device != 0 && entry.discLoaded && entry.lookupPending) {
            entry.lookupPending = 0;
            if (startLookupWorker(drive))
                return;
        }
    }
    SetTimer(mainWindow, TIMER_LOOKUP_DONE, 3000, nullptr);
}

// While a lookup runs its commands stay grayed; the lookup's own end
// brings them back.
void onCddbSubmitDone()
{
    releaseSender();
    if (cddbClosing())
        return;
    finishCddbThread(CddbJobSubmit);
    if (!lookupRunning)
        enableCddbCommands(1);
    SetTimer(mainWindow, TIMER_LOOKUP_DONE, 3000, nullptr);
}

} // namespace

INT_PTR CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (!mainInit(window))
            DestroyWindow(window);
        return 1;
    case WM_DESTROY:          mainShutdown(); return 1;
    case WM_CLOSE:            onClose(window); return 1;
    case WM_COMMAND:          return onCommand(LOWORD(wParam));
    case WM_TIMER:            return onTimer(wParam);
    case WM_DRAWITEM:         return onDrawItem(reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
    case WM_WINDOWPOSCHANGED: onWindowPosChanged(window); return 1;
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:    onLeftButtonDown(window); return 1;
    case WM_MOUSEMOVE:        onMouseMove(window); return 1;
    case WM_LBUTTONUP:        onLeftButtonUp(); return 1;
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP:      onRightButtonUp(window); return 1;
    case MM_MIXM_CONTROL_CHANGE: return onMixerChange(reinterpret_cast<HMIXER>(wParam), (DWORD)lParam);
    case WM_TRAY_NOTIFY:      return onTrayNotify((UINT)lParam);
    case WM_CDDB_DRIVE_FOUND: onCddbDriveFound((int)wParam); return 1;
    case WM_CDDB_QUERY_DONE:  onCddbQueryDone(); return 1;
    case WM_CDDB_SUBMIT_DONE: onCddbSubmitDone(); return 1;
    default:
        if (message == taskbarCreatedMessage() && message != 0) {
            trayRecreate();
            return 1;
        }
        return 0;
    }
}
