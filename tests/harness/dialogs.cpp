// dialogs.cpp - a modal dialog run for real, with a second thread as its user.
#include "harness/harness.h"

#include <atomic>
#include <thread>

namespace harness {

INT_PTR runDialogAsUser(int templateId, DLGPROC proc, const char *caption, const DialogActions &actions, bool opens)
{
    std::atomic<bool> ended{false};
    std::thread user([&] {
        // Visible only once WM_INITDIALOG has filled it.
        HWND dialog = nullptr;
        for (DWORD waited = 0; waited < 10000 && !ended; waited += 25) {
            dialog = FindWindowA("#32770", caption);
            if (dialog && IsWindowVisible(dialog))
                break;
            dialog = nullptr;
            Sleep(25);
        }
        if (!dialog) {
            if (opens)
                ADD_FAILURE() << "dialog \"" << caption << "\" did not open";
            return;
        }
        actions(dialog);
        // Whatever the actions left open is cancelled, so the test ends.
        if (IsWindow(dialog))
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), nullptr, proc, 0);
    ended = true;
    user.join();
    return result;
}

} // namespace harness
