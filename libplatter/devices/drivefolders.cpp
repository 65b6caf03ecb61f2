// drivefolders.cpp - drive letters named to folders by tests.
#include "libplatter/devices/drivefolders.h"

#include <windows.h>

#include <cctype>
#include <cstdio>
#include <mutex>

namespace devices {

namespace {
std::mutex foldersLock;
std::string namedFolders[26];

int slotOf(char letter)
{
    int c = toupper((unsigned char)letter);
    return (c >= 'A' && c <= 'Z') ? c - 'A' : -1;
}
} // namespace

std::string virtualDriveFolderFor(char letter)
{
    int slot = slotOf(letter);
    if (slot < 0)
        return std::string();
    {
        std::lock_guard<std::mutex> hold(foldersLock);
        if (!namedFolders[slot].empty())
            return namedFolders[slot];
    }
    char variable[32];
    snprintf(variable, sizeof variable, "PLATTER_DRIVE_FOLDER_%c", 'A' + slot);
    char folder[MAX_PATH];
    DWORD n = GetEnvironmentVariableA(variable, folder, sizeof folder);
    if (n == 0 || n >= sizeof folder)
        return std::string();
    return std::string(folder, n);
}

void setVirtualDriveFolder(char letter, const char *folder)
{
    int slot = slotOf(letter);
    if (slot < 0)
        return;
    std::lock_guard<std::mutex> hold(foldersLock);
    namedFolders[slot] = folder ? folder : "";
}

} // namespace devices
