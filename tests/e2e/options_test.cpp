// The options sheet of the real player, worked from another process as a
// user would: opened by its command, a page changed, OK pressed, and the
// option found in the registry.
#include "e2e/playerprocess.h"

#include <commctrl.h>
#include <prsht.h>

namespace {

using e2e::optionsKey;
// The menu command "Options...", the sheet's Play Modes page and its
// "Repeat All Tracks" box (res/resource.h).
const int optionsCommand = 40072;
const int playModesPage = 1;
const int repeatAllBox = 1022;

class OptionsSheetOfThePlayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = harness::scratchFolder();
        driveD = harness::scratchFolder();
        driveE = harness::scratchFolder();
        SetEnvironmentVariableA("PLATTER_DRIVE_FOLDER_D", driveD.c_str());
        SetEnvironmentVariableA("PLATTER_DRIVE_FOLDER_E", driveE.c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Veldane Software");
        // No CDDB server is asked about the test discs.
        setOption("cddbQueryServer", 0);
    }

    void TearDown() override
    {
        e2e::closePlayer(&player, "Spindle2 Options");
        e2e::forgetPlayerSetup();
    }

    void setOption(const char *name, DWORD value) { ASSERT_TRUE(e2e::writeDword(e2e::optionsKey, name, value)); }

    DWORD option(const char *name)
    {
        HKEY key;
        DWORD value = 99, size = sizeof value, type = 0;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, optionsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return 99;
        if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(&value), &size) != ERROR_SUCCESS ||
            type != REG_DWORD)
            value = 99;
        RegCloseKey(key);
        return value;
    }

    LRESULT sendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
        return (LRESULT)result;
    }

    std::string folder, driveD, driveE;
    HANDLE player = nullptr;
};

TEST_F(OptionsSheetOfThePlayer, OkOnAChangedPageSavesTheOptionToTheRegistry)
{
    setOption("RepeatAll", 0);
    e2e::writeAudioToc(driveD, {"00:02:00", "03:00:00"}, "06:00:00");
    HWND panel = e2e::startPlayer(&player, folder);
    ASSERT_NE(panel, nullptr);

    PostMessageA(panel, WM_COMMAND, optionsCommand, 0);
    HWND sheet = nullptr;
    harness::pumpUntil([&] { return (sheet = e2e::findWindowOf(player, "Spindle2 Options")) != nullptr; }, 10000);
    ASSERT_NE(sheet, nullptr) << "the options sheet did not open";

    sendTo(sheet, PSM_SETCURSEL, playModesPage, 0);
    HWND page = (HWND)sendTo(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
    ASSERT_NE(page, nullptr);
    HWND box = GetDlgItem(page, repeatAllBox);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(sendTo(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    sendTo(box, BM_CLICK, 0, 0);
    EXPECT_EQ(sendTo(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(option("RepeatAll"), 0u) << "nothing is saved while the sheet is open";

    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(harness::pumpUntil([&] { return e2e::findWindowOf(player, "Spindle2 Options") == nullptr; }, 10000))
        << "the sheet did not close";
    harness::pumpUntil([&] { return option("RepeatAll") == 1; }, 5000);
    EXPECT_EQ(option("RepeatAll"), 1u);
    EXPECT_EQ(option("StopAtExit"), 1u) << "every option is saved";
}

} // namespace
