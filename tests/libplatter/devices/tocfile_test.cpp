// tocfile_test.cpp - the plain-text TOC file: discs it describes, and
// malformed files refused with their reason.
#include "libplatter/devices/tocfile.h"
#include "tests/libplatter/devices/devicetest.h"

namespace {

using namespace devices;

struct GoodToc {
    const char *name;
    const char *text;
    std::vector<TocTrack> tracks;
    int leadOut;
};

// Printed as its name, in test lists and in CTest's test names.
void PrintTo(const GoodToc &c, std::ostream *os)
{
    *os << c.name;
}

const GoodToc kGoodTocs[] = {
    {"AudioThenData", "TRACK 1 AUDIO 00:02:00\nTRACK 2 AUDIO 04:10:33\nTRACK 3 DATA 30:00:00\nLEADOUT 52:10:40\n",
     {{150, true}, {18783, true}, {135000, false}}, 234790},
    {"CommentsBlankLinesAnyCaseCrLf",
     "# a mixed disc\r\n\r\ntrack 01 data 00:02:00   # the game\r\n  Track 02 Audio 20:00:00\r\nleadout 25:00:00",
     {{150, false}, {90000, true}}, 112500},
    {"OneTrackStartingLate", "TRACK 1 AUDIO 00:02:33\nLEADOUT 00:03:00\n", {{183, true}}, 225},
};

class GoodTocTest : public ::testing::TestWithParam<GoodToc> {};

TEST_P(GoodTocTest, GivesTheDiscItDescribes)
{
    DiscImage image;
    std::string problem;
    ASSERT_TRUE(parseTocFile(GetParam().text, &image, &problem)) << problem;
    ASSERT_EQ(image.toc.count(), (int)GetParam().tracks.size());
    for (size_t i = 0; i < GetParam().tracks.size(); ++i) {
        EXPECT_EQ(image.toc.tracks[i].start, GetParam().tracks[i].start) << i;
        EXPECT_EQ(image.toc.tracks[i].audio, GetParam().tracks[i].audio) << i;
        EXPECT_EQ(image.layout[i].file, -1) << "a TOC file names no data";
    }
    EXPECT_EQ(image.toc.leadOut, GetParam().leadOut);
    EXPECT_FALSE(image.hasAudioData());
}

INSTANTIATE_TEST_SUITE_P(Files, GoodTocTest, ::testing::ValuesIn(kGoodTocs),
                         [](const ::testing::TestParamInfo<GoodToc> &info) { return std::string(info.param.name); });

struct BadToc {
    const char *name;
    std::string text;
    const char *problem;
};

// Printed as its name, in test lists and in CTest's test names.
void PrintTo(const BadToc &c, std::ostream *os)
{
    *os << c.name;
}

const BadToc kBadTocs[] = {
    {"Empty", "", "the file has no tracks"},
    {"OnlyComments", "# nothing\n\n", "the file has no tracks"},
    {"NoLeadOut", "TRACK 1 AUDIO 00:02:00\n", "the file has no LEADOUT"},
    {"LeadOutFirst", "LEADOUT 10:00:00\nTRACK 1 AUDIO 00:02:00\n", "line 1: LEADOUT before any TRACK"},
    {"LeadOutNotAfterLastTrack", "TRACK 1 AUDIO 00:02:00\nLEADOUT 00:02:00\n",
     "line 2: LEADOUT must come after the last track's start"},
    {"StartsDoNotRise", "TRACK 1 AUDIO 00:02:00\nTRACK 2 AUDIO 00:01:00\nLEADOUT 10:00:00\n",
     "line 2: each track must start after the one before it"},
    {"UnknownType", "TRACK 1 VIDEO 00:02:00\nLEADOUT 10:00:00\n", "line 1: track type must be AUDIO or DATA"},
    {"NumbersSkip", "TRACK 1 AUDIO 00:02:00\nTRACK 3 AUDIO 01:00:00\nLEADOUT 10:00:00\n",
     "line 2: tracks must be numbered 1, 2, 3 ... in order"},
    {"StartsInsideLeadIn", "TRACK 1 AUDIO 00:00:00\nLEADOUT 10:00:00\n",
     "line 1: track 1 cannot start inside the lead-in (before 00:02:00)"},
    {"TextAfterLeadOut", "TRACK 1 AUDIO 00:02:00\nLEADOUT 10:00:00\nTRACK 2 AUDIO 11:00:00\n",
     "line 3: nothing may follow LEADOUT"},
    {"UnknownLine", "DISC 1\n", "line 1: expected TRACK or LEADOUT"},
    {"BadTime", "TRACK 1 AUDIO 00:02:99\nLEADOUT 10:00:00\n", "line 1: start is not mm:ss:ff"},
    {"MissingStart", "TRACK 1 AUDIO\nLEADOUT 10:00:00\n", "line 1: TRACK needs a number, a type and a start"},
    {"LeadOutWithoutTime", "TRACK 1 AUDIO 00:02:00\nLEADOUT\n", "line 2: LEADOUT needs a start as mm:ss:ff"},
    {"LongerThanADisc", "TRACK 1 AUDIO 00:02:00\nLEADOUT 100:00:00\n", "the disc is longer than 99:59:74"},
    {"TooLarge", std::string(70000, '#'), "the file is too large to be a TOC file"},
};

class BadTocTest : public ::testing::TestWithParam<BadToc> {};

TEST_P(BadTocTest, IsRefusedWithItsReason)
{
    DiscImage image;
    image.toc.leadOut = 777;
    std::string problem;
    EXPECT_FALSE(parseTocFile(GetParam().text, &image, &problem));
    EXPECT_EQ(problem, GetParam().problem);
    EXPECT_EQ(image.toc.leadOut, 777);
}

INSTANTIATE_TEST_SUITE_P(Files, BadTocTest, ::testing::ValuesIn(kBadTocs),
                         [](const ::testing::TestParamInfo<BadToc> &info) { return std::string(info.param.name); });

} // namespace
