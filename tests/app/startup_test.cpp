// Start-up and exit: one copy only, the working directory, the log and the
// CD library's callbacks, and the exit code of the message loop.
#include "core/appstate.h"
#include "core/diaglog.h"
#include "app/startup.h"
#include "fakes/fakeplatter.h"
#include "player/playerfixture.h"
#include "harness/harness.h"
#include "options/options.h"
#include "options/registry.h"

#include <thread>

namespace {

class Startup : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::reset();
        snprintf(mutexName, sizeof mutexName, "Spindle2 Test Run Once %lu", (unsigned long)GetCurrentProcessId());
        runOnceMutexName = mutexName;
        options = defaultOptions;
        mainWindow = nullptr;
        startDrive[0] = 0;
        diagnosticsOn = 0;
        GetCurrentDirectoryA(sizeof previous, previous);
        folder = harness::scratchFolder();
        home = harness::scratchFolder();
        SetCurrentDirectoryA(home.c_str());
        // A machine of our own with one CD-ROM drive, whatever the prefix maps.
        playertest::setMachine({{"C:\\", DRIVE_FIXED}, {"D:\\", DRIVE_CDROM}});
    }
    void TearDown() override
    {
        setDriveQuery(nullptr, nullptr);
        releaseRunOnceMutex();
        SetCurrentDirectoryA(previous);
    }

    // Runs the program and closes its main window as soon as it exists.
    int runAndClose(const char *commandLine)
    {
        std::thread closer([] {
            for (int i = 0; i < 1000 && !mainWindow; ++i)
                Sleep(10);
            if (mainWindow)
                PostMessageA(mainWindow, WM_CLOSE, 0, 0);
        });
        int code = runProgram(GetModuleHandleA(nullptr), commandLine);
        closer.join();
        return code;
    }

    std::string currentDirectory()
    {
        char dir[MAX_PATH];
        GetCurrentDirectoryA(sizeof dir, dir);
        return dir;
    }

    harness::RegistrySandbox registry;
    char mutexName[64] = "";
    std::string folder, home;
    char previous[MAX_PATH] = "";
};

TEST_F(Startup, SecondCopyLeavesAtOnceWithZero)
{
    HANDLE first = CreateMutexA(nullptr, FALSE, runOnceMutexName);
    ASSERT_NE(first, nullptr);
    registry.setString(OPTIONS_KEY, "MainDirectory", folder);
    EXPECT_EQ(runProgram(GetModuleHandleA(nullptr), "E:\\ -d"), 0);
    EXPECT_EQ(mainWindow, nullptr);
    EXPECT_STREQ(startDrive, "") << "nothing past the single-instance check runs";
    EXPECT_EQ(currentDirectory(), home);
    EXPECT_TRUE(fake::calls().empty()) << fake::callLog();
    EXPECT_FALSE(harness::fileExists(folder + "\\diagnostics.log"));
    CloseHandle(first);
}

TEST_F(Startup, RunsInMainDirectoryWithTheLogAndBothCallbacks)
{
    registry.setString(OPTIONS_KEY, "MainDirectory", folder);
    EXPECT_EQ(runAndClose("E:\\ -d"), 0);
    EXPECT_EQ(currentDirectory(), folder);
    EXPECT_STREQ(startDrive, "E:");
    EXPECT_EQ(diagnosticsOn, 1);
    std::vector<std::string> calls = fake::calls();
    ASSERT_GE(calls.size(), 2u) << fake::callLog();
    EXPECT_EQ(calls[0], "platter_diag_init(fn)");
    EXPECT_EQ(calls[1], "platter_stat_init(fn)");

    std::string log = harness::readFile(folder + "\\diagnostics.log");
    const char *order[] = {" - Diagnostic output initialized\r\n", " - Spindle2 startup.\r\n",
                           " - Starting main dialog initialization.\r\n", " - Loading Spindle2 options.\r\n",
                           " - Saving Spindle2 options.\r\n", " - Diagnostic output closed\r\n"};
    size_t at = 0;
    for (const char *line : order) {
        size_t found = log.find(line, at);
        EXPECT_NE(found, std::string::npos) << "missing or out of order: " << line << "\n" << log;
        if (found != std::string::npos)
            at = found;
    }
    EXPECT_FALSE(logIsOpen());
}

TEST_F(Startup, WithoutTheSwitchNoLogAndNoDiagnosticsCallback)
{
    registry.setString(OPTIONS_KEY, "MainDirectory", folder);
    EXPECT_EQ(runAndClose("D:\\"), 0);
    EXPECT_STREQ(startDrive, "D:");
    EXPECT_FALSE(harness::fileExists(folder + "\\diagnostics.log"));
    EXPECT_TRUE(fake::callsTo("platter_diag_init").empty()) << fake::callLog();
    ASSERT_FALSE(fake::calls().empty());
    EXPECT_EQ(fake::calls()[0], "platter_stat_init(fn)");
}

TEST_F(Startup, WithoutMainDirectoryTheStartFolderStays)
{
    registry.createKey(OPTIONS_KEY);
    EXPECT_EQ(runAndClose("-d"), 0);
    EXPECT_EQ(currentDirectory(), home);
    EXPECT_TRUE(harness::fileExists(home + "\\diagnostics.log"));
}

TEST_F(Startup, MainDirectoryThatDoesNotExistLeavesTheFolder)
{
    registry.setString(OPTIONS_KEY, "MainDirectory", folder + "\\missing");
    enterMainDirectory();
    EXPECT_EQ(currentDirectory(), home);
}

TEST_F(Startup, OptionsAreSavedAtExit)
{
    registry.createKey(OPTIONS_KEY);
    registry.setDword(OPTIONS_KEY, "ControlsX", 345);
    EXPECT_EQ(runAndClose(""), 0);
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(registry.read(OPTIONS_KEY, "StopAtExit", &type, &bytes));
    EXPECT_EQ(type, (DWORD)REG_DWORD);
    EXPECT_EQ(options.ControlsX, 345);
}

} // namespace
