// Context help: F1 on a control and a right click reach WinHelpA with the
// help file, the right command and the page's table.
#include "harness/harness.h"
#include "res/resource.h"
#include "ui/contexthelp.h"

namespace {

INT_PTR CALLBACK plainDialog(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

const DWORD helpIds[] = {IDC_ABOUT_NAME, 70, IDOK, 71, 0, 0};

TEST(ContextHelp, HelpAndRightClickOpenTheControlsTopic)
{
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), nullptr, plainDialog, 0);
    ASSERT_NE(dialog, nullptr);
    HWND control = GetDlgItem(dialog, IDOK);
    harness::HelpRecorder help;

    HELPINFO onControl = {sizeof(HELPINFO), HELPINFO_WINDOW, IDOK, control, 0, {0, 0}};
    HELPINFO onMenu = {sizeof(HELPINFO), HELPINFO_MENUITEM, 40014, nullptr, 0, {0, 0}};
    EXPECT_TRUE(handleContextHelp(WM_HELP, 0, (LPARAM)&onControl, helpIds));
    EXPECT_FALSE(handleContextHelp(WM_HELP, 0, (LPARAM)&onMenu, helpIds));
    EXPECT_TRUE(handleContextHelp(WM_CONTEXTMENU, (WPARAM)control, MAKELPARAM(10, 10), helpIds));
    EXPECT_FALSE(handleContextHelp(WM_COMMAND, IDOK, 0, helpIds));

    std::vector<harness::HelpCall> calls = help.calls();
    ASSERT_EQ(calls.size(), 2u);
    const std::vector<DWORD> table = {IDC_ABOUT_NAME, 70, IDOK, 71};
    UINT commands[] = {HELP_WM_HELP, HELP_CONTEXTMENU};
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].window, control);
        EXPECT_EQ(calls[i].file, "Spindle2.hlp");
        EXPECT_EQ(calls[i].command, commands[i]);
        EXPECT_EQ(calls[i].ids, table);
    }
    DestroyWindow(dialog);
}

// Where the viewer refuses pop-ups, the control's topic opens in the main
// help window; a control without a help id gets nothing more.
TEST(ContextHelp, ViewerWithoutPopUpsGetsTheTopic)
{
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), nullptr, plainDialog, 0);
    ASSERT_NE(dialog, nullptr);
    harness::HelpRecorder help(false);
    HELPINFO onOk = {sizeof(HELPINFO), HELPINFO_WINDOW, IDOK, GetDlgItem(dialog, IDOK), 0, {0, 0}};
    handleContextHelp(WM_HELP, 0, (LPARAM)&onOk, helpIds);
    handleContextHelp(WM_CONTEXTMENU, (WPARAM)GetDlgItem(dialog, IDC_ABOUT_NAME), 0, helpIds);
    handleContextHelp(WM_CONTEXTMENU, (WPARAM)GetDlgItem(dialog, IDC_ABOUT_ICON), 0, helpIds);

    std::vector<std::pair<UINT, ULONG_PTR>> seen;
    for (const harness::HelpCall &call : help.calls())
        seen.push_back({call.command, call.command == HELP_CONTEXT ? call.data : 0});
    EXPECT_EQ(seen, (std::vector<std::pair<UINT, ULONG_PTR>>{{HELP_WM_HELP, 0}, {HELP_CONTEXT, 71},
                                                             {HELP_CONTEXTMENU, 0}, {HELP_CONTEXT, 70},
                                                             {HELP_CONTEXTMENU, 0}}));
    DestroyWindow(dialog);
}

} // namespace
