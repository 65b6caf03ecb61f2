// cdinfotitles.cpp - the sheet's "CD Information" page: artist, disc title
// and the name of each track. Enter in the Name field stores the name and
// moves on to the next track, so a whole disc can be named in one go.
#include "titles/cdinfopages.h"

#include "res/resource.h"
#include "titles/titlerecord.h"

namespace {

// Characters kept of the artist, the disc title and a track name.
const size_t titleLimit = 254;
// The Name field takes two more, so that Enter still fits after a full name.
const int nameFieldLimit = (int)titleLimit + 2;

void fillTitles(HWND page);
void saveTitles(HWND page);

void onInit(HWND page);
INT_PTR onCommand(HWND page, int id, int code);

SheetPage titlesPage = {onInit, fillTitles, saveTitles, onCommand, false};

// Set while the page itself writes the Name field, whose change
// notification would otherwise be taken for typing.
bool settingName = false;

char **trackTitleOf(SheetCopy *slot, int track)
{
    if (!slot || !slot->record.trackTitles || track < 1 || track > slot->record.trackCount)
        return nullptr;
    return &slot->record.trackTitles[track - 1];
}

void showName(HWND page)
{
    char **title = trackTitleOf(shownCopy(), sheetTrack);
    settingName = true;
    setControlText(page, IDC_CDINFO_NAME, title ? *title : nullptr);
    settingName = false;
}

// The Name field's text without the line breaks Enter put in, cut to the limit.
std::string typedName(HWND page)
{
    std::string text = controlText(page, IDC_CDINFO_NAME, (size_t)-1);
    std::string name;
    for (char c : text)
        if (c != '\r' && c != '\n')
            name += c;
    if (name.size() > titleLimit)
        name.resize(titleLimit);
    return name;
}

void focusField(HWND page, int id)
{
    HWND field = GetDlgItem(page, id);
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
}

void fillTitles(HWND page)
{
    bool disc = sheetHasDisc(sheetDrive);
    titlesPage.showsDisc = disc;
    SendDlgItemMessageA(page, IDC_CDINFO_TRACKS, LB_RESETCONTENT, 0, 0);
    enableControls(page, {IDC_CDINFO_ARTIST, IDC_CDINFO_TITLE, IDC_CDINFO_TRACKS, IDC_CDINFO_NAME, IDC_CDINFO_CLEAR_ALL},
                   disc);
    if (!disc) {
        setControlText(page, IDC_CDINFO_ARTIST, nullptr);
        setControlText(page, IDC_CDINFO_TITLE, nullptr);
        settingName = true;
        setControlText(page, IDC_CDINFO_NAME, nullptr);
        settingName = false;
        return;
    }
    const SheetCopy &slot = *shownCopy();
    sheetTrack = 1;
    setControlText(page, IDC_CDINFO_ARTIST, slot.record.artist);
    setControlText(page, IDC_CDINFO_TITLE, slot.record.discTitle);
    for (int track = 1; track <= slot.record.trackCount; ++track)
        SendDlgItemMessageA(page, IDC_CDINFO_TRACKS, LB_ADDSTRING, 0, (LPARAM)formatTrackLine(track).c_str());
    SendDlgItemMessageA(page, IDC_CDINFO_TRACKS, LB_SETCURSEL, 0, 0);
    showName(page);
    // The sheet gives the focus to the page's first control once the page
    // is up; the artist's field takes it over after that.
    focusField(page, IDC_CDINFO_ARTIST);
    PostMessageA(GetParent(page), WM_NEXTDLGCTL, (WPARAM)GetDlgItem(page, IDC_CDINFO_ARTIST), TRUE);
}

void saveTitles(HWND page)
{
    SheetCopy *slot = shownCopy();
    if (!slot || !slot->taken)
        return;
    setText(slot->record.artist, controlText(page, IDC_CDINFO_ARTIST, titleLimit).c_str());
    setText(slot->record.discTitle, controlText(page, IDC_CDINFO_TITLE, titleLimit).c_str());
    if (char **title = trackTitleOf(slot, sheetTrack))
        setText(*title, typedName(page).c_str());
}

void replaceTrackLine(HWND page, int track)
{
    HWND list = GetDlgItem(page, IDC_CDINFO_TRACKS);
    SendMessageA(list, LB_DELETESTRING, (WPARAM)(track - 1), 0);
    SendMessageA(list, LB_INSERTSTRING, (WPARAM)(track - 1), (LPARAM)formatTrackLine(track).c_str());
}

// Enter in the Name field: the name belongs to the track, and the next
// track (after the last, the first) is up for naming.
void onNameChanged(HWND page)
{
    if (settingName || !titlesPage.showsDisc)
        return;
    std::string text = controlText(page, IDC_CDINFO_NAME, (size_t)-1);
    if (text.find_first_of("\r\n") == std::string::npos)
        return;
    SheetCopy *slot = shownCopy();
    char **title = trackTitleOf(slot, sheetTrack);
    if (!title)
        return;
    setText(*title, typedName(page).c_str());
    replaceTrackLine(page, sheetTrack);
    sheetTrack = sheetTrack >= slot->record.trackCount ? 1 : sheetTrack + 1;
    SendDlgItemMessageA(page, IDC_CDINFO_TRACKS, LB_SETCURSEL, (WPARAM)(sheetTrack - 1), 0);
    showName(page);
    focusField(page, IDC_CDINFO_NAME);
}

// Another track chosen in the list: a name typed and not confirmed with
// Enter is dropped.
void onTrackChosen(HWND page)
{
    int line = selectedLine(page, IDC_CDINFO_TRACKS);
    if (line < 0 || !titlesPage.showsDisc)
        return;
    sheetTrack = line + 1;
    showName(page);
    SetFocus(GetDlgItem(page, IDC_CDINFO_NAME));
}

// Artist, title and every track name go; notes and the program stay.
void onClearAll(HWND page)
{
    SheetCopy *slot = shownCopy();
    if (!slot || !titlesPage.showsDisc)
        return;
    setText(slot->record.artist, nullptr);
    setText(slot->record.discTitle, nullptr);
    for (int track = 1; track <= slot->record.trackCount; ++track)
        if (char **title = trackTitleOf(slot, track))
            setText(*title, nullptr);
    fillDriveList(page);
    fillTitles(page);
}

void onInit(HWND page)
{
    SendDlgItemMessageA(page, IDC_CDINFO_ARTIST, EM_LIMITTEXT, titleLimit, 0);
    SendDlgItemMessageA(page, IDC_CDINFO_TITLE, EM_LIMITTEXT, titleLimit, 0);
    SendDlgItemMessageA(page, IDC_CDINFO_NAME, EM_LIMITTEXT, nameFieldLimit, 0);
}

INT_PTR onCommand(HWND page, int id, int code)
{
    switch (id) {
    case IDC_CDINFO_NAME:      if (code == EN_CHANGE) onNameChanged(page); return 1;
    case IDC_CDINFO_TRACKS:    if (code == LBN_SELCHANGE) onTrackChosen(page); return 1;
    case IDC_CDINFO_CLEAR_ALL: if (code == BN_CLICKED) onClearAll(page); return 1;
    default:                   return 0;
    }
}

} // namespace

INT_PTR CALLBACK cdInfoTitlesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return sheetPageMessage(titlesPage, page, message, wParam, lParam);
}
