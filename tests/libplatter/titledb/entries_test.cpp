// entries_test.cpp - walking the entries in id order and checking the whole
// file (db_first_entry, db_next_entry, db_check) on real database files.
#include "tests/libplatter/titledb/titledbfixture.h"

#include <algorithm>

using namespace titletest;

namespace {

class TitleDbEntries : public TitleDbFixture {
protected:
    std::vector<uint32_t> walk()
    {
        std::vector<uint32_t> ids;
        uint32_t id = 0;
        db_lock();
        for (int more = db_first_entry(&id); more > 0; more = db_next_entry(id, &id)) {
            ids.push_back(id);
            if (ids.size() > 10000)
                break;
        }
        db_unlock();
        return ids;
    }
    int check(DbCheckCounts *counts, std::vector<uint32_t> *damaged)
    {
        uint32_t ids[16] = {};
        db_lock();
        int result = db_check(counts, ids, 16);
        db_unlock();
        damaged->assign(ids, ids + std::min<int32_t>(counts->damagedEntries, 16));
        std::sort(damaged->begin(), damaged->end());
        return result;
    }
    // Flips one byte inside the payload of the record that starts at `at`.
    void damageRecordAt(uint32_t at)
    {
        std::string bytes = fileBytes();
        bytes[at + titledb::kRecordHeadSize + 3] ^= 0x5A;
        putFileBytes(bytes);
    }
};

} // namespace

TEST_F(TitleDbEntries, WalkGivesLiveIdsInOrder)
{
    struct Step {
        const char *what;
        std::vector<uint32_t> write, remove;
        std::vector<uint32_t> expected;
    };
    const Step steps[] = {
        {"empty database", {}, {}, {}},
        {"written out of order", {0x30, 0x10, 0xFFFFFFFF, 0x20, 0}, {}, {0, 0x10, 0x20, 0x30, 0xFFFFFFFF}},
        {"rewritten once more", {0x20, 0x10}, {}, {0, 0x10, 0x20, 0x30, 0xFFFFFFFF}},
        {"first and last deleted", {}, {0, 0xFFFFFFFF}, {0x10, 0x20, 0x30}},
        {"all deleted", {}, {0x10, 0x20, 0x30}, {}},
        {"written again", {0x25}, {}, {0x25}},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        for (uint32_t id : step.write)
            ASSERT_EQ(1, write(id, sampleTitle(id, "walk")));
        for (uint32_t id : step.remove)
            ASSERT_EQ(1, remove(id));
        EXPECT_EQ(step.expected, walk());
        reopen();
        EXPECT_EQ(step.expected, walk()) << "as a newly started process reads the file";
    }
    uint32_t id = 0x12345;
    db_lock();
    EXPECT_EQ(0, db_next_entry(0x25, &id)) << "nothing after the last";
    EXPECT_EQ(0u + 0x12345, id) << "left alone when there is nothing";
    EXPECT_EQ(0, db_first_entry(nullptr));
    db_unlock();
}

TEST_F(TitleDbEntries, WalkSeesAnotherProcessesWrites)
{
    ASSERT_EQ(1, write(5, sampleTitle(5, "mine")));
    EXPECT_EQ(std::vector<uint32_t>({5}), walk());
    // Another process appends behind this one's back.
    std::string tool = harness::binFolder() + "\\dbwriter_tool.exe";
    std::string command = "\"" + tool + "\" \"" + folder_ + "\" write 100 3 other delete 5";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    ASSERT_TRUE(CreateProcessA(tool.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 60000));
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    ASSERT_EQ(0u, code);
    EXPECT_EQ(std::vector<uint32_t>({100, 101, 102}), walk());
}

