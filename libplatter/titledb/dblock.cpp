// dblock.cpp - taking and giving back the title database.
//
// The critical section is entered in lockDatabase and left in the matching
// unlockDatabase, so it is held for as long as the thread holds the
// database; the named mutex is taken only on the outermost level. Another
// process that ends while holding the mutex leaves it abandoned: the next
// owner gets it and finds at worst a torn record at the file's end.
//
// Beside the mutex lies a count of the writes made to the file, in named
// shared memory that every process using the database maps. A process that
// finds the count where it left it knows the file is as it last saw it and
// skips reading it again; one whose mapping cannot be made checks the
// file's size and header at every outermost level instead.
#include "libplatter/titledb/dblock.h"
#include "libplatter/titledb/store.h"
#include "libplatter/diag.h"
#include "libplatter/pathkey.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>

namespace titledb {

const char kDatabaseFileName[] = "Spindle2.tdb";

namespace {

// Long enough for another process to compact a large database.
constexpr DWORD kLockWaitMs = 30000;

// The shared memory's layout: one page, zero when first made.
struct SharedChanges {
    volatile LONG count;
};

struct LockState {
    CRITICAL_SECTION section;
    std::atomic<DWORD> owner{0};
    int depth = 0;            // only the owner reads or changes it
    HANDLE mutex = nullptr;   // for mutexPath
    std::string mutexPath;
    HANDLE mapping = nullptr; // the shared count for mutexPath, or none
    SharedChanges *changes = nullptr;
    bool mappingReported = false;
    LockState() { InitializeCriticalSection(&section); }
};

LockState &state()
{
    static LockState instance;
    return instance;
}

std::string databasePath()
{
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(kDatabaseFileName, sizeof full, full, nullptr);
    if (n == 0 || n >= sizeof full)
        return kDatabaseFileName;
    return std::string(full, n);
}

} // namespace

// Mutex names may not hold backslashes and are limited in length, so the
// name carries a hash of the path, normalised as file names compare.
std::string databaseLockName(const std::string &path)
{
    char name[64];
    snprintf(name, sizeof name, "Spindle2.TitleDatabase.%016llX", (unsigned long long)pathKeyHash(path));
    return name;
}

std::string databaseChangesName(const std::string &path)
{
    char name[72];
    snprintf(name, sizeof name, "Spindle2.TitleDatabase.%016llX.Changes", (unsigned long long)pathKeyHash(path));
    return name;
}

namespace {

void dropChanges(LockState &s)
{
    if (s.changes)
        UnmapViewOfFile((void *)s.changes);
    if (s.mapping)
        CloseHandle(s.mapping);
    s.changes = nullptr;
    s.mapping = nullptr;
}

// Maps the shared count for `path`; without it the process still works,
// only less cheaply.
void mapChanges(LockState &s, const std::string &path)
{
    dropChanges(s);
    s.mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096,
                                   databaseChangesName(path).c_str());
    if (s.mapping)
        s.changes = static_cast<SharedChanges *>(MapViewOfFile(s.mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
    if (!s.changes) {
        if (!s.mappingReported)
            platterDiag("Title database: the shared change count for %s cannot be made (error %lu); the file is "
                        "checked at every lock.",
                        path.c_str(), (unsigned long)GetLastError());
        s.mappingReported = true;
        dropChanges(s);
    }
}

bool takeMutex(LockState &s, const std::string &path)
{
    if (!s.mutex || s.mutexPath != path) {
        if (s.mutex)
            CloseHandle(s.mutex);
        s.mutex = CreateMutexA(nullptr, FALSE, databaseLockName(path).c_str());
        s.mutexPath = s.mutex ? path : std::string();
        if (!s.mutex) {
            dropChanges(s);
            platterDiag("Title database lock for %s cannot be made (error %lu).", path.c_str(),
                        (unsigned long)GetLastError());
            return false;
        }
        mapChanges(s, path);
    }
    switch (WaitForSingleObject(s.mutex, kLockWaitMs)) {
    case WAIT_OBJECT_0:
        return true;
    case WAIT_ABANDONED:
        platterDiag("Title database: another program ended while holding the database.");
        // It may have ended in the middle of a write, after the file changed
        // and before the count moved: the count moves now, so that every
        // process looks at the file again.
        if (s.changes)
            InterlockedIncrement(&s.changes->count);
        return true;
    case WAIT_TIMEOUT:
        platterDiag("Title database: another program has held the database for over %lu seconds.",
                    (unsigned long)(kLockWaitMs / 1000));
        return false;
    default:
        platterDiag("Title database lock failed (error %lu).", (unsigned long)GetLastError());
        return false;
    }
}

} // namespace

bool lockDatabase()
{
    LockState &s = state();
    EnterCriticalSection(&s.section);
    if (s.depth == 0) {
        bool taken = false;
        try {
            std::string path = databasePath();
            if (!takeMutex(s, path)) {
                LeaveCriticalSection(&s.section);
                return false;
            }
            taken = true;
            s.owner.store(GetCurrentThreadId());
            uint32_t count = s.changes ? (uint32_t)s.changes->count : 0;
            storeAttach(path, s.changes ? &count : nullptr);
        } catch (...) {
            // Out of memory on the way in: everything taken is given back and
            // the index is read afresh next time, before the error goes on.
            if (taken) {
                storeForgetIndex();
                storeDetach();
                s.owner.store(0);
                ReleaseMutex(s.mutex);
            }
            LeaveCriticalSection(&s.section);
            throw;
        }
    }
    ++s.depth;
    return true;
}

bool noteDatabaseChanged(uint32_t *count)
{
    LockState &s = state();
    if (!s.changes || s.owner.load() != GetCurrentThreadId())
        return false;
    // Only the holder of the mutex writes the count; the interlocked step
    // makes it visible to the next holder in whatever process.
    *count = (uint32_t)InterlockedIncrement(&s.changes->count);
    return true;
}

bool unlockDatabase()
{
    LockState &s = state();
    // Only the owner can see its own id here; for anyone else this is a no-op.
    if (s.owner.load() != GetCurrentThreadId() || s.depth == 0)
        return false;
    if (--s.depth == 0) {
        storeDetach();
        s.owner.store(0);
        ReleaseMutex(s.mutex);
    }
    LeaveCriticalSection(&s.section);
    return true;
}

} // namespace titledb
