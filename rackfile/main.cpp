// main.cpp - Rackfile's entry point: with arguments it runs the command line
// and exits with its code; without, it shows the main window.
#include "core/appstate.h"
#include "rackfile/commandline.h"
#include "rackfile/mainwindow.h"
#include "rackfile/startdir.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    instanceHandle = instance;
    enterInstallFolder();
    if (__argc > 1) {
        std::vector<std::string> args(__argv + 1, __argv + __argc);
        return rackfileCommandLine(args);
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    HWND window = createMainWindow(instance, true);
    if (!window)
        return ExitNoDatabase;
    ShowWindow(window, show);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return ExitDone;
}
