// drives.h - the drive table and the play model: every CD-ROM drive found at
// start-up, what is known of the disc in each, which drive and track are
// current, the play state and the play modes. Everything the player reads
// about drives and discs is declared here.
#ifndef PLAYER_DRIVES_H
#define PLAYER_DRIVES_H

#include <windows.h>

#include "platter/platter.h"

// One CD-ROM drive. Drives are numbered from 1 in the order the system
// lists its drive letters; entry n is DriveTable[n - 1].
struct DriveEntry {
    char name[4];         // "D:" and a spare NUL; passed to cd_open, shown in menus
    cd_handle_t device;   // 0 when the drive could not be opened: skipped by everything
    int mediaPresent;     // 1 while a disc is believed to be in the drive
    int discLoaded;       // 1 when the disc's table of contents was read
    int titleKnown;       // 1 when titles were found for the disc
    int lookupPending;    // 1 when the disc waits for the running CDDB lookup to end
    TitleRecord title;    // owns every text and array hanging from it
    int *trackTypes;      // trackCount entries: 1 audio, anything else data
    int *playedFlags;     // trackCount entries: 1 once played in this pass
};

// Tracks an audio CD can hold; a table of contents that claims more is
// treated as unreadable.
#define MAX_DISC_TRACKS 99

// The table, allocated once by openDrives, and its length.
extern DriveEntry *DriveTable;
extern int driveCount;

// The play model, read and written on the main thread only.
extern int currentDrive;      // 1-based drive all play commands act on; 0 = none
extern int currentTrack;      // 1-based track playing or cued; 0 = none
extern int programPosition;   // 1-based position of currentTrack in the program; 0 = none
extern int playState;         // PlayStatePlaying/Paused/Stopped, anything else unknown

// Play modes of this run (the lasting ones are options).
extern int randomMode;        // "Random Order"
extern int introMode;         // "Introduction Play"
extern int repeatTrackMode;   // "Repeat Current"

// 1 while a CDDB lookup thread runs; discs arriving meanwhile wait in their
// entry's lookupPending.
extern int lookupRunning;

// Guards the per-disc data of every entry (title record, track types,
// played flags, discLoaded) against the CDDB lookup thread. Never held
// across a message box, a wait or a play call.
extern CRITICAL_SECTION driveLock;
// Initialises driveLock; later calls do nothing. The lock is also made
// ready when the program loads, so a missed call cannot leave it unusable.
void initDriveLock();

// Holds driveLock for the life of the object.
class DriveLockHold {
public:
    DriveLockHold() { EnterCriticalSection(&driveLock); }
    ~DriveLockHold() { LeaveCriticalSection(&driveLock); }
    DriveLockHold(const DriveLockHold &) = delete;
    DriveLockHold &operator=(const DriveLockHold &) = delete;
};

// The entry of a 1-based drive number; null when out of range.
DriveEntry *driveEntry(int drive);
// The current drive's entry; null when there is none.
DriveEntry *currentEntry();
// The current drive's library handle; 0 when there is none.
cd_handle_t currentDevice();
// True for a drive that is open and holds a read disc: only these are
// selected and played.
bool driveHasDisc(int drive);

// Finds and opens the CD-ROM drives. 1 on success; 0 when the program cannot
// run, after telling the user why.
int openDrives();
// Reads the table of contents of the disc in a drive into its entry.
// 1 when read; 0 leaves the entry as it was.
int readDisc(int drive);
// At start-up: marks the drives that hold a disc and reads each disc.
void readPresentDiscs();
// The monitor saw a disc appear in a drive that is not current.
void discInserted(int drive);
// The monitor saw the disc go, or the current drive became unusable.
void discRemoved(int drive);
// Closes every opened drive (cd_close, then cd_cleanup), releases all disc
// data and the table, and clears the play model.
void closeDrives();

// Make the lowest-numbered drive with a disc current; 1 when found, else
// 0 and currentDrive 0.
int selectFirstDrive();
// The same over the drives after currentDrive, ascending; does not wrap.
int selectNextDrive();
// The same over the drives before currentDrive, descending.
int selectPreviousDrive();
// Start-up choice: the first drive with a disc whose name equals name
// exactly ("E:"); when none matches (or name is empty), selectFirstDrive.
int selectStartDrive(const char *name);

// The system's drive list, kept replaceable so that tests can describe
// machines of their own. They default to GetLogicalDriveStringsA and
// GetDriveTypeA.
using LogicalDriveStringsFn = DWORD(WINAPI *)(DWORD length, LPSTR buffer);
using DriveTypeFn = UINT(WINAPI *)(LPCSTR root);
void setDriveQuery(LogicalDriveStringsFn strings, DriveTypeFn type);

#endif
