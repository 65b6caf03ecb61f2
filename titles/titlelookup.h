// titlelookup.h - finding a disc's titles (the title database, then the
// Windows CD Player's file), storing them back, and the one-time move of
// titles the previous version kept in the registry.
//
// Locks: driveLock is always taken before db_lock, and db_lock brackets
// each single database call. A disc whose identity cannot be read has no
// key: it counts as unknown, and nothing is read, written or deleted for it.
#ifndef TITLES_TITLELOOKUP_H
#define TITLES_TITLELOOKUP_H

#include <cstdint>

// Moves titles left in the registry by the previous version into the title database.
void convertRegistryTitles();
// Converts one old entry, the subkey `name` of the old titles key, into a
// database entry. Entries that cannot be read safely are skipped.
void convertRegistryEntry(const char *name);

// Fills a loaded drive's title record; sets titleKnown and returns 1 when found.
int lookupTitles(int drive);
// Copies the database entry of winId into the drive's record; 1 when there
// was an entry, else 0 (silently).
int readTitleEntry(int drive, uint32_t winId);

// Stores the title record of a drive (-1: every loaded drive) in the title
// database, or deletes the entry of a record that holds nothing; a failed
// write is reported once driveLock is released.
void writeTitles(int drive);
// The same for one drive, with driveLock held by the caller. False when
// the database refused the write (the caller reports it).
bool writeTitleEntry(int drive);

// The box that reports a refused write.
#define TITLE_WRITE_FAILED_TEXT "Unable to write entry to Spindle2 database."

#endif
