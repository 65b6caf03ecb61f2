// playorder.cpp - the play order: advancePlay and the operations it is built
// from, playTrack with its introduction window, and the random generator.
//
// A disc's order is its program when it has one, else its audio tracks in
// disc order. Only tracks the disc has, and audio ones, are ever sent to the
// drive: a program entry naming a track the disc lacks, or a data track, is
// stepped over like a data track in disc order.
#include "player/playorder.h"
#include "player/drives.h"
#include "options/options.h"

#include <cstring>

namespace {

uint32_t randomState = 1;

// ---- questions about one entry; the caller holds driveLock ----

bool loaded(const DriveEntry *entry)
{
    return entry && entry->device != 0 && entry->discLoaded && entry->trackTypes && entry->playedFlags;
}

bool hasProgram(const DriveEntry &entry)
{
    return entry.title.programLength > 0 && entry.title.programList;
}

bool isPlayable(const DriveEntry &entry, int track)
{
    return track >= 1 && track <= entry.title.trackCount && entry.trackTypes &&
           entry.trackTypes[track - 1] == PLATTER_TRACK_AUDIO;
}

bool isPlayed(const DriveEntry &entry, int track)
{
    return entry.playedFlags[track - 1] != 0;
}

int programEntry(const DriveEntry &entry, int position)
{
    return entry.title.programList[position - 1];
}

// The number of entries of the order still to play in this pass: program
// positions whose track is unplayed (a track listed twice counts twice), or
// unplayed audio tracks.
int unplayedCount(const DriveEntry &entry)
{
    int n = 0;
    if (hasProgram(entry)) {
        for (int p = 1; p <= entry.title.programLength; ++p) {
            int track = programEntry(entry, p);
            if (isPlayable(entry, track) && !isPlayed(entry, track))
                ++n;
        }
    } else {
        for (int t = 1; t <= entry.title.trackCount; ++t)
            if (isPlayable(entry, t) && !isPlayed(entry, t))
                ++n;
    }
    return n;
}

// ---- the steps advancePlay is made of ----

void play()
{
    playState = playTrack(currentTrack);
}

void stop()
{
    DriveEntry *entry = currentEntry();
    if (entry && entry->device != 0)
        playState = cd_stop(entry->device);
}

void ejectAtEnd()
{
    DriveEntry *entry = currentEntry();
    if (options.EjectAtEnd && entry && entry->device != 0)
        cd_eject(entry->device);
}

// The first track of the current drive or, when it has nothing to play, of
// the next drive that has; false when no drive from here on has one.
bool firstTrackHereOrLater()
{
    do {
        if (firstTrack())
            return true;
    } while (selectNextDrive());
    return false;
}

void startPlay()
{
    clearPlayedFlags();
    if (randomMode) {
        if (options.ShuffleAllDrives && !pickRandomDrive()) {
            clearPlayedFlags();
            selectFirstDrive();
            ejectAtEnd();
            return;
        }
        if (pickRandomTrack())
            play();
        else
            stop();
        return;
    }
    // A disc without an audio track has nothing to play: the drive is
    // stopped so that the model knows its state.
    if (firstTrack())
        play();
    else
        stop();
}

// The disc's order ran out: on to the next drive with a disc, or back to
// the first (playing again with Repeat All, else ejecting with Eject At End).
void endOfDisc()
{
    stop();
    while (selectNextDrive()) {
        if (firstTrack()) {
            play();
            return;
        }
    }
    clearPlayedFlags();
    selectFirstDrive();
    if (options.RepeatAll) {
        if (firstTrackHereOrLater())
            play();
        else
            selectFirstDrive();
        return;
    }
    ejectAtEnd();
}

void trackEndedInRandomOrder()
{
    if (options.ShuffleAllDrives) {
        stop();
        if (!pickRandomDrive()) {
            clearPlayedFlags();
            if (!options.RepeatAll) {
                selectFirstDrive();
                ejectAtEnd();
                return;
            }
            // A new pass over all drives.
            if (!pickRandomDrive()) {
                selectFirstDrive();
                return;
            }
        }
    }
    if (pickRandomTrack())
        play();
    else
        stop();
}

void backToPreviousDrive()
{
    stop();
    while (selectPreviousDrive()) {
        if (lastTrack()) {
            play();
            return;
        }
    }
    clearPlayedFlags();
    selectFirstDrive();
}

} // namespace

