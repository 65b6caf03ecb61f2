// driveapi.cpp - the device family of platter.dll: drive handles and the
// cd_* calls. A handle is made by cd_init, opened on a drive letter by
// cd_open (which picks the hardware or the virtual backend), and keeps the
// table of contents read last. Every call on a handle that is unknown,
// released or not open fails and changes nothing.
#include "libplatter/cboundary.h"
#include "libplatter/devices/discid.h"
#include "libplatter/devices/drivefolders.h"
#include "libplatter/devices/hardwaredrive.h"
#include "libplatter/devices/virtualdrive.h"
#include "libplatter/diag.h"
#include "platter/platter.h"

#include <cctype>
#include <map>
#include <memory>
#include <mutex>

namespace {

using namespace devices;

struct DriveHandle {
    char letter = 0; // 0 while not open
    std::unique_ptr<DriveBackend> backend;
    bool tocRead = false;
    DiscToc toc;
    // The identity of the disc the last read of the table of contents
    // found (0: none); unknown until a read.
    bool identityKnown = false;
    uint64_t tocIdentity = 0;
};

std::mutex tableLock;
// Never destroyed: a program that exits with drives open must not wait at
// exit for their sound threads, which the system has already ended.
std::map<cd_handle_t, std::unique_ptr<DriveHandle>> &handles = *new std::map<cd_handle_t, std::unique_ptr<DriveHandle>>;
cd_handle_t lastHandle = 0;

// The open drive behind a handle, or null. Callers hold tableLock.
DriveHandle *openDrive(cd_handle_t handle)
{
    auto found = handles.find(handle);
    if (found == handles.end() || !found->second->backend)
        return nullptr;
    return found->second.get();
}

// "D:", "d:" or "D:\" name drive D; anything else names no drive.
char driveLetterOf(const char *name)
{
    if (!name || !isalpha((unsigned char)name[0]) || name[1] != ':')
        return 0;
    if (name[2] != '\0' && !(name[2] == '\\' && name[3] == '\0'))
        return 0;
    return (char)toupper((unsigned char)name[0]);
}

std::unique_ptr<DriveBackend> openBackend(char letter)
{
    char label[2] = {letter, '\0'};
    std::string folder = virtualDriveFolderFor(letter);
    if (!folder.empty()) {
        platterDiag("Drive %s: virtual, served from %s.", label, folder.c_str());
        return VirtualDrive::open(folder, label);
    }
    bool notADrive = false;
    std::unique_ptr<DriveBackend> hardware = HardwareDrive::open(letter, &notADrive);
    if (hardware) {
        platterDiag("Drive %s: a CD-ROM drive.", label);
        return hardware;
    }
    if (!notADrive)
        return nullptr;
    char root[4] = {letter, ':', '\\', '\0'};
    platterDiag("Drive %s: takes no CD-ROM commands; virtual, served from its root folder.", label);
    return VirtualDrive::open(root, label);
}

// Reads the table of contents into the handle and notes which disc it
// belongs to; true when read. The identity is taken first: a disc that
// changes in between then reads as changed once more, never as the same.
bool readTocNow(DriveHandle *drive)
{
    drive->tocIdentity = drive->backend->discIdentity();
    drive->identityKnown = true;
    DiscToc toc;
    drive->tocRead = drive->backend->readToc(&toc);
    if (drive->tocRead)
        drive->toc = toc;
    return drive->tocRead;
}

// Forgets the table of contents and the disc it belonged to.
void forgetToc(DriveHandle *drive)
{
    drive->tocRead = false;
    drive->toc = DiscToc();
    drive->identityKnown = false;
    drive->tocIdentity = 0;
}

// The table of contents for queries: the one read last, or read now.
const DiscToc *knownToc(DriveHandle *drive)
{
    if (!drive->tocRead)
        readTocNow(drive);
    return drive->tocRead ? &drive->toc : nullptr;
}

void putMsf(int frames, int *minutes, int *seconds, int *rest)
{
    Msf msf = framesToMsf(frames);
    if (minutes)
        *minutes = msf.minutes;
    if (seconds)
        *seconds = msf.seconds;
    if (rest)
        *rest = msf.frames;
}

} // namespace

