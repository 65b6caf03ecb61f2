// cdinfopages.cpp - what the CD information sheet's pages do alike: the
// track and drive lines, activation and leaving, another drive chosen in the
// drive box, OK, context help, and following discs that come and go while
// the sheet is open.
#include "titles/cdinfopages.h"
#include "titles/cdinfosheet.h"

#include "player/drives.h"
#include "res/resource.h"
#include "ui/contexthelp.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <cstring>

namespace {

// Characters of the artist and of the disc title in a drive line: each gets
// half when both are known.
const int driveTextLimitAlone = 60;
const int driveTextLimitShared = 30;

// F1 and the right click on a control of any page: control id, help id.
const DWORD cdInfoHelpIds[] = {
    IDC_CDINFO_DRIVE,       HID_CDINFO_DRIVE,
    IDC_CDINFO_ARTIST,      HID_CDINFO_ARTIST,
    IDC_CDINFO_TITLE,       HID_CDINFO_TITLE,
    IDC_CDINFO_TRACKS,      HID_CDINFO_TRACKS,
    IDC_CDINFO_NAME,        HID_CDINFO_NAME,
    IDC_CDINFO_CLEAR_ALL,   HID_CDINFO_CLEAR_ALL,
    IDC_CDINFO_DISC_TEXT,   HID_CDINFO_DISC_TEXT,
    IDC_CDINFO_TRACK_TEXT,  HID_CDINFO_TRACK_TEXT,
    IDC_PROGRAM_DISC_ORDER, HID_PROGRAM_DISC_ORDER,
    IDC_PROGRAM_LIST,       HID_PROGRAM_LIST,
    0, 0,
};

// The page on show while the sheet is open, so that discs coming and going
// reach it.
struct ActivePage {
    bool sheetOpen = false;
    SheetPage *page = nullptr;
    HWND window = nullptr;
} active;

void setResult(HWND window, LONG_PTR result)
{
    SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
}

void activate(SheetPage &page, HWND window)
{
    active.page = &page;
    active.window = window;
    fillDriveList(window);
    page.fill(window);
}

void leave(SheetPage &page, HWND window)
{
    if (page.showsDisc)
        page.save(window);
}

INT_PTR onNotify(SheetPage &page, HWND window, const NMHDR *header)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        activate(page, window);
        setResult(window, 0);
        return 1;
    case PSN_KILLACTIVE:
        leave(page, window);
        if (active.window == window) {
            active.page = nullptr;
            active.window = nullptr;
        }
        setResult(window, FALSE);
        return 1;
    case PSN_APPLY:
        sheetAccepted = true;
        setResult(window, PSNRET_NOERROR);
        return 1;
    case PSN_RESET:
        return 1;
    default:
        return 0;
    }
}

// Another line of the drive box: the page's fields go to the old drive's
// copy, then the page shows the new drive.
void onDriveChosen(SheetPage &page, HWND window)
{
    int line = (int)SendDlgItemMessageA(window, IDC_CDINFO_DRIVE, CB_GETCURSEL, 0, 0);
    if (line < 0 || line >= (int)sheetCopies.size())
        return;
    leave(page, window);
    sheetDrive = line + 1;
    page.fill(window);
}

void appendCut(std::string &line, const char *text, int limit)
{
    line.append(text, strnlen(text, (size_t)limit));
}

std::string driveLine(int drive)
{
    const DriveEntry &entry = DriveTable[drive - 1];
    char head[64];
    if (entry.device == 0 || !entry.discLoaded) {
        snprintf(head, sizeof head, "%s No Audio CD", entry.name);
        return head;
    }
    // The lead-out's start is the disc's playing time.
    int startMin = 0, startSec = 0, startFrame = 0, lengthMin = 0, lengthSec = 0, lengthFrame = 0;
    cd_get_track_time(entry.device, entry.title.trackCount + 1, &startMin, &startSec, &startFrame, &lengthMin,
                      &lengthSec, &lengthFrame);
    snprintf(head, sizeof head, "%s %d:%02d - ", entry.name, startMin, startSec);
    std::string line = head;
    // Titles come from the copy, and only for the disc it was taken from:
    // a disc that arrived meanwhile shows no titles here.
    if (!sheetHasDisc(drive))
        return line;
    const TitleRecord &copy = sheetCopies[(size_t)drive - 1].record;
    int limit = copy.artist && copy.discTitle ? driveTextLimitShared : driveTextLimitAlone;
    if (copy.artist)
        appendCut(line, copy.artist, limit);
    if (copy.artist && copy.discTitle)
        line += " / ";
    if (copy.discTitle)
        appendCut(line, copy.discTitle, limit);
    return line;
}

} // namespace

