// defaults.cpp - for the program's tests: a message box or modal dialog that
// a test did not script is a failure, answered at once instead of shown.
#include "harness/harness.h"
#include "ui/contexthelp.h"
#include "ui/modal.h"
#include "ui/msgbox.h"

namespace {

void installDefaultHooks()
{
    setMessageHook([](HWND, const char *text, const char *caption, UINT) {
        ADD_FAILURE() << "unexpected message box \"" << (caption ? caption : "") << "\": " << (text ? text : "");
        return IDOK;
    });
    setModalHook([](int templateId, HWND, LPARAM) {
        ADD_FAILURE() << "unexpected modal dialog " << templateId;
        return (INT_PTR)0;
    });
    setSheetHook([](PROPSHEETHEADERA *) {
        ADD_FAILURE() << "unexpected property sheet";
        return (INT_PTR)0;
    });
    setWinHelpHook([](HWND, const char *file, UINT command, ULONG_PTR) {
        ADD_FAILURE() << "unexpected help call " << command << " on " << (file ? file : "");
        return TRUE;
    });
}

void removeHooks()
{
    setMessageHook(nullptr);
    setModalHook(nullptr);
    setSheetHook(nullptr);
    setWinHelpHook(nullptr);
}

const bool registered = (harness::addTestHooks(installDefaultHooks, removeHooks), true);

} // namespace
