// entryeditor.h - the "Edit Entry" dialog: artist, title, disc text, each
// track's title and text, and the program, on a working copy of one entry.
#ifndef RACKFILE_ENTRYEDITOR_H
#define RACKFILE_ENTRYEDITOR_H

#include "rackfile/entrydata.h"

#include <windows.h>

#include <string>
#include <vector>

// The dialog's parameter: the entry to edit, changed in place on OK.
struct EntryEdit {
    uint32_t winId = 0;
    EntryData entry;
    int shownTrack = -1; // the track whose texts the edit boxes hold, from 0
};

INT_PTR CALLBACK entryEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The program as the dialog shows it: track numbers separated by spaces.
std::string programText(const std::vector<int32_t> &program);
// Reads a program typed by the user; false when it holds anything but
// track numbers from 1 to trackCount.
bool parseProgram(const std::string &text, int trackCount, std::vector<int32_t> *program);

#endif
