// appstate.cpp - storage for the process-wide values of appstate.h.
#include "core/appstate.h"

HINSTANCE instanceHandle = GetModuleHandleA(nullptr);
char startDrive[3] = "";
int diagnosticsOn = 0;
HWND mainWindow = nullptr;
