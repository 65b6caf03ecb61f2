// trackselect.cpp - "Select Track": every track of the current disc with its
// length and title; data tracks are listed but cannot be chosen.
#include "player/selectdialogs.h"
#include "player/drives.h"
#include "res/resource.h"
#include "ui/msgbox.h"

#include <cstdio>

namespace {

void addTrackLine(HWND list, const DriveEntry &entry, int track)
{
    char line[320];
    bool audio;
    {
        DriveLockHold hold;
        audio = entry.trackTypes && entry.trackTypes[track - 1] == PLATTER_TRACK_AUDIO;
    }
    if (!audio) {
        snprintf(line, sizeof line, "%d) Non-Audio", track);
    } else {
        int startMin = 0, startSec = 0, startFrame = 0, lenMin = 0, lenSec = 0, lenFrame = 0;
        cd_get_track_time(entry.device, track, &startMin, &startSec, &startFrame, &lenMin, &lenSec, &lenFrame);
        // The lookup thread may be replacing the titles right now.
        DriveLockHold hold;
        const char *title = entry.title.trackTitles ? entry.title.trackTitles[track - 1] : nullptr;
        if (title)
            snprintf(line, sizeof line, "%d) %d:%02d - %s", track, lenMin, lenSec, title);
        else
            snprintf(line, sizeof line, "%d) %d:%02d", track, lenMin, lenSec);
    }
    SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)line);
}

void onInitDialog(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_TRACK_LIST);
    const DriveEntry *entry = currentEntry();
    if (!entry || !entry->device || !entry->discLoaded)
        return;
    for (int track = 1; track <= entry->title.trackCount; ++track)
        addTrackLine(list, *entry, track);
    if (currentTrack != 0)
        SendMessageA(list, LB_SETCURSEL, currentTrack - 1, 0);
}

// OK or a double click: an audio track ends the dialog, a data track is
// refused and the dialog stays.
void onChoose(HWND dialog, bool fromOk)
{
    int line = (int)SendDlgItemMessageA(dialog, IDC_TRACK_LIST, LB_GETCURSEL, 0, 0);
    if (line < 0) {
        if (fromOk)
            EndDialog(dialog, 0);
        return;
    }
    const DriveEntry *entry = currentEntry();
    bool listed, audio;
    {
        DriveLockHold hold;
        listed = entry && entry->discLoaded && line < entry->title.trackCount && entry->trackTypes;
        audio = listed && entry->trackTypes[line] == PLATTER_TRACK_AUDIO;
    }
    if (!listed) {
        // The disc changed while the list was open: nothing on it to play.
        EndDialog(dialog, 0);
        return;
    }
    if (audio) {
        EndDialog(dialog, line + 1);
        return;
    }
    showMessage(dialog, "Can not play non-audio tracks.", "Track Select Error",
                MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
}

} // namespace

INT_PTR CALLBACK trackSelectProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:           onChoose(dialog, true); return TRUE;
        case IDCANCEL:       EndDialog(dialog, 0); return TRUE;
        case IDC_TRACK_LIST:
            if (HIWORD(wParam) == LBN_DBLCLK)
                onChoose(dialog, false);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
