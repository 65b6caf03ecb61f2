// The tray icon: what the shell is told at each step, the picture for each
// play state, and the tip's limit.
#include "player/playerfixture.h"

#include "res/resource.h"
#include "ui/tray.h"

#include <string>
#include <vector>

namespace {

struct ShellCall {
    DWORD message;
    NOTIFYICONDATAA data;
};

HICON iconOf(int id)
{
    return static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, LR_SHARED));
}

class Tray : public playertest::PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        owner = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        setTrayShellHook([this](DWORD message, const NOTIFYICONDATAA *data) {
            shell.push_back({message, *data});
            return TRUE;
        });
    }
    void TearDown() override
    {
        trayRemove();
        setTrayShellHook(nullptr);
        DestroyWindow(owner);
        PlayerTest::TearDown();
    }
    void add()
    {
        trayAdd(GetModuleHandleA(nullptr), owner, WM_TRAY_NOTIFY);
    }

    HWND owner = nullptr;
    std::vector<ShellCall> shell;
};

TEST_F(Tray, AddUsesTheFirstVersionRecordWithStartUpIconAndTip)
{
    add();
    ASSERT_EQ(shell.size(), 1u);
    const NOTIFYICONDATAA &d = shell[0].data;
    EXPECT_EQ(shell[0].message, (DWORD)NIM_ADD);
    EXPECT_EQ(d.cbSize, (DWORD)NOTIFYICONDATAA_V1_SIZE);
    EXPECT_LT(d.cbSize, (DWORD)sizeof(NOTIFYICONDATAA));
    EXPECT_EQ(d.hWnd, owner);
    EXPECT_EQ(d.uID, (UINT)TRAY_ICON_ID);
    EXPECT_EQ(d.uFlags, (UINT)(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(d.uCallbackMessage, (UINT)WM_TRAY_NOTIFY);
    EXPECT_NE(d.hIcon, nullptr);
    EXPECT_EQ(d.hIcon, iconOf(IDI_CD_PLAIN));
    EXPECT_STREQ(d.szTip, "Connecting to CD Player");
}

struct TipCase {
    size_t length;
    size_t shown;
};

class TrayTip : public Tray, public ::testing::WithParamInterface<TipCase> {};

TEST_P(TrayTip, IsCutToSixtyThreeCharacters)
{
    add();
    shell.clear();
    std::string text;
    for (size_t i = 0; i < GetParam().length; ++i)
        text.push_back((char)('a' + i % 26));
    traySetTip(text.c_str());
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0].message, (DWORD)NIM_MODIFY);
    EXPECT_EQ(shell[0].data.uFlags, (UINT)NIF_TIP);
    EXPECT_EQ(std::string(shell[0].data.szTip), text.substr(0, GetParam().shown));
    EXPECT_EQ(std::string(trayTip()), text.substr(0, GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(Cases, TrayTip,
                         ::testing::Values(TipCase{0, 0}, TipCase{10, 10}, TipCase{63, 63}, TipCase{64, 63},
                                           TipCase{200, 63}));

// The status poll sets the tip every second: the shell hears only of a
// change, and a change after an unchanged one still goes out.
TEST_F(Tray, UnchangedTipIsNotSentAgain)
{
    add();
    shell.clear();
    traySetTip("Stopped");
    traySetTip("Stopped");
    traySetTip("Playing (1) 0:01");
    traySetTip("Playing (1) 0:01");
    ASSERT_EQ(shell.size(), 2u);
    EXPECT_STREQ(shell[0].data.szTip, "Stopped");
    EXPECT_STREQ(shell[1].data.szTip, "Playing (1) 0:01");
    // A tip the shell was given by another operation counts as sent.
    trayShowNoDisc();
    shell.clear();
    traySetTip("Spindle Error");
    EXPECT_TRUE(shell.empty());
    traySetTip("No Audio CD(s)");
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_STREQ(shell[0].data.szTip, "No Audio CD(s)");
}

struct IconCase {
    bool drive;
    int state;
    int icon;
};

class TrayIcon : public Tray, public ::testing::WithParamInterface<IconCase> {};

TEST_P(TrayIcon, FollowsThePlayState)
{
    const IconCase &c = GetParam();
    load({{"D:", playertest::tracks(3)}});
    if (!c.drive)
        currentDrive = 0;
    playState = c.state;
    add();
    traySetTip("Playing (1) 0:05");
    shell.clear();
    refreshTrayIcon();
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0].message, (DWORD)NIM_MODIFY);
    EXPECT_EQ(shell[0].data.hIcon, iconOf(c.icon));
    EXPECT_EQ(trayIconId(), c.icon);
    if (c.icon == IDI_CD_NONE) {
        EXPECT_EQ(shell[0].data.uFlags, (UINT)(NIF_ICON | NIF_TIP));
        EXPECT_STREQ(shell[0].data.szTip, "Spindle Error");
    } else {
        EXPECT_EQ(shell[0].data.uFlags, (UINT)NIF_ICON) << "the tip stays as the status line set it";
        EXPECT_STREQ(trayTip(), "Playing (1) 0:05");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TrayIcon,
                         ::testing::Values(IconCase{true, PlayStatePlaying, IDI_CD_PLAYING},
                                           IconCase{true, PlayStatePaused, IDI_CD_PAUSED},
                                           IconCase{true, PlayStateStopped, IDI_CD_STOPPED},
                                           IconCase{true, 0, IDI_CD_NONE}, IconCase{true, 7, IDI_CD_NONE},
                                           IconCase{false, PlayStatePlaying, IDI_CD_NONE}));

TEST_F(Tray, RemoveDeletesOurIconAndLaterCallsTellTheShellNothing)
{
    add();
    shell.clear();
    trayRemove();
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0].message, (DWORD)NIM_DELETE);
    EXPECT_EQ(shell[0].data.hWnd, owner);
    EXPECT_EQ(shell[0].data.uID, (UINT)TRAY_ICON_ID);
    traySetTip("after the end");
    refreshTrayIcon();
    EXPECT_EQ(shell.size(), 1u);
}

TEST_F(Tray, RecreatedTaskbarGetsTheIconBackAsItWas)
{
    load({{"D:", playertest::tracks(3)}});
    playState = PlayStatePaused;
    add();
    refreshTrayIcon();
    traySetTip("Paused (2) 1:00");
    shell.clear();
    trayRecreate();
    ASSERT_EQ(shell.size(), 1u);
    EXPECT_EQ(shell[0].message, (DWORD)NIM_ADD);
    EXPECT_EQ(shell[0].data.hIcon, iconOf(IDI_CD_PAUSED));
    EXPECT_STREQ(shell[0].data.szTip, "Paused (2) 1:00");
    EXPECT_EQ(shell[0].data.uCallbackMessage, (UINT)WM_TRAY_NOTIFY);
}

} // namespace
