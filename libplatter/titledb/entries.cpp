// entries.cpp - walking the title database's entries in order of their disc
// ids (db_first_entry, db_next_entry). The index is a hash table, so the
// walk keeps a sorted copy of its ids; any append or rewrite of the file
// moves the index's end or instance, which makes the copy stale and the
// next call takes a fresh one. The walk is by value ("the next id above
// this one"), so entries written or deleted meanwhile never derail it.
#include "libplatter/cboundary.h"
#include "libplatter/titledb/dblock.h"
#include "libplatter/titledb/entrywalk.h"
#include "libplatter/titledb/storestate.h"
#include "platter/platter.h"

#include <algorithm>
#include <vector>

namespace titledb {

namespace {

struct SortedIds {
    bool valid = false;
    std::string path;
    uint64_t instance = 0;
    uint32_t validEnd = 0;
    size_t count = 0;
    std::vector<uint32_t> ids;
};

SortedIds &sortedIds()
{
    static SortedIds instance;
    return instance;
}

// The live entries' ids, sorted; called with the database held.
const std::vector<uint32_t> &currentIds()
{
    StoreState &s = storeState();
    SortedIds &c = sortedIds();
    if (s.status != StoreStatus::Ready) {
        c.valid = false;
        c.ids.clear();
        return c.ids;
    }
    if (c.valid && c.path == s.path && c.instance == s.instance && c.validEnd == s.validEnd &&
        c.count == s.index.size())
        return c.ids;
    c.ids.clear();
    c.ids.reserve(s.index.size());
    s.index.forEach([&](uint32_t winId, const Slot &slot) {
        if (!slot.damaged)
            c.ids.push_back(winId);
    });
    std::sort(c.ids.begin(), c.ids.end());
    c.valid = true;
    c.path = s.path;
    c.instance = s.instance;
    c.validEnd = s.validEnd;
    c.count = s.index.size();
    return c.ids;
}

} // namespace

void forgetEntryWalk() { sortedIds().valid = false; }

bool nextEntryId(bool first, uint32_t after, uint32_t *winId)
{
    const std::vector<uint32_t> &ids = currentIds();
    auto it = first ? ids.begin() : std::upper_bound(ids.begin(), ids.end(), after);
    if (it == ids.end())
        return false;
    *winId = *it;
    return true;
}

} // namespace titledb

using namespace titledb;

extern "C" {

int db_first_entry(uint32_t *winId)
{
    return guardedCall<int>("db_first_entry", PLATTER_FAIL, [&]() -> int {
        if (!winId)
            return PLATTER_FAIL;
        DatabaseHold hold;
        return hold.held() && nextEntryId(true, 0, winId) ? PLATTER_OK : PLATTER_FAIL;
    });
}

int db_next_entry(uint32_t after, uint32_t *winId)
{
    return guardedCall<int>("db_next_entry", PLATTER_FAIL, [&]() -> int {
        if (!winId)
            return PLATTER_FAIL;
        DatabaseHold hold;
        return hold.held() && nextEntryId(false, after, winId) ? PLATTER_OK : PLATTER_FAIL;
    });
}

} // extern "C"
