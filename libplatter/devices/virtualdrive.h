// virtualdrive.h - the virtual backend: a drive whose folder holds a disc
// image description. It behaves as a real drive does: the tray, the disc,
// and a play state machine on the play clock, shared with every other
// process that opens the same folder; the sound of discs with audio data
// goes to the wave device.
#ifndef LIBPLATTER_DEVICES_VIRTUALDRIVE_H
#define LIBPLATTER_DEVICES_VIRTUALDRIVE_H

#include "libplatter/devices/backend.h"
#include "libplatter/devices/imagefolder.h"
#include "libplatter/devices/shareddrive.h"

#include <memory>
#include <string>

namespace devices {

class AudioFeed;

class VirtualDrive : public DriveBackend {
public:
    // Null when the folder's state cannot be shared. `label` names the
    // drive in diagnostics (its letter).
    static std::unique_ptr<VirtualDrive> open(const std::string &folder, const std::string &label);
    ~VirtualDrive() override;

    const char *kind() const override { return "virtual"; }
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
    VirtualDrive(const std::string &folder, const std::string &label);
    // Brings the shared record up to date with the folder and the clock;
    // true when the drive holds a disc (then disc_ is that disc).
    bool sync(SharedDriveRecord *record, uint64_t now);
    void reportProblem(const FolderDisc &disc);

    std::string label_;
    ImageFolder folder_;
    SharedDrive shared_;
    std::shared_ptr<const DiscImage> disc_;
    uint64_t reportedStamp_ = 0;
    std::unique_ptr<AudioFeed> audio_;
};

// Test seam: whether virtual drives opened from now on send sound to the
// wave device (on by default; never while a test holds the play clock).
void setVirtualDriveAudio(bool enabled);

} // namespace devices

#endif
