// The operation status window: one window at most, usable from any thread,
// harmless while closed, and it remembers where the user put it.
#include "cddb/statuswnd.h"
#include "harness/harness.h"
#include "options/options.h"
#include "res/resource.h"

#include <atomic>
#include <thread>
#include <vector>

namespace {

std::string controlText(HWND window)
{
    char text[256] = "";
    GetDlgItemTextA(window, IDC_STATUS_TEXT, text, sizeof text);
    return text;
}

std::string caption(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Status windows of this process: dialogs holding control 1125.
int countStatusWindows()
{
    int count = 0;
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid == GetCurrentProcessId() && GetDlgItem(window, IDC_STATUS_TEXT))
                ++*reinterpret_cast<int *>(param);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

class StatusWindow : public ::testing::Test {
protected:
    void SetUp() override { options = defaultOptions; }
    void TearDown() override
    {
        statusWindowClose();
        // Its thread destroys the window after the handle is cleared: the
        // next case must not meet it.
        EXPECT_TRUE(harness::pumpUntil([] { return statusWindowHandle() == nullptr && countStatusWindows() == 0; }));
    }
};

TEST_F(StatusWindow, OperationsWithoutAWindowDoNothing)
{
    ASSERT_EQ(statusWindowHandle(), nullptr);
    statusWindowSetText("nobody sees this");
    statusWindowSetTitle("nor this");
    statusWindowClose();
    EXPECT_EQ(statusWindowHandle(), nullptr);
    EXPECT_EQ(countStatusWindows(), 0);
}

TEST_F(StatusWindow, OpensEmptyTopmostAtItsPosition)
{
    options.StatusX = 130;
    options.StatusY = 140;
    statusWindowOpen();
    HWND window = statusWindowHandle();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(caption(window), "");
    EXPECT_EQ(controlText(window), "");
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 130);
    EXPECT_EQ(r.top, 140);
}

TEST_F(StatusWindow, TitleAndTextAreShown)
{
    statusWindowOpen();
    HWND window = statusWindowHandle();
    ASSERT_NE(window, nullptr);
    statusWindowSetTitle("Please Wait");
    statusWindowSetText("Compacting Spindle2 database...");
    EXPECT_EQ(caption(window), "Please Wait");
    EXPECT_EQ(controlText(window), "Compacting Spindle2 database...");
}

TEST_F(StatusWindow, OpeningAgainKeepsTheWindowAndItsTexts)
{
    statusWindowOpen();
    HWND first = statusWindowHandle();
    statusWindowSetTitle("CDDB Query Status");
    statusWindowSetText("Searching...");
    statusWindowOpen();
    EXPECT_EQ(statusWindowHandle(), first);
    EXPECT_EQ(caption(first), "CDDB Query Status");
    EXPECT_EQ(controlText(first), "Searching...");
    EXPECT_EQ(countStatusWindows(), 1);
}

TEST_F(StatusWindow, CloseEndsTheWindowAndItsThread)
{
    statusWindowOpen();
    ASSERT_NE(statusWindowHandle(), nullptr);
    statusWindowClose();
    EXPECT_TRUE(harness::pumpUntil([] { return statusWindowHandle() == nullptr && countStatusWindows() == 0; }));
    statusWindowSetText("after the close");
    EXPECT_EQ(statusWindowHandle(), nullptr);
}

TEST_F(StatusWindow, ClosedByTheUserLaterOperationsGoNowhere)
{
    statusWindowOpen();
    HWND window = statusWindowHandle();
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(harness::pumpUntil([] { return statusWindowHandle() == nullptr; }));
    statusWindowSetText("Found CD on remote CDDB server.");
    statusWindowSetTitle("CDDB Query Status");
    statusWindowClose();
    // The handle goes with WM_DESTROY; the window itself a moment later.
    EXPECT_TRUE(harness::pumpUntil([] { return countStatusWindows() == 0; }));
    EXPECT_EQ(statusWindowHandle(), nullptr);
}

// A lookup that closes the window and at once opens it for the next
// operation gets a new window, not the one that is going away.
TEST_F(StatusWindow, OpenedRightAfterACloseStaysOpen)
{
    for (int round = 0; round < 10; ++round) {
        statusWindowOpen();
        HWND old = statusWindowHandle();
        ASSERT_NE(old, nullptr);
        statusWindowClose();
        statusWindowOpen();
        ASSERT_TRUE(harness::pumpUntil([old] { return !IsWindow(old); }));
        HWND now = statusWindowHandle();
        EXPECT_TRUE(now && IsWindow(now)) << "round " << round;
        statusWindowSetText("Searching...");
        EXPECT_EQ(countStatusWindows(), 1) << "round " << round;
        statusWindowClose();
        ASSERT_TRUE(harness::pumpUntil([] { return statusWindowHandle() == nullptr && countStatusWindows() == 0; }));
    }
}

TEST_F(StatusWindow, TwoThreadsOpeningAtOnceGetOneWindow)
{
    for (int round = 0; round < 5; ++round) {
        std::atomic<int> ready{0};
        HWND seen[4] = {};
        std::vector<std::thread> openers;
        for (int i = 0; i < 4; ++i)
            openers.emplace_back([&, i] {
                ready++;
                while (ready.load() < 4)
                    Sleep(0);
                statusWindowOpen();
                seen[i] = statusWindowHandle();
            });
        for (auto &t : openers)
            t.join();
        ASSERT_NE(seen[0], nullptr);
        for (HWND h : seen)
            EXPECT_EQ(h, seen[0]) << "round " << round;
        EXPECT_EQ(countStatusWindows(), 1) << "round " << round;
        statusWindowClose();
        // The handle goes at the close; the window itself a moment later.
        ASSERT_TRUE(harness::pumpUntil([] { return statusWindowHandle() == nullptr && countStatusWindows() == 0; }));
    }
}

TEST_F(StatusWindow, TextsFromManyThreadsArrive)
{
    statusWindowOpen();
    HWND window = statusWindowHandle();
    std::vector<std::thread> writers;
    for (int i = 0; i < 4; ++i)
        writers.emplace_back([i] {
            char text[32];
            for (int n = 0; n < 50; ++n) {
                snprintf(text, sizeof text, "thread %d line %d", i, n);
                statusWindowSetText(text);
            }
        });
    for (auto &t : writers)
        t.join();
    statusWindowSetText("last");
    EXPECT_EQ(controlText(window), "last");
}

TEST_F(StatusWindow, MovingItIsRememberedForTheNextOpen)
{
    statusWindowOpen();
    HWND window = statusWindowHandle();
    SetWindowPos(window, nullptr, 222, 233, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(options.StatusX, 222);
    EXPECT_EQ(options.StatusY, 233);
    statusWindowClose();
    ASSERT_TRUE(harness::pumpUntil([] { return statusWindowHandle() == nullptr; }));

    statusWindowOpen();
    RECT r;
    GetWindowRect(statusWindowHandle(), &r);
    EXPECT_EQ(r.left, 222);
    EXPECT_EQ(r.top, 233);
}

} // namespace
