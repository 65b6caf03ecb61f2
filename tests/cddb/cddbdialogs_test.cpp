// "Fuzzy Search Results" and "Submit A New Entry" as the user sees them:
// their lines, the preselected first line and the answer of each way out;
// and the match texts selectFuzzyMatch builds.
#include "cddb/cddbfixture.h"

#include "cddb/fuzzy.h"
#include "cddb/submit.h"
#include "ui/modal.h"

#include <thread>

namespace {

using namespace cddbtest;
using Actions = harness::DialogActions;

std::vector<std::string> lines(HWND control, bool combo)
{
    std::vector<std::string> result;
    int count = (int)SendMessageA(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        SendMessageA(control, combo ? CB_GETLBTEXT : LB_GETTEXT, i, (LPARAM)text);
        result.push_back(text);
    }
    return result;
}

void press(HWND dialog, int button)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)GetDlgItem(dialog, button));
}

class CddbDialogs : public CddbTest {};

TEST_F(CddbDialogs, FuzzyMatchDialog)
{
    struct Case {
        const char *name;
        Actions user;
        INT_PTR result;
    } cases[] = {
        {"Enter at once takes the first", [](HWND d) { press(d, IDOK); }, 1},
        {"the empty line can be chosen",
         [](HWND d) {
             SendDlgItemMessageA(d, IDC_FUZZY_LIST, LB_SETCURSEL, 2, 0);
             press(d, IDOK);
         },
         3},
        {"no line selected", [](HWND d) {
             SendDlgItemMessageA(d, IDC_FUZZY_LIST, LB_SETCURSEL, (WPARAM)-1, 0);
             press(d, IDOK);
         },
         0},
        {"Current CD Not In List", [](HWND d) { press(d, IDCANCEL); }, 0},
        {"close box", [](HWND d) { SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, 0},
        {"a double click does nothing of its own",
         [](HWND d) {
             SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_FUZZY_LIST, LBN_DBLCLK), (LPARAM)GetDlgItem(d, IDC_FUZZY_LIST));
             SendDlgItemMessageA(d, IDC_FUZZY_LIST, LB_SETCURSEL, 3, 0);
             press(d, IDOK);
         },
         4},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fuzzyMatches = {"Artist / Title", "Only Artist", "", "Only Title"};
        std::vector<std::string> shown;
        int preselected = -2;
        std::string ok, notInList;
        INT_PTR result = harness::runDialogAsUser(IDD_FUZZY_MATCH, fuzzyMatchProc, "Fuzzy Search Results", [&](HWND d) {
            shown = lines(GetDlgItem(d, IDC_FUZZY_LIST), false);
            preselected = (int)SendDlgItemMessageA(d, IDC_FUZZY_LIST, LB_GETCURSEL, 0, 0);
            char text[128] = "";
            GetDlgItemTextA(d, IDOK, text, sizeof text);
            ok = text;
            GetDlgItemTextA(d, IDCANCEL, text, sizeof text);
            notInList = text;
            c.user(d);
        });
        EXPECT_EQ(shown, fuzzyMatches);
        EXPECT_EQ(preselected, 0);
        EXPECT_EQ(ok, "Get Information For Selected Title");
        EXPECT_EQ(notInList, "Current CD Not In List");
        EXPECT_EQ(result, c.result);
    }
}

// The texts of the matches as the library reports them, and the list
// released once the dialog has closed.
TEST_F(CddbDialogs, FuzzyMatchTexts)
{
    fake::setResult("cddb_get_num_fuzzy", 4);
    fake::setCddbText("cddb_get_fuzzy_artist:1", "Artist");
    fake::setCddbText("cddb_get_fuzzy_title:1", "Title");
    fake::setCddbText("cddb_get_fuzzy_artist:2", "Only Artist");
    fake::setCddbText("cddb_get_fuzzy_title:3", "Only Title");
    fake::setCddbText("cddb_get_fuzzy_artist:4", "");
    std::vector<std::string> listed;
    setModalHook([&](int templateId, HWND owner, LPARAM) {
        EXPECT_EQ(templateId, IDD_FUZZY_MATCH);
        EXPECT_EQ(owner, mainWindow);
        listed = fuzzyMatches;
        return (INT_PTR)0;
    });
    EXPECT_EQ(selectFuzzyMatch(100), 0);
    setModalHook(nullptr);
    EXPECT_EQ(listed, (std::vector<std::string>{"Artist / Title", "Only Artist", "Only Title", ""}));
    EXPECT_TRUE(fuzzyMatches.empty());
    EXPECT_TRUE(fake::callsTo("cddb_set_id").empty());
    EXPECT_TRUE(fake::callsTo("cddb_fetch_remote").empty());
}

TEST_F(CddbDialogs, SubmitCategoryDialog)
{
    struct Case {
        const char *name;
        bool key;
        Actions user;
        INT_PTR result;
    } cases[] = {
        {"Submit at once takes the first", true, [](HWND d) { press(d, IDOK); }, 1},
        {"the second category", true,
         [](HWND d) {
             SendDlgItemMessageA(d, IDC_SUBMIT_CATEGORY, CB_SETCURSEL, 1, 0);
             press(d, IDOK);
         },
         2},
        {"Cancel", true, [](HWND d) { press(d, IDCANCEL); }, 0},
        {"close box", true, [](HWND d) { SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, 0},
        {"no cddb key", false, [](HWND d) { press(d, IDOK); }, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.key)
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, CDDB_KEY);
        std::vector<std::string> shown;
        int preselected = -2;
        auto user = [&](HWND d) {
            shown = lines(GetDlgItem(d, IDC_SUBMIT_CATEGORY), true);
            preselected = (int)SendDlgItemMessageA(d, IDC_SUBMIT_CATEGORY, CB_GETCURSEL, 0, 0);
            c.user(d);
        };
        INT_PTR result =
            harness::runDialogAsUser(IDD_SUBMIT_CATEGORY, submitCategoryProc, "Submit A New Entry", user, c.key);
        EXPECT_EQ(result, c.result);
        if (c.key) {
            EXPECT_EQ(shown, (std::vector<std::string>{"blues", "rock"}));
            EXPECT_EQ(preselected, 0);
        }
    }
}

} // namespace
