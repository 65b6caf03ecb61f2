// drives.cpp - the drive table: finding and opening the CD-ROM drives,
// reading a disc's table of contents, discs arriving and leaving, and the
// choice of the current drive.
#include "player/drives.h"
#include "player/discevents.h"
#include "player/statustext.h"
#include "titles/titlerecord.h"
#include "options/options.h"
#include "ui/msgbox.h"

#include <cctype>
#include <cstring>

DriveEntry *DriveTable = nullptr;
int driveCount = 0;

int currentDrive = 0;
int currentTrack = 0;
int programPosition = 0;
int playState = 0;

int randomMode = 0;
int introMode = 0;
int repeatTrackMode = 0;

int lookupRunning = 0;

CRITICAL_SECTION driveLock;

namespace {

bool driveLockReady = false;

// The lock is ready before anything can take it, even in a process that
// never runs the main dialog's set-up; initDriveLock then finds it done.
const bool driveLockAtLoad = (initDriveLock(), true);

LogicalDriveStringsFn logicalDriveStrings = GetLogicalDriveStringsA;
DriveTypeFn driveType = GetDriveTypeA;

const UINT cdromDriveType = DRIVE_CDROM;   // 5

// The system's drive roots ("D:\"), double-NUL terminated, always ending
// inside the buffer whatever the system wrote.
struct DriveStrings {
    char text[256];
};

void readDriveStrings(DriveStrings &list)
{
    memset(list.text, 0, sizeof list.text);
    DWORD length = logicalDriveStrings(sizeof list.text - 1, list.text);
    if (length == 0 || length > sizeof list.text - 1)
        memset(list.text, 0, sizeof list.text);
}

// Calls visit for each CD-ROM root in the list, in the system's order.
template <typename Visit> void forEachCdromRoot(const DriveStrings &list, Visit visit)
{
    const char *end = list.text + sizeof list.text - 1;
    for (const char *root = list.text; root < end && *root; root += strlen(root) + 1)
        if (driveType(root) == cdromDriveType)
            visit(root);
}

void reportNoDrives(const char *text)
{
    if (discEvents.noDrivesUsable)
        discEvents.noDrivesUsable();
    showMessage(nullptr, text, "Spindle2 Error", MB_SYSTEMMODAL | MB_ICONERROR);
}

// Releases everything the disc in an entry owns and clears the record.
void releaseDiscData(DriveEntry &entry)
{
    releaseTitleRecord(entry.title);
    titleFree(entry.trackTypes);
    titleFree(entry.playedFlags);
    entry.trackTypes = nullptr;
    entry.playedFlags = nullptr;
}

void freeTable()
{
    if (DriveTable) {
        for (int i = 0; i < driveCount; ++i)
            releaseDiscData(DriveTable[i]);
        free(DriveTable);
    }
    DriveTable = nullptr;
    driveCount = 0;
}

// Makes the first drive in [from, to] (stepping by step) with a disc
// current; else none is current.
int selectFrom(int from, int to, int step)
{
    for (int drive = from; step > 0 ? drive <= to : drive >= to; drive += step) {
        if (driveHasDisc(drive)) {
            currentDrive = drive;
            return 1;
        }
    }
    currentDrive = 0;
    return 0;
}

} // namespace

void initDriveLock()
{
    if (driveLockReady)
        return;
    InitializeCriticalSection(&driveLock);
    driveLockReady = true;
}

void setDriveQuery(LogicalDriveStringsFn strings, DriveTypeFn type)
{
    logicalDriveStrings = strings ? strings : GetLogicalDriveStringsA;
    driveType = type ? type : GetDriveTypeA;
}

DriveEntry *driveEntry(int drive)
{
    if (!DriveTable || drive < 1 || drive > driveCount)
        return nullptr;
    return &DriveTable[drive - 1];
}

DriveEntry *currentEntry()
{
    return driveEntry(currentDrive);
}

cd_handle_t currentDevice()
{
    DriveEntry *entry = currentEntry();
    return entry ? entry->device : 0;
}

bool driveHasDisc(int drive)
{
    DriveEntry *entry = driveEntry(drive);
    return entry && entry->device != 0 && entry->discLoaded;
}

int openDrives()
{
    // A second call starts from a fresh table rather than losing the first.
    if (DriveTable)
        closeDrives();

    DriveStrings list;
    readDriveStrings(list);

    int count = 0;
    forEachCdromRoot(list, [&](const char *) { ++count; });
    if (count == 0) {
        reportNoDrives("No CD-ROM drives found in system.");
        return 0;
    }

    DriveTable = static_cast<DriveEntry *>(calloc((size_t)count, sizeof(DriveEntry)));
    if (!DriveTable) {
        reportNoDrives("Unable to open any CD-ROM drives in system.");
        return 0;
    }
    driveCount = count;

    int filled = 0;
    forEachCdromRoot(list, [&](const char *root) {
        DriveEntry &entry = DriveTable[filled++];
        entry.name[0] = (char)toupper((unsigned char)root[0]);
        entry.name[1] = root[0] ? root[1] : 0;
        entry.name[2] = 0;
        entry.name[3] = 0;
    });

    int opened = 0;
    for (int i = 0; i < driveCount; ++i) {
        DriveEntry &entry = DriveTable[i];
        entry.device = cd_init();
        if (entry.device == 0)
            continue;
        if (cd_open(entry.device, entry.name, 0) == 1) {
            ++opened;
        } else {
            cd_cleanup(entry.device);
            entry.device = 0;
        }
    }

    if (opened == 0) {
        reportNoDrives("Unable to open any CD-ROM drives in system.");
        return 0;
    }
    return 1;
}

