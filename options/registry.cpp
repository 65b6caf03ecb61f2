// registry.cpp - the registry helpers: HKEY_LOCAL_MACHINE only. Keys are
// created only by regCreateWrite (installation creates the program's keys;
// the options key is made when a copy that was never installed saves).
#include "options/registry.h"

#include <cstring>

bool regOpenRead(const char *path, HKEY *key)
{
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, key) == ERROR_SUCCESS;
}

bool regOpenWrite(const char *path, HKEY *key)
{
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_WRITE, key) == ERROR_SUCCESS;
}

bool regCreateWrite(const char *path, HKEY *key)
{
    return RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, key, nullptr) ==
           ERROR_SUCCESS;
}

bool regReadDword(HKEY key, const char *name, int32_t *value)
{
    // Only a REG_DWORD of exactly four bytes stands for the field: a shorter
    // value would leave half of it stale, and four bytes of a text or of
    // binary data are no number.
    int32_t read = 0;
    DWORD type = REG_NONE;
    DWORD size = sizeof read;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(&read), &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_DWORD || size != sizeof read)
        return false;
    *value = read;
    return true;
}

bool regReadString(HKEY key, const char *name, char *buffer, DWORD limit)
{
    // Read into a scratch buffer first, so that a value that is too long
    // leaves the caller's text exactly as it was. The program stores texts
    // without their NUL, but other writers (and Wine's registry) keep one:
    // a terminating NUL does not count against the limit. Only texts count:
    // REG_SZ, and REG_EXPAND_SZ taken as it stands.
    char *scratch = new char[limit + 2];
    DWORD type = REG_NONE;
    DWORD size = limit + 1;
    LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(scratch), &size);
    if (status == ERROR_SUCCESS && size > 0 && size <= limit + 1 && scratch[size - 1] == 0)
        --size;
    bool ok = status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ) && size <= limit;
    if (ok) {
        memcpy(buffer, scratch, size);
        buffer[size] = 0;
    }
    delete[] scratch;
    return ok;
}

LONG regWriteDword(HKEY key, const char *name, const int32_t *value)
{
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(value), sizeof *value);
}

LONG regWriteString(HKEY key, const char *name, const char *text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text), (DWORD)strlen(text));
}

LONG regDeleteValue(HKEY key, const char *name)
{
    return RegDeleteValueA(key, name);
}

LONG regDeleteKey(HKEY parent, const char *subkey)
{
    return RegDeleteKeyA(parent, subkey);
}

LONG regClose(HKEY key)
{
    return RegCloseKey(key);
}
