// titlelookup.h - finding a disc's titles (the title database, then the
// Windows CD Player's file), storing them back, and the one-time move of
// titles the previous version kept in the registry.
#ifndef TITLES_TITLELOOKUP_H
#define TITLES_TITLELOOKUP_H

// Moves titles left in the registry by the previous version into the title database.
void convertRegistryTitles();
// Fills a loaded drive's title record; sets titleKnown and returns 1 when found.
int lookupTitles(int drive);
// Stores the title record of a drive (-1: every loaded drive) in the title database.
void writeTitles(int drive);

#endif
