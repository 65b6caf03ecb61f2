// hardwaredrive.h - the hardware backend: a real CD-ROM drive driven with
// the Windows NT CD-ROM control codes on \\.\D:. The device is reached
// through DeviceIo, which tests replace to replay what a drive answers.
#ifndef LIBPLATTER_DEVICES_HARDWAREDRIVE_H
#define LIBPLATTER_DEVICES_HARDWAREDRIVE_H

#include "libplatter/devices/backend.h"

#include <windows.h>

#include <memory>
#include <string>

namespace devices {

// The system calls the backend makes. driveType is GetDriveTypeA's answer
// for a root ("D:\\"); open returns INVALID_HANDLE_VALUE on failure;
// control sets the last error when it fails.
struct DeviceIo {
    UINT (*driveType)(const char *root);
    HANDLE (*open)(const char *path);
    BOOL (*control)(HANDLE device, DWORD code, void *in, DWORD inSize, void *out, DWORD outSize, DWORD *returned);
    void (*close)(HANDLE device);
};

// Test seam: route the backend's device calls through `io` (null: the system's).
void setDeviceIo(const DeviceIo *io);

class HardwareDrive : public DriveBackend {
public:
    // Opens \\.\X: of a CD-ROM letter and asks for its table of contents.
    // A device that rejects CD-ROM control codes outright (Wine's
    // folder-backed CD-ROM letters answer "invalid function") is no drive:
    // null with *notADrive set. Letters of other kinds give null.
    static std::unique_ptr<HardwareDrive> open(char letter, bool *notADrive);
    ~HardwareDrive() override;

    const char *kind() const override { return "hardware"; }
    bool mediaPresent() override;
    bool readToc(DiscToc *toc) override;
    int status() override;
    bool position(const DiscToc &toc, QPosition *q) override;
    int play(const DiscToc &toc, int from, int end) override;
    int pause() override;
    int resume(const DiscToc &toc, int track, bool singleTrack) override;
    int stop() override;
    bool eject() override;
    uint64_t discIdentity() override;

private:
    HardwareDrive(HANDLE device, char letter) : device_(device), letter_(letter) {}
    bool control(DWORD code, void *in, DWORD inSize, void *out, DWORD outSize, const char *what);
    // The Q channel's current position; its audio status in *audioStatus.
    bool readQ(int *audioStatus, QPosition *q);
    int stateOf(int audioStatus) const;
    int playRange(int from, int end);

    HANDLE device_;
    char letter_;
    int firstTrack_ = 1;  // the disc's first track number, which the library calls 1
    int playEnd_ = -1;    // where the last play command stops
    bool stoppedByUs_ = false; // some drives still say "paused" after a stop
    // Media changes seen: a verify that answers "media changed", or a
    // media change count other than the last one, counts one more.
    uint64_t generation_ = 1;
    bool changeCountKnown_ = false;
    ULONG changeCount_ = 0;
    // Asks the drive whether a disc is in and whether it changed since.
    bool verify();
};

} // namespace devices

#endif
