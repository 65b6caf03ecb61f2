// boxpages.cpp - the pages made only of check boxes and radio buttons:
// "CD Control Panel", "Time Display" and "Eject and Exit". Each maps its
// buttons one to one onto options of the working copy.
#include "options/optionspages.h"

#include "res/resource.h"

#include <iterator>

namespace {

const BoxOption panelBoxes[] = {
    {IDC_OPT_SHOW_AT_STARTUP, &OptionsRecord::ControlsVisibleAtStart},
    {IDC_OPT_ALWAYS_ON_TOP, &OptionsRecord::ControlsOnTop},
    {IDC_OPT_HIDE_NO_CD, &OptionsRecord::ControlsHideNoCD},
};
const RadioOption displayTypes[] = {
    {IDC_OPT_STATUS_TIME, 0},
    {IDC_OPT_TRACK_TITLE, 1},
};
const RadioOption timeModes[] = {
    {IDC_OPT_TRACK_ELAPSED, 0},
    {IDC_OPT_TRACK_REMAINING, 1},
    {IDC_OPT_DISC_ELAPSED, 2},
    {IDC_OPT_DISC_REMAINING, 3},
};
const BoxOption ejectExitBoxes[] = {
    {IDC_OPT_EJECT_AT_END, &OptionsRecord::EjectAtEnd},
    {IDC_OPT_EXIT_AT_EJECT, &OptionsRecord::ExitAtEject},
    {IDC_OPT_STOP_AT_EXIT, &OptionsRecord::StopAtExit},
};

void loadPanel(HWND page)
{
    loadBoxes(page, panelBoxes, std::size(panelBoxes));
    loadRadios(page, displayTypes, std::size(displayTypes), optionsCopy->ControlsDisplayType);
}

bool storePanel(HWND page)
{
    storeBoxes(page, panelBoxes, std::size(panelBoxes));
    storeRadios(page, displayTypes, std::size(displayTypes), &optionsCopy->ControlsDisplayType);
    return true;
}

void loadTimeDisplay(HWND page)
{
    loadRadios(page, timeModes, std::size(timeModes), optionsCopy->TimeDisplayMode);
}

bool storeTimeDisplay(HWND page)
{
    storeRadios(page, timeModes, std::size(timeModes), &optionsCopy->TimeDisplayMode);
    return true;
}

void loadEjectExit(HWND page)
{
    loadBoxes(page, ejectExitBoxes, std::size(ejectExitBoxes));
}

bool storeEjectExit(HWND page)
{
    storeBoxes(page, ejectExitBoxes, std::size(ejectExitBoxes));
    return true;
}

const OptionsPage panelPage = {nullptr, loadPanel, storePanel, nullptr};
const OptionsPage timeDisplayPage = {nullptr, loadTimeDisplay, storeTimeDisplay, nullptr};
const OptionsPage ejectExitPage = {nullptr, loadEjectExit, storeEjectExit, nullptr};

} // namespace

INT_PTR CALLBACK panelPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return optionsPageMessage(panelPage, page, message, wParam, lParam);
}

INT_PTR CALLBACK timeDisplayPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return optionsPageMessage(timeDisplayPage, page, message, wParam, lParam);
}

INT_PTR CALLBACK ejectExitPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return optionsPageMessage(ejectExitPage, page, message, wParam, lParam);
}
