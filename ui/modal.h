// modal.h - the one way the program runs a modal dialog or property sheet.
// Tests script the result instead of letting the dialog wait for a user;
// the dialog procedures themselves are tested on modeless copies.
#ifndef UI_MODAL_H
#define UI_MODAL_H

#include <windows.h>
#include <prsht.h>
#include <functional>

// Runs dialog template `templateId` modally (DialogBoxParamA) and returns its result.
INT_PTR runModalDialog(HWND owner, int templateId, DLGPROC proc, LPARAM param);
// Runs a property sheet (PropertySheetA) and returns its result.
INT_PTR runPropertySheet(PROPSHEETHEADERA *header);

// Hooks: given the template id (for a sheet, 0) and the parameter, return the
// result the dialog would have. Null restores the real dialogs.
using ModalHook = std::function<INT_PTR(int templateId, HWND owner, LPARAM param)>;
using SheetHook = std::function<INT_PTR(PROPSHEETHEADERA *header)>;
void setModalHook(ModalHook hook);
void setSheetHook(SheetHook hook);

#endif
