// The import from the Windows CD Player's file: placeholders, track names
// and the play order's rules, read through the real profile interface from
// a file of the test's own.
#include "player/playerfixture.h"

#include "titles/cdplayerini.h"

#include <fstream>
#include <ostream>

namespace {

using namespace playertest;

struct IniCase {
    const char *name;
    const char *section;      // the lines of the disc's section
    int result;
    const char *artist, *title;
    std::vector<const char *> trackTitles;   // the disc's 4 tracks; null: absent
    std::vector<int> program;
};

void PrintTo(const IniCase &c, std::ostream *os)
{
    *os << c.name;
}

class CdPlayerIni : public PlayerTest, public ::testing::WithParamInterface<IniCase> {
protected:
    void TearDown() override
    {
        setCdPlayerIniFile(nullptr);
        PlayerTest::TearDown();
    }
};

std::string textOr(const char *text)
{
    return text ? text : "<null>";
}

const uint32_t discId = 0xB0C2D04;

class CdPlayerFile : public PlayerTest {};

TEST_P(CdPlayerIni, TakesWhatTheCdPlayerKept)
{
    const IniCase &c = GetParam();
    std::string path = harness::scratchFolder() + "\\Cdplayer.ini";
    std::ofstream(path, std::ios::binary) << "[1234]\r\nartist=Another Disc\r\n\r\n[B0C2D04]\r\n" << c.section
                                          << "\r\n[B0C2D05]\r\nartist=Next Disc\r\n";
    setCdPlayerIniFile(path.c_str());
    load({{"D:", tracks(4, 200, discId)}});

    EXPECT_EQ(importCdPlayerTitles(1, discId), c.result);
    const TitleRecord &r = driveEntry(1)->title;
    EXPECT_EQ(textOr(r.artist), textOr(c.artist));
    EXPECT_EQ(textOr(r.discTitle), textOr(c.title));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(textOr(r.trackTitles[i]), textOr(i < (int)c.trackTitles.size() ? c.trackTitles[i] : nullptr))
            << "track " << i + 1;
    EXPECT_EQ(std::vector<int>(r.programList, r.programList + r.programLength), c.program);
    EXPECT_EQ(r.discText, nullptr);
    EXPECT_EQ(r.trackCount, 4);
    EXPECT_TRUE(fake::calls().empty()) << fake::callLog();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CdPlayerIni,
    ::testing::Values(
        IniCase{"PlaceholdersTakeNothing", "artist=New Artist\r\ntitle=New Title\r\nnumplay=0\r\n", 0, nullptr, nullptr,
                {}, {}},
        IniCase{"OtherCaseIsAnArtist", "artist=New artist\r\ntitle=new title\r\n", 1, "New artist", "new title", {}, {}},
        IniCase{"TrackNamesAsTheyStand", "0=Track 1\r\n3=Last One\r\n4=No Such Track\r\n", 1, nullptr, nullptr,
                {"Track 1", nullptr, nullptr, "Last One"}, {}},
        IniCase{"EverythingTogether", "artist=Band\r\ntitle=Album\r\n1=Two\r\nnumplay=2\r\norder=1 0\r\n", 1, "Band",
                "Album", {nullptr, "Two"}, {2, 1}},
        IniCase{"PlainOrderSetsNoProgram", "numplay=4\r\norder=0 1 2 3\r\n", 0, nullptr, nullptr, {}, {}},
        IniCase{"ReversedOrderIsAProgram", "numplay=4\r\norder=3 2 1 0\r\n", 1, nullptr, nullptr, {}, {4, 3, 2, 1}},
        IniCase{"ShortOrderIsAProgram", "numplay=2\r\norder=0 1\r\n", 1, nullptr, nullptr, {}, {1, 2}},
        IniCase{"TwoSpacesEndTheOrder", "numplay=4\r\norder=2  1 0 3\r\n", 1, nullptr, nullptr, {}, {3}},
        IniCase{"TabsAreSeparators", "numplay=3\r\norder=2\t0\t1\r\n", 1, nullptr, nullptr, {}, {3, 1, 2}},
        IniCase{"NoMoreThanNumplay", "numplay=2\r\norder=3 2 1 0\r\n", 1, nullptr, nullptr, {}, {4, 3}},
        IniCase{"TracksTheDiscLacksAreDropped", "numplay=5\r\norder=0 7 1 -3 3\r\n", 1, nullptr, nullptr, {}, {1, 2, 4}},
        IniCase{"OnlyMissingTracksIsNoOrder", "numplay=2\r\norder=9 12\r\n", 0, nullptr, nullptr, {}, {}},
        IniCase{"AbsurdNumplayIsIgnored", "numplay=20000\r\norder=3 2 1 0\r\n", 0, nullptr, nullptr, {}, {}},
        IniCase{"OrderWithoutNumplayIsIgnored", "order=3 2 1 0\r\n", 0, nullptr, nullptr, {}, {}},
        IniCase{"EmptySection", "", 0, nullptr, nullptr, {}, {}}),
    [](const ::testing::TestParamInfo<IniCase> &info) { return std::string(info.param.name); });

TEST_F(CdPlayerFile, MissingFileTakesNothing)
{
    setCdPlayerIniFile((harness::scratchFolder() + "\\Cdplayer.ini").c_str());
    load({{"D:", tracks(2, 200, discId)}});
    EXPECT_EQ(importCdPlayerTitles(1, discId), 0);
    EXPECT_EQ(driveEntry(1)->title.artist, nullptr);
    setCdPlayerIniFile(nullptr);
}

TEST_F(CdPlayerFile, ImportReplacesAProgramAndAnArtist)
{
    std::string path = harness::scratchFolder() + "\\Cdplayer.ini";
    std::ofstream(path, std::ios::binary) << "[B0C2D04]\r\nartist=New One\r\nnumplay=1\r\norder=1\r\n";
    setCdPlayerIniFile(path.c_str());
    load({{"D:", tracks(2, 200, discId)}});
    setText(driveEntry(1)->title.artist, "Old One");
    setProgram(1, {1, 1, 1});
    long blocks = titleBlocksInUse();
    EXPECT_EQ(importCdPlayerTitles(1, discId), 1);
    EXPECT_EQ(textOr(driveEntry(1)->title.artist), "New One");
    ASSERT_EQ(driveEntry(1)->title.programLength, 1);
    EXPECT_EQ(driveEntry(1)->title.programList[0], 2);
    EXPECT_EQ(titleBlocksInUse(), blocks) << "the old texts and program are released";
    setCdPlayerIniFile(nullptr);
}

} // namespace
