// playmodespage.cpp - the "Play Modes" page: random order across drives,
// repeat all, and where introduction play starts in each track (a number of
// seconds, or the middle of the track) and how long it plays.
#include "options/optionspages.h"

#include "res/resource.h"

#include <commctrl.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace {

// The ranges of the two up-down controls, in seconds.
const int introStartFirst = 0;
const int introStartLast = 1000;
const int introLengthFirst = 2;
const int introLengthLast = 1000;

const BoxOption playModeBoxes[] = {
    {IDC_OPT_RANDOM_ALL, &OptionsRecord::ShuffleAllDrives},
    {IDC_OPT_REPEAT_ALL, &OptionsRecord::RepeatAll},
};

int clampTo(long value, int first, int last)
{
    if (value < first)
        return first;
    if (value > last)
        return last;
    return (int)value;
}

// Sets an up-down control's range and position, and writes the position
// into its edit.
void setSpin(HWND page, int spinId, int editId, int first, int last, int value)
{
    int position = clampTo(value, first, last);
    SendDlgItemMessageA(page, spinId, UDM_SETRANGE32, (WPARAM)first, (LPARAM)last);
    SendDlgItemMessageA(page, spinId, UDM_SETPOS32, 0, (LPARAM)position);
    char digits[16];
    snprintf(digits, sizeof digits, "%d", position);
    SetDlgItemTextA(page, editId, digits);
}

// The number in an up-down control's edit, clamped into the control's
// range. A text that is no number at all counts as above the range.
int spinValue(HWND page, int editId, int first, int last)
{
    std::string text = controlText(page, editId);
    const char *start = text.c_str();
    char *end = nullptr;
    errno = 0;
    long value = strtol(start, &end, 10);
    bool digits = end != start && isdigit((unsigned char)end[-1]);
    while (*end && isspace((unsigned char)*end))
        ++end;
    if (!digits || *end)
        return last;
    return clampTo(value, first, last);
}

void enableStart(HWND page, bool enable)
{
    EnableWindow(GetDlgItem(page, IDC_OPT_INTRO_START), enable);
    EnableWindow(GetDlgItem(page, IDC_OPT_INTRO_START_SPIN), enable);
}

void loadPlayModes(HWND page)
{
    loadBoxes(page, playModeBoxes, std::size(playModeBoxes));
    bool middle = optionsCopy->IntroPlayStart < 0;
    setSpin(page, IDC_OPT_INTRO_START_SPIN, IDC_OPT_INTRO_START, introStartFirst, introStartLast,
            middle ? 0 : optionsCopy->IntroPlayStart);
    CheckDlgButton(page, IDC_OPT_INTRO_MIDDLE, middle ? BST_CHECKED : BST_UNCHECKED);
    enableStart(page, !middle);
    setSpin(page, IDC_OPT_INTRO_LENGTH_SPIN, IDC_OPT_INTRO_LENGTH, introLengthFirst, introLengthLast,
            optionsCopy->IntroPlayLength);
}

bool storePlayModes(HWND page)
{
    storeBoxes(page, playModeBoxes, std::size(playModeBoxes));
    if (IsDlgButtonChecked(page, IDC_OPT_INTRO_MIDDLE) == BST_CHECKED)
        optionsCopy->IntroPlayStart = -1;
    else
        optionsCopy->IntroPlayStart = spinValue(page, IDC_OPT_INTRO_START, introStartFirst, introStartLast);
    optionsCopy->IntroPlayLength = spinValue(page, IDC_OPT_INTRO_LENGTH, introLengthFirst, introLengthLast);
    return true;
}

// "at middle of track": checked, the start in seconds does not apply;
// cleared, it starts again from the copy's value (0 after the middle).
void onMiddleClicked(HWND page)
{
    bool middle = IsDlgButtonChecked(page, IDC_OPT_INTRO_MIDDLE) == BST_CHECKED;
    enableStart(page, !middle);
    if (middle)
        return;
    if (optionsCopy->IntroPlayStart < 0)
        optionsCopy->IntroPlayStart = 0;
    setSpin(page, IDC_OPT_INTRO_START_SPIN, IDC_OPT_INTRO_START, introStartFirst, introStartLast,
            optionsCopy->IntroPlayStart);
}

INT_PTR playModesCommand(HWND page, int id, int code)
{
    if (id == IDC_OPT_INTRO_MIDDLE && code == BN_CLICKED) {
        onMiddleClicked(page);
        return 1;
    }
    return 0;
}

const OptionsPage playModesPage = {nullptr, loadPlayModes, storePlayModes, playModesCommand};

} // namespace

INT_PTR CALLBACK playModesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return optionsPageMessage(playModesPage, page, message, wParam, lParam);
}
