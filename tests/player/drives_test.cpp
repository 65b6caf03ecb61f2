// The drive table: finding and opening the drives, reading a disc, discs
// arriving and leaving, and the choice of the current drive.
#include "playerfixture.h"

#include <cctype>

namespace {

using namespace playertest;

// What the later parts were asked to do, in order.
std::vector<std::string> &events()
{
    static std::vector<std::string> list;
    return list;
}

// Installs recording hooks; titlesNeeded finds titles when titlesFound is set.
bool titlesFound = false;
// Whether cddbLookupNeeded manages to start a lookup thread.
bool lookupStarts = true;

void recordEvents()
{
    events().clear();
    discEvents.noDrivesUsable = [] { events().push_back("no drives"); };
    discEvents.titlesNeeded = [](int drive) {
        events().push_back("titles " + std::to_string(drive));
        if (titlesFound)
            driveEntry(drive)->titleKnown = 1;
    };
    discEvents.cddbLookupNeeded = [](int drive) {
        events().push_back("cddb " + std::to_string(drive));
        return lookupStarts ? 1 : 0;
    };
    discEvents.currentDiscGone = [] { events().push_back("current gone"); };
    discEvents.driveListChanged = [] { events().push_back("drive list"); };
    discEvents.hidePanelNoDisc = [] { events().push_back("hide panel"); };
}

class Drives : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        titlesFound = false;
        lookupStarts = true;
        recordEvents();
    }
};

std::vector<std::string> driveNames()
{
    std::vector<std::string> names;
    for (int d = 1; d <= driveCount; ++d)
        names.push_back(DriveTable[d - 1].name);
    return names;
}

// ---- openDrives ----

struct OpenCase {
    const char *what;
    std::vector<MachineDrive> machine;
    std::vector<const char *> refused;   // drives cd_open refuses
    int result;
    std::vector<std::string> names;
    std::vector<cd_handle_t> devices;
    Calls calls;
    const char *message;                 // null: no box
};

void PrintTo(const OpenCase &c, std::ostream *os)
{
    *os << c.what;
}

class OpenDrives : public Drives, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenDrives, FindsAndOpensCdromDrives)
{
    const OpenCase &c = GetParam();
    setMachine(c.machine);
    for (const char *drive : c.refused)
        fake::failOpen(drive);
    harness::MessageBoxRecorder boxes;

