// panel.h - the control panel: the main dialog shown as a small caption-less
// window with bitmap buttons, a status or title line, the current drive's
// letter and a volume bar.
#ifndef UI_PANEL_H
#define UI_PANEL_H

#include <windows.h>

// 1 while the panel is shown.
extern int panelVisible;

// Loads the 24 button bitmaps (kept for the life of the process).
void loadButtonBitmaps();
// Owner-draw requests: the eight bitmap buttons, and the volume bar (1097).
void drawButton(const DRAWITEMSTRUCT *item);
void drawVolumeBar(const DRAWITEMSTRUCT *item);
// Shows the status line (type 0) or the title line (type 1) of the panel.
void applyDisplayType();
// Writes the panel's status line (1051) or title line (1055); nothing while
// there is no main window.
void panelSetStatusLine(const char *text);
void panelSetTitleLine(const char *text);
// Writes the line the display type shows: the title line for type 1, the
// status line otherwise.
void panelSetShownLine(const char *text);
// In title display, a scan shows its text on the emptied status line in the
// title line's place; at its end the title line is back. Other display
// types show the status line throughout and are left alone.
void panelShowScanLine(bool scanning);
// Moves the panel to (ControlsX, ControlsY), pulled back when it lies beyond
// the right or bottom edge of the work area; topmost when ControlsOnTop.
void placePanel();
// Shows or hides the panel and keeps panelVisible.
void showPanel();
void hidePanel();
// Puts the panel topmost or not, following ControlsOnTop, without moving,
// sizing or activating it.
void applyPanelZOrder();

#endif
