// crossprocess_test.cpp - one virtual drive seen by two programs: this test
// and cdctl_tool.exe, started beside it. The tool finds the drive's folder
// through PLATTER_DRIVE_FOLDER_W, which it inherits; each side's commands
// change what the other sees. The play clock is the system's here, so the
// checks are of states and tracks, never of times.
#include "libplatter/devices/virtualdrive.h"
#include "tests/libplatter/devices/devicetest.h"

namespace {

using namespace devicetest;

// Tracks of five minutes: no track ends while the programs talk.
const char *const kLongDisc = "TRACK 1 AUDIO 00:02:00\nTRACK 2 AUDIO 05:00:00\nTRACK 3 AUDIO 10:00:00\n"
                              "LEADOUT 15:00:00\n";

struct ToolRun {
    bool finished = false;
    DWORD exitCode = 0;
    std::string output;
};

// Runs cdctl_tool.exe from the test's own folder, waiting at most `limitMs`.
ToolRun runTool(const std::string &arguments, DWORD limitMs = 40000)
{
    ToolRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return run;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    // The tool's diagnostics lines (its standard error) are not part of its answer.
    HANDLE discard = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                                 nullptr);
    startup.hStdOutput = writeEnd;
    startup.hStdError = discard;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string line = "\"" + harness::binFolder() + "\\cdctl_tool.exe\" " + arguments;
    std::vector<char> commandLine(line.begin(), line.end());
    commandLine.push_back('\0');
    PROCESS_INFORMATION process;
    BOOL started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                  nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (discard != INVALID_HANDLE_VALUE)
        CloseHandle(discard);
    if (!started) {
        CloseHandle(readEnd);
        return run;
    }
    DWORD start = GetTickCount();
    for (;;) {
        DWORD available = 0;
        while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            char buffer[512];
            DWORD got = 0;
            if (!ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) || got == 0)
                break;
            run.output.append(buffer, got);
        }
        if (WaitForSingleObject(process.hProcess, 20) == WAIT_OBJECT_0) {
            DWORD got = 0;
            char buffer[512];
            while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
                   ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
                run.output.append(buffer, got);
            run.finished = true;
            GetExitCodeProcess(process.hProcess, &run.exitCode);
            break;
        }
        if (GetTickCount() - start > limitMs) {
            TerminateProcess(process.hProcess, 99);
            break;
        }
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(readEnd);
    // Line ends as the console wrote them do not matter here.
    std::string clean;
    for (char c : run.output)
        if (c != '\r')
            clean += c;
    run.output = clean;
    return run;
}

// What this test does before the tool runs.
enum class Before { Nothing, PlayTrackOne, PlayTrackTwo, PlayTrackTwoAndPause };

struct SharedCase {
    const char *name;
    Before before;
    const char *toolCommands;
    const char *toolOutput; // what the tool prints after its "open W:" line
    int stateAfter;         // what this test then sees: 0 for no disc
    int trackAfter;         // and where, -1: no position check
};

// Printed as its name, in test lists and in CTest's test names.
void PrintTo(const SharedCase &c, std::ostream *os)
{
    *os << c.name;
}

const SharedCase kCases[] = {
    {"ToolPauseIsSeenHere", Before::PlayTrackOne, "status pause", "state 3\nstate 4\n", PlayStatePaused, 1},
    {"ToolPlayIsSeenHere", Before::Nothing, "status play 3 single", "state 5\nstate 3\n", PlayStatePlaying, 3},
    {"ToolStopIsSeenHere", Before::PlayTrackTwo, "stop", "state 5\n", PlayStateStopped, 2},
    {"PauseHereIsSeenByTheTool", Before::PlayTrackTwoAndPause, "status", "state 4\n", PlayStatePaused, 2},
    {"ToolResumeIsSeenHere", Before::PlayTrackTwoAndPause, "resume 2", "state 3\n", PlayStatePlaying, 2},
    {"ToolEjectIsSeenHere", Before::PlayTrackOne, "eject media", "eject 1\nmedia 0\n", 0, -1},
};

class SharedDriveTest : public ::testing::TestWithParam<SharedCase> {
protected:
    void SetUp() override
    {
        folder_ = freshDriveFolder();
        SetEnvironmentVariableA("PLATTER_DRIVE_FOLDER_W", folder_.c_str());
        devices::setVirtualDriveAudio(false);
        handle_ = cd_init();
    }
    void TearDown() override
    {
        cd_close(handle_);
        cd_cleanup(handle_);
        SetEnvironmentVariableA("PLATTER_DRIVE_FOLDER_W", nullptr);
        devices::setVirtualDriveAudio(true);
    }
    std::string folder_;
    cd_handle_t handle_ = 0;
};

TEST_P(SharedDriveTest, BothProgramsSeeOneDrive)
{
    const SharedCase &c = GetParam();
    writeText(folder_ + "\\disc.toc", kLongDisc);
    ASSERT_EQ(cd_open(handle_, "W:", 0), PLATTER_OK);
    ASSERT_EQ(cd_read_data(handle_), PLATTER_OK);
    switch (c.before) {
    case Before::Nothing:
        break;
    case Before::PlayTrackOne:
        ASSERT_EQ(cd_play(handle_, 1, 0, 0, 0, 0), PlayStatePlaying);
        break;
    case Before::PlayTrackTwo:
        ASSERT_EQ(cd_play(handle_, 2, 0, 0, 0, 1), PlayStatePlaying);
        break;
    case Before::PlayTrackTwoAndPause:
        ASSERT_EQ(cd_play(handle_, 2, 0, 0, 0, 1), PlayStatePlaying);
        ASSERT_EQ(cd_pause(handle_), PlayStatePaused);
        break;
    }
    ToolRun run = runTool(std::string("W: ") + c.toolCommands);
    ASSERT_TRUE(run.finished) << "cdctl_tool did not end; it said:\n" << run.output;
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_EQ(run.output, std::string("open W:\n") + c.toolOutput);
    EXPECT_EQ(cd_check_status(handle_), c.stateAfter);
    if (c.trackAfter > 0) {
        int track = 0, relative = 0, absolute = 0;
        ASSERT_TRUE(currentPosition(handle_, &track, &relative, &absolute));
        EXPECT_EQ(track, c.trackAfter);
    } else {
        EXPECT_EQ(cd_check_if_media(handle_), PLATTER_FAIL);
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, SharedDriveTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SharedCase> &info) { return std::string(info.param.name); });

// The tool's own answers when it cannot do what it is asked.
TEST(CdctlToolTest, ReportsFailuresInItsExitCode)
{
    std::string folder = freshDriveFolder();
    SetEnvironmentVariableA("PLATTER_DRIVE_FOLDER_W", folder.c_str());
    ToolRun empty = runTool("W: media status");
    ToolRun unknown = runTool("W: fly");
    ToolRun noDrive = runTool("nonsense status");
    SetEnvironmentVariableA("PLATTER_DRIVE_FOLDER_W", nullptr);
    ASSERT_TRUE(empty.finished && unknown.finished && noDrive.finished);
    EXPECT_EQ(empty.output, "open W:\nmedia 0\nstate 0\n");
    EXPECT_EQ(empty.exitCode, 1u);
    EXPECT_EQ(unknown.exitCode, 2u);
    EXPECT_EQ(noDrive.output, "open failed\n");
    EXPECT_EQ(noDrive.exitCode, 1u);
}

} // namespace
