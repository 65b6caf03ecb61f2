// statustext.cpp - the status line, the title line and the tray tip, rebuilt
// from the play model and the drive's position after every change of play.
#include "player/statustext.h"
#include "player/drives.h"
#include "options/options.h"
#include "ui/panel.h"
#include "ui/tray.h"

#include <cstdio>

char timeText[TIME_TEXT_SIZE] = "";

namespace {

enum TimeMode { TrackElapsed = 0, TrackRemaining = 1, DiscElapsed = 2, DiscRemaining = 3 };

// Room for a status or title line: a track title with its number, or the
// artist and disc title each cut to their limit.
const size_t lineSize = 512;

// Texts from the database or CDDB may be present but empty; on the panel
// and in the tip they read as no text at all.
const char *shown(const char *text)
{
    return text && text[0] ? text : nullptr;
}

// Start (or length) of a track of the current drive in whole seconds.
bool trackSeconds(int track, bool wantLength, int *seconds)
{
    DriveEntry *entry = currentEntry();
    if (!entry || entry->device == 0)
        return false;
    int startMin = 0, startSec = 0, startFrame = 0, lengthMin = 0, lengthSec = 0, lengthFrame = 0;
    if (cd_get_track_time(entry->device, track, &startMin, &startSec, &startFrame, &lengthMin, &lengthSec,
                          &lengthFrame) != 1)
        return false;
    *seconds = wantLength ? lengthMin * 60 + lengthSec : startMin * 60 + startSec;
    return true;
}

void setClockText(int seconds)
{
    if (seconds < 0)
        seconds = 0;
    snprintf(timeText, sizeof timeText, "%d:%02d", seconds / 60, seconds % 60);
}

void setTrackClockText(int track, int seconds)
{
    if (seconds < 0)
        seconds = 0;
    snprintf(timeText, sizeof timeText, "(%d) %d:%02d", track, seconds / 60, seconds % 60);
}

// The title of the current track, copied under driveLock; empty when none.
void currentTrackTitle(char *buffer, size_t size)
{
    DriveLockHold hold;
    buffer[0] = 0;
    DriveEntry *entry = currentEntry();
    if (!entry || !entry->title.trackTitles || currentTrack < 1 || currentTrack > entry->title.trackCount)
        return;
    const char *title = shown(entry->title.trackTitles[currentTrack - 1]);
    if (title)
        snprintf(buffer, size, "%s", title);
}

// "Artist / Title", each cut to 15 characters, or the one present (the
// title alone may take 30).
void discTitleLine(char *buffer, size_t size)
{
    DriveLockHold hold;
    buffer[0] = 0;
    DriveEntry *entry = currentEntry();
    if (!entry)
        return;
    const char *artist = shown(entry->title.artist);
    const char *title = shown(entry->title.discTitle);
    int limit = artist ? 15 : 30;
    snprintf(buffer, size, "%.*s%s%.*s", artist ? limit : 0, artist ? artist : "", artist && title ? " / " : "",
             title ? limit : 0, title ? title : "");
}

void showPlayingOrPaused(const char *word)
{
    char line[lineSize];
    char title[lineSize];
    currentTrackTitle(title, sizeof title);

    if (options.ControlsDisplayType == 1) {
        if (title[0])
            snprintf(line, sizeof line, "%d) %s", currentTrack, title);
        else
            snprintf(line, sizeof line, "%d)", currentTrack);
        panelSetTitleLine(line);
    } else {
        snprintf(line, sizeof line, "%s %s", word, timeText);
        panelSetStatusLine(line);
    }

    if (title[0])
        snprintf(line, sizeof line, "%s %s - %s", word, timeText, title);
    else
        snprintf(line, sizeof line, "%s %s", word, timeText);
    traySetTip(line);
}

void showStopped()
{
    if (options.ControlsDisplayType == 1) {
        char line[lineSize];
        discTitleLine(line, sizeof line);
        panelSetTitleLine(line);
    } else {
        panelSetStatusLine("Stopped");
    }
    traySetTip("Stopped");
}

} // namespace

void formatTimeText(int track, int minutes, int seconds)
{
    int start = 0, length = 0, leadOut = 0;
    switch (options.TimeDisplayMode) {
    case TrackElapsed:
        snprintf(timeText, sizeof timeText, "(%d) %d:%02d", track, minutes, seconds);
        break;
    case TrackRemaining:
        if (trackSeconds(track, true, &length))
            setTrackClockText(track, length - (minutes * 60 + seconds));
        break;
    case DiscElapsed:
        if (trackSeconds(track, false, &start))
            setClockText(minutes * 60 + seconds + start);
        break;
    case DiscRemaining: {
        int trackCount;
        {
            DriveLockHold hold;
            DriveEntry *entry = currentEntry();
            trackCount = entry ? entry->title.trackCount : 0;
        }
        if (trackCount > 0 && trackSeconds(track, false, &start) && trackSeconds(trackCount + 1, false, &leadOut))
            setClockText(leadOut - (minutes * 60 + seconds + start));
        break;
    }
    default:
        break;
    }
}

void updateStatusText()
{
    DriveEntry *entry = currentEntry();
    if (!entry) {
        panelSetShownLine("No Audio CD(s)");
        traySetTip("No Audio CD(s)");
        return;
    }

    if (playState == PlayStatePlaying || playState == PlayStatePaused) {
        int track = 0, min = 0, sec = 0, frame = 0, absMin = 0, absSec = 0, absFrame = 0;
        if (entry->device == 0 ||
            cd_get_cur_time_info(entry->device, &track, &min, &sec, &frame, &absMin, &absSec, &absFrame) != 1)
            return;
        formatTimeText(currentTrack, min, sec);
    }

    switch (playState) {
    case PlayStatePlaying:
        showPlayingOrPaused("Playing");
        break;
    case PlayStatePaused:
        showPlayingOrPaused("Paused");
        break;
    case PlayStateStopped:
        showStopped();
        break;
    default:
        panelSetShownLine("Unknown");
        traySetTip("Unknown");
        break;
    }
}
