// damage_test.cpp - the title database after crashes and damage: a torn
// last record, flipped bytes in the middle, files that are no title
// database, and records with absurd counts behind sound checksums.
#include "libplatter/titledb/crc32c.h"
#include "tests/libplatter/titledb/titledbfixture.h"

#include <cstring>

using namespace titletest;

namespace {

class TitleDbDamage : public TitleDbFixture {
protected:
    // Five entries; entry 3 is written twice, its newest version in the
    // middle of the file. Returns where each record starts.
    std::vector<uint32_t> writeFive()
    {
        std::vector<uint32_t> at;
        auto put = [&](uint32_t id, const TitleData &d) {
            at.push_back((uint32_t)fileSizeOrHeader());
            EXPECT_EQ(1, write(id, d));
        };
        put(1, sampleTitle(1, "one"));
        put(3, sampleTitle(3, "three old"));
        put(2, sampleTitle(2, "two"));
        put(3, sampleTitle(30, "three new"));
        put(4, sampleTitle(4, "four"));
        put(5, sampleTitle(5, "five"));
        return at;
    }
    int64_t fileSizeOrHeader()
    {
        int64_t n = fileSize();
        return n < 0 ? kHeaderSize : n;
    }
    void expectIntact(const std::vector<uint32_t> &ids)
    {
        for (uint32_t id : ids) {
            TitleData back;
            const char *tag[] = {"", "one", "two", "", "four", "five"};
            ASSERT_EQ(1, read(id, &back)) << id;
            EXPECT_EQ(sampleTitle(id, tag[id]), back) << id;
        }
    }
};

} // namespace

TEST_F(TitleDbDamage, TornLastRecordLosesOnlyThatRecord)
{
    // Cut the last append short by different amounts, as a crash could.
    TitleData last = sampleTitle(44, "last");
    uint32_t lastSize = recordSize(last);
    for (uint32_t cut : {1u, 11u, 12u, lastSize / 2, lastSize - 24, lastSize - 10, lastSize - 1}) {
        SCOPED_TRACE("cut " + std::to_string(cut));
        useNewFolder();
        writeFive();
        ASSERT_EQ(1, write(4, last)); // a new version of 4 that the crash tears
        std::string bytes = fileBytes();
        std::string torn = bytes.substr(0, bytes.size() - cut);
        putFileBytes(torn);
        reopen();
        TitleData back;
        ASSERT_EQ(1, read(4, &back));
        EXPECT_EQ(sampleTitle(4, "four"), back) << "the version before the torn one";
        expectIntact({1, 2, 5});
        ASSERT_EQ(1, read(3, &back));
        EXPECT_EQ(sampleTitle(30, "three new"), back);
        int32_t total, reclaimable;
        ASSERT_EQ(1, statistics(&total, &reclaimable));
        EXPECT_EQ((int32_t)torn.size(), total);
        EXPECT_EQ(recordSize(sampleTitle(3, "three old")) + lastSize - cut, (uint32_t)reclaimable)
            << "the torn bytes are reclaimable";
        EXPECT_TRUE(DiagCapture::mentions("unfinished record")) << DiagCapture::all();

        // The next append replaces the torn bytes.
        ASSERT_EQ(1, write(6, sampleTitle(6, "six")));
        EXPECT_EQ(bytes.size() - lastSize + recordSize(sampleTitle(6, "six")), (size_t)fileSize());
        reopen();
        ASSERT_EQ(1, read(6, &back));
        EXPECT_EQ(sampleTitle(6, "six"), back);
        ASSERT_EQ(1, read(4, &back));
        EXPECT_EQ(sampleTitle(4, "four"), back);
        EXPECT_EQ(1, compact()) << "a torn tail is not damage";
    }
}

