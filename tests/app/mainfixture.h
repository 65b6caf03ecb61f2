// mainfixture.h - the main window for real (the dialog from the program's
// resources with its own procedure) on top of the fake CD library, a test
// machine with CD-ROM drives D: and E:, and a private registry.
#ifndef TESTS_APP_MAINFIXTURE_H
#define TESTS_APP_MAINFIXTURE_H

#include "player/playerfixture.h"

#include "core/appstate.h"
#include "app/mainstate.h"
#include "app/mainwnd.h"
#include "options/registry.h"
#include "player/statusmonitor.h"
#include "res/resource.h"
#include "ui/panel.h"

namespace maintest {

using playertest::Calls;

class MainWindowTest : public playertest::PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        resetMainState();
        scanActive = scanDelay = scanTicks = scanPosition = scanTrackLength = 0;
        startDrive[0] = 0;
        registry.createKey(OPTIONS_KEY);
        // No CDDB lookup asks the library unless a test switches one on.
        registry.setDword(OPTIONS_KEY, "cddbQueryServer", 0);
        setMachineDrives();
        GetCurrentDirectoryA(sizeof previous, previous);
        SetCurrentDirectoryA(harness::scratchFolder().c_str());
    }

    void TearDown() override
    {
        if (mainWindow && IsWindow(mainWindow))
            DestroyWindow(mainWindow);
        drainQuit();
        SetCurrentDirectoryA(previous);
        PlayerTest::TearDown();
    }

    virtual void setMachineDrives()
    {
        playertest::setMachine({{"C:\\", DRIVE_FIXED}, {"D:\\", DRIVE_CDROM}, {"E:\\", DRIVE_CDROM}});
    }

    // Creates the main window as start-up does. The timers are stopped so
    // that each test fires them itself.
    HWND start()
    {
        HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                         mainWindowProc, 0);
        if (window) {
            KillTimer(window, TIMER_MEDIA_POLL);
            KillTimer(window, TIMER_STATUS_POLL);
            KillTimer(window, TIMER_BUTTON_REPEAT);
        }
        return window;
    }

    // Starts with the discs given and forgets the start-up calls.
    void startWith(std::vector<std::pair<std::string, fake::Disc>> discs)
    {
        for (auto &d : discs)
            fake::insertDisc(d.first, d.second);
        ASSERT_NE(start(), nullptr);
        fake::clearCalls();
    }

    LRESULT command(int id) { return SendMessageA(mainWindow, WM_COMMAND, id, 0); }
    // What the window procedure itself answers (SendMessage to a dialog
    // returns the dialog's message result instead).
    INT_PTR procResult(UINT message, WPARAM wParam, LPARAM lParam)
    {
        return mainWindowProc(mainWindow, message, wParam, lParam);
    }
    LRESULT timer(int id) { return SendMessageA(mainWindow, WM_TIMER, id, 0); }
    LRESULT tray(UINT mouse) { return SendMessageA(mainWindow, WM_TRAY_NOTIFY, TRAY_ICON_ID, mouse); }
    void hold(int button, bool down) { SendDlgItemMessageA(mainWindow, button, BM_SETSTATE, down, 0); }

    std::string controlText(int id)
    {
        char text[256] = "";
        GetDlgItemTextA(mainWindow, id, text, sizeof text);
        return text;
    }

    // A WM_QUIT left by the shutdown must not end a later message loop.
    void drainQuit()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    bool quitPosted()
    {
        MSG message;
        return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    }

    cd_handle_t handle(const char *drive) { return fake::handleOf(drive); }

    std::string call(const char *fmt, cd_handle_t h)
    {
        char text[128];
        snprintf(text, sizeof text, fmt, h);
        return text;
    }

    harness::RegistrySandbox registry;
    char previous[MAX_PATH] = "";
};

} // namespace maintest

#endif
