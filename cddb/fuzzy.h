// fuzzy.h - the user's choice among the inexact matches of a remote query
// ("Fuzzy Search Results"), and the fetch of the chosen entry.
#ifndef CDDB_FUZZY_H
#define CDDB_FUZZY_H

#include <windows.h>

#include "platter/platter.h"

#include <string>
#include <vector>

// Shows the matches of the handle's last query; 1 when the user chose one
// and cddb_fetch_remote filled the handle with it, else 0. Runs the dialog
// modally on the calling thread, owned by the main window.
int selectFuzzyMatch(cddb_handle_t handle);

// The match texts the dialog lists, built just before it opens and
// released as soon as it has closed.
extern std::vector<std::string> fuzzyMatches;

// The text of one match: "artist / title", the one that is present, or "".
std::string fuzzyMatchText(const char *artist, const char *title);

// Dialog 138's procedure; it ends with the chosen line's number (from 1),
// or 0 for "Current CD Not In List", Escape and the close box.
INT_PTR CALLBACK fuzzyMatchProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Matches beyond this many are not listed: a damaged reply must not make
// the dialog grow without end.
#define FUZZY_MAX_MATCHES 1000

#endif
