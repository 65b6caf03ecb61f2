// The "Extended CD Information" page: the disc's notes, each track's notes
// with Previous Track and Next Track, Clear All and the text limit.
#include "cdinfofixture.h"

namespace {

using namespace cdinfotest;
using playertest::tracks;

class ExtendedPageTest : public CdInfoSheetTest {
protected:
    void loadDisc(int trackCount)
    {
        load({{"D:", tracks(trackCount)}});
        TitleRecord &title = driveEntry(1)->title;
        setText(title.discText, "Disc notes\r\nsecond line");
        for (int i = 0; i < trackCount; ++i)
            setText(title.trackTexts[i], ("Notes " + std::to_string(i + 1)).c_str());
    }
};

// Each step: a button (0 for none, as the page opens), then what shows.
struct Step {
    int button;
    const char *number;
    const char *trackText;
    bool previous, next;
};

TEST_F(ExtendedPageTest, PreviousAndNextWalkTheTracksWithinTheDisc)
{
    loadDisc(3);
    const Step steps[] = {
        {0, "Track - 1", "Notes 1", false, true},
        {IDC_CDINFO_NEXT, "Track - 2", "Notes 2", true, true},
        {IDC_CDINFO_NEXT, "Track - 3", "Notes 3", true, false},
        {IDC_CDINFO_NEXT, "Track - 3", "Notes 3", true, false},   // past the last: nothing
        {IDC_CDINFO_PREVIOUS, "Track - 2", "Notes 2", true, true},
        {IDC_CDINFO_PREVIOUS, "Track - 1", "Notes 1", false, true},
    };
    onPage(ExtendedPage, [&](HWND page) {
        EXPECT_EQ(text(page, IDC_CDINFO_DISC_TEXT), "Disc notes\r\nsecond line");
        int n = 0;
        for (const Step &step : steps) {
            if (step.button)
                click(page, step.button);
            EXPECT_EQ(text(page, IDC_CDINFO_TRACK_NUMBER), step.number) << "step " << n;
            EXPECT_EQ(text(page, IDC_CDINFO_TRACK_TEXT), step.trackText) << "step " << n;
            EXPECT_EQ(enabled(page, IDC_CDINFO_PREVIOUS), step.previous) << "step " << n;
            EXPECT_EQ(enabled(page, IDC_CDINFO_NEXT), step.next) << "step " << n;
            ++n;
        }
        EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_CDINFO_TRACK_TEXT));
    });
}

TEST_F(ExtendedPageTest, NotesAreKeptWhenSteppingAndAtOk)
{
    loadDisc(3);
    onPage(ExtendedPage, [](HWND page) {
        type(page, IDC_CDINFO_TRACK_TEXT, "First\r\nedited");
        click(page, IDC_CDINFO_NEXT);
        type(page, IDC_CDINFO_TRACK_TEXT, "");
        click(page, IDC_CDINFO_PREVIOUS);
        EXPECT_EQ(text(page, IDC_CDINFO_TRACK_TEXT), "First\r\nedited");
        click(page, IDC_CDINFO_NEXT);
        click(page, IDC_CDINFO_NEXT);
        type(page, IDC_CDINFO_TRACK_TEXT, "Third");   // kept by OK without stepping
        type(page, IDC_CDINFO_DISC_TEXT, std::string(300, 'n').c_str());
    });
    const TitleRecord &d = driveEntry(1)->title;
    EXPECT_EQ(field(d.trackTexts[0]), "First\r\nedited");
    EXPECT_EQ(field(d.trackTexts[1]), "<null>");
    EXPECT_EQ(field(d.trackTexts[2]), "Third");
    EXPECT_EQ(field(d.discText), std::string(255, 'n')) << "cut at 255 characters";
}

TEST_F(ExtendedPageTest, ASingleTrackDiscHasNoNextTrack)
{
    loadDisc(1);
    onPage(ExtendedPage, [](HWND page) {
        EXPECT_FALSE(enabled(page, IDC_CDINFO_PREVIOUS));
        EXPECT_FALSE(enabled(page, IDC_CDINFO_NEXT));
        EXPECT_EQ(text(page, IDC_CDINFO_TRACK_NUMBER), "Track - 1");
    });
}

TEST_F(ExtendedPageTest, ClearAllEmptiesNotesButKeepsNamesAndProgram)
{
    loadDisc(2);
    setTitles(1, "Artist", "Album", {"One", "Two"});
    playertest::setProgram(1, {2});
    onPage(ExtendedPage, [](HWND page) {
        click(page, IDC_CDINFO_NEXT);
        click(page, IDC_CDINFO_CLEAR_ALL);
        EXPECT_EQ(text(page, IDC_CDINFO_DISC_TEXT), "");
        EXPECT_EQ(text(page, IDC_CDINFO_TRACK_NUMBER), "Track - 1");
        EXPECT_EQ(text(page, IDC_CDINFO_TRACK_TEXT), "");
    });
    const TitleRecord &d = driveEntry(1)->title;
    EXPECT_EQ(field(d.discText), "<null>");
    EXPECT_EQ(field(d.trackTexts[0]), "<null>");
    EXPECT_EQ(field(d.trackTexts[1]), "<null>");
    EXPECT_EQ(field(d.artist), "Artist");
    EXPECT_EQ(field(d.trackTitles[1]), "Two");
    EXPECT_EQ(program(1), std::vector<int>{2});
}

TEST_F(ExtendedPageTest, ADriveWithoutADiscShowsAnEmptyDisabledPage)
{
    loadDisc(2);
    onPage(ExtendedPage, [](HWND page) {
        chooseDrive(page, 2);
        EXPECT_EQ(text(page, IDC_CDINFO_DISC_TEXT), "");
        EXPECT_EQ(text(page, IDC_CDINFO_TRACK_NUMBER), "");
        EXPECT_EQ(text(page, IDC_CDINFO_TRACK_TEXT), "");
        for (int id : {IDC_CDINFO_DISC_TEXT, IDC_CDINFO_TRACK_TEXT, IDC_CDINFO_PREVIOUS, IDC_CDINFO_NEXT,
                       IDC_CDINFO_CLEAR_ALL})
            EXPECT_FALSE(enabled(page, id)) << id;
    });
    EXPECT_EQ(field(driveEntry(1)->title.discText), "Disc notes\r\nsecond line");
}

} // namespace
