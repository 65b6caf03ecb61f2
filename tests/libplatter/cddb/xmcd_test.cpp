// xmcd_test.cpp - entries read by the xmcd parser (joined keywords,
// escapes, the DTITLE split, line ends), entries refused with the reason
// the diagnostics will show, the writer's long lines split and read back
// the same, and the range files of the Windows layout.
#include "libplatter/cddb/xmcd.h"
#include "libplatter/utf8.h"

#include <gtest/gtest.h>

namespace {

using namespace cddb;

const char kHeader[] = "# xmcd\n#\n# Track frame offsets:\n#\t150\n#  18000\n#\n# Disc length: 600 seconds\n#\n"
                       "# Revision: 7\n# Submitted via: Someone 1.0\n#\n";

struct GoodEntry {
    const char *name;
    std::string text;
    const char *artist, *title, *discText;
    std::vector<std::string> tracks, texts;
    std::vector<int> playOrder;
};

void PrintTo(const GoodEntry &c, std::ostream *os) { *os << c.name; }

class XmcdGood : public ::testing::TestWithParam<GoodEntry> {};

TEST_P(XmcdGood, ReadsTexts)
{
    const GoodEntry &c = GetParam();
    XmcdEntry entry;
    std::string problem;
    ASSERT_TRUE(parseXmcd(c.text, &entry, &problem)) << problem;
    EXPECT_EQ(c.artist, entry.artist);
    EXPECT_EQ(c.title, entry.title);
    EXPECT_EQ(c.discText, entry.discText);
    EXPECT_EQ(c.tracks, entry.trackTitles);
    EXPECT_EQ(c.texts, entry.trackTexts);
    EXPECT_EQ(c.playOrder, entry.playOrder);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, XmcdGood,
    ::testing::Values(
        GoodEntry{"Plain",
                  std::string(kHeader) + "DISCID=0a0b0c02\nDTITLE=Artist / Title\nDYEAR=1999\nDGENRE=Rock\n"
                                         "TTITLE0=One\nTTITLE1=Two\nEXTD=\nEXTT0=\nEXTT1=Note\nPLAYORDER=2,1\n",
                  "Artist", "Title", "", {"One", "Two"}, {"", "Note"}, {2, 1}},
        GoodEntry{"RepeatedKeywordsJoinedAndEscapesAcrossLines",
                  std::string(kHeader) + "DISCID=0a0b0c02\nDTITLE=A long art\nDTITLE=ist / Its title\n"
                                         "TTITLE0=Tab\\there\nTTITLE1=back\\\nTTITLE1=\\slash\n"
                                         "EXTD=line one\\\nEXTD=nline two\nPLAYORDER=1,\nPLAYORDER=2,7,x\n",
                  "A long artist", "Its title", "line one\nline two", {"Tab\there", "back\\slash"}, {"", ""},
                  {1, 2}},
        GoodEntry{"NoSeparatorMeansArtistAndTitleAlike",
                  std::string(kHeader) + "DISCID=0a0b0c02\nDTITLE=Same Name\nTTITLE0=a\nTTITLE1=b\n", "Same Name",
                  "Same Name", "", {"a", "b"}, {"", ""}, {}},
        GoodEntry{"CrLfLinesByteOrderMarkAndUnknownKeywords",
                  "\xEF\xBB\xBF# xmcd\r\n#\r\n# Track frame offsets:\r\n#\t150\r\n#\t18000\r\n#\r\n"
                  "DISCID=0a0b0c02,11223344\r\nDTITLE= / Only Title\r\nDNEWKEY=later versions\r\n"
                  "TTITLE0=x\r\nTTITLE1=y\r\n",
                  "", "Only Title", "", {"x", "y"}, {"", ""}, {}},
        GoodEntry{"NoOffsetsTrackCountFromTitles",
                  "# xmcd\nDISCID=0a0b0c03\nDTITLE=A / \nTTITLE0=a\nTTITLE1=b\nTTITLE2=c\n", "A", "", "",
                  {"a", "b", "c"}, {"", "", ""}, {}}));

struct BadEntry {
    const char *name;
    std::string text;
    const char *problem; // part of the reason
};

void PrintTo(const BadEntry &c, std::ostream *os) { *os << c.name; }

class XmcdBad : public ::testing::TestWithParam<BadEntry> {};

TEST_P(XmcdBad, RefusedWithReason)
{
    const BadEntry &c = GetParam();
    XmcdEntry entry;
    entry.artist = "untouched";
    std::string problem;
    EXPECT_FALSE(parseXmcd(c.text, &entry, &problem));
    EXPECT_NE(std::string::npos, problem.find(c.problem)) << problem;
    EXPECT_EQ("untouched", entry.artist);
}

const std::string kTitles = "TTITLE0=a\nTTITLE1=b\n";

INSTANTIATE_TEST_SUITE_P(
    Entries, XmcdBad,
    ::testing::Values(
        BadEntry{"NoSignature", "DISCID=0a0b0c02\nDTITLE=A / T\n" + kTitles, "does not start with"},
        BadEntry{"Empty", "", "does not start with"},
        BadEntry{"NoDiscId", std::string(kHeader) + "DTITLE=A / T\n" + kTitles, "no DISCID"},
        BadEntry{"BadDiscId", std::string(kHeader) + "DISCID=xyz\nDTITLE=A / T\n" + kTitles, "no disc id"},
        BadEntry{"NoTitle", std::string(kHeader) + "DISCID=0a0b0c02\n" + kTitles, "no DTITLE"},
        BadEntry{"AnnouncesMoreTracksThanItLists",
                 std::string(kHeader) + "DISCID=0a0b0c02\nDTITLE=A / T\nTTITLE0=a\n", "announces 2 tracks"},
        BadEntry{"TrackBeyondItsOffsets",
                 std::string(kHeader) + "DISCID=0a0b0c02\nDTITLE=A / T\n" + kTitles + "TTITLE2=c\n",
                 "announces 2 tracks"},
        BadEntry{"TrackNumberBeyond99",
                 std::string(kHeader) + "DISCID=0a0b0c02\nDTITLE=A / T\nTTITLE123=a\n", "beyond 99"},
        BadEntry{"LineOver256Characters",
                 std::string(kHeader) + "DISCID=0a0b0c02\nDTITLE=" + std::string(250, 'x') + "\n" + kTitles,
                 "line 13 is longer than 256"},
        BadEntry{"ControlCharacter", std::string(kHeader) + "DISCID=0a0b0c02\nDTITLE=A\x01 / T\n" + kTitles,
                 "control character"},
        BadEntry{"NeitherCommentNorKeyword",
                 std::string(kHeader) + "DISCID=0a0b0c02\nDTITLE=A / T\njust words\n" + kTitles,
                 "neither a comment nor a keyword"},
        BadEntry{"OffsetsNotIncreasing",
                 "# xmcd\n# Track frame offsets:\n# 900\n# 150\n#\nDISCID=0a0b0c02\nDTITLE=A\n" + kTitles,
                 "do not increase"}));

// A 256-character line made of two-byte characters is still within bounds.
TEST(Xmcd, LineLimitCountsCharactersNotBytes)
{
    std::string title;
    for (int i = 0; i < 240; ++i)
        title += "\xC3\xA9"; // é
    XmcdEntry entry;
    std::string problem;
    EXPECT_TRUE(parseXmcd("# xmcd\nDISCID=0a0b0c01\nDTITLE=" + title + "\nTTITLE0=a\n", &entry, &problem))
        << problem;
    EXPECT_EQ(title, entry.title);
}

TEST(Xmcd, WriterSplitsLongValuesAndReadsBackTheSame)
{
    XmcdEntry entry;
    entry.offsets = {150, 20000, 40000};
    entry.discLengthSeconds = 700;
    entry.revision = 3;
    entry.submittedVia = "Spindle2 v3.00";
    entry.discIds = {0x1402ce03};
    entry.artist = "Art\\ist";
    entry.title = std::string(300, 'T');
    entry.discText = "";
    for (int i = 0; i < 120; ++i)
        entry.discText += "\xE2\x82\xAC\\\n\t"; // euro sign, backslash, newline, tab
    entry.trackTitles = {"one", std::string(600, 'b'), ""};
    entry.trackTexts = {"", "", std::string(255, '\\')};
    entry.playOrder = {3, 1};
    std::string text = writeXmcd(entry);

    size_t start = 0, lines = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end - start);
        EXPECT_LE(utf8::characterCount(line), kMaxWrittenLineChars) << line.substr(0, 20);
        EXPECT_TRUE(utf8::isValid(line)) << "a character was cut: " << line.substr(0, 20);
        start = end + 1;
        ++lines;
    }
    EXPECT_GT(lines, 30u);
    EXPECT_NE(std::string::npos, text.find("# Revision: 3\n# Submitted via: Spindle2 v3.00\n"));
    EXPECT_NE(std::string::npos, text.find("DYEAR=\nDGENRE=\n"));

    XmcdEntry back;
    std::string problem;
    ASSERT_TRUE(parseXmcd(text, &back, &problem)) << problem;
    EXPECT_EQ(entry.offsets, back.offsets);
    EXPECT_EQ(700, back.discLengthSeconds);
    EXPECT_EQ(3, back.revision);
    EXPECT_EQ(entry.discIds, back.discIds);
    EXPECT_EQ(entry.artist, back.artist);
    EXPECT_EQ(entry.title, back.title);
    EXPECT_EQ(entry.discText, back.discText);
    EXPECT_EQ(entry.trackTitles, back.trackTitles);
    EXPECT_EQ(entry.trackTexts, back.trackTexts);
    EXPECT_EQ(entry.playOrder, back.playOrder);
}

