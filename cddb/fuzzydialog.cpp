// fuzzydialog.cpp - "Fuzzy Search Results" (dialog 138): the inexact
// matches of a remote query, the user's choice, and its fetch.
#include "cddb/fuzzy.h"
#include "core/appstate.h"
#include "cddb/cddbsession.h"
#include "cddb/statuswnd.h"
#include "res/resource.h"
#include "ui/modal.h"

std::vector<std::string> fuzzyMatches;

std::string fuzzyMatchText(const char *artist, const char *title)
{
    if (artist && title)
        return std::string(artist) + " / " + title;
    if (artist)
        return artist;
    if (title)
        return title;
    return std::string();
}

namespace {

void onInitDialog(HWND dialog)
{
    setOpenCddbDialog(dialog);
    HICON icon = LoadIconA(instanceHandle, MAKEINTRESOURCEA(IDI_CD_PLAYING));
    if (icon)
        SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    HWND list = GetDlgItem(dialog, IDC_FUZZY_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string &text : fuzzyMatches)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(list, LB_SETCURSEL, 0, 0);
}

void onChoose(HWND dialog)
{
    LRESULT selected = SendDlgItemMessageA(dialog, IDC_FUZZY_LIST, LB_GETCURSEL, 0, 0);
    EndDialog(dialog, selected == LB_ERR ? 0 : selected + 1);
}

void reportFetchFailure(int result)
{
    switch (result) {
    case -4: statusWindowSetText("Unable to find selected server."); break;
    case -5: statusWindowSetText("Unable to connect to selected server."); break;
    default: statusWindowSetText("Unknown error occurred during CDDB fetch."); break;
    }
}

} // namespace

INT_PTR CALLBACK fuzzyMatchProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog(dialog);
        return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            onChoose(dialog);
            return 1;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
            return 1;
        }
        return 0;
    case WM_DESTROY:
        setOpenCddbDialog(nullptr);
        return 0;
    default:
        return 0;
    }
}

int selectFuzzyMatch(cddb_handle_t handle)
{
    int count = cddb_get_num_fuzzy(handle);
    if (count > FUZZY_MAX_MATCHES)
        count = FUZZY_MAX_MATCHES;
    fuzzyMatches.clear();
    for (int i = 1; i <= count; ++i) {
        const char *artist = cddb_get_fuzzy_artist(handle, i);
        const char *title = cddb_get_fuzzy_title(handle, i);
        fuzzyMatches.push_back(fuzzyMatchText(artist, title));
    }

    INT_PTR chosen = runModalDialog(mainWindow, IDD_FUZZY_MATCH, fuzzyMatchProc, 0);
    std::vector<std::string>().swap(fuzzyMatches);
    if (chosen <= 0 || chosen > count)
        return 0;

    int match = (int)chosen;
    cddb_set_id(handle, cddb_get_fuzzy_id(handle, match));
    cddb_set_category_name(handle, cddb_get_fuzzy_category(handle, match));
    int result = cddb_fetch_remote(handle);
    if (result > 0)
        return 1;
    reportFetchFailure(result);
    return 0;
}
