// main.cpp - the test executables' entry point: GoogleTest with a watchdog,
// so that a test stuck on a window or a wait fails with a clear message
// instead of hanging the run.
#include "harness/harness.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace harness {

namespace {

struct TestHooks {
    std::function<void()> before;
    std::function<void()> after;
};

std::vector<TestHooks> &testHooks()
{
    static std::vector<TestHooks> hooks;
    return hooks;
}

HANDLE watchdogTimer = nullptr;
std::string runningTest;

VOID CALLBACK watchdogFired(PVOID, BOOLEAN)
{
    fprintf(stderr,
            "\nTIMEOUT: %s did not finish within %d seconds; it is probably waiting on a window, "
            "a message box or an event that never comes. Ending the test process.\n",
            runningTest.c_str(), testTimeoutSeconds());
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
}

class Watchdog : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &info) override
    {
        runningTest = std::string(info.test_suite_name()) + "." + info.name();
        CreateTimerQueueTimer(&watchdogTimer, nullptr, watchdogFired, nullptr,
                              (DWORD)testTimeoutSeconds() * 1000, 0, WT_EXECUTEONLYONCE);
        for (auto &hook : testHooks())
            if (hook.before)
                hook.before();
    }
    void OnTestEnd(const ::testing::TestInfo &) override
    {
        for (auto &hook : testHooks())
            if (hook.after)
                hook.after();
        if (watchdogTimer) {
            DeleteTimerQueueTimer(nullptr, watchdogTimer, INVALID_HANDLE_VALUE);
            watchdogTimer = nullptr;
        }
    }
};

// A crash ends the test process at once with a line that says so, instead
// of waiting for a debugger.
LONG WINAPI reportCrash(EXCEPTION_POINTERS *info)
{
    fprintf(stderr, "\nCRASH: %s raised exception 0x%08lX at %p\n", runningTest.c_str(),
            (unsigned long)info->ExceptionRecord->ExceptionCode, info->ExceptionRecord->ExceptionAddress);
    fflush(stdout);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 4);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

void addTestHooks(std::function<void()> before, std::function<void()> after)
{
    testHooks().push_back({std::move(before), std::move(after)});
}

bool environmentRequired()
{
    const char *value = getenv("SPINDLE2_REQUIRE_ENVIRONMENT");
    return value && strcmp(value, "1") == 0;
}

int testTimeoutSeconds()
{
    const char *value = getenv("SPINDLE2_TEST_TIMEOUT");
    int seconds = value ? atoi(value) : 0;
    return seconds > 0 ? seconds : 60;
}

} // namespace harness

int main(int argc, char **argv)
{
    // No error dialogs from the system: a test must never wait on one.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(harness::reportCrash);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new harness::Watchdog);
    int result = RUN_ALL_TESTS();
    // End here, without the orderly unload of every DLL: under Wine a process
    // that used the sound driver can hang on its way out, and the results
    // are all written by now.
    fflush(stdout);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), (UINT)result);
    return result;
}
