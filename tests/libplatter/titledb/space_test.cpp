// space_test.cpp - db_statistics and db_compact, counted in bytes, and
// what a full disk does to writes and to compaction.
#include "tests/libplatter/titledb/titledbfixture.h"

using namespace titletest;

namespace {

class TitleDbSpace : public TitleDbFixture {};

// A record whose size is set by the length of its disc text alone.
TitleData padded(size_t textLength)
{
    TitleData d;
    d.startFrames = {150};
    d.discText = std::string(textLength, 'p');
    return d;
}

} // namespace

TEST_F(TitleDbSpace, NoDatabaseHasNothingToReclaim)
{
    int32_t total, reclaimable;
    ASSERT_EQ(1, statistics(&total, &reclaimable));
    EXPECT_EQ(0, total);
    EXPECT_EQ(0, reclaimable);
    EXPECT_EQ(1, compact());
    EXPECT_FALSE(harness::fileExists(dbPath()));
}

TEST_F(TitleDbSpace, StatisticsCountSupersededAndDeletedBytes)
{
    TitleData a = sampleTitle(1, "a"), b = sampleTitle(2, "b"), c = sampleTitle(3, "c");
    TitleData a2 = sampleTitle(4, "a again");
    ASSERT_EQ(1, write(1, a));
    ASSERT_EQ(1, write(2, b));
    ASSERT_EQ(1, write(3, c));
    int32_t total, reclaimable;
    ASSERT_EQ(1, statistics(&total, &reclaimable));
    EXPECT_EQ(kHeaderSize + recordSize(a) + recordSize(b) + recordSize(c), (uint32_t)total);
    EXPECT_EQ(fileSize(), total);
    EXPECT_EQ(0, reclaimable);

    ASSERT_EQ(1, write(1, a2));
    ASSERT_EQ(1, statistics(&total, &reclaimable));
    EXPECT_EQ(fileSize(), total);
    EXPECT_EQ(recordSize(a), (uint32_t)reclaimable) << "the first version of 1";

    ASSERT_EQ(1, remove(2));
    ASSERT_EQ(1, statistics(&total, &reclaimable));
    EXPECT_EQ(fileSize(), total);
    EXPECT_EQ(recordSize(a) + recordSize(b) + kDeletionSize, (uint32_t)reclaimable);

    reopen();
    int32_t total2, reclaimable2;
    ASSERT_EQ(1, statistics(&total2, &reclaimable2));
    EXPECT_EQ(total, total2) << "the same figures from a fresh read";
    EXPECT_EQ(reclaimable, reclaimable2);

    ASSERT_EQ(1, compact());
    ASSERT_EQ(1, statistics(&total, &reclaimable));
    EXPECT_EQ(kHeaderSize + recordSize(a2) + recordSize(c), (uint32_t)total);
    EXPECT_EQ(fileSize(), total);
    EXPECT_EQ(0, reclaimable);
}

TEST_F(TitleDbSpace, CompactionOfExactlyAQuarterReclaimable)
{
    // One superseded record of R bytes is a quarter of the file when the
    // live records come to 3R - header bytes.
    TitleData old = padded(1000), kept = padded(10);
    ASSERT_EQ(1, write(0xA, old));
    ASSERT_EQ(1, write(0xA, kept));
    uint32_t r = recordSize(old);
    uint32_t fillerSize = 3 * r - kHeaderSize - recordSize(kept);
    TitleData filler = padded(fillerSize - recordSize(padded(0)));
    ASSERT_EQ(fillerSize, recordSize(filler));
    ASSERT_EQ(1, write(0xB, filler));

    int32_t total, reclaimable;
    ASSERT_EQ(1, statistics(&total, &reclaimable));
    EXPECT_EQ((int32_t)(4 * r), total);
    EXPECT_EQ((int32_t)r, reclaimable);
    EXPECT_EQ(0.25, (double)reclaimable / (double)total) << "the program compacts at a quarter";

    ASSERT_EQ(1, compact());
    ASSERT_EQ(1, statistics(&total, &reclaimable));
    EXPECT_EQ((int32_t)(3 * r), total);
    EXPECT_EQ(0, reclaimable);
    EXPECT_EQ(3 * r, (uint32_t)fileSize());
    TitleData back;
    ASSERT_EQ(1, read(0xA, &back));
    EXPECT_EQ(kept, back);
    ASSERT_EQ(1, read(0xB, &back));
    EXPECT_EQ(filler, back);
    EXPECT_FALSE(harness::fileExists(dbPath() + ".new"));
}

TEST_F(TitleDbSpace, CompactionKeepsEveryLiveEntry)
{
    for (uint32_t id = 1; id <= 200; ++id)
        ASSERT_EQ(1, write(id, sampleTitle(id, "v1")));
    for (uint32_t id = 1; id <= 50; ++id)
        ASSERT_EQ(1, write(id * 4, sampleTitle(id, "v2")));
    for (uint32_t id = 171; id <= 200; ++id)
        ASSERT_EQ(1, remove(id));
    ASSERT_EQ(1, compact());
    auto expected = [](uint32_t id) { return id % 4 == 0 ? sampleTitle(id / 4, "v2") : sampleTitle(id, "v1"); };
    for (int pass = 0; pass < 2; ++pass) {
        for (uint32_t id = 1; id <= 200; ++id) {
            TitleData back;
            if (id > 170) {
                ASSERT_EQ(0, read(id, &back)) << id;
                continue;
            }
            ASSERT_EQ(1, read(id, &back)) << id;
            ASSERT_EQ(expected(id), back) << id;
        }
        reopen(); // the second pass reads the compacted file afresh
    }
    // Writing on after the compaction appends to the new file.
    ASSERT_EQ(1, write(500, sampleTitle(500, "after")));
    reopen();
    TitleData back;
    ASSERT_EQ(1, read(500, &back));
    EXPECT_EQ(sampleTitle(500, "after"), back);
    ASSERT_EQ(1, read(7, &back));
    EXPECT_EQ(sampleTitle(7, "v1"), back);
}

