// The main window's modal runs: "Properties..." and what follows it, the
// About box, and the failure boxes; tray clicks only beep while any of them
// is open, and the program does not end under an open dialog.
#include "mainfixture.h"

#include "app/aboutbox.h"
#include "res/version.h"
#include "titles/titlerecord.h"
#include "ui/menus.h"
#include "ui/modal.h"
#include "ui/msgbox.h"

#include <commctrl.h>
#include <prsht.h>

#include <functional>

namespace {

using namespace maintest;
using playertest::tracks;

class Dialogs : public MainWindowTest {};

std::string menuItemText(HMENU menu, int position)
{
    char text[256] = "";
    GetMenuStringA(menu, (UINT)position, text, sizeof text, MF_BYPOSITION);
    return text;
}

struct PropertiesCase {
    const char *name;
    bool ok;
    bool changeProgram;   // Add All on the program page
    bool stopFirst;       // play is stopped before the command
    Calls playCalls;      // cd_stop and cd_play after the command
};

class Properties : public MainWindowTest, public ::testing::WithParamInterface<PropertiesCase> {};

TEST_P(Properties, RunsTheSheetAsAModalRunAndTakesAChangedProgramAtOnce)
{
    const PropertiesCase &c = GetParam();
    startWith({{"D:", tracks(4)}});
    playertest::setProgram(1, {3});
    if (c.stopFirst)
        command(IDC_STOP);
    fake::clearCalls();

    harness::SheetRecorder sheets;
    int busyInside = -1;
    bool trayIgnored = false;
    sheets.setDriver([&](HWND sheet) {
        busyInside = modalBusy;
        fake::clearCalls();
        tray(WM_LBUTTONDOWN);
        trayIgnored = trayClickState == 0 && fake::calls().empty();
        HWND page = harness::sheetPage(sheet);
        SetDlgItemTextA(page, IDC_CDINFO_ARTIST, "Typed Artist");
        if (c.changeProgram) {
            page = harness::showSheetPage(sheet, 2);
            SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_PROGRAM_ADD_ALL, BN_CLICKED),
                         (LPARAM)GetDlgItem(page, IDC_PROGRAM_ADD_ALL));
        }
        if (c.ok)
            harness::pressSheetOk(sheet);
        else
            harness::pressSheetCancel(sheet);
    });
    EXPECT_EQ(procResult(WM_COMMAND, IDM_PROPERTIES, 0), 1);

    ASSERT_EQ(sheets.runs().size(), 1u);
    EXPECT_EQ(sheets.runs()[0].owner, mainWindow);
    EXPECT_EQ(busyInside, 1);
    EXPECT_TRUE(trayIgnored) << "a tray click while the sheet is open only beeps";
    EXPECT_EQ(modalBusy, 0);
    Calls playCalls;
    for (const std::string &call : fake::calls())
        if (call.rfind("cd_stop", 0) == 0 || call.rfind("cd_play", 0) == 0)
            playCalls.push_back(call);
    EXPECT_EQ(playCalls, c.playCalls);
    const TitleRecord &title = driveEntry(1)->title;
    std::vector<int> program(title.programList, title.programList + title.programLength);
    EXPECT_EQ(program, (c.ok && c.changeProgram ? std::vector<int>{1, 2, 3, 4} : std::vector<int>{3}));
    // The drive menus were rebuilt with the new artist.
    EXPECT_EQ(menuItemText(trayDriveMenu, 0), c.ok ? "D: 13:22 - Typed Artist" : "D: 13:22");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Properties,
    ::testing::Values(PropertiesCase{"OkWithANewProgramWhilePlayingStartsOver", true, true, false,
                                     {"cd_stop(1)", "cd_play(1,1,0,0,0,1)"}},
                      PropertiesCase{"OkWithTheSameProgramPlaysOn", true, false, false, {}},
                      PropertiesCase{"OkWithANewProgramWhileStoppedStaysStopped", true, true, true, {}},
                      PropertiesCase{"CancelChangesNothing", false, true, false, {}}),
    [](const ::testing::TestParamInfo<PropertiesCase> &info) { return info.param.name; });

