// aboutbox.cpp - the About box's procedure.
#include "rackfile/aboutbox.h"
#include "rackfile/commandline.h"
#include "res/resource.h"

#include <string>

const char kRackfileHelp[] =
    "Rackfile keeps the Spindle2 title database. Click a column heading to sort, type in Search to "
    "find entries, double-click an entry to edit it. Check reads every record and reports damage; "
    "Compact frees the space of old and deleted records. Export writes entries to a CDDB folder; "
    "Import reads a CDDB folder or a Cdplayer.ini. Spindle2 may run meanwhile.";

INT_PTR CALLBACK aboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        std::string text = std::string(kRackfileHelp) + "\r\n\r\n" + kRackfileUsage;
        SetDlgItemTextA(dialog, IDC_RF_ABOUT_USAGE, text.c_str());
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    default: return FALSE;
    }
}