TEST_F(TitleDbDamage, FlippedByteInAMiddleRecordIsNotResurrected)
{
    // Where in the newest record of entry 3 the byte flips.
    struct Case {
        const char *name;
        int offset; // from the record's start; negative: from its end
    } cases[] = {
        {"head magic", 0},         {"head kind", 5},           {"head winId", 9},
        {"head length", 13},       {"head checksum", 22},      {"payload start", 24},
        {"payload middle", 80},    {"payload last byte", -13}, {"tail winId", -11},
        {"tail length", -7},       {"tail seal", -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        useNewFolder();
        std::vector<uint32_t> at = writeFive();
        std::string bytes = fileBytes();
        uint32_t start = at[3], end = at[4];
        size_t flip = c.offset >= 0 ? start + c.offset : end + c.offset;
        ASSERT_LT(flip, end);
        bytes[flip] ^= 0x5A;
        putFileBytes(bytes);
        reopen();
        DiagCapture::clear();
        TitleData back;
        EXPECT_EQ(0, read(3, &back)) << "the older version must not stand in";
        EXPECT_TRUE(DiagCapture::mentions("00000003")) << DiagCapture::all();
        expectIntact({1, 2, 4, 5});
        int32_t total, reclaimable;
        ASSERT_EQ(1, statistics(&total, &reclaimable));
        EXPECT_EQ((int32_t)bytes.size(), total);
        EXPECT_EQ(at[2] - at[1] + at[4] - at[3], (uint32_t)reclaimable) << "both versions of 3";

        EXPECT_EQ(PLATTER_DB_CORRUPT_DROPPED, compact());
        EXPECT_EQ(0, read(3, &back)) << "gone, not the older version";
        expectIntact({1, 2, 4, 5});
        reopen();
        EXPECT_EQ(0, read(3, &back));
        expectIntact({1, 2, 4, 5});
        EXPECT_EQ(1, compact()) << "nothing damaged is left";
        // The entry can be written again.
        ASSERT_EQ(1, write(3, sampleTitle(33, "three again")));
        reopen();
        ASSERT_EQ(1, read(3, &back));
        EXPECT_EQ(sampleTitle(33, "three again"), back);
    }
}

TEST_F(TitleDbDamage, DamageAfterTheIndexWasBuiltIsCaughtOnRead)
{
    std::vector<uint32_t> at = writeFive();
    TitleData back;
    ASSERT_EQ(1, read(2, &back)); // the index is built and current
    std::string bytes = fileBytes();
    bytes[at[2] + 60] ^= 1; // entry 2's payload
    putFileBytes(bytes);     // same size, same header: no reload
    EXPECT_EQ(0, read(2, &back));
    EXPECT_EQ(0, read(2, &back));
    expectIntact({1, 4, 5});
    EXPECT_EQ(PLATTER_DB_CORRUPT_DROPPED, compact());
    EXPECT_EQ(0, read(2, &back));
    expectIntact({1, 4, 5});
}

TEST_F(TitleDbDamage, DamagedEntryCanBeDeleted)
{
    std::vector<uint32_t> at = writeFive();
    std::string bytes = fileBytes();
    bytes[at[3] + 40] ^= 1;
    putFileBytes(bytes);
    reopen();
    EXPECT_EQ(1, remove(3)) << "the damaged version is removed for good";
    EXPECT_EQ(1, compact()) << "nothing damaged is live any more";
    TitleData back;
    EXPECT_EQ(0, read(3, &back));
    expectIntact({1, 2, 4, 5});
}

TEST_F(TitleDbDamage, StretchOfNoKnownEntryIsReportedByCompaction)
{
    std::vector<uint32_t> at = writeFive();
    std::string bytes = fileBytes();
    bytes[at[2] + 1] ^= 1;     // head of entry 2
    bytes[at[3] - 2] ^= 1;     // and its tail
    putFileBytes(bytes);
    reopen();
    expectIntact({1, 4, 5});
    TitleData back;
    EXPECT_EQ(0, read(2, &back)) << "its only version is lost";
    ASSERT_EQ(1, read(3, &back));
    EXPECT_EQ(sampleTitle(30, "three new"), back);
    EXPECT_EQ(PLATTER_DB_CORRUPT_DROPPED, compact());
    expectIntact({1, 4, 5});
    EXPECT_EQ(1, compact());
}

TEST_F(TitleDbDamage, ForgedRecordsWithAbsurdCountsNeverCrash)
{
    writeFive();
    std::string bytes = fileBytes();
    // Sound checksums around payloads no writer of ours makes.
    std::vector<std::vector<uint8_t>> payloads;
    std::vector<uint8_t> p(36, 0);
    p[24] = 0xFF, p[25] = 0xFF, p[26] = 0xFF, p[27] = 0x7F; // two billion tracks
    payloads.push_back(p);
    p.assign(36, 0);
    p[12] = 0xF0, p[13] = 0xFF, p[14] = 0xFF, p[15] = 0x7F; // artist of two gigabytes
    payloads.push_back(p);
    p.assign(36, 0);
    p[32] = 0x00, p[33] = 0x00, p[34] = 0x00, p[35] = 0x80; // negative program length
    payloads.push_back(p);
    payloads.push_back(std::vector<uint8_t>(3, 0)); // too short for anything
    uint32_t id = 100;
    for (const auto &payload : payloads) {
        std::vector<uint8_t> frame;
        titledb::frameRecord(titledb::KindEntry, id++, payload.data(), (uint32_t)payload.size(), &frame);
        bytes.append(frame.begin(), frame.end());
    }
    putFileBytes(bytes);
    reopen();
    for (uint32_t forged = 100; forged < id; ++forged) {
        TitleRecord r = {};
        EXPECT_EQ(0, db_read_entry(forged, &r)) << forged;
        EXPECT_EQ(nullptr, r.trackStartFrames) << forged;
    }
    expectIntact({1, 2, 4, 5});
    EXPECT_EQ(PLATTER_DB_CORRUPT_DROPPED, compact());
    expectIntact({1, 2, 4, 5});
}

TEST_F(TitleDbDamage, AFileThatIsNoTitleDatabaseIsNeverTouched)
{
    uint8_t header[32];
    titledb::encodeFileHeader(42, header);
    header[8] = 9; // a later format version, with its checksum made good
    uint32_t crc = crc32c(0, header, 28);
    memcpy(header + 28, &crc, 4);
    std::string newer((const char *)header, 32);
    struct Case {
        const char *name;
        std::string content;
    } cases[] = {
        {"a text file", "[CD Information]\r\nArtist=Someone\r\n"},
        {"a long binary file", std::string(5000, '\x01')},
        {"a title database of a later version", newer},
        {"the magic with a broken header", std::string("SP2TITLE") + std::string(40, 'x')},
        {"one byte that is not ours", "Z"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        useNewFolder();
        putFileBytes(c.content);
        DiagCapture::clear();
        TitleRecord r = {};
        EXPECT_EQ(0, db_read_entry(1, &r));
        EXPECT_EQ(0, write(1, sampleTitle(1, "x")));
        EXPECT_EQ(0, remove(1));
        int32_t total = 5, reclaimable = 5;
        EXPECT_EQ(0, statistics(&total, &reclaimable));
        EXPECT_EQ(0, compact());
        EXPECT_EQ(c.content, fileBytes()) << "never overwritten";
        EXPECT_FALSE(harness::fileExists(dbPath() + ".new"));
        EXPECT_TRUE(DiagCapture::mentions("left alone")) << DiagCapture::all();
    }
}

TEST_F(TitleDbDamage, AnEmptyOrHalfMadeFileIsAnEmptyDatabase)
{
    // A crash while the file was being made leaves nothing or the start of
    // a header; no title was ever stored in it.
    for (std::string content : {std::string(), std::string("SP2TI"), std::string("SP2TITLE\x01\0\0", 11)}) {
        SCOPED_TRACE(content.size());
        useNewFolder();
        putFileBytes(content);
        TitleData back;
        EXPECT_EQ(0, read(1, &back));
        int32_t total, reclaimable;
        ASSERT_EQ(1, statistics(&total, &reclaimable));
        EXPECT_EQ((int32_t)content.size(), total);
        EXPECT_EQ(total, reclaimable);
        ASSERT_EQ(1, write(1, sampleTitle(1, "one")));
        EXPECT_EQ(kHeaderSize + recordSize(sampleTitle(1, "one")), (uint32_t)fileSize());
        reopen();
        ASSERT_EQ(1, read(1, &back));
        EXPECT_EQ(sampleTitle(1, "one"), back);
    }
}

TEST_F(TitleDbDamage, FlippedByteInTheFirstOrLastRecordCostsOnlyThatEntry)
{
    struct Case {
        const char *name;
        int offset; // from the record's start; negative: from its end
    } cases[] = {
        {"head magic", 1},   {"head length", 12},    {"head checksum", 20}, {"payload", 30},
        {"payload end", -13}, {"tail winId", -12}, {"tail length", -6},   {"tail seal", -2},
    };
    for (int victim : {0, 5}) {
        uint32_t id = victim == 0 ? 1 : 5;
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(c.name) + (victim ? " of the last record" : " of the first record"));
            useNewFolder();
            std::vector<uint32_t> at = writeFive();
            std::string bytes = fileBytes();
            uint32_t start = at[victim], end = victim + 1 < (int)at.size() ? at[victim + 1] : (uint32_t)bytes.size();
            bytes[c.offset >= 0 ? start + c.offset : end + c.offset] ^= 0x21;
            putFileBytes(bytes);
            reopen();
            TitleData back;
            EXPECT_EQ(0, read(id, &back));
            std::vector<uint32_t> others;
            for (uint32_t other : {1u, 2u, 4u, 5u})
                if (other != id)
                    others.push_back(other);
            expectIntact(others);
            ASSERT_EQ(1, read(3, &back));
            EXPECT_EQ(sampleTitle(30, "three new"), back);

            // The next append goes after the damaged record, not over it.
            ASSERT_EQ(1, write(6, sampleTitle(6, "six")));
            EXPECT_EQ(bytes.size() + recordSize(sampleTitle(6, "six")), (size_t)fileSize());
            EXPECT_EQ(PLATTER_DB_CORRUPT_DROPPED, compact());
            reopen();
            expectIntact(others);
            ASSERT_EQ(1, read(6, &back));
            EXPECT_EQ(sampleTitle(6, "six"), back);
            EXPECT_EQ(0, read(id, &back));
        }
    }
}

