// rackfixture.cpp - the fixture's database and process helpers.
#include "tests/rackfile/rackfixture.h"

#include <fstream>
#include <set>

namespace racktest {

EntryData sampleDisc(int seed)
{
    EntryData e;
    e.revision = seed % 5;
    e.artist = seed % 17 == 0 ? std::string("Caf\xE9 Orchestra ") + std::to_string(seed)
                              : "Artist " + std::to_string(seed % 40);
    if (seed % 11 != 0)
        e.discTitle = "Disc " + std::to_string(seed);
    if (seed % 3 == 0)
        e.discText = "Notes on disc " + std::to_string(seed) + "\r\nsecond line";
    int tracks = 1 + seed % 12;
    e.resizeTracks(tracks);
    int32_t at = 150 + seed % 60 + 75 * (seed / 60 % 40);
    for (int t = 0; t <= tracks; ++t) {
        e.startFrames.push_back(at);
        at += 75 * (120 + (seed * 7 + t * 13) % 300) + (t * 11 + seed) % 75;
    }
    if (tracks < 3)
        e.startFrames.back() = e.startFrames.back() / 75 * 75 + 75;
    for (int t = 0; t < tracks; ++t) {
        if ((seed + t) % 6 != 5)
            e.trackTitles[(size_t)t] = "Song " + std::to_string(t + 1) + " of " + std::to_string(seed);
        if ((seed + t) % 4 == 0)
            e.trackTexts[(size_t)t] = "About song " + std::to_string(t + 1);
    }
    if (seed % 4 == 1 && tracks >= 2)
        e.program = {(int32_t)tracks, 1, (int32_t)tracks};
    return e;
}

namespace {

// Both ids of the disc, as the library computes them.
void idsOf(const EntryData &e, uint32_t *winId, uint32_t *cddbId)
{
    cddb_handle_t h = cddb_init("test", "1", "test");
    cddb_set_num_tracks(h, e.trackCount);
    for (int n = 1; n <= e.trackCount + 1; ++n) {
        int32_t f = e.startFrames[(size_t)n - 1];
        cddb_set_track_time(h, n, f / 4500, f / 75 % 60, f % 75);
    }
    *winId = 0;
    EXPECT_EQ(1, cddb_get_win_id(h, winId));
    *cddbId = cddb_get_id(h);
    cddb_cleanup(h);
}

} // namespace

uint32_t discIdOf(const EntryData &e)
{
    uint32_t winId, cddbId;
    idsOf(e, &winId, &cddbId);
    return winId;
}

uint32_t cddbIdOf(const EntryData &e)
{
    uint32_t winId, cddbId;
    idsOf(e, &winId, &cddbId);
    return cddbId;
}

EntryData afterCddbTrip(const EntryData &entry)
{
    EntryData e = entry;
    e.cddbEntry = 1;
    e.submitted = 0;
    auto drop = [](EntryText &t) {
        if (t && t->empty())
            t.reset();
    };
    drop(e.artist);
    drop(e.discTitle);
    drop(e.discText);
    for (EntryText &t : e.trackTitles)
        drop(t);
    for (EntryText &t : e.trackTexts)
        drop(t);
    e.startFrames.back() = e.startFrames.back() / 75 * 75;
    return e;
}

void RackFixture::SetUp()
{
    char old[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(sizeof old, old);
    oldDir_.assign(old, n < sizeof old ? n : 0);
    useNewFolder();
}

void RackFixture::TearDown()
{
    while (db_unlock() > 0) {
    }
    if (!oldDir_.empty())
        SetCurrentDirectoryA(oldDir_.c_str());
}

void RackFixture::useNewFolder()
{
    folder_ = harness::scratchFolder();
    // Scratch folders are named by process id, which Wine hands out again.
    DeleteFileA((folder_ + "\\Spindle2.tdb").c_str());
    ASSERT_TRUE(SetCurrentDirectoryA(folder_.c_str()));
}

std::map<uint32_t, EntryData> RackFixture::putDiscs(int count, int firstSeed)
{
    std::map<uint32_t, EntryData> discs;
    std::set<uint32_t> cddbIds; // one tree file per CDDB id: no two discs may share one
    for (int seed = firstSeed; (int)discs.size() < count; ++seed) {
        if (seed > firstSeed + 10 * count) {
            ADD_FAILURE() << "the sample discs repeat before " << count;
            break;
        }
        EntryData e = sampleDisc(seed);
        uint32_t id, cddbId;
        idsOf(e, &id, &cddbId);
        if (discs.count(id) || !cddbIds.insert(cddbId).second)
            continue;
        EXPECT_TRUE(writeEntry(id, e)) << seed;
        discs[id] = e;
    }
    return discs;
}

std::map<uint32_t, EntryData> RackFixture::allEntries()
{
    std::map<uint32_t, EntryData> all;
    std::vector<uint32_t> ids;
    EXPECT_TRUE(listEntryIds(&ids));
    for (uint32_t id : ids)
        EXPECT_TRUE(readEntry(id, &all[id])) << idText(id);
    return all;
}

void RackFixture::damageRecordAt(uint32_t offset)
{
    std::string path = folder_ + "\\Spindle2.tdb";
    std::string bytes = harness::readFile(path);
    ASSERT_GT(bytes.size(), offset + 40);
    bytes[offset + 24 + 3] ^= 0x5A; // inside the payload, past the record's head
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), (std::streamsize)bytes.size());
}

int64_t RackFixture::dbSize() const
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA((folder_ + "\\Spindle2.tdb").c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (int64_t)data.nFileSizeHigh << 32 | data.nFileSizeLow;
}

namespace {

int runProcess(const std::string &exe, const std::string &arguments, const std::string &folder)
{
    std::string command = "\"" + exe + "\" " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
        ADD_FAILURE() << "cannot start " << command;
        return -1;
    }
    DWORD code = (DWORD)-1;
    if (WaitForSingleObject(pi.hProcess, 90000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 99);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return (int)code;
}

} // namespace

int RackFixture::runRackfile(const std::string &arguments, const std::string &folder)
{
    return runProcess(harness::binFolder() + "\\Rackfile.exe", arguments, folder.empty() ? folder_ : folder);
}

int RackFixture::runWriter(const std::string &steps)
{
    return runProcess(harness::binFolder() + "\\dbwriter_tool.exe", "\"" + folder_ + "\" " + steps, folder_);
}

} // namespace racktest
