// contexthelp.cpp - context help of dialog controls through WinHelpA.
#include "ui/contexthelp.h"

#include <mutex>

namespace {
std::mutex hookLock;
WinHelpHook winHelpHook;
}

BOOL callWinHelp(HWND window, const char *file, UINT command, ULONG_PTR data)
{
    WinHelpHook hook;
    {
        std::lock_guard<std::mutex> guard(hookLock);
        hook = winHelpHook;
    }
    if (hook)
        return hook(window, file, command, data);
    return WinHelpA(window, file, command, data);
}

BOOL handleContextHelp(UINT message, WPARAM wParam, LPARAM lParam, const DWORD *helpIds)
{
    switch (message) {
    case WM_HELP: {
        const HELPINFO *info = (const HELPINFO *)lParam;
        // Help for a menu item has no topic here; only controls have one.
        if (!info || info->iContextType != HELPINFO_WINDOW)
            return FALSE;
        callWinHelp((HWND)info->hItemHandle, HELP_FILE_NAME, HELP_WM_HELP, (ULONG_PTR)helpIds);
        return TRUE;
    }
    case WM_CONTEXTMENU:
        callWinHelp((HWND)wParam, HELP_FILE_NAME, HELP_CONTEXTMENU, (ULONG_PTR)helpIds);
        return TRUE;
    default:
        return FALSE;
    }
}

void setWinHelpHook(WinHelpHook hook)
{
    std::lock_guard<std::mutex> guard(hookLock);
    winHelpHook = std::move(hook);
}
