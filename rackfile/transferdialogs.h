// transferdialogs.h - the "Export Entries" and "Import Entries" dialogs,
// which ask where to and where from before the work starts.
#ifndef RACKFILE_TRANSFERDIALOGS_H
#define RACKFILE_TRANSFERDIALOGS_H

#include <windows.h>

#include <string>

struct ExportChoice {
    int selectedCount = 0;   // in: how many entries are selected
    std::string folder;      // out
    bool windowsLayout = false;
    bool selectedOnly = false;
};

struct ImportChoice {
    std::string path;        // out: a CDDB tree's folder or a CD Player file
};

INT_PTR CALLBACK exportDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK importDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
