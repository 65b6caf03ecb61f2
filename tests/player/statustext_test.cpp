// The status and title lines and the tray tip: the time text in its four
// modes, every play state in both display types, title cuts, and the
// texts left alone when the drive cannot tell its position.
#include "playerfixture.h"

#include "res/resource.h"

namespace {

using namespace playertest;

// Track 3 starts at 12:30 and lasts 4:10; the lead-out starts at 45:00.
fake::Disc timedDisc()
{
    fake::Disc disc;
    disc.trackTypes = {1, 1, 1, 1};
    disc.startFrames = {150, 5 * 4500, 12 * 4500 + 30 * 75, 16 * 4500 + 40 * 75, 45 * 4500};
    disc.winId = 0x3;
    return disc;
}

// A stand-in for the main window with the two lines the texts go to.
class StatusText : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 50, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        for (int id : {IDC_STATUS_LINE, IDC_TITLE_LINE})
            ASSERT_NE(CreateWindowExA(0, "STATIC", "-", WS_CHILD, 0, 0, 100, 20, window, (HMENU)(INT_PTR)id, nullptr,
                                      nullptr),
                      nullptr);
        mainWindow = window;
        traySetTip("-");
    }
    void TearDown() override
    {
        mainWindow = nullptr;
        DestroyWindow(window);
        PlayerTest::TearDown();
    }
    std::string line(int id)
    {
        char text[600] = {};
        GetDlgItemTextA(window, id, text, sizeof text);
        return text;
    }
    HWND window = nullptr;
};

// ---- the time text ----

struct TimeCase {
    int mode;
    int min, sec;
    const char *text;
    Calls calls;
};

void PrintTo(const TimeCase &c, std::ostream *os)
{
    *os << "mode " << c.mode << " at " << c.min << "m" << c.sec << "s";
}

class TimeText : public PlayerTest, public ::testing::WithParamInterface<TimeCase> {};

TEST_P(TimeText, FollowsTheDisplayMode)
{
    const TimeCase &c = GetParam();
    load({{"D:", timedDisc()}});
    options.TimeDisplayMode = c.mode;
    snprintf(timeText, sizeof timeText, "unchanged");
    formatTimeText(3, c.min, c.sec);
    EXPECT_STREQ(timeText, c.text) << "mode " << c.mode;
    EXPECT_EQ(fake::calls(), c.calls) << "mode " << c.mode;
}

INSTANTIATE_TEST_SUITE_P(
    Modes, TimeText,
    ::testing::Values(TimeCase{0, 1, 5, "(3) 1:05", {}},
                      TimeCase{1, 1, 5, "(3) 3:05", {"cd_get_track_time(1,3)"}},   // 4:10 - 1:05
                      TimeCase{2, 1, 5, "13:35", {"cd_get_track_time(1,3)"}},      // 12:30 + 1:05
                      TimeCase{3, 1, 5, "31:25", {"cd_get_track_time(1,3)", "cd_get_track_time(1,5)"}},  // 45:00 - 13:35
                      TimeCase{0, 12, 7, "(3) 12:07", {}},
                      TimeCase{1, 4, 20, "(3) 0:00", {"cd_get_track_time(1,3)"}},  // the drive ran past the length
                      TimeCase{2, 0, 0, "12:30", {"cd_get_track_time(1,3)"}},
                      TimeCase{3, 32, 30, "0:00", {"cd_get_track_time(1,3)", "cd_get_track_time(1,5)"}},
                      TimeCase{4, 1, 5, "unchanged", {}},
                      TimeCase{-1, 1, 5, "unchanged", {}}));

TEST_F(StatusText, UnreadableTrackTimeLeavesTheTimeText)
{
    load({{"D:", timedDisc()}});
    snprintf(timeText, sizeof timeText, "unchanged");
    for (int mode : {1, 2, 3}) {
        options.TimeDisplayMode = mode;
        fake::queueResults("cd_get_track_time", {0});
        formatTimeText(3, 1, 5);
        EXPECT_STREQ(timeText, "unchanged") << "mode " << mode;
    }
}

// ---- every state, both display types ----

struct StateCase {
    int state;
    int displayType;
    bool titled;        // track 7 has the title "Intro"; else track 8, untitled
    const char *status; // control 1051 ("-" = untouched)
    const char *title;  // control 1055
    const char *tip;
};

void PrintTo(const StateCase &c, std::ostream *os)
{
    *os << "state " << c.state << " type " << c.displayType << (c.titled ? " titled" : " untitled");
}

