// refresh.cpp - the display refreshes named by letters.
#include "app/refresh.h"
#include "player/statustext.h"
#include "ui/menus.h"
#include "ui/tray.h"

void refreshDisplays(const char *which)
{
    for (const char *p = which; p && *p; ++p) {
        switch (*p) {
        case 'T': refreshTrayIcon(); break;
        case 'S': refreshTransportState(); break;
        case 'D': refreshDriveMenus(1); break;
        case 'd': refreshDriveMenus(0); break;
        case 'K': refreshTrackMenus(1); break;
        case 'k': refreshTrackMenus(0); break;
        case 'X': updateStatusText(); break;
        case 'M': refreshModeChecks(); break;
        default: break;
        }
    }
}
