// optionspages.h - what the options sheet's pages share: the working copy,
// the accepted flag, the server choices' use, the notifications every page
// answers alike and the context help. Not for use outside the sheet.
#ifndef OPTIONS_OPTIONSPAGES_H
#define OPTIONS_OPTIONSPAGES_H

#include <windows.h>

#include "options/options.h"
#include "ui/controltext.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Sheet state, alive while the sheet is open.
extern OptionsRecord *optionsCopy;   // the working copy the pages edit
extern bool optionsAccepted;         // some page got the OK notification

// A page's own part. `load` fills the controls from the working copy when
// the page becomes active; `store` puts them back when it stops being
// active (another page, or OK) and returns false to keep the page open
// because a field cannot be taken as it stands (the page has told the user
// why). `init` and `command` may be null.
struct OptionsPage {
    void (*init)(HWND page);
    void (*load)(HWND page);
    bool (*store)(HWND page);
    INT_PTR (*command)(HWND page, int id, int code);
};

// A page's dialog procedure: the notifications, its commands, context help.
INT_PTR optionsPageMessage(const OptionsPage &page, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A check box bound to an option of the copy.
struct BoxOption {
    int id;
    int32_t OptionsRecord::*field;
};
// A group of radio buttons: the button for each value of one option.
struct RadioOption {
    int id;
    int32_t value;
};

// Loading only ever checks boxes: a box whose option is 0 keeps its state.
void loadBoxes(HWND page, const BoxOption *boxes, size_t count);
void storeBoxes(HWND page, const BoxOption *boxes, size_t count);
// Checks the button of *field's value; a value outside the group checks
// none. Storing leaves *field alone when no button is checked.
void loadRadios(HWND page, const RadioOption *radios, size_t count, int32_t value);
void storeRadios(HWND page, const RadioOption *radios, size_t count, int32_t *field);

// A text field: limited to `limit` characters and shown, or read back cut
// to `limit` and copied into a buffer of limit + 1 bytes.
void loadText(HWND page, int id, const char *text, int limit);
void storeText(HWND page, int id, char *buffer, int limit);

// The first and last port number a connection can use.
#define PORT_FIRST 1
#define PORT_LAST 65535
// A port typed into an edit: its text converted as the C library converts
// a decimal number (leading blanks and one sign, up to the first other
// character, 0 when there is no digit). True when that is a port number.
bool parsePort(const std::string &text, int32_t *port);
// Shows a port in its edit, limited to 5 characters.
void loadPort(HWND page, int id, int32_t port);
// Reads a port edit into *port. A text that is no port number leaves *port
// alone, tells the user so and puts the caret in the edit: false.
bool storePort(HWND page, int id, int32_t *port);

// The page procedures, in the sheet's order.
INT_PTR CALLBACK panelPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK playModesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK timeDisplayPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ejectExitPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK cddbQueryPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK cddbSubmitPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

#endif