    EXPECT_EQ(openDrives(), c.result) << c.what;
    EXPECT_EQ(fake::calls(), c.calls) << c.what;
    if (c.result) {
        EXPECT_EQ(driveNames(), c.names) << c.what;
        for (size_t i = 0; i < c.devices.size(); ++i) {
            EXPECT_EQ(DriveTable[i].device, c.devices[i]) << c.what << ", drive " << i + 1;
            EXPECT_EQ(DriveTable[i].name[2], 0);
            EXPECT_EQ(DriveTable[i].name[3], 0);
            EXPECT_EQ(DriveTable[i].mediaPresent + DriveTable[i].discLoaded + DriveTable[i].title.trackCount, 0);
        }
    }
    if (c.message) {
        ASSERT_EQ(boxes.count(), 1u) << c.what;
        harness::Box box = boxes.boxes()[0];
        EXPECT_EQ(box.text, c.message);
        EXPECT_EQ(box.caption, "Spindle2 Error");
        EXPECT_EQ(box.flags, (UINT)(MB_SYSTEMMODAL | MB_ICONERROR));
        EXPECT_EQ(events(), (std::vector<std::string>{"no drives"})) << "the tray shows no disc first";
    } else {
        EXPECT_EQ(boxes.count(), 0u) << c.what;
        EXPECT_TRUE(events().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Machines, OpenDrives,
    ::testing::Values(
        OpenCase{"two CD-ROM drives among others, letters in lower case",
                 {{"a:\\", DRIVE_REMOVABLE}, {"c:\\", DRIVE_FIXED}, {"d:\\", DRIVE_CDROM}, {"f:\\", DRIVE_CDROM},
                  {"z:\\", DRIVE_REMOTE}},
                 {},
                 1,
                 {"D:", "F:"},
                 {1, 2},
                 {"cd_init()", "cd_open(1,\"D:\",0)", "cd_init()", "cd_open(2,\"F:\",0)"},
                 nullptr},
        OpenCase{"no CD-ROM drive",
                 {{"C:\\", DRIVE_FIXED}, {"Z:\\", DRIVE_REMOTE}},
                 {},
                 0,
                 {},
                 {},
                 {},
                 "No CD-ROM drives found in system."},
        OpenCase{"no drive at all", {}, {}, 0, {}, {}, {}, "No CD-ROM drives found in system."},
        OpenCase{"the only drive does not open",
                 {{"C:\\", DRIVE_FIXED}, {"D:\\", DRIVE_CDROM}},
                 {"D:"},
                 0,
                 {},
                 {},
                 {"cd_init()", "cd_open(1,\"D:\",0)", "cd_cleanup(1)"},
                 "Unable to open any CD-ROM drives in system."},
        OpenCase{"the first of two drives does not open",
                 {{"D:\\", DRIVE_CDROM}, {"E:\\", DRIVE_CDROM}},
                 {"D:"},
                 1,
                 {"D:", "E:"},
                 {0, 2},
                 {"cd_init()", "cd_open(1,\"D:\",0)", "cd_cleanup(1)", "cd_init()", "cd_open(2,\"E:\",0)"},
                 nullptr}));

TEST_F(Drives, FailingDriveListMeansNoDrives)
{
    machineListFails() = true;
    harness::MessageBoxRecorder boxes;
    EXPECT_EQ(openDrives(), 0);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "No CD-ROM drives found in system.");
    EXPECT_TRUE(fake::calls().empty());
}

TEST_F(Drives, HandleThatCannotBeMadeIsNotOpened)
{
    setMachine({{"D:\\", DRIVE_CDROM}, {"E:\\", DRIVE_CDROM}});
    fake::queueResults("cd_init", {0});
    ASSERT_EQ(openDrives(), 1);
    EXPECT_EQ(fake::calls(), (Calls{"cd_init()", "cd_init()", "cd_open(1,\"E:\",0)"}));
    EXPECT_EQ(DriveTable[0].device, 0u);
    EXPECT_EQ(DriveTable[1].device, 1u);
}

TEST_F(Drives, TheSystemsOwnDriveList)
{
    // The machine this test runs on: its CD-ROM letters, listed afresh.
    setDriveQuery(nullptr, nullptr);
    char list[256] = {};
    GetLogicalDriveStringsA(255, list);
    std::vector<std::string> expected;
    for (const char *root = list; *root; root += strlen(root) + 1)
        if (GetDriveTypeA(root) == DRIVE_CDROM)
            expected.push_back(std::string(1, (char)toupper((unsigned char)root[0])) + ":");

    harness::MessageBoxRecorder boxes;
    int result = openDrives();
    if (expected.empty()) {
        EXPECT_EQ(result, 0);
        EXPECT_EQ(boxes.count(), 1u);
    } else {
        EXPECT_EQ(result, 1);
        EXPECT_EQ(driveNames(), expected);
        EXPECT_EQ(boxes.count(), 0u);
    }
}

TEST_F(Drives, OpeningAgainStartsAFreshTable)
{
    load({{"D:", tracks(3)}});
    ASSERT_EQ(openDrives(), 1);
    EXPECT_EQ(fake::calls(), (Calls{"cd_close(1)", "cd_cleanup(1)", "cd_close(2)", "cd_cleanup(2)", "cd_init()",
                                    "cd_open(3,\"D:\",0)", "cd_init()", "cd_open(4,\"E:\",0)"}));
    EXPECT_EQ(driveCount, 2);
    EXPECT_EQ(DriveTable[0].discLoaded, 0);
    EXPECT_EQ(titleBlocksInUse(), 0);
}

// ---- readDisc ----

TEST_F(Drives, TwentyTracksGiveTwentyOneStarts)
{
    fake::Disc disc = fake::audioDisc(std::vector<int>(20, 181));
    disc.trackTypes[19] = PLATTER_TRACK_DATA;
    fake::insertDisc("D:", disc);
    ASSERT_EQ(openDrives(), 1);
    fake::clearCalls();

    ASSERT_EQ(readDisc(1), 1);
    Calls expected{"cd_read_data(1)", "cd_get_num_tracks(1)"};
    for (int t = 1; t <= 20; ++t)
        expected.push_back("cd_get_track_type(1," + std::to_string(t) + ")");
    for (int t = 1; t <= 21; ++t)
        expected.push_back("cd_get_track_time(1," + std::to_string(t) + ")");
    EXPECT_EQ(fake::calls(), expected);

    const DriveEntry &d = DriveTable[0];
    ASSERT_EQ(d.title.trackCount, 20);
    for (int i = 0; i <= 20; ++i)
        EXPECT_EQ(d.title.trackStartFrames[i], disc.startFrames[i]) << "start " << i + 1;
    EXPECT_EQ(d.title.trackStartFrames[20], 150 + 20 * 181 * 75) << "the lead-out is the disc's length";
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(d.trackTypes[i], i == 19 ? PLATTER_TRACK_DATA : PLATTER_TRACK_AUDIO);
        EXPECT_EQ(d.playedFlags[i], 0);
        EXPECT_EQ(d.title.trackTitles[i], nullptr);
        EXPECT_EQ(d.title.trackTexts[i], nullptr);
    }
    EXPECT_EQ(d.title.artist, nullptr);
    EXPECT_EQ(d.title.programLength, 0);
    EXPECT_EQ(d.title.programList, nullptr);
}

