// The real spindle2.exe, started twice: the second copy leaves at once with
// code 0 and the first goes on untouched.
#include "app/startup.h"
#include "harness/harness.h"

namespace {

HANDLE startPlayer(const std::string &folder, const char *arguments)
{
    std::string command = "\"" + harness::binFolder() + "\\spindle2.exe\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

bool mutexExists()
{
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, RUN_ONCE_MUTEX_NAME);
    if (mutex)
        CloseHandle(mutex);
    return mutex != nullptr;
}

void closeWindowsOf(DWORD processId)
{
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid == (DWORD)param)
                PostMessageA(window, WM_CLOSE, 0, 0);
            return TRUE;
        },
        (LPARAM)processId);
}

TEST(SingleInstance, SecondPlayerLeavesAtOnceAndTheFirstRunsOn)
{
    ASSERT_FALSE(mutexExists()) << "another Spindle2 runs in this prefix";
    std::string folder = harness::scratchFolder();
    HANDLE first = startPlayer(folder, "");
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(harness::pumpUntil(mutexExists, 20000)) << "the first player never took the mutex";
    // Give the first player time to finish starting.
    harness::pumpFor(1000);
    ASSERT_EQ(WaitForSingleObject(first, 0), (DWORD)WAIT_TIMEOUT) << "the first player ended by itself";

    HANDLE second = startPlayer(folder, "-d");
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(WaitForSingleObject(second, 15000), (DWORD)WAIT_OBJECT_0) << "the second copy did not leave";
    DWORD code = 99;
    GetExitCodeProcess(second, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(second);
    EXPECT_FALSE(harness::fileExists(folder + "\\diagnostics.log")) << "the second copy must not open a log";

    EXPECT_EQ(WaitForSingleObject(first, 0), (DWORD)WAIT_TIMEOUT) << "the first player was disturbed";
    closeWindowsOf(GetProcessId(first));
    ASSERT_EQ(WaitForSingleObject(first, 15000), (DWORD)WAIT_OBJECT_0) << "the first player did not close";
    GetExitCodeProcess(first, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(first);
}

} // namespace
