// records_test.cpp - db_write_entry, db_read_entry, db_delete_entry and
// db_free through the library's C interface: every field of the record
// survives, in memory and after the file is read afresh.
#include "tests/libplatter/titledb/titledbfixture.h"

using namespace titletest;

namespace {

class TitleDbRecords : public TitleDbFixture {};

TitleData fullRecord()
{
    TitleData d;
    d.cddbEntry = 1;
    d.revision = 12;
    d.submitted = 1;
    d.artist = std::string("The Band");
    d.discTitle = std::string("");
    d.discText = std::string("Recorded live.\r\nRemastered \xA9 1999.");
    d.trackCount = 4;
    d.startFrames = {150, 18000, 33999, 51012, 70000};
    d.titles = {std::string("One"), Text(), std::string(""), std::string("Four \xE8")};
    d.texts = {Text(), std::string("Second note"), Text(), std::string("")};
    d.program = {4, 4, 1, 2};
    return d;
}

} // namespace

TEST_F(TitleDbRecords, WrittenRecordReadsBackWithEveryField)
{
    TitleData d = fullRecord();
    ASSERT_EQ(1, write(0x12345678, d));
    TitleData back;
    ASSERT_EQ(1, read(0x12345678, &back));
    EXPECT_EQ(d, back);
    reopen();
    TitleData fromDisk;
    ASSERT_EQ(1, read(0x12345678, &fromDisk));
    EXPECT_EQ(d, fromDisk);
    EXPECT_TRUE(harness::fileExists(dbPath()));
}

TEST_F(TitleDbRecords, RecordShapesSurviveTheRoundTrip)
{
    struct Case {
        const char *name;
        TitleData (*make)();
    } cases[] = {
        {"every text absent",
         [] {
             TitleData d;
             d.trackCount = 2;
             d.startFrames = {150, 1000, 2000};
             d.titles = {Text(), Text()};
             d.texts = {Text(), Text()};
             return d;
         }},
        {"every text present and empty",
         [] {
             TitleData d;
             d.artist = d.discTitle = d.discText = std::string();
             d.trackCount = 2;
             d.startFrames = {150, 1000, 2000};
             d.titles = {std::string(), std::string()};
             d.texts = {std::string(), std::string()};
             return d;
         }},
        {"no tracks, only a lead-out",
         [] {
             TitleData d;
             d.artist = std::string("Nobody");
             d.startFrames = {4500};
             return d;
         }},
        {"99 tracks",
         [] {
             TitleData d;
             d.trackCount = 99;
             for (int i = 0; i <= 99; ++i)
                 d.startFrames.push_back(150 + i * 2000);
             for (int i = 0; i < 99; ++i) {
                 d.titles.push_back(std::string("T") + std::to_string(i));
                 d.texts.push_back(i % 2 ? Text() : Text(std::string(300, (char)('a' + i % 26))));
             }
             return d;
         }},
        {"program only, with repeats",
         [] {
             TitleData d;
             d.trackCount = 3;
             d.startFrames = {150, 1000, 2000, 3000};
             d.titles = {Text(), Text(), Text()};
             d.texts = {Text(), Text(), Text()};
             d.program = {2, 2, 2, 3, 1, 1};
             return d;
         }},
        {"extreme numbers",
         [] {
             TitleData d;
             d.cddbEntry = -1;
             d.revision = 0x7FFFFFFF;
             d.submitted = (int32_t)0x80000000;
             d.trackCount = 1;
             d.startFrames = {-5, 0x7FFFFFFF};
             d.titles = {std::string("x")};
             d.texts = {Text()};
             d.program = {-7};
             return d;
         }},
        {"bytes of every value but zero",
         [] {
             TitleData d;
             std::string all;
             for (int c = 1; c < 256; ++c)
                 all.push_back((char)c);
             d.artist = all;
             d.discText = std::string(60000, '\n');
             d.startFrames = {0};
             return d;
         }},
    };
    uint32_t id = 100;
    for (const Case &c : cases) {
        TitleData d = c.make();
        ASSERT_EQ(1, write(++id, d)) << c.name;
        TitleData back;
        ASSERT_EQ(1, read(id, &back)) << c.name;
        EXPECT_EQ(d, back) << c.name;
    }
    reopen();
    id = 100;
    for (const Case &c : cases) {
        TitleData back;
        ASSERT_EQ(1, read(++id, &back)) << c.name;
        EXPECT_EQ(c.make(), back) << c.name << " (read afresh)";
    }
}

