// cdinfoextended.cpp - the sheet's "Extended CD Information" page: the notes
// on the disc and on each track, one track at a time with Previous Track and
// Next Track.
#include "titles/cdinfopages.h"

#include "res/resource.h"
#include "titles/titlerecord.h"

#include <cstdio>

namespace {

// Characters kept of the disc's and of a track's notes.
const size_t noteLimit = 255;

void fillExtended(HWND page);
void saveExtended(HWND page);

void onInit(HWND page);
INT_PTR onCommand(HWND page, int id, int code);

SheetPage extendedPage = {onInit, fillExtended, saveExtended, onCommand, false};

char **trackTextOf(SheetCopy *slot, int track)
{
    if (!slot || !slot->record.trackTexts || track < 1 || track > slot->record.trackCount)
        return nullptr;
    return &slot->record.trackTexts[track - 1];
}

void showTrack(HWND page)
{
    char number[32];
    snprintf(number, sizeof number, "Track - %d", sheetTrack);
    setControlText(page, IDC_CDINFO_TRACK_NUMBER, number);
    char **text = trackTextOf(shownCopy(), sheetTrack);
    setControlText(page, IDC_CDINFO_TRACK_TEXT, text ? *text : nullptr);
}

void saveTrackText(HWND page)
{
    if (char **text = trackTextOf(shownCopy(), sheetTrack))
        setText(*text, controlText(page, IDC_CDINFO_TRACK_TEXT, noteLimit).c_str());
}

void fillExtended(HWND page)
{
    bool disc = sheetHasDisc(sheetDrive);
    extendedPage.showsDisc = disc;
    if (!disc) {
        setControlText(page, IDC_CDINFO_DISC_TEXT, nullptr);
        setControlText(page, IDC_CDINFO_TRACK_NUMBER, nullptr);
        setControlText(page, IDC_CDINFO_TRACK_TEXT, nullptr);
        enableControls(page, {IDC_CDINFO_DISC_TEXT, IDC_CDINFO_TRACK_TEXT, IDC_CDINFO_PREVIOUS, IDC_CDINFO_NEXT,
                              IDC_CDINFO_CLEAR_ALL},
                       false);
        return;
    }
    const SheetCopy &slot = *shownCopy();
    enableControls(page, {IDC_CDINFO_DISC_TEXT, IDC_CDINFO_TRACK_TEXT, IDC_CDINFO_CLEAR_ALL}, true);
    sheetTrack = 1;
    setControlText(page, IDC_CDINFO_DISC_TEXT, slot.record.discText);
    showTrack(page);
    enableControls(page, {IDC_CDINFO_PREVIOUS}, false);
    enableControls(page, {IDC_CDINFO_NEXT}, slot.record.trackCount > 1);
}

void saveExtended(HWND page)
{
    SheetCopy *slot = shownCopy();
    if (!slot || !slot->taken)
        return;
    setText(slot->record.discText, controlText(page, IDC_CDINFO_DISC_TEXT, noteLimit).c_str());
    saveTrackText(page);
}

// Previous Track (step -1) and Next Track (+1): the shown note is kept, the
// neighbour's is shown.
void onStep(HWND page, int step)
{
    SheetCopy *slot = shownCopy();
    int target = sheetTrack + step;
    if (!slot || !extendedPage.showsDisc || target < 1 || target > slot->record.trackCount)
        return;
    saveTrackText(page);
    sheetTrack = target;
    showTrack(page);
    enableControls(page, {IDC_CDINFO_PREVIOUS}, sheetTrack > 1);
    enableControls(page, {IDC_CDINFO_NEXT}, sheetTrack < slot->record.trackCount);
    SetFocus(GetDlgItem(page, IDC_CDINFO_TRACK_TEXT));
}

// The disc's and every track's notes go; names and the program stay.
void onClearAll(HWND page)
{
    SheetCopy *slot = shownCopy();
    if (!slot || !extendedPage.showsDisc)
        return;
    setText(slot->record.discText, nullptr);
    for (int track = 1; track <= slot->record.trackCount; ++track)
        if (char **text = trackTextOf(slot, track))
            setText(*text, nullptr);
    fillExtended(page);
}

void onInit(HWND page)
{
    SendDlgItemMessageA(page, IDC_CDINFO_DISC_TEXT, EM_LIMITTEXT, noteLimit, 0);
    SendDlgItemMessageA(page, IDC_CDINFO_TRACK_TEXT, EM_LIMITTEXT, noteLimit, 0);
}

INT_PTR onCommand(HWND page, int id, int code)
{
    if (code != BN_CLICKED)
        return 0;
    switch (id) {
    case IDC_CDINFO_PREVIOUS:  onStep(page, -1); return 1;
    case IDC_CDINFO_NEXT:      onStep(page, +1); return 1;
    case IDC_CDINFO_CLEAR_ALL: onClearAll(page); return 1;
    default:                   return 0;
    }
}

} // namespace

INT_PTR CALLBACK cdInfoExtendedPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return sheetPageMessage(extendedPage, page, message, wParam, lParam);
}
