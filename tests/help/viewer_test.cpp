// The help file in Wine's help viewer: "Help Contents" in the real
// player's menu opens the contents topic, every help id of the two sheets
// opens its control's topic, and a control's topic opens as a pop-up.
// What the viewer shows is compared with what the tests' reader decodes.
#include "help/helpfixture.h"
#include "help/viewer.h"

#include "e2e/playerprocess.h"

#include "app/startup.h"

namespace {

const char *const optionsKey = "SOFTWARE\\Veldane Software\\Spindle2\\CurrentVersion\\Options";
const UINT helpContentsCommand = 40075;

std::string expectedText(const hlp::Topic &topic)
{
    return viewer::squeeze(topic.text());
}

const hlp::Topic &topicOfHelpId(uint32_t id)
{
    const hlp::HelpFile &help = helptest::helpFile();
    auto mapped = help.helpIds.find(id);
    if (mapped == help.helpIds.end() || !help.topicAt(mapped->second))
        throw hlp::FormatError("help id " + std::to_string(id) + " opens no topic");
    return *help.topicAt(mapped->second);
}

// Waits until the window shows `expected`; returns what it shows last.
std::string waitForText(HWND window, const std::string &expected, DWORD ms = 10000)
{
    std::string shown;
    harness::pumpUntil([&] { return (shown = viewer::text(window)) == expected; }, ms);
    return shown;
}

class HelpViewer : public ::testing::Test {
protected:
    void SetUp() override { viewer::closeAll(); }

    void TearDown() override
    {
        if (owner)
            DestroyWindow(owner);
        if (player) {
            HWND panel = e2e::findWindowOf(player, nullptr);
            if (panel)
                PostMessageA(panel, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(player, 10000) != WAIT_OBJECT_0)
                TerminateProcess(player, 1);
            CloseHandle(player);
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Veldane Software");
            SetEnvironmentVariableA("PLATTER_DRIVE_FOLDER_D", nullptr);
        }
        viewer::closeAll();
    }

    // A window of ours for the WinHelp calls to name.
    HWND ownerWindow()
    {
        if (!owner)
            owner = CreateWindowExA(0, "STATIC", "help test", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        return owner;
    }

    HWND waitForViewer(bool popup, DWORD process = 0, DWORD ms = 15000)
    {
        HWND found = nullptr;
        harness::pumpUntil([&] { return (found = viewer::find(popup, process)) != nullptr; }, ms);
        return found;
    }

    HWND owner = nullptr;
    HANDLE player = nullptr;
};

TEST_F(HelpViewer, HelpContentsInThePlayersMenuOpensTheContentsTopic)
{
    const hlp::HelpFile &help = helptest::helpFile();
    const hlp::Topic *contents = help.topicAt(help.contentsOffset);
    ASSERT_NE(contents, nullptr);

    // An installed player: its folder in the registry, a disc in D:, and
    // started from another folder, as a shortcut would.
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Veldane Software");
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, optionsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    std::string folder = harness::binFolder();
    RegSetValueExA(key, "MainDirectory", 0, REG_SZ, reinterpret_cast<const BYTE *>(folder.c_str()),
                   static_cast<DWORD>(folder.size() + 1));
    RegCloseKey(key);
    std::string drive = harness::scratchFolder();
    SetEnvironmentVariableA("PLATTER_DRIVE_FOLDER_D", drive.c_str());
    e2e::writeAudioToc(drive, {"00:02:00", "03:00:00"}, "06:00:00");
    ASSERT_FALSE(OpenMutexA(SYNCHRONIZE, FALSE, RUN_ONCE_MUTEX_NAME)) << "another Spindle2 runs in this prefix";
    player = e2e::startProgram("spindle2.exe", "", harness::scratchFolder());
    ASSERT_NE(player, nullptr);
    HWND panel = nullptr;
    harness::pumpUntil([&] { return (panel = e2e::findWindowOf(player, nullptr)) != nullptr; }, 20000);
    ASSERT_NE(panel, nullptr) << "the player showed no panel";

    PostMessageA(panel, WM_COMMAND, helpContentsCommand, 0);
    HWND main = waitForViewer(false);
    ASSERT_NE(main, nullptr) << "no help window opened";
    DWORD viewerProcess = 0;
    GetWindowThreadProcessId(main, &viewerProcess);
    EXPECT_NE(viewerProcess, GetProcessId(player)) << "the help opens in a viewer of its own";
    EXPECT_EQ(waitForText(main, expectedText(*contents)), expectedText(*contents));
    // Wine's viewer names the file's title, then its own name and the path
    // (cut to the caption's room); the player was started elsewhere, so the
    // file came from the player's folder.
    std::string title = viewer::caption(main);
    EXPECT_EQ(title.rfind(help.title + " ", 0), 0u) << title;
}

TEST_F(HelpViewer, EveryHelpIdOfBothSheetsShowsItsControlsTopic)
{
    std::string path = helptest::helpFilePath();
    for (const helptest::HelpIdCase &c : helptest::helpIdCases()) {
        SCOPED_TRACE("help id " + std::to_string(c.id));
        ASSERT_TRUE(WinHelpA(ownerWindow(), path.c_str(), HELP_CONTEXT, c.id));
        HWND main = waitForViewer(false);
        ASSERT_NE(main, nullptr) << "no help window opened";
        std::string expected = expectedText(topicOfHelpId(c.id));
        EXPECT_EQ(waitForText(main, expected), expected);
    }
    WinHelpA(ownerWindow(), path.c_str(), HELP_QUIT, 0);
}

TEST_F(HelpViewer, SubmitPagesPortNumberOpensAsAPopUpFromTheOptionsTopic)
{
    DWORD process = viewer::openTopic("options", helptest::helpFilePath());
    ASSERT_NE(process, 0u);
    HWND main = waitForViewer(false, process);
    ASSERT_NE(main, nullptr) << "the viewer did not open";
    harness::pumpUntil([&] { return viewer::text(main).rfind("The options sheet", 0) == 0; }, 10000);
    ASSERT_EQ(viewer::text(main).rfind("The options sheet", 0), 0u) << viewer::text(main);

    ASSERT_TRUE(viewer::clickWords(main, "Port Number", "CDDB Submit")) << "no Port Number on the CDDB Submit line";
    HWND popup = waitForViewer(true, process, 10000);
    ASSERT_NE(popup, nullptr) << "the hotspot opened no pop-up";
    std::string expected = expectedText(topicOfHelpId(101));
    EXPECT_EQ(waitForText(popup, expected), expected);
    EXPECT_NE(expected.find("usually 25"), std::string::npos);
}

} // namespace
