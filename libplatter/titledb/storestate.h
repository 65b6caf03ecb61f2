// storestate.h - what store.cpp and compact.cpp share: the process's view
// of the database file and its index.
#ifndef LIBPLATTER_TITLEDB_STORESTATE_H
#define LIBPLATTER_TITLEDB_STORESTATE_H

#include "libplatter/titledb/dbfile.h"
#include "libplatter/titledb/slotindex.h"

#include <cstdint>
#include <string>
#include <vector>

namespace titledb {

enum class StoreStatus {
    Unknown,  // not looked at yet
    NoFile,   // no file: an empty database, made by the first write
    Empty,    // a file whose first append never finished: an empty database
    Ready,    // a title database, indexed
    Foreign,  // not a title database (or a newer one): never written to
    Failed    // cannot be opened or read
};

struct StoreState {
    std::string path;
    DbFile file; // open only while this process holds the database
    StoreStatus status = StoreStatus::Unknown;

    // The index describes the file with this instance id up to validEnd.
    bool indexValid = false;
    uint64_t instance = 0;
    uint32_t fileSize = 0;       // as last seen, torn tail included
    uint32_t validEnd = 0;       // end of the last whole record
    uint32_t reportedTornAt = 0; // torn tail already named in the log
    uint64_t liveBytes = 0;      // bytes of the live entries' records
    uint32_t lostStretches = 0;  // damaged bytes of no known entry
    SlotIndex index;

    // The writers' shared count (dblock.h) as this process last saw it; while
    // it stands, the index above is the file's and the file is not read again.
    bool changesKnown = false;
    uint32_t changesSeen = 0;
    // How often the file was looked at afresh at a db_lock (tests count it).
    uint32_t refreshes = 0;

    // Working buffers, kept to spare allocations.
    std::vector<uint8_t> payload, frame, buffer;

    void resetIndex()
    {
        index.clear();
        indexValid = false;
        changesKnown = false;
        instance = 0;
        fileSize = validEnd = reportedTornAt = 0;
        liveBytes = 0;
        lostStretches = 0;
    }

    void setSlot(uint32_t winId, Slot slot)
    {
        Slot old;
        if (index.put(winId, slot, &old) && !old.damaged)
            liveBytes -= old.length;
        if (!slot.damaged)
            liveBytes += slot.length;
    }

    void dropSlot(uint32_t winId)
    {
        Slot old;
        if (index.erase(winId, &old) && !old.damaged)
            liveBytes -= old.length;
    }
};

StoreState &storeState();

// Opens the file for reading when the index was taken on trust at db_lock
// (storeAttach); a file that went away or changed size behind the writers'
// count is read afresh. False when the store cannot be used now.
bool openStoreFile(StoreState &s);
// Called once a writer has touched the file: the shared count moves on, and
// this process's own change is no reason for it to read the file again.
void noteStoreWritten(StoreState &s);

// A number that tells one creation or rewrite of the file from any other.
uint64_t newInstanceId();

} // namespace titledb

#endif
