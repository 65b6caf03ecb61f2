// menus.h - the two popup menus (the tray's and the panel's) with their live
// track, drive and volume-control submenus, and the enabled state of the
// transport commands and panel buttons. Both copies of a submenu are always
// changed together.
#ifndef UI_MENUS_H
#define UI_MENUS_H

#include <windows.h>

// The menu handles, found by position once by loadMenus and kept.
extern HMENU trayMenu, trayTrackMenu, trayDriveMenu;
extern HMENU panelMenu, panelTrackMenu, panelDriveMenu, volumeMenu;

// Loads menu resource "PopupMenu" and finds the popups and submenus.
// 1 when every handle was found.
int loadMenus();

// Enables or grays the transport items and the panel's transport buttons by play state.
void refreshTransportState();
// Sets the four play-mode check marks and the text of "Show/Hide Controls".
void refreshModeChecks();
// rebuild: recreates the current disc's track items; always sets their marks.
void refreshTrackMenus(int rebuild);
// rebuild: recreates the drive items; always checks the current drive and
// sets the panel's drive label.
void refreshDriveMenus(int rebuild);
// rebuild: recreates the volume-control items; always checks the selected
// one and enables the panel's volume controls.
void refreshVolumeMenu(int rebuild);
// Grays or enables "Properties...", "Query CDDB..." and "Submit To CDDB..."
// in both menus (while a CDDB run is under way they are grayed).
void enableCddbCommands(int enable);
// Doubles every '&' in place; the buffer must hold the longer text.
void escapeAmpersands(char *text);

#endif
