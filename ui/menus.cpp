// menus.cpp - the two popup menus: loading them from the resource, the
// enabled state of the transport commands (and the panel's matching
// buttons), the play-mode check marks and the CDDB-related commands. The
// live submenus are rebuilt in menus_tracks.cpp, menus_drives.cpp and
// menus_volume.cpp.
#include "ui/menus.h"
#include "ui/menus_items.h"

#include "core/appstate.h"
#include "options/options.h"
#include "player/drives.h"
#include "res/resource.h"
#include "ui/panel.h"

#include <cstdio>
#include <cstring>
#include <string>

HMENU trayMenu, trayTrackMenu, trayDriveMenu;
HMENU panelMenu, panelTrackMenu, panelDriveMenu, volumeMenu;

namespace {

// The loaded resource that owns both popups; kept so that a second load
// (a main window created again) does not leak the first.
HMENU popupMenuResource;

// Positions of the submenus inside their popups, as the resource lays them out.
const int trayTrackPosition = 7;
const int trayDrivePosition = 8;
const int panelTrackPosition = 0;
const int panelDrivePosition = 1;
const int volumePosition = 8;

// One transport command: its item in the tray menu and its panel button.
struct TransportCommand {
    int menuId;
    int buttonId;
    bool whenPlaying, whenPaused, whenStopped;
};

const TransportCommand transportCommands[] = {
    {IDM_PLAY, IDC_PLAY, false, true, true},
    {IDM_PAUSE, IDC_PAUSE, true, true, false},
    {IDM_STOP, IDC_STOP, true, true, false},
    {IDM_EJECT, IDC_EJECT, true, true, true},
    {IDM_NEXT_TRACK, IDC_NEXT, true, false, false},
    {IDM_PREVIOUS_TRACK, IDC_PREVIOUS, true, false, false},
};

bool transportEnabled(const TransportCommand &command)
{
    if (currentDrive == 0)
        return false;
    switch (playState) {
    case PlayStatePlaying: return command.whenPlaying;
    case PlayStatePaused: return command.whenPaused;
    case PlayStateStopped: return command.whenStopped;
    default: return false;
    }
}

void enableButton(int id, bool enable)
{
    if (!mainWindow)
        return;
    HWND button = GetDlgItem(mainWindow, id);
    if (button)
        EnableWindow(button, enable ? TRUE : FALSE);
}

void checkCommand(int id, bool checked)
{
    UINT flags = MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED);
    if (trayMenu)
        CheckMenuItem(trayMenu, id, flags);
    if (panelMenu)
        CheckMenuItem(panelMenu, id, flags);
}

void enableCommand(int id, bool enable)
{
    UINT flags = MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED);
    if (trayMenu)
        EnableMenuItem(trayMenu, id, flags);
    if (panelMenu)
        EnableMenuItem(panelMenu, id, flags);
}

// Replaces an item's text and nothing else (its check and gray state stay).
void setCommandText(HMENU menu, int id, const char *text)
{
    if (!menu)
        return;
    char copy[64];
    snprintf(copy, sizeof copy, "%s", text);
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = copy;
    SetMenuItemInfoA(menu, id, FALSE, &info);
}

} // namespace

int loadMenus()
{
    if (popupMenuResource)
        DestroyMenu(popupMenuResource);
    trayMenu = trayTrackMenu = trayDriveMenu = nullptr;
    panelMenu = panelTrackMenu = panelDriveMenu = volumeMenu = nullptr;

    popupMenuResource = LoadMenuA(instanceHandle, "PopupMenu");
    if (!popupMenuResource)
        return 0;
    trayMenu = GetSubMenu(popupMenuResource, 0);
    panelMenu = GetSubMenu(popupMenuResource, 1);
    if (trayMenu) {
        trayTrackMenu = GetSubMenu(trayMenu, trayTrackPosition);
        trayDriveMenu = GetSubMenu(trayMenu, trayDrivePosition);
    }
    if (panelMenu) {
        panelTrackMenu = GetSubMenu(panelMenu, panelTrackPosition);
        panelDriveMenu = GetSubMenu(panelMenu, panelDrivePosition);
        volumeMenu = GetSubMenu(panelMenu, volumePosition);
    }
    return trayMenu && trayTrackMenu && trayDriveMenu && panelMenu && panelTrackMenu && panelDriveMenu &&
                   volumeMenu
               ? 1
               : 0;
}

void refreshTransportState()
{
    for (const TransportCommand &command : transportCommands) {
        bool enable = transportEnabled(command);
        if (trayMenu)
            EnableMenuItem(trayMenu, command.menuId, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
        enableButton(command.buttonId, enable);
    }
}

void refreshModeChecks()
{
    checkCommand(IDM_RANDOM, randomMode != 0);
    checkCommand(IDM_INTRO, introMode != 0);
    checkCommand(IDM_REPEAT_ALL, options.RepeatAll != 0);
    checkCommand(IDM_REPEAT_CURRENT, repeatTrackMode != 0);
    setCommandText(trayMenu, IDM_SHOW_CONTROLS, panelVisible ? "Hide Controls" : "Show Controls");
}

void enableCddbCommands(int enable)
{
    enableCommand(IDM_PROPERTIES, enable != 0);
    enableCommand(IDM_QUERY_CDDB, enable != 0);
    enableCommand(IDM_SUBMIT_CDDB, enable != 0);
}

void escapeAmpersands(char *text)
{
    if (!text || !strchr(text, '&'))
        return;
    std::string escaped;
    for (const char *p = text; *p; ++p) {
        escaped.push_back(*p);
        if (*p == '&')
            escaped.push_back('&');
    }
    memcpy(text, escaped.c_str(), escaped.size() + 1);
}

// ---- helpers shared by the submenu files ----

void clearMenu(HMENU menu)
{
    if (!menu)
        return;
    for (int n = GetMenuItemCount(menu); n > 0; --n)
        DeleteMenu(menu, 0, MF_BYPOSITION);
}

void appendItem(HMENU menu, const char *text, int id, bool grayed)
{
    if (menu)
        AppendMenuA(menu, MF_STRING | (grayed ? MF_GRAYED : MF_ENABLED), (UINT_PTR)id, text);
}

void checkOnlyPosition(HMENU menu, int position)
{
    if (!menu)
        return;
    int count = GetMenuItemCount(menu);
    for (int p = 0; p < count; ++p)
        CheckMenuItem(menu, (UINT)p, MF_BYPOSITION | (p == position ? MF_CHECKED : MF_UNCHECKED));
}

void setPanelControlEnabled(int id, bool enable)
{
    enableButton(id, enable);
}
