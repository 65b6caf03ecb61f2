// menus_tracks.cpp - the "Select Track" submenus of both popups: one item
// per track of the current disc (up to twenty, then "Complete Track
// List..."), with the tracks played in this pass checked and the playing
// track grayed.
#include "ui/menus.h"
#include "ui/menus_items.h"

#include "player/drives.h"
#include "res/resource.h"

#include <cstdio>
#include <initializer_list>

namespace {

// Characters of a track title shown in its item.
const int trackTitleLimit = 60;

int menuTrackCount(const DriveEntry &entry)
{
    int count = entry.title.trackCount;
    return count < MAX_TRACK_MENU_ITEMS ? count : MAX_TRACK_MENU_ITEMS;
}

bool isAudio(const DriveEntry &entry, int track)
{
    return entry.trackTypes && entry.trackTypes[track - 1] == PLATTER_TRACK_AUDIO;
}

void appendBoth(const char *text, int id, bool grayed)
{
    appendItem(trayTrackMenu, text, id, grayed);
    appendItem(panelTrackMenu, text, id, grayed);
}

// "t) m:ss", and " - " with the start of the title when the track has one.
// An empty title counts as none, as it does on the panel and in the tip.
void formatAudioItem(const DriveEntry &entry, int track, int minutes, int seconds, char *text, size_t size)
{
    const char *title = entry.title.trackTitles ? entry.title.trackTitles[track - 1] : nullptr;
    if (title && title[0])
        snprintf(text, size, "%d) %d:%02d - %.*s", track, minutes, seconds, trackTitleLimit, title);
    else
        snprintf(text, size, "%d) %d:%02d", track, minutes, seconds);
}

void appendTrackItems(const DriveEntry &entry)
{
    int shown = menuTrackCount(entry);
    for (int track = 1; track <= shown; ++track) {
        char text[MENU_ESCAPED_TEXT];
        int id = IDM_TRACK_FIRST + track - 1;
        if (!isAudio(entry, track)) {
            snprintf(text, MENU_ITEM_TEXT, "%d) Non-Audio", track);
            appendBoth(text, id, true);
            continue;
        }
        // Ask the drive first: the lookup thread must not wait on the
        // library while we hold the lock.
        int startMin = 0, startSec = 0, startFrame = 0, lengthMin = 0, lengthSec = 0, lengthFrame = 0;
        cd_get_track_time(entry.device, track, &startMin, &startSec, &startFrame, &lengthMin, &lengthSec,
                          &lengthFrame);
        {
            DriveLockHold hold;
            formatAudioItem(entry, track, lengthMin, lengthSec, text, MENU_ITEM_TEXT);
        }
        escapeAmpersands(text);
        appendBoth(text, id, false);
    }
    if (entry.title.trackCount > MAX_TRACK_MENU_ITEMS)
        appendBoth("Complete Track List...", IDM_TRACK_COMPLETE_LIST, false);
}

// Played tracks carry a check; the playing one cannot be chosen again.
// Only the main thread writes the played flags, so they are read here
// without the lock.
void markTrackItems(const DriveEntry &entry)
{
    if (!entry.playedFlags)
        return;
    int shown = menuTrackCount(entry);
    for (int track = 1; track <= shown; ++track) {
        if (!isAudio(entry, track))
            continue;
        int id = IDM_TRACK_FIRST + track - 1;
        UINT check = MF_BYCOMMAND | (entry.playedFlags[track - 1] ? MF_CHECKED : MF_UNCHECKED);
        UINT enable = MF_BYCOMMAND | (track == currentTrack ? MF_GRAYED : MF_ENABLED);
        for (HMENU menu : {trayTrackMenu, panelTrackMenu}) {
            if (!menu)
                continue;
            CheckMenuItem(menu, id, check);
            EnableMenuItem(menu, id, enable);
        }
    }
}

} // namespace

void refreshTrackMenus(int rebuild)
{
    DriveEntry *entry = currentEntry();
    if (rebuild) {
        clearMenu(trayTrackMenu);
        clearMenu(panelTrackMenu);
        if (entry && entry->device != 0 && entry->discLoaded)
            appendTrackItems(*entry);
    }
    if (entry && entry->device != 0 && entry->discLoaded)
        markTrackItems(*entry);
}