TEST_F(TitleDbDamage, ADamagedRecordHoldingRecordBytesLosesNothingElse)
{
    // A programmed order is any 32-bit numbers, so it can hold what looks
    // like the head of a long record. Damage to the real head in front of it
    // must not make the rest of the file look like a torn append.
    std::vector<uint8_t> claim(4000, 'x'), fake;
    titledb::frameRecord(titledb::KindEntry, 99, claim.data(), (uint32_t)claim.size(), &fake);
    TitleData holder = sampleTitle(2, "two");
    holder.program.clear();
    for (uint32_t i = 0; i < titledb::kRecordHeadSize; i += 4) {
        uint32_t word;
        memcpy(&word, fake.data() + i, 4);
        holder.program.push_back((int32_t)word);
    }
    ASSERT_EQ(1, write(1, sampleTitle(1, "one")));
    uint32_t at = (uint32_t)fileSize();
    ASSERT_EQ(1, write(2, holder));
    ASSERT_EQ(1, write(4, sampleTitle(4, "four")));
    ASSERT_EQ(1, write(5, sampleTitle(5, "five")));
    std::string bytes = fileBytes();
    bytes[at + 2] ^= 0x01;
    putFileBytes(bytes);
    reopen();
    TitleData back;
    EXPECT_EQ(0, read(2, &back));
    expectIntact({1, 4, 5});
    ASSERT_EQ(1, write(6, sampleTitle(6, "six")));
    reopen();
    expectIntact({1, 4, 5});
    EXPECT_EQ(PLATTER_DB_CORRUPT_DROPPED, compact());
    expectIntact({1, 4, 5});
}
