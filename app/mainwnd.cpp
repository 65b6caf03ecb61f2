// mainwnd.cpp - the main dialog's window procedure: one small handler per
// message.
#include "app/mainwnd.h"
#include "app/appstate.h"
#include "app/maininit.h"

INT_PTR CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (!mainInit(window))
            DestroyWindow(window);
        return 1;
    case WM_DESTROY:
        mainShutdown();
        return 1;
    case WM_CLOSE:
        DestroyWindow(window);
        return 1;
    default:
        return 0;
    }
}
