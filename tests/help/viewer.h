// viewer.h - the help viewer (winhlp32) seen from another process: its
// windows found by class and process, their text read through the window
// manager, and a click on a hotspot by the position of its words.
#ifndef TESTS_HELP_VIEWER_H
#define TESTS_HELP_VIEWER_H

#include "harness/harness.h"

#include <string>
#include <vector>

namespace viewer {

// The viewer's windows: the main window is a normal window of class
// MS_WINHELP, a pop-up one of the same class with the pop-up style. Each
// holds its text in a rich edit child.
struct Window {
    HWND window;
    DWORD process;
    bool popup;
};

// Visible viewer windows; with `hidden` also the hidden one that answers
// WinHelp calls.
std::vector<Window> windows(bool hidden = false);
// The first viewer window matching; null when there is none.
HWND find(bool popup, DWORD process = 0);
// The caption of a window (from another process).
std::string caption(HWND window);
// The text a viewer window shows, paragraphs separated by single blanks.
std::string text(HWND window);
// Clicks the first character of `words` where they first follow `after`
// in the window's text; false when they are not there or cannot be placed.
bool clickWords(HWND window, const std::string &words, const std::string &after = "");
// Collapses runs of blanks, tabs and line breaks to one blank and trims.
std::string squeeze(const std::string &text);
// Starts a viewer of its own on the topic named `context` of a help
// file; returns its process id, 0 when it did not start.
DWORD openTopic(const std::string &context, const std::string &path);
// Ends every viewer of this prefix: asks each to close, then insists.
void closeAll();

} // namespace viewer

#endif
