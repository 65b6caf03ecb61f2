// virtualdrive.cpp - the virtual backend's device calls. Every call looks
// at the folder again (a disc may have come or gone; cheap while nothing
// changed), then works on the shared record under its lock.
#include "libplatter/devices/virtualdrive.h"
#include "libplatter/devices/audiofeed.h"
#include "libplatter/devices/playclock.h"
#include "libplatter/diag.h"

#include <atomic>

namespace devices {

namespace {
std::atomic<bool> audioEnabled{true};
} // namespace

void setVirtualDriveAudio(bool enabled)
{
    audioEnabled.store(enabled);
}

VirtualDrive::VirtualDrive(const std::string &folder, const std::string &label) : label_(label), folder_(folder) {}

VirtualDrive::~VirtualDrive() = default;

std::unique_ptr<VirtualDrive> VirtualDrive::open(const std::string &folder, const std::string &label)
{
    std::unique_ptr<VirtualDrive> drive(new VirtualDrive(folder, label));
    if (!drive->shared_.open(folder))
        return nullptr;
    if (audioEnabled.load() && !playClockIsManual())
        drive->audio_ = AudioFeed::start(folder, label);
    return drive;
}

void VirtualDrive::reportProblem(const FolderDisc &disc)
{
    // Once per version of the description: the monitor asks every few seconds.
    if (disc.valid || !disc.described || disc.stamp == reportedStamp_)
        return;
    reportedStamp_ = disc.stamp;
    platterDiag("Drive %s: no disc: %s%s: %s", label_.c_str(), folder_.root().c_str(), disc.description.c_str(),
                disc.problem.c_str());
}

bool VirtualDrive::sync(SharedDriveRecord *record, uint64_t now)
{
    const FolderDisc &disc = folder_.current();
    if (record->trayOpen) {
        uint64_t ejectStamp = record->ejectStamp;
        if (!disc.described)
            record->ejectStamp = 0; // the image went away: whatever comes next is a new disc
        else if (disc.stamp != record->ejectStamp)
            record->trayOpen = 0;
        if (!record->trayOpen || record->ejectStamp != ejectStamp)
            shared_.rememberTray(*record);
    }
    if (record->trayOpen || !disc.valid) {
        if (record->discStamp != 0) {
            record->discStamp = 0;
            timelineReset(&record->timeline, 0);
            ++record->serial;
        }
        disc_.reset();
        return false;
    }
    disc_ = disc.image;
    if (record->discStamp != disc.stamp) {
        record->discStamp = disc.stamp;
        timelineReset(&record->timeline, disc_->toc.tracks[0].start);
        ++record->serial;
    }
    timelineSettle(&record->timeline, now);
    if (audio_)
        audio_->setDisc(disc_, disc.stamp);
    return true;
}

bool VirtualDrive::mediaPresent()
{
    reportProblem(folder_.refresh());
    SharedDrive::Guard guard(shared_);
    return guard.record() && sync(guard.record(), playClockNow());
}

uint64_t VirtualDrive::discIdentity()
{
    // The image's stamp: its description and data files, their sizes and times.
    reportProblem(folder_.refresh());
    SharedDrive::Guard guard(shared_);
    if (!guard.record() || !sync(guard.record(), playClockNow()))
        return 0;
    return guard.record()->discStamp;
}

bool VirtualDrive::readToc(DiscToc *toc)
{
    reportProblem(folder_.refresh());
    SharedDrive::Guard guard(shared_);
    if (!guard.record() || !sync(guard.record(), playClockNow()))
        return false;
    *toc = disc_->toc;
    return true;
}

int VirtualDrive::status()
{
    reportProblem(folder_.refresh());
    SharedDrive::Guard guard(shared_);
    if (!guard.record() || !sync(guard.record(), playClockNow()))
        return 0;
    return (int)guard.record()->timeline.mode;
}

bool VirtualDrive::position(const DiscToc &, QPosition *q)
{
    reportProblem(folder_.refresh());
    SharedDrive::Guard guard(shared_);
    uint64_t now = playClockNow();
    if (!guard.record() || !sync(guard.record(), now))
        return false;
    *q = qPositionAt(disc_->toc, timelinePosition(guard.record()->timeline, now));
    return true;
}

int VirtualDrive::play(const DiscToc &, int from, int end)
{
    reportProblem(folder_.refresh());
    SharedDrive::Guard guard(shared_);
    uint64_t now = playClockNow();
    SharedDriveRecord *record = guard.record();
    if (!record || !sync(record, now))
        return 0;
    // The caller's table of contents may be older than the disc: keep to this one.
    const DiscToc &toc = disc_->toc;
    if (from < toc.tracks[0].start || from >= toc.leadOut || end > toc.leadOut || end <= from) {
        platterDiag("Drive %s: play range %d-%d lies outside the disc.", label_.c_str(), from, end);
        return (int)record->timeline.mode;
    }
    timelinePlay(&record->timeline, now, from, end);
    ++record->serial;
    return (int)record->timeline.mode;
}

int VirtualDrive::pause()
{
    reportProblem(folder_.refresh());
    SharedDrive::Guard guard(shared_);
    uint64_t now = playClockNow();
    SharedDriveRecord *record = guard.record();
    if (!record || !sync(record, now))
        return 0;
    if (timelinePause(&record->timeline, now))
        ++record->serial;
    return (int)record->timeline.mode;
}

int VirtualDrive::resume(const DiscToc &, int track, bool singleTrack)
{
    reportProblem(folder_.refresh());
    SharedDrive::Guard guard(shared_);
    uint64_t now = playClockNow();
    SharedDriveRecord *record = guard.record();
    if (!record || !sync(record, now))
        return 0;
    int at = timelinePosition(record->timeline, now);
    if (timelineResume(&record->timeline, now, resumeEnd(disc_->toc, track, singleTrack, at)))
        ++record->serial;
    return (int)record->timeline.mode;
}

int VirtualDrive::stop()
{
    reportProblem(folder_.refresh());
    SharedDrive::Guard guard(shared_);
    uint64_t now = playClockNow();
    SharedDriveRecord *record = guard.record();
    if (!record || !sync(record, now))
        return 0;
    timelineStop(&record->timeline, now);
    ++record->serial;
    return (int)record->timeline.mode;
}

bool VirtualDrive::eject()
{
    const FolderDisc &disc = folder_.refresh();
    SharedDrive::Guard guard(shared_);
    SharedDriveRecord *record = guard.record();
    if (!record)
        return false;
    record->trayOpen = 1;
    record->ejectStamp = disc.described ? disc.stamp : 0;
    record->discStamp = 0;
    timelineReset(&record->timeline, 0);
    ++record->serial;
    shared_.rememberTray(*record);
    disc_.reset();
    platterDiag("Drive %s: tray opened; the disc comes back when %s changes.", label_.c_str(),
                disc.described ? disc.description.c_str() : "an image");
    return true;
}

} // namespace devices
