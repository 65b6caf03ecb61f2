// statuswnd.h - the one-line, always-on-top operation status window. It
// runs on a thread of its own so that it keeps painting while the thread
// doing the work is blocked; any thread may open, title, write and close it.
// Every operation does nothing while no window is open.
#ifndef CDDB_STATUSWND_H
#define CDDB_STATUSWND_H

#include <windows.h>

// Opens the window (at most one in the process); returns once it exists.
void statusWindowOpen();
// Sets the window's caption.
void statusWindowSetTitle(const char *text);
// Sets the window's line of text; also the CD library's status callback.
void statusWindowSetText(const char *text);
// Closes the window.
void statusWindowClose();
// The window, or null when none is open.
HWND statusWindowHandle();

#endif
