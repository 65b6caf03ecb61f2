// modal.cpp - modal dialogs and property sheets, through one place so that
// tests can script them.
#include "ui/modal.h"
#include "core/appstate.h"

#include <mutex>

namespace {
std::mutex hookLock;
ModalHook modalHook;
SheetHook sheetHook;
}

INT_PTR runModalDialog(HWND owner, int templateId, DLGPROC proc, LPARAM param)
{
    ModalHook hook;
    {
        std::lock_guard<std::mutex> guard(hookLock);
        hook = modalHook;
    }
    if (hook)
        return hook(templateId, owner, param);
    return DialogBoxParamA(instanceHandle, MAKEINTRESOURCEA(templateId), owner, proc, param);
}

INT_PTR runPropertySheet(PROPSHEETHEADERA *header)
{
    SheetHook hook;
    {
        std::lock_guard<std::mutex> guard(hookLock);
        hook = sheetHook;
    }
    if (hook)
        return hook(header);
    return PropertySheetA(header);
}

void setModalHook(ModalHook hook)
{
    std::lock_guard<std::mutex> guard(hookLock);
    modalHook = std::move(hook);
}

void setSheetHook(SheetHook hook)
{
    std::lock_guard<std::mutex> guard(hookLock);
    sheetHook = std::move(hook);
}
