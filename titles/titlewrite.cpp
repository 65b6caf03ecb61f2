// titlewrite.cpp - storing a drive's title record in the title database, or
// deleting its entry once the record holds nothing.
#include "titles/titlelookup.h"
#include "player/drives.h"
#include "titles/titlerecord.h"
#include "ui/msgbox.h"

bool writeTitleEntry(int drive)
{
    DriveEntry *entry = driveEntry(drive);
    if (!entry || entry->device == 0 || !entry->discLoaded)
        return true;

    // A disc whose identity cannot be read has no entry to write or delete:
    // its titles stay in memory only.
    uint32_t winId = 0;
    if (cd_get_win_id(entry->device, &winId) != 1)
        return true;

    const TitleRecord &record = entry->title;
    if (hasTitleContent(record) || record.programLength != 0) {
        db_lock();
        int result = db_write_entry(winId, &record);
        db_unlock();
        return result > 0;
    }
    db_lock();
    db_delete_entry(winId);
    db_unlock();
    return true;
}

void writeTitles(int drive)
{
    int failed = 0;
    {
        DriveLockHold hold;
        if (drive == -1) {
            for (int d = 1; d <= driveCount; ++d)
                if (DriveTable[d - 1].device != 0 && DriveTable[d - 1].discLoaded && !writeTitleEntry(d))
                    ++failed;
        } else if (!writeTitleEntry(drive)) {
            ++failed;
        }
    }
    // The boxes wait for the user: never with driveLock held, which the
    // lookup worker needs meanwhile.
    for (int i = 0; i < failed; ++i)
        showMessage(nullptr, TITLE_WRITE_FAILED_TEXT, "Spindle2 Error", MB_SYSTEMMODAL | MB_ICONERROR | MB_OK);
}
