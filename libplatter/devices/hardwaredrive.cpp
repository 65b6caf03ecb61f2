// hardwaredrive.cpp - the hardware backend. Table of contents and Q channel
// addresses come in MSF form; the library's frames count from the start of
// the disc, lead-in included, exactly as those addresses do.
#include "libplatter/devices/hardwaredrive.h"
#include "libplatter/diag.h"
#include "platter/platter.h"

#include <winioctl.h>
#include <ntddcdrm.h>

#include <atomic>
#include <cstdio>

namespace devices {

namespace {

UINT systemDriveType(const char *root)
{
    return GetDriveTypeA(root);
}

HANDLE systemOpen(const char *path)
{
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
}

BOOL systemControl(HANDLE device, DWORD code, void *in, DWORD inSize, void *out, DWORD outSize, DWORD *returned)
{
    return DeviceIoControl(device, code, in, inSize, out, outSize, returned, nullptr);
}

void systemClose(HANDLE device)
{
    CloseHandle(device);
}

const DeviceIo systemIo = {systemDriveType, systemOpen, systemControl, systemClose};
std::atomic<const DeviceIo *> currentIo{&systemIo};

const DeviceIo &io()
{
    return *currentIo.load();
}

int msfFrames(const UCHAR address[4])
{
    return msfToFrames(address[1], address[2], address[3]);
}

const int kLeadOutTrack = 0xAA;
const UCHAR kDataTrackControl = 0x04;

} // namespace

void setDeviceIo(const DeviceIo *replacement)
{
    currentIo.store(replacement ? replacement : &systemIo);
}

std::unique_ptr<HardwareDrive> HardwareDrive::open(char letter, bool *notADrive)
{
    *notADrive = false;
    char root[8];
    snprintf(root, sizeof root, "%c:\\", letter);
    UINT type = io().driveType(root);
    if (type != DRIVE_CDROM) {
        platterDiag("Drive %c: is no CD-ROM drive (drive type %u).", letter, type);
        return nullptr;
    }
    char path[16];
    snprintf(path, sizeof path, "\\\\.\\%c:", letter);
    HANDLE device = io().open(path);
    if (device == INVALID_HANDLE_VALUE) {
        platterDiag("Drive %c: cannot be opened (error %lu).", letter, GetLastError());
        return nullptr;
    }
    CDROM_TOC toc;
    DWORD returned = 0;
    if (!io().control(device, IOCTL_CDROM_READ_TOC, nullptr, 0, &toc, sizeof toc, &returned)) {
        DWORD error = GetLastError();
        if (error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED) {
            io().close(device);
            *notADrive = true;
            return nullptr;
        }
        // Anything else (no disc, not ready) is what a real drive says.
    }
    return std::unique_ptr<HardwareDrive>(new HardwareDrive(device, letter));
}

HardwareDrive::~HardwareDrive()
{
    io().close(device_);
}

bool HardwareDrive::control(DWORD code, void *in, DWORD inSize, void *out, DWORD outSize, const char *what)
{
    DWORD returned = 0;
    if (io().control(device_, code, in, inSize, out, outSize, &returned))
        return true;
    platterDiag("Drive %c: %s failed (error %lu).", letter_, what, GetLastError());
    return false;
}

bool HardwareDrive::verify()
{
    ULONG count = 0;
    DWORD returned = 0;
    if (io().control(device_, IOCTL_STORAGE_CHECK_VERIFY, nullptr, 0, &count, sizeof count, &returned)) {
        // Drivers that keep a media change count report it here: a disc
        // swapped between two looks shows only as a new count.
        if (returned >= sizeof count) {
            if (changeCountKnown_ && count != changeCount_)
                ++generation_;
            changeCount_ = count;
            changeCountKnown_ = true;
        }
        return true;
    }
    // "Media changed" is said once after a new disc went in: there is a
    // disc, and it is not the one before.
    if (GetLastError() == ERROR_MEDIA_CHANGED) {
        ++generation_;
        return true;
    }
    return false;
}

bool HardwareDrive::mediaPresent()
{
    return verify();
}

uint64_t HardwareDrive::discIdentity()
{
    // What the verifies so far have seen; asking the drive is mediaPresent's.
    return generation_;
}

bool HardwareDrive::readToc(DiscToc *result)
{
    CDROM_TOC toc;
    ZeroMemory(&toc, sizeof toc);
    DWORD returned = 0;
    if (!io().control(device_, IOCTL_CDROM_READ_TOC, nullptr, 0, &toc, sizeof toc, &returned)) {
        platterDiag("Drive %c: reading the table of contents failed (error %lu).", letter_, GetLastError());
        return false;
    }
    int count = toc.LastTrack - toc.FirstTrack + 1;
    int length = toc.Length[0] << 8 | toc.Length[1]; // big-endian, bytes after the length field
    int entries = (length - 2) / (int)sizeof(TRACK_DATA);
    if (toc.FirstTrack < 1 || count < 1 || count > kMaxTracks || entries < count + 1 ||
        returned < (DWORD)(4 + (count + 1) * sizeof(TRACK_DATA))) {
        platterDiag("Drive %c: the table of contents is cut short or has no tracks.", letter_);
        return false;
    }
    DiscToc built;
    for (int i = 0; i < count; ++i) {
        const TRACK_DATA &entry = toc.TrackData[i];
        if (entry.TrackNumber != toc.FirstTrack + i) {
            platterDiag("Drive %c: the table of contents lists track %d out of order.", letter_, entry.TrackNumber);
            return false;
        }
        TocTrack track;
        track.start = msfFrames(entry.Address);
        track.audio = (entry.Control & kDataTrackControl) == 0;
        built.tracks.push_back(track);
    }
    if (toc.TrackData[count].TrackNumber != kLeadOutTrack) {
        platterDiag("Drive %c: the table of contents has no lead-out.", letter_);
        return false;
    }
    built.leadOut = msfFrames(toc.TrackData[count].Address);
    if (!tocIsValid(built)) {
        platterDiag("Drive %c: the table of contents' addresses do not rise.", letter_);
        return false;
    }
    firstTrack_ = toc.FirstTrack;
    *result = built;
    return true;
}

bool HardwareDrive::readQ(int *audioStatus, QPosition *q)
{
    CDROM_SUB_Q_DATA_FORMAT format;
    ZeroMemory(&format, sizeof format);
    format.Format = IOCTL_CDROM_CURRENT_POSITION;
    SUB_Q_CHANNEL_DATA data;
    ZeroMemory(&data, sizeof data);
    DWORD returned = 0;
    if (!io().control(device_, IOCTL_CDROM_READ_Q_CHANNEL, &format, sizeof format, &data, sizeof data, &returned))
        return false;
    const SUB_Q_CURRENT_POSITION &now = data.CurrentPosition;
    *audioStatus = now.Header.AudioStatus;
    if (*audioStatus == AUDIO_STATUS_IN_PROGRESS)
        stoppedByUs_ = false; // someone played since our stop
    if (q) {
        q->track = now.TrackNumber - firstTrack_ + 1;
        q->relative = msfFrames(now.TrackRelativeAddress);
        q->absolute = msfFrames(now.AbsoluteAddress);
    }
    return true;
}

int HardwareDrive::stateOf(int audioStatus) const
{
    switch (audioStatus) {
    case AUDIO_STATUS_IN_PROGRESS:
        return (int)PlayStatePlaying;
    case AUDIO_STATUS_PAUSED:
        return stoppedByUs_ ? (int)PlayStateStopped : (int)PlayStatePaused;
    default: // completed, stopped on an error, no status, not supported
        return (int)PlayStateStopped;
    }
}

int HardwareDrive::status()
{
    int audioStatus = 0;
    if (!readQ(&audioStatus, nullptr))
        return 0;
    return stateOf(audioStatus);
}

bool HardwareDrive::position(const DiscToc &, QPosition *q)
{
    int audioStatus = 0;
    return readQ(&audioStatus, q);
}

int HardwareDrive::playRange(int from, int end)
{
    Msf start = framesToMsf(from);
    Msf stopAt = framesToMsf(end);
    CDROM_PLAY_AUDIO_MSF range;
    range.StartingM = (UCHAR)start.minutes;
    range.StartingS = (UCHAR)start.seconds;
    range.StartingF = (UCHAR)start.frames;
    range.EndingM = (UCHAR)stopAt.minutes;
    range.EndingS = (UCHAR)stopAt.seconds;
    range.EndingF = (UCHAR)stopAt.frames;
    if (!control(IOCTL_CDROM_PLAY_AUDIO_MSF, &range, sizeof range, nullptr, 0, "play"))
        return status();
    playEnd_ = end;
    stoppedByUs_ = false;
    return (int)PlayStatePlaying;
}

int HardwareDrive::play(const DiscToc &, int from, int end)
{
    return playRange(from, end);
}

int HardwareDrive::pause()
{
    if (!control(IOCTL_CDROM_PAUSE_AUDIO, nullptr, 0, nullptr, 0, "pause"))
        return status();
    return (int)PlayStatePaused;
}

int HardwareDrive::resume(const DiscToc &toc, int track, bool singleTrack)
{
    int audioStatus = 0;
    QPosition q;
    if (!readQ(&audioStatus, &q))
        return 0;
    int state = stateOf(audioStatus);
    if (state == (int)PlayStateStopped)
        return state;
    int end = resumeEnd(toc, track, singleTrack, q.absolute);
    // Resume keeps the stopping point of the last play; a new one needs a new play.
    if (state == (int)PlayStatePaused && end == playEnd_) {
        if (!control(IOCTL_CDROM_RESUME_AUDIO, nullptr, 0, nullptr, 0, "resume"))
            return status();
        return (int)PlayStatePlaying;
    }
    return playRange(q.absolute, end);
}

int HardwareDrive::stop()
{
    if (!control(IOCTL_CDROM_STOP_AUDIO, nullptr, 0, nullptr, 0, "stop"))
        return status();
    stoppedByUs_ = true;
    return (int)PlayStateStopped;
}

bool HardwareDrive::eject()
{
    stoppedByUs_ = false;
    return control(IOCTL_STORAGE_EJECT_MEDIA, nullptr, 0, nullptr, 0, "eject");
}

} // namespace devices
