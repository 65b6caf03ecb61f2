// mainwindow.h - Rackfile's main window: a modeless dialog with the list of
// every entry, the search box, the buttons of the commands, a progress bar
// and a status line.
#ifndef RACKFILE_MAINWINDOW_H
#define RACKFILE_MAINWINDOW_H

#include "rackfile/entrylist.h"

#include <windows.h>

// The caption of Rackfile's message boxes.
extern const char kRackfileCaption[];

// Creates the main window (hidden; the caller shows it). When quitOnClose,
// closing it ends the message loop.
HWND createMainWindow(HINSTANCE instance, bool quitOnClose);
INT_PTR CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The rows the window shows (for the tests and the window's own handlers).
EntryList &shownEntries();

#endif
