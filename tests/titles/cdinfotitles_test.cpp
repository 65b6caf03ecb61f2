// The "CD Information" page: artist, title and track names, Enter in the
// Name field, choosing tracks and drives, Clear All and the text limits.
#include "cdinfofixture.h"

namespace {

using namespace cdinfotest;
using playertest::tracks;

class TitlesPageTest : public CdInfoSheetTest {
protected:
    // D: has four tracks, the last a data track; E: is empty.
    void loadNamedDisc()
    {
        load({{"D:", playertest::discWithData({200, 185, 240, 60}, {4}, 0x300)}});
        setTitles(1, "Artist", "Album", {"One", nullptr, "Three"});
    }
};

TEST_F(TitlesPageTest, ShowsTheDiscWithTheFocusOnTheArtist)
{
    loadNamedDisc();
    onPage(TitlesPage, [](HWND page) {
        // The focus moves once the page is up and the sheet is active; the
        // activation comes from the display server and can lag behind when
        // another window had it.
        harness::pumpUntil([&] { return GetFocus() == GetDlgItem(page, IDC_CDINFO_ARTIST); }, 3000);
        EXPECT_EQ(text(page, IDC_CDINFO_ARTIST), "Artist");
        EXPECT_EQ(text(page, IDC_CDINFO_TITLE), "Album");
        EXPECT_EQ(listLines(page, IDC_CDINFO_TRACKS),
                  (Lines{"1) 3:20 - One", "2) 3:05", "3) 4:00 - Three", "(4) Non-Audio"}));
        EXPECT_EQ(selection(page, IDC_CDINFO_TRACKS), 0);
        EXPECT_EQ(text(page, IDC_CDINFO_NAME), "One");
        EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_CDINFO_ARTIST));
        DWORD start = 0, end = 0;
        SendDlgItemMessageA(page, IDC_CDINFO_ARTIST, EM_GETSEL, (WPARAM)&start, (LPARAM)&end);
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, 6u) << "all of the artist is selected";
        for (int id : {IDC_CDINFO_ARTIST, IDC_CDINFO_TITLE, IDC_CDINFO_TRACKS, IDC_CDINFO_NAME, IDC_CDINFO_CLEAR_ALL})
            EXPECT_TRUE(enabled(page, id)) << id;
    });
}

TEST_F(TitlesPageTest, ADriveWithoutADiscShowsAnEmptyDisabledPage)
{
    loadNamedDisc();
    onPage(TitlesPage, [](HWND page) {
        chooseDrive(page, 2);
        EXPECT_EQ(driveSelection(page), 1);
        EXPECT_EQ(text(page, IDC_CDINFO_ARTIST), "");
        EXPECT_EQ(text(page, IDC_CDINFO_TITLE), "");
        EXPECT_EQ(text(page, IDC_CDINFO_NAME), "");
        EXPECT_TRUE(listLines(page, IDC_CDINFO_TRACKS).empty());
        for (int id : {IDC_CDINFO_ARTIST, IDC_CDINFO_TITLE, IDC_CDINFO_TRACKS, IDC_CDINFO_NAME, IDC_CDINFO_CLEAR_ALL})
            EXPECT_FALSE(enabled(page, id)) << id;
        // Back on D:, what was shown before is there again.
        chooseDrive(page, 1);
        EXPECT_EQ(text(page, IDC_CDINFO_ARTIST), "Artist");
        EXPECT_TRUE(enabled(page, IDC_CDINFO_ARTIST));
    });
}

// Enter in the Name field stores the name, updates the track's line and
// moves to the next track; after the last it starts again at track 1.
struct EnterCase {
    const char *name;
    int track;          // chosen before typing (1-based)
    int nextTrack;
    const char *nextName;
    const char *line;   // the named track's line afterwards
};

class EnterInName : public TitlesPageTest, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(EnterInName, StoresTheNameAndMovesOn)
{
    const EnterCase &c = GetParam();
    loadNamedDisc();
    onPage(TitlesPage, [&](HWND page) {
        chooseLine(page, IDC_CDINFO_TRACKS, c.track - 1);
        type(page, IDC_CDINFO_NAME, "Typed");
        pressEnter(page, IDC_CDINFO_NAME);
        EXPECT_EQ(selection(page, IDC_CDINFO_TRACKS), c.nextTrack - 1);
        EXPECT_EQ(text(page, IDC_CDINFO_NAME), c.nextName);
        EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_CDINFO_NAME));
        EXPECT_EQ(listLines(page, IDC_CDINFO_TRACKS)[(size_t)c.track - 1], c.line);
    });
    EXPECT_EQ(field(driveEntry(1)->title.trackTitles[c.track - 1]), "Typed");
}

INSTANTIATE_TEST_SUITE_P(Cases, EnterInName,
                         ::testing::Values(EnterCase{"FirstTrack", 1, 2, "", "1) 3:20 - Typed"},
                                           EnterCase{"SecondTrack", 2, 3, "Three", "2) 3:05 - Typed"},
                                           EnterCase{"LastTrackWrapsToTheFirst", 4, 1, "One", "(4) Non-Audio"}),
                         [](const ::testing::TestParamInfo<EnterCase> &info) { return info.param.name; });

