// "Options...": the options sheet run as a modal run over the main window,
// and what follows an accepted sheet: the panel's visibility and z-order,
// the options saved, the display type, the status text and the mode checks.
#include "mainfixture.h"

#include "options/options.h"
#include "titles/titlerecord.h"
#include "ui/menus.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstring>
#include <functional>

namespace {

using namespace maintest;
using playertest::tracks;

enum { PanelPage = 0, PlayModesPage = 1, TimeDisplayPage = 2, SubmitPage = 5 };

void click(HWND page, int id)
{
    HWND button = GetDlgItem(page, id);
    SendMessageA(button, BM_SETCHECK, IsDlgButtonChecked(page, id) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
}

// A radio button chosen: the others of its group go out.
void choose(HWND page, int id, std::initializer_list<int> group)
{
    for (int other : group)
        CheckDlgButton(page, other, other == id ? BST_CHECKED : BST_UNCHECKED);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(page, id));
}

bool topmost()
{
    return (GetWindowLongA(mainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

class OptionsCommand : public MainWindowTest {
protected:
    // Runs "Options..." with a driver acting on the sheet; the window
    // procedure's own answer.
    INT_PTR runOptions(std::function<void(HWND sheet)> driver)
    {
        sheets.setDriver(std::move(driver));
        return procResult(WM_COMMAND, IDM_OPTIONS, 0);
    }

    int32_t stored(const char *name)
    {
        DWORD type = 0;
        std::string bytes;
        if (!registry.read(OPTIONS_KEY, name, &type, &bytes) || type != REG_DWORD || bytes.size() != 4)
            return -99;
        int32_t value;
        memcpy(&value, bytes.data(), 4);
        return value;
    }

    std::string storedText(const char *name)
    {
        DWORD type = 0;
        std::string bytes;
        if (!registry.read(OPTIONS_KEY, name, &type, &bytes) || type != REG_SZ)
            return "<missing>";
        return std::string(bytes.c_str(), strnlen(bytes.c_str(), bytes.size()));
    }

    harness::SheetRecorder sheets;
};

// The sheet is a modal run: modalBusy while it is open, tray clicks only
// beep, its owner is the main window.
TEST_F(OptionsCommand, RunsTheSheetAsAModalRunOverTheMainWindow)
{
    startWith({{"D:", tracks(4)}});
    int busyInside = -1;
    bool trayIgnored = false;
    EXPECT_EQ(runOptions([&](HWND sheet) {
                  busyInside = modalBusy;
                  fake::clearCalls();
                  tray(WM_LBUTTONDOWN);
                  trayIgnored = trayClickState == 0 && fake::calls().empty();
                  harness::pressSheetCancel(sheet);
              }),
              1);
    std::vector<harness::SheetRun> runs = sheets.runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].owner, mainWindow);
    EXPECT_EQ(runs[0].caption, "Spindle2 Options");
    EXPECT_EQ(busyInside, 1);
    EXPECT_TRUE(trayIgnored) << "a tray click while the sheet is open only beeps";
    EXPECT_EQ(modalBusy, 0);
}

// OK: the edits are live, saved (read back from the registry) and shown.
TEST_F(OptionsCommand, OkSavesTheOptionsAndAppliesThem)
{
    startWith({{"D:", tracks(4)}});
    ASSERT_EQ(playState, 3);
    setText(driveEntry(1)->title.trackTitles[0], "Overture");
    runOptions([&](HWND sheet) {
        HWND page = harness::showSheetPage(sheet, PanelPage);
        choose(page, IDC_OPT_TRACK_TITLE, {IDC_OPT_STATUS_TIME, IDC_OPT_TRACK_TITLE});
        page = harness::showSheetPage(sheet, PlayModesPage);
        click(page, IDC_OPT_REPEAT_ALL);
        page = harness::showSheetPage(sheet, TimeDisplayPage);
        choose(page, IDC_OPT_TRACK_REMAINING,
               {IDC_OPT_TRACK_ELAPSED, IDC_OPT_TRACK_REMAINING, IDC_OPT_DISC_ELAPSED, IDC_OPT_DISC_REMAINING});
        page = harness::showSheetPage(sheet, SubmitPage);
        SetDlgItemTextA(page, IDC_OPT_SMTP_SERVER, "smtp.example.org");
        SetDlgItemTextA(page, IDC_OPT_SMTP_PORT, "587");
        harness::pressSheetOk(sheet);
    });
    EXPECT_EQ(options.RepeatAll, 1);
    // Saved: every value, the edited ones with their new values.
    EXPECT_EQ(stored("ControlsDisplayType"), 1);
    EXPECT_EQ(stored("RepeatAll"), 1);
    EXPECT_EQ(stored("TimeDisplayMode"), 1);
    EXPECT_EQ(stored("SMTPServerPort"), 587);
    EXPECT_EQ(storedText("SMTPServer"), "smtp.example.org");
    EXPECT_EQ(stored("IntroPlayLength"), 10);
    EXPECT_EQ(stored("cddbSubmitShowStatus"), 1);
    EXPECT_EQ(storedText("cddbServer"), options.cddbServer);
    // Applied: the title line replaces the status line, the menus check
    // Repeat All, and the text follows the new display type.
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(mainWindow, IDC_TITLE_LINE), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongA(GetDlgItem(mainWindow, IDC_STATUS_LINE), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(GetMenuState(trayMenu, IDM_REPEAT_ALL, MF_BYCOMMAND) & MF_CHECKED, (UINT)MF_CHECKED);
    EXPECT_EQ(GetMenuState(panelMenu, IDM_REPEAT_ALL, MF_BYCOMMAND) & MF_CHECKED, (UINT)MF_CHECKED);
    EXPECT_EQ(controlText(IDC_TITLE_LINE), "1) Overture");
}

// Cancel: nothing changes, nothing is saved.
TEST_F(OptionsCommand, CancelChangesAndSavesNothing)
{
    startWith({{"D:", tracks(4)}});
    OptionsRecord before = options;
    bool shownBefore = panelVisible != 0, onTopBefore = topmost();
    runOptions([&](HWND sheet) {
        HWND page = harness::showSheetPage(sheet, PanelPage);
        click(page, IDC_OPT_ALWAYS_ON_TOP);
        click(page, IDC_OPT_HIDE_NO_CD);
        page = harness::showSheetPage(sheet, PlayModesPage);
        click(page, IDC_OPT_REPEAT_ALL);
        harness::pressSheetCancel(sheet);
    });
    EXPECT_EQ(options.RepeatAll, before.RepeatAll);
    EXPECT_EQ(options.ControlsOnTop, before.ControlsOnTop);
    EXPECT_EQ(options.ControlsHideNoCD, before.ControlsHideNoCD);
    EXPECT_EQ(stored("RepeatAll"), -99) << "nothing was saved";
    EXPECT_EQ(panelVisible != 0, shownBefore);
    EXPECT_EQ(topmost(), onTopBefore);
    EXPECT_EQ(GetMenuState(trayMenu, IDM_REPEAT_ALL, MF_BYCOMMAND) & MF_CHECKED, 0u);
}

// The panel after OK, by what it was and what the user chose.
struct PanelCase {
    const char *name;
    bool shown;            // the panel before the command
    bool disc;             // a drive is current
    std::vector<int> clicks;   // boxes clicked on the CD Control Panel page (from the defaults)
    bool shownAfter, topmostAfter;
};

class PanelAfterOptions : public OptionsCommand, public ::testing::WithParamInterface<PanelCase> {};

TEST_P(PanelAfterOptions, FollowsItsSettings)
{
    const PanelCase &c = GetParam();
    if (c.disc)
        startWith({{"D:", tracks(4)}});
    else
        ASSERT_NE(start(), nullptr);
    ASSERT_EQ(currentDrive != 0, c.disc);
    if (c.shown)
        showPanel();
    else
        hidePanel();
    applyPanelZOrder();
    runOptions([&](HWND sheet) {
        HWND page = harness::showSheetPage(sheet, PanelPage);
        for (int id : c.clicks)
            click(page, id);
        harness::pressSheetOk(sheet);
    });
    EXPECT_EQ(panelVisible != 0, c.shownAfter);
    EXPECT_EQ(IsWindowVisible(mainWindow) != 0, c.shownAfter);
    if (c.shownAfter) {
        EXPECT_EQ(topmost(), c.topmostAfter);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PanelAfterOptions,
    ::testing::Values(
        PanelCase{"ShownNoLongerOnTop", true, true, {IDC_OPT_ALWAYS_ON_TOP}, true, false},
        PanelCase{"ShownStaysOnTop", true, true, {}, true, true},
        PanelCase{"ShownHiddenWithoutDisc", true, false, {IDC_OPT_HIDE_NO_CD}, false, false},
        PanelCase{"ShownKeptWithDisc", true, true, {IDC_OPT_HIDE_NO_CD}, true, true},
        PanelCase{"HiddenShownAtStartup", false, true, {}, true, true},
        PanelCase{"HiddenShownNotOnTop", false, false, {IDC_OPT_ALWAYS_ON_TOP}, true, false},
        PanelCase{"HiddenStaysWithoutShowAtStartup", false, true, {IDC_OPT_SHOW_AT_STARTUP}, false, false},
        PanelCase{"HiddenStaysWhenHiddenWithoutDisc", false, true, {IDC_OPT_HIDE_NO_CD}, false, false}),
    [](const ::testing::TestParamInfo<PanelCase> &info) { return info.param.name; });

} // namespace
