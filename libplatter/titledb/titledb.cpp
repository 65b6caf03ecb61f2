// titledb.cpp - the title database family of the library's C interface.
// Each call holds the database for its own length, so it is safe even
// without db_lock around it; the program brackets its calls with db_lock
// and db_unlock, which makes the inner hold cheap.
#include "libplatter/cboundary.h"
#include "libplatter/titledb/dblock.h"
#include "libplatter/titledb/handedblocks.h"
#include "libplatter/titledb/recordformat.h"
#include "libplatter/titledb/store.h"
#include "libplatter/diag.h"
#include "platter/platter.h"

#include <windows.h>

#include <cstring>

using namespace titledb;

extern "C" {

int db_lock(void)
{
    return guardedCall<int>("db_lock", PLATTER_FAIL, [&]() -> int {
        return lockDatabase() ? PLATTER_OK : PLATTER_FAIL;
    });
}

int db_unlock(void)
{
    return guardedCall<int>("db_unlock", PLATTER_FAIL, [&]() -> int {
        return unlockDatabase() ? PLATTER_OK : PLATTER_FAIL;
    });
}

int db_read_entry(uint32_t winId, TitleRecord *record)
{
    return guardedCall<int>("db_read_entry", PLATTER_FAIL, [&]() -> int {
        if (!record)
            return PLATTER_FAIL;
        DatabaseHold hold;
        if (!hold.held())
            return PLATTER_FAIL;
        int result = storeRead(winId, record);
        if (result > 0 && !noteHandedBlock(record->trackStartFrames)) {
            platterDiag("Title database: no memory for the entry of %08lX.", (unsigned long)winId);
            HeapFree(GetProcessHeap(), 0, record->trackStartFrames);
            memset(record, 0, sizeof *record);
            return PLATTER_FAIL;
        }
        return result;
    });
}

int db_write_entry(uint32_t winId, const TitleRecord *record)
{
    return guardedCall<int>("db_write_entry", PLATTER_FAIL, [&]() -> int {
        if (!record)
            return PLATTER_FAIL;
        DatabaseHold hold;
        return hold.held() ? storeWrite(winId, *record) : PLATTER_FAIL;
    });
}

int db_delete_entry(uint32_t winId)
{
    return guardedCall<int>("db_delete_entry", PLATTER_FAIL, [&]() -> int {
        DatabaseHold hold;
        return hold.held() ? storeDelete(winId) : PLATTER_FAIL;
    });
}

int db_free(TitleRecord *record)
{
    return guardedCall<int>("db_free", PLATTER_FAIL, [&]() -> int {
        if (!record)
            return PLATTER_FAIL;
        // Everything a read record points to lives in one block that starts at
        // its start frames; only blocks in the table are ours to release.
        void *block = record->trackStartFrames;
        if (!block || !takeHandedBlock(block)) {
            static const TitleRecord empty = {};
            if (memcmp(record, &empty, sizeof empty) == 0)
                return PLATTER_OK;
            // Not ours to release: whoever filled it still owns its blocks.
            platterDiag("db_free: the record was not filled by db_read_entry; it is left alone.");
            return PLATTER_FAIL;
        }
        HeapFree(GetProcessHeap(), 0, block);
        memset(record, 0, sizeof *record);
        return PLATTER_OK;
    });
}

int db_statistics(int32_t *total, int32_t *reclaimable)
{
    return guardedCall<int>("db_statistics", PLATTER_FAIL, [&]() -> int {
        if (!total || !reclaimable)
            return PLATTER_FAIL;
        DatabaseHold hold;
        return hold.held() ? storeStatistics(total, reclaimable) : PLATTER_FAIL;
    });
}

int db_compact(void)
{
    return guardedCall<int>("db_compact", PLATTER_FAIL, [&]() -> int {
        DatabaseHold hold;
        return hold.held() ? storeCompact() : PLATTER_FAIL;
    });
}

} // extern "C"
