// optionssheet.h - the options sheet "Spindle2 Options": six pages that edit
// a working copy of the options, which replaces the live options only when
// the user presses OK.
#ifndef OPTIONS_OPTIONSSHEET_H
#define OPTIONS_OPTIONSSHEET_H

// Runs the sheet modally over the main window. 1 when it was closed with
// OK: the live options then hold the edited values (the caller applies and
// saves them); 0 otherwise, and the live options are untouched.
int showOptionsSheet();

#endif