TEST_F(Drives, StartsCountMinutesSecondsAndFrames)
{
    fake::Disc disc;
    disc.trackTypes = {1, 1};
    // 0:02:00, 3:07:41, and the lead-out at 61:59:74.
    disc.startFrames = {150, 3 * 4500 + 7 * 75 + 41, 61 * 4500 + 59 * 75 + 74};
    fake::insertDisc("D:", disc);
    ASSERT_EQ(openDrives(), 1);
    ASSERT_EQ(readDisc(1), 1);
    EXPECT_EQ(DriveTable[0].title.trackStartFrames[0], 150);
    EXPECT_EQ(DriveTable[0].title.trackStartFrames[1], 14066);
    EXPECT_EQ(DriveTable[0].title.trackStartFrames[2], 278999);
}

struct UnreadableCase {
    const char *what;
    const char *function;
    int result;
    int tracks;
};

void PrintTo(const UnreadableCase &c, std::ostream *os)
{
    *os << c.what;
}

class UnreadableDisc : public Drives, public ::testing::WithParamInterface<UnreadableCase> {};

TEST_P(UnreadableDisc, LeavesTheEntryAsItWas)
{
    const UnreadableCase &c = GetParam();
    fake::insertDisc("D:", tracks(c.tracks));
    ASSERT_EQ(openDrives(), 1);
    if (c.function)
        fake::queueResults(c.function, {c.result});
    long blocks = titleBlocksInUse();

    EXPECT_EQ(readDisc(1), 0) << c.what;
    const DriveEntry &d = DriveTable[0];
    EXPECT_EQ(d.title.trackCount, 0);
    EXPECT_EQ(d.title.trackStartFrames, nullptr);
    EXPECT_EQ(d.trackTypes, nullptr);
    EXPECT_EQ(d.playedFlags, nullptr);
    EXPECT_EQ(titleBlocksInUse(), blocks);
    EXPECT_TRUE(fake::callsTo("cd_get_track").empty()) << fake::callLog();
}

