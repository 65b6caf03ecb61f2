// handles_test.cpp - every device call on a handle that was never made, was
// released, was never opened or was closed fails, leaves its outputs alone
// and changes nothing on the drive; cd_open refuses names that name no
// drive and a handle that is already open.
#include "tests/libplatter/devices/devicetest.h"

#include <functional>

namespace {

using namespace devicetest;

const int kUntouched = -12345;

struct Call {
    const char *name;
    std::function<int(cd_handle_t, int *)> run; // fills the int it is given, if it fills anything
};

const Call kCalls[] = {
    {"check_if_media", [](cd_handle_t h, int *) { return cd_check_if_media(h); }},
    {"read_data", [](cd_handle_t h, int *) { return cd_read_data(h); }},
    {"get_num_tracks", [](cd_handle_t h, int *out) { return cd_get_num_tracks(h, out); }},
    {"get_track_type", [](cd_handle_t h, int *out) { return cd_get_track_type(h, 1, out); }},
    {"get_track_time", [](cd_handle_t h, int *out) { return cd_get_track_time(h, 1, out, out, out, out, out, out); }},
    {"get_cur_time_info",
     [](cd_handle_t h, int *out) { return cd_get_cur_time_info(h, out, out, out, out, out, out, out); }},
    {"get_win_id", [](cd_handle_t h, int *out) { return cd_get_win_id(h, (uint32_t *)out); }},
    {"get_cddb_id", [](cd_handle_t h, int *out) { return cd_get_cddb_id(h, (uint32_t *)out); }},
    {"check_status", [](cd_handle_t h, int *) { return cd_check_status(h); }},
    {"play", [](cd_handle_t h, int *) { return cd_play(h, 1, 0, 0, 0, 0); }},
    {"pause", [](cd_handle_t h, int *) { return cd_pause(h); }},
    {"resume", [](cd_handle_t h, int *) { return cd_resume(h, 1, 0); }},
    {"stop", [](cd_handle_t h, int *) { return cd_stop(h); }},
    {"eject", [](cd_handle_t h, int *) { return cd_eject(h); }},
    {"close", [](cd_handle_t h, int *) { return cd_close(h); }},
};

// How the handle came to be unusable.
enum class Dead { NeverMade, Zero, Released, NeverOpened, Closed, FailedOpen };

struct DeadCase {
    const char *name;
    Dead how;
};

// Printed as its name, in test lists and in CTest's test names.
void PrintTo(const DeadCase &c, std::ostream *os)
{
    *os << c.name;
}

const DeadCase kDeadCases[] = {
    {"NeverMade", Dead::NeverMade}, {"Zero", Dead::Zero},     {"Released", Dead::Released},
    {"NeverOpened", Dead::NeverOpened}, {"Closed", Dead::Closed}, {"FailedOpen", Dead::FailedOpen},
};

class DeadHandleTest : public VirtualDriveTest, public ::testing::WithParamInterface<DeadCase> {
protected:
    cd_handle_t deadHandle()
    {
        switch (GetParam().how) {
        case Dead::NeverMade:
            return handle_ + 1000;
        case Dead::Zero:
            return 0;
        case Dead::Released: {
            cd_handle_t h = cd_init();
            EXPECT_EQ(cd_open(h, kDrive, 0), PLATTER_OK);
            EXPECT_EQ(cd_cleanup(h), PLATTER_OK);
            return h;
        }
        case Dead::NeverOpened:
            return cd_init();
        case Dead::Closed: {
            cd_handle_t h = cd_init();
            EXPECT_EQ(cd_open(h, kDrive, 0), PLATTER_OK);
            EXPECT_EQ(cd_close(h), PLATTER_OK);
            return h;
        }
        case Dead::FailedOpen: {
            cd_handle_t h = cd_init();
            EXPECT_EQ(cd_open(h, "not a drive", 0), PLATTER_FAIL);
            return h;
        }
        }
        return 0;
    }
};

TEST_P(DeadHandleTest, EveryCallFailsAndTheDriveIsUnchanged)
{
    writeText(path("disc.toc"), kFourTrackToc);
    ASSERT_TRUE(openDrive());
    ASSERT_EQ(cd_play(handle_, 2, 0, 0, 0, 1), PlayStatePlaying);
    advanceClock(2000);
    cd_handle_t dead = deadHandle();
    for (const Call &call : kCalls) {
        int out = kUntouched;
        EXPECT_EQ(call.run(dead, &out), 0) << call.name;
        EXPECT_EQ(out, kUntouched) << call.name;
    }
    // The live handle's drive still plays track 2 where it was, tray closed.
    EXPECT_EQ(cd_check_if_media(handle_), PLATTER_OK);
    EXPECT_EQ(cd_check_status(handle_), PlayStatePlaying);
    int track = 0, relative = 0, absolute = 0;
    ASSERT_TRUE(currentPosition(handle_, &track, &relative, &absolute));
    EXPECT_EQ(track, 2);
    EXPECT_EQ(relative, 150);
    cd_cleanup(dead);
}

INSTANTIATE_TEST_SUITE_P(Handles, DeadHandleTest, ::testing::ValuesIn(kDeadCases),
                         [](const ::testing::TestParamInfo<DeadCase> &info) { return std::string(info.param.name); });

class OpenTest : public VirtualDriveTest {};

TEST_F(OpenTest, RefusesNamesThatNameNoDrive)
{
    const char *names[] = {nullptr, "", "V", "V:x", "VV:", "1:", ":", "V:\\x", "V:/"};
    for (const char *name : names) {
        EXPECT_EQ(cd_open(handle_, name, 0), PLATTER_FAIL) << (name ? name : "(null)");
        EXPECT_EQ(cd_check_status(handle_), 0);
    }
}

TEST_F(OpenTest, AcceptsTheLetterInAnyCaseWithOrWithoutRoot)
{
    const char *names[] = {"V:", "v:", "V:\\"};
    for (const char *name : names) {
        EXPECT_EQ(cd_open(handle_, name, 0), PLATTER_OK) << name;
        EXPECT_EQ(cd_close(handle_), PLATTER_OK) << name;
    }
}

TEST_F(OpenTest, AnOpenHandleIsNotOpenedAgain)
{
    writeText(path("disc.toc"), kFourTrackToc);
    ASSERT_TRUE(openDrive());
    ASSERT_EQ(cd_play(handle_, 1, 0, 0, 0, 0), PlayStatePlaying);
    EXPECT_EQ(cd_open(handle_, kDrive, 0), PLATTER_FAIL);
    EXPECT_EQ(cd_check_status(handle_), PlayStatePlaying);
}

TEST_F(OpenTest, HandlesAreNeverZeroNorReused)
{
    cd_handle_t a = cd_init();
    cd_handle_t b = cd_init();
    EXPECT_NE(a, 0u);
    EXPECT_NE(b, 0u);
    EXPECT_NE(a, b);
    EXPECT_EQ(cd_cleanup(a), PLATTER_OK);
    EXPECT_EQ(cd_cleanup(a), PLATTER_FAIL);
    cd_handle_t c = cd_init();
    EXPECT_NE(c, a);
    cd_cleanup(b);
    cd_cleanup(c);
}

TEST_F(OpenTest, ClosedHandleOpensAgain)
{
    writeText(path("disc.toc"), kFourTrackToc);
    ASSERT_TRUE(openDrive());
    ASSERT_EQ(cd_close(handle_), PLATTER_OK);
    ASSERT_TRUE(openDrive());
    EXPECT_EQ(cd_check_if_media(handle_), PLATTER_OK);
}

} // namespace
