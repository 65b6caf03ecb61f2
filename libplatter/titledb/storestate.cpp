// storestate.cpp - the one StoreState of the process, and instance ids.
#include "libplatter/titledb/storestate.h"

#include <windows.h>

#include <atomic>

namespace titledb {

StoreState &storeState()
{
    static StoreState instance;
    return instance;
}

uint64_t newInstanceId()
{
    // Time, process, thread and a counter, mixed (splitmix64): two files
    // made by different processes or at different moments never match.
    static std::atomic<uint64_t> counter{0};
    LARGE_INTEGER ticks;
    QueryPerformanceCounter(&ticks);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    uint64_t x = (uint64_t)ticks.QuadPart ^ ((uint64_t)now.dwHighDateTime << 32 | now.dwLowDateTime);
    x ^= (uint64_t)GetCurrentProcessId() << 40 ^ (uint64_t)GetCurrentThreadId() << 20;
    x += 0x9E3779B97F4A7C15ull * (counter.fetch_add(1) + 1);
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    x ^= x >> 31;
    return x ? x : 1;
}

} // namespace titledb
