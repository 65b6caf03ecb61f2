// pending.cpp - the popup menus and the control panel's drawing until
// their own files land: the program runs without them (no menus, plain
// panel).
#include "ui/menus.h"
#include "ui/panel.h"

HMENU trayMenu, trayTrackMenu, trayDriveMenu;
HMENU panelMenu, panelTrackMenu, panelDriveMenu, volumeMenu;


int loadMenus() { return 0; }
void refreshTransportState() {}
void refreshModeChecks() {}
void refreshTrackMenus(int) {}
void refreshDriveMenus(int) {}
void refreshVolumeMenu(int) {}
void enableCddbCommands(int) {}
void escapeAmpersands(char *) {}

void loadButtonBitmaps() {}
void drawButton(const DRAWITEMSTRUCT *) {}
void drawVolumeBar(const DRAWITEMSTRUCT *) {}
void applyDisplayType() {}
