// The CD information sheet as a whole: how it is opened, the drive box,
// what OK and Cancel leave in the drives, and discs that leave, arrive or
// are swapped while it is open.
#include "cdinfofixture.h"

#include <prsht.h>

#include <cstring>

namespace {

using namespace cdinfotest;
using playertest::tracks;

class Sheet : public CdInfoSheetTest {};

TEST_F(Sheet, OpensModallyAsTheSpindle2PropertiesSheetWithThreePages)
{
    load({{"D:", tracks(3)}});
    std::vector<std::string> tabs;
    HWND applyButton = nullptr;
    run([&](HWND sheet) {
        HWND tab = (HWND)SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0);
        for (int i = 0; i < TabCtrl_GetItemCount(tab); ++i) {
            char caption[64] = "";
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = caption;
            item.cchTextMax = sizeof caption;
            SendMessageA(tab, TCM_GETITEMA, (WPARAM)i, (LPARAM)&item);
            tabs.push_back(caption);
        }
        HWND apply = GetDlgItem(sheet, 0x3021);
        applyButton = apply && IsWindowVisible(apply) ? apply : nullptr;
    });
    std::vector<harness::SheetRun> runs = sheets.runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].caption, "Spindle2 Properties");
    EXPECT_EQ(runs[0].flags, (DWORD)0x8C);
    EXPECT_EQ(runs[0].iconId, IDI_CD_PLAYING);
    EXPECT_EQ(runs[0].startPage, 0u);
    EXPECT_EQ(runs[0].pageTemplates, (std::vector<int>{121, 174, 119}));
    EXPECT_EQ(tabs, (Lines{"CD Information", "Extended CD Information", "Track Programming"}));
    EXPECT_EQ(applyButton, nullptr) << "the sheet has no Apply button";
}

struct StartCase {
    const char *name;
    int current;
    int line;   // selected in the drive box
};

