// commands.cpp - the main window's commands: panel buttons and menu items.
// Each case is one line: what the command does, then which displays follow.
#include "app/commands.h"
#include "app/aboutbox.h"
#include "core/appstate.h"
#include "app/launch.h"
#include "app/mainstate.h"
#include "app/refresh.h"
#include "cddb/lookup.h"
#include "cddb/submit.h"
#include "mixer/mixer.h"
#include "options/options.h"
#include "options/optionssheet.h"
#include "player/drives.h"
#include "player/playorder.h"
#include "player/selectdialogs.h"
#include "player/statusmonitor.h"
#include "res/resource.h"
#include "titles/cdinfosheet.h"
#include "titles/titlelookup.h"
#include "ui/menus.h"
#include "ui/modal.h"
#include "ui/panel.h"

namespace {

void cmdPlay()
{
    if (playState == PlayStatePaused)
        resumePlay();
    else if (playState == PlayStateStopped)
        advancePlay(AdvanceStart);
}

void cmdPause()
{
    if (playState == PlayStatePlaying)
        playState = cd_pause(currentDevice());
    else if (playState == PlayStatePaused)
        resumePlay();
}

void cmdStop()
{
    if (currentDevice())
        playState = cd_stop(currentDevice());
}

void cmdNext()
{
    if (scanActive) {
        scanResume();
        return;
    }
    scanDelay = 0;
    advancePlay(AdvanceNext);
}

// One press restarts the track 500 ms later; a second press within that
// time goes to the previous track at once.
void cmdPreviousButton()
{
    if (scanActive) {
        scanResume();
        return;
    }
    scanDelay = 0;
    if (previousClickPending) {
        KillTimer(mainWindow, TIMER_PREVIOUS);
        previousClickPending = 0;
        advancePlay(AdvancePrevious);
        refreshDisplays("TSdKX");
    } else {
        SetTimer(mainWindow, TIMER_PREVIOUS, 500, nullptr);
        previousClickPending = 1;
    }
}

void cmdEject()
{
    if (currentDevice())
        cd_eject(currentDevice());
}

void cmdVolumeButton(bool up)
{
    if (volumeRepeated) {
        // The held button already stepped the volume on each tick.
        volumeRepeated = 0;
        return;
    }
    if (up)
        volumeUp(options.VolumeMixer);
    else
        volumeDown(options.VolumeMixer);
}

void toggleMode(int *mode)
{
    *mode = !*mode;
    rearmPlay();
}

void cmdShowControls()
{
    if (panelVisible)
        hidePanel();
    else
        showPanel();
}

void cmdAbout()
{
    ModalBusyHold busy;
    runModalDialog(mainWindow, IDD_ABOUT, aboutProc, 0);
}

// "Properties...": the titles, notes and programs of every drive. On OK a
// changed program takes effect at once (play starts over in the new order),
// and what the user changed goes to the title database.
void cmdProperties()
{
    ModalBusyHold busy;
    bool changedProgram = false;
    if (!showCdInfoSheet(mainWindow, &changedProgram))
        return;
    if (changedProgram && currentDevice() && playState == PlayStatePlaying) {
        playState = cd_stop(currentDevice());
        advancePlay(AdvanceStart);
    }
    writeTitles(-1);
    refreshDisplays("TSDKX");
}

// "Options...": what the user accepted takes effect at once. The panel
// follows its three settings (hidden while no drive is current when it is
// to hide without a disc, shown when it is to show at start), then the
// options are saved and the displays follow.
void cmdOptions()
{
    ModalBusyHold busy;
    if (!showOptionsSheet())
        return;
    if (panelVisible) {
        if (currentDrive == 0 && options.ControlsHideNoCD)
            hidePanel();
        else
            applyPanelZOrder();
    }
    if (!panelVisible && options.ControlsVisibleAtStart && !options.ControlsHideNoCD) {
        applyPanelZOrder();
        showPanel();
    }
    saveOptions();
    applyDisplayType();
    refreshDisplays("XM");
}

// "Query CDDB...": the chosen drive is looked up again, even when its
// titles are known.
void cmdQueryCddb()
{
    INT_PTR drive;
    {
        ModalBusyHold busy;
        drive = runModalDialog(mainWindow, IDD_DRIVE_SELECT, driveSelectProc, 0);
    }
    if (drive <= 0 || !startLookupWorker((int)drive))
        return;
    enableCddbCommands(0);
    lookupRunning = 1;
}

// "Submit To CDDB...": a drive, then a category, then the worker.
void cmdSubmitCddb()
{
    ModalBusyHold busy;
    INT_PTR drive = runModalDialog(mainWindow, IDD_DRIVE_SELECT, driveSelectProc, 0);
    if (drive <= 0)
        return;
    INT_PTR category = runModalDialog(mainWindow, IDD_SUBMIT_CATEGORY, submitCategoryProc, 0);
    if (category <= 0 || !startSubmitWorker((int)drive, (int)category))
        return;
    enableCddbCommands(0);
}

void cmdSelectTrack(int track)
{
    // Only a track the disc has, and an audio one, can be chosen (the menu
    // grays the others; a stray command must not move the model off the disc).
    if (track <= MAX_TRACK_MENU_ITEMS && !playableTrack(track))
        return;
    if (playState == PlayStatePlaying)
        markCurrentPlayed();
    if (track > MAX_TRACK_MENU_ITEMS) {
        // "Complete Track List..." chooses from every track of the disc.
        modalBusy = 1;
        INT_PTR chosen = runModalDialog(mainWindow, IDD_TRACK_SELECT, trackSelectProc, 0);
        modalBusy = 0;
        if (chosen <= 0 || !playableTrack((int)chosen))
            return;
        track = (int)chosen;
    }
    if (currentTrack != 0)
        markCurrentPlayed();
    programPosition = 0;
    currentTrack = track;
    playState = playTrack(track);
    refreshDisplays("TSk");
}

void cmdSelectVolumeControl(int control)
{
    if (control == options.VolumeMixer)
        return;
    options.VolumeMixer = control;
    refreshVolumeMenu(0);
    RedrawWindow(GetDlgItem(mainWindow, IDC_VOLUME_BAR), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void cmdSelectDrive(int drive)
{
    if (drive == currentDrive || !driveHasDisc(drive))
        return;
    if (currentDevice())
        playState = cd_stop(currentDevice());
    currentDrive = drive;
    advancePlay(AdvanceStart);
    refreshDisplays("TSdKX");
}

} // namespace

void resumePlay()
{
    playState = cd_resume(currentDevice(), currentTrack, singleTrackPlay());
}

void rearmPlay()
{
    if (currentDevice() && playState == PlayStatePlaying)
        resumePlay();
}

int onCommand(int id)
{
    switch (id) {
    case IDC_PLAY: case IDM_PLAY:           cmdPlay(); refreshDisplays("TSdkX"); return 1;
    case IDC_PAUSE: case IDM_PAUSE:         cmdPause(); refreshDisplays("TSX"); return 1;
    case IDC_STOP: case IDM_STOP:           cmdStop(); refreshDisplays("TSX"); return 1;
    case IDC_NEXT: case IDM_NEXT_TRACK:     cmdNext(); refreshDisplays("TSdKX"); return 1;
    case IDC_PREVIOUS:                      cmdPreviousButton(); return 1;
    case IDM_PREVIOUS_TRACK:                advancePlay(AdvancePrevious); refreshDisplays("TSdKX"); return 1;
    case IDC_EJECT: case IDM_EJECT:         cmdEject(); return 1;
    case IDC_VOLUME_UP:                     cmdVolumeButton(true); return 1;
    case IDC_VOLUME_DOWN:                   cmdVolumeButton(false); return 1;
    case IDC_VOLUME_BAR:                    toggleMute(options.VolumeMixer); return 1;
    case IDM_RANDOM:                        toggleMode(&randomMode); refreshDisplays("M"); return 1;
    case IDM_INTRO:                         toggleMode(&introMode); refreshDisplays("M"); return 1;
    case IDM_REPEAT_ALL:                    options.RepeatAll = !options.RepeatAll; refreshDisplays("M"); return 1;
    case IDM_REPEAT_CURRENT:                toggleMode(&repeatTrackMode); refreshDisplays("M"); return 1;
    case IDM_SHOW_CONTROLS:                 cmdShowControls(); refreshDisplays("M"); return 1;
    case IDM_HIDE_CONTROLS:                 hidePanel(); refreshDisplays("M"); return 1;
    case IDM_PROPERTIES:                    cmdProperties(); return 1;
    case IDM_OPTIONS:                       cmdOptions(); return 1;
    case IDM_QUERY_CDDB:                    cmdQueryCddb(); return 1;
    case IDM_SUBMIT_CDDB:                   cmdSubmitCddb(); return 1;
    case IDM_START_RACKFILE:                launchRackfile(); return 1;
    case IDM_HELP_CONTENTS:                 launchHelp(); return 1;
    case IDM_ABOUT:                         cmdAbout(); return 1;
    case IDM_EXIT:                          DestroyWindow(mainWindow); return 1;
    default:
        break;
    }
    if (id >= IDM_TRACK_FIRST && id <= IDM_TRACK_LAST) {
        cmdSelectTrack(id - IDM_TRACK_FIRST + 1);
        return 1;
    }
    if (id >= IDM_VOLUME_FIRST && id <= IDM_VOLUME_LAST) {
        cmdSelectVolumeControl(id - IDM_VOLUME_FIRST + 1);
        return 1;
    }
    if (id >= IDM_DRIVE_FIRST && id <= IDM_DRIVE_LAST) {
        cmdSelectDrive(id - IDM_DRIVE_FIRST + 1);
        return 1;
    }
    return 0;
}
