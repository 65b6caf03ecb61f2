// handedblocks.cpp - the set of handed-out record blocks, shared by every
// thread of the process.
#include "libplatter/titledb/handedblocks.h"

#include <mutex>
#include <new>
#include <unordered_set>

namespace titledb {

namespace {
std::mutex tableGuard;
std::unordered_set<void *> &handedBlocks()
{
    static std::unordered_set<void *> blocks;
    return blocks;
}
}

bool noteHandedBlock(void *block)
{
    std::lock_guard<std::mutex> hold(tableGuard);
    try {
        handedBlocks().insert(block);
    } catch (const std::bad_alloc &) {
        return false;
    }
    return true;
}

bool takeHandedBlock(void *block)
{
    std::lock_guard<std::mutex> hold(tableGuard);
    return handedBlocks().erase(block) == 1;
}

} // namespace titledb
