// cdinfoprogram.cpp - the sheet's "Track Programming" page: the disc's tracks
// on top, the programmed order below, built with Add, Remove, Add All and
// Remove All and rearranged with the two arrow buttons. A track may stand in
// the program as often as it was added.
#include "titles/cdinfopages.h"

#include "core/appstate.h"
#include "res/resource.h"
#include "titles/titlerecord.h"

#include <algorithm>
#include <cstring>

namespace {

// The arrows are drawn 16 pixels square.
const int arrowIconSize = 16;

void fillProgram(HWND page);
void saveProgram(HWND page);

void onInit(HWND page);
INT_PTR onCommand(HWND page, int id, int code);

SheetPage programPage = {onInit, fillProgram, saveProgram, onCommand, false};

void listProgram(HWND page)
{
    SendDlgItemMessageA(page, IDC_PROGRAM_LIST, LB_RESETCONTENT, 0, 0);
    for (int track : editProgram)
        SendDlgItemMessageA(page, IDC_PROGRAM_LIST, LB_ADDSTRING, 0, (LPARAM)formatTrackLine(track).c_str());
}

// Every change of the program shows at once and is reported when the sheet closes.
void programEdited(HWND page)
{
    listProgram(page);
    programChanged = true;
}

void fillProgram(HWND page)
{
    editProgram.clear();
    bool disc = sheetHasDisc(sheetDrive);
    programPage.showsDisc = disc;
    SendDlgItemMessageA(page, IDC_PROGRAM_DISC_ORDER, LB_RESETCONTENT, 0, 0);
    SendDlgItemMessageA(page, IDC_PROGRAM_LIST, LB_RESETCONTENT, 0, 0);
    if (!disc) {
        enableControls(page, {IDC_PROGRAM_DISC_ORDER, IDC_PROGRAM_ADD, IDC_PROGRAM_REMOVE, IDC_PROGRAM_ADD_ALL,
                              IDC_PROGRAM_REMOVE_ALL, IDC_PROGRAM_LIST, IDC_PROGRAM_UP, IDC_PROGRAM_DOWN},
                       false);
        return;
    }
    const TitleRecord &copy = shownCopy()->record;
    enableControls(page, {IDC_PROGRAM_DISC_ORDER, IDC_PROGRAM_LIST}, true);
    if (copy.programList)
        editProgram.assign(copy.programList, copy.programList + copy.programLength);
    for (int track = 1; track <= copy.trackCount; ++track)
        SendDlgItemMessageA(page, IDC_PROGRAM_DISC_ORDER, LB_ADDSTRING, 0, (LPARAM)formatTrackLine(track).c_str());
    listProgram(page);
    enableControls(page, {IDC_PROGRAM_ADD, IDC_PROGRAM_REMOVE, IDC_PROGRAM_UP, IDC_PROGRAM_DOWN}, false);
    enableControls(page, {IDC_PROGRAM_ADD_ALL}, true);
    enableControls(page, {IDC_PROGRAM_REMOVE_ALL}, copy.programLength != 0);
}

void saveProgram(HWND)
{
    SheetCopy *slot = shownCopy();
    if (!slot || !slot->taken)
        return;
    TitleRecord &copy = slot->record;
    titleFree(copy.programList);
    copy.programList = nullptr;
    copy.programLength = 0;
    if (!editProgram.empty()) {
        copy.programList = static_cast<int32_t *>(titleAlloc(editProgram.size(), sizeof(int32_t)));
        if (copy.programList) {
            std::copy(editProgram.begin(), editProgram.end(), copy.programList);
            copy.programLength = (int32_t)editProgram.size();
        }
    }
    editProgram.clear();
}

// After entries were added: nothing is selected in the program, and it is
// not empty.
void afterAdding(HWND page)
{
    enableControls(page, {IDC_PROGRAM_REMOVE, IDC_PROGRAM_UP, IDC_PROGRAM_DOWN}, false);
    enableControls(page, {IDC_PROGRAM_REMOVE_ALL}, true);
}

void onAdd(HWND page)
{
    int line = selectedLine(page, IDC_PROGRAM_DISC_ORDER);
    if (line < 0)
        return;
    editProgram.push_back(line + 1);
    programEdited(page);
    afterAdding(page);
    enableControls(page, {IDC_PROGRAM_ADD}, true);
}

void onAddAll(HWND page)
{
    editProgram.clear();
    for (int track = 1; track <= shownCopy()->record.trackCount; ++track)
        editProgram.push_back(track);
    programEdited(page);
    afterAdding(page);
}

void onRemoveAll(HWND page)
{
    editProgram.clear();
    programEdited(page);
    enableControls(page, {IDC_PROGRAM_REMOVE, IDC_PROGRAM_REMOVE_ALL, IDC_PROGRAM_UP, IDC_PROGRAM_DOWN}, false);
}

// The arrows follow the selected entry: up unless it is first, down
// unless it is last.
void enableMoves(HWND page, int position)
{
    int count = (int)editProgram.size();
    enableControls(page, {IDC_PROGRAM_UP}, position > 0);
    enableControls(page, {IDC_PROGRAM_DOWN}, position >= 0 && position < count - 1);
}

void onEntryChosen(HWND page)
{
    int position = selectedLine(page, IDC_PROGRAM_LIST);
    if (position < 0)
        return;
    enableControls(page, {IDC_PROGRAM_REMOVE}, true);
    enableMoves(page, position);
}

void onRemove(HWND page)
{
    int position = selectedLine(page, IDC_PROGRAM_LIST);
    if (position < 0 || position >= (int)editProgram.size())
        return;
    editProgram.erase(editProgram.begin() + position);
    programEdited(page);
    enableControls(page, {IDC_PROGRAM_REMOVE, IDC_PROGRAM_UP, IDC_PROGRAM_DOWN}, false);
    enableControls(page, {IDC_PROGRAM_REMOVE_ALL}, !editProgram.empty());
}

// Move up (step -1) or down (+1): the entry swaps places with its neighbour
// and stays selected.
void onMove(HWND page, int step)
{
    int position = selectedLine(page, IDC_PROGRAM_LIST);
    int target = position + step;
    if (position < 0 || target < 0 || target >= (int)editProgram.size())
        return;
    std::swap(editProgram[(size_t)position], editProgram[(size_t)target]);
    programEdited(page);
    SendDlgItemMessageA(page, IDC_PROGRAM_LIST, LB_SETCURSEL, (WPARAM)target, 0);
    enableMoves(page, target);
}

void onInit(HWND page)
{
    static const struct {
        int button, icon;
    } arrows[] = {{IDC_PROGRAM_UP, IDI_ARROW_UP}, {IDC_PROGRAM_DOWN, IDI_ARROW_DOWN}};
    for (const auto &arrow : arrows) {
        // Shared icons belong to the system's cache: nothing to destroy.
        HANDLE icon = LoadImageA(instanceHandle, MAKEINTRESOURCEA(arrow.icon), IMAGE_ICON, arrowIconSize,
                                 arrowIconSize, LR_SHARED);
        SendDlgItemMessageA(page, arrow.button, BM_SETIMAGE, IMAGE_ICON, (LPARAM)icon);
    }
}

INT_PTR onCommand(HWND page, int id, int code)
{
    if (!programPage.showsDisc)
        return 0;
    switch (id) {
    case IDC_PROGRAM_DISC_ORDER:
        if (code == LBN_DBLCLK)
            onAdd(page);
        else if (code == LBN_SELCHANGE)
            enableControls(page, {IDC_PROGRAM_ADD}, true);
        return 1;
    case IDC_PROGRAM_LIST:
        if (code == LBN_DBLCLK)
            onRemove(page);
        else if (code == LBN_SELCHANGE)
            onEntryChosen(page);
        return 1;
    default:
        break;
    }
    if (code != BN_CLICKED)
        return 0;
    switch (id) {
    case IDC_PROGRAM_ADD:        onAdd(page); return 1;
    case IDC_PROGRAM_REMOVE:     onRemove(page); return 1;
    case IDC_PROGRAM_ADD_ALL:    onAddAll(page); return 1;
    case IDC_PROGRAM_REMOVE_ALL: onRemoveAll(page); return 1;
    case IDC_PROGRAM_UP:         onMove(page, -1); return 1;
    case IDC_PROGRAM_DOWN:       onMove(page, +1); return 1;
    default:                     return 0;
    }
}

} // namespace

INT_PTR CALLBACK cdInfoProgramPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return sheetPageMessage(programPage, page, message, wParam, lParam);
}
