// menus_items.h - small helpers the popup-menu files share: emptying a
// submenu, appending an item, checking one position, and enabling a panel
// control. Not for use outside the menus.
#ifndef UI_MENUS_ITEMS_H
#define UI_MENUS_ITEMS_H

#include <windows.h>

// Room for any item text the menus build, before '&' is doubled: a track
// item is at most "20) mmm:ss - " and 60 title characters, a drive item
// "D: mmm:ss - " and 63 characters of artist and title.
#define MENU_ITEM_TEXT 96
// The same text with every '&' doubled, and its terminating zero.
#define MENU_ESCAPED_TEXT (2 * MENU_ITEM_TEXT)

// Deletes every item of a submenu.
void clearMenu(HMENU menu);
// Appends a text item with a command id, grayed or enabled.
void appendItem(HMENU menu, const char *text, int id, bool grayed);
// Checks the item at one position (0-based) and unchecks all others; a
// position outside the menu unchecks everything.
void checkOnlyPosition(HMENU menu, int position);
// Enables or disables one control of the panel (nothing before it exists).
void setPanelControlEnabled(int id, bool enable);

#endif
