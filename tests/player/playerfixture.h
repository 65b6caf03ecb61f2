// playerfixture.h - what the player's tests share: a machine with drive
// letters of their choosing, discs in the fake CD library, and the play
// model reset before each test.
#ifndef TESTS_PLAYER_PLAYERFIXTURE_H
#define TESTS_PLAYER_PLAYERFIXTURE_H

#include "fakes/fakeplatter.h"
#include "harness/harness.h"

#include "core/appstate.h"
#include "options/options.h"
#include "player/discevents.h"
#include "player/drives.h"
#include "player/playorder.h"
#include "player/statustext.h"
#include "titles/titlerecord.h"
#include "ui/tray.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace playertest {

// One drive root the test machine lists, with its drive type.
struct MachineDrive {
    const char *root;
    UINT type;
};

// The drive list the machine reports; GetLogicalDriveStringsA's answer is
// built from it, double-NUL terminated.
inline std::vector<MachineDrive> &machineDrives()
{
    static std::vector<MachineDrive> drives;
    return drives;
}

// Makes the system report no drive list at all (the call fails).
inline bool &machineListFails()
{
    static bool fails = false;
    return fails;
}

inline DWORD WINAPI machineDriveStrings(DWORD length, LPSTR buffer)
{
    if (machineListFails())
        return 0;
    std::string list;
    for (const MachineDrive &d : machineDrives())
        list.append(d.root).push_back('\0');
    if (list.size() + 1 > length)
        return (DWORD)list.size() + 1;
    memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = 0;
    return (DWORD)list.size();
}

inline UINT WINAPI machineDriveType(LPCSTR root)
{
    for (const MachineDrive &d : machineDrives())
        if (_stricmp(d.root, root) == 0)
            return d.type;
    return DRIVE_NO_ROOT_DIR;
}

inline void setMachine(std::vector<MachineDrive> drives)
{
    machineDrives() = std::move(drives);
    machineListFails() = false;
    setDriveQuery(machineDriveStrings, machineDriveType);
}

// A disc of audio tracks of the given lengths whose listed tracks (1-based)
// are data tracks.
inline fake::Disc discWithData(const std::vector<int> &lengths, std::vector<int> dataTracks, uint32_t winId = 0x100)
{
    fake::Disc disc = fake::audioDisc(lengths, winId);
    for (int t : dataTracks)
        disc.trackTypes[t - 1] = PLATTER_TRACK_DATA;
    return disc;
}

inline fake::Disc tracks(int count, int seconds = 200, uint32_t winId = 0x200)
{
    return fake::audioDisc(std::vector<int>(count, seconds), winId);
}

// Gives a loaded drive a program of its own (owned by its record).
inline void setProgram(int drive, std::vector<int> program)
{
    TitleRecord &title = driveEntry(drive)->title;
    titleFree(title.programList);
    title.programList = static_cast<int32_t *>(titleAlloc(program.size(), sizeof(int32_t)));
    for (size_t i = 0; i < program.size(); ++i)
        title.programList[i] = program[i];
    title.programLength = (int32_t)program.size();
}

inline std::vector<int> playedTracks(int drive)
{
    std::vector<int> played;
    DriveEntry *entry = driveEntry(drive);
    for (int t = 1; t <= entry->title.trackCount; ++t)
        if (entry->playedFlags[t - 1])
            played.push_back(t);
    return played;
}

using Calls = std::vector<std::string>;

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        initDriveLock();
        closeDrives();
        fake::reset();
        options = defaultOptions;
        playState = 0;
        randomMode = introMode = repeatTrackMode = 0;
        lookupRunning = 0;
        discEvents = DiscEventHooks{};
        mainWindow = nullptr;
        traySetTip("");
        timeText[0] = 0;
        seedPlayRandom(1);
        setMachine({{"A:\\", DRIVE_REMOVABLE}, {"C:\\", DRIVE_FIXED}, {"D:\\", DRIVE_CDROM}, {"E:\\", DRIVE_CDROM}});
    }

    void TearDown() override
    {
        closeDrives();
        setDriveQuery(nullptr, nullptr);
        discEvents = DiscEventHooks{};
        mainWindow = nullptr;
    }

    // Puts the discs into their drives (others stay empty), opens and reads
    // every drive as start-up does, makes the first drive with a disc
    // current, and starts the call log afresh.
    void load(std::vector<std::pair<std::string, fake::Disc>> discs)
    {
        for (auto &d : discs)
            fake::insertDisc(d.first, d.second);
        ASSERT_EQ(openDrives(), 1);
        readPresentDiscs();
        selectFirstDrive();
        fake::clearCalls();
    }
};

} // namespace playertest

#endif
