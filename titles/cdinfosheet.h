// cdinfosheet.h - the CD information sheet "Spindle2 Properties": artist,
// titles, notes and the programmed order of the disc in every drive, edited
// on working copies that go back into the drives only when the user
// presses OK.
#ifndef TITLES_CDINFOSHEET_H
#define TITLES_CDINFOSHEET_H

#include <windows.h>

// Runs the sheet modally over owner. True when it was closed with OK; each
// drive that still holds the disc its copy was taken from then has the
// user's edits in its title record (the caller writes them to the title
// database). *programChangedOut (may be null) tells whether a program was
// changed on the sheet.
bool showCdInfoSheet(HWND owner, bool *programChangedOut);

// A disc came or went while the sheet may be open: its drive box and the
// page showing that drive follow the drive table. Does nothing while no
// sheet is open.
void cdInfoSheetDrivesChanged();

#endif