class StatusLines : public StatusText, public ::testing::WithParamInterface<StateCase> {};

TEST_P(StatusLines, ShowStateTimeAndTitles)
{
    const StateCase &c = GetParam();
    load({{"D:", tracks(8)}});
    setText(DriveTable[0].title.trackTitles[6], "Intro");
    setText(DriveTable[0].title.artist, "Artist");
    setText(DriveTable[0].title.discTitle, "Disc");
    options.ControlsDisplayType = c.displayType;
    currentTrack = c.titled ? 7 : 8;
    playState = c.state;
    fake::Position at;
    at.track = currentTrack;
    at.sec = 12;
    fake::setPosition("D:", at);

    updateStatusText();
    EXPECT_EQ(line(IDC_STATUS_LINE), c.status);
    EXPECT_EQ(line(IDC_TITLE_LINE), c.title);
    EXPECT_STREQ(trayTip(), c.tip);
    bool asksPosition = c.state == PlayStatePlaying || c.state == PlayStatePaused;
    EXPECT_EQ(fake::calls(), asksPosition ? Calls{"cd_get_cur_time_info(1)"} : Calls{});
}

INSTANTIATE_TEST_SUITE_P(
    States, StatusLines,
    ::testing::Values(
        StateCase{PlayStatePlaying, 0, true, "Playing (7) 0:12", "-", "Playing (7) 0:12 - Intro"},
        StateCase{PlayStatePlaying, 1, true, "-", "7) Intro", "Playing (7) 0:12 - Intro"},
        StateCase{PlayStatePlaying, 0, false, "Playing (8) 0:12", "-", "Playing (8) 0:12"},
        StateCase{PlayStatePlaying, 1, false, "-", "8)", "Playing (8) 0:12"},
        StateCase{PlayStatePaused, 0, true, "Paused (7) 0:12", "-", "Paused (7) 0:12 - Intro"},
        StateCase{PlayStatePaused, 1, true, "-", "7) Intro", "Paused (7) 0:12 - Intro"},
        StateCase{PlayStatePaused, 0, false, "Paused (8) 0:12", "-", "Paused (8) 0:12"},
        StateCase{PlayStatePaused, 1, false, "-", "8)", "Paused (8) 0:12"},
        StateCase{PlayStateStopped, 0, true, "Stopped", "-", "Stopped"},
        StateCase{PlayStateStopped, 1, true, "-", "Artist / Disc", "Stopped"},
        StateCase{0, 0, true, "Unknown", "-", "Unknown"},
        StateCase{0, 1, true, "-", "Unknown", "Unknown"},
        StateCase{7, 0, true, "Unknown", "-", "Unknown"}));

TEST_F(StatusText, DiscTimeInTheStatusLine)
{
    load({{"D:", timedDisc()}});
    options.TimeDisplayMode = 3;
    playState = PlayStatePlaying;
    currentTrack = 3;
    fake::Position at;
    at.track = 3;
    at.min = 1;
    at.sec = 5;
    fake::setPosition("D:", at);
    updateStatusText();
    EXPECT_EQ(line(IDC_STATUS_LINE), "Playing 31:25");
    EXPECT_STREQ(trayTip(), "Playing 31:25");
    EXPECT_EQ(fake::calls(),
              (Calls{"cd_get_cur_time_info(1)", "cd_get_track_time(1,3)", "cd_get_track_time(1,5)"}));
}

// ---- the disc's artist and title when stopped ----

struct CutCase {
    const char *artist;
    const char *title;
    const char *line;
};

void PrintTo(const CutCase &c, std::ostream *os)
{
    *os << "artist " << (c.artist ? strlen(c.artist) : 0) << (c.artist ? "" : " absent") << " title "
        << (c.title ? strlen(c.title) : 0) << (c.title ? "" : " absent");
}

class DiscTitleCut : public StatusText, public ::testing::WithParamInterface<CutCase> {};