INSTANTIATE_TEST_SUITE_P(Cases, UnreadableDisc,
                         ::testing::Values(UnreadableCase{"table of contents unreadable", "cd_read_data", 0, 5},
                                           UnreadableCase{"read answers something else", "cd_read_data", 2, 5},
                                           UnreadableCase{"track count unreadable", "cd_get_num_tracks", 0, 5},
                                           UnreadableCase{"no tracks", nullptr, 0, 0},
                                           UnreadableCase{"more tracks than a CD holds", nullptr, 0, 100}));

TEST_F(Drives, ReadingOnlyTheDrivesWithDiscs)
{
    fake::insertDisc("E:", tracks(2));
    ASSERT_EQ(openDrives(), 1);
    fake::clearCalls();
    readPresentDiscs();
    EXPECT_EQ(fake::callsTo("cd_check_if_media"), (Calls{"cd_check_if_media(1)", "cd_check_if_media(2)"}));
    EXPECT_EQ(fake::callsTo("cd_read_data"), (Calls{"cd_read_data(2)"}));
    EXPECT_EQ(DriveTable[0].mediaPresent, 0);
    EXPECT_EQ(DriveTable[0].discLoaded, 0);
    EXPECT_EQ(DriveTable[1].mediaPresent, 1);
    EXPECT_EQ(DriveTable[1].discLoaded, 1);
}

TEST_F(Drives, PresentButUnreadableDiscIsNotLoaded)
{
    fake::insertDisc("D:", tracks(2));
    ASSERT_EQ(openDrives(), 1);
    fake::queueResults("cd_read_data", {0});
    readPresentDiscs();
    EXPECT_EQ(DriveTable[0].mediaPresent, 1);
    EXPECT_EQ(DriveTable[0].discLoaded, 0);
    EXPECT_EQ(selectFirstDrive(), 0);
}

// ---- selecting drives ----

// Drives D to G: D empty, E loaded, F loaded but not openable, G loaded.
class Selection : public Drives {
protected:
    void SetUp() override
    {
        Drives::SetUp();
        setMachine({{"D:\\", DRIVE_CDROM}, {"E:\\", DRIVE_CDROM}, {"F:\\", DRIVE_CDROM}, {"G:\\", DRIVE_CDROM}});
        fake::failOpen("F:");
        fake::insertDisc("F:", tracks(2));
        load({{"E:", tracks(2)}, {"G:", tracks(3)}});
    }
};

struct SelectCase {
    int (*select)();
    const char *name;
    int from;
    int result;
    int drive;
};

void PrintTo(const SelectCase &c, std::ostream *os)
{
    *os << c.name << " from " << c.from;
}

class SelectDrive : public Selection, public ::testing::WithParamInterface<SelectCase> {};

TEST_P(SelectDrive, PicksOnlyOpenDrivesWithDiscs)
{
    const SelectCase &c = GetParam();
    currentDrive = c.from;
    EXPECT_EQ(c.select(), c.result) << c.name << " from " << c.from;
    EXPECT_EQ(currentDrive, c.drive) << c.name << " from " << c.from;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SelectDrive,
    ::testing::Values(SelectCase{selectFirstDrive, "first", 0, 1, 2}, SelectCase{selectFirstDrive, "first", 4, 1, 2},
                      SelectCase{selectNextDrive, "next", 0, 1, 2}, SelectCase{selectNextDrive, "next", 1, 1, 2},
                      SelectCase{selectNextDrive, "next", 2, 1, 4}, SelectCase{selectNextDrive, "next", 3, 1, 4},
                      SelectCase{selectNextDrive, "next", 4, 0, 0}, SelectCase{selectPreviousDrive, "previous", 4, 1, 2},
                      SelectCase{selectPreviousDrive, "previous", 3, 1, 2},
                      SelectCase{selectPreviousDrive, "previous", 2, 0, 0},
                      SelectCase{selectPreviousDrive, "previous", 0, 0, 0}));

