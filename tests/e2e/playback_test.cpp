// The player as a user meets it: spindle2.exe with platter.dll on two
// virtual drives. Its status line is read from this process, a second
// program drives the same drive, and the last disc's eject ends it.
#include "e2e/playerprocess.h"

#include "app/startup.h"

#include <cstdlib>

namespace {

using e2e::optionsKey;

class Playback : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = harness::scratchFolder();
        driveD = harness::scratchFolder();
        driveE = harness::scratchFolder();
        // The library serves D: and E: from these folders, in this process
        // and in the programs it starts.
        SetEnvironmentVariableA("PLATTER_DRIVE_FOLDER_D", driveD.c_str());
        SetEnvironmentVariableA("PLATTER_DRIVE_FOLDER_E", driveE.c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Veldane Software");
        // No CDDB server is asked about the test discs.
        setOption("cddbQueryServer", 0);
    }

    void TearDown() override
    {
        e2e::closePlayer(&player);
        e2e::forgetPlayerSetup();
    }

    void setOption(const char *name, DWORD value) { ASSERT_TRUE(e2e::writeDword(e2e::optionsKey, name, value)); }

    void insertDiscs(bool intoE)
    {
        e2e::writeAudioToc(driveD, {"00:02:00", "03:00:00", "06:00:00"}, "09:00:00");
        if (intoE)
            e2e::writeAudioToc(driveE, {"00:02:00", "02:00:00"}, "04:00:00");
    }

    // Starts the player and waits for its panel to show play.
    HWND startPlayer()
    {
        return e2e::startPlayer(&player, folder);
    }

    std::string waitForStatus(HWND panel, const std::string &prefix, DWORD ms)
    {
        std::string text;
        harness::pumpUntil(
            [&] {
                text = e2e::controlText(panel, 1051);
                return text.compare(0, prefix.size(), prefix) == 0;
            },
            ms);
        return text;
    }

    std::string folder, driveD, driveE;
    HANDLE player = nullptr;
};

TEST_F(Playback, PlaysTheFirstDiscAndTheTimeMovesOn)
{
    ASSERT_FALSE(OpenMutexA(SYNCHRONIZE, FALSE, RUN_ONCE_MUTEX_NAME)) << "another Spindle2 runs in this prefix";
    insertDiscs(true);
    HWND panel = startPlayer();
    ASSERT_NE(panel, nullptr) << "the player showed no panel";
    std::string first = waitForStatus(panel, "Playing (1) 0:0", 15000);
    ASSERT_EQ(first.compare(0, 15, "Playing (1) 0:0"), 0) << "status line: \"" << first << "\"";
    EXPECT_EQ(e2e::controlText(panel, 1117), "D:");
    std::string later;
    harness::pumpUntil(
        [&] {
            later = e2e::controlText(panel, 1051);
            return later.compare(0, 15, "Playing (1) 0:0") == 0 && later > first;
        },
        10000);
    EXPECT_GT(later, first) << "the time did not move from \"" << first << "\"";
}

TEST_F(Playback, AnotherProgramPausingTheDriveStopsPlayAndWarns)
{
    insertDiscs(true);
    HWND panel = startPlayer();
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(waitForStatus(panel, "Playing (1)", 15000).compare(0, 11, "Playing (1)"), 0);

    EXPECT_EQ(e2e::runCdctl("D: pause", folder), 0);

    HWND warning = nullptr;
    harness::pumpUntil([&] { return (warning = e2e::findWindowOf(player, "Spindle2 Error")) != nullptr; }, 10000);
    ASSERT_NE(warning, nullptr) << "no warning box appeared";
    EXPECT_EQ(waitForStatus(panel, "Stopped", 5000), "Stopped");
    // The second program's pause was undone by the player's stop.
    PostMessageA(warning, WM_COMMAND, IDOK, 0);
    harness::pumpUntil([&] { return e2e::findWindowOf(player, "Spindle2 Error") == nullptr; }, 5000);
    EXPECT_EQ(WaitForSingleObject(player, 0), (DWORD)WAIT_TIMEOUT) << "the player must go on running";
}

TEST_F(Playback, EjectingTheLastDiscWithExitAtEjectEndsThePlayer)
{
    setOption("ExitAtEject", 1);
    insertDiscs(false);
    HWND panel = startPlayer();
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(waitForStatus(panel, "Playing (1)", 15000).compare(0, 11, "Playing (1)"), 0);

    EXPECT_EQ(e2e::runCdctl("D: eject", folder), 0);
    // The status poll notices the empty drive within a second and the next
    // media poll, at most five seconds later, ends the program; a little
    // slack for a loaded machine.
    ASSERT_EQ(WaitForSingleObject(player, 9000), (DWORD)WAIT_OBJECT_0) << "the player did not end";
    DWORD code = 99;
    GetExitCodeProcess(player, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(player);
    player = nullptr;
}

} // namespace