TEST_F(TitleDbRecords, ReadRecordOwnsArraysSizedByItsTrackCount)
{
    TitleData d = fullRecord();
    ASSERT_EQ(1, write(7, d));
    TitleRecord r = {};
    ASSERT_EQ(1, db_read_entry(7, &r));
    EXPECT_EQ(4, r.trackCount);
    ASSERT_NE(nullptr, r.trackStartFrames);
    EXPECT_EQ(70000, r.trackStartFrames[4]);
    ASSERT_NE(nullptr, r.trackTitles);
    ASSERT_NE(nullptr, r.trackTexts);
    EXPECT_EQ(nullptr, r.trackTitles[1]);
    ASSERT_NE(nullptr, r.trackTitles[2]);
    EXPECT_EQ('\0', r.trackTitles[2][0]);
    ASSERT_EQ(4, r.programLength);
    EXPECT_EQ(2, r.programList[3]);
    EXPECT_EQ(1, db_free(&r));
    TitleRecord zero = {};
    EXPECT_EQ(0, memcmp(&r, &zero, sizeof r)) << "db_free zeroes the record";

    // Without a program and without tracks the pointers stay null.
    TitleData bare;
    bare.startFrames = {150};
    ASSERT_EQ(1, write(8, bare));
    ASSERT_EQ(1, db_read_entry(8, &r));
    EXPECT_EQ(nullptr, r.programList);
    EXPECT_EQ(nullptr, r.trackTitles);
    EXPECT_EQ(nullptr, r.trackTexts);
    ASSERT_NE(nullptr, r.trackStartFrames);
    EXPECT_EQ(150, r.trackStartFrames[0]);
    EXPECT_EQ(1, db_free(&r));
}

TEST_F(TitleDbRecords, MissingArraysAreStoredAsUnknownStartsAndAbsentTexts)
{
    TitleData d = fullRecord();
    RecordView view(d);
    view.mutableRecord()->trackStartFrames = nullptr;
    view.mutableRecord()->trackTitles = nullptr;
    view.mutableRecord()->trackTexts = nullptr;
    ASSERT_EQ(1, db_write_entry(9, view.get()));
    TitleData back;
    ASSERT_EQ(1, read(9, &back));
    EXPECT_EQ(std::vector<int32_t>(5, 0), back.startFrames);
    EXPECT_EQ(std::vector<Text>(4), back.titles);
    EXPECT_EQ(std::vector<Text>(4), back.texts);
    EXPECT_EQ(d.artist, back.artist);
}

TEST_F(TitleDbRecords, OverwriteReplacesAndDeleteRemoves)
{
    TitleData first = sampleTitle(5, "first");
    TitleData second = sampleTitle(6, "second"); // another shape entirely
    ASSERT_EQ(1, write(0xABCD, first));
    ASSERT_EQ(1, write(0xABCE, sampleTitle(1, "neighbour")));
    ASSERT_EQ(1, write(0xABCD, second));
    TitleData back;
    ASSERT_EQ(1, read(0xABCD, &back));
    EXPECT_EQ(second, back);
    reopen();
    ASSERT_EQ(1, read(0xABCD, &back));
    EXPECT_EQ(second, back);

    EXPECT_EQ(1, remove(0xABCD));
    EXPECT_EQ(0, read(0xABCD, &back));
    EXPECT_EQ(0, remove(0xABCD)) << "nothing left to remove";
    reopen();
    EXPECT_EQ(0, read(0xABCD, &back)) << "the deletion holds after a fresh read";
    ASSERT_EQ(1, read(0xABCE, &back));
    EXPECT_EQ(sampleTitle(1, "neighbour"), back);

    // Written again after the deletion.
    ASSERT_EQ(1, write(0xABCD, first));
    reopen();
    ASSERT_EQ(1, read(0xABCD, &back));
    EXPECT_EQ(first, back);
}

TEST_F(TitleDbRecords, DeletingWhatIsNotThereChangesNothing)
{
    EXPECT_EQ(0, remove(1));
    EXPECT_FALSE(harness::fileExists(dbPath())) << "no file for a deletion of nothing";
    ASSERT_EQ(1, write(2, sampleTitle(2, "x")));
    int64_t size = fileSize();
    EXPECT_EQ(0, remove(3));
    EXPECT_EQ(size, fileSize());
}

TEST_F(TitleDbRecords, ReadOfAMissingEntryLeavesTheRecordZeroed)
{
    TitleRecord r = {};
    EXPECT_EQ(0, db_read_entry(0x1111, &r)) << "no database yet";
    ASSERT_EQ(1, write(0x2222, sampleTitle(3, "x")));
    EXPECT_EQ(0, db_read_entry(0x1111, &r));
    TitleRecord zero = {};
    EXPECT_EQ(0, memcmp(&r, &zero, sizeof r));
    EXPECT_FALSE(harness::fileExists(folder_ + "\\Spindle2.tdb.new"));
}