TEST_F(TitlesPageTest, EnterThroughEveryTrackNamesTheWholeDisc)
{
    load({{"D:", tracks(3)}});
    onPage(TitlesPage, [](HWND page) {
        for (const char *name : {"A", "B", "C"}) {
            type(page, IDC_CDINFO_NAME, name);
            pressEnter(page, IDC_CDINFO_NAME);
        }
        EXPECT_EQ(listLines(page, IDC_CDINFO_TRACKS), (Lines{"1) 3:20 - A", "2) 3:20 - B", "3) 3:20 - C"}));
        EXPECT_EQ(text(page, IDC_CDINFO_NAME), "A");
    });
}

// A name typed without Enter: lost when another track is chosen, kept when
// the page is left or the sheet closed with OK.
struct LeaveCase {
    const char *name;
    void (*leave)(HWND sheet, HWND page);
    const char *stored;
};

class UnconfirmedName : public TitlesPageTest, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(UnconfirmedName, IsKeptOnlyWhenThePageIsLeftOrAccepted)
{
    loadNamedDisc();
    run([&](HWND sheet) {
        HWND page = harness::sheetPage(sheet);
        type(page, IDC_CDINFO_NAME, "Unconfirmed");
        GetParam().leave(sheet, page);
        harness::pressSheetOk(sheet);
    });
    EXPECT_EQ(field(driveEntry(1)->title.trackTitles[0]), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnconfirmedName,
    ::testing::Values(LeaveCase{"AnotherTrackChosen", [](HWND, HWND page) { chooseLine(page, IDC_CDINFO_TRACKS, 2); },
                                "One"},
                      LeaveCase{"PageSwitched", [](HWND sheet, HWND) { harness::showSheetPage(sheet, ProgramPage); },
                                "Unconfirmed"},
                      LeaveCase{"AnotherDriveChosen", [](HWND, HWND page) { chooseDrive(page, 2); }, "Unconfirmed"},
                      LeaveCase{"Ok", [](HWND, HWND) {}, "Unconfirmed"}),
    [](const ::testing::TestParamInfo<LeaveCase> &info) { return info.param.name; });

TEST_F(TitlesPageTest, ChoosingATrackShowsItsNameAndFocusesTheNameField)
{
    loadNamedDisc();
    onPage(TitlesPage, [](HWND page) {
        chooseLine(page, IDC_CDINFO_TRACKS, 2);
        EXPECT_EQ(text(page, IDC_CDINFO_NAME), "Three");
        EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_CDINFO_NAME));
    });
}

TEST_F(TitlesPageTest, ClearAllEmptiesNamesButKeepsNotesAndProgram)
{
    loadNamedDisc();
    setText(driveEntry(1)->title.discText, "Notes");
    setText(driveEntry(1)->title.trackTexts[1], "Track notes");
    playertest::setProgram(1, {3, 1});
    onPage(TitlesPage, [](HWND page) {
        click(page, IDC_CDINFO_CLEAR_ALL);
        EXPECT_EQ(text(page, IDC_CDINFO_ARTIST), "");
        EXPECT_EQ(listLines(page, IDC_CDINFO_TRACKS), (Lines{"1) 3:20", "2) 3:05", "3) 4:00", "(4) Non-Audio"}));
        EXPECT_EQ(driveLines(page)[0], "D: 11:27 - ");
    });
    const TitleRecord &d = driveEntry(1)->title;
    EXPECT_EQ(field(d.artist), "<null>");
    EXPECT_EQ(field(d.discTitle), "<null>");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(field(d.trackTitles[i]), "<null>") << i;
    EXPECT_EQ(field(d.discText), "Notes");
    EXPECT_EQ(field(d.trackTexts[1]), "Track notes");
    EXPECT_EQ(program(1), (std::vector<int>{3, 1}));
}

// What the fields hold at OK becomes the record: emptied fields leave the
// text absent, long ones are cut to 254 characters.
TEST_F(TitlesPageTest, FieldsAreStoredEmptiedAsAbsentAndCutAtTheirLimit)
{
    const std::string longText(300, 'x');
    loadNamedDisc();
    onPage(TitlesPage, [&](HWND page) {
        type(page, IDC_CDINFO_ARTIST, "");
        type(page, IDC_CDINFO_TITLE, longText.c_str());
        type(page, IDC_CDINFO_NAME, longText.c_str());
        EXPECT_EQ(SendDlgItemMessageA(page, IDC_CDINFO_ARTIST, EM_GETLIMITTEXT, 0, 0), 254);
    });
    const TitleRecord &d = driveEntry(1)->title;
    EXPECT_EQ(field(d.artist), "<null>");
    EXPECT_EQ(field(d.discTitle), longText.substr(0, 254));
    EXPECT_EQ(field(d.trackTitles[0]), longText.substr(0, 254));
}

TEST_F(TitlesPageTest, EachDriveKeepsItsOwnEditsWhenTheDriveBoxChanges)
{
    load({{"D:", tracks(2)}, {"E:", tracks(3, 100, 0x400)}});
    onPage(TitlesPage, [](HWND page) {
        type(page, IDC_CDINFO_ARTIST, "First");
        chooseDrive(page, 2);
        EXPECT_EQ(text(page, IDC_CDINFO_ARTIST), "");
        EXPECT_EQ(listLines(page, IDC_CDINFO_TRACKS).size(), 3u);
        type(page, IDC_CDINFO_ARTIST, "Second");
        chooseDrive(page, 1);
        EXPECT_EQ(text(page, IDC_CDINFO_ARTIST), "First");
    });
    EXPECT_EQ(field(driveEntry(1)->title.artist), "First");
    EXPECT_EQ(field(driveEntry(2)->title.artist), "Second");
}

} // namespace
