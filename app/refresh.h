// refresh.h - bringing the displays up to date after a command, in the order
// and with the rebuilds each command asks for.
#ifndef APP_REFRESH_H
#define APP_REFRESH_H

// Each letter is one display, done in the order given:
//   T tray icon          S transport items and buttons
//   D drive menus, rebuilt    d drive menus, marks only
//   K track menus, rebuilt    k track menus, marks only
//   X status text        M play-mode check marks
void refreshDisplays(const char *which);

#endif
