// transferdialogs.cpp - the export and import dialogs' procedures.
#include "rackfile/transferdialogs.h"
#include "rackfile/mainwindow.h"
#include "res/resource.h"
#include "ui/msgbox.h"

namespace {

std::string pathText(HWND dialog)
{
    char text[MAX_PATH];
    GetDlgItemTextA(dialog, IDC_RF_PATH, text, sizeof text);
    std::string path = text;
    while (!path.empty() && path.back() == ' ')
        path.pop_back();
    return path;
}

bool askForPath(HWND dialog, const std::string &path, const char *what)
{
    if (!path.empty())
        return true;
    showMessage(dialog, what, kRackfileCaption, MB_OK | MB_ICONERROR);
    SetFocus(GetDlgItem(dialog, IDC_RF_PATH));
    return false;
}

BOOL OnInitExport(HWND dialog, ExportChoice *choice)
{
    SetWindowLongPtrA(dialog, DWLP_USER, (LONG_PTR)choice);
    EnableWindow(GetDlgItem(dialog, IDC_RF_SELECTED_ONLY), choice->selectedCount > 0);
    CheckDlgButton(dialog, IDC_RF_SELECTED_ONLY, choice->selectedCount > 1 ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void onExportOk(HWND dialog, ExportChoice *choice)
{
    std::string folder = pathText(dialog);
    if (!askForPath(dialog, folder, "Please type the folder of the CDDB tree to export to."))
        return;
    choice->folder = folder;
    choice->windowsLayout = IsDlgButtonChecked(dialog, IDC_RF_WINDOWS_LAYOUT) == BST_CHECKED;
    choice->selectedOnly =
        choice->selectedCount > 0 && IsDlgButtonChecked(dialog, IDC_RF_SELECTED_ONLY) == BST_CHECKED;
    EndDialog(dialog, IDOK);
}

void onImportOk(HWND dialog, ImportChoice *choice)
{
    std::string path = pathText(dialog);
    if (!askForPath(dialog, path, "Please type the folder of a CDDB tree or the name of a CD Player file."))
        return;
    choice->path = path;
    EndDialog(dialog, IDOK);
}

} // namespace

INT_PTR CALLBACK exportDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    ExportChoice *choice = (ExportChoice *)GetWindowLongPtrA(dialog, DWLP_USER);
    switch (message) {
    case WM_INITDIALOG: return OnInitExport(dialog, (ExportChoice *)lParam);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK && choice)
            onExportOk(dialog, choice);
        else if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, IDCANCEL);
        return TRUE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK importDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    ImportChoice *choice = (ImportChoice *)GetWindowLongPtrA(dialog, DWLP_USER);
    switch (message) {
    case WM_INITDIALOG: SetWindowLongPtrA(dialog, DWLP_USER, lParam); return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK && choice)
            onImportOk(dialog, choice);
        else if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, IDCANCEL);
        return TRUE;
    default: return FALSE;
    }
}