TEST_F(TitleDbSpace, FullDiskFailsTheWriteAndChangesNothing)
{
    TitleData kept = sampleTitle(1, "kept");
    ASSERT_EQ(1, write(1, kept));
    std::string before = fileBytes();
    // Budgets from nothing to one byte short of the record: every one fails.
    TitleData bigger = sampleTitle(13, "bigger");
    for (int64_t budget : {0, 1, 24, 100, (int)recordSize(bigger) - 1}) {
        titledb::setWriteBudget(budget);
        DiagCapture::clear();
        EXPECT_EQ(0, write(1, bigger)) << budget;
        EXPECT_EQ(0, write(2, bigger)) << budget;
        EXPECT_EQ(0, remove(1)) << budget;
        EXPECT_TRUE(DiagCapture::mentions("cannot be written")) << budget;
        EXPECT_EQ(before, fileBytes()) << "cut back to where it was, budget " << budget;
        TitleData back;
        ASSERT_EQ(1, read(1, &back)) << budget;
        EXPECT_EQ(kept, back) << budget;
        EXPECT_EQ(0, read(2, &back)) << budget;
    }
    titledb::setWriteBudget(-1);
    ASSERT_EQ(1, write(2, bigger));
    reopen();
    TitleData back;
    ASSERT_EQ(1, read(2, &back));
    EXPECT_EQ(bigger, back);
    ASSERT_EQ(1, read(1, &back));
    EXPECT_EQ(kept, back);
}

TEST_F(TitleDbSpace, FullDiskOnTheFirstWriteLeavesAnEmptyDatabase)
{
    titledb::setWriteBudget(10);
    EXPECT_EQ(0, write(1, sampleTitle(1, "x")));
    titledb::setWriteBudget(-1);
    TitleData back;
    EXPECT_EQ(0, read(1, &back));
    int32_t total, reclaimable;
    ASSERT_EQ(1, statistics(&total, &reclaimable));
    EXPECT_EQ(0, total);
    ASSERT_EQ(1, write(1, sampleTitle(1, "x")));
    reopen();
    ASSERT_EQ(1, read(1, &back));
    EXPECT_EQ(sampleTitle(1, "x"), back);
}

TEST_F(TitleDbSpace, FailedCompactionLeavesTheOldFileIntact)
{
    for (uint32_t id = 1; id <= 20; ++id)
        ASSERT_EQ(1, write(id, sampleTitle(id, "v1")));
    for (uint32_t id = 1; id <= 10; ++id)
        ASSERT_EQ(1, write(id, sampleTitle(id, "v2")));
    std::string before = fileBytes();
    int32_t total, reclaimable;
    ASSERT_EQ(1, statistics(&total, &reclaimable));

    titledb::setWriteBudget(500); // the new file runs out of disk
    int result = compact();
    titledb::setWriteBudget(-1);
    EXPECT_NE(1, result);
    EXPECT_NE(PLATTER_DB_CORRUPT_DROPPED, result) << "a failure, not a report of damage";
    EXPECT_LE(result, 0);
    EXPECT_EQ(before, fileBytes());
    EXPECT_FALSE(harness::fileExists(dbPath() + ".new"));
    int32_t total2, reclaimable2;
    ASSERT_EQ(1, statistics(&total2, &reclaimable2));
    EXPECT_EQ(total, total2);
    EXPECT_EQ(reclaimable, reclaimable2);
    for (uint32_t id = 1; id <= 20; ++id) {
        TitleData back;
        ASSERT_EQ(1, read(id, &back));
        EXPECT_EQ(sampleTitle(id, id <= 10 ? "v2" : "v1"), back);
    }
    EXPECT_EQ(1, compact()) << "with room on the disk it works";
}

TEST_F(TitleDbSpace, CompactionLeavesSomeoneElsesFileAlone)
{
    ASSERT_EQ(1, write(1, sampleTitle(1, "v1")));
    ASSERT_EQ(1, write(1, sampleTitle(1, "v2")));
    std::string before = fileBytes();
    {
        std::ofstream other(dbPath() + ".new", std::ios::binary);
        other << "somebody's notes";
    }
    EXPECT_EQ(0, compact());
    EXPECT_EQ("somebody's notes", harness::readFile(dbPath() + ".new"));
    EXPECT_EQ(before, fileBytes());

    // A leftover of an interrupted compaction is ours and is replaced.
    std::string leftover = before.substr(0, 40);
    {
        std::ofstream other(dbPath() + ".new", std::ios::binary | std::ios::trunc);
        other.write(leftover.data(), (std::streamsize)leftover.size());
    }
    EXPECT_EQ(1, compact());
    EXPECT_FALSE(harness::fileExists(dbPath() + ".new"));
    TitleData back;
    ASSERT_EQ(1, read(1, &back));
    EXPECT_EQ(sampleTitle(1, "v2"), back);
}
