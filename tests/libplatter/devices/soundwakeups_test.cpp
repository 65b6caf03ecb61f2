// soundwakeups_test.cpp - a virtual drive's sound thread sleeps while its
// drive does not play: it wakes for a change of the shared play state (a
// command from any process), not on a period.
#include "libplatter/devices/audiofeed.h"
#include "libplatter/devices/virtualdrive.h"
#include "tests/libplatter/devices/devicetest.h"

namespace {

using namespace devicetest;
using namespace devices;

TEST(SoundWakeups, IdleThreadSleepsUntilThePlayStateChanges)
{
    std::string folder = freshDriveFolder();
    writeText(folder + "\\disc.toc", kFourTrackToc);
    std::unique_ptr<AudioFeed> feed = AudioFeed::start(folder, "T:");
    ASSERT_TRUE(feed);
    Sleep(1000);
    EXPECT_LE(feed->wakeups(), 1) << "woke on a period while nothing happened";

    // Another opener of the same folder gives a command: the thread looks.
    setVirtualDriveAudio(false);
    std::unique_ptr<VirtualDrive> drive = VirtualDrive::open(folder, "T:");
    setVirtualDriveAudio(true);
    ASSERT_TRUE(drive);
    DiscToc toc;
    ASSERT_TRUE(drive->readToc(&toc));
    int before = feed->wakeups();
    EXPECT_EQ(drive->play(toc, toc.tracks[0].start, toc.leadOut), 3);
    EXPECT_TRUE(harness::pumpUntil([&] { return feed->wakeups() > before; }, 5000)) << "missed the command";
    drive->stop();
}

} // namespace
