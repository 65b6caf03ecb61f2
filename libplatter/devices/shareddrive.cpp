// shareddrive.cpp - the shared record of a virtual drive.
#include "libplatter/devices/shareddrive.h"
#include "libplatter/diag.h"

#include <cctype>
#include <cstdio>

namespace devices {

namespace {

const uint32_t kRecordMagic = 0x50445256; // "VRDP"
// A real drive answers within a couple of seconds; so does the lock.
const DWORD kLockWaitMs = 2000;

} // namespace

std::string sharedObjectName(const std::string &folder, const char *suffix)
{
    char full[MAX_PATH * 2];
    DWORD n = GetFullPathNameA(folder.c_str(), sizeof full, full, nullptr);
    std::string path = (n > 0 && n < sizeof full) ? std::string(full, n) : folder;
    for (char &c : path) {
        c = (char)toupper((unsigned char)c);
        if (c == '/')
            c = '\\';
    }
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : path) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char name[96];
    snprintf(name, sizeof name, "Local\\Platter.VirtualDrive.%016llX.%s", (unsigned long long)hash, suffix);
    return name;
}

SharedDrive::~SharedDrive()
{
    if (record_)
        UnmapViewOfFile(record_);
    if (mapping_)
        CloseHandle(mapping_);
    if (mutex_)
        CloseHandle(mutex_);
}

bool SharedDrive::open(const std::string &folder)
{
    mutex_ = CreateMutexA(nullptr, FALSE, sharedObjectName(folder, "Lock").c_str());
    mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(SharedDriveRecord),
                                  sharedObjectName(folder, "State").c_str());
    if (mapping_)
        record_ = (SharedDriveRecord *)MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedDriveRecord));
    if (!mutex_ || !record_) {
        platterDiag("Drive folder %s: cannot share its state (error %lu).", folder.c_str(), GetLastError());
        return false;
    }
    return true;
}

SharedDrive::Guard::Guard(SharedDrive &drive) : drive_(drive)
{
    if (!drive.mutex_ || !drive.record_)
        return;
    DWORD waited = WaitForSingleObject(drive.mutex_, kLockWaitMs);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        platterDiag("A virtual drive's state stayed locked by another program for %lu ms.", kLockWaitMs);
        return;
    }
    record_ = drive.record_;
    // A fresh record (or one a crashed process left half-written) starts empty.
    if (waited == WAIT_ABANDONED || record_->magic != kRecordMagic || record_->size != sizeof(SharedDriveRecord)) {
        ZeroMemory(record_, sizeof *record_);
        record_->magic = kRecordMagic;
        record_->size = sizeof(SharedDriveRecord);
        timelineReset(&record_->timeline, 0);
    }
}

SharedDrive::Guard::~Guard()
{
    if (record_)
        ReleaseMutex(drive_.mutex_);
}

} // namespace devices