TEST_F(TitleDbRecords, DbFreeReleasesOnlyWhatTheLibraryFilled)
{
    TitleRecord zero = {};
    TitleRecord r = {};
    EXPECT_EQ(1, db_free(&r)) << "an empty record is fine";
    EXPECT_EQ(0, db_free(nullptr));

    // A record the caller built is not the library's to release.
    TitleData d = fullRecord();
    RecordView view(d);
    TitleRecord mine = *view.get();
    EXPECT_EQ(0, db_free(&mine));
    EXPECT_EQ(view.get()->artist, mine.artist) << "left alone";
    EXPECT_TRUE(DiagCapture::mentions("not filled by db_read_entry"));

    // Twice on one read record: the second sees a zeroed record.
    ASSERT_EQ(1, write(1, d));
    ASSERT_EQ(1, db_read_entry(1, &r));
    EXPECT_EQ(1, db_free(&r));
    EXPECT_EQ(1, db_free(&r));
    EXPECT_EQ(0, memcmp(&r, &zero, sizeof r));
}

// db_free must tell the library's records from the caller's without reading
// anything outside what the record points to: here the caller's start frames
// open a page that nothing lies before, and a record freed through a copy
// must not be released again through the original.
TEST_F(TitleDbRecords, DbFreeReadsNothingOutsideTheCallersBlocks)
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    uint8_t *pages = static_cast<uint8_t *>(VirtualAlloc(nullptr, 2 * info.dwPageSize, MEM_RESERVE, PAGE_NOACCESS));
    ASSERT_NE(nullptr, pages);
    ASSERT_NE(nullptr, VirtualAlloc(pages + info.dwPageSize, info.dwPageSize, MEM_COMMIT, PAGE_READWRITE));
    int32_t *frames = reinterpret_cast<int32_t *>(pages + info.dwPageSize);
    frames[0] = 150;
    frames[1] = 9000;
    TitleRecord mine = {};
    mine.trackCount = 1;
    mine.trackStartFrames = frames;
    EXPECT_EQ(0, db_free(&mine));
    EXPECT_EQ(frames, mine.trackStartFrames) << "left alone";
    VirtualFree(pages, 0, MEM_RELEASE);

    ASSERT_EQ(1, write(1, fullRecord()));
    TitleRecord read = {};
    ASSERT_EQ(1, db_read_entry(1, &read));
    TitleRecord copy = read;
    EXPECT_EQ(1, db_free(&copy));
    EXPECT_EQ(0, db_free(&read)) << "already released through its copy";
}

TEST_F(TitleDbRecords, RefusedRecordsLeaveTheDatabaseAsItWas)
{
    TitleData kept = sampleTitle(10, "kept");
    ASSERT_EQ(1, write(1, kept));
    int64_t size = fileSize();
    std::string longText((1u << 20) + 1, 'z');
    struct Case {
        const char *name;
        void (*spoil)(TitleRecord *, const std::string &);
    } cases[] = {
        {"negative track count", [](TitleRecord *r, const std::string &) { r->trackCount = -1; }},
        {"track count of a million", [](TitleRecord *r, const std::string &) { r->trackCount = 1000000; }},
        {"negative program length", [](TitleRecord *r, const std::string &) { r->programLength = -1; }},
        {"program length of two billion", [](TitleRecord *r, const std::string &) { r->programLength = 2000000000; }},
        {"program length without a list",
         [](TitleRecord *r, const std::string &) {
             r->programLength = 3;
             r->programList = nullptr;
         }},
        {"text over a megabyte", [](TitleRecord *r, const std::string &t) { r->discText = const_cast<char *>(t.c_str()); }},
    };
    for (const Case &c : cases) {
        DiagCapture::clear();
        TitleData d = sampleTitle(11, "refused");
        RecordView view(d);
        c.spoil(view.mutableRecord(), longText);
        EXPECT_EQ(0, db_write_entry(1, view.get())) << c.name;
        EXPECT_TRUE(DiagCapture::mentions("00000001 is not stored")) << c.name << "\n" << DiagCapture::all();
        EXPECT_EQ(size, fileSize()) << c.name;
    }
    TitleData back;
    ASSERT_EQ(1, read(1, &back));
    EXPECT_EQ(kept, back);
    EXPECT_EQ(0, db_write_entry(1, nullptr));
    EXPECT_EQ(0, db_read_entry(1, nullptr));
    int32_t total;
    EXPECT_EQ(0, db_statistics(&total, nullptr));
}