TEST(Xmcd, EscapesRoundTrip)
{
    const char *const values[] = {"", "plain", "a\\b", "\\n is not a newline", "x\ny\tz\\", "\\\\\\"};
    for (const char *value : values)
        EXPECT_EQ(value, unescapeValue(escapeValue(value))) << value;
    EXPECT_EQ("a\\\\b\\nc\\td", escapeValue("a\\b\nc\td"));
    EXPECT_EQ("stray CR gone", escapeValue("stray CR\r gone"));
    EXPECT_EQ("\\q stays", unescapeValue("\\q stays"));
}

TEST(Xmcd, RangeFilesSplitIntoEntries)
{
    std::vector<RangeFileEntry> entries;
    std::string problem;
    ASSERT_TRUE(splitRangeFile("\n#FILENAME=0a0b0c02\n# xmcd\nDISCID=0a0b0c02\n#FILENAME=0A0B0C03\n# xmcd\n",
                               &entries, &problem))
        << problem;
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(0x0a0b0c02u, entries[0].id);
    EXPECT_EQ("# xmcd\nDISCID=0a0b0c02\n", entries[0].text);
    EXPECT_EQ(0x0a0b0c03u, entries[1].id);

    EXPECT_FALSE(splitRangeFile("junk first\n#FILENAME=0a0b0c02\n", &entries, &problem));
    EXPECT_NE(std::string::npos, problem.find("before the first"));
    EXPECT_FALSE(splitRangeFile("#FILENAME=nothex!!\n", &entries, &problem));
    EXPECT_EQ("#FILENAME=00c0ffee", rangeFileMarker(0xc0ffee));
}

} // namespace

namespace {

// Found by fuzzing: an entry without the separator whose name ends in " /"
// came back split in two once written.
TEST(Xmcd, SelfTitledEntryKeepsItsName)
{
    cddb::XmcdEntry entry;
    std::string problem;
    ASSERT_TRUE(cddb::parseXmcd("# xmcd\nDISCID=0a0b0c01\nDTITLE=Cl\xFFst /\nTTITLE0=a\n", &entry, &problem));
    EXPECT_EQ("Cl\xFFst /", entry.artist);
    cddb::XmcdEntry back;
    ASSERT_TRUE(cddb::parseXmcd(cddb::writeXmcd(entry), &back, &problem)) << problem;
    EXPECT_EQ(entry.artist, back.artist);
    EXPECT_EQ(entry.title, back.title);
}

} // namespace
