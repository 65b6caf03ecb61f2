// menus_drives.cpp - the "Select Drive" submenus of both popups: one item
// per drive in table order, showing the disc's playing time and titles, or
// grayed when the drive has no audio disc; the current drive is checked and
// named on the panel.
#include "ui/menus.h"
#include "ui/menus_items.h"

#include "core/appstate.h"
#include "player/drives.h"
#include "res/resource.h"

#include <cstdio>

namespace {

// Characters of the artist and of the disc title in a drive item: each
// gets half when both are known.
const int discTextLimitAlone = 60;
const int discTextLimitShared = 30;

void appendBoth(const char *text, int id, bool grayed)
{
    appendItem(trayDriveMenu, text, id, grayed);
    appendItem(panelDriveMenu, text, id, grayed);
}

// "D: m:ss", then " - artist / title" with whichever of the two is known.
// Empty texts count as unknown, as they do on the panel.
void formatDiscItem(const DriveEntry &entry, int minutes, int seconds, char *text, size_t size)
{
    const char *artist = entry.title.artist && entry.title.artist[0] ? entry.title.artist : nullptr;
    const char *title = entry.title.discTitle && entry.title.discTitle[0] ? entry.title.discTitle : nullptr;
    int limit = artist && title ? discTextLimitShared : discTextLimitAlone;
    snprintf(text, size, "%s %d:%02d%s%.*s%s%.*s", entry.name, minutes, seconds, artist || title ? " - " : "",
             artist ? limit : 0, artist ? artist : "", artist && title ? " / " : "", title ? limit : 0,
             title ? title : "");
}

void appendDriveItem(int drive)
{
    const DriveEntry &entry = DriveTable[drive - 1];
    char text[MENU_ESCAPED_TEXT];
    int id = IDM_DRIVE_FIRST + drive - 1;
    if (entry.device == 0 || !entry.discLoaded) {
        snprintf(text, MENU_ITEM_TEXT, "%s No Audio CD", entry.name);
        appendBoth(text, id, true);
        return;
    }
    // The lead-out's start is the disc's playing time. Asked before the
    // lock is taken, so the lookup thread never waits on the drive.
    int startMin = 0, startSec = 0, startFrame = 0, lengthMin = 0, lengthSec = 0, lengthFrame = 0;
    cd_get_track_time(entry.device, entry.title.trackCount + 1, &startMin, &startSec, &startFrame, &lengthMin,
                      &lengthSec, &lengthFrame);
    {
        DriveLockHold hold;
        formatDiscItem(entry, startMin, startSec, text, MENU_ITEM_TEXT);
    }
    escapeAmpersands(text);
    appendBoth(text, id, false);
}

} // namespace

void refreshDriveMenus(int rebuild)
{
    if (rebuild) {
        clearMenu(trayDriveMenu);
        clearMenu(panelDriveMenu);
        for (int drive = 1; drive <= driveCount; ++drive)
            appendDriveItem(drive);
    }
    // Items stand in table order, so the current drive is checked by position.
    checkOnlyPosition(trayDriveMenu, currentDrive - 1);
    checkOnlyPosition(panelDriveMenu, currentDrive - 1);

    const DriveEntry *entry = currentEntry();
    if (mainWindow)
        SetDlgItemTextA(mainWindow, IDC_DRIVE_LABEL, entry ? entry->name : "--");
}
