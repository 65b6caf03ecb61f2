// lookupdisc.cpp - taking a drive's disc for a lookup and putting the
// found entry back into the same disc only.
#include "cddb/lookupdisc.h"
#include "cddb/cddbsession.h"
#include "cddb/lookup.h"
#include "player/drives.h"
#include "titles/titlerecord.h"

namespace {

// True when the entry holds the disc that was taken. Called with driveLock held.
bool holdsDisc(const DriveEntry &entry, const LookupDisc &disc)
{
    const TitleRecord &title = entry.title;
    if (entry.device != disc.device || !entry.discLoaded || title.trackCount != disc.trackCount ||
        !title.trackStartFrames || (int)disc.startFrames.size() != disc.trackCount + 1)
        return false;
    for (int n = 0; n <= disc.trackCount; ++n)
        if (title.trackStartFrames[n] != disc.startFrames[(size_t)n])
            return false;
    return true;
}

void replaceText(char *&field, const char *source)
{
    titleFree(field);
    field = titleCopyText(source);
}

} // namespace

bool takeLookupDisc(int drive, LookupDisc *disc)
{
    DriveLockHold hold;
    if (cddbClosing())
        return false;
    DriveEntry *entry = driveEntry(drive);
    if (!entry || entry->device == 0 || !entry->discLoaded || !entry->title.trackStartFrames ||
        entry->title.trackCount < 1)
        return false;
    // A disc without its identity could never be stored: not looked up.
    uint32_t winId = 0;
    if (cd_get_win_id(entry->device, &winId) != 1)
        return false;
    // This lookup covers the disc: it does not wait for another one.
    entry->lookupPending = 0;
    disc->drive = drive;
    disc->name = entry->name;
    disc->device = entry->device;
    disc->trackCount = entry->title.trackCount;
    disc->startFrames.assign(entry->title.trackStartFrames,
                             entry->title.trackStartFrames + entry->title.trackCount + 1);
    return true;
}

bool lookupDiscPresent(const LookupDisc &disc)
{
    DriveLockHold hold;
    if (cddbClosing())
        return false;
    DriveEntry *entry = driveEntry(disc.drive);
    return entry && holdsDisc(*entry, disc);
}

bool fillLookupDisc(const LookupDisc &disc, cddb_handle_t handle)
{
    DriveLockHold hold;
    if (cddbClosing())
        return false;
    DriveEntry *entry = driveEntry(disc.drive);
    if (!entry || !holdsDisc(*entry, disc))
        return false;
    copyCddbResult(entry->title, handle);
    entry->titleKnown = 1;
    return true;
}

void copyCddbResult(TitleRecord &record, cddb_handle_t handle)
{
    record.cddbEntry = 1;
    record.revision = cddb_get_rev_number(handle);
    record.submitted = 0;
    replaceText(record.artist, cddb_get_artist(handle));
    replaceText(record.discTitle, cddb_get_title(handle));
    replaceText(record.discText, cddb_get_ext_title(handle));
    if (!record.trackTitles || !record.trackTexts)
        return;
    for (int n = 1; n <= record.trackCount; ++n) {
        replaceText(record.trackTitles[n - 1], cddb_get_track_title(handle, n));
        replaceText(record.trackTexts[n - 1], cddb_get_ext_track_title(handle, n));
    }
}
