// The main window: start-up, the commands, tray clicks, timers and shutdown,
// driven with real window messages against the fake CD library.
#include "mainfixture.h"

#include "app/commands.h"
#include "ui/modal.h"
#include "ui/msgbox.h"
#include "ui/tray.h"
#include "mixer/mixer.h"

#include <atomic>
#include <cstring>

namespace {

using namespace maintest;
using playertest::tracks;

class MainWindow : public MainWindowTest {};

// ---- start-up ----

TEST_F(MainWindow, StartsPlayingTheFirstDrivesDisc)
{
    fake::insertDisc("D:", tracks(12));
    fake::insertDisc("E:", tracks(5, 100, 0x300));
    ASSERT_NE(start(), nullptr);
    EXPECT_EQ(currentDrive, 1);
    EXPECT_EQ(currentTrack, 1);
    EXPECT_EQ(playState, PlayStatePlaying);
    EXPECT_EQ(fake::callsTo("cd_play"), Calls{"cd_play(1,1,0,0,0,0)"});
    Calls opens = fake::callsTo("cd_open");
    EXPECT_EQ(opens, (Calls{"cd_open(1,\"D:\",0)", "cd_open(2,\"E:\",0)"}));
}

struct StartDriveCase {
    const char *commandDrive;
    bool eHasDisc;
    int expectedDrive;
    const char *expectedPlay;
};

class StartDrive : public MainWindowTest, public ::testing::WithParamInterface<StartDriveCase> {};

TEST_P(StartDrive, CommandLineDriveIsPreferredWhenItHoldsADisc)
{
    const StartDriveCase &c = GetParam();
    fake::insertDisc("D:", tracks(3));
    if (c.eHasDisc)
        fake::insertDisc("E:", tracks(4, 100, 0x300));
    strcpy(startDrive, c.commandDrive);
    ASSERT_NE(start(), nullptr);
    EXPECT_EQ(currentDrive, c.expectedDrive);
    EXPECT_EQ(fake::callsTo("cd_play"), Calls{c.expectedPlay});
}

INSTANTIATE_TEST_SUITE_P(Cases, StartDrive,
                         ::testing::Values(StartDriveCase{"", true, 1, "cd_play(1,1,0,0,0,0)"},
                                           StartDriveCase{"E:", true, 2, "cd_play(2,1,0,0,0,0)"},
                                           StartDriveCase{"E:", false, 1, "cd_play(1,1,0,0,0,0)"},
                                           StartDriveCase{"Q:", true, 1, "cd_play(1,1,0,0,0,0)"}));

TEST_F(MainWindow, NoAudioDiscWithExitAtEjectSaysSoAndEnds)
{
    registry.setDword(OPTIONS_KEY, "ExitAtEject", 1);
    harness::MessageBoxRecorder boxes;
    HWND window = start();
    EXPECT_FALSE(IsWindow(window));
    ASSERT_EQ(boxes.count(), 1u);
    harness::Box box = boxes.boxes()[0];
    EXPECT_EQ(box.caption, "Spindle2 Exit Message");
    EXPECT_EQ(box.text, "No audio CD's found.\r\n\r\nSpindle2 has been configured to exit if all audio CD's have "
                        "been\r\nejected.\r\n\r\nTo change this, insert an audio CD and un-select the 'Exit\r\n"
                        "Spindle2 When Eject' option in the 'Eject and Exit' section\r\nof the Options dialog.");
    EXPECT_EQ(box.flags, (UINT)(MB_SYSTEMMODAL | MB_ICONINFORMATION));
    EXPECT_NE(box.owner, nullptr);
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_TRUE(quitPosted());
    EXPECT_TRUE(fake::callsTo("cd_play").empty());
}

TEST_F(MainWindow, NoCdromDriveEndsTheProgram)
{
    playertest::setMachine({{"C:\\", DRIVE_FIXED}});
    harness::MessageBoxRecorder boxes;
    HWND window = start();
    EXPECT_FALSE(IsWindow(window));
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, "Spindle2 Error");
    EXPECT_TRUE(quitPosted());
}

struct PlacementCase {
    int x, y;
    bool visibleAtStart, hideNoCd, disc;
    bool shown;
};

