// statusmonitor.cpp - the polls that follow the drives and the held-button
// scan. Everything here runs on the main window's thread, from its timers.
#include "player/statusmonitor.h"
#include "core/appstate.h"
#include "options/options.h"
#include "player/drives.h"
#include "player/playorder.h"
#include "player/statustext.h"
#include "res/resource.h" // the status poll's timer
#include "ui/conflict.h"
#include "ui/menus.h"
#include "ui/panel.h"
#include "ui/tray.h"

#include <cstdio>

int scanActive = 0;
int scanDelay = 0;
int scanTicks = 0;
int scanPosition = 0;
int scanTrackLength = 0;

namespace {

// Ticks of holding before a scan starts: a shorter press is a click.
const int scanStartDelay = 7;

// Length of a track of the current drive in whole seconds; 0 when unknown.
int trackLengthSeconds(int track)
{
    int sm = 0, ss = 0, sf = 0, lm = 0, ls = 0, lf = 0;
    if (cd_get_track_time(currentDevice(), track, &sm, &ss, &sf, &lm, &ls, &lf) != 1)
        return 0;
    return lm * 60 + ls;
}

void restartStatusPoll()
{
    if (mainWindow)
        SetTimer(mainWindow, TIMER_STATUS_POLL, STATUS_POLL_MS, nullptr);
}

// The track is over (or its introduction window is): on to the next.
void advanceAfterTrack()
{
    markCurrentPlayed();
    advancePlay(AdvanceTrackEnded);
    refreshTrayIcon();
    refreshTransportState();
    refreshDriveMenus(0);
    refreshTrackMenus(1);
    updateStatusText();
}

// The order ran out while scanning: play stops.
void scanRanOut()
{
    scanActive = 0;
    playState = cd_stop(currentDevice());
    panelShowScanLine(false);
    restartStatusPoll();
    refreshTrayIcon();
    refreshTransportState();
    updateStatusText();
}

// The step of a scan tick, in seconds: faster the longer the button is held.
int scanStep(int ticks)
{
    if (ticks <= 10)
        return 1;
    if (ticks <= 30)
        return 2;
    if (ticks <= 60)
        return 5;
    return 10;
}

// The start delay of a held button; true when this tick scans.
bool scanDelayPassed()
{
    if (!scanActive && scanDelay == 0) {
        scanDelay = scanStartDelay;
        return false;
    }
    if (scanDelay != 0) {
        --scanDelay;
        return scanDelay == 0;
    }
    return true;
}

void beginScan()
{
    cd_handle_t device = currentDevice();
    if (mainWindow)
        KillTimer(mainWindow, TIMER_STATUS_POLL);
    panelShowScanLine(true);
    int track = 0, min = 0, sec = 0, frame = 0, absMin = 0, absSec = 0, absFrame = 0;
    cd_get_cur_time_info(device, &track, &min, &sec, &frame, &absMin, &absSec, &absFrame);
    // The drive pauses while the position moves; the model stays Playing.
    cd_pause(device);
    scanTrackLength = trackLengthSeconds(currentTrack);
    scanTicks = 0;
    scanActive = 1;
    scanPosition = min * 60 + sec;
}

// A disc arrived in some drive: with no current drive it becomes current and
// plays; the displays follow.
void afterArrival()
{
    if (currentDrive == 0) {
        selectFirstDrive();
        if (currentDrive != 0) {
            advancePlay(AdvanceStart);
            if (!panelVisible && options.ControlsVisibleAtStart) {
                applyPanelZOrder();
                showPanel();
            }
        }
        refreshTrayIcon();
        refreshTransportState();
        refreshTrackMenus(1);
        updateStatusText();
        refreshModeChecks();
    }
    refreshDriveMenus(1);
}

// Another disc is in the drive without the drive ever having been empty
// (an image written over the old one, a tray closed on a new disc between
// two polls): the old disc leaves with its titles, the new one arrives.
void discSwapped(int drive)
{
    discRemoved(drive);
    discInserted(drive);
}

} // namespace

