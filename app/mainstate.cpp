// mainstate.cpp - storage for the main window's flags; resetMainState also
// clears the panel's visibility, which ui/ keeps.
#include "app/mainstate.h"
#include "ui/panel.h"

int modalBusy = 0;
int dragging = 0;
POINT dragOffset = {0, 0};
int trayClickState = 0;
int trayClickTimerOn = 0;
int previousClickPending = 0;
int volumeRepeated = 0;

void resetMainState()
{
    modalBusy = 0;
    dragging = 0;
    dragOffset = POINT{0, 0};
    trayClickState = 0;
    trayClickTimerOn = 0;
    previousClickPending = 0;
    volumeRepeated = 0;
    panelVisible = 0;
}