TEST_F(Drives, NoDriveWithADisc)
{
    load({});
    EXPECT_EQ(selectFirstDrive(), 0);
    EXPECT_EQ(currentDrive, 0);
}

struct StartCase {
    const char *name;
    int drive;
};

void PrintTo(const StartCase &c, std::ostream *os)
{
    *os << "name " << (c.name[0] ? c.name : "empty");
}

class StartDrive : public Selection, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartDrive, NamedDriveWithADiscElseTheFirst)
{
    currentDrive = 0;
    EXPECT_EQ(selectStartDrive(GetParam().name), 1);
    EXPECT_EQ(currentDrive, GetParam().drive) << "\"" << GetParam().name << "\"";
}

INSTANTIATE_TEST_SUITE_P(Names, StartDrive,
                         ::testing::Values(StartCase{"G:", 4}, StartCase{"E:", 2}, StartCase{"F:", 2},
                                           StartCase{"D:", 2}, StartCase{"", 2}, StartCase{"g:", 2},
                                           StartCase{"G:\\", 2}));

// ---- a disc arrives ----

struct InsertCase {
    const char *what;
    bool titles;
    int running;
    bool readable;
    std::vector<std::string> events;
    int lookupRunningAfter;
    int pending;
};

void PrintTo(const InsertCase &c, std::ostream *os)
{
    *os << c.what;
}

class DiscInserted : public Drives, public ::testing::WithParamInterface<InsertCase> {};

