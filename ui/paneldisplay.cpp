// paneldisplay.cpp - the control panel's display area: which line it shows,
// the status and time (display type 0) or the track or disc title (type 1),
// and the texts the player gives those lines. Both controls sit in the same
// place; exactly one of them is visible.
#include "core/appstate.h"
#include "options/options.h"
#include "res/resource.h"
#include "ui/panel.h"

#include <cstring>

void applyDisplayType()
{
    if (!mainWindow)
        return;
    int shown, hidden;
    switch (options.ControlsDisplayType) {
    case 0: shown = IDC_STATUS_LINE; hidden = IDC_TITLE_LINE; break;
    case 1: shown = IDC_TITLE_LINE; hidden = IDC_STATUS_LINE; break;
    default: return;   // an unknown type leaves the display as it is
    }
    if (HWND line = GetDlgItem(mainWindow, hidden))
        ShowWindow(line, SW_HIDE);
    if (HWND line = GetDlgItem(mainWindow, shown))
        ShowWindow(line, SW_SHOW);
}

namespace {

// The polls give the lines their text every second, mostly the text they
// already show: an unchanged text is not set again, so the control is
// neither rewritten nor repainted.
void setLine(int control, const char *text)
{
    HWND line = mainWindow ? GetDlgItem(mainWindow, control) : nullptr;
    if (!line || !text)
        return;
    char shown[512] = "";
    if (strlen(text) < sizeof shown - 1) {
        GetWindowTextA(line, shown, sizeof shown);
        if (strcmp(shown, text) == 0)
            return;
    }
    SetWindowTextA(line, text);
}

} // namespace

void panelSetStatusLine(const char *text)
{
    setLine(IDC_STATUS_LINE, text);
}

void panelSetTitleLine(const char *text)
{
    setLine(IDC_TITLE_LINE, text);
}

void panelSetShownLine(const char *text)
{
    if (options.ControlsDisplayType == 1)
        panelSetTitleLine(text);
    else
        panelSetStatusLine(text);
}

void panelShowScanLine(bool scanning)
{
    if (options.ControlsDisplayType != 1 || !mainWindow)
        return;
    if (scanning)
        SetDlgItemTextA(mainWindow, IDC_STATUS_LINE, "");
    ShowWindow(GetDlgItem(mainWindow, IDC_STATUS_LINE), scanning ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(mainWindow, IDC_TITLE_LINE), scanning ? SW_HIDE : SW_SHOW);
}