TEST_P(DiscTitleCut, ArtistAndTitleWithinTheirLimits)
{
    const CutCase &c = GetParam();
    load({{"D:", tracks(2)}});
    DriveTable[0].title.artist = titleCopyText(c.artist);   // as a database entry may hold them
    DriveTable[0].title.discTitle = titleCopyText(c.title);
    options.ControlsDisplayType = 1;
    playState = PlayStateStopped;
    updateStatusText();
    EXPECT_EQ(line(IDC_TITLE_LINE), c.line);
    EXPECT_EQ(line(IDC_STATUS_LINE), "-");
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, DiscTitleCut,
    ::testing::Values(CutCase{"ABCDEFGHIJKLMNOPQRSTUVW", "Short", "ABCDEFGHIJKLMNO / Short"},
                      CutCase{nullptr, "0123456789012345678901234567890123456789", "012345678901234567890123456789"},
                      CutCase{"ABCDEFGHIJKLMNOPQRSTUVW", nullptr, "ABCDEFGHIJKLMNO"},
                      CutCase{"Abba", "ABCDEFGHIJKLMNOPQRST", "Abba / ABCDEFGHIJKLMNO"},
                      CutCase{nullptr, nullptr, ""},
                      CutCase{"", "Title", "Title"},
                      CutCase{"Artist", "", "Artist"}));

// ---- nothing to show, nothing known ----

class NoDisc : public StatusText, public ::testing::WithParamInterface<int> {};

TEST_P(NoDisc, SaysSoInTheChosenLineAndTheTip)
{
    options.ControlsDisplayType = GetParam();
    load({});
    updateStatusText();
    EXPECT_EQ(line(GetParam() == 1 ? IDC_TITLE_LINE : IDC_STATUS_LINE), "No Audio CD(s)");
    EXPECT_EQ(line(GetParam() == 1 ? IDC_STATUS_LINE : IDC_TITLE_LINE), "-");
    EXPECT_STREQ(trayTip(), "No Audio CD(s)");
    EXPECT_TRUE(fake::calls().empty()) << fake::callLog();
}

INSTANTIATE_TEST_SUITE_P(DisplayTypes, NoDisc, ::testing::Values(0, 1));

TEST_F(StatusText, FailingPositionQueryLeavesTheTexts)
{
    load({{"D:", tracks(8)}});
    setText(DriveTable[0].title.trackTitles[6], "Intro");
    playState = PlayStatePlaying;
    currentTrack = 7;
    fake::Position at;
    at.track = 7;
    at.sec = 12;
    fake::setPosition("D:", at);
    updateStatusText();
    ASSERT_EQ(line(IDC_STATUS_LINE), "Playing (7) 0:12");

    for (int state : {PlayStatePlaying, PlayStatePaused}) {
        playState = state;
        at.sec = 40;
        fake::setPosition("D:", at);
        fake::queueResults("cd_get_cur_time_info", {0});
        updateStatusText();
        EXPECT_EQ(line(IDC_STATUS_LINE), "Playing (7) 0:12");
        EXPECT_EQ(line(IDC_TITLE_LINE), "-");
        EXPECT_STREQ(trayTip(), "Playing (7) 0:12 - Intro");
        EXPECT_STREQ(timeText, "(7) 0:12");
    }
}

TEST_F(StatusText, TipIsCutToSixtyThreeCharacters)
{
    load({{"D:", tracks(8)}});
    std::string longTitle(100, 'x');
    setText(DriveTable[0].title.trackTitles[6], longTitle.c_str());
    playState = PlayStatePlaying;
    currentTrack = 7;
    fake::Position at;
    at.track = 7;
    at.sec = 12;
    fake::setPosition("D:", at);
    updateStatusText();
    std::string full = "Playing (7) 0:12 - " + longTitle;
    EXPECT_EQ(std::string(trayTip()), full.substr(0, 63));
    options.ControlsDisplayType = 1;
    updateStatusText();
    EXPECT_EQ(line(IDC_TITLE_LINE), "7) " + longTitle) << "the panel keeps the whole title";
}

TEST(TrayTip, KeepsAtMostSixtyThreeCharacters)
{
    struct {
        const char *text;
        const char *kept;
    } cases[] = {{nullptr, ""}, {"", ""}, {"Stopped", "Stopped"}};
    for (auto &c : cases) {
        traySetTip(c.text);
        EXPECT_STREQ(trayTip(), c.kept);
    }
    std::string sixtyFour(64, 'a');
    traySetTip(sixtyFour.c_str());
    EXPECT_EQ(std::string(trayTip()), std::string(63, 'a'));
}

TEST_F(PlayerTest, WithoutAMainWindowOnlyTheTipChanges)
{
    load({{"D:", tracks(2)}});
    playState = PlayStateStopped;
    mainWindow = nullptr;
    updateStatusText();
    EXPECT_STREQ(trayTip(), "Stopped");
}

} // namespace