class StartDrive : public CdInfoSheetTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartDrive, TheCurrentDriveOrTheFirstIsShown)
{
    load({{"D:", tracks(3)}, {"E:", tracks(4, 100, 0x400)}});
    currentDrive = GetParam().current;
    int line = -2;
    onPage(TitlesPage, [&](HWND page) { line = driveSelection(page); });
    EXPECT_EQ(line, GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(Cases, StartDrive,
                         ::testing::Values(StartCase{"SecondDriveCurrent", 2, 1}, StartCase{"FirstDriveCurrent", 1, 0},
                                           StartCase{"NoCurrentDrive", 0, 0}),
                         [](const ::testing::TestParamInfo<StartCase> &info) { return info.param.name; });

// The drive box: playing time, then artist and title cut to 30 characters
// each when both are known and to 60 when only one is.
TEST_F(Sheet, DriveLinesShowTheDiscTimeAndCutTitles)
{
    const std::string a40(40, 'a'), t40(40, 't'), a70(70, 'A'), t70(70, 'T');
    struct LineCase {
        const char *artist, *title;
        std::string expected;
    } cases[] = {
        {"Artist", "Album", "D: 10:02 - Artist / Album"},
        {a40.c_str(), t40.c_str(), "D: 10:02 - " + a40.substr(0, 30) + " / " + t40.substr(0, 30)},
        {a70.c_str(), nullptr, "D: 10:02 - " + a70.substr(0, 60)},
        {nullptr, t70.c_str(), "D: 10:02 - " + t70.substr(0, 60)},
        {nullptr, nullptr, "D: 10:02 - "},
    };
    load({{"D:", tracks(3)}});
    for (const LineCase &c : cases) {
        setTitles(1, c.artist, c.title);
        Lines lines;
        onPage(TitlesPage, [&](HWND page) { lines = driveLines(page); }, false);
        EXPECT_EQ(lines, (Lines{c.expected, "E: No Audio CD"})) << (c.artist ? c.artist : "-");
    }
}

// Edits on all three pages: OK puts them into the drives, Cancel (even
// after Add All) leaves every drive as it was. Nothing the copies held is
// left behind either way.
TEST_F(Sheet, OkPutsEveryPageBackAndCancelKeepsTheDrivesAsTheyWere)
{
    for (bool ok : {true, false}) {
        load({{"D:", tracks(3)}, {"E:", tracks(2, 100, 0x400)}});
        setTitles(1, "Artist", "Album", {"One"});
        setTitles(2, "Other", nullptr);
        playertest::setProgram(1, {2});
        long blocks = titleBlocksInUse();
        bool changed = true;
        bool accepted = run(
            [&](HWND sheet) {
                HWND page = harness::sheetPage(sheet);
                type(page, IDC_CDINFO_ARTIST, "New Artist");
                page = harness::showSheetPage(sheet, ExtendedPage);
                type(page, IDC_CDINFO_DISC_TEXT, "Notes");
                page = harness::showSheetPage(sheet, ProgramPage);
                click(page, IDC_PROGRAM_ADD_ALL);
                if (ok)
                    harness::pressSheetOk(sheet);
                else
                    harness::pressSheetCancel(sheet);
            },
            &changed);
        EXPECT_EQ(accepted, ok);
        EXPECT_EQ(changed, ok);
        const TitleRecord &d = driveEntry(1)->title;
        EXPECT_EQ(field(d.artist), ok ? "New Artist" : "Artist");
        EXPECT_EQ(field(d.discTitle), "Album");
        EXPECT_EQ(field(d.discText), ok ? "Notes" : "<null>");
        EXPECT_EQ(field(d.trackTitles[0]), "One");
        EXPECT_EQ(program(1), ok ? (std::vector<int>{1, 2, 3}) : (std::vector<int>{2}));
        EXPECT_EQ(field(driveEntry(2)->title.artist), "Other");
        EXPECT_EQ(titleBlocksInUse(), blocks + (ok ? 1 : 0)) << "only the new notes are a new block";
        closeDrives();
        fake::reset();
    }
}

TEST_F(Sheet, OkWithoutChangesReportsNoProgramChange)
{
    load({{"D:", tracks(3)}});
    playertest::setProgram(1, {3, 1});
    bool changed = true;
    EXPECT_TRUE(onPage(ProgramPage, [](HWND) {}, true, &changed));
    EXPECT_FALSE(changed);
    EXPECT_EQ(program(1), (std::vector<int>{3, 1}));
}

// ---- context help ----

// F1 on a control of any page asks for that control's topic with the
// sheet's table; a right click asks for the window clicked.
TEST_F(Sheet, HelpAndRightClickOnEveryPageOpenTheControlsTopic)
{
    const std::vector<DWORD> table = {1133, 89, 1015, 90, 1016, 91, 1034, 92, 1017, 93,
                                      1134, 94, 1127, 95, 1128, 96, 1008, 97, 1011, 98};
    const std::vector<int> controls[] = {
        {IDC_CDINFO_DRIVE, IDC_CDINFO_ARTIST, IDC_CDINFO_TITLE, IDC_CDINFO_TRACKS, IDC_CDINFO_NAME, IDC_CDINFO_CLEAR_ALL},
        {IDC_CDINFO_DRIVE, IDC_CDINFO_DISC_TEXT, IDC_CDINFO_TRACK_TEXT, IDC_CDINFO_CLEAR_ALL},
        {IDC_CDINFO_DRIVE, IDC_PROGRAM_DISC_ORDER, IDC_PROGRAM_LIST},
    };
    load({{"D:", tracks(3)}});
    harness::HelpRecorder help;
    std::vector<HWND> asked;
    run([&](HWND sheet) {
        for (int index = 0; index < 3; ++index) {
            HWND page = harness::showSheetPage(sheet, index);
            for (int id : controls[index]) {
                HWND control = GetDlgItem(page, id);
                HELPINFO info = {sizeof(HELPINFO), HELPINFO_WINDOW, id, control, 0, {0, 0}};
                SendMessageA(page, WM_HELP, 0, (LPARAM)&info);
                asked.push_back(control);
            }
            HWND clicked = GetDlgItem(page, controls[index].back());
            SendMessageA(page, WM_CONTEXTMENU, (WPARAM)clicked, MAKELPARAM(5, 5));
            asked.push_back(clicked);
        }
    });
    std::vector<harness::HelpCall> calls = help.calls();
    ASSERT_EQ(calls.size(), asked.size());
    size_t n = 0;
    for (int index = 0; index < 3; ++index) {
        for (size_t i = 0; i <= controls[index].size(); ++i, ++n) {
            bool rightClick = i == controls[index].size();
            EXPECT_EQ(calls[n].window, asked[n]) << "call " << n;
            EXPECT_EQ(calls[n].file, "Spindle2.hlp");
            EXPECT_EQ(calls[n].command, (UINT)(rightClick ? HELP_CONTEXTMENU : HELP_WM_HELP)) << "call " << n;
            EXPECT_EQ(calls[n].ids, table) << "call " << n;
        }
    }
}

// ---- discs that change under the open sheet ----

struct ChangeCase {
    const char *name;
    bool discAtOpen;
    // What happens to drive D: after the user typed "Typed" as its artist.
    void (*change)();
    const char *driveLine;   // D:'s line in the drive box after the change
    bool editable;           // the page still edits D: after the change
    const char *artist;      // D:'s record after OK
    const char *title;
    const char *firstTrack;
    int trackCount;
};

class DiscChange : public CdInfoSheetTest, public ::testing::WithParamInterface<ChangeCase> {};

const fake::Disc firstDisc = tracks(3, 200, 0x300);

// A CDDB lookup that filled a disc's record, as the lookup thread would.
void cddbFill(const char *artist, const char *title, const char *firstTrack)
{
    DriveLockHold hold;
    setTitles(1, artist, title, {firstTrack});
}

TEST_P(DiscChange, OkWritesOnlyIntoTheDiscTheCopyWasTakenFrom)
{
    const ChangeCase &c = GetParam();
    if (c.discAtOpen) {
        load({{"D:", firstDisc}, {"E:", tracks(2, 100, 0x400)}});
        setTitles(1, "Artist", "Album", {"One", "Two", "Three"});
    } else {
        load({{"E:", tracks(2, 100, 0x400)}});
    }
    setTitles(2, "Other", "Second");
    long blocksBefore = titleBlocksInUse();
    Lines driveBox;
    bool artistEnabled = false;
    bool accepted = run([&](HWND sheet) {
        HWND page = harness::sheetPage(sheet);
        chooseDrive(page, 1);
        if (c.discAtOpen)
            type(page, IDC_CDINFO_ARTIST, "Typed");
        c.change();
        driveBox = driveLines(page);
        artistEnabled = enabled(page, IDC_CDINFO_ARTIST);
        harness::pressSheetOk(sheet);
    });
    EXPECT_TRUE(accepted);
    ASSERT_EQ(driveBox.size(), 2u);
    EXPECT_EQ(driveBox[0], c.driveLine);
    EXPECT_EQ(artistEnabled, c.editable);
    const TitleRecord &d = driveEntry(1)->title;
    EXPECT_EQ(field(d.artist), c.artist);
    EXPECT_EQ(field(d.discTitle), c.title);
    ASSERT_EQ(d.trackCount, c.trackCount);
    if (d.trackCount > 0) {
        EXPECT_EQ(field(d.trackTitles[0]), c.firstTrack);
    }
    EXPECT_EQ(field(driveEntry(2)->title.artist), "Other") << "the other drive keeps its titles";
    if (d.trackCount == 0) {
        EXPECT_LE(titleBlocksInUse(), blocksBefore) << "nothing of the copies is left";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DiscChange,
    ::testing::Values(
        ChangeCase{"Unchanged", true, [] {}, "D: 10:02 - Artist / Album", true, "Typed", "Album", "One", 3},
        ChangeCase{"Removed", true, [] { takeOut("D:", 1); }, "D: No Audio CD", false, "<null>", "<null>", "", 0},
        // Another disc of as many tracks: only its id tells it apart.
        ChangeCase{"Swapped", true,
                   [] {
                       takeOut("D:", 1);
                       putIn("D:", 1, tracks(3, 200, 0x999));
                       cddbFill("Found", nullptr, nullptr);
                   },
                   "D: 10:02 - ", false, "Found", "<null>", "<null>", 3},
        ChangeCase{"SwappedForALongerDisc", true,
                   [] {
                       takeOut("D:", 1);
                       putIn("D:", 1, tracks(5, 100, 0x998));
                   },
                   "D: 8:22 - ", false, "<null>", "<null>", "<null>", 5},
        ChangeCase{"ArrivedWhileOpen", false,
                   [] {
                       putIn("D:", 1, firstDisc);
                       cddbFill("Found", "From CDDB", "First");
                   },
                   "D: 10:02 - ", false, "Found", "From CDDB", "First", 3},
        // The same disc out and in again, and CDDB filled it meanwhile: the
        // user's edit goes over the fill, the rest of the fill stays.
        ChangeCase{"BackWithCddbFill", true,
                   [] {
                       takeOut("D:", 1);
                       putIn("D:", 1, firstDisc);
                       cddbFill("Found", "From CDDB", "First");
                   },
                   "D: 10:02 - Typed / Album", true, "Typed", "From CDDB", "First", 3}),
    [](const ::testing::TestParamInfo<ChangeCase> &info) { return info.param.name; });

} // namespace
