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

namespace {

// The help id of a control in a table of pairs ended by 0, 0; 0 if absent.
DWORD helpIdOf(const DWORD *helpIds, int controlId)
{
    for (int i = 0; helpIds && (helpIds[i] != 0 || helpIds[i + 1] != 0); i += 2)
        if ((int)helpIds[i] == controlId)
            return helpIds[i + 1];
    return 0;
}

// Pop-up help, or where the help viewer has no pop-ups (Wine's refuses
// HELP_WM_HELP and HELP_CONTEXTMENU) the same topic in its main window.
void controlHelp(HWND control, UINT command, const DWORD *helpIds)
{
    if (callWinHelp(control, HELP_FILE_NAME, command, (ULONG_PTR)helpIds))
        return;
    DWORD topic = helpIdOf(helpIds, GetDlgCtrlID(control));
    if (topic != 0)
        callWinHelp(control, HELP_FILE_NAME, HELP_CONTEXT, topic);
}

} // namespace

BOOL handleContextHelp(UINT message, WPARAM wParam, LPARAM lParam, const DWORD *helpIds)
{
    switch (message) {
    case WM_HELP: {
        const HELPINFO *info = (const HELPINFO *)lParam;
        // Help for a menu item has no topic here; only controls have one.
        if (!info || info->iContextType != HELPINFO_WINDOW)
            return FALSE;
        controlHelp((HWND)info->hItemHandle, HELP_WM_HELP, helpIds);
        return TRUE;
    }
    case WM_CONTEXTMENU:
        controlHelp((HWND)wParam, HELP_CONTEXTMENU, helpIds);
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