class PanelPlacement : public MainWindowTest, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(PanelPlacement, OnlyRightAndBottomEdgesPullThePanelBack)
{
    const PlacementCase &c = GetParam();
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int x = c.x == 5000 ? 5000 : c.x, y = c.y;
    registry.setDword(OPTIONS_KEY, "ControlsX", (uint32_t)x);
    registry.setDword(OPTIONS_KEY, "ControlsY", (uint32_t)y);
    registry.setDword(OPTIONS_KEY, "ControlsVisibleAtStart", c.visibleAtStart);
    registry.setDword(OPTIONS_KEY, "ControlsHideNoCD", c.hideNoCd);
    if (c.disc)
        fake::insertDisc("D:", tracks(3));
    ASSERT_NE(start(), nullptr);
    int expectedX = x > work.right ? work.right - 100 : x;
    int expectedY = y > work.bottom ? work.bottom - 75 : y;
    EXPECT_EQ(options.ControlsX, expectedX);
    EXPECT_EQ(options.ControlsY, expectedY);
    RECT r;
    GetWindowRect(mainWindow, &r);
    EXPECT_EQ(r.left, expectedX);
    EXPECT_EQ(r.top, expectedY);
    EXPECT_EQ(panelVisible, c.shown ? 1 : 0);
    EXPECT_EQ(IsWindowVisible(mainWindow) != 0, c.shown);
    EXPECT_TRUE(GetWindowLongA(mainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

INSTANTIATE_TEST_SUITE_P(Cases, PanelPlacement,
                         ::testing::Values(PlacementCase{100, 50, true, false, true, true},
                                           PlacementCase{5000, 50, true, false, true, true},
                                           PlacementCase{-40, 5000, true, false, true, true},
                                           PlacementCase{100, 50, false, false, true, false},
                                           PlacementCase{100, 50, true, true, false, false},
                                           PlacementCase{100, 50, true, false, false, true}));

// ---- tray clicks ----

struct ClickCase {
    const char *what;
    std::vector<UINT> clicks;     // mouse messages; 0 means "the click timer fires"
    Calls playCalls;              // cd_play, cd_pause and cd_resume calls, in order
    int finalState;
};

class TrayClicks : public MainWindowTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(TrayClicks, ResolveToPauseNextOrPrevious)
{
    const ClickCase &c = GetParam();
    startWith({{"D:", tracks(12)}});
    command(IDM_TRACK_FIRST + 2);   // track 3
    fake::clearCalls();
    for (UINT click : c.clicks) {
        if (click == 0)
            timer(TIMER_TRAY_CLICK);
        else
            tray(click);
    }
    Calls plays;
    for (const std::string &call : fake::calls())
        if (call.rfind("cd_play", 0) == 0 || call.rfind("cd_pause", 0) == 0 || call.rfind("cd_resume", 0) == 0)
            plays.push_back(call);
    EXPECT_EQ(plays, c.playCalls) << c.what;
    EXPECT_EQ(playState, c.finalState) << c.what;
    EXPECT_EQ(trayClickState, 0) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrayClicks,
    ::testing::Values(ClickCase{"single click pauses when the timer fires", {WM_LBUTTONDOWN, 0}, {"cd_pause(1)"},
                                PlayStatePaused},
                      ClickCase{"double click skips forward", {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, 0},
                                {"cd_play(1,4,0,0,0,0)"}, PlayStatePlaying},
                      ClickCase{"triple click goes back at once",
                                {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN},
                                {"cd_play(1,2,0,0,0,0)"}, PlayStatePlaying},
                      ClickCase{"two slow clicks do nothing", {WM_LBUTTONDOWN, WM_LBUTTONDOWN, 0}, {},
                                PlayStatePlaying},
                      ClickCase{"click while paused plays at once", {WM_LBUTTONDOWN, 0, WM_LBUTTONDOWN},
                                {"cd_pause(1)", "cd_resume(1,3,0)"}, PlayStatePlaying},
                      ClickCase{"moves and releases are ignored", {WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONDBLCLK},
                                {}, PlayStatePlaying}));

TEST_F(MainWindow, TrayClickWhenStoppedStartsPlay)
{
    startWith({{"D:", tracks(4)}});
    command(IDC_STOP);
    fake::clearCalls();
    EXPECT_EQ(procResult(WM_TRAY_NOTIFY, TRAY_ICON_ID, WM_LBUTTONDOWN), 1);
    EXPECT_EQ(fake::callsTo("cd_play"), Calls{"cd_play(1,1,0,0,0,0)"});
    EXPECT_FALSE(trayClickTimerOn);
}

TEST_F(MainWindow, TrayClicksOnlyBeepWhileAModalDialogIsOpenOrWithoutADrive)
{
    startWith({{"D:", tracks(4)}});
    modalBusy = 1;
    tray(WM_LBUTTONDOWN);
    tray(WM_LBUTTONDBLCLK);
    tray(WM_RBUTTONDOWN);
    EXPECT_EQ(trayClickState, 0);
    EXPECT_FALSE(trayClickTimerOn);
    modalBusy = 0;
    currentDrive = 0;
    tray(WM_LBUTTONDOWN);
    EXPECT_EQ(trayClickState, 0);
    EXPECT_TRUE(fake::calls().empty()) << fake::callLog();
}

TEST_F(MainWindow, OtherTrayMouseMessagesAreNotHandled)
{
    startWith({{"D:", tracks(4)}});
    EXPECT_EQ(procResult(WM_TRAY_NOTIFY, TRAY_ICON_ID, WM_MOUSEMOVE), 0);
    EXPECT_EQ(procResult(WM_TRAY_NOTIFY, TRAY_ICON_ID, WM_LBUTTONUP), 0);
    EXPECT_EQ(procResult(WM_TRAY_NOTIFY, TRAY_ICON_ID, WM_RBUTTONDBLCLK), 0);
}

TEST_F(MainWindow, NewTaskbarGetsTheIconAgain)
{
    startWith({{"D:", tracks(4)}});
    std::vector<DWORD> messages;
    setTrayShellHook([&](DWORD message, const NOTIFYICONDATAA *) {
        messages.push_back(message);
        return TRUE;
    });
    SendMessageA(mainWindow, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    setTrayShellHook(nullptr);
    EXPECT_EQ(messages, std::vector<DWORD>{NIM_ADD});
}

// ---- buttons ----

TEST_F(MainWindow, PreviousOnceRestartsTheTrackAfterTheTimer)
{
    startWith({{"D:", tracks(6)}});
    command(IDM_TRACK_FIRST + 3);   // track 4
    fake::clearCalls();
    command(IDC_PREVIOUS);
    EXPECT_TRUE(fake::calls().empty()) << "nothing before the timer fires";
    EXPECT_EQ(previousClickPending, 1);
    timer(TIMER_PREVIOUS);
    EXPECT_EQ(previousClickPending, 0);
    EXPECT_EQ(fake::callsTo("cd_play"), Calls{"cd_play(1,4,0,0,0,0)"});
}

TEST_F(MainWindow, PreviousTwiceGoesBackAtOnce)
{
    startWith({{"D:", tracks(6)}});
    command(IDM_TRACK_FIRST + 3);   // track 4
    fake::clearCalls();
    command(IDC_PREVIOUS);
    command(IDC_PREVIOUS);
    EXPECT_EQ(previousClickPending, 0);
    EXPECT_EQ(fake::callsTo("cd_play"), Calls{"cd_play(1,3,0,0,0,0)"});
    EXPECT_EQ(currentTrack, 3);
}

struct TransportCase {
    int command;
    int startState;   // state to bring the drive to first (3, 4 or 5)
    Calls calls;
    int endState;
};

class Transport : public MainWindowTest, public ::testing::WithParamInterface<TransportCase> {};

TEST_P(Transport, CommandsFollowThePlayState)
{
    const TransportCase &c = GetParam();
    startWith({{"D:", tracks(5)}});
    if (c.startState == PlayStatePaused)
        command(IDC_PAUSE);
    if (c.startState == PlayStateStopped)
        command(IDC_STOP);
    fake::clearCalls();
    command(c.command);
    Calls controls;
    for (const std::string &call : fake::calls())
        if (call.rfind("cd_get", 0) != 0 && call.rfind("cd_check", 0) != 0)
            controls.push_back(call);
    EXPECT_EQ(controls, c.calls);
    EXPECT_EQ(playState, c.endState);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Transport,
    ::testing::Values(TransportCase{IDC_PLAY, PlayStatePlaying, {}, PlayStatePlaying},
                      TransportCase{IDM_PLAY, PlayStatePaused, {"cd_resume(1,1,0)"}, PlayStatePlaying},
                      TransportCase{IDC_PLAY, PlayStateStopped, {"cd_play(1,1,0,0,0,0)"}, PlayStatePlaying},
                      TransportCase{IDC_PAUSE, PlayStatePlaying, {"cd_pause(1)"}, PlayStatePaused},
                      TransportCase{IDM_PAUSE, PlayStatePaused, {"cd_resume(1,1,0)"}, PlayStatePlaying},
                      TransportCase{IDC_PAUSE, PlayStateStopped, {}, PlayStateStopped},
                      TransportCase{IDM_STOP, PlayStatePlaying, {"cd_stop(1)"}, PlayStateStopped},
                      TransportCase{IDC_NEXT, PlayStatePlaying, {"cd_play(1,2,0,0,0,0)"}, PlayStatePlaying},
                      TransportCase{IDM_PREVIOUS_TRACK, PlayStatePlaying, {"cd_stop(1)"}, PlayStateStopped},
                      TransportCase{IDC_EJECT, PlayStatePlaying, {"cd_eject(1)"}, PlayStatePlaying}));

TEST_F(MainWindow, ChoosingTheCurrentDriveChangesNothing)
{
    startWith({{"D:", tracks(5)}, {"E:", tracks(3, 100, 0x300)}});
    EXPECT_EQ(procResult(WM_COMMAND, IDM_DRIVE_FIRST + 0, 0), 1);
    EXPECT_TRUE(fake::calls().empty()) << fake::callLog();
    EXPECT_EQ(playState, PlayStatePlaying);
}

TEST_F(MainWindow, ChoosingAnotherDriveStopsTheOldAndStartsTheNew)
{
    startWith({{"D:", tracks(5)}, {"E:", tracks(3, 100, 0x300)}});
    command(IDM_DRIVE_FIRST + 1);
    EXPECT_EQ(currentDrive, 2);
    Calls controls;
    for (const std::string &call : fake::calls())
        if (call == "cd_stop(1)" || call.rfind("cd_play", 0) == 0)
            controls.push_back(call);
    EXPECT_EQ(controls, (Calls{"cd_stop(1)", "cd_play(2,1,0,0,0,0)"}));
}

TEST_F(MainWindow, ChoosingADriveWithoutADiscIsIgnored)
{
    startWith({{"D:", tracks(5)}});
    command(IDM_DRIVE_FIRST + 1);
    EXPECT_EQ(currentDrive, 1);
    EXPECT_TRUE(fake::callsTo("cd_stop").empty());
}

TEST_F(MainWindow, ChoosingATrackOutsideTheDiscIsIgnored)
{
    startWith({{"D:", playertest::discWithData({200, 200, 200}, {3})}});
    command(IDM_TRACK_FIRST + 2);    // the data track
    command(IDM_TRACK_FIRST + 9);    // no track 10
    EXPECT_EQ(currentTrack, 1);
    EXPECT_TRUE(fake::callsTo("cd_play").empty()) << fake::callLog();
}

struct ModeCase {
    int command;
    int *mode;
    bool playing;
    Calls calls;
};

class ModeToggles : public MainWindowTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ModeToggles, RearmPlayOnlyWhilePlaying)
{
    const ModeCase &c = GetParam();
    startWith({{"D:", tracks(5)}});
    if (!c.playing)
        command(IDC_PAUSE);
    fake::clearCalls();
    int before = c.mode ? *c.mode : options.RepeatAll;
    command(c.command);
    int after = c.mode ? *c.mode : options.RepeatAll;
    EXPECT_EQ(after, !before);
    EXPECT_EQ(fake::calls(), c.calls);
}

INSTANTIATE_TEST_SUITE_P(Cases, ModeToggles,
                         ::testing::Values(ModeCase{IDM_RANDOM, &randomMode, true, {"cd_resume(1,1,1)"}},
                                           ModeCase{IDM_INTRO, &introMode, true, {"cd_resume(1,1,1)"}},
                                           ModeCase{IDM_REPEAT_CURRENT, &repeatTrackMode, true, {"cd_resume(1,1,1)"}},
                                           ModeCase{IDM_REPEAT_ALL, nullptr, true, {}},
                                           ModeCase{IDM_RANDOM, &randomMode, false, {}},
                                           ModeCase{IDM_REPEAT_ALL, nullptr, false, {}}));

TEST_F(MainWindow, ShowAndHideControlsToggleThePanel)
{
    startWith({{"D:", tracks(5)}});
    ASSERT_EQ(panelVisible, 1);
    command(IDM_SHOW_CONTROLS);
    EXPECT_EQ(panelVisible, 0);
    EXPECT_FALSE(IsWindowVisible(mainWindow));
    command(IDM_SHOW_CONTROLS);
    EXPECT_EQ(panelVisible, 1);
    EXPECT_TRUE(IsWindowVisible(mainWindow));
    command(IDM_HIDE_CONTROLS);
    EXPECT_EQ(panelVisible, 0);
}

TEST_F(MainWindow, UnknownCommandsAndTimersReturnZero)
{
    startWith({{"D:", tracks(5)}});
    EXPECT_EQ(procResult(WM_COMMAND, 12345, 0), 0);
    EXPECT_EQ(procResult(WM_TIMER, 77, 0), 0);
    EXPECT_EQ(procResult(WM_COMMAND, IDC_STOP, 0), 1);
    fake::clearCalls();
    EXPECT_TRUE(fake::calls().empty());
}

TEST_F(MainWindow, MissingRackfileAndHelpViewerAreReported)
{
    startWith({{"D:", tracks(5)}});
    harness::MessageBoxRecorder boxes;
    command(IDM_START_RACKFILE);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Error starting Rackfile.");
    EXPECT_EQ(boxes.boxes()[0].caption, "Spindle2 Error");
    EXPECT_EQ(boxes.boxes()[0].owner, mainWindow);
    EXPECT_EQ(boxes.boxes()[0].flags, (UINT)(MB_SYSTEMMODAL | MB_ICONERROR));
}

TEST_F(MainWindow, AboutBoxRunsModallyWithModalBusySet)
{
    startWith({{"D:", tracks(5)}});
    harness::ModalRecorder dialogs(IDOK);
    int busyDuringDialog = -1;
    setModalHook([&](int templateId, HWND owner, LPARAM) {
        busyDuringDialog = modalBusy;
        EXPECT_EQ(templateId, IDD_ABOUT);
        EXPECT_EQ(owner, mainWindow);
        return (INT_PTR)IDOK;
    });
    command(IDM_ABOUT);
    EXPECT_EQ(busyDuringDialog, 1);
    EXPECT_EQ(modalBusy, 0);
}

// ---- the polls ----

struct ForeignCase {
    const char *what;
    int modelState;   // what the program believes
    int driveState;   // what the drive reports
    Calls calls;
    int endState;
    bool warned;
};

class ForeignControl : public MainWindowTest, public ::testing::WithParamInterface<ForeignCase> {};

TEST_P(ForeignControl, StatusPollStopsAndWarnsOnlyForChangesWeDidNotMake)
{
    const ForeignCase &c = GetParam();
    startWith({{"D:", tracks(5)}});
    if (c.modelState == PlayStatePaused)
        command(IDC_PAUSE);
    if (c.modelState == PlayStateStopped)
        command(IDC_STOP);
    fake::setDriveState("D:", c.driveState);
    fake::clearCalls();
    std::atomic<int> warnings{0};
    std::string text;
    setMessageHook([&](HWND, const char *t, const char *caption, UINT) {
        text = std::string(caption) + ": " + t;
        warnings++;
        return IDOK;
    });
    timer(TIMER_STATUS_POLL);
    Calls controls;
    for (const std::string &call : fake::calls())
        if (call.rfind("cd_get", 0) != 0 && call.rfind("cd_disc_changed", 0) != 0)
            controls.push_back(call);
    EXPECT_EQ(controls, c.calls) << c.what;
    EXPECT_EQ(playState, c.endState) << c.what;
    if (c.warned) {
        EXPECT_TRUE(harness::pumpUntil([&] { return warnings.load() == 1; })) << c.what;
        EXPECT_EQ(text.rfind("Spindle2 Error: Spindle2 has detected another application controlling", 0), 0u);
    } else {
        harness::pumpFor(100);
        EXPECT_EQ(warnings.load(), 0) << c.what;
    }
    setMessageHook(nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ForeignControl,
    ::testing::Values(
        ForeignCase{"stopped to playing", PlayStateStopped, PlayStatePlaying, {"cd_check_status(1)", "cd_stop(1)"},
                    PlayStateStopped, true},
        ForeignCase{"playing to paused", PlayStatePlaying, PlayStatePaused, {"cd_check_status(1)", "cd_stop(1)"},
                    PlayStateStopped, true},
        ForeignCase{"paused to playing", PlayStatePaused, PlayStatePlaying, {"cd_check_status(1)", "cd_stop(1)"},
                    PlayStateStopped, true},
        ForeignCase{"paused to stopped is ignored", PlayStatePaused, PlayStateStopped, {"cd_check_status(1)"},
                    PlayStatePaused, false},
        ForeignCase{"playing to stopped is the end of the track", PlayStatePlaying, PlayStateStopped,
                    {"cd_check_status(1)", "cd_play(1,2,0,0,0,0)"}, PlayStatePlaying, false}));

TEST_F(MainWindow, StatusPollFollowsTheDriveToTheNextTrack)
{
    startWith({{"D:", tracks(5)}});
    fake::Position position;
    position.track = 2;
    position.sec = 3;
    fake::setPosition("D:", position);
    timer(TIMER_STATUS_POLL);
    EXPECT_EQ(currentTrack, 2);
    EXPECT_EQ(playertest::playedTracks(1), std::vector<int>{1});
    EXPECT_EQ(controlText(IDC_STATUS_LINE), "Playing (2) 0:03");
}

TEST_F(MainWindow, IntroductionLeavesTheTrackPastTheWindow)
{
    startWith({{"D:", tracks(5)}});
    command(IDM_INTRO);
    fake::Position position;
    position.track = 1;
    position.sec = 10;
    fake::setPosition("D:", position);
    fake::clearCalls();
    timer(TIMER_STATUS_POLL);
    EXPECT_TRUE(fake::callsTo("cd_play").empty()) << "0:10 is still inside a 10-second window";
    position.sec = 11;
    fake::setPosition("D:", position);
    timer(TIMER_STATUS_POLL);
    EXPECT_EQ(fake::callsTo("cd_play"), Calls{"cd_play(1,2,0,0,0,1)"});
}

TEST_F(MainWindow, DiscGoneFromTheCurrentDriveIsNoticed)
{
    startWith({{"D:", tracks(5)}, {"E:", tracks(3, 100, 0x300)}});
    fake::removeDisc("D:");
    timer(TIMER_STATUS_POLL);
    EXPECT_EQ(currentDrive, 2);
    EXPECT_EQ(DriveTable[0].mediaPresent, 0);
}

TEST_F(MainWindow, DiscArrivingWithNoCurrentDrivePlaysAndShowsThePanel)
{
    registry.setDword(OPTIONS_KEY, "ControlsHideNoCD", 1);
    ASSERT_NE(start(), nullptr);
    ASSERT_EQ(currentDrive, 0);
    ASSERT_EQ(panelVisible, 0);
    fake::insertDisc("E:", tracks(4, 100, 0x300));
    fake::clearCalls();
    timer(TIMER_MEDIA_POLL);
    EXPECT_EQ(currentDrive, 2);
    EXPECT_EQ(playState, PlayStatePlaying);
    EXPECT_EQ(fake::callsTo("cd_play"), Calls{"cd_play(2,1,0,0,0,0)"});
    EXPECT_EQ(panelVisible, 1);
    EXPECT_TRUE(IsWindowVisible(mainWindow));
}

TEST_F(MainWindow, LastDiscGoneWithExitAtEjectEndsAtTheNextMediaPoll)
{
    registry.setDword(OPTIONS_KEY, "ExitAtEject", 1);
    startWith({{"D:", tracks(5)}});
    command(IDC_EJECT);
    timer(TIMER_STATUS_POLL);
    EXPECT_EQ(currentDrive, 0);
    EXPECT_TRUE(IsWindow(mainWindow));
    timer(TIMER_MEDIA_POLL);
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_TRUE(quitPosted());
}

// ---- scanning ----

TEST_F(MainWindow, HoldingNextScansForwardAfterTheDelay)
{
    startWith({{"D:", tracks(5, 300)}});
    fake::Position position;
    position.track = 1;
    position.sec = 5;
    fake::setPosition("D:", position);
    SetTimer(mainWindow, TIMER_STATUS_POLL, STATUS_POLL_MS, nullptr);
    hold(IDC_NEXT, true);
    for (int tick = 1; tick <= 7; ++tick)
        timer(TIMER_BUTTON_REPEAT);
    EXPECT_EQ(scanActive, 0) << "the first 0.7 s is still a click";
    EXPECT_TRUE(fake::callsTo("cd_pause").empty());
    timer(TIMER_BUTTON_REPEAT);   // tick 8: the scan begins
    EXPECT_EQ(scanActive, 1);
    EXPECT_EQ(fake::callsTo("cd_pause"), Calls{"cd_pause(1)"});
    EXPECT_EQ(playState, PlayStatePlaying) << "the model stays Playing while scanning";
    EXPECT_EQ(controlText(IDC_STATUS_LINE), ">>> (1) 0:06 >>>");
    for (int tick = 9; tick <= 30; ++tick)
        timer(TIMER_BUTTON_REPEAT);
    // 23 scanning ticks: ten of one second, thirteen of two.
    EXPECT_EQ(scanPosition, 5 + 10 * 1 + 13 * 2);
    EXPECT_EQ(controlText(IDC_STATUS_LINE), ">>> (1) 0:41 >>>");

    hold(IDC_NEXT, false);
    fake::clearCalls();
    command(IDC_NEXT);   // the release click ends the scan
    EXPECT_EQ(scanActive, 0);
    EXPECT_EQ(fake::callsTo("cd_play"), Calls{"cd_play(1,1,0,41,0,0)"});
}

TEST_F(MainWindow, HoldingPreviousAtTheStartOfTheOnlyDiscStopsPlay)
{
    startWith({{"D:", tracks(3, 200)}});
    fake::Position position;
    position.track = 1;
    position.sec = 3;
    fake::setPosition("D:", position);
    hold(IDC_PREVIOUS, true);
    for (int tick = 1; tick <= 11; ++tick)
        timer(TIMER_BUTTON_REPEAT);
    EXPECT_EQ(scanActive, 0);
    EXPECT_EQ(playState, PlayStateStopped);
    EXPECT_EQ(fake::driveState("D:"), PlayStateStopped);
}

TEST_F(MainWindow, HeldVolumeButtonStepsEachTickAndTheReleaseAddsNothing)
{
    startWith({{"D:", tracks(3)}});
    if (mixerCount == 0 || !mixerHasVolume(options.VolumeMixer))
        SKIP_OR_FAIL_WITHOUT("no mixer with a volume control on this machine");
    // Start low enough that three steps cannot reach the top.
    DWORD minimum = 0, maximum = 0, value = 0;
    int muted = 0;
    for (int i = 0; i < 200; ++i)
        volumeDown(options.VolumeMixer);
    ASSERT_TRUE(readMixerLevel(options.VolumeMixer, &minimum, &maximum, &value, &muted) & MIXER_LEVEL_VOLUME);
    DWORD before = value;
    hold(IDC_VOLUME_UP, true);
    for (int tick = 0; tick < 3; ++tick)
        timer(TIMER_BUTTON_REPEAT);
    hold(IDC_VOLUME_UP, false);
    EXPECT_EQ(volumeRepeated, 1);
    command(IDC_VOLUME_UP);
    EXPECT_EQ(volumeRepeated, 0);
    readMixerLevel(options.VolumeMixer, &minimum, &maximum, &value, &muted);
    EXPECT_EQ(value, before + 3 * mixerList[options.VolumeMixer - 1].volumeStep);
    command(IDC_VOLUME_UP);   // a plain click steps once
    DWORD afterClick = 0;
    readMixerLevel(options.VolumeMixer, nullptr, nullptr, &afterClick, nullptr);
    EXPECT_EQ(afterClick, value + mixerList[options.VolumeMixer - 1].volumeStep);
}

// ---- shutdown ----

struct ShutdownCase {
    bool stopAtExit;
    int total, reclaimable;
    bool compacts;
};

class Shutdown : public MainWindowTest, public ::testing::WithParamInterface<ShutdownCase> {};

TEST_P(Shutdown, StopsClosesCompactsInOrder)
{
    const ShutdownCase &c = GetParam();
    registry.setDword(OPTIONS_KEY, "StopAtExit", c.stopAtExit);
    startWith({{"D:", tracks(5)}, {"E:", tracks(3, 100, 0x300)}});
    fake::setStatistics(c.total, c.reclaimable);
    DestroyWindow(mainWindow);
    Calls expected;
    if (c.stopAtExit)
        expected.push_back("cd_stop(1)");
    expected.insert(expected.end(), {"cd_close(1)", "cd_cleanup(1)", "cd_close(2)", "cd_cleanup(2)", "db_lock()",
                                     "db_statistics()"});
    if (c.compacts)
        expected.push_back("db_compact()");
    expected.push_back("db_unlock()");
    EXPECT_EQ(fake::calls(), expected);
    EXPECT_TRUE(quitPosted());
    EXPECT_EQ(fake::driveState("D:"), c.stopAtExit ? PlayStateStopped : PlayStatePlaying);
}

INSTANTIATE_TEST_SUITE_P(Cases, Shutdown,
                         ::testing::Values(ShutdownCase{true, 100, 25, true}, ShutdownCase{false, 100, 25, true},
                                           ShutdownCase{true, 100, 24, false}, ShutdownCase{true, 0, 0, false},
                                           ShutdownCase{true, 4, 4, true}));

struct CompactCase {
    int result;
    const char *text;   // null: no box
};

class CompactionResult : public MainWindowTest, public ::testing::WithParamInterface<CompactCase> {};

TEST_P(CompactionResult, FailuresAreReportedAsDatabaseErrors)
{
    const CompactCase &c = GetParam();
    startWith({{"D:", tracks(5)}});
    fake::setStatistics(8, 2);
    fake::setResult("db_compact", c.result);
    harness::MessageBoxRecorder boxes;
    DestroyWindow(mainWindow);
    if (!c.text) {
        EXPECT_EQ(boxes.count(), 0u);
        return;
    }
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, c.text);
    EXPECT_EQ(boxes.boxes()[0].caption, "Database Error");
    EXPECT_EQ(boxes.boxes()[0].owner, nullptr);
    EXPECT_EQ(boxes.boxes()[0].flags, (UINT)(MB_SYSTEMMODAL | MB_ICONERROR));
    Calls tail = fake::calls();
    EXPECT_EQ(tail.back(), "db_unlock()") << "the database is released after a failure too";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompactionResult,
    ::testing::Values(CompactCase{1, nullptr},
                      CompactCase{-7, "One or more corrupted entries have been deleted durring\r\ncompaction of the "
                                      "Spindle2 database.\r\n\r\nYou should run the Rackfile to check the contents of "
                                      "the database."},
                      CompactCase{0, "An error occured durring the compaction of the Spindle2\r\ndatabase.  If this "
                                     "problem persists, please contact Veldane Software for help."}));

TEST_F(MainWindow, CloseWhilePlayingStopsOnlyWithStopAtExit)
{
    startWith({{"D:", tracks(5)}});
    SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(mainWindow));
    Calls stops = fake::callsTo("cd_stop");
    EXPECT_EQ(stops, (Calls{"cd_stop(1)", "cd_stop(1)"})) << "the close, then the shutdown";
}

TEST_F(MainWindow, ExitCommandEndsTheProgram)
{
    startWith({{"D:", tracks(5)}});
    command(IDM_EXIT);
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_TRUE(quitPosted());
}

TEST_F(MainWindow, MovingThePanelIsRemembered)
{
    startWith({{"D:", tracks(5)}});
    SetWindowPos(mainWindow, nullptr, 321, 234, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(options.ControlsX, 321);
    EXPECT_EQ(options.ControlsY, 234);
    EXPECT_TRUE(GetWindowLongA(mainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

} // namespace
