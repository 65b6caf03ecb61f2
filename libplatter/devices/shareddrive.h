// shareddrive.h - the state of one virtual drive as every process sees it:
// a record in named shared memory, guarded by a named mutex, both named
// after the drive's folder, so that two programs on one drive share tray,
// disc and play, and two drives on different folders never meet. An open
// tray outlives the programs (a real drive's tray stays open when the
// player exits): it is also kept in a small file in the temporary folder
// while it is open.
#ifndef LIBPLATTER_DEVICES_SHAREDDRIVE_H
#define LIBPLATTER_DEVICES_SHAREDDRIVE_H

#include "libplatter/devices/playtimeline.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace devices {

const int kSharedDriveListeners = 8;

struct SharedDriveRecord {
    uint32_t magic;
    uint32_t size;
    uint64_t discStamp;  // the disc the timeline belongs to; 0: none
    uint64_t ejectStamp; // the image as it was when the tray opened
    uint32_t trayOpen;
    uint32_t serial;     // counts play commands, so the audio feed can follow seeks
    PlayTimeline timeline;
    // The sound threads of every process that has the drive open: each
    // sleeps on its own named event, woken when the state above changes.
    uint32_t listeners[kSharedDriveListeners]; // 0: a free place
    uint32_t lastListener;
};

// The names of a folder's shared objects: a hash of its full path,
// normalised (long names, upper case, backslashes), with the given suffix.
std::string sharedObjectName(const std::string &folder, const char *suffix);
// Where an open tray of that folder's drive is remembered.
std::string trayFileName(const std::string &folder);

class SharedDrive {
public:
    SharedDrive() = default;
    ~SharedDrive();
    SharedDrive(const SharedDrive &) = delete;
    SharedDrive &operator=(const SharedDrive &) = delete;

    bool open(const std::string &folder);
    // Keeps the record's tray (open, and the image it opened on) for the
    // next program, or forgets it once the tray is closed.
    void rememberTray(const SharedDriveRecord &record);

    // Holds the drive's mutex while alive; record() is null when the mutex
    // could not be had within a drive's answer time.
    class Guard {
    public:
        explicit Guard(SharedDrive &drive);
        ~Guard();
        Guard(const Guard &) = delete;
        Guard &operator=(const Guard &) = delete;
        SharedDriveRecord *record() const { return record_; }

    private:
        SharedDrive &drive_;
        SharedDriveRecord *record_ = nullptr;
        uint32_t serial_ = 0;
        uint64_t discStamp_ = 0;
        uint32_t trayOpen_ = 0;
    };

    // The name of a listener's wake event.
    std::string listenerEventName(uint32_t id) const;
    // Takes a place among the listeners (under the guard); 0 when all are taken.
    static uint32_t addListener(SharedDriveRecord *record);
    static void removeListener(SharedDriveRecord *record, uint32_t id);
    // Sets every listener's event but `except`'s; places whose event is gone
    // (a process that ended without leaving) are freed.
    void wakeListeners(SharedDriveRecord *record, uint32_t except);

private:
    void recallTray(SharedDriveRecord *record);

    std::string folder_;
    std::string trayFile_;
    HANDLE mapping_ = nullptr;
    HANDLE mutex_ = nullptr;
    SharedDriveRecord *record_ = nullptr;
};

} // namespace devices

#endif
