// mainstate.h - the flags the main window procedure keeps between messages.
// All are touched on the main thread only.
#ifndef APP_MAINSTATE_H
#define APP_MAINSTATE_H

#include <windows.h>

extern int modalBusy;             // a modal dialog or sheet of the main window is open
extern int dragging;              // the panel is being dragged
extern POINT dragOffset;          // cursor minus the panel's corner when the drag began
extern int trayClickState;        // 0 idle, 1 a click waiting, 2 a double click waiting
extern int trayClickTimerOn;      // TIMER_TRAY_CLICK runs
extern int previousClickPending;  // Previous was pressed once and TIMER_PREVIOUS runs
extern int volumeRepeated;        // auto-repeat already stepped the held volume button

// Clears every flag (start-up, and tests).
void resetMainState();

// Marks a modal run over the main window (a dialog, a sheet, a message box
// it owns): modalBusy is set while the object lives, so tray clicks only
// beep, and afterwards it is what it was before (a box shown from inside a
// dialog leaves the dialog's mark in place).
class ModalBusyHold {
public:
    ModalBusyHold() : previous_(modalBusy) { modalBusy = 1; }
    ~ModalBusyHold() { modalBusy = previous_; }
    ModalBusyHold(const ModalBusyHold &) = delete;
    ModalBusyHold &operator=(const ModalBusyHold &) = delete;

private:
    int previous_;
};

#endif
