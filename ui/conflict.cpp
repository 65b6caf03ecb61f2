// conflict.cpp - a short-lived thread that only shows one warning, so that
// the main thread goes on following the drives meanwhile.
#include "ui/conflict.h"
#include "ui/msgbox.h"

DWORD WINAPI conflictWarning(LPVOID)
{
    showMessage(nullptr,
                "Spindle2 has detected another application controlling\r\n the CD-ROM drive.  This can cause "
                "Spindle2 play operations\r\n to behave unpredictably.  Please exit the other application.",
                "Spindle2 Error", MB_SYSTEMMODAL | MB_ICONERROR);
    return 0;
}

void startConflictWarning()
{
    HANDLE thread = CreateThread(nullptr, 0, conflictWarning, nullptr, 0, nullptr);
    if (thread)
        CloseHandle(thread);
}
