// scanner_test.cpp - the record walk over file images held in memory:
// whole records, torn tails, damaged heads named by their tails, and
// stretches that belong to no entry.
#include "libplatter/titledb/recordformat.h"
#include "libplatter/titledb/scanner.h"
#include "tests/libplatter/titledb/titledata.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace titledb;

namespace {

class MemorySource : public ByteSource {
public:
    explicit MemorySource(const std::vector<uint8_t> &bytes) : bytes_(bytes) {}
    const uint8_t *view(uint32_t offset, uint32_t length) override
    {
        if (offset > bytes_.size() || length > bytes_.size() - offset)
            return nullptr;
        return bytes_.data() + offset;
    }

private:
    const std::vector<uint8_t> &bytes_;
};

class Recorder : public ScanSink {
public:
    void onRecord(const ScanEvent &e) override
    {
        static const char *names[] = {"entry", "deletion", "damaged", "lost"};
        std::ostringstream line;
        line << names[e.kind];
        if (e.kind != ScanEvent::Lost)
            line << " " << e.winId;
        line << " @" << e.offset << "+" << e.length;
        events.push_back(line.str());
    }
    std::vector<std::string> events;
};

// A file image built record by record, remembering where each one lies.
struct Image {
    std::vector<uint8_t> bytes;
    std::vector<uint32_t> at, size;
    Image()
    {
        bytes.reserve(4096);
        bytes.resize(kFileHeaderSize);
    }
    void entry(uint32_t id, int textLength)
    {
        titletest::TitleData d;
        d.startFrames = {0};
        d.discText = std::string((size_t)textLength, 'n');
        titletest::RecordView view(d);
        std::vector<uint8_t> payload;
        EncodeError error;
        encodeTitle(*view.get(), &payload, &error);
        add(KindEntry, id, payload);
    }
    void deletion(uint32_t id) { add(KindDeletion, id, {}); }
    void add(uint32_t kind, uint32_t id, const std::vector<uint8_t> &payload)
    {
        at.push_back((uint32_t)bytes.size());
        frameRecord(kind, id, payload.data(), (uint32_t)payload.size(), &bytes);
        size.push_back((uint32_t)bytes.size() - at.back());
    }
};

std::string span(const Image &im, size_t i)
{
    return "@" + std::to_string(im.at[i]) + "+" + std::to_string(im.size[i]);
}

} // namespace

TEST(TitleDbScanner, WholeRecordsAreReportedInFileOrder)
{
    Image im;
    im.entry(1, 10);
    im.entry(2, 0);
    im.deletion(1);
    im.entry(1, 300);
    MemorySource source(im.bytes);
    Recorder rec;
    ScanResult result = scanRecords(source, kFileHeaderSize, (uint32_t)im.bytes.size(), rec);
    EXPECT_FALSE(result.readFailed);
    EXPECT_EQ(im.bytes.size(), result.validEnd);
    std::vector<std::string> expected = {"entry 1 " + span(im, 0), "entry 2 " + span(im, 1),
                                         "deletion 1 " + span(im, 2), "entry 1 " + span(im, 3)};
    EXPECT_EQ(expected, rec.events);
}