std::string formatTrackLine(int track)
{
    char line[320];
    const SheetCopy *slot = shownCopy();
    DriveEntry *entry = driveEntry(sheetDrive);
    bool audio = slot && entry && sheetHasDisc(sheetDrive) && track >= 1 && track <= slot->record.trackCount &&
                 entry->trackTypes[track - 1] == PLATTER_TRACK_AUDIO;
    if (!audio) {
        snprintf(line, sizeof line, "(%d) Non-Audio", track);
        return line;
    }
    int startMin = 0, startSec = 0, startFrame = 0, lengthMin = 0, lengthSec = 0, lengthFrame = 0;
    cd_get_track_time(entry->device, track, &startMin, &startSec, &startFrame, &lengthMin, &lengthSec, &lengthFrame);
    const char *title = slot->record.trackTitles ? slot->record.trackTitles[track - 1] : nullptr;
    if (title)
        snprintf(line, sizeof line, "%d) %d:%02d - %s", track, lengthMin, lengthSec, title);
    else
        snprintf(line, sizeof line, "%d) %d:%02d", track, lengthMin, lengthSec);
    return line;
}

void fillDriveList(HWND page)
{
    HWND box = GetDlgItem(page, IDC_CDINFO_DRIVE);
    SendMessageA(box, CB_RESETCONTENT, 0, 0);
    for (int drive = 1; drive <= driveCount && (size_t)drive <= sheetCopies.size(); ++drive)
        SendMessageA(box, CB_ADDSTRING, 0, (LPARAM)driveLine(drive).c_str());
    SendMessageA(box, CB_SETCURSEL, (WPARAM)(sheetDrive - 1), 0);
}

INT_PTR sheetPageMessage(SheetPage &page, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        page.init(window);
        return 1;
    case WM_NOTIFY:
        return onNotify(page, window, reinterpret_cast<const NMHDR *>(lParam));
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_CDINFO_DRIVE) {
            if (HIWORD(wParam) == CBN_SELCHANGE)
                onDriveChosen(page, window);
            return 1;
        }
        return page.command(window, LOWORD(wParam), HIWORD(wParam));
    case WM_HELP:
    case WM_CONTEXTMENU:
        return handleContextHelp(message, wParam, lParam, cdInfoHelpIds);
    default:
        return 0;
    }
}

void sheetPagesOpened()
{
    active = ActivePage{};
    active.sheetOpen = true;
}

void sheetPagesClosed()
{
    active = ActivePage{};
}

void cdInfoSheetDrivesChanged()
{
    if (!active.sheetOpen)
        return;
    refreshSheetDiscIds();
    if (!active.page || !active.window || !IsWindow(active.window))
        return;
    SheetPage &page = *active.page;
    fillDriveList(active.window);
    // The drive on show lost its disc, or got back the one its copy belongs
    // to: the page follows. Fields typed for a disc that left stay in its
    // copy, which goes back only if that disc is in the drive at OK.
    if (page.showsDisc != sheetHasDisc(sheetDrive)) {
        leave(page, active.window);
        page.fill(active.window);
    }
}

void setControlText(HWND page, int id, const char *text)
{
    SetDlgItemTextA(page, id, text ? text : "");
}

void enableControls(HWND page, std::initializer_list<int> ids, bool enable)
{
    for (int id : ids)
        EnableWindow(GetDlgItem(page, id), enable);
}

int selectedLine(HWND page, int id)
{
    LRESULT line = SendDlgItemMessageA(page, id, LB_GETCURSEL, 0, 0);
    return line == LB_ERR ? -1 : (int)line;
}
