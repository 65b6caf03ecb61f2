// Title lookup and the title database: where a disc's titles come from, the
// calls made for a read and a write, what is written or deleted, and the
// discs whose identity cannot be read.
#include "player/playerfixture.h"

#include "titles/cdplayerini.h"
#include "titles/titlelookup.h"
#include "ui/msgbox.h"

#include <fstream>
#include <ostream>
#include <thread>

namespace {

using namespace playertest;

const uint32_t discId = 0x3A0B1C04;

class TitleLookup : public PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        iniPath_ = harness::scratchFolder() + "\\Cdplayer.ini";
        setCdPlayerIniFile(iniPath_.c_str());
    }
    void TearDown() override
    {
        setCdPlayerIniFile(nullptr);
        PlayerTest::TearDown();
    }
    void writeIni(const std::string &text)
    {
        std::ofstream(iniPath_, std::ios::binary) << text;
    }
    TitleRecord &record(int drive = 1) { return driveEntry(drive)->title; }

    std::string iniPath_;
};

std::string textOr(const char *text)
{
    return text ? text : "<null>";
}

std::vector<std::string> trackTitles(const TitleRecord &r)
{
    std::vector<std::string> out;
    for (int i = 0; i < r.trackCount; ++i)
        out.push_back(textOr(r.trackTitles[i]));
    return out;
}

// ---- where the titles come from ----

struct LookupCase {
    const char *name;
    bool inDatabase;
    bool inIni;
    bool idReadable;
    int known;
    const char *artist;
    Calls calls;   // every call the lookup makes
};

void PrintTo(const LookupCase &c, std::ostream *os)
{
    *os << c.name;
}

class LookupOrder : public TitleLookup, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(LookupOrder, DatabaseFirstThenCdPlayerFile)
{
    const LookupCase &c = GetParam();
    if (c.inDatabase) {
        fake::Entry e;
        e.artist = "Database Artist";
        e.trackTitles = {"Db One"};
        fake::putEntry(discId, e);
    }
    if (c.inIni)
        writeIni("[3A0B1C04]\r\nartist=Ini Artist\r\ntitle=Ini Title\r\n0=Ini One\r\n");
    load({{"D:", tracks(3, 200, discId)}});
    if (!c.idReadable)
        fake::setResult("cd_get_win_id", 0);

    EXPECT_EQ(lookupTitles(1), c.known);
    EXPECT_EQ(driveEntry(1)->titleKnown, c.known);
    EXPECT_EQ(textOr(record().artist), c.artist);
    EXPECT_EQ(fake::calls(), c.calls);
    EXPECT_EQ(fake::unfreedReads(), 0);
    EXPECT_TRUE(fake::callsTo("db_write_entry").empty()) << "a lookup never writes";
}

const Calls readCalls = {"cd_get_win_id(1)", "db_lock()", "db_read_entry(0x3A0B1C04)", "db_unlock()"};

Calls withFree(Calls calls)
{
    calls.push_back("db_free()");
    return calls;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LookupOrder,
    ::testing::Values(LookupCase{"DatabaseHidesTheIniFile", true, true, true, 1, "Database Artist", withFree(readCalls)},
                      LookupCase{"DatabaseOnly", true, false, true, 1, "Database Artist", withFree(readCalls)},
                      LookupCase{"IniFileOnly", false, true, true, 1, "Ini Artist", readCalls},
                      LookupCase{"KnownToNeither", false, false, true, 0, "<null>", readCalls},
                      // No identity, no key: neither the database nor the file is asked.
                      LookupCase{"NoIdentity", true, true, false, 0, "<null>", {"cd_get_win_id(1)"}}),
    [](const ::testing::TestParamInfo<LookupCase> &info) { return std::string(info.param.name); });

TEST_F(TitleLookup, EntryIsCopiedOnlyAsFarAsItsOwnTracks)
{
    fake::Entry e;
    e.discTitle = "Short Entry";
    e.trackTitles = {"One", "Two"};
    e.trackTexts = {"Text one"};
    e.program = {2, 1};
    fake::putEntry(discId, e);
    load({{"D:", tracks(4, 200, discId)}});
    const int32_t *startsBefore = record().trackStartFrames;
    std::vector<int32_t> starts(startsBefore, startsBefore + 5);

    ASSERT_EQ(lookupTitles(1), 1);
    EXPECT_EQ(trackTitles(record()), (std::vector<std::string>{"One", "Two", "<null>", "<null>"}));
    EXPECT_EQ(textOr(record().trackTexts[0]), "Text one");
    EXPECT_EQ(textOr(record().trackTexts[3]), "<null>");
    EXPECT_EQ(record().trackCount, 4);
    EXPECT_EQ(std::vector<int32_t>(record().trackStartFrames, record().trackStartFrames + 5), starts);
    ASSERT_EQ(record().programLength, 2);
    EXPECT_EQ(record().programList[0], 2);
}

TEST_F(TitleLookup, ImportedTitlesAreTakenAgainOnTheNextRead)
{
    writeIni("[3A0B1C04]\r\ntitle=From The Player\r\n");
    load({{"D:", tracks(2, 200, discId)}});
    ASSERT_EQ(lookupTitles(1), 1);
    EXPECT_FALSE(fake::hasEntry(discId));
    discRemoved(1);
    fake::insertDisc("D:", tracks(2, 200, discId));
    readPresentDiscs();
    ASSERT_EQ(lookupTitles(1), 1);
    EXPECT_EQ(textOr(record().discTitle), "From The Player");
}

// ---- writing ----

