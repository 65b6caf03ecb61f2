// commandline_test.cpp - Rackfile.exe run as a process on real database
// files: export and import round trips in both layouts, a CD Player file,
// check and compaction of a damaged file, and bad command lines.
#include "rackfile/commandline.h"
#include "rackfile/transfer.h"
#include "tests/rackfile/rackfixture.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

using namespace racktest;

namespace {

class RackCommandLine : public RackFixture {
protected:
    std::string log() { return harness::readFile(folder_ + "\\rack.log"); }
};

void writeText(const std::string &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

} // namespace

TEST_F(RackCommandLine, ExportThenImportGivesTheSameEntriesInBothLayouts)
{
    struct Layout {
        const char *what;
        const char *switches;
        const char *probe; // a file only this layout makes
    };
    const Layout layouts[] = {
        {"one file per disc", "", nullptr},
        {"Windows range files", " /windows", "misc\\00to1f"},
    };
    for (const Layout &layout : layouts) {
        SCOPED_TRACE(layout.what);
        useNewFolder();
        std::string source = folder_;
        std::map<uint32_t, EntryData> discs = putDiscs(60);
        std::string tree = source + "\\tree";
        ASSERT_EQ(ExitDone, runRackfile("/export \"" + tree + "\"" + layout.switches + " /log rack.log")) << log();
        EXPECT_NE(std::string::npos, log().find("60 entries written, 0 skipped, 0 failed.")) << log();
        bool rangeFiles = false;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((tree + "\\misc\\*to*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            rangeFiles = true;
            FindClose(search);
        }
        EXPECT_EQ(layout.probe != nullptr, rangeFiles) << "the layout asked for";

        useNewFolder();
        ASSERT_EQ(ExitDone, runRackfile("/import \"" + tree + "\" /log rack.log")) << log();
        EXPECT_NE(std::string::npos, log().find("60 entries taken, 0 skipped, 0 failed.")) << log();
        std::map<uint32_t, EntryData> back = allEntries();
        ASSERT_EQ(discs.size(), back.size());
        for (const auto &d : discs) {
            ASSERT_TRUE(back.count(d.first)) << idText(d.first);
            EXPECT_TRUE(afterCddbTrip(d.second) == back[d.first]) << idText(d.first);
        }
        // Once more: what the database holds already is kept.
        ASSERT_EQ(ExitDone, runRackfile("/import \"" + tree + "\" /log rack.log"));
        EXPECT_NE(std::string::npos, log().find("0 entries taken, 60 skipped, 0 failed.")) << log();
    }
}

TEST_F(RackCommandLine, ExportOfTheSelectedAndOfEntriesWithoutDisc)
{
    std::map<uint32_t, EntryData> discs = putDiscs(5);
    EntryData titlesOnly; // as a CD Player file gives them: no track layout
    titlesOnly.artist = "Typed in";
    titlesOnly.resizeTracks(4);
    ASSERT_TRUE(writeEntry(0x1234, titlesOnly));
    std::vector<uint32_t> chosen = {discs.begin()->first, 0x1234};
    TransferReport report = exportEntries(folder_ + "\\some", PLATTER_CDDB_LAYOUT_FILES, chosen, nullptr);
    EXPECT_EQ(1, report.done);
    EXPECT_EQ(1, report.skipped) << "no track layout, no CDDB entry";
    EXPECT_EQ(0, report.failed);
    std::string tree = folder_ + "\\some";
    useNewFolder();
    TransferReport back = importCddbTree(tree, nullptr);
    EXPECT_EQ(1, back.done);
    std::map<uint32_t, EntryData> all = allEntries();
    ASSERT_EQ(1u, all.size());
    EXPECT_EQ(discs.begin()->first, all.begin()->first) << "only the selected disc went out";
    EXPECT_TRUE(afterCddbTrip(discs.begin()->second) == all.begin()->second);
}

TEST_F(RackCommandLine, DiscsOfOneCddbIdAreNotExportedOverEachOther)
{
    // The same whole seconds, other frames: one CDDB id, two disc ids.
    EntryData a;
    a.artist = "First of the pair";
    a.resizeTracks(3);
    a.startFrames = {150, 20000, 40000, 60000};
    EntryData b = a;
    b.artist = "Second of the pair";
    b.startFrames = {150, 20001, 40001, 60000};
    ASSERT_EQ(cddbIdOf(a), cddbIdOf(b));
    ASSERT_NE(discIdOf(a), discIdOf(b));
    ASSERT_TRUE(writeEntry(discIdOf(a), a));
    ASSERT_TRUE(writeEntry(discIdOf(b), b));
    EXPECT_EQ(ExitExportFailed, runRackfile("/export tree /log rack.log"));
    uint32_t later = std::max(discIdOf(a), discIdOf(b));
    EXPECT_NE(std::string::npos, log().find("1 entry written, 0 skipped, 1 failed.\r\n" + idText(later) +
                                            ": another entry has the same CDDB id " + idText(cddbIdOf(a))))
        << log();
    std::string file = harness::readFile(folder_ + "\\tree\\misc\\" + [&] {
        char name[16];
        snprintf(name, sizeof name, "%08x", (unsigned)cddbIdOf(a));
        return std::string(name);
    }());
    EXPECT_NE(std::string::npos, file.find(discIdOf(a) < discIdOf(b) ? "First of the pair" : "Second of the pair"))
        << "the first one stays in the tree";
}

TEST_F(RackCommandLine, ImportOfACdPlayerFile)
{
    EntryData kept = sampleDisc(3);
    ASSERT_TRUE(writeEntry(0x2A3B4C, kept));
    writeText(folder_ + "\\cdplayer.ini",
              "[Settings]\r\nSmallFont=0\r\n"
              "[1F2E3D]\r\nEntryType=1\r\nartist=The Band\r\ntitle=First Album\r\nnumtracks=4\r\n"
              "0=Opening\r\n2=Third\r\nnumplay=4\r\norder=3 2 1 0\r\n"
              "[ABC]\r\nartist=New Artist\r\ntitle=New Title\r\nnumtracks=3\r\nnumplay=3\r\norder=0 1 2\r\n"
              "[2A3B4C]\r\nartist=Not taken\r\nnumtracks=2\r\n"
              "[77]\r\nartist=New artist\r\nnumtracks=2\r\nnumplay=3\r\norder=1 7 0\r\n");
    ASSERT_EQ(ExitDone, runRackfile("/import cdplayer.ini /log rack.log")) << log();
    EXPECT_NE(std::string::npos, log().find("2 entries taken, 2 skipped, 0 failed.")) << log();

    struct Expect {
        uint32_t id;
        const char *artist, *title, *firstTrack, *thirdTrack;
        std::vector<int32_t> program;
    };
    const Expect expected[] = {
        {0x1F2E3D, "The Band", "First Album", "Opening", "Third", {4, 3, 2, 1}},
        {0x77, "New artist", nullptr, nullptr, nullptr, {2, 1}},
    };
    for (const Expect &x : expected) {
        SCOPED_TRACE(idText(x.id));
        EntryData e;
        ASSERT_TRUE(readEntry(x.id, &e));
        EXPECT_EQ(EntryText(x.artist), e.artist);
        EXPECT_EQ(x.title ? EntryText(x.title) : EntryText(), e.discTitle);
        ASSERT_GE(e.trackCount, 2);
        EXPECT_EQ(x.firstTrack ? EntryText(x.firstTrack) : EntryText(), e.trackTitles[0]);
        if (x.thirdTrack) {
            EXPECT_EQ(EntryText(x.thirdTrack), e.trackTitles[2]);
        }
        EXPECT_EQ(x.program, e.program) << "order from 0, entries off the disc dropped";
        EXPECT_FALSE(e.hasTrackLayout());
    }
    EntryData placeholder;
    EXPECT_FALSE(readEntry(0xABC, &placeholder)) << "placeholders only: nothing taken";
    EntryData still;
    ASSERT_TRUE(readEntry(0x2A3B4C, &still));
    EXPECT_TRUE(kept == still) << "an entry the database holds is not replaced";
}

TEST_F(RackCommandLine, CheckAndCompactOfADamagedFile)
{
    std::map<uint32_t, EntryData> discs = putDiscs(3);
    uint32_t victim = discs.rbegin()->first;
    uint32_t at = (uint32_t)dbSize();
    EntryData changed = discs[victim];
    changed.artist = "Rewritten";
    ASSERT_TRUE(writeEntry(victim, changed));
    ASSERT_TRUE(deleteEntry(discs.begin()->first));
    db_lock();
    db_unlock();
    damageRecordAt(at);

    std::string victimLine = "Damaged entries (lost at compaction): " + idText(victim);
    struct Step {
        const char *arguments;
        int code;
        std::string logPart, alsoPart;
    };
    const Step steps[] = {
        {"/check /log rack.log", ExitDamageFound, "5 records read, 1 entry, 1 damaged record, 1 damaged entry.",
         victimLine},
        {"/compact /log rack.log", ExitCompactDropped, "Compact: done; damaged entries were left out.",
         "reclaimable.\r\nCompact"},
        {"/compact /log rack.log", ExitDone, "Compact: done.", ", 0 reclaimable."},
        {"/check /log rack.log", ExitDone, "1 record read, 1 entry, 0 damaged records, 0 damaged entries.",
         "Compaction would drop 0 records and free 0 bytes."},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.arguments);
        EXPECT_EQ(step.code, runRackfile(step.arguments)) << log();
        EXPECT_NE(std::string::npos, log().find(step.logPart)) << log();
        EXPECT_NE(std::string::npos, log().find(step.alsoPart)) << log();
    }
    std::map<uint32_t, EntryData> left = allEntries();
    ASSERT_EQ(1u, left.size());
    EXPECT_TRUE(left.begin()->second == discs[left.begin()->first]);
}

TEST_F(RackCommandLine, BadArgumentsAndFailuresGiveTheirCodes)
{
    writeText(folder_ + "\\notes.txt", "just some text\r\n");
    CreateDirectoryA((folder_ + "\\empty").c_str(), nullptr);
    struct Case {
        const char *arguments;
        int code;
        const char *logPart;
    };
    const Case cases[] = {
        {"/log rack.log", ExitBadArguments, "No task given."},
        {"/frobnicate /log rack.log", ExitBadArguments, "Unknown argument: /frobnicate"},
        {"/check /compact /log rack.log", ExitBadArguments, "Only one task per run"},
        {"/export /log rack.log", ExitBadArguments, "/export needs a folder or file."},
        {"/import /log rack.log", ExitBadArguments, "/import needs a folder or file."},
        {"/check /windows /log rack.log", ExitBadArguments, "/windows goes with /export only."},
        {"/CHECK /LOG rack.log", ExitDone, "Check: 0 records read"},
        {"/import notes.txt /log rack.log", ExitImportFailed, "is neither a CDDB tree nor a CD Player file"},
        {"/import empty /log rack.log", ExitImportFailed, "is neither a CDDB tree nor a CD Player file"},
        {"/import missing.ini /log rack.log", ExitImportFailed, "is neither a CDDB tree nor a CD Player file"},
        {"/check /log no\\such\\folder\\rack.log", ExitLogFailed, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments);
        DeleteFileA((folder_ + "\\rack.log").c_str());
        EXPECT_EQ(c.code, runRackfile(c.arguments)) << log();
        if (c.logPart) {
            EXPECT_NE(std::string::npos, log().find(c.logPart)) << log();
        }
        if (c.code == ExitBadArguments) {
            EXPECT_NE(std::string::npos, log().find("Rackfile.exe /export FOLDER [/windows]")) << "with the usage";
        }
    }
    // A database that is no title database cannot be checked or compacted.
    writeText(folder_ + "\\Spindle2.tdb", "another program's file, not a title database");
    EXPECT_EQ(ExitNoDatabase, runRackfile("/check"));
    EXPECT_EQ(ExitNoDatabase, runRackfile("/compact"));
    EXPECT_EQ(ExitNoDatabase, runRackfile("/export tree"));
}