int readDisc(int drive)
{
    DriveEntry *entry = driveEntry(drive);
    if (!entry || entry->device == 0)
        return 0;
    cd_handle_t device = entry->device;

    if (cd_read_data(device) != 1)
        return 0;

    int trackCount = 0;
    if (cd_get_num_tracks(device, &trackCount) != 1 || trackCount < 1 || trackCount > MAX_DISC_TRACKS)
        return 0;

    // Whatever an earlier disc (or a late lookup for it) left in the entry
    // goes before the new disc moves in.
    releaseDiscData(*entry);

    entry->trackTypes = static_cast<int *>(titleAlloc((size_t)trackCount, sizeof(int)));
    entry->playedFlags = static_cast<int *>(titleAlloc((size_t)trackCount, sizeof(int)));
    entry->title.trackStartFrames = static_cast<int32_t *>(titleAlloc((size_t)trackCount + 1, sizeof(int32_t)));
    entry->title.trackTitles = static_cast<char **>(titleAlloc((size_t)trackCount, sizeof(char *)));
    entry->title.trackTexts = static_cast<char **>(titleAlloc((size_t)trackCount, sizeof(char *)));
    if (!entry->trackTypes || !entry->playedFlags || !entry->title.trackStartFrames || !entry->title.trackTitles ||
        !entry->title.trackTexts) {
        releaseDiscData(*entry);
        return 0;
    }
    entry->title.trackCount = trackCount;

    // A track whose type cannot be read keeps 0 and counts as data: it is
    // never sent to the drive to play.
    for (int t = 1; t <= trackCount; ++t)
        cd_get_track_type(device, t, &entry->trackTypes[t - 1]);

    for (int t = 1; t <= trackCount + 1; ++t) {
        int min = 0, sec = 0, frame = 0, lengthMin = 0, lengthSec = 0, lengthFrame = 0;
        if (cd_get_track_time(device, t, &min, &sec, &frame, &lengthMin, &lengthSec, &lengthFrame) != 1)
            min = sec = frame = 0;
        entry->title.trackStartFrames[t - 1] = min * 4500 + sec * 75 + frame;
    }
    return 1;
}

void readPresentDiscs()
{
    for (int drive = 1; drive <= driveCount; ++drive) {
        DriveEntry &entry = DriveTable[drive - 1];
        if (entry.device == 0)
            continue;
        if (cd_check_if_media(entry.device) == 1) {
            entry.mediaPresent = 1;
            entry.discLoaded = readDisc(drive);
        }
    }
}

void discInserted(int drive)
{
    DriveEntry *entry = driveEntry(drive);
    if (!entry || entry->device == 0)
        return;

    {
        DriveLockHold hold;
        entry->mediaPresent = 1;
        entry->discLoaded = readDisc(drive);
    }

    if (entry->discLoaded) {
        if (discEvents.titlesNeeded)
            discEvents.titlesNeeded(drive);
        if (!entry->titleKnown) {
            if (lookupRunning) {
                entry->lookupPending = 1;
            } else if (discEvents.cddbLookupNeeded && discEvents.cddbLookupNeeded(drive)) {
                lookupRunning = 1;
            }
        }
    }

    if (discEvents.driveListChanged)
        discEvents.driveListChanged();
}

void discRemoved(int drive)
{
    DriveEntry *entry = driveEntry(drive);
    if (!entry)
        return;

    {
        // Released whether or not the disc counted as loaded: a lookup that
        // finished after an unreadable disc went must not leave texts behind.
        DriveLockHold hold;
        entry->mediaPresent = 0;
        releaseDiscData(*entry);
        entry->discLoaded = 0;
        entry->titleKnown = 0;
        entry->lookupPending = 0;
    }

    if (drive == currentDrive) {
        playState = PlayStateStopped;
        currentTrack = 0;
        programPosition = 0;
        if (!selectNextDrive())
            selectFirstDrive();
        if (discEvents.currentDiscGone)
            discEvents.currentDiscGone();
        updateStatusText();
    }

    if (discEvents.driveListChanged)
        discEvents.driveListChanged();

    if (currentDrive == 0 && options.ControlsVisibleAtStart && options.ControlsHideNoCD && discEvents.hidePanelNoDisc)
        discEvents.hidePanelNoDisc();
}

void closeDrives()
{
    for (int i = 0; i < driveCount; ++i) {
        if (DriveTable[i].device != 0) {
            cd_close(DriveTable[i].device);
            cd_cleanup(DriveTable[i].device);
            DriveTable[i].device = 0;
        }
    }
    if (driveLockReady) {
        DriveLockHold hold;
        freeTable();
    } else {
        freeTable();
    }
    currentDrive = 0;
    currentTrack = 0;
    programPosition = 0;
}

int selectFirstDrive()
{
    return selectFrom(1, driveCount, 1);
}

int selectNextDrive()
{
    int from = currentDrive < 0 ? 1 : currentDrive + 1;
    return selectFrom(from, driveCount, 1);
}

int selectPreviousDrive()
{
    int from = currentDrive > driveCount ? driveCount : currentDrive - 1;
    return selectFrom(from, 1, -1);
}

int selectStartDrive(const char *name)
{
    if (name && name[0]) {
        for (int drive = 1; drive <= driveCount; ++drive) {
            if (driveHasDisc(drive) && strcmp(DriveTable[drive - 1].name, name) == 0) {
                currentDrive = drive;
                return 1;
            }
        }
    }
    return selectFirstDrive();
}
