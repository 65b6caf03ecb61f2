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

struct SharedDriveRecord {
    uint32_t magic;
    uint32_t size;
    uint64_t discStamp;  // the disc the timeline belongs to; 0: none
    uint64_t ejectStamp; // the image as it was when the tray opened
    uint32_t trayOpen;
    uint32_t serial;     // counts play commands, so the audio feed can follow seeks
    PlayTimeline timeline;
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
    };

private:
    void recallTray(SharedDriveRecord *record);

    std::string trayFile_;
    HANDLE mapping_ = nullptr;
    HANDLE mutex_ = nullptr;
    SharedDriveRecord *record_ = nullptr;
};

} // namespace devices

#endif