struct WriteCase {
    const char *name;
    const char *artist;          // null: absent; "" present and empty
    std::vector<int> program;
    int writeResult;             // what db_write_entry answers; 0 = the model
    Calls calls;
    bool entryAfter;
    int boxes;
};

void PrintTo(const WriteCase &c, std::ostream *os)
{
    *os << c.name;
}

class WriteEntry : public TitleLookup, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(WriteEntry, StoresOrDeletesUnderTheDiscsKey)
{
    const WriteCase &c = GetParam();
    fake::Entry old;
    old.discTitle = "Old";
    fake::putEntry(discId, old);
    load({{"D:", tracks(3, 200, discId)}});
    if (c.artist)
        record().artist = titleCopyText(c.artist);   // taken as it stands, empty or not
    if (!c.program.empty())
        setProgram(1, c.program);
    if (c.writeResult)
        fake::setResult("db_write_entry", c.writeResult);

    harness::MessageBoxRecorder boxes;
    writeTitles(1);

    EXPECT_EQ(fake::calls(), c.calls);
    EXPECT_EQ(fake::hasEntry(discId), c.entryAfter);
    ASSERT_EQ(boxes.count(), (size_t)c.boxes);
    if (c.boxes) {
        harness::Box box = boxes.boxes()[0];
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.text, "Unable to write entry to Spindle2 database.");
        EXPECT_EQ(box.caption, "Spindle2 Error");
        EXPECT_EQ(box.flags, (UINT)(MB_SYSTEMMODAL | MB_ICONERROR | MB_OK));
    }
}

const Calls writeCalls = {"cd_get_win_id(1)", "db_lock()", "db_write_entry(0x3A0B1C04)", "db_unlock()"};
const Calls deleteCalls = {"cd_get_win_id(1)", "db_lock()", "db_delete_entry(0x3A0B1C04)", "db_unlock()"};

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteEntry,
    ::testing::Values(WriteCase{"TextIsWritten", "Artist", {}, 0, writeCalls, true, 0},
                      WriteCase{"EmptyButPresentTextIsWritten", "", {}, 0, writeCalls, true, 0},
                      WriteCase{"ProgramOnlyIsWritten", nullptr, {3, 1}, 0, writeCalls, true, 0},
                      WriteCase{"NothingDeletesTheEntry", nullptr, {}, 0, deleteCalls, false, 0},
                      WriteCase{"RefusedWriteIsReported", "Artist", {}, -1, writeCalls, true, 1}),
    [](const ::testing::TestParamInfo<WriteCase> &info) { return std::string(info.param.name); });

TEST_F(TitleLookup, WholeRecordIsWritten)
{
    load({{"D:", tracks(2, 100, discId)}});
    setText(record().discTitle, "Disc");
    setText(record().trackTitles[1], "Second");
    record().cddbEntry = 1;
    record().revision = 4;
    setProgram(1, {2, 2, 1});
    writeTitles(1);
    EXPECT_EQ(fake::entryField(discId, "discTitle"), "Disc");
    EXPECT_EQ(fake::entryField(discId, "trackTitles:2"), "Second");
    EXPECT_EQ(fake::entryField(discId, "trackTitles:1"), "<null>");
    EXPECT_EQ(fake::entryField(discId, "revision"), "4");
    EXPECT_EQ(fake::entryField(discId, "trackCount"), "2");
    EXPECT_EQ(fake::entryField(discId, "startFrames"), "150,7650,15150");
    EXPECT_EQ(fake::entryField(discId, "program"), "2,2,1");
}

TEST_F(TitleLookup, NoIdentityMeansNoWriteAndNoDelete)
{
    fake::Entry old;
    old.artist = "Someone";
    fake::putEntry(discId, old);
    load({{"D:", tracks(2, 100, discId)}});
    fake::setResult("cd_get_win_id", 0);
    writeTitles(1);        // an empty record: would delete
    setText(record().artist, "Other");
    writeTitles(-1);       // would write
    EXPECT_EQ(fake::calls(), (Calls{"cd_get_win_id(1)", "cd_get_win_id(1)"}));
    EXPECT_EQ(fake::entryField(discId, "artist"), "Someone");
}

TEST_F(TitleLookup, EveryLoadedDriveSkipsTheOthers)
{
    setMachine({{"D:\\", DRIVE_CDROM}, {"E:\\", DRIVE_CDROM}, {"F:\\", DRIVE_CDROM}});
    fake::failOpen("F:");
    load({{"E:", tracks(2, 100, 0x0E)}});
    fake::insertDisc("F:", tracks(2, 100, 0x0F));
    setText(record(2).artist, "E artist");
    writeTitles(-1);
    EXPECT_EQ(fake::calls(), (Calls{"cd_get_win_id(2)", "db_lock()", "db_write_entry(0xE)", "db_unlock()"}));
}

TEST_F(TitleLookup, FailureBoxWaitsWithoutTheDriveLock)
{
    load({{"D:", tracks(2, 100, discId)}});
    setText(record().artist, "A");
    fake::setResult("db_write_entry", 0);
    bool lockFree = false;
    setMessageHook([&](HWND, const char *, const char *, UINT) {
        // Another thread (the lookup worker) can take driveLock meanwhile.
        std::thread other([&] {
            if (TryEnterCriticalSection(&driveLock)) {
                lockFree = true;
                LeaveCriticalSection(&driveLock);
            }
        });
        other.join();
        return IDOK;
    });
    writeTitles(1);
    EXPECT_TRUE(lockFree);
}

} // namespace