TEST(TitleDbScanner, DamageIsNamedWhereItCanBe)
{
    // Four records: A(1) B(2) C(3) D(4); the case spoils bytes and says
    // what the walk must report and where the next append goes.
    struct Case {
        const char *name;
        void (*spoil)(Image &);
        std::vector<std::string> (*expected)(const Image &);
        uint32_t (*validEnd)(const Image &);
    } cases[] = {
        {"payload byte of B",
         [](Image &im) { im.bytes[im.at[1] + 30] ^= 1; },
         [](const Image &im) {
             return std::vector<std::string>{"entry 1 " + span(im, 0), "damaged 2 " + span(im, 1),
                                             "entry 3 " + span(im, 2), "entry 4 " + span(im, 3)};
         },
         [](const Image &im) { return (uint32_t)im.bytes.size(); }},
        {"head of B: its tail names it",
         [](Image &im) { im.bytes[im.at[1] + 9] ^= 0x10; },
         [](const Image &im) {
             return std::vector<std::string>{"entry 1 " + span(im, 0), "damaged 2 " + span(im, 1),
                                             "entry 3 " + span(im, 2), "entry 4 " + span(im, 3)};
         },
         [](const Image &im) { return (uint32_t)im.bytes.size(); }},
        {"heads of B and C: both named",
         [](Image &im) {
             im.bytes[im.at[1]] ^= 0xFF;
             im.bytes[im.at[2] + 14] ^= 0xFF;
         },
         [](const Image &im) {
             return std::vector<std::string>{"entry 1 " + span(im, 0), "damaged 2 " + span(im, 1),
                                             "damaged 3 " + span(im, 2), "entry 4 " + span(im, 3)};
         },
         [](const Image &im) { return (uint32_t)im.bytes.size(); }},
        {"head and tail of B: nobody's",
         [](Image &im) {
             im.bytes[im.at[1] + 2] ^= 1;
             im.bytes[im.at[2] - 3] ^= 1;
         },
         [](const Image &im) {
             return std::vector<std::string>{"entry 1 " + span(im, 0), "lost " + span(im, 1),
                                             "entry 3 " + span(im, 2), "entry 4 " + span(im, 3)};
         },
         [](const Image &im) { return (uint32_t)im.bytes.size(); }},
        {"tail of D, the last record",
         [](Image &im) { im.bytes[im.bytes.size() - 1] ^= 0x80; },
         [](const Image &im) {
             return std::vector<std::string>{"entry 1 " + span(im, 0), "entry 2 " + span(im, 1),
                                             "entry 3 " + span(im, 2), "damaged 4 " + span(im, 3)};
         },
         [](const Image &im) { return (uint32_t)im.bytes.size(); }},
        {"head of D, the last record: its tail names it",
         [](Image &im) { im.bytes[im.at[3] + 1] ^= 0x40; },
         [](const Image &im) {
             return std::vector<std::string>{"entry 1 " + span(im, 0), "entry 2 " + span(im, 1),
                                             "entry 3 " + span(im, 2), "damaged 4 " + span(im, 3)};
         },
         [](const Image &im) { return (uint32_t)im.bytes.size(); }},
        {"D cut short: a torn tail",
         [](Image &im) { im.bytes.resize(im.bytes.size() - 5); },
         [](const Image &im) {
             return std::vector<std::string>{"entry 1 " + span(im, 0), "entry 2 " + span(im, 1),
                                             "entry 3 " + span(im, 2)};
         },
         [](const Image &im) { return im.at[3]; }},
        {"only part of D's head written",
         [](Image &im) { im.bytes.resize(im.at[3] + 10); },
         [](const Image &im) {
             return std::vector<std::string>{"entry 1 " + span(im, 0), "entry 2 " + span(im, 1),
                                             "entry 3 " + span(im, 2)};
         },
         [](const Image &im) { return im.at[3]; }},
        {"D's length reached the disk, its bytes did not",
         [](Image &im) { std::fill(im.bytes.begin() + im.at[3], im.bytes.end(), 0); },
         [](const Image &im) {
             return std::vector<std::string>{"entry 1 " + span(im, 0), "entry 2 " + span(im, 1),
                                             "entry 3 " + span(im, 2)};
         },
         [](const Image &im) { return im.at[3]; }},
    };
    for (const Case &c : cases) {
        Image im;
        im.entry(1, 40);
        im.entry(2, 50);
        im.entry(3, 60);
        im.entry(4, 70);
        c.spoil(im);
        MemorySource source(im.bytes);
        Recorder rec;
        ScanResult result = scanRecords(source, kFileHeaderSize, (uint32_t)im.bytes.size(), rec);
        EXPECT_FALSE(result.readFailed) << c.name;
        EXPECT_EQ(c.expected(im), rec.events) << c.name;
        EXPECT_EQ(c.validEnd(im), result.validEnd) << c.name;
    }
}

TEST(TitleDbScanner, ARecordThatChecksOutButDoesNotDecodeIsDamaged)
{
    Image im;
    im.entry(1, 5);
    // Sound checksums around a payload that claims 1000 tracks.
    std::vector<uint8_t> forged(36, 0);
    forged[24] = 0xE8;
    forged[25] = 0x03;
    im.add(KindEntry, 2, forged);
    im.entry(3, 5);
    MemorySource source(im.bytes);
    Recorder rec;
    scanRecords(source, kFileHeaderSize, (uint32_t)im.bytes.size(), rec);
    std::vector<std::string> expected = {"entry 1 " + span(im, 0), "damaged 2 " + span(im, 1),
                                         "entry 3 " + span(im, 2)};
    EXPECT_EQ(expected, rec.events);
}

TEST(TitleDbScanner, GarbageAfterTheHeaderIsATornTailOrLost)
{
    // Plain text where records should be: nothing is reported and appends
    // would go straight after the header.
    Image im;
    const char text[] = "This is not a record at all, just some words in a file.";
    im.bytes.insert(im.bytes.end(), text, text + sizeof text - 1);
    MemorySource source(im.bytes);
    Recorder rec;
    ScanResult result = scanRecords(source, kFileHeaderSize, (uint32_t)im.bytes.size(), rec);
    EXPECT_TRUE(rec.events.empty());
    EXPECT_EQ(kFileHeaderSize, result.validEnd);

    // The same garbage with a whole record after it: the garbage is lost.
    im.entry(9, 3);
    Recorder rec2;
    result = scanRecords(source, kFileHeaderSize, (uint32_t)im.bytes.size(), rec2);
    std::vector<std::string> expected = {"lost @32+" + std::to_string(sizeof text - 1), "entry 9 " + span(im, 0)};
    EXPECT_EQ(expected, rec2.events);
    EXPECT_EQ(im.bytes.size(), result.validEnd);
}