void pollOtherDrives()
{
    bool arrived = false;
    for (int drive = 1; drive <= driveCount; ++drive) {
        DriveEntry &entry = DriveTable[drive - 1];
        if (entry.device == 0 || drive == currentDrive)
            continue;
        int present = cd_check_if_media(entry.device);
        if (present == 1 && !entry.mediaPresent) {
            discInserted(drive);
            arrived = true;
        } else if (present != 1 && entry.mediaPresent) {
            discRemoved(drive);
        } else if (present == 1 && cd_disc_changed(entry.device) == 1) {
            discSwapped(drive);
            arrived = true;
        }
    }
    if (arrived)
        afterArrival();
}

void pollCurrentDrive()
{
    DriveEntry *entry = currentEntry();
    if (!entry) {
        updateStatusText();
        return;
    }
    cd_handle_t device = entry->device;
    // A swapped disc is seen before its state is read: the drive stopped
    // for the new disc, which is no end of a track of the old one.
    if (cd_disc_changed(device) == 1) {
        discSwapped(currentDrive);
        afterArrival();
        return;
    }
    int state = cd_check_status(device);

    if (state == playState) {
        if (!introMode) {
            if (playState == PlayStatePlaying) {
                int track = 0, min = 0, sec = 0, frame = 0, absMin = 0, absSec = 0, absFrame = 0;
                if (cd_get_cur_time_info(device, &track, &min, &sec, &frame, &absMin, &absSec, &absFrame) == 1 &&
                    track != currentTrack && track >= 1 && track <= entry->title.trackCount) {
                    // The drive moved on by itself during continuous play.
                    markCurrentPlayed();
                    currentTrack = track;
                    refreshTrackMenus(1);
                }
            }
            updateStatusText();
            return;
        }
        if (playState != PlayStatePlaying) {
            updateStatusText();
            return;
        }
        int track = 0, min = 0, sec = 0, frame = 0, absMin = 0, absSec = 0, absFrame = 0;
        if (cd_get_cur_time_info(device, &track, &min, &sec, &frame, &absMin, &absSec, &absFrame) != 1)
            return;
        int elapsed = min * 60 + sec;
        int windowEnd = options.IntroPlayStart >= 0 ? introWindowEnd(0) : introWindowEnd(trackLengthSeconds(currentTrack));
        if (elapsed > windowEnd) {
            advanceAfterTrack();
            return;
        }
        updateStatusText();
        return;
    }

    if (playState == PlayStatePaused && state == PlayStateStopped) {
        updateStatusText();
        return;
    }
    if (state != PlayStatePlaying && state != PlayStatePaused && state != PlayStateStopped) {
        discRemoved(currentDrive);
        return;
    }
    if (!(playState == PlayStatePlaying && state == PlayStateStopped)) {
        // Nothing we did: another application is driving the drive.
        playState = cd_stop(device);
        updateStatusText();
        startConflictWarning();
        return;
    }
    // The drive reached the end of what it was told to play.
    advanceAfterTrack();
}

void scanTick(bool forward)
{
    if (!currentEntry())
        return;
    if (!scanDelayPassed())
        return;
    if (!scanActive)
        beginScan();

    ++scanTicks;
    int step = scanStep(scanTicks);
    const char *format;
    if (forward) {
        scanPosition += step;
        if (scanPosition > scanTrackLength) {
            markCurrentPlayed();
            if (!nextTrack(1)) {
                scanRanOut();
                return;
            }
            scanTrackLength = trackLengthSeconds(currentTrack);
            scanPosition = 0;
        }
        format = ">>> %s >>>";
    } else {
        scanPosition -= step;
        if (scanPosition <= 0) {
            markCurrentPlayed();
            if (!previousTrack()) {
                scanRanOut();
                return;
            }
            scanTrackLength = trackLengthSeconds(currentTrack);
            scanPosition = scanTrackLength;
        }
        format = "<<< %s <<<";
    }

    formatTimeText(currentTrack, scanPosition / 60, scanPosition % 60);
    char line[TIME_TEXT_SIZE + 16];
    snprintf(line, sizeof line, format, timeText);
    panelSetStatusLine(line);
}

void scanResume()
{
    scanActive = 0;
    cd_play(currentDevice(), currentTrack, scanPosition / 60, scanPosition % 60, 0, singleTrackPlay());
    panelShowScanLine(false);
    restartStatusPoll();
}
