// launch.cpp - the Rackfile and the help viewer, started detached and forgotten.
#include "app/launch.h"
#include "core/appstate.h"
#include "app/mainstate.h"
#include "ui/msgbox.h"

#include <cstring>

namespace {

// Starts a program with no console, forgets it; false when it could not start.
bool startDetached(const char *program, const char *commandLine)
{
    char line[MAX_PATH + 64] = "";
    if (commandLine)
        strncpy(line, commandLine, sizeof line - 1);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(program, commandLine ? line : nullptr, nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                        nullptr, &startup, &process))
        return false;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return true;
}

// The failure box is owned by the main window: a modal run like any dialog.
void reportLaunchFailure(const char *text)
{
    ModalBusyHold busy;
    showMessage(mainWindow, text, "Spindle2 Error", MB_SYSTEMMODAL | MB_ICONERROR);
}

}

void launchRackfile()
{
    if (!startDetached(".\\Rackfile.exe", nullptr))
        reportLaunchFailure("Error starting Rackfile.");
}

void launchHelp()
{
    if (!startDetached(nullptr, "winhlp32 Spindle2.hlp"))
        reportLaunchFailure("Error starting help executable.");
}
