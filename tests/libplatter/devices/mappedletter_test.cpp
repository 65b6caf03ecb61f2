// mappedletter_test.cpp - end to end on a real drive letter: the test
// prefix maps D: as a CD-ROM drive to build/testdrives/d. Opening D: asks
// the device for its table of contents, Wine answers "invalid function",
// and the library serves the letter's root folder as a virtual drive. The
// only test that touches testdrives/d.
#include "libplatter/devices/shareddrive.h"
#include "tests/libplatter/devices/devicetest.h"

namespace {

using namespace devicetest;

TEST(MappedLetterTest, FolderBackedCdRomLetterIsAVirtualDrive)
{
    if (GetDriveTypeA("D:\\") != DRIVE_CDROM)
        SKIP_OR_FAIL_WITHOUT("D: is not a CD-ROM letter in this prefix");
    std::string folder = harness::binFolder() + "\\..\\testdrives\\d";
    ASSERT_TRUE(harness::fileExists(folder)) << folder;
    std::string image = folder + "\\spindle2-mapped-test.toc";
    DeleteFileA(devices::trayFileName("D:\\").c_str());
    writeText(image, "TRACK 1 AUDIO 00:02:00\nTRACK 2 DATA 03:00:00\nLEADOUT 04:00:00\n");

    DiagLines diag;
    cd_handle_t drive = cd_init();
    ASSERT_EQ(cd_open(drive, "D:", 0), PLATTER_OK);
    EXPECT_EQ(diag.count("Drive D: takes no CD-ROM commands; virtual"), 1);
    EXPECT_EQ(cd_check_if_media(drive), PLATTER_OK);
    int count = 0, type = 0;
    ASSERT_EQ(cd_read_data(drive), PLATTER_OK);
    ASSERT_EQ(cd_get_num_tracks(drive, &count), PLATTER_OK);
    EXPECT_EQ(count, 2);
    ASSERT_EQ(cd_get_track_type(drive, 2, &type), PLATTER_OK);
    EXPECT_EQ(type, PLATTER_TRACK_DATA);
    EXPECT_EQ(cd_play(drive, 1, 0, 0, 0, 0), PlayStatePlaying);
    EXPECT_EQ(cd_stop(drive), PlayStateStopped);
    EXPECT_EQ(cd_eject(drive), PLATTER_OK);
    EXPECT_EQ(cd_check_if_media(drive), PLATTER_FAIL);

    ASSERT_TRUE(DeleteFileA(image.c_str()));
    EXPECT_EQ(cd_check_if_media(drive), PLATTER_FAIL);
    cd_close(drive);
    cd_cleanup(drive);
    DeleteFileA(devices::trayFileName("D:\\").c_str());
}

} // namespace
