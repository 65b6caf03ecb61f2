// cdinfopages.h - what the three pages of the CD information sheet share:
// the working copies, the drive and track being edited, the track and drive
// lines, and the notifications every page answers alike. Not for use
// outside the sheet.
#ifndef TITLES_CDINFOPAGES_H
#define TITLES_CDINFOPAGES_H

#include <windows.h>

#include "platter/platter.h"
#include "ui/controltext.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// The working copy of one drive's titles, and what tells its disc apart.
struct SheetCopy {
    // What the pages edit: the texts, the track lists and the program;
    // texts stored through setText, so no text is empty. trackStartFrames
    // stays null.
    TitleRecord record;
    // The same, as taken when the sheet opened: what the user changed is
    // what differs from it, and a live record that no longer matches it
    // was changed by someone else meanwhile (a CDDB fill).
    TitleRecord original;
    bool taken = false;              // the drive held a disc when the sheet opened
    bool idKnown = false;            // winId was read
    uint32_t winId = 0;
    bool nowIdKnown = false;         // the id of the disc in the drive now,
    uint32_t nowId = 0;              // read again whenever discs come or go
    int trackCount = 0;
    std::vector<int32_t> startFrames;   // the disc's layout when the copy was taken
};

// Sheet state, alive while the sheet is open.
extern std::vector<SheetCopy> sheetCopies;   // one per drive, in drive order
extern int sheetDrive;                       // 1-based drive shown on every page
extern int sheetTrack;                       // 1-based track edited on the first two pages
extern bool sheetAccepted;                   // some page got the OK notification
extern bool programChanged;                  // the program page changed a program
extern std::vector<int> editProgram;         // the program being edited (1-based tracks)

// The copy of sheetDrive; null when there is none.
SheetCopy *shownCopy();
// True when the drive holds, right now, the disc its copy was taken from:
// only then do the pages show and edit it. A disc that left, or arrived
// while the sheet was open, is not editable.
bool sheetHasDisc(int drive);

// Reads again the id of the disc in every drive (a disc came or went).
void refreshSheetDiscIds();

// The line of a track of sheetDrive in the track lists:
// "t) m:ss - title", "t) m:ss", or "(t) Non-Audio".
std::string formatTrackLine(int track);
// Fills the drive box of a page with one line per drive and selects sheetDrive.
void fillDriveList(HWND page);

// A page's own part: setting up its controls once, filling them from the
// copy of sheetDrive, saving them back into it, and its own commands.
struct SheetPage {
    void (*init)(HWND page);
    void (*fill)(HWND page);
    void (*save)(HWND page);
    INT_PTR (*command)(HWND page, int id, int code);
    bool showsDisc;   // the last fill showed an editable disc
};

// A page's dialog procedure: what every page answers alike (activation
// shows the drive box, then the page; leaving saves; OK; Cancel; another
// drive chosen; context help), and the page's own set-up and commands.
INT_PTR sheetPageMessage(SheetPage &page, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Small helpers for the pages.
// Sets a control's text; null shows as empty.
void setControlText(HWND page, int id, const char *text);
void enableControls(HWND page, std::initializer_list<int> ids, bool enable);
// The selected line of a list box, or -1.
int selectedLine(HWND page, int id);

// The page procedures, in the sheet's order.
INT_PTR CALLBACK cdInfoTitlesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK cdInfoExtendedPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK cdInfoProgramPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The sheet's open time, as the pages see it: no page is active outside it.
void sheetPagesOpened();
void sheetPagesClosed();

#endif
