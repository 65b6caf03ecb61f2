// statuswnd.cpp - the operation status window (dialog 173) and the thread
// that runs it.
#include "cddb/statuswnd.h"
#include "core/appstate.h"
#include "core/sender.h"
#include "options/options.h"
#include "res/resource.h"

#include <atomic>
#include <mutex>

namespace {

std::atomic<HWND> statusWindow{nullptr};
HANDLE readyEvent = nullptr;   // manual-reset, kept for the life of the process
std::mutex openLock;           // one opener at a time: one window at most

void onInitDialog(HWND window)
{
    statusWindow.store(window);
    HICON icon = LoadIconA(instanceHandle, MAKEINTRESOURCEA(IDI_CD_PLAYING));
    if (icon)
        SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SetWindowPos(window, HWND_TOPMOST, options.StatusX, options.StatusY, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowTextA(window, "");
    // The event stays set until the next open resets it, so an opener that
    // starts waiting late still sees it.
    SetEvent(readyEvent);
}

void onWindowPosChanged(HWND window, const WINDOWPOS *pos)
{
    if (!(pos->flags & SWP_NOMOVE)) {
        options.StatusX = pos->x;
        options.StatusY = pos->y;
    }
    // Re-asserting the z-order sends this message again; once is enough.
    static thread_local bool reasserting = false;
    if (reasserting)
        return;
    reasserting = true;
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    reasserting = false;
}

// The window stops being the open one as soon as it is asked to go, before
// whoever asked is released: an open that follows at once makes a new
// window instead of finding this one on its way out. Only this window's own
// handle is cleared, never a successor's.
void forgetWindow(HWND window)
{
    HWND expected = window;
    statusWindow.compare_exchange_strong(expected, nullptr);
}

void onClose(HWND window)
{
    forgetWindow(window);
    releaseSender();
    EndDialog(window, 0);
}

INT_PTR CALLBACK statusWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog(window);
        return 1;
    case WM_WINDOWPOSCHANGED:
        onWindowPosChanged(window, reinterpret_cast<const WINDOWPOS *>(lParam));
        return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            onClose(window);
            return 1;
        }
        return 0;
    case WM_STATUS_SETTEXT:
        SetDlgItemTextA(window, IDC_STATUS_TEXT, reinterpret_cast<const char *>(wParam));
        releaseSender();
        return 1;
    case WM_STATUS_CLOSE:
        onClose(window);
        return 1;
    case WM_DESTROY:
        forgetWindow(window);
        return 1;
    default:
        return 0;
    }
}

DWORD WINAPI statusWindowThread(LPVOID)
{
    DialogBoxParamA(instanceHandle, MAKEINTRESOURCEA(IDD_STATUS), nullptr, statusWindowProc, 0);
    return 0;
}

}

void statusWindowOpen()
{
    std::lock_guard<std::mutex> guard(openLock);
    if (!readyEvent)
        readyEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (statusWindow.load() || !readyEvent)
        return;
    ResetEvent(readyEvent);
    HANDLE thread = CreateThread(nullptr, 0, statusWindowThread, nullptr, 0, nullptr);
    if (!thread)
        return;
    // Wait for the window to say it is ready; if its thread ends first (the
    // dialog could not be created), there is nothing more to wait for.
    HANDLE waitFor[2] = {readyEvent, thread};
    WaitForMultipleObjects(2, waitFor, FALSE, INFINITE);
    CloseHandle(thread);
}

void statusWindowSetTitle(const char *text)
{
    HWND window = statusWindow.load();
    if (window)
        SetWindowTextA(window, text ? text : "");
}

void statusWindowSetText(const char *text)
{
    HWND window = statusWindow.load();
    if (window)
        SendMessageA(window, WM_STATUS_SETTEXT, reinterpret_cast<WPARAM>(text ? text : ""), 0);
}

void statusWindowClose()
{
    HWND window = statusWindow.load();
    if (window)
        SendMessageA(window, WM_STATUS_CLOSE, 0, 0);
}

HWND statusWindowHandle()
{
    return statusWindow.load();
}