// ---- random numbers ----

void seedPlayRandom(uint32_t seed)
{
    randomState = seed;
}

int drawPlayRandom()
{
    randomState = randomState * 214013u + 2531011u;
    return (int)((randomState >> 16) & 0x7FFF);
}

int randomPickOf(int r, int n)
{
    if (n <= 1)
        return 1;
    // 1/32767 held in single precision, as the pick has always used it.
    const float scale = 3.0518509e-05f;
    int k = (int)((double)r * (double)scale * (double)(n - 1) + 0.5) + 1;
    if (k < 1)
        k = 1;
    if (k > n)
        k = n;
    return k;
}

// ---- the order operations ----

bool playableTrack(int track)
{
    DriveLockHold hold;
    DriveEntry *entry = currentEntry();
    return loaded(entry) && isPlayable(*entry, track);
}

int singleTrackPlay()
{
    if (randomMode || introMode || repeatTrackMode)
        return 1;
    DriveLockHold hold;
    DriveEntry *entry = currentEntry();
    return entry && hasProgram(*entry) ? 1 : 0;
}

void markCurrentPlayed()
{
    DriveLockHold hold;
    DriveEntry *entry = currentEntry();
    if (loaded(entry) && currentTrack >= 1 && currentTrack <= entry->title.trackCount)
        entry->playedFlags[currentTrack - 1] = 1;
}

void clearPlayedFlags()
{
    DriveLockHold hold;
    for (int drive = 1; drive <= driveCount; ++drive) {
        DriveEntry *entry = driveEntry(drive);
        if (loaded(entry))
            memset(entry->playedFlags, 0, (size_t)entry->title.trackCount * sizeof(int));
    }
}

int pickRandomDrive()
{
    DriveLockHold hold;
    int n = 0;
    for (int drive = 1; drive <= driveCount; ++drive) {
        DriveEntry *entry = driveEntry(drive);
        if (loaded(entry) && unplayedCount(*entry) > 0)
            ++n;
    }
    if (n == 0) {
        currentDrive = 0;
        return 0;
    }
    int k = randomPickOf(drawPlayRandom(), n);
    for (int drive = 1; drive <= driveCount; ++drive) {
        DriveEntry *entry = driveEntry(drive);
        if (loaded(entry) && unplayedCount(*entry) > 0 && --k == 0) {
            currentDrive = drive;
            break;
        }
    }
    return 1;
}

int pickRandomTrack()
{
    DriveLockHold hold;
    DriveEntry *entry = currentEntry();
    if (!loaded(entry))
        return 0;
    int n = unplayedCount(*entry);
    if (n == 0)
        return 0;
    int k = randomPickOf(drawPlayRandom(), n);
    if (hasProgram(*entry)) {
        for (int p = 1; p <= entry->title.programLength; ++p) {
            int track = programEntry(*entry, p);
            if (isPlayable(*entry, track) && !isPlayed(*entry, track) && --k == 0) {
                programPosition = p;
                currentTrack = track;
                break;
            }
        }
    } else {
        for (int t = 1; t <= entry->title.trackCount; ++t) {
            if (isPlayable(*entry, t) && !isPlayed(*entry, t) && --k == 0) {
                currentTrack = t;
                break;
            }
        }
    }
    return 1;
}

int firstTrack()
{
    DriveLockHold hold;
    DriveEntry *entry = currentEntry();
    if (!loaded(entry))
        return 0;
    if (hasProgram(*entry)) {
        for (int p = 1; p <= entry->title.programLength; ++p) {
            if (isPlayable(*entry, programEntry(*entry, p))) {
                programPosition = p;
                currentTrack = programEntry(*entry, p);
                return 1;
            }
        }
        return 0;
    }
    for (int t = 1; t <= entry->title.trackCount; ++t) {
        if (isPlayable(*entry, t)) {
            programPosition = 0;
            currentTrack = t;
            return 1;
        }
    }
    return 0;
}

int lastTrack()
{
    DriveLockHold hold;
    DriveEntry *entry = currentEntry();
    if (!loaded(entry))
        return 0;
    if (hasProgram(*entry)) {
        for (int p = entry->title.programLength; p >= 1; --p) {
            if (isPlayable(*entry, programEntry(*entry, p))) {
                programPosition = p;
                currentTrack = programEntry(*entry, p);
                return 1;
            }
        }
        return 0;
    }
    for (int t = entry->title.trackCount; t >= 1; --t) {
        if (isPlayable(*entry, t)) {
            programPosition = 0;
            currentTrack = t;
            return 1;
        }
    }
    return 0;
}

