// aboutbox.cpp - the About box: the program's name and version, its disc
// icon and its copyright line, all from the dialog's template (which takes
// them from res/version.h).
#include "app/aboutbox.h"

INT_PTR CALLBACK aboutProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return 1;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(window, LOWORD(wParam));
            return 1;
        }
        return 0;
    default:
        return 0;
    }
}
