// The selection dialogs run for real (DialogBoxParamA) while a second thread
// plays the user: it reads the list back, picks lines and presses buttons.
#include "playerfixture.h"
#include "player/selectdialogs.h"
#include "res/resource.h"
#include "ui/msgbox.h"

#include <functional>
#include <thread>

using namespace playertest;

namespace {

std::vector<std::string> listLines(HWND list)
{
    std::vector<std::string> lines;
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        char line[700] = "";
        SendMessageA(list, LB_GETTEXT, i, (LPARAM)line);
        lines.push_back(line);
    }
    return lines;
}

void pick(HWND dialog, int listId, int line)
{
    SendDlgItemMessageA(dialog, listId, LB_SETCURSEL, line, 0);
}

void press(HWND dialog, int button)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)GetDlgItem(dialog, button));
}

void doubleClick(HWND dialog, int listId)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_DBLCLK), (LPARAM)GetDlgItem(dialog, listId));
}

class SelectDialogs : public PlayerTest {};

} // namespace

// Lines, preselection and the answer to each way of closing "Select Track".
TEST_F(SelectDialogs, TrackDialog)
{
    // Track 1 is data, track 2 has a title, track 3 none.
    load({{"D:", discWithData({30, 200, 65}, {1})}});
    setText(driveEntry(1)->title.trackTitles[1], "Second");

    struct Case {
        const char *name;
        int current;             // currentTrack when the dialog opens
        int preselected;         // line the dialog selects, -1 none
        std::function<void(HWND)> user;
        INT_PTR result;
        int refusals;            // "Can not play non-audio tracks." boxes
    } cases[] = {
        {"ok on audio", 3, 2, [](HWND d) { press(d, IDOK); }, 3, 0},
        {"nothing current", 0, -1, [](HWND d) { press(d, IDOK); }, 0, 0},
        {"double click", 2, 1, [](HWND d) { pick(d, IDC_TRACK_LIST, 2); doubleClick(d, IDC_TRACK_LIST); }, 3, 0},
        {"data refused, then audio", 3, 2,
         [](HWND d) {
             pick(d, IDC_TRACK_LIST, 0);
             press(d, IDOK);
             EXPECT_TRUE(IsWindowVisible(d)) << "the dialog stays open after the refusal";
             doubleClick(d, IDC_TRACK_LIST);
             pick(d, IDC_TRACK_LIST, 1);
             press(d, IDOK);
         },
         2, 2},
        {"cancel", 2, 1, [](HWND d) { press(d, IDCANCEL); }, 0, 0},
        {"close box", 2, 1, [](HWND d) { SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        harness::MessageBoxRecorder boxes;
        currentTrack = c.current;
        std::vector<std::string> lines;
        int selected = -2;
        INT_PTR result = harness::runDialogAsUser(IDD_TRACK_SELECT, trackSelectProc, "Select Track", [&](HWND d) {
            lines = listLines(GetDlgItem(d, IDC_TRACK_LIST));
            selected = (int)SendDlgItemMessageA(d, IDC_TRACK_LIST, LB_GETCURSEL, 0, 0);
            c.user(d);
        });
        EXPECT_EQ(lines, (std::vector<std::string>{"1) Non-Audio", "2) 3:20 - Second", "3) 1:05"}));
        EXPECT_EQ(selected, c.preselected);
        EXPECT_EQ(result, c.result);
        ASSERT_EQ((int)boxes.count(), c.refusals);
        for (const harness::Box &box : boxes.boxes()) {
            EXPECT_EQ(box.text, "Can not play non-audio tracks.");
            EXPECT_EQ(box.caption, "Track Select Error");
            EXPECT_EQ(box.flags, (UINT)(MB_OK | MB_ICONERROR | MB_SYSTEMMODAL));
        }
    }
}

// Every drive's line, from full titles to an empty drive, and the refusal
// of a drive that holds no audio disc.
TEST_F(SelectDialogs, DriveDialog)
{
    setMachine({{"C:\\", DRIVE_FIXED}, {"D:\\", DRIVE_CDROM}, {"E:\\", DRIVE_CDROM}, {"F:\\", DRIVE_CDROM},
                {"G:\\", DRIVE_CDROM}, {"H:\\", DRIVE_CDROM}});
    // Discs of 200, 65, 120 and 3600 + 5 seconds after the 2-second lead-in.
    load({{"D:", tracks(1, 200, 1)}, {"E:", tracks(1, 65, 2)}, {"F:", tracks(2, 60, 3)}, {"G:", tracks(1, 3605, 4)}});
    setText(driveEntry(1)->title.artist, "The Artist");
    setText(driveEntry(1)->title.discTitle, "The Title");
    setText(driveEntry(2)->title.discTitle, "Only A Title");
    setText(driveEntry(3)->title.artist, "Only An Artist");
    const std::vector<std::string> expected = {"D: 3:22 - The Artist / The Title", "E: 1:07 - Only A Title",
                                               "F: 2:02 - Only An Artist", "G: 60:07 -", "H: No Audio CD"};
    struct Case {
        const char *name;
        int current;
        std::function<void(HWND)> user;
        INT_PTR result;
        int refusals;
    } cases[] = {
        {"current drive preselected", 2, [](HWND d) { press(d, IDOK); }, 2, 0},
        {"empty drive refused, then one with a disc", 1,
         [](HWND d) {
             pick(d, IDC_DRIVE_LIST, 4);
             doubleClick(d, IDC_DRIVE_LIST);
             pick(d, IDC_DRIVE_LIST, 3);
             press(d, IDOK);
         },
         4, 1},
        {"no drive current, nothing chosen", 0, [](HWND d) { press(d, IDOK); }, 0, 0},
        {"cancel", 1, [](HWND d) { press(d, IDCANCEL); }, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        harness::MessageBoxRecorder boxes;
        currentDrive = c.current;
        std::vector<std::string> lines;
        int selected = -2;
        INT_PTR result = harness::runDialogAsUser(IDD_DRIVE_SELECT, driveSelectProc, "Select Drive", [&](HWND d) {
            lines = listLines(GetDlgItem(d, IDC_DRIVE_LIST));
            selected = (int)SendDlgItemMessageA(d, IDC_DRIVE_LIST, LB_GETCURSEL, 0, 0);
            c.user(d);
        });
        EXPECT_EQ(lines, expected);
        EXPECT_EQ(selected, c.current - 1);
        EXPECT_EQ(result, c.result);
        ASSERT_EQ((int)boxes.count(), c.refusals);
        for (const harness::Box &box : boxes.boxes()) {
            EXPECT_EQ(box.text, "You must select a drive that contains an audio CD.");
            EXPECT_EQ(box.caption, "Drive Select Error");
            EXPECT_EQ(box.flags, (UINT)(MB_OK | MB_ICONERROR | MB_SYSTEMMODAL));
        }
    }
}
