// virtualdisc_test.cpp - the disc in a virtual drive: the tray (eject keeps
// it out until the image changes), taking the image away, malformed
// descriptions (no disc, one diagnostics line), which description counts,
// the table of contents the device calls report, and a disc swapped while
// playing.
#include "tests/libplatter/devices/devicetest.h"

#include <cstdio>

namespace {

using namespace devicetest;

class VirtualDiscTest : public VirtualDriveTest {
protected:
    void insertFourTrackDisc()
    {
        writeText(path("disc.toc"), kFourTrackToc);
        ASSERT_TRUE(openDrive());
        ASSERT_EQ(cd_check_if_media(handle_), PLATTER_OK);
    }
    void expectNoDisc()
    {
        int count = -1, track = -1, m = -1, s = -1, f = -1;
        EXPECT_EQ(cd_check_if_media(handle_), PLATTER_FAIL);
        EXPECT_EQ(cd_check_status(handle_), 0);
        EXPECT_EQ(cd_read_data(handle_), PLATTER_FAIL);
        EXPECT_EQ(cd_get_num_tracks(handle_, &count), PLATTER_FAIL);
        EXPECT_EQ(count, -1);
        EXPECT_EQ(cd_get_cur_time_info(handle_, &track, &m, &s, &f, nullptr, nullptr, nullptr), PLATTER_FAIL);
        EXPECT_EQ(cd_play(handle_, 1, 0, 0, 0, 0), 0);
    }
};

// How the image changes while the tray is open.
enum class Change { Touch, Rewrite, Recreate, RemoveAndRecreateAlike };

struct TrayCase {
    const char *name;
    Change change;
};

// Printed as its name, in test lists and in CTest's test names.
void PrintTo(const TrayCase &c, std::ostream *os)
{
    *os << c.name;
}

class TrayTest : public VirtualDiscTest, public ::testing::WithParamInterface<TrayCase> {};

TEST_P(TrayTest, EjectedDiscReturnsWhenTheImageChanges)
{
    insertFourTrackDisc();
    ASSERT_EQ(cd_play(handle_, 2, 0, 0, 0, 0), PlayStatePlaying);
    EXPECT_EQ(cd_eject(handle_), PLATTER_OK);
    expectNoDisc();
    // Nothing changed: reopening the drive does not close the tray.
    cd_close(handle_);
    ASSERT_TRUE(openDrive());
    EXPECT_EQ(cd_check_if_media(handle_), PLATTER_FAIL);

    switch (GetParam().change) {
    case Change::Touch:
        shiftWriteTime(path("disc.toc"), 5);
        break;
    case Change::Rewrite:
        writeText(path("disc.toc"), std::string(kFourTrackToc) + "# again\n");
        break;
    case Change::Recreate:
        ASSERT_TRUE(DeleteFileA(path("disc.toc").c_str()));
        EXPECT_EQ(cd_check_if_media(handle_), PLATTER_FAIL);
        writeText(path("disc.toc"), kFourTrackToc);
        shiftWriteTime(path("disc.toc"), 7);
        break;
    case Change::RemoveAndRecreateAlike: {
        // Taken out and put back with the very same times: seen gone, so it is a new disc.
        std::string saved = harness::readFile(path("disc.toc"));
        HANDLE file = CreateFileA(path("disc.toc").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        FILETIME created, written;
        GetFileTime(file, &created, nullptr, &written);
        CloseHandle(file);
        ASSERT_TRUE(DeleteFileA(path("disc.toc").c_str()));
        EXPECT_EQ(cd_check_if_media(handle_), PLATTER_FAIL);
        writeText(path("disc.toc"), saved);
        file = CreateFileA(path("disc.toc").c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        SetFileTime(file, &created, nullptr, &written);
        CloseHandle(file);
        break;
    }
    }
    EXPECT_EQ(cd_check_if_media(handle_), PLATTER_OK);
    EXPECT_EQ(cd_check_status(handle_), PlayStateStopped);
    int count = 0;
    EXPECT_EQ(cd_read_data(handle_), PLATTER_OK);
    EXPECT_EQ(cd_get_num_tracks(handle_, &count), PLATTER_OK);
    EXPECT_EQ(count, 4);
}

const TrayCase kTrayCases[] = {
    {"Touched", Change::Touch},
    {"Rewritten", Change::Rewrite},
    {"Recreated", Change::Recreate},
    {"RemovedAndPutBackAlike", Change::RemoveAndRecreateAlike},
};

INSTANTIATE_TEST_SUITE_P(Changes, TrayTest, ::testing::ValuesIn(kTrayCases),
                         [](const ::testing::TestParamInfo<TrayCase> &info) { return std::string(info.param.name); });

TEST_F(VirtualDiscTest, TakingTheImageAwayTakesTheDiscOutAtOnce)
{
    insertFourTrackDisc();
    ASSERT_EQ(cd_play(handle_, 1, 0, 0, 0, 0), PlayStatePlaying);
    advanceClock(3000);
    ASSERT_TRUE(DeleteFileA(path("disc.toc").c_str()));
    expectNoDisc();
    writeText(path("disc.toc"), kFourTrackToc);
    EXPECT_EQ(cd_check_if_media(handle_), PLATTER_OK);
    EXPECT_EQ(cd_check_status(handle_), PlayStateStopped);
    int track = 0, relative = -1, absolute = -1;
    ASSERT_TRUE(currentPosition(handle_, &track, &relative, &absolute));
    EXPECT_EQ(track, 1);
    EXPECT_EQ(absolute, 150);
}

TEST_F(VirtualDiscTest, EmptyDriveHasNoDiscAndEjectStillOpensIt)
{
    ASSERT_TRUE(openDrive());
    expectNoDisc();
    EXPECT_EQ(cd_eject(handle_), PLATTER_OK);
    writeText(path("disc.toc"), kFourTrackToc);
    EXPECT_EQ(cd_check_if_media(handle_), PLATTER_OK);
}

TEST_F(VirtualDiscTest, ASwappedDiscStopsPlayAndStartsAtItsTrackOne)
{
    insertFourTrackDisc();
    ASSERT_EQ(cd_play(handle_, 3, 0, 0, 0, 0), PlayStatePlaying);
    advanceClock(2000);
    writeText(path("disc.toc"), "TRACK 1 AUDIO 00:04:00\nTRACK 2 AUDIO 02:00:00\nLEADOUT 05:00:00\n");
    EXPECT_EQ(cd_check_status(handle_), PlayStateStopped);
    int track = 0, relative = -1, absolute = -1;
    ASSERT_TRUE(currentPosition(handle_, &track, &relative, &absolute));
    EXPECT_EQ(track, 1);
    EXPECT_EQ(absolute, 300);
}

struct BadImage {
    const char *name;
    const char *file;
    const char *text;
    const char *reason;
};

// Printed as its name, in test lists and in CTest's test names.
void PrintTo(const BadImage &c, std::ostream *os)
{
    *os << c.name;
}

const BadImage kBadImages[] = {
    {"CueWithoutData", "disc.cue", "FILE \"disc.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n",
     "disc.cue: line 1: data file \"disc.bin\": not found"},
    {"CueOfGarbage", "x.cue", "\x7f\x45\x4c\x46 binary junk\n", "x.cue: line 1: the line holds a control character"},
    {"TocWithoutLeadOut", "disc.toc", "TRACK 1 AUDIO 00:02:00\n", "disc.toc: the file has no LEADOUT"},
    {"EmptyToc", "disc.toc", "", "disc.toc: the file has no tracks"},
};

class BadImageTest : public VirtualDiscTest, public ::testing::WithParamInterface<BadImage> {};

TEST_P(BadImageTest, IsNoDiscAndSaysWhyOnce)
{
    DiagLines diag;
    writeText(path(GetParam().file), GetParam().text);
    ASSERT_TRUE(openDrive());
    expectNoDisc();
    EXPECT_EQ(cd_check_if_media(handle_), PLATTER_FAIL);
    EXPECT_EQ(diag.count(GetParam().reason), 1);
    EXPECT_EQ(diag.count("Drive V: no disc: "), 1);
    // Repaired, it is a disc.
    writeText(path(GetParam().file), "");
    DeleteFileA(path(GetParam().file).c_str());
    writeText(path("disc.toc"), kFourTrackToc);
    EXPECT_EQ(cd_check_if_media(handle_), PLATTER_OK);
}

INSTANTIATE_TEST_SUITE_P(Images, BadImageTest, ::testing::ValuesIn(kBadImages),
                         [](const ::testing::TestParamInfo<BadImage> &info) { return std::string(info.param.name); });

TEST_F(VirtualDiscTest, CueSheetWinsOverTocFileAndNamesAreTakenInOrder)
{
    writeText(path("b.toc"), "TRACK 1 AUDIO 00:02:00\nLEADOUT 01:00:00\n");
    makeFile(path("a.bin"), 300 * 2352);
    makeFile(path("z.bin"), 600 * 2352);
    writeText(path("b.cue"), "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n");
    writeText(path("c.cue"), "FILE \"z.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n");
    ASSERT_TRUE(openDrive());
    int m = 0, s = 0, f = 0, lm = 0, ls = 0, lf = 0;
    ASSERT_EQ(cd_get_track_time(handle_, 2, &m, &s, &f, &lm, &ls, &lf), PLATTER_OK);
    EXPECT_EQ((m * 60 + s) * 75 + f, 450) << "b.cue, first by name, over c.cue and b.toc";
}

// The table of contents as the device calls give it, on a CUE sheet disc
// whose last track is data: starts, lengths, types, the lead-out.
TEST_F(VirtualDiscTest, ReportsTrackTimesTypesAndTheLeadOut)
{
    makeFile(path("disc.bin"), (uint64_t)(13650 + 20137 + 11213) * 2352);
    writeText(path("disc.cue"), "FILE \"disc.bin\" BINARY\n"
                                "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                "  TRACK 02 AUDIO\n    INDEX 00 03:00:00\n    INDEX 01 03:02:00\n"
                                "  TRACK 03 MODE1/2352\n    INDEX 01 07:30:37\n");
    ASSERT_TRUE(openDrive());
    ASSERT_EQ(cd_read_data(handle_), PLATTER_OK);
    int count = 0;
    ASSERT_EQ(cd_get_num_tracks(handle_, &count), PLATTER_OK);
    ASSERT_EQ(count, 3);
    struct Row {
        int sm, ss, sf, lm, ls, lf, type;
    } rows[] = {
        {0, 2, 0, 3, 2, 0, PLATTER_TRACK_AUDIO},    // 150, 13650 frames
        {3, 4, 0, 4, 28, 37, PLATTER_TRACK_AUDIO},  // 13800, 20137 frames
        {7, 32, 37, 2, 29, 38, PLATTER_TRACK_DATA}, // 33937, 11213 frames
        {10, 2, 0, 0, 0, 0, 0},                     // lead-out 45150
    };
    for (int t = 1; t <= 4; ++t) {
        SCOPED_TRACE("track " + std::to_string(t));
        const Row &r = rows[t - 1];
        int sm = -1, ss = -1, sf = -1, lm = -1, ls = -1, lf = -1, type = -1;
        ASSERT_EQ(cd_get_track_time(handle_, t, &sm, &ss, &sf, &lm, &ls, &lf), PLATTER_OK);
        EXPECT_EQ(sm, r.sm);
        EXPECT_EQ(ss, r.ss);
        EXPECT_EQ(sf, r.sf);
        EXPECT_EQ(lm, r.lm);
        EXPECT_EQ(ls, r.ls);
        EXPECT_EQ(lf, r.lf);
        if (t <= 3) {
            ASSERT_EQ(cd_get_track_type(handle_, t, &type), PLATTER_OK);
            EXPECT_EQ(type, r.type);
        }
    }
    int untouched = -7;
    EXPECT_EQ(cd_get_track_time(handle_, 0, &untouched, nullptr, nullptr, nullptr, nullptr, nullptr), PLATTER_FAIL);
    EXPECT_EQ(cd_get_track_time(handle_, 5, &untouched, nullptr, nullptr, nullptr, nullptr, nullptr), PLATTER_FAIL);
    EXPECT_EQ(cd_get_track_type(handle_, 4, &untouched), PLATTER_FAIL);
    EXPECT_EQ(cd_get_track_type(handle_, 0, &untouched), PLATTER_FAIL);
    EXPECT_EQ(untouched, -7);
}

// Two handles on one drive in one process see one drive.
TEST_F(VirtualDiscTest, SecondHandleSeesTheSamePlay)
{
    insertFourTrackDisc();
    cd_handle_t other = cd_init();
    ASSERT_EQ(cd_open(other, kDrive, 0), PLATTER_OK);
    ASSERT_EQ(cd_play(handle_, 2, 0, 0, 0, 1), PlayStatePlaying);
    advanceClock(1000);
    EXPECT_EQ(cd_check_status(other), PlayStatePlaying);
    EXPECT_EQ(cd_pause(other), PlayStatePaused);
    EXPECT_EQ(cd_check_status(handle_), PlayStatePaused);
    int track = 0, relative = 0, absolute = 0;
    ASSERT_TRUE(currentPosition(handle_, &track, &relative, &absolute));
    EXPECT_EQ(track, 2);
    EXPECT_EQ(relative, 75);
    EXPECT_EQ(cd_eject(other), PLATTER_OK);
    EXPECT_EQ(cd_check_if_media(handle_), PLATTER_FAIL);
    cd_close(other);
    cd_cleanup(other);
}

} // namespace
