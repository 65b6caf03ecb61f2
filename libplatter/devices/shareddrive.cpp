// shareddrive.cpp - the shared record of a virtual drive.
#include "libplatter/devices/shareddrive.h"
#include "libplatter/devices/imagefolder.h"
#include "libplatter/diag.h"
#include "libplatter/pathkey.h"

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
    char name[96];
    snprintf(name, sizeof name, "Local\\Platter.VirtualDrive.%016llX.%s", (unsigned long long)pathKeyHash(folder),
             suffix);
    return name;
}

std::string trayFileName(const std::string &folder)
{
    char temp[MAX_PATH];
    DWORD n = GetTempPathA(sizeof temp, temp);
    if (n == 0 || n >= sizeof temp)
        return std::string();
    char name[MAX_PATH + 64];
    snprintf(name, sizeof name, "%sPlatter.VirtualDrive.%016llX.tray", temp, (unsigned long long)pathKeyHash(folder));
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
    folder_ = folder;
    trayFile_ = trayFileName(folder);
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
        drive.recallTray(record_);
    }
    serial_ = record_->serial;
    discStamp_ = record_->discStamp;
    trayOpen_ = record_->trayOpen;
}

std::string SharedDrive::listenerEventName(uint32_t id) const
{
    char suffix[24];
    snprintf(suffix, sizeof suffix, "Wake.%08lX", (unsigned long)id);
    return sharedObjectName(folder_, suffix);
}

uint32_t SharedDrive::addListener(SharedDriveRecord *record)
{
    for (uint32_t &place : record->listeners)
        if (place == 0) {
            if (++record->lastListener == 0)
                ++record->lastListener;
            place = record->lastListener;
            return place;
        }
    return 0;
}

void SharedDrive::removeListener(SharedDriveRecord *record, uint32_t id)
{
    for (uint32_t &place : record->listeners)
        if (place == id)
            place = 0;
}

void SharedDrive::wakeListeners(SharedDriveRecord *record, uint32_t except)
{
    for (uint32_t &place : record->listeners) {
        if (place == 0 || place == except)
            continue;
        HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, listenerEventName(place).c_str());
        if (!event) {
            place = 0;
            continue;
        }
        SetEvent(event);
        CloseHandle(event);
    }
}

void SharedDrive::rememberTray(const SharedDriveRecord &record)
{
    if (trayFile_.empty())
        return;
    if (!record.trayOpen) {
        DeleteFileA(trayFile_.c_str());
        return;
    }
    HANDLE file = CreateFileA(trayFile_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    char text[40];
    int n = snprintf(text, sizeof text, "open %016llX\n", (unsigned long long)record.ejectStamp);
    DWORD written = 0;
    WriteFile(file, text, (DWORD)n, &written, nullptr);
    CloseHandle(file);
}

void SharedDrive::recallTray(SharedDriveRecord *record)
{
    std::string text;
    if (trayFile_.empty() || !readSmallFile(trayFile_, 64, &text))
        return;
    unsigned long long stamp = 0;
    if (sscanf(text.c_str(), "open %16llX", &stamp) != 1)
        return;
    record->trayOpen = 1;
    record->ejectStamp = stamp;
}

SharedDrive::Guard::~Guard()
{
    if (!record_)
        return;
    if (record_->serial != serial_ || record_->discStamp != discStamp_ || record_->trayOpen != trayOpen_)
        drive_.wakeListeners(record_, 0);
    ReleaseMutex(drive_.mutex_);
}

} // namespace devices
