// startdir.cpp - reading "MainDirectory" from the player's options key.
#include "rackfile/startdir.h"

#include <windows.h>

namespace {
const char kOptionsKey[] = "SOFTWARE\\Veldane Software\\Spindle2\\CurrentVersion\\Options";
}

bool enterInstallFolder()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kOptionsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char folder[MAX_PATH + 1] = {};
    DWORD type = 0, size = MAX_PATH;
    LONG read = RegQueryValueExA(key, "MainDirectory", nullptr, &type, (BYTE *)folder, &size);
    RegCloseKey(key);
    if (read != ERROR_SUCCESS || type != REG_SZ || size == 0)
        return false;
    folder[size < MAX_PATH ? size : MAX_PATH] = '\0';
    return folder[0] && SetCurrentDirectoryA(folder);
}