// Boxes shown while the main window and its tray icon exist are modal runs
// like the dialogs: the rackfile that will not start, the exit message at
// start-up, and a failed compaction at shutdown.
enum BoxCause { RackfileMissing, NoDiscWithExitAtEject, CompactionFailedAtShutdown };
const char *const boxCauseNames[] = {"RackfileMissing", "NoDiscWithExitAtEject", "CompactionFailedAtShutdown"};

class BoxesOverTheMainWindow : public MainWindowTest, public ::testing::WithParamInterface<BoxCause> {};

TEST_P(BoxesOverTheMainWindow, SetModalBusyWhileTheyWait)
{
    std::vector<int> busy;
    setMessageHook([&](HWND, const char *, const char *, UINT) {
        busy.push_back(modalBusy);
        return IDOK;
    });
    switch (GetParam()) {
    case RackfileMissing:
        startWith({{"D:", tracks(5)}});
        command(IDM_START_RACKFILE);
        break;
    case NoDiscWithExitAtEject:
        registry.setDword(OPTIONS_KEY, "ExitAtEject", 1);
        start();
        break;
    case CompactionFailedAtShutdown:
        startWith({{"D:", tracks(5)}});
        fake::setStatistics(8, 2);
        fake::setResult("db_compact", 0);
        DestroyWindow(mainWindow);
        break;
    }
    EXPECT_EQ(busy, std::vector<int>{1});
    EXPECT_EQ(modalBusy, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, BoxesOverTheMainWindow,
                         ::testing::Values(RackfileMissing, NoDiscWithExitAtEject, CompactionFailedAtShutdown),
                         [](const ::testing::TestParamInfo<BoxCause> &info) { return boxCauseNames[info.param]; });

// With ExitAtEject the last disc leaving ends the program, but never under
// an open dialog: the first media poll after it closes does.
TEST_F(Dialogs, ExitAtEjectWaitsForTheOpenDialogToClose)
{
    registry.setDword(OPTIONS_KEY, "ExitAtEject", 1);
    startWith({{"D:", tracks(3)}});
    fake::removeDisc("D:");
    timer(TIMER_STATUS_POLL);
    ASSERT_EQ(currentDrive, 0);
    modalBusy = 1;
    timer(TIMER_MEDIA_POLL);
    EXPECT_TRUE(IsWindow(mainWindow));
    modalBusy = 0;
    timer(TIMER_MEDIA_POLL);
    EXPECT_FALSE(IsWindow(mainWindow));
}

TEST(AboutBox, ShowsTheNameVersionDiscIconAndOneCopyrightLine)
{
    HWND about = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), nullptr, aboutProc, 0);
    ASSERT_NE(about, nullptr);
    char name[64] = "", copyright[128] = "", caption[64] = "";
    GetDlgItemTextA(about, IDC_ABOUT_NAME, name, sizeof name);
    GetDlgItemTextA(about, IDC_ABOUT_COPYRIGHT, copyright, sizeof copyright);
    GetWindowTextA(about, caption, sizeof caption);
    EXPECT_STREQ(caption, "About Spindle2");
    EXPECT_STREQ(name, "Spindle2 v3.00");
    EXPECT_STREQ(copyright, SPINDLE2_COPYRIGHT);
    EXPECT_EQ(strchr(copyright, '\n'), nullptr);
    EXPECT_NE(SendDlgItemMessageA(about, IDC_ABOUT_ICON, STM_GETICON, 0, 0), 0) << "the disc icon";

    // Every text of the box fits its control on one line.
    HWND child = GetWindow(about, GW_CHILD);
    for (; child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[32] = "", text[256] = "";
        GetClassNameA(child, className, sizeof className);
        GetWindowTextA(child, text, sizeof text);
        if (_stricmp(className, "Static") != 0 || !text[0])
            continue;
        HDC dc = GetDC(child);
        HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageA(child, WM_GETFONT, 0, 0));
        SIZE size;
        GetTextExtentPoint32A(dc, text, (int)strlen(text), &size);
        SelectObject(dc, old);
        ReleaseDC(child, dc);
        RECT client;
        GetClientRect(child, &client);
        EXPECT_LE(size.cx, client.right) << "\"" << text << "\" is cut or wrapped";
    }

    SendMessageA(about, WM_COMMAND, IDOK, 0);
    DestroyWindow(about);
}

} // namespace
