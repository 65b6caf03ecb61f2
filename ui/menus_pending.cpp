// menus_pending.cpp - the popup menus until they land: the program runs
// without menus.
#include "ui/menus.h"

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
