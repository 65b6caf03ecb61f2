// panelplace.cpp - where the control panel sits, and showing and hiding it.
#include "core/appstate.h"
#include "options/options.h"
#include "ui/panel.h"

int panelVisible = 0;

void placePanel()
{
    // Only the right and bottom edges are checked: a panel dragged off the
    // left or top edge on purpose stays where the user put it.
    RECT work;
    if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        if (options.ControlsX > work.right)
            options.ControlsX = work.right - 100;
        if (options.ControlsY > work.bottom)
            options.ControlsY = work.bottom - 75;
    }
    if (mainWindow)
        SetWindowPos(mainWindow, options.ControlsOnTop ? HWND_TOPMOST : HWND_TOP, options.ControlsX, options.ControlsY,
                     0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void showPanel()
{
    if (mainWindow)
        ShowWindow(mainWindow, SW_SHOWNA);
    panelVisible = 1;
}

void hidePanel()
{
    if (mainWindow)
        ShowWindow(mainWindow, SW_HIDE);
    panelVisible = 0;
}

void applyPanelZOrder()
{
    if (mainWindow)
        SetWindowPos(mainWindow, options.ControlsOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
