// startup.cpp - from the entry point to the end of the message loop.
#include "app/startup.h"
#include "core/appstate.h"
#include "core/diaglog.h"
#include "app/mainwnd.h"
#include "cddb/statuswnd.h"
#include "options/registry.h"
#include "platter/platter.h"
#include "res/resource.h"

#include <cctype>
#include <cstring>

const char *runOnceMutexName = RUN_ONCE_MUTEX_NAME;

namespace {
// Held for the life of the process: its name tells a second copy that we run.
HANDLE runOnceMutex = nullptr;
}

void releaseRunOnceMutex()
{
    if (runOnceMutex)
        CloseHandle(runOnceMutex);
    runOnceMutex = nullptr;
}

void parseCommandLine(const char *commandLine, char drive[3], int *diagnostics)
{
    const char *line = commandLine ? commandLine : "";
    if (strlen(line) >= 3 && line[1] == ':' && line[2] == '\\') {
        drive[0] = (char)toupper((unsigned char)line[0]);
        drive[1] = ':';
        drive[2] = 0;
    } else {
        drive[0] = 0;
    }
    if (strstr(line, "-d"))
        *diagnostics = 1;
}

void enterMainDirectory()
{
    HKEY key;
    if (!regOpenRead(OPTIONS_KEY, &key))
        return;
    char directory[MAX_PATH + 1] = "";
    bool read = regReadString(key, "MainDirectory", directory, MAX_PATH);
    regClose(key);
    if (read && directory[0])
        SetCurrentDirectoryA(directory);
}

int runProgram(HINSTANCE instance, const char *commandLine)
{
    instanceHandle = instance;

    // A second copy leaves at once, without a word; the first is not disturbed.
    HANDLE runOnce = CreateMutexA(nullptr, FALSE, runOnceMutexName);
    if (runOnce && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(runOnce);
        return 0;
    }
    runOnceMutex = runOnce;

    parseCommandLine(commandLine, startDrive, &diagnosticsOn);
    enterMainDirectory();

    if (diagnosticsOn) {
        logOpen();
        platter_diag_init(logLine);
    }
    logLinef("Spindle2 startup.");
    platter_stat_init(statusWindowSetText);

    HWND created = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, mainWindowProc, 0);
    if (!created && !mainWindow) {
        // The dialog never came up, so nothing would ever end the loop.
        logLinef("Unable to create the main dialog.");
        if (diagnosticsOn)
            logClose();
        return EXIT_NO_MAIN_WINDOW;
    }

    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    if (diagnosticsOn)
        logClose();
    return (int)message.wParam;
}
