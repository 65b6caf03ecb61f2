// discid_test.cpp - the two disc identities on tables of contents whose
// CDDB disc ids were published:
//
//  1. Wikipedia, "CDDB", section "Example calculation of a CDDB1 (FreeDB)
//     disc ID": one track of 3610 seconds starting 2 seconds into the disc
//     has the id 020e1a01.
//  2. corsaro.biz/lemienote/archives/314 (a worked freedb example): ten
//     tracks at frames 150 15095 28530 40556 60479 81952 100762 112675 128656
//     145954, disc length 2260 s, id 6808d20a.
//  3. The same page's freedb server session: "Halsey / Badlands", sixteen
//     tracks at 150 20972 36331 50117 69524 86255 101371 112896 131608 138844
//     157390 174137 193697 208667 224774 238280, disc length 3342 s, id f00d0c10.
//
// Examples 2 and 3 give the lead-out only in whole seconds (an xmcd "Disc
// length"); the lead-out frame used here is that second's first frame,
// which the CDDB id does not look beyond.
//
// No published Cdplayer.ini section comes with its table of contents, so
// the expected Windows ids are worked out by hand from the algorithm as
// hinzen.de/cdplayer/samples/sample05.html describes it (sum of
// (minutes << 16) + (seconds << 8) + frames of each track's start; fewer
// than three tracks add the total length in frames, and two tracks also
// track 1's frame field). The sums are written out next to each case.
#include "libplatter/devices/discid.h"
#include "tests/libplatter/devices/devicetest.h"

namespace {

using devices::DiscToc;

struct IdCase {
    const char *name;
    std::vector<int> starts;
    int leadOut;
    uint32_t cddbId;
    uint32_t windowsId;
};

// Printed as its name, in test lists and in CTest's test names.
void PrintTo(const IdCase &c, std::ostream *os)
{
    *os << c.name;
}

DiscToc tocOf(const IdCase &c)
{
    DiscToc toc;
    for (int start : c.starts)
        toc.tracks.push_back({start, true});
    toc.leadOut = c.leadOut;
    return toc;
}

const IdCase kCases[] = {
    // 00:02:00 -> 0x200; one track: + lead-out 270900 (0x42234) = 0x42434.
    {"WikipediaOneTrack", {150}, 150 + 3610 * 75, 0x020e1a01u, 0x42434u},
    // Sum of the ten starts' (m << 16) + (s << 8) + f = 0x9CA81C; no extra terms.
    {"CorsaroTenTracks",
     {150, 15095, 28530, 40556, 60479, 81952, 100762, 112675, 128656, 145954},
     2260 * 75,
     0x6808d20au,
     0x9CA81Cu},
    // Sum of the sixteen starts' fields = 0x1AAAC33.
    {"HalseyBadlandsSixteenTracks",
     {150, 20972, 36331, 50117, 69524, 86255, 101371, 112896, 131608, 138844, 157390, 174137, 193697, 208667, 224774,
      238280},
     3342 * 75,
     0xf00d0c10u,
     0x1AAAC33u},
    // Two tracks: 00:02:32 -> 0x220, 04:26:50 -> 0x41A32; + frames of track 1
    // (32 = 0x20) + lead-out 40000 (0x9C40): 0x220 + 0x41A32 + 0x20 + 0x9C40 = 0x4B8B2.
    // CDDB: digit sums 2 + (2+6+6) = 16 (0x10), 533 - 2 = 531 s, two tracks.
    {"TwoTracksAddTrackOneFrames", {182, 20000}, 40000, 0x10021302u, 0x4B8B2u},
};

class DiscIdTest : public ::testing::TestWithParam<IdCase> {};

TEST_P(DiscIdTest, CddbIdMatchesThePublishedOne)
{
    EXPECT_EQ(devices::cddbDiscId(tocOf(GetParam())), GetParam().cddbId);
}

TEST_P(DiscIdTest, WindowsIdIsTheSumOfTheStarts)
{
    EXPECT_EQ(devices::windowsPlayerId(tocOf(GetParam())), GetParam().windowsId);
}

INSTANTIATE_TEST_SUITE_P(Discs, DiscIdTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<IdCase> &info) { return std::string(info.param.name); });

TEST(DiscIdTest, ThreeTracksAddNothingButTheStarts)
{
    DiscToc toc;
    toc.tracks = {{182, true}, {20000, true}, {30000, false}};
    toc.leadOut = 40000;
    // 0x220 + 0x41A32 + (06:40:00 -> 0x62800) = 0xA4452; the lead-out and
    // the frames of track 1 no longer count.
    EXPECT_EQ(devices::windowsPlayerId(toc), 0xA4452u);
}

// The ids through the device calls: the disc of example 2 as a TOC file.
class DiscIdThroughDriveTest : public devicetest::VirtualDriveTest {};

TEST_F(DiscIdThroughDriveTest, DriveReportsBothIdsOfItsDisc)
{
    devicetest::writeText(path("disc.toc"), "TRACK 1 AUDIO 00:02:00\nTRACK 2 AUDIO 03:21:20\nTRACK 3 AUDIO 06:20:30\n"
                                            "TRACK 4 AUDIO 09:00:56\nTRACK 5 AUDIO 13:26:29\nTRACK 6 AUDIO 18:12:52\n"
                                            "TRACK 7 AUDIO 22:23:37\nTRACK 8 AUDIO 25:02:25\nTRACK 9 AUDIO 28:35:31\n"
                                            "TRACK 10 AUDIO 32:26:04\nLEADOUT 37:40:00\n");
    ASSERT_TRUE(openDrive());
    ASSERT_EQ(cd_read_data(handle_), PLATTER_OK);
    uint32_t cddb = 0, windows = 0;
    ASSERT_EQ(cd_get_cddb_id(handle_, &cddb), PLATTER_OK);
    ASSERT_EQ(cd_get_win_id(handle_, &windows), PLATTER_OK);
    EXPECT_EQ(cddb, 0x6808d20au);
    EXPECT_EQ(windows, 0x9CA81Cu);
}

} // namespace