TEST_P(DiscInserted, ReadsTheDiscAndAsksForTitles)
{
    const InsertCase &c = GetParam();
    load({{"D:", tracks(3)}});
    fake::insertDisc("E:", tracks(7));
    titlesFound = c.titles;
    lookupRunning = c.running;
    if (!c.readable)
        fake::queueResults("cd_read_data", {0});

    discInserted(2);
    EXPECT_EQ(events(), c.events) << c.what;
    EXPECT_EQ(fake::calls().front(), "cd_read_data(2)");
    const DriveEntry &e = DriveTable[1];
    EXPECT_EQ(e.mediaPresent, 1);
    EXPECT_EQ(e.discLoaded, c.readable ? 1 : 0);
    EXPECT_EQ(e.title.trackCount, c.readable ? 7 : 0);
    EXPECT_EQ(lookupRunning, c.lookupRunningAfter) << c.what;
    EXPECT_EQ(e.lookupPending, c.pending) << c.what;
    EXPECT_EQ(currentDrive, 1) << "an arriving disc does not change the current drive";
    EXPECT_TRUE(fake::callsTo("cd_play").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DiscInserted,
    ::testing::Values(InsertCase{"titles found", true, 0, true, {"titles 2", "drive list"}, 0, 0},
                      InsertCase{"no titles, no lookup running", false, 0, true, {"titles 2", "cddb 2", "drive list"}, 1, 0},
                      InsertCase{"no titles, a lookup running", false, 1, true, {"titles 2", "drive list"}, 1, 1},
                      InsertCase{"unreadable disc", false, 0, false, {"drive list"}, 0, 0}));

TEST_F(Drives, NoLookupIsCountedAsRunningWhenNoneStarted)
{
    load({});
    for (bool installed : {false, true}) {
        discEvents.cddbLookupNeeded = installed ? discEvents.cddbLookupNeeded : nullptr;
        lookupStarts = false;
        fake::insertDisc("D:", tracks(2));
        discInserted(1);
        EXPECT_EQ(lookupRunning, 0) << (installed ? "the thread did not start" : "no lookup installed");
        EXPECT_EQ(DriveTable[0].lookupPending, 0);
        discRemoved(1);
        recordEvents();
    }
}

// ---- a disc leaves ----

TEST_F(Drives, CurrentDiscRemovedWithAnotherLoadedDrive)
{
    load({{"D:", tracks(6)}, {"E:", tracks(4)}});
    setProgram(1, {2, 5});
    setText(DriveTable[0].title.artist, "Somebody");
    setText(DriveTable[0].title.trackTitles[1], "Two");
    advancePlay(AdvanceStart);
    ASSERT_EQ(playState, PlayStatePlaying);
    fake::removeDisc("D:");
    fake::clearCalls();

    discRemoved(1);
    EXPECT_EQ(currentDrive, 2);
    EXPECT_EQ(playState, PlayStateStopped);
    EXPECT_EQ(currentTrack, 0);
    EXPECT_EQ(programPosition, 0);
    EXPECT_TRUE(fake::callsTo("cd_play").empty()) << "play does not start on the new drive";
    EXPECT_TRUE(fake::calls().empty()) << fake::callLog();
    EXPECT_EQ(events(), (std::vector<std::string>{"current gone", "drive list"}));
    EXPECT_STREQ(trayTip(), "Stopped");

    const DriveEntry &d = DriveTable[0];
    EXPECT_EQ(d.mediaPresent + d.discLoaded + d.titleKnown + d.lookupPending, 0);
    EXPECT_EQ(d.trackTypes, nullptr);
    EXPECT_EQ(d.playedFlags, nullptr);
    TitleRecord zero;
    memset(&zero, 0, sizeof zero);
    EXPECT_EQ(memcmp(&d.title, &zero, sizeof zero), 0) << "the whole title record is cleared";
    EXPECT_EQ(DriveTable[1].discLoaded, 1);
}

TEST_F(Drives, CurrentRemovedFallsBackToAnEarlierDrive)
{
    load({{"D:", tracks(2)}, {"E:", tracks(2)}});
    currentDrive = 2;
    discRemoved(2);
    EXPECT_EQ(currentDrive, 1);
}

TEST_F(Drives, CurrentRemovedPrefersTheNextDriveOverTheFirst)
{
    setMachine({{"D:\\", DRIVE_CDROM}, {"E:\\", DRIVE_CDROM}, {"F:\\", DRIVE_CDROM}});
    load({{"D:", tracks(2)}, {"E:", tracks(2)}, {"F:", tracks(2)}});
    currentDrive = 2;
    discRemoved(2);
    EXPECT_EQ(currentDrive, 3);
}

TEST_F(Drives, OtherDiscRemovedLeavesPlayAlone)
{
    load({{"D:", tracks(2)}, {"E:", tracks(2)}});
    advancePlay(AdvanceStart);
    fake::clearCalls();
    discRemoved(2);
    EXPECT_EQ(currentDrive, 1);
    EXPECT_EQ(playState, PlayStatePlaying);
    EXPECT_EQ(currentTrack, 1);
    EXPECT_EQ(events(), (std::vector<std::string>{"drive list"}));
    EXPECT_TRUE(fake::calls().empty()) << fake::callLog();
}

struct LastDiscCase {
    int visibleAtStart, hideNoCd;
    bool hides;
};

void PrintTo(const LastDiscCase &c, std::ostream *os)
{
    *os << "visibleAtStart " << c.visibleAtStart << " hideNoCD " << c.hideNoCd;
}

class LastDiscRemoved : public Drives, public ::testing::WithParamInterface<LastDiscCase> {};

TEST_P(LastDiscRemoved, NoDriveIsCurrent)
{
    options.ControlsVisibleAtStart = GetParam().visibleAtStart;
    options.ControlsHideNoCD = GetParam().hideNoCd;
    load({{"D:", tracks(2)}});
    discRemoved(1);
    EXPECT_EQ(currentDrive, 0);
    EXPECT_STREQ(trayTip(), "No Audio CD(s)");
    std::vector<std::string> expected{"current gone", "drive list"};
    if (GetParam().hides)
        expected.push_back("hide panel");
    EXPECT_EQ(events(), expected);
}

INSTANTIATE_TEST_SUITE_P(PanelOptions, LastDiscRemoved,
                         ::testing::Values(LastDiscCase{1, 1, true}, LastDiscCase{1, 0, false},
                                           LastDiscCase{0, 1, false}, LastDiscCase{0, 0, false}));

TEST_F(Drives, NothingOfTheOldDiscSurvivesANewOne)
{
    load({{"E:", tracks(3, 100, 0xE)}});
    long otherDrive = titleBlocksInUse();

    fake::insertDisc("D:", tracks(10, 100, 0xA));
    discInserted(1);
    DriveEntry &d = DriveTable[0];
    setText(d.title.artist, "Old Artist");
    setText(d.title.discTitle, "Old Title");
    setText(d.title.discText, "Old notes");
    for (int i = 0; i < 10; ++i) {
        setText(d.title.trackTitles[i], "old track");
        setText(d.title.trackTexts[i], "old text");
    }
    setProgram(1, {1, 2, 3});
    d.titleKnown = 1;
    currentDrive = 1;
    currentTrack = 4;
    markCurrentPlayed();
    ASSERT_GT(titleBlocksInUse(), otherDrive);

    fake::removeDisc("D:");
    discRemoved(1);
    EXPECT_EQ(titleBlocksInUse(), otherDrive) << "every block of the removed disc is released";

    fake::Disc next = fake::audioDisc({60, 70, 80, 90}, 0xB);
    fake::insertDisc("D:", next);
    discInserted(1);
    ASSERT_EQ(d.discLoaded, 1);
    EXPECT_EQ(d.title.trackCount, 4);
    for (int i = 0; i <= 4; ++i)
        EXPECT_EQ(d.title.trackStartFrames[i], next.startFrames[i]);
    EXPECT_EQ(d.title.artist, nullptr);
    EXPECT_EQ(d.title.discTitle, nullptr);
    EXPECT_EQ(d.title.discText, nullptr);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(d.title.trackTitles[i], nullptr);
        EXPECT_EQ(d.title.trackTexts[i], nullptr);
        EXPECT_EQ(d.playedFlags[i], 0);
    }
    EXPECT_EQ(d.title.programLength, 0);
    EXPECT_EQ(d.title.programList, nullptr);
    EXPECT_EQ(d.titleKnown, 0);
}

