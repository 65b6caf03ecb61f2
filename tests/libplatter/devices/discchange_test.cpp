// discchange_test.cpp - cd_disc_changed on a virtual drive: an image written
// over the one whose table of contents was read is another disc, until it
// is read; the same image, an empty drive or a drive never read is not.
#include "tests/libplatter/devices/devicetest.h"

#include <ostream>

namespace {

using namespace devicetest;

const char *const kOtherDisc = "TRACK 1 AUDIO 00:04:00\nTRACK 2 AUDIO 02:00:00\nLEADOUT 05:00:00\n";

enum class Change { Nothing, OtherDisc, SameTextAgain, Touched, Removed, OtherDataFile };

struct ChangeCase {
    const char *name;
    Change change;
    int changed;        // cd_disc_changed after the change
    uint32_t newCount;  // tracks read after the change (0: no disc)
};

void PrintTo(const ChangeCase &c, std::ostream *os)
{
    *os << c.name;
}

class DiscChange : public VirtualDriveTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(DiscChange, ImageWrittenOverIsAnotherDiscUntilRead)
{
    const ChangeCase &c = GetParam();
    writeText(path("disc.toc"), kFourTrackToc);
    ASSERT_TRUE(openDrive());
    EXPECT_EQ(cd_disc_changed(handle_), PLATTER_FAIL) << "nothing was read yet";
    ASSERT_EQ(cd_check_if_media(handle_), PLATTER_OK);
    ASSERT_EQ(cd_read_data(handle_), PLATTER_OK);
    uint32_t oldId = 0;
    ASSERT_EQ(cd_get_win_id(handle_, &oldId), PLATTER_OK);
    EXPECT_EQ(cd_disc_changed(handle_), PLATTER_FAIL);

    switch (c.change) {
    case Change::Nothing:
        break;
    case Change::OtherDisc:
        writeText(path("disc.toc"), kOtherDisc);
        shiftWriteTime(path("disc.toc"), 3);
        break;
    case Change::SameTextAgain:
        writeText(path("disc.toc"), kFourTrackToc);
        shiftWriteTime(path("disc.toc"), 3);
        break;
    case Change::Touched:
        shiftWriteTime(path("disc.toc"), 3);
        break;
    case Change::Removed:
        ASSERT_TRUE(DeleteFileA(path("disc.toc").c_str()));
        break;
    case Change::OtherDataFile:
        // A cue sheet now describes the drive: it wins over the TOC file.
        makeFile(path("disc.bin"), 4 * 2352 * 75);
        writeText(path("disc.cue"), "FILE \"disc.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n");
        break;
    }

    EXPECT_EQ(cd_disc_changed(handle_), c.changed);
    // Asking does not read: until the disc is read again, the old one is what the handle knows.
    uint32_t id = 0;
    EXPECT_EQ(cd_get_win_id(handle_, &id), PLATTER_OK);
    EXPECT_EQ(id, oldId);
    if (c.newCount == 0) {
        EXPECT_EQ(cd_read_data(handle_), PLATTER_FAIL);
        EXPECT_EQ(cd_disc_changed(handle_), PLATTER_FAIL);
        return;
    }
    ASSERT_EQ(cd_read_data(handle_), PLATTER_OK);
    int count = 0;
    ASSERT_EQ(cd_get_num_tracks(handle_, &count), PLATTER_OK);
    EXPECT_EQ(count, (int)c.newCount);
    EXPECT_EQ(cd_disc_changed(handle_), PLATTER_FAIL) << "read: this is the disc the handle knows";
}

INSTANTIATE_TEST_SUITE_P(Changes, DiscChange,
                         ::testing::Values(ChangeCase{"Untouched", Change::Nothing, 0, 4},
                                           ChangeCase{"OtherDiscWrittenOver", Change::OtherDisc, 1, 2},
                                           ChangeCase{"SameTextWrittenAgain", Change::SameTextAgain, 1, 4},
                                           ChangeCase{"TimesChanged", Change::Touched, 1, 4},
                                           ChangeCase{"ImageRemovedIsNoChange", Change::Removed, 0, 0},
                                           ChangeCase{"CueSheetAdded", Change::OtherDataFile, 1, 1}),
                         [](const ::testing::TestParamInfo<ChangeCase> &info) { return std::string(info.param.name); });

TEST_F(VirtualDriveTest, EjectForgetsTheDiscThatWasRead)
{
    writeText(path("disc.toc"), kFourTrackToc);
    ASSERT_TRUE(openDrive());
    ASSERT_EQ(cd_read_data(handle_), PLATTER_OK);
    ASSERT_EQ(cd_eject(handle_), PLATTER_OK);
    writeText(path("disc.toc"), kOtherDisc);
    shiftWriteTime(path("disc.toc"), 3);
    // The tray closed on a new disc: that is an arrival, not a swap.
    EXPECT_EQ(cd_check_if_media(handle_), PLATTER_OK);
    EXPECT_EQ(cd_disc_changed(handle_), PLATTER_FAIL);
}

} // namespace
