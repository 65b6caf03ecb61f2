// maininit.cpp - the main dialog's set-up and shutdown.
#include "app/maininit.h"
#include "app/appstate.h"
#include "app/diaglog.h"
#include "options/options.h"

bool mainInit(HWND window)
{
    logLinef("Starting main dialog initialization.");
    mainWindow = window;
    loadOptions();
    return true;
}

void mainShutdown()
{
    saveOptions();
    PostQuitMessage(0);
}
