// folderwork_test.cpp - how much a virtual drive's folder costs while
// nothing changes: the folder is searched for its description only when its
// entries change and a description is parsed only when it or its data
// files change (a broken one too); and the sound's data file that cannot
// be opened is tried again only after a pause that grows, not for every
// frame.
#include "libplatter/devices/cuesheet.h"
#include "libplatter/devices/discreader.h"
#include "libplatter/devices/imagefolder.h"
#include "tests/libplatter/devices/devicetest.h"

namespace {

using namespace devicetest;
using namespace devices;

const char *const kSheet = "FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n";

TEST(FolderWork, SearchedAndParsedOnlyWhenSomethingChanged)
{
    std::string folder = freshDriveFolder();
    writeText(folder + "\\disc.cue", kSheet);
    ImageFolder images(folder);
    for (int i = 0; i < 20; ++i)
        EXPECT_FALSE(images.refresh().valid) << "a.bin is missing";
    EXPECT_EQ(images.searches(), 1);
    EXPECT_EQ(images.loads(), 1) << "the broken sheet is parsed once while nothing changes";

    makeFile(folder + "\\a.bin", 100 * 2352);
    EXPECT_TRUE(images.refresh().valid) << "a new file in the folder is seen at once";
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(images.refresh().valid);
    EXPECT_EQ(images.searches(), 2);
    EXPECT_EQ(images.loads(), 2);

    // Changes that leave the folder's entries alone are still seen.
    writeText(folder + "\\disc.cue", std::string(kSheet) + "REM changed\n");
    shiftWriteTime(folder + "\\disc.cue", 10);
    EXPECT_TRUE(images.refresh().valid);
    EXPECT_EQ(images.loads(), 3) << "the sheet was written again";
    makeFile(folder + "\\a.bin", 50 * 2352);
    shiftWriteTime(folder + "\\a.bin", 10);
    EXPECT_EQ(images.refresh().image->toc.leadOut, 200) << "the data file got shorter";
}

TEST(FolderWork, AMissingDataFileIsTriedAgainAfterAGrowingPause)
{
    std::string folder = freshDriveFolder();
    auto image = std::make_shared<DiscImage>();
    std::string problem;
    FileProbe probe = [](const std::string &, ImageFileKind) {
        FileFacts facts;
        facts.usable = true;
        facts.dataBytes = 1000 * 2352;
        return facts;
    };
    ASSERT_TRUE(parseCueSheet(kSheet, probe, image.get(), &problem)) << problem;
    DiscReader reader;
    reader.use(image, folder);
    std::vector<unsigned char> sound(10 * kAudioFrameBytes);
    struct Step {
        uint64_t at;
        int attempts;
    } steps[] = {{0, 1}, {13, 1}, {999, 1}, {1000, 2}, {2999, 2}, {3000, 3}};
    for (const Step &step : steps) {
        // 75 frames a second: the sound thread's pace.
        reader.read(150, 10, sound.data(), step.at);
        EXPECT_EQ(reader.openAttempts(), step.attempts) << "at " << step.at << " ms";
    }
    writeText(folder + "\\a.bin", std::string(20 * 2352, '\x11'));
    reader.read(150, 10, sound.data(), 3500);
    EXPECT_EQ(sound[0], 0) << "not tried again yet";
    reader.read(150, 10, sound.data(), 7000);
    EXPECT_EQ(sound[0], 0x11) << "read once the pause is over";
}

} // namespace
