// registry.h - thin helpers over HKEY_LOCAL_MACHINE that every registry
// user of the program goes through. They never create keys and never show
// messages; each returns a plain success indication.
#ifndef OPTIONS_REGISTRY_H
#define OPTIONS_REGISTRY_H

#include <windows.h>
#include <cstdint>

// The program's keys under HKEY_LOCAL_MACHINE.
#define OPTIONS_KEY "SOFTWARE\\Veldane Software\\Spindle2\\CurrentVersion\\Options"
#define CDDB_KEY "SOFTWARE\\Veldane Software\\Spindle2\\CurrentVersion\\cddb"

// Open an existing key for reading (KEY_READ) or writing (KEY_WRITE).
bool regOpenRead(const char *path, HKEY *key);
bool regOpenWrite(const char *path, HKEY *key);
// Opens a key for writing, creating it (and the keys above it) when it is
// missing: a copy of the program that was never installed keeps its options
// from one start to the next instead of starting from the defaults each time.
bool regCreateWrite(const char *path, HKEY *key);
// Reads a REG_DWORD into *value; a value of another type or size leaves it alone.
bool regReadDword(HKEY key, const char *name, int32_t *value);
// Reads a text (REG_SZ or REG_EXPAND_SZ) of at most `limit` bytes into
// buffer (limit + 1 bytes long) and ends it right after them; a longer value
// or one of another type is not read at all.
bool regReadString(HKEY key, const char *name, char *buffer, DWORD limit);
// Store a REG_DWORD / a REG_SZ without its NUL; return the system status (0 = success).
LONG regWriteDword(HKEY key, const char *name, const int32_t *value);
LONG regWriteString(HKEY key, const char *name, const char *text);
LONG regDeleteValue(HKEY key, const char *name);
LONG regDeleteKey(HKEY parent, const char *subkey);
LONG regClose(HKEY key);

#endif
