// check.cpp - db_check: every record of the file read again from the disk
// and checked, as a compaction would see it. What the reading finds goes
// into the index too: an entry whose newest record went bad on the disk
// since it was indexed reads as missing from now on, and the compaction
// that follows reports it (-7), as it would for damage seen at start-up.
#include "libplatter/cboundary.h"
#include "libplatter/titledb/dbfile.h"
#include "libplatter/titledb/dblock.h"
#include "libplatter/titledb/entrywalk.h"
#include "libplatter/titledb/recordformat.h"
#include "libplatter/titledb/scanner.h"
#include "libplatter/titledb/storestate.h"
#include "libplatter/diag.h"
#include "platter/platter.h"

#include <cstring>
#include <unordered_map>

namespace titledb {

namespace {

// The newest record of each winId as the reading meets them.
class CheckSink : public ScanSink {
public:
    struct Newest {
        Slot slot;
    };
    std::unordered_map<uint32_t, Newest> newest;
    int32_t records = 0, damaged = 0, lost = 0;

    void onRecord(const ScanEvent &e) override
    {
        ++records;
        switch (e.kind) {
        case ScanEvent::Entry:
            newest[e.winId] = {{e.offset, e.length, false}};
            break;
        case ScanEvent::Deletion:
            newest.erase(e.winId);
            break;
        case ScanEvent::Damaged:
            ++damaged;
            newest[e.winId] = {{e.offset, e.length, true}};
            break;
        case ScanEvent::Lost:
            ++damaged;
            ++lost;
            break;
        }
    }
};

} // namespace

int checkStore(DbCheckCounts *counts, uint32_t *damagedIds, int32_t capacity)
{
    StoreState &s = storeState();
    memset(counts, 0, sizeof *counts);
    switch (s.status) {
    case StoreStatus::NoFile:
        return PLATTER_OK;
    case StoreStatus::Empty:
        counts->tornBytes = counts->reclaimableBytes = (int32_t)s.fileSize;
        return PLATTER_OK;
    case StoreStatus::Ready:
        break;
    default:
        return PLATTER_FAIL;
    }

    if (!openStoreFile(s) || s.status != StoreStatus::Ready)
        return s.status == StoreStatus::NoFile ? PLATTER_OK : PLATTER_FAIL;
    FileWindow window(s.file, s.fileSize);
    CheckSink sink;
    ScanResult result = scanRecords(window, kFileHeaderSize, s.fileSize, sink);
    if (result.readFailed) {
        platterDiag("Title database %s cannot be read (error %lu); nothing was checked.", s.path.c_str(),
                    (unsigned long)s.file.error());
        return PLATTER_FAIL;
    }

    uint64_t liveBytes = 0;
    int32_t stored = 0;
    bool indexChanged = false;
    for (const auto &one : sink.newest) {
        const Slot &slot = one.second.slot;
        if (!slot.damaged) {
            ++counts->liveEntries;
            liveBytes += slot.length;
            continue;
        }
        ++counts->damagedEntries;
        if (damagedIds && stored < capacity)
            damagedIds[stored++] = one.first;
        const Slot *known = s.index.find(one.first);
        if (!known || !known->damaged) {
            platterDiag("Title database: the record of %08lX at %lu is damaged; the entry reads as missing.",
                        (unsigned long)one.first, (unsigned long)slot.offset);
            s.setSlot(one.first, slot);
            indexChanged = true;
        }
    }
    if ((uint32_t)sink.lost > s.lostStretches)
        s.lostStretches = (uint32_t)sink.lost;
    if (indexChanged)
        forgetEntryWalk();

    counts->recordsRead = sink.records;
    counts->damagedRecords = sink.damaged;
    counts->droppedRecords = sink.records - counts->liveEntries;
    counts->tornBytes = (int32_t)(s.fileSize - result.validEnd);
    counts->reclaimableBytes = (int32_t)(s.fileSize - kFileHeaderSize - liveBytes);
    platterDiag("Title database checked: %ld records, %ld entries, %ld damaged records, %ld damaged entries.",
                (long)counts->recordsRead, (long)counts->liveEntries, (long)counts->damagedRecords,
                (long)counts->damagedEntries);
    return sink.damaged || counts->tornBytes ? 2 : PLATTER_OK;
}

} // namespace titledb

extern "C" int db_check(DbCheckCounts *counts, uint32_t *damagedIds, int32_t capacity)
{
    return guardedCall<int>("db_check", PLATTER_FAIL, [&]() -> int {
        if (!counts || capacity < 0 || (capacity > 0 && !damagedIds))
            return PLATTER_FAIL;
        titledb::DatabaseHold hold;
        return hold.held() ? titledb::checkStore(counts, damagedIds, capacity) : PLATTER_FAIL;
    });
}
