// driveselect.cpp - "Select Drive": every drive with its disc's length and
// titles; a drive without an audio disc is listed but cannot be chosen.
#include "player/selectdialogs.h"
#include "player/drives.h"
#include "res/resource.h"
#include "ui/msgbox.h"

#include <cstdio>

namespace {

void addDriveLine(HWND list, const DriveEntry &entry)
{
    char line[640];
    if (!entry.device || !entry.discLoaded) {
        snprintf(line, sizeof line, "%s No Audio CD", entry.name);
    } else {
        // The lead-out's start is the length of the disc.
        int min = 0, sec = 0, frame = 0, lenMin = 0, lenSec = 0, lenFrame = 0;
        cd_get_track_time(entry.device, entry.title.trackCount + 1, &min, &sec, &frame, &lenMin, &lenSec, &lenFrame);
        DriveLockHold hold;
        const char *artist = entry.title.artist, *title = entry.title.discTitle;
        if (artist && title)
            snprintf(line, sizeof line, "%s %d:%02d - %s / %s", entry.name, min, sec, artist, title);
        else if (artist || title)
            snprintf(line, sizeof line, "%s %d:%02d - %s", entry.name, min, sec, artist ? artist : title);
        else
            snprintf(line, sizeof line, "%s %d:%02d -", entry.name, min, sec);
    }
    SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)line);
}

void onInitDialog(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_DRIVE_LIST);
    for (int drive = 1; drive <= driveCount; ++drive)
        addDriveLine(list, DriveTable[drive - 1]);
    if (currentDrive != 0)
        SendMessageA(list, LB_SETCURSEL, currentDrive - 1, 0);
}

// OK or a double click: a drive with an audio disc ends the dialog; any
// other is refused and the dialog stays.
void onChoose(HWND dialog, bool fromOk)
{
    int line = (int)SendDlgItemMessageA(dialog, IDC_DRIVE_LIST, LB_GETCURSEL, 0, 0);
    if (line < 0) {
        if (fromOk)
            EndDialog(dialog, 0);
        return;
    }
    if (driveHasDisc(line + 1)) {
        EndDialog(dialog, line + 1);
        return;
    }
    showMessage(dialog, "You must select a drive that contains an audio CD.", "Drive Select Error",
                MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
}

} // namespace

INT_PTR CALLBACK driveSelectProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:           onChoose(dialog, true); return TRUE;
        case IDCANCEL:       EndDialog(dialog, 0); return TRUE;
        case IDC_DRIVE_LIST:
            if (HIWORD(wParam) == LBN_DBLCLK)
                onChoose(dialog, false);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
