// Disc titles in the real player: taken from the Windows CD Player's
// Cdplayer.ini in the prefix's Windows folder, kept in the title database
// after a write moment, and those of a new disc when an image is written
// over the one in the drive while the player runs.
#include "e2e/playerprocess.h"

#include <commctrl.h>
#include <prsht.h>

#include <fstream>

namespace {

using e2e::optionsKey;
// The panel's title line and the menu command "Properties..." (res/resource.h).
const int titleLine = 1055;
const int propertiesCommand = 40040;

std::string fullPath(const std::string &path)
{
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return n && n < sizeof full ? std::string(full, n) : path;
}

std::string windowsIniPath()
{
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    return std::string(windows) + "\\Cdplayer.ini";
}

class TitlesOfThePlayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = harness::scratchFolder();
        driveD = harness::scratchFolder();
        driveE = harness::scratchFolder();
        SetEnvironmentVariableA("PLATTER_DRIVE_FOLDER_E", driveE.c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Veldane Software");
        // Titles on the panel: the title line instead of the status line.
        setOption("ControlsDisplayType", 1);
        setOption("Converted", 1);
        // No CDDB server is asked about the test discs.
        setOption("cddbQueryServer", 0);
        DeleteFileA(windowsIniPath().c_str());
    }

    void TearDown() override
    {
        stopPlayer();
        DeleteFileA(windowsIniPath().c_str());
        e2e::forgetPlayerSetup();
    }

    void setOption(const char *name, DWORD value) { ASSERT_TRUE(e2e::writeDword(e2e::optionsKey, name, value)); }

    void serveD(const std::string &path) { SetEnvironmentVariableA("PLATTER_DRIVE_FOLDER_D", path.c_str()); }

    HWND startPlayer()
    {
        return e2e::startPlayer(&player, folder);
    }

    void stopPlayer()
    {
        e2e::closePlayer(&player, "Spindle2 Properties");
    }

    std::string waitForTitle(HWND panel, const std::string &expected, DWORD ms)
    {
        return e2e::waitForControlText(panel, titleLine, expected, ms);
    }

    // The disc identity the library gives the disc now in D: (cdctl's "ids").
    std::string winIdOfD()
    {
        return e2e::discIdOfD(folder, "winid");
    }

    std::string folder, driveD, driveE;
    HANDLE player = nullptr;
};

TEST_F(TitlesOfThePlayer, DemoCdPlayerFileTitlesTheDemoDisc)
{
    std::string demo = fullPath(harness::binFolder() + "\\..\\demo");
    serveD(demo + "\\d");
    ASSERT_EQ(winIdOfD(), "D4DE7") << "the demo Cdplayer.ini names another disc";
    ASSERT_TRUE(CopyFileA((demo + "\\Cdplayer.ini").c_str(), windowsIniPath().c_str(), FALSE));
    HWND panel = startPlayer();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(waitForTitle(panel, "1) Morning Tone", 15000), "1) Morning Tone");
}

TEST_F(TitlesOfThePlayer, WrittenTitlesComeBackFromTheDatabase)
{
    serveD(driveD);
    e2e::writeAudioToc(driveD, {"00:02:00", "03:00:00", "06:00:00"}, "09:00:00");
    std::string id = winIdOfD();
    ASSERT_FALSE(id.empty());
    std::ofstream(windowsIniPath(), std::ios::binary)
        << "[" << id << "]\r\nartist=Ini Artist\r\ntitle=Ini Disc\r\n0=First From Ini\r\n";

    HWND panel = startPlayer();
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(waitForTitle(panel, "1) First From Ini", 15000), "1) First From Ini");
    // A write moment: the CD information sheet closed with OK.
    PostMessageA(panel, WM_COMMAND, propertiesCommand, 0);
    HWND sheet = nullptr;
    harness::pumpUntil([&] { return (sheet = e2e::findWindowOf(player, "Spindle2 Properties")) != nullptr; }, 10000);
    ASSERT_NE(sheet, nullptr) << "the CD information sheet did not open";
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(harness::pumpUntil([&] { return e2e::findWindowOf(player, "Spindle2 Properties") == nullptr; }, 10000));
    stopPlayer();

    // The CD Player's file is gone: what comes back is the database's.
    ASSERT_TRUE(DeleteFileA(windowsIniPath().c_str()));
    panel = startPlayer();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(waitForTitle(panel, "1) First From Ini", 15000), "1) First From Ini");
}

TEST_F(TitlesOfThePlayer, ImageWrittenOverShowsTheNewDiscsTitles)
{
    serveD(driveD);
    e2e::writeAudioToc(driveD, {"00:02:00", "02:30:00"}, "05:00:00");
    std::string newId = winIdOfD();
    e2e::writeAudioToc(driveD, {"00:02:00", "03:00:00", "06:00:00"}, "09:00:00");
    std::string oldId = winIdOfD();
    ASSERT_FALSE(newId.empty());
    ASSERT_NE(newId, oldId);
    std::ofstream(windowsIniPath(), std::ios::binary) << "[" << oldId << "]\r\n0=Old Disc One\r\n1=Old Disc Two\r\n["
                                                      << newId << "]\r\n0=New Disc One\r\n";

    HWND panel = startPlayer();
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(waitForTitle(panel, "1) Old Disc One", 15000), "1) Old Disc One");
    // Another disc in the drive with no empty moment between (a file of
    // another size: another image, whatever the clock's resolution).
    e2e::writeAudioToc(driveD, {"00:02:00", "02:30:00"}, "05:00:00");
    EXPECT_EQ(waitForTitle(panel, "1) New Disc One", 15000), "1) New Disc One");
}

} // namespace

namespace {

void setTextOption(const char *name, const std::string &value)
{
    ASSERT_TRUE(e2e::writeText(optionsKey, name, value));
}

// The demo disc of E: in D:, looked up in the demo's local CDDB tree of
// either layout by the real library: its titles show on the panel, and
// they come back from the title database with the lookup switched off.
TEST_F(TitlesOfThePlayer, LocalCddbTreeTitlesTheDemoDisc)
{
    std::string demoDiscs = fullPath(harness::binFolder() + "\\..\\demo");
    std::string sources = fullPath(harness::binFolder() + "\\..\\..\\demo");
    for (const char *tree : {"cddb", "cddb-windows"}) {
        SCOPED_TRACE(tree);
        stopPlayer();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Veldane Software");
        setOption("ControlsDisplayType", 1);
        setOption("Converted", 1);
        setOption("cddbQueryServer", 0);
        setOption("cddbQueryShowStatus", 0);
        std::string drive = harness::scratchFolder();
        ASSERT_TRUE(CopyFileA((demoDiscs + "\\e\\disc.toc").c_str(), (drive + "\\disc.toc").c_str(), FALSE));
        serveD(drive);
        DeleteFileA((harness::binFolder() + "\\Spindle2.tdb").c_str());
        setOption("cddbQueryLocal", 1);
        setTextOption("cddbLocalRoot", sources + "\\" + tree);
        HWND panel = startPlayer();
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(waitForTitle(panel, "1) Morning Fog", 15000), "1) Morning Fog");
        stopPlayer();

        setOption("cddbQueryLocal", 0);
        panel = startPlayer();
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(waitForTitle(panel, "1) Morning Fog", 15000), "1) Morning Fog");
    }
}

} // namespace