TEST_F(Drives, TextsLeftInAnUnloadedEntryGoWithTheNextDisc)
{
    // A lookup that ends after its disc left may still write into the entry.
    load({});
    setText(DriveTable[0].title.artist, "Late Result");
    fake::insertDisc("D:", tracks(2));
    discInserted(1);
    EXPECT_EQ(DriveTable[0].title.artist, nullptr);
    closeDrives();
    EXPECT_EQ(titleBlocksInUse(), 0);
}

TEST_F(Drives, ClosingReleasesEveryDriveAndBlock)
{
    setMachine({{"D:\\", DRIVE_CDROM}, {"E:\\", DRIVE_CDROM}, {"F:\\", DRIVE_CDROM}});
    fake::failOpen("E:");
    load({{"D:", tracks(3)}, {"F:", tracks(5)}});
    setText(DriveTable[0].title.trackTitles[0], "One");
    closeDrives();
    EXPECT_EQ(fake::calls(), (Calls{"cd_close(1)", "cd_cleanup(1)", "cd_close(3)", "cd_cleanup(3)"}));
    EXPECT_EQ(DriveTable, nullptr);
    EXPECT_EQ(driveCount, 0);
    EXPECT_EQ(currentDrive, 0);
    EXPECT_EQ(titleBlocksInUse(), 0);
}

TEST_F(Drives, OutOfRangeDrivesAreIgnored)
{
    load({{"D:", tracks(2)}});
    for (int drive : {-1, 0, 3, 100}) {
        EXPECT_EQ(driveEntry(drive), nullptr);
        EXPECT_EQ(readDisc(drive), 0);
        discInserted(drive);
        discRemoved(drive);
    }
    EXPECT_TRUE(fake::calls().empty()) << fake::callLog();
    EXPECT_TRUE(events().empty());
    EXPECT_EQ(currentDrive, 1);
}

} // namespace