TEST(TitleDbScanner, OneFlippedByteCostsOnlyItsRecord)
{
    // Every byte of the first, a middle and the last of five records, flipped
    // in turn: the walk names that record's entry as damaged, with its exact
    // extent, and every other record is found whole.
    Image clean;
    for (uint32_t id = 1; id <= 5; ++id)
        clean.entry(id, 20 + 15 * (int)id);
    for (size_t victim : {(size_t)0, (size_t)2, (size_t)4}) {
        std::vector<std::string> expected;
        for (size_t i = 0; i < 5; ++i)
            expected.push_back((i == victim ? "damaged " : "entry ") + std::to_string(i + 1) + " " + span(clean, i));
        for (uint32_t at = 0; at < clean.size[victim]; ++at) {
            for (uint8_t mask : {(uint8_t)0x01, (uint8_t)0xFF}) {
                Image im = clean;
                im.bytes[im.at[victim] + at] ^= mask;
                MemorySource source(im.bytes);
                Recorder rec;
                ScanResult result = scanRecords(source, kFileHeaderSize, (uint32_t)im.bytes.size(), rec);
                ASSERT_EQ(expected, rec.events) << "record " << victim << ", byte " << at << ", mask " << (int)mask;
                ASSERT_EQ(im.bytes.size(), result.validEnd) << "record " << victim << ", byte " << at;
            }
        }
    }

    // A damaged middle record and a torn last one: each loses only itself.
    Image im = clean;
    im.bytes[im.at[2] + 3] ^= 0x20;
    im.bytes.resize(im.at[4] + im.size[4] / 2);
    MemorySource source(im.bytes);
    Recorder rec;
    ScanResult result = scanRecords(source, kFileHeaderSize, (uint32_t)im.bytes.size(), rec);
    std::vector<std::string> expected = {"entry 1 " + span(im, 0), "entry 2 " + span(im, 1),
                                         "damaged 3 " + span(im, 2), "entry 4 " + span(im, 3)};
    EXPECT_EQ(expected, rec.events);
    EXPECT_EQ(im.at[4], result.validEnd);
}

TEST(TitleDbScanner, RecordBytesInsideATextNeverPassForRecords)
{
    // A programmed order is a list of any 32-bit numbers, so a payload can
    // hold the bytes of a whole record, or of a head alone. When the head of
    // the record holding them is damaged, the walk must neither take those
    // bytes for an entry nor stop at them.
    std::vector<uint8_t> inner;
    frameRecord(KindDeletion, 77, nullptr, 0, &inner);
    // A head claiming a payload far past the end of the file, its checksum made good.
    std::vector<uint8_t> bigHead;
    std::vector<uint8_t> claim(4000, 'x');
    std::vector<uint8_t> longRecord;
    frameRecord(KindEntry, 78, claim.data(), (uint32_t)claim.size(), &longRecord);
    bigHead.assign(longRecord.begin(), longRecord.begin() + kRecordHeadSize);

    for (const std::vector<uint8_t> *hidden : {&inner, &bigHead}) {
        Image im;
        im.entry(1, 10);
        titletest::TitleData d;
        d.startFrames = {0};
        d.program = {1, 2};
        for (size_t i = 0; i < hidden->size(); i += 4)
            d.program.push_back((int32_t)((*hidden)[i] | (*hidden)[i + 1] << 8 | (*hidden)[i + 2] << 16 |
                                          (uint32_t)(*hidden)[i + 3] << 24));
        d.program.push_back(3);
        titletest::RecordView view(d);
        std::vector<uint8_t> payload;
        EncodeError error;
        ASSERT_TRUE(encodeTitle(*view.get(), &payload, &error));
        im.add(KindEntry, 2, payload);
        im.entry(3, 10);
        im.entry(4, 10);
        im.bytes[im.at[1] + 1] ^= 0x04; // the head of the record holding the text
        MemorySource source(im.bytes);
        Recorder rec;
        ScanResult result = scanRecords(source, kFileHeaderSize, (uint32_t)im.bytes.size(), rec);
        std::vector<std::string> expected = {"entry 1 " + span(im, 0), "damaged 2 " + span(im, 1),
                                             "entry 3 " + span(im, 2), "entry 4 " + span(im, 3)};
        EXPECT_EQ(expected, rec.events) << (hidden == &inner ? "a whole record" : "a head alone");
        EXPECT_EQ(im.bytes.size(), result.validEnd);
    }
}
