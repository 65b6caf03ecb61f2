// maininit.cpp - the main dialog's set-up and shutdown: the whole program
// comes up in a fixed order when the dialog is created and goes down when it
// is destroyed.
#include "app/maininit.h"
#include "core/appstate.h"
#include "core/diaglog.h"
#include "app/mainstate.h"
#include "cddb/cddbsession.h"
#include "cddb/lookup.h"
#include "cddb/statuswnd.h"
#include "mixer/mixer.h"
#include "options/options.h"
#include "player/discevents.h"
#include "player/drives.h"
#include "player/playorder.h"
#include "player/statusmonitor.h"
#include "player/statustext.h"
#include "res/resource.h"
#include "titles/cdinfosheet.h"
#include "titles/titlelookup.h"
#include "ui/menus.h"
#include "ui/msgbox.h"
#include "ui/panel.h"
#include "ui/tray.h"

#include <ctime>

namespace {

const char *const exitMessageText =
    "No audio CD's found.\r\n\r\nSpindle2 has been configured to exit if all audio CD's have been\r\nejected.\r\n\r\n"
    "To change this, insert an audio CD and un-select the 'Exit\r\nSpindle2 When Eject' option in the 'Eject and "
    "Exit' section\r\nof the Options dialog.";

const char *const corruptedEntriesText =
    "One or more corrupted entries have been deleted durring\r\ncompaction of the Spindle2 database.\r\n\r\nYou should "
    "run the Rackfile to check the contents of the database.";

const char *const compactionFailedText =
    "An error occured durring the compaction of the Spindle2\r\ndatabase.  If this problem persists, please contact "
    "Veldane Software for help.";

// What the drive model reports when discs come and go.
void onCurrentDiscGone()
{
    refreshTrayIcon();
    refreshTransportState();
    refreshTrackMenus(1);
}

void onDriveListChanged()
{
    refreshDriveMenus(1);
    cdInfoSheetDrivesChanged();
}

void onHidePanelNoDisc()
{
    hidePanel();
    refreshModeChecks();
}

void installDiscEvents()
{
    discEvents.noDrivesUsable = trayShowNoDisc;
    discEvents.titlesNeeded = [](int drive) { lookupTitles(drive); };
    discEvents.cddbLookupNeeded = [](int drive) {
        if (!startLookupWorker(drive))
            return 0;
        enableCddbCommands(0);
        return 1;
    };
    discEvents.currentDiscGone = onCurrentDiscGone;
    discEvents.driveListChanged = onDriveListChanged;
    discEvents.hidePanelNoDisc = onHidePanelNoDisc;
}

// Titles of every loaded disc; true when all of them have titles.
bool lookUpAllTitles()
{
    bool allTitled = true;
    for (int drive = 1; drive <= driveCount; ++drive) {
        if (!driveHasDisc(drive))
            continue;
        lookupTitles(drive);
        if (!DriveTable[drive - 1].titleKnown)
            allTitled = false;
    }
    return allTitled;
}

} // namespace

void chooseVolumeControl(HWND window)
{
    int count = openMixers(window);
    if (count == 0)
        options.VolumeMixer = 0;
    else if (options.VolumeMixer <= 0 || options.VolumeMixer > count)
        options.VolumeMixer = 1;
}

namespace {

void refreshAllDisplays()
{
    refreshTrayIcon();
    refreshTransportState();
    refreshDriveMenus(1);
    refreshTrackMenus(1);
    refreshVolumeMenu(1);
    applyDisplayType();
    updateStatusText();
}

void startTimers()
{
    SetTimer(mainWindow, TIMER_MEDIA_POLL, MEDIA_POLL_MS, nullptr);
    SetTimer(mainWindow, TIMER_STATUS_POLL, STATUS_POLL_MS, nullptr);
    SetTimer(mainWindow, TIMER_BUTTON_REPEAT, 100, nullptr);
}

// Compacts the title database when a quarter or more of it can be reclaimed.
void databaseUpkeep()
{
    db_lock();
    int32_t total = 0, reclaimable = 0;
    if (db_statistics(&total, &reclaimable) >= 1 && total > 0 && (double)reclaimable / (double)total >= 0.25) {
        statusWindowOpen();
        statusWindowSetTitle("Please Wait");
        statusWindowSetText("Compacting Spindle2 database...");
        int result = db_compact();
        statusWindowClose();
        // The tray icon is still there while the box waits: its clicks only beep.
        ModalBusyHold busy;
        if (result != 1)
            showMessage(nullptr, result == PLATTER_DB_CORRUPT_DROPPED ? corruptedEntriesText : compactionFailedText,
                        "Database Error", MB_SYSTEMMODAL | MB_ICONERROR);
    }
    db_unlock();
}

} // namespace

bool mainInit(HWND window)
{
    logLinef("Starting main dialog initialization.");
    mainWindow = window;
    seedPlayRandom((uint32_t)time(nullptr));
    initDriveLock();
    resetCddbSession();
    installDiscEvents();
    trayAdd(instanceHandle, window, WM_TRAY_NOTIFY);
    loadOptions();
    convertRegistryTitles();

    if (!openDrives())
        return false;
    logLinef("Number of CD-ROM's in system: %d", driveCount);
    readPresentDiscs();

    currentDrive = 0;
    selectStartDrive(startDrive);
    if (currentDrive == 0 && options.ExitAtEject) {
        ModalBusyHold busy;
        showMessage(window, exitMessageText, "Spindle2 Exit Message", MB_SYSTEMMODAL | MB_ICONINFORMATION);
        return false;
    }

    bool allTitled = lookUpAllTitles();
    if (currentDrive != 0)
        advancePlay(AdvanceStart);

    chooseVolumeControl(window);
    loadButtonBitmaps();
    loadMenus();
    refreshAllDisplays();
    startTimers();

    placePanel();
    if (options.ControlsVisibleAtStart && (currentDrive != 0 || !options.ControlsHideNoCD))
        showPanel();
    refreshModeChecks();

    if (!allTitled && startLookupWorker(-1)) {
        enableCddbCommands(0);
        lookupRunning = 1;
    }
    return true;
}

void mainShutdown()
{
    saveOptions();

    KillTimer(mainWindow, TIMER_MEDIA_POLL);
    KillTimer(mainWindow, TIMER_STATUS_POLL);
    KillTimer(mainWindow, TIMER_BUTTON_REPEAT);
    if (trayClickTimerOn) {
        KillTimer(mainWindow, TIMER_TRAY_CLICK);
        trayClickTimerOn = 0;
    }
    KillTimer(mainWindow, TIMER_LOOKUP_DONE);

    // Lookup and submission workers leave the drives alone from here on.
    stopCddbWorkers();
    statusWindowClose();

    DriveEntry *current = currentEntry();
    if (options.StopAtExit && current && current->device != 0)
        cd_stop(current->device);
    closeDrives();
    closeMixers();

    databaseUpkeep();

    trayRemove();
    PostQuitMessage(0);
}
