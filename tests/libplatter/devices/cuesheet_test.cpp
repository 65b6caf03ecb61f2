// cuesheet_test.cpp - CUE sheets read into discs: absolute starts (lead-in,
// PREGAP, POSTGAP, several files), track types, the last track's length
// from its file's size, where each track's bytes lie; and malformed sheets,
// each refused with the reason the diagnostics line will carry.
#include "libplatter/devices/cuesheet.h"
#include "tests/libplatter/devices/devicetest.h"

#include <map>

namespace {

using namespace devices;

const uint64_t kSector = 2352;

struct TrackWhere {
    int start;
    bool audio;
    int file;
    uint64_t startByte;
    int stride;
    int framesInFile;
};

struct GoodSheet {
    const char *name;
    const char *text;
    std::map<std::string, uint64_t> fileBytes; // data bytes each named file holds
    std::vector<TrackWhere> tracks;
    int leadOut;
};

// Printed as its name, in test lists and in CTest's test names.
void PrintTo(const GoodSheet &c, std::ostream *os)
{
    *os << c.name;
}

FileProbe probeFor(const std::map<std::string, uint64_t> &files)
{
    return [files](const std::string &name, ImageFileKind) {
        FileFacts facts;
        auto found = files.find(name);
        if (found == files.end()) {
            facts.problem = "not found";
            return facts;
        }
        facts.usable = true;
        facts.dataOffset = 44;
        facts.dataBytes = found->second;
        return facts;
    };
}

const GoodSheet kGoodSheets[] = {
    {"OneBinaryThreeTracks",
     "FILE \"disc.bin\" BINARY\n"
     "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
     "  TRACK 02 AUDIO\n    INDEX 00 03:00:00\n    INDEX 01 03:02:00\n"
     "  TRACK 03 AUDIO\n    INDEX 01 07:30:37\n",
     {{"disc.bin", 45000 * kSector}},
     {{150, true, 0, 0, 2352, 13650}, {13800, true, 0, 13650 * kSector, 2352, 20137},
      {33937, true, 0, 33787 * kSector, 2352, 11213}},
     45150},
    {"DataThenAudioWithPregap",
     "FILE \"game.bin\" BINARY\n"
     "  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n"
     "  TRACK 02 AUDIO\n    PREGAP 00:02:00\n    INDEX 01 10:00:00\n",
     {{"game.bin", 58500 * kSector}},
     {{150, false, 0, 0, 2352, 45000}, {45300, true, 0, 45000 * kSector, 2352, 13500}},
     58800},
    {"OneWaveFilePerTrack",
     "FILE \"01.wav\" WAVE\n TRACK 01 AUDIO\n  INDEX 01 00:00:00\n"
     "FILE \"02.wav\" WAVE\n TRACK 02 AUDIO\n  INDEX 01 00:00:00\n"
     "FILE \"03.wav\" WAVE\n TRACK 03 AUDIO\n  INDEX 01 00:00:00\n",
     {{"01.wav", 9000 * kSector}, {"02.wav", 13550 * kSector}, {"03.wav", 4501 * kSector + 100}},
     {{150, true, 0, 0, 2352, 9000}, {9150, true, 1, 0, 2352, 13550}, {22700, true, 2, 0, 2352, 4501}},
     27201},
    {"IsoThenAudioFileWithPostgap",
     "FILE \"data.iso\" BINARY\n TRACK 01 MODE1/2048\n  INDEX 01 00:00:00\n  POSTGAP 00:02:00\n"
     "FILE \"audio.bin\" BINARY\n TRACK 02 AUDIO\n  INDEX 01 00:00:00\n",
     {{"data.iso", 1000 * 2048}, {"audio.bin", 600 * kSector}},
     {{150, false, 0, 0, 2048, 1000}, {1300, true, 1, 0, 2352, 600}},
     1900},
    {"SectorSizesMixedInOneFile",
     "FILE mix.bin BINARY\n TRACK 01 MODE1/2048\n  INDEX 01 00:00:00\n TRACK 02 AUDIO\n  INDEX 01 00:10:00\n",
     {{"mix.bin", 750 * 2048 + 300 * kSector}},
     {{150, false, 0, 0, 2048, 750}, {900, true, 0, 750 * 2048, 2352, 300}},
     1200},
    {"TextsCommentsAnyCaseCrLfAndByteOrderMark",
     "\xEF\xBB\xBFREM GENRE Rock\r\nPERFORMER \"Some Band\"\r\nTITLE \"A Title\"\r\n"
     "file \"my disc.bin\" binary\r\n  track 01 audio\r\n    title \"One\"\r\n    flags DCP\r\n"
     "    isrc ABCDE1234567\r\n    index 01 00:00:00\r\n",
     {{"my disc.bin", 4500 * kSector}},
     {{150, true, 0, 0, 2352, 4500}},
     4650},
    {"KaraokeTrackIsAudio",
     "FILE \"k.bin\" BINARY\nTRACK 01 CDG\nINDEX 01 00:00:00\n",
     {{"k.bin", 100 * 2448}},
     {{150, true, 0, 0, 2448, 100}},
     250},
    {"Mode2AndPregapOnTrackOne",
     "FILE \"v.bin\" MOTOROLA\nTRACK 01 AUDIO\nPREGAP 00:01:00\nINDEX 01 00:00:00\n"
     "TRACK 02 MODE2/2336\nINDEX 01 00:20:00\n",
     {{"v.bin", 1500 * kSector + 75 * 2336}},
     {{225, true, 0, 0, 2352, 1500}, {1725, false, 0, 1500 * kSector, 2336, 75}},
     1800},
    // The usual layout of one file per track with the gaps kept: a track's
    // INDEX 00 lies at the end of the file before, its INDEX 01 in its own.
    {"GapAtTheEndOfThePreviousFile",
     "FILE \"01.wav\" WAVE\n TRACK 01 AUDIO\n  INDEX 01 00:00:00\n TRACK 02 AUDIO\n  INDEX 00 02:00:00\n"
     "FILE \"02.wav\" WAVE\n  INDEX 01 00:00:00\n TRACK 03 AUDIO\n  INDEX 00 01:00:00\n  INDEX 01 01:02:00\n",
     {{"01.wav", 9150 * kSector}, {"02.wav", 6000 * kSector}},
     {{150, true, 0, 0, 2352, 9150}, {9300, true, 1, 0, 2352, 4650}, {13950, true, 1, 4650 * kSector, 2352, 1350}},
     15300},
    {"TrackLineBeforeItsFile",
     "FILE \"a.wav\" WAVE\n TRACK 01 AUDIO\n  INDEX 01 00:00:00\n TRACK 02 AUDIO\n"
     "FILE \"b.wav\" WAVE\n  INDEX 00 00:00:00\n  INDEX 01 00:02:00\n",
     {{"a.wav", 1000 * kSector}, {"b.wav", 2000 * kSector}},
     {{150, true, 0, 0, 2352, 1000}, {1300, true, 1, 150 * kSector, 2352, 1850}},
     3150},
    {"AudioGapAfterDataTrackInItsFile",
     "FILE \"a.bin\" BINARY\n TRACK 01 MODE1/2048\n  INDEX 01 00:00:00\n TRACK 02 AUDIO\n  INDEX 00 00:10:00\n"
     "FILE \"b.bin\" BINARY\n  INDEX 01 00:00:00\n",
     {{"a.bin", 750 * 2048 + 150 * kSector}, {"b.bin", 300 * kSector}},
     {{150, false, 0, 0, 2048, 900}, {1050, true, 1, 0, 2352, 300}},
     1350},
};

class GoodSheetTest : public ::testing::TestWithParam<GoodSheet> {};

TEST_P(GoodSheetTest, GivesTheDiscItDescribes)
{
    const GoodSheet &sheet = GetParam();
    DiscImage image;
    std::string problem;
    ASSERT_TRUE(parseCueSheet(sheet.text, probeFor(sheet.fileBytes), &image, &problem)) << problem;
    ASSERT_EQ(image.toc.count(), (int)sheet.tracks.size());
    ASSERT_EQ(image.layout.size(), sheet.tracks.size());
    for (size_t i = 0; i < sheet.tracks.size(); ++i) {
        SCOPED_TRACE("track " + std::to_string(i + 1));
        const TrackWhere &want = sheet.tracks[i];
        EXPECT_EQ(image.toc.tracks[i].start, want.start);
        EXPECT_EQ(image.toc.tracks[i].audio, want.audio);
        EXPECT_EQ(image.layout[i].file, want.file);
        EXPECT_EQ(image.layout[i].startByte, want.startByte);
        EXPECT_EQ(image.layout[i].stride, want.stride);
        EXPECT_EQ(image.layout[i].framesInFile, want.framesInFile);
    }
    EXPECT_EQ(image.toc.leadOut, sheet.leadOut);
    EXPECT_EQ(image.files.size(), sheet.fileBytes.size());
}

INSTANTIATE_TEST_SUITE_P(Sheets, GoodSheetTest, ::testing::ValuesIn(kGoodSheets),
                         [](const ::testing::TestParamInfo<GoodSheet> &info) { return std::string(info.param.name); });

struct BadSheet {
    const char *name;
    std::string text;
    const char *problem;
};

// Printed as its name, in test lists and in CTest's test names.
void PrintTo(const BadSheet &c, std::ostream *os)
{
    *os << c.name;
}

const char *const kOneTrack = "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n";

const BadSheet kBadSheets[] = {
    {"Empty", "", "the sheet has no tracks"},
    {"OnlyText", "REM nothing\nTITLE \"x\"\n", "the sheet has no tracks"},
    {"TrackBeforeFile", "TRACK 01 AUDIO\nINDEX 01 00:00:00\n", "line 1: TRACK before any FILE"},
    {"TrackNumbersSkip", std::string(kOneTrack) + "TRACK 03 AUDIO\nINDEX 01 01:00:00\n",
     "line 4: tracks must be numbered 1, 2, 3 ... in order"},
    {"FirstTrackIsNotOne", "FILE \"a.bin\" BINARY\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n",
     "line 2: tracks must be numbered 1, 2, 3 ... in order"},
    {"NoIndexOne", "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 00 00:00:00\n", "track 1 has no INDEX 01"},
    {"NoIndexOneBeforeNextTrack", "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n",
     "line 3: track 1 has no INDEX 01"},
    {"SecondsOutOfRange", "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:60:00\n",
     "line 3: INDEX time is not mm:ss:ff"},
    {"FramesOutOfRange", "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:75\n",
     "line 3: INDEX time is not mm:ss:ff"},
    {"TimeNotMsf", "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 1:2\n", "line 3: INDEX time is not mm:ss:ff"},
    {"UnknownTrackType", "FILE \"a.bin\" BINARY\nTRACK 01 MODE3/2352\nINDEX 01 00:00:00\n",
     "line 2: unknown TRACK type"},
    {"UnknownFileType", "FILE \"a.mp3\" MP3\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n",
     "line 1: FILE type must be BINARY, MOTOROLA or WAVE"},
    {"MissingDataFile", "FILE \"gone.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n",
     "line 1: data file \"gone.bin\": not found"},
    {"FileEndsBeforeLastTrack", std::string(kOneTrack) + "TRACK 02 AUDIO\nINDEX 01 20:00:00\n",
     "data file \"a.bin\" ends before track 2"},
    {"WaveWithDataTrack", "FILE \"a.wav\" WAVE\nTRACK 01 MODE1/2352\nINDEX 01 00:00:00\n",
     "line 2: a WAVE file can only hold AUDIO tracks"},
    {"IndexGoesBack", std::string(kOneTrack) + "TRACK 02 AUDIO\nINDEX 01 01:00:00\nTRACK 03 AUDIO\nINDEX 01 00:30:00\n",
     "line 7: INDEX times must not go back"},
    {"TwoTracksStartTogether", std::string(kOneTrack) + "TRACK 02 AUDIO\nINDEX 01 00:00:00\n",
     "line 5: a track must not start where the one before it starts"},
    {"ParentFolderEscape", "FILE \"..\\secret.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n",
     "line 1: FILE must name a file inside the drive's folder"},
    {"AbsolutePath", "FILE \"C:\\data\\a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n",
     "line 1: FILE must name a file inside the drive's folder"},
    {"QuoteNotClosed", "FILE \"a.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n", "line 1: a quote is not closed"},
    {"PregapAfterIndex", "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nPREGAP 00:02:00\n",
     "line 4: PREGAP must come before the track's INDEX lines"},
    {"IndexTwoWithoutOne", "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 02 00:00:00\n",
     "line 3: INDEX numbers must start at 0 or 1 and rise"},
    {"IndexOutsideTrack", "FILE \"a.bin\" BINARY\nINDEX 01 00:00:00\n", "line 2: INDEX outside a TRACK"},
    {"FileWithoutTrack", "FILE \"a.bin\" BINARY\nFILE \"b.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n",
     "a FILE holds no track"},
    {"GapFileBetweenHoldsNoTrack",
     std::string(kOneTrack) + "TRACK 02 AUDIO\nINDEX 00 00:10:00\nFILE \"b.bin\" BINARY\nFILE \"a.wav\" WAVE\n"
                              "INDEX 01 00:00:00\n",
     "a FILE holds no track"},
    {"DataTrackIndexOneInWave",
     std::string(kOneTrack) + "TRACK 02 MODE1/2352\nINDEX 00 00:10:00\nFILE \"a.wav\" WAVE\nINDEX 01 00:00:00\n",
     "line 7: a WAVE file can only hold AUDIO tracks"},
    {"SubIndexInTheNextFile",
     std::string(kOneTrack) + "FILE \"b.bin\" BINARY\nINDEX 02 00:00:00\n", "line 5: INDEX outside a TRACK"},
    {"NoIndexOneAfterGapInPreviousFile",
     std::string(kOneTrack) + "TRACK 02 AUDIO\nINDEX 00 00:10:00\nFILE \"b.bin\" BINARY\n", "track 2 has no INDEX 01"},
    {"ControlCharacter", "FILE \"a\x01.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n",
     "line 1: the line holds a control character"},
    {"TooLarge", std::string(70000, ' ') + kOneTrack, "the sheet is too large to be a CUE sheet"},
    {"LongerThanADisc", "FILE \"huge.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n",
     "the disc is longer than 99:59:74"},
};

class BadSheetTest : public ::testing::TestWithParam<BadSheet> {};

TEST_P(BadSheetTest, IsRefusedWithItsReason)
{
    std::map<std::string, uint64_t> files = {
        {"a.bin", 4500 * kSector}, {"b.bin", 4500 * kSector}, {"a.wav", 4500 * kSector},
        {"huge.bin", 450000 * kSector}};
    DiscImage image;
    image.toc.leadOut = 12345; // must survive a refusal
    std::string problem;
    EXPECT_FALSE(parseCueSheet(GetParam().text, probeFor(files), &image, &problem));
    EXPECT_EQ(problem, GetParam().problem);
    EXPECT_EQ(image.toc.leadOut, 12345);
    EXPECT_TRUE(image.toc.tracks.empty());
}

INSTANTIATE_TEST_SUITE_P(Sheets, BadSheetTest, ::testing::ValuesIn(kBadSheets),
                         [](const ::testing::TestParamInfo<BadSheet> &info) { return std::string(info.param.name); });

struct NameCase {
    const char *name;
    bool safe;
};

TEST(ImageFileNameTest, StaysInsideTheFolder)
{
    const NameCase cases[] = {{"a.bin", true},       {"sub\\a.bin", true},   {"sub/a.bin", true},
                              {"..\\a.bin", false},  {"sub/../../a", false}, {"\\a.bin", false},
                              {"/a.bin", false},     {"C:a.bin", false},     {"", false},
                              {"sub\\\\a.bin", false}, {"..", false},        {"a..b.bin", true}};
    for (const NameCase &c : cases)
        EXPECT_EQ(isSafeImageFileName(c.name), c.safe) << c.name;
}

// Where the sound of a frame lies: in the track's file, or silence in gaps,
// data tracks and the lead-in.
TEST(AudioSourceTest, MapsFramesToFileBytes)
{
    DiscImage image;
    std::string problem;
    std::map<std::string, uint64_t> files = {{"game.bin", 58500 * kSector}};
    ASSERT_TRUE(parseCueSheet(kGoodSheets[1].text, probeFor(files), &image, &problem)) << problem;
    struct Probe {
        int frame;
        int file;
        uint64_t offset;
    } probes[] = {
        {100, -1, 0},                                // lead-in
        {150, -1, 0},                                // the data track
        {45299, -1, 0},                              // the PREGAP silence
        {45300, 0, 44 + 45000 * kSector},            // audio track's first frame
        {45301, 0, 44 + 45001 * kSector},
        {58799, 0, 44 + 58499 * kSector},            // the disc's last frame
        {58800, -1, 0},                              // the lead-out
    };
    for (const Probe &p : probes) {
        AudioSource source = audioSourceAt(image, p.frame);
        EXPECT_EQ(source.file, p.file) << p.frame;
        EXPECT_EQ(source.offset, p.offset) << p.frame;
    }
}

} // namespace
