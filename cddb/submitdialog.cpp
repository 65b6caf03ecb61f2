// submitdialog.cpp - "Submit A New Entry" (dialog 136): the guidelines and
// the stored categories to choose from.
#include "cddb/serverlist.h"
#include "cddb/submit.h"
#include "options/registry.h"
#include "res/resource.h"

#include <cstdio>

namespace {

// Fills the drop-down list from the stored categories; false when the key
// cannot be read.
bool fillCategories(HWND dialog)
{
    HKEY key;
    if (!regOpenRead(CDDB_KEY, &key))
        return false;
    int32_t count = 0;
    regReadDword(key, "NumCategories", &count);
    if (count > LIST_MAX_ENTRIES)
        count = LIST_MAX_ENTRIES;
    HWND list = GetDlgItem(dialog, IDC_SUBMIT_CATEGORY);
    for (int n = 1; n <= count; ++n) {
        char name[16], category[41] = "";
        snprintf(name, sizeof name, "%s%d", "Category", n);
        if (!regReadString(key, name, category, 40))
            category[0] = '\0';
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(category));
    }
    regClose(key);
    SendMessageA(list, CB_SETCURSEL, 0, 0);
    return true;
}

void onSubmit(HWND dialog)
{
    LRESULT selected = SendDlgItemMessageA(dialog, IDC_SUBMIT_CATEGORY, CB_GETCURSEL, 0, 0);
    EndDialog(dialog, selected == CB_ERR ? 0 : selected + 1);
}

} // namespace

INT_PTR CALLBACK submitCategoryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        if (!fillCategories(dialog))
            EndDialog(dialog, 0);
        return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            onSubmit(dialog);
            return 1;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
            return 1;
        }
        return 0;
    default:
        return 0;
    }
}
