// timers.cpp - what each of the main window's timers does when it fires.
#include "app/timers.h"
#include "core/appstate.h"
#include "app/mainstate.h"
#include "app/refresh.h"
#include "app/trayclicks.h"
#include "cddb/cddbsession.h"
#include "cddb/statuswnd.h"
#include "mixer/mixer.h"
#include "options/options.h"
#include "player/drives.h"
#include "player/playorder.h"
#include "player/statusmonitor.h"
#include "res/resource.h"
#include "ui/menus.h"

namespace {

// The buttons that repeat while held, found once per main window: this
// runs ten times a second, and finding a control by its id asks the window
// system for the dialog's children each time (a wineserver round trip under
// Wine), while asking the button its state stays in this thread.
struct RepeatButtons {
    HWND owner = nullptr;
    HWND volumeUp = nullptr, volumeDown = nullptr, next = nullptr, previous = nullptr;
};
RepeatButtons repeatButtons;

const RepeatButtons &buttonsOfMainWindow()
{
    if (repeatButtons.owner != mainWindow) {
        repeatButtons.owner = mainWindow;
        repeatButtons.volumeUp = GetDlgItem(mainWindow, IDC_VOLUME_UP);
        repeatButtons.volumeDown = GetDlgItem(mainWindow, IDC_VOLUME_DOWN);
        repeatButtons.next = GetDlgItem(mainWindow, IDC_NEXT);
        repeatButtons.previous = GetDlgItem(mainWindow, IDC_PREVIOUS);
    }
    return repeatButtons;
}

bool buttonHeld(HWND button)
{
    return button && (SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

// Held buttons repeat: the volume buttons step the volume, next and previous scan.
void onButtonRepeat()
{
    const RepeatButtons &buttons = buttonsOfMainWindow();
    if (buttonHeld(buttons.volumeUp)) {
        volumeUp(options.VolumeMixer);
        volumeRepeated = 1;
    } else if (buttonHeld(buttons.volumeDown)) {
        volumeDown(options.VolumeMixer);
        volumeRepeated = 1;
    } else if (playState == PlayStatePlaying) {
        if (buttonHeld(buttons.next))
            scanTick(true);
        else if (buttonHeld(buttons.previous))
            scanTick(false);
    }
}

// With ExitAtEject the program ends once no disc is left; while a dialog or
// sheet is open over the main window it waits for the next poll after it
// closes, so that the dialog's caller never finds the drives gone.
void onMediaPoll()
{
    pollOtherDrives();
    if (currentDrive == 0 && options.ExitAtEject && !modalBusy)
        DestroyWindow(mainWindow);
}

// A single press of Previous: the current track starts again.
void onPreviousTimer()
{
    KillTimer(mainWindow, TIMER_PREVIOUS);
    previousClickPending = 0;
    advancePlay(AdvanceRestart);
    refreshDisplays("TSdKX");
}

// Three seconds after a CDDB run ended: its last text has been read. A
// lookup or submission still running keeps the window, the grayed commands
// and lookupRunning; its own end starts the timer again.
void onLookupDone()
{
    KillTimer(mainWindow, TIMER_LOOKUP_DONE);
    if (cddbJobRunning(CddbJobLookup) || cddbJobRunning(CddbJobSubmit))
        return;
    statusWindowClose();
    enableCddbCommands(1);
    lookupRunning = 0;
}

} // namespace

INT_PTR onTimer(UINT_PTR id)
{
    switch (id) {
    case TIMER_MEDIA_POLL:    onMediaPoll(); return 1;
    case TIMER_STATUS_POLL:   pollCurrentDrive(); return 1;
    case TIMER_BUTTON_REPEAT: onButtonRepeat(); return 1;
    case TIMER_TRAY_CLICK:    onTrayClickTimer(); return 1;
    case TIMER_PREVIOUS:      onPreviousTimer(); return 1;
    case TIMER_LOOKUP_DONE:   onLookupDone(); return 1;
    default:                  return 0;
    }
}
