// lookupworker.cpp - the lookup thread: every drive asked for, the local
// tree first and then the server, each success and the end reported to the
// main window.
#include "cddb/lookup.h"
#include "cddb/cddbsession.h"
#include "cddb/lookupdisc.h"
#include "cddb/statuswnd.h"
#include "options/options.h"
#include "player/drives.h"
#include "res/resource.h"

#include <cstdint>

namespace {

// A drive of an all-drives run: open, read, and still without titles.
bool wantsLookup(int drive)
{
    DriveLockHold hold;
    if (cddbClosing())
        return false;
    DriveEntry *entry = driveEntry(drive);
    return entry && entry->device != 0 && entry->discLoaded && !entry->titleKnown;
}

int tableSize()
{
    DriveLockHold hold;
    return cddbClosing() ? 0 : driveCount;
}

void lookUpDrive(int drive)
{
    LookupDisc disc;
    if (!takeLookupDisc(drive, &disc))
        return;
    // A disc that left during the local lookup is not asked for on the server.
    if (lookupLocalDisc(disc) || (lookupDiscPresent(disc) && lookupRemoteDisc(disc)))
        notifyMainWindow(WM_CDDB_DRIVE_FOUND, (WPARAM)drive);
}

} // namespace

int startLookupWorker(int drive)
{
    return startCddbThread(CddbJobLookup, lookupWorker, reinterpret_cast<void *>((intptr_t)drive)) ? 1 : 0;
}

int lookupLocal(int drive)
{
    LookupDisc disc;
    return takeLookupDisc(drive, &disc) ? lookupLocalDisc(disc) : 0;
}

int lookupRemote(int drive)
{
    LookupDisc disc;
    return takeLookupDisc(drive, &disc) ? lookupRemoteDisc(disc) : 0;
}

DWORD WINAPI lookupWorker(LPVOID param)
{
    int drive = (int)reinterpret_cast<intptr_t>(param);
    bool local = options.cddbQueryLocal && options.cddbLocalRoot[0] != '\0';
    if (!local && !options.cddbQueryServer) {
        notifyMainWindow(WM_CDDB_QUERY_DONE, 0);
        return 0;
    }

    if (drive != -1) {
        DriveLockHold hold;
        DriveEntry *entry = cddbClosing() ? nullptr : driveEntry(drive);
        if (entry)
            entry->titleKnown = 0;
    }

    if (options.cddbQueryShowStatus)
        statusWindowOpen();
    statusWindowSetTitle("CDDB Query Status");

    if (drive == -1) {
        for (int d = 1; d <= tableSize(); ++d)
            if (wantsLookup(d))
                lookUpDrive(d);
    } else {
        lookUpDrive(drive);
    }

    notifyMainWindow(WM_CDDB_QUERY_DONE, 0);
    return 0;
}
