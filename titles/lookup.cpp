// lookup.cpp - the titles of a disc that has just been read: its entry in the
// title database, or else its section of the Windows CD Player's file.
#include "titles/titlelookup.h"
#include "player/drives.h"
#include "titles/cdplayerini.h"
#include "titles/titlerecord.h"

#include <cstring>

int readTitleEntry(int drive, uint32_t winId)
{
    DriveEntry *entry = driveEntry(drive);
    if (!entry)
        return 0;

    // The library fills a record of its own; the database lock is given
    // back before driveLock is taken, so the two are never held the other
    // way round.
    TitleRecord stored;
    memset(&stored, 0, sizeof stored);
    db_lock();
    int result = db_read_entry(winId, &stored);
    db_unlock();
    if (result <= 0)
        return 0;

    bool copied = false;
    {
        DriveLockHold hold;
        // copyTitleRecord reads the entry's track lists only as far as the
        // entry's own track count, whatever the disc has.
        if (entry->discLoaded) {
            copyTitleRecord(entry->title, stored);
            copied = true;
        }
    }
    db_free(&stored);
    return copied ? 1 : 0;
}

int lookupTitles(int drive)
{
    DriveEntry *entry = driveEntry(drive);
    if (!entry || entry->device == 0)
        return 0;

    uint32_t winId = 0;
    bool keyed = cd_get_win_id(entry->device, &winId) == 1;
    entry->titleKnown = 0;
    // Without its identity the disc cannot be told from any other: nothing
    // is looked up under a key that is not its own.
    if (!keyed)
        return 0;
    if (readTitleEntry(drive, winId) == 1 || importCdPlayerTitles(drive, winId) == 1)
        entry->titleKnown = 1;
    return entry->titleKnown;
}
