// submit.h - sending a disc's titles to CDDB as a new entry: the category
// dialog, and the worker that has the library write the entry and mails it.
#ifndef CDDB_SUBMIT_H
#define CDDB_SUBMIT_H

#include <windows.h>

#include <cstdint>

// What the main window hands the submission worker; the worker frees it.
struct SubmitRequest {
    int32_t drive;      // 1-based
    int32_t category;   // 1-based, in the stored category list
};

// Starts a submission worker for the drive and category. 1 when started;
// 0 while another submission runs or the program is closing.
int startSubmitWorker(int drive, int category);

// The thread procedure; param is a SubmitRequest from HeapAlloc on the
// process heap, which the worker frees first.
DWORD WINAPI submitWorker(LPVOID param);

// "Submit A New Entry" (dialog 136): ends with the chosen category's number
// (from 1), or 0 for Cancel, Escape, the close box and an unreadable key.
INT_PTR CALLBACK submitCategoryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#define SUBMIT_ERROR_CAPTION "CDDB Submit Error"
#define SUBMIT_BLANK_TEXT "No information found for selected CD.\r\nUnable to submit blank entry."
#define SUBMIT_VERIFY_CAPTION "Verify CDDB Submit"
#define SUBMIT_VERIFY_TEXT "You have already submitted this entry.\r\nDo you want to submit it again?"

// Prefix of the submission's temporary file.
#define SUBMIT_FILE_PREFIX "spd"

#endif