int nextTrack(int force)
{
    DriveLockHold hold;
    DriveEntry *entry = currentEntry();
    if (!loaded(entry))
        return 0;

    // Repeat Current: the end of a track plays the same track again, while
    // Next Track (force) still moves on.
    if (repeatTrackMode && !force && isPlayable(*entry, currentTrack))
        return 1;

    if (hasProgram(*entry)) {
        int length = entry->title.programLength;
        int p = programPosition <= 0 ? 1 : programPosition + 1;
        while (p <= length && !isPlayable(*entry, programEntry(*entry, p)))
            ++p;
        if (p > length) {
            programPosition = length + 1;
            return 0;
        }
        programPosition = p;
        currentTrack = programEntry(*entry, p);
        return 1;
    }

    int count = entry->title.trackCount;
    int t = currentTrack < 0 ? 1 : currentTrack + 1;
    while (t <= count && !isPlayable(*entry, t))
        ++t;
    if (t > count) {
        currentTrack = count + 1;
        return 0;
    }
    currentTrack = t;
    return 1;
}

int previousTrack()
{
    DriveLockHold hold;
    DriveEntry *entry = currentEntry();
    if (!loaded(entry))
        return 0;

    if (hasProgram(*entry)) {
        int length = entry->title.programLength;
        int p = programPosition <= 0 ? length : (programPosition > length + 1 ? length : programPosition - 1);
        while (p >= 1 && !isPlayable(*entry, programEntry(*entry, p)))
            --p;
        if (p < 1) {
            programPosition = 0;
            return 0;
        }
        programPosition = p;
        currentTrack = programEntry(*entry, p);
        return 1;
    }

    int count = entry->title.trackCount;
    int t = (currentTrack > count + 1 ? count + 1 : currentTrack) - 1;
    while (t >= 1 && !isPlayable(*entry, t))
        --t;
    if (t < 1) {
        currentTrack = 0;
        return 0;
    }
    currentTrack = t;
    return 1;
}

// ---- starting a track ----

int introWindowEnd(int trackLengthSeconds)
{
    int start = options.IntroPlayStart;
    int length = options.IntroPlayLength;
    if (start >= 0)
        return start + length;
    return length / 2 + trackLengthSeconds / 2;
}

int playTrack(int track)
{
    DriveEntry *entry = currentEntry();
    if (!entry || entry->device == 0 || !playableTrack(track))
        return playState;
    cd_handle_t device = entry->device;

    if (!introMode)
        return cd_play(device, track, 0, 0, 0, singleTrackPlay());

    int startMin = 0, startSec = 0, startFrame = 0, lengthMin = 0, lengthSec = 0, lengthFrame = 0;
    if (cd_get_track_time(device, track, &startMin, &startSec, &startFrame, &lengthMin, &lengthSec, &lengthFrame) != 1)
        lengthMin = lengthSec = 0;
    int length = lengthMin * 60 + lengthSec;
    int windowStart = options.IntroPlayStart;
    int windowLength = options.IntroPlayLength;

    int start;
    if (introWindowEnd(length) > length)
        start = length - windowLength;
    else if (windowStart < 0)
        start = length / 2 - windowLength / 2;
    else
        start = windowStart;
    if (start < 0)
        start = 0;
    return cd_play(device, track, start / 60, start % 60, 0, 1);
}

// ---- advancing ----

void advancePlay(int reason)
{
    if (reason == AdvanceStart) {
        startPlay();
        return;
    }
    if (!currentEntry())
        return;

    switch (reason) {
    case AdvanceRestart:
        markCurrentPlayed();
        if (playableTrack(currentTrack))
            play();
        break;
    case AdvanceTrackEnded:
        markCurrentPlayed();
        if (randomMode)
            trackEndedInRandomOrder();
        else if (nextTrack(0))
            play();
        else
            endOfDisc();
        break;
    case AdvanceNext:
        // Next Track follows the disc or program order in random play too.
        markCurrentPlayed();
        if (nextTrack(1))
            play();
        else
            endOfDisc();
        break;
    case AdvancePrevious:
        markCurrentPlayed();
        if (previousTrack())
            play();
        else
            backToPreviousDrive();
        break;
    default:
        break;
    }
}
