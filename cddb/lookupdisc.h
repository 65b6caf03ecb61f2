// lookupdisc.h - the disc a lookup works on, taken from the drive table
// under driveLock, so that the library calls run without the lock and the
// result goes back only into the same disc.
#ifndef CDDB_LOOKUPDISC_H
#define CDDB_LOOKUPDISC_H

#include "platter/platter.h"

#include <cstdint>
#include <string>
#include <vector>

struct LookupDisc {
    int drive = 0;
    std::string name;                 // "D:"
    cd_handle_t device = 0;
    int trackCount = 0;
    std::vector<int32_t> startFrames; // trackCount + 1
};

// The disc in a drive: false while the program closes, or when the drive
// is not open or holds no read disc.
bool takeLookupDisc(int drive, LookupDisc *disc);
// Under driveLock, when the drive still holds that disc: copies the entry
// of the handle into its record and sets titleKnown. False (and nothing
// touched) when the disc left or changed meanwhile, or the program closes.
bool fillLookupDisc(const LookupDisc &disc, cddb_handle_t handle);
// The lookups of a taken disc; 1 when its record was filled.
int lookupLocalDisc(const LookupDisc &disc);
int lookupRemoteDisc(const LookupDisc &disc);
// Status title "CDDB Search Drive: D:\" for the disc's drive.
void setSearchTitle(const LookupDisc &disc);
// True when the drive still holds that disc.
bool lookupDiscPresent(const LookupDisc &disc);

#endif