extern "C" {

cd_handle_t cd_init(void)
{
    return guardedCall<cd_handle_t>("cd_init", (cd_handle_t)0, [&]() -> cd_handle_t {
        std::lock_guard<std::mutex> hold(tableLock);
        // Handles are never reused while the library is loaded.
        if (lastHandle == UINT32_MAX)
            return 0;
        cd_handle_t handle = ++lastHandle;
        handles[handle].reset(new DriveHandle);
        return handle;
    });
}

int cd_open(cd_handle_t handle, const char *drive, int flags)
{
    return guardedCall<int>("cd_open", PLATTER_FAIL, [&]() -> int {
        std::lock_guard<std::mutex> hold(tableLock);
        auto found = handles.find(handle);
        char letter = driveLetterOf(drive);
        if (found == handles.end() || found->second->backend || letter == 0)
            return PLATTER_FAIL;
        std::unique_ptr<DriveBackend> backend = openBackend(letter);
        if (!backend)
            return PLATTER_FAIL;
        found->second->letter = letter;
        found->second->backend = std::move(backend);
        forgetToc(found->second.get());
        return PLATTER_OK;
    });
}

int cd_close(cd_handle_t handle)
{
    return guardedCall<int>("cd_close", PLATTER_FAIL, [&]() -> int {
        std::lock_guard<std::mutex> hold(tableLock);
        DriveHandle *drive = openDrive(handle);
        if (!drive)
            return PLATTER_FAIL;
        drive->backend.reset();
        drive->letter = 0;
        forgetToc(drive);
        return PLATTER_OK;
    });
}

int cd_cleanup(cd_handle_t handle)
{
    return guardedCall<int>("cd_cleanup", PLATTER_FAIL, [&]() -> int {
        std::lock_guard<std::mutex> hold(tableLock);
        return handles.erase(handle) ? PLATTER_OK : PLATTER_FAIL;
    });
}

int cd_check_if_media(cd_handle_t handle)
{
    return guardedCall<int>("cd_check_if_media", PLATTER_FAIL, [&]() -> int {
        std::lock_guard<std::mutex> hold(tableLock);
        DriveHandle *drive = openDrive(handle);
        return drive && drive->backend->mediaPresent() ? PLATTER_OK : PLATTER_FAIL;
    });
}

int cd_read_data(cd_handle_t handle)
{
    return guardedCall<int>("cd_read_data", PLATTER_FAIL, [&]() -> int {
        std::lock_guard<std::mutex> hold(tableLock);
        DriveHandle *drive = openDrive(handle);
        if (!drive)
            return PLATTER_FAIL;
        return readTocNow(drive) ? PLATTER_OK : PLATTER_FAIL;
    });
}

int cd_disc_changed(cd_handle_t handle)
{
    return guardedCall<int>("cd_disc_changed", PLATTER_FAIL, [&]() -> int {
        std::lock_guard<std::mutex> hold(tableLock);
        DriveHandle *drive = openDrive(handle);
        if (!drive || !drive->identityKnown)
            return PLATTER_FAIL;
        // A disc swapped for another without the drive ever being empty between
        // (an image written over, a tray closed on a new disc between two looks).
        if (!drive->backend->mediaPresent())
            return PLATTER_FAIL;
        uint64_t now = drive->backend->discIdentity();
        return now != 0 && now != drive->tocIdentity ? PLATTER_OK : PLATTER_FAIL;
    });
}

int cd_get_num_tracks(cd_handle_t handle, int *count)
{
    return guardedCall<int>("cd_get_num_tracks", PLATTER_FAIL, [&]() -> int {
        std::lock_guard<std::mutex> hold(tableLock);
        DriveHandle *drive = openDrive(handle);
        const DiscToc *toc = drive ? knownToc(drive) : nullptr;
        if (!toc || !count)
            return PLATTER_FAIL;
        *count = toc->count();
        return PLATTER_OK;
    });
}

int cd_get_track_type(cd_handle_t handle, int track, int *type)
{
    return guardedCall<int>("cd_get_track_type", PLATTER_FAIL, [&]() -> int {
        std::lock_guard<std::mutex> hold(tableLock);
        DriveHandle *drive = openDrive(handle);
        const DiscToc *toc = drive ? knownToc(drive) : nullptr;
        if (!toc || !type || track < 1 || track > toc->count())
            return PLATTER_FAIL;
        *type = toc->tracks[track - 1].audio ? PLATTER_TRACK_AUDIO : PLATTER_TRACK_DATA;
        return PLATTER_OK;
    });
}

int cd_get_track_time(cd_handle_t handle, int track, int *startMin, int *startSec, int *startFrame, int *lenMin,
                      int *lenSec, int *lenFrame)
{
    return guardedCall<int>("cd_get_track_time", PLATTER_FAIL, [&]() -> int {
        std::lock_guard<std::mutex> hold(tableLock);
        DriveHandle *drive = openDrive(handle);
        const DiscToc *toc = drive ? knownToc(drive) : nullptr;
        if (!toc || track < 1 || track > toc->count() + 1)
            return PLATTER_FAIL;
        int start = toc->startOf(track);
        int length = track <= toc->count() ? toc->endOf(track) - start : 0;
        putMsf(start, startMin, startSec, startFrame);
        putMsf(length, lenMin, lenSec, lenFrame);
        return PLATTER_OK;
    });
}

int cd_get_cur_time_info(cd_handle_t handle, int *track, int *min, int *sec, int *frame, int *absMin, int *absSec,
                         int *absFrame)
{
    return guardedCall<int>("cd_get_cur_time_info", PLATTER_FAIL, [&]() -> int {
        std::lock_guard<std::mutex> hold(tableLock);
        DriveHandle *drive = openDrive(handle);
        const DiscToc *toc = drive ? knownToc(drive) : nullptr;
        QPosition q;
        if (!toc || !drive->backend->position(*toc, &q))
            return PLATTER_FAIL;
        if (track)
            *track = q.track;
        putMsf(q.relative, min, sec, frame);
        putMsf(q.absolute, absMin, absSec, absFrame);
        return PLATTER_OK;
    });
}

int cd_get_win_id(cd_handle_t handle, uint32_t *winId)
{
    return guardedCall<int>("cd_get_win_id", PLATTER_FAIL, [&]() -> int {
        std::lock_guard<std::mutex> hold(tableLock);
        DriveHandle *drive = openDrive(handle);
        const DiscToc *toc = drive ? knownToc(drive) : nullptr;
        if (!toc || !winId)
            return PLATTER_FAIL;
        *winId = windowsPlayerId(*toc);
        return PLATTER_OK;
    });
}

int cd_get_cddb_id(cd_handle_t handle, uint32_t *discId)
{
    return guardedCall<int>("cd_get_cddb_id", PLATTER_FAIL, [&]() -> int {
        std::lock_guard<std::mutex> hold(tableLock);
        DriveHandle *drive = openDrive(handle);
        const DiscToc *toc = drive ? knownToc(drive) : nullptr;
        if (!toc || !discId)
            return PLATTER_FAIL;
        *discId = cddbDiscId(*toc);
        return PLATTER_OK;
    });
}

int cd_check_status(cd_handle_t handle)
{
    return guardedCall<int>("cd_check_status", PLATTER_FAIL, [&]() -> int {
        std::lock_guard<std::mutex> hold(tableLock);
        DriveHandle *drive = openDrive(handle);
        return drive ? drive->backend->status() : PLATTER_FAIL;
    });
}

int cd_play(cd_handle_t handle, int track, int min, int sec, int frame, int singleTrack)
{
    return guardedCall<int>("cd_play", PLATTER_FAIL, [&]() -> int {
        std::lock_guard<std::mutex> hold(tableLock);
        DriveHandle *drive = openDrive(handle);
        if (!drive)
            return PLATTER_FAIL;
        const DiscToc *toc = knownToc(drive);
        if (!toc)
            return drive->backend->status();
        if (track < 1 || track > toc->count() || !toc->tracks[track - 1].audio) {
            // A drive refuses to play a data track, or one the disc does not have.
            platterDiag("Drive %c: track %d is no audio track of this disc; not played.", drive->letter, track);
            return drive->backend->status();
        }
        int start = toc->startOf(track);
        int end = toc->endOf(track);
        long long offset = (long long)min * kFramesPerMinute + (long long)sec * kFramesPerSecond + frame;
        // A position at or past the track's end (a scan that ran to it) plays its last frame.
        int from = offset <= 0 ? start : offset >= end - start ? end - 1 : start + (int)offset;
        return drive->backend->play(*toc, from, playEnd(*toc, track, singleTrack != 0));
    });
}

int cd_pause(cd_handle_t handle)
{
    return guardedCall<int>("cd_pause", PLATTER_FAIL, [&]() -> int {
        std::lock_guard<std::mutex> hold(tableLock);
        DriveHandle *drive = openDrive(handle);
        return drive ? drive->backend->pause() : PLATTER_FAIL;
    });
}

int cd_resume(cd_handle_t handle, int track, int singleTrack)
{
    return guardedCall<int>("cd_resume", PLATTER_FAIL, [&]() -> int {
        std::lock_guard<std::mutex> hold(tableLock);
        DriveHandle *drive = openDrive(handle);
        if (!drive)
            return PLATTER_FAIL;
        const DiscToc *toc = knownToc(drive);
        if (!toc)
            return drive->backend->status();
        return drive->backend->resume(*toc, track, singleTrack != 0);
    });
}

int cd_stop(cd_handle_t handle)
{
    return guardedCall<int>("cd_stop", PLATTER_FAIL, [&]() -> int {
        std::lock_guard<std::mutex> hold(tableLock);
        DriveHandle *drive = openDrive(handle);
        return drive ? drive->backend->stop() : PLATTER_FAIL;
    });
}

int cd_eject(cd_handle_t handle)
{
    return guardedCall<int>("cd_eject", PLATTER_FAIL, [&]() -> int {
        std::lock_guard<std::mutex> hold(tableLock);
        DriveHandle *drive = openDrive(handle);
        if (!drive || !drive->backend->eject())
            return PLATTER_FAIL;
        forgetToc(drive);
        return PLATTER_OK;
    });
}

} // extern "C"