TEST_F(TitleDbEntries, CheckCountsWhatCompactionWouldDrop)
{
    struct Case {
        const char *what;
        bool damageNewestOf3, damageOldOf3, tearLast;
        int result;
        DbCheckCounts counts;
        std::vector<uint32_t> damaged;
        int compactResult;
    };
    // Records: 1, 3 (old), 2, 3 (new), 4, deletion of 4, 5 and, when torn, a
    // half-written 6. recordsRead, live, damagedRecords, damagedEntries, dropped.
    const Case cases[] = {
        {"sound", false, false, false, 1, {7, 4, 0, 0, 3, 0, 0}, {}, 1},
        {"newest version damaged", true, false, false, 2, {7, 3, 1, 1, 4, 0, 0}, {3}, PLATTER_DB_CORRUPT_DROPPED},
        {"superseded version damaged", false, true, false, 2, {7, 4, 1, 0, 3, 0, 0}, {}, 1},
        {"unfinished last record", false, false, true, 2, {7, 4, 0, 0, 3, 0, 0}, {}, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        useNewFolder();
        std::vector<uint32_t> at;
        auto put = [&](uint32_t id, const char *tag) {
            at.push_back(fileSize() < 0 ? kHeaderSize : (uint32_t)fileSize());
            ASSERT_EQ(1, write(id, sampleTitle(id, tag)));
        };
        put(1, "one");
        put(3, "three old");
        put(2, "two");
        put(3, "three new");
        put(4, "four");
        ASSERT_EQ(1, remove(4));
        put(5, "five");
        uint32_t liveBytes = recordSize(sampleTitle(1, "one")) + recordSize(sampleTitle(2, "two")) +
                             recordSize(sampleTitle(3, "three new")) + recordSize(sampleTitle(5, "five"));
        if (c.tearLast) {
            put(6, "six");
            std::string bytes = fileBytes();
            putFileBytes(bytes.substr(0, bytes.size() - 20));
        }
        if (c.damageNewestOf3) {
            damageRecordAt(at[3]);
            liveBytes -= recordSize(sampleTitle(3, "three new"));
        }
        if (c.damageOldOf3)
            damageRecordAt(at[1]);
        if (!c.tearLast && !c.damageNewestOf3 && !c.damageOldOf3)
            reopen();

        DbCheckCounts counts;
        std::vector<uint32_t> damaged;
        ASSERT_EQ(c.result, check(&counts, &damaged));
        EXPECT_EQ(c.counts.recordsRead, counts.recordsRead);
        EXPECT_EQ(c.counts.liveEntries, counts.liveEntries);
        EXPECT_EQ(c.counts.damagedRecords, counts.damagedRecords);
        EXPECT_EQ(c.counts.damagedEntries, counts.damagedEntries);
        EXPECT_EQ(c.counts.droppedRecords, counts.droppedRecords);
        EXPECT_EQ(c.damaged, damaged);
        int64_t size = fileSize();
        EXPECT_EQ(size - (int64_t)kHeaderSize - liveBytes, counts.reclaimableBytes);
        EXPECT_EQ(c.tearLast ? (int32_t)recordSize(sampleTitle(6, "six")) - 20 : 0, counts.tornBytes);
        int32_t total, reclaimable;
        ASSERT_EQ(1, statistics(&total, &reclaimable));
        EXPECT_EQ(reclaimable, counts.reclaimableBytes) << "check and statistics agree";

        std::vector<uint32_t> expectedWalk = {1, 2, 3, 5};
        if (c.damageNewestOf3)
            expectedWalk = {1, 2, 5};
        EXPECT_EQ(expectedWalk, walk()) << "a damaged entry is not walked";
        EXPECT_EQ(c.compactResult, compact());
        EXPECT_EQ(expectedWalk, walk());
        ASSERT_EQ(1, check(&counts, &damaged)) << "compaction leaves a sound file";
        EXPECT_EQ((int32_t)expectedWalk.size(), counts.recordsRead);
        EXPECT_EQ(0, counts.droppedRecords);
    }
}

TEST_F(TitleDbEntries, CheckFindsDamageDoneAfterIndexing)
{
    ASSERT_EQ(1, write(7, sampleTitle(7, "seven")));
    uint32_t second = (uint32_t)fileSize();
    ASSERT_EQ(1, write(8, sampleTitle(8, "eight")));
    TitleData back;
    ASSERT_EQ(1, read(8, &back));
    // The bytes go bad on the disk while this process keeps its index.
    damageRecordAt(second);
    DbCheckCounts counts;
    std::vector<uint32_t> damaged;
    ASSERT_EQ(2, check(&counts, &damaged));
    EXPECT_EQ(std::vector<uint32_t>({8}), damaged);
    EXPECT_EQ(0, read(8, &back)) << "the damaged entry now reads as missing";
    EXPECT_EQ(std::vector<uint32_t>({7}), walk());
    EXPECT_EQ(PLATTER_DB_CORRUPT_DROPPED, compact()) << "and compaction reports it";
}

TEST_F(TitleDbEntries, CheckOfNoFileOrForeignFile)
{
    DbCheckCounts counts;
    std::vector<uint32_t> damaged;
    EXPECT_EQ(1, check(&counts, &damaged)) << "no file is an empty database";
    EXPECT_EQ(0, counts.recordsRead);
    putFileBytes("this is some other program's file, not a title database at all");
    reopen();
    EXPECT_EQ(0, check(&counts, &damaged));
    db_lock();
    EXPECT_EQ(0, db_check(nullptr, nullptr, 0));
    EXPECT_EQ(0, db_check(&counts, nullptr, 4)) << "room promised but no array";
    db_unlock();
}
