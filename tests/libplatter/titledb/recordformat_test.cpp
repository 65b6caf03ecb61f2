// recordformat_test.cpp - the title database's bytes without any file:
// checksum, file header, record framing and the title payload, including
// every way a payload can be cut short.
#include "libplatter/titledb/crc32c.h"
#include "libplatter/titledb/recordformat.h"
#include "tests/libplatter/titledb/titledata.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

using namespace titledb;
using titletest::RecordView;
using titletest::TitleData;

namespace {

int liveBlocks = 0;
void *countingAlloc(size_t n)
{
    ++liveBlocks;
    return malloc(n);
}

std::vector<uint8_t> encoded(const TitleData &d)
{
    RecordView view(d);
    std::vector<uint8_t> payload;
    EncodeError error;
    EXPECT_TRUE(encodeTitle(*view.get(), &payload, &error)) << error.what;
    return payload;
}

} // namespace

TEST(TitleDbFormat, Crc32cMatchesTheCastagnoliCheckValue)
{
    EXPECT_EQ(0xE3069283u, crc32c(0, "123456789", 9));
    EXPECT_EQ(0u, crc32c(0, "", 0));
    // Continuing a sum gives the same as one pass, at any split (the fast
    // path works in 8-byte steps, the rest byte by byte).
    const char text[] = "The quick brown fox jumps over the lazy dog, twice over, and then once more.";
    uint32_t whole = crc32c(0, text, sizeof text - 1);
    for (size_t split = 0; split < sizeof text; ++split)
        EXPECT_EQ(whole, crc32c(crc32c(0, text, split), text + split, sizeof text - 1 - split)) << split;
}

TEST(TitleDbFormat, FileHeaderIsRecognisedOnlyWhenWhole)
{
    uint8_t bytes[kFileHeaderSize];
    encodeFileHeader(0x1122334455667788ull, bytes);
    FileHeader header = {};
    ASSERT_EQ(HeaderCheck::Valid, checkFileHeader(bytes, sizeof bytes, &header));
    EXPECT_EQ(0x1122334455667788ull, header.instance);
    EXPECT_EQ(0, memcmp(bytes, "SP2TITLE", 8));

    struct Case {
        const char *name;
        size_t length;
        int flipAt; // -1: none
        HeaderCheck expected;
    } cases[] = {
        {"empty", 0, -1, HeaderCheck::Incomplete},
        {"part of the magic", 5, -1, HeaderCheck::Incomplete},
        {"magic and a little", 20, -1, HeaderCheck::Incomplete},
        {"wrong first byte, short", 5, 0, HeaderCheck::Foreign},
        {"wrong magic", 32, 3, HeaderCheck::Foreign},
        {"instance damaged", 32, 18, HeaderCheck::Foreign},
        {"checksum damaged", 32, 30, HeaderCheck::Foreign},
    };
    for (const Case &c : cases) {
        uint8_t copy[kFileHeaderSize];
        memcpy(copy, bytes, sizeof copy);
        if (c.flipAt >= 0)
            copy[c.flipAt] ^= 0x20;
        EXPECT_EQ(c.expected, checkFileHeader(copy, c.length, &header)) << c.name;
    }

    // A later version of the format: ours, but not to be touched.
    uint8_t newer[kFileHeaderSize];
    memcpy(newer, bytes, sizeof newer);
    newer[8] = 2;
    uint32_t crc = crc32c(0, newer, 28);
    memcpy(newer + 28, &crc, 4); // the test host is little-endian, as is the format
    EXPECT_EQ(HeaderCheck::NewerFormat, checkFileHeader(newer, sizeof newer, &header));
}

TEST(TitleDbFormat, FramedRecordChecksOutAndEveryDamageIsCaught)
{
    TitleData d = titletest::sampleTitle(77, "frame");
    std::vector<uint8_t> payload = encoded(d);
    std::vector<uint8_t> frame;
    frameRecord(KindEntry, 0xCAFEF00Du, payload.data(), (uint32_t)payload.size(), &frame);
    ASSERT_EQ(payload.size() + kRecordOverhead, frame.size());
    RecordHead head;
    ASSERT_EQ(FrameCheck::Good, checkFrame(frame.data(), frame.size(), &head));
    EXPECT_EQ(0xCAFEF00Du, head.winId);
    EXPECT_EQ((uint32_t)KindEntry, head.kind);
    EXPECT_EQ(payload.size(), head.payloadLength);

    // Any single flipped bit: a bad head or a damaged record, never good.
    for (size_t at = 0; at < frame.size(); ++at) {
        std::vector<uint8_t> bad = frame;
        bad[at] ^= 0x04;
        FrameCheck expected = at < kRecordHeadSize ? FrameCheck::BadHead : FrameCheck::Damaged;
        ASSERT_EQ(expected, checkFrame(bad.data(), bad.size(), &head)) << "byte " << at;
    }
    // The tail alone still names the entry.
    RecordTail tail;
    ASSERT_TRUE(parseRecordTail(frame.data() + frame.size() - kRecordTailSize, &tail));
    EXPECT_EQ(0xCAFEF00Du, tail.winId);
    EXPECT_EQ(frame.size(), tail.recordLength);
}

TEST(TitleDbFormat, PayloadRoundTripKeepsAbsentAndEmptyTextsApart)
{
    TitleData d;
    d.cddbEntry = 1;
    d.revision = -3;
    d.submitted = 0x7FFFFFFF;
    d.artist = std::string();
    d.discText = std::string("line one\r\nline two \xE9\xFF");
    d.trackCount = 3;
    d.startFrames = {150, 20000, 40000, 61234};
    d.titles = {std::string(""), titletest::Text(), std::string("Third")};
    d.texts = {titletest::Text(), std::string("x"), std::string("")};
    d.program = {3, 1, 3, 2};
    std::vector<uint8_t> payload = encoded(d);
    TitleRecord r;
    liveBlocks = 0;
    ASSERT_TRUE(decodeTitle(payload.data(), payload.size(), countingAlloc, &r));
    EXPECT_EQ(1, liveBlocks) << "one block per record";
    EXPECT_EQ(d, titletest::capture(r));
    ASSERT_NE(nullptr, r.artist);
    EXPECT_EQ(nullptr, r.discTitle);
    free(r.trackStartFrames); // the block starts with the start frames
}

TEST(TitleDbFormat, EveryShortenedOrLengthenedPayloadIsRefused)
{
    std::vector<uint8_t> payload = encoded(titletest::sampleTitle(8, "cut"));
    liveBlocks = 0;
    for (size_t length = 0; length < payload.size(); ++length) {
        TitleRecord r;
        memset(&r, 0xAB, sizeof r);
        ASSERT_FALSE(decodeTitle(payload.data(), length, countingAlloc, &r)) << length;
        ASSERT_EQ(nullptr, r.trackStartFrames) << "the record is zeroed on failure";
        ASSERT_FALSE(checkTitle(payload.data(), length)) << length;
    }
    EXPECT_EQ(0, liveBlocks) << "nothing allocated for a refused payload";
    payload.push_back(0);
    TitleRecord r;
    EXPECT_FALSE(decodeTitle(payload.data(), payload.size(), countingAlloc, &r));
}

TEST(TitleDbFormat, AbsurdCountsInAStoredPayloadAreRefused)
{
    // Offsets in a payload with no texts and no tracks: 0-11 fixed fields,
    // 12-23 three absent texts, 24 track count, 28 lead-out, 32 program length.
    TitleData d;
    d.startFrames = {0};
    std::vector<uint8_t> base = encoded(d);
    ASSERT_EQ(36u, base.size());
    struct Case {
        const char *name;
        size_t at;
        uint32_t value;
    } cases[] = {
        {"negative track count", 24, 0xFFFFFFFFu},
        {"100 tracks", 24, 100},
        {"huge track count", 24, 0x40000000u},
        {"negative program length", 32, 0x80000000u},
        {"program longer than the limit", 32, 4097},
        {"text longer than the payload", 12, 1000},
        {"text longer than the text limit", 12, (1u << 20) + 1},
    };
    for (const Case &c : cases) {
        std::vector<uint8_t> bad = base;
        memcpy(bad.data() + c.at, &c.value, 4);
        TitleRecord r;
        liveBlocks = 0;
        EXPECT_FALSE(decodeTitle(bad.data(), bad.size(), countingAlloc, &r)) << c.name;
        EXPECT_EQ(0, liveBlocks) << c.name;
    }
}

TEST(TitleDbFormat, RecordsTheDatabaseWillNotStoreAreRefused)
{
    TitleData good = titletest::sampleTitle(4, "limits");
    std::string longText((1u << 20) + 1, 'x');
    std::string limitText(1u << 20, 'y');
    struct Case {
        const char *name;
        void (*spoil)(TitleRecord *, const std::string &);
        bool accepted;
    } cases[] = {
        {"negative track count", [](TitleRecord *r, const std::string &) { r->trackCount = -1; }, false},
        {"100 tracks", [](TitleRecord *r, const std::string &) { r->trackCount = 100; }, false},
        {"negative program length", [](TitleRecord *r, const std::string &) { r->programLength = -2; }, false},
        {"program over the limit", [](TitleRecord *r, const std::string &) { r->programLength = 4097; }, false},
        {"program list missing", [](TitleRecord *r, const std::string &) { r->programList = nullptr; }, false},
        {"text over the limit", [](TitleRecord *r, const std::string &t) { r->artist = const_cast<char *>(t.c_str()); }, false},
        {"no track arrays at all",
         [](TitleRecord *r, const std::string &) {
             r->trackStartFrames = nullptr;
             r->trackTitles = nullptr;
             r->trackTexts = nullptr;
         },
         true},
    };
    for (const Case &c : cases) {
        RecordView view(good);
        c.spoil(view.mutableRecord(), longText);
        std::vector<uint8_t> payload;
        EncodeError error;
        EXPECT_EQ(c.accepted, encodeTitle(*view.get(), &payload, &error)) << c.name;
        if (!c.accepted) {
            EXPECT_NE(nullptr, error.what) << c.name;
            EXPECT_TRUE(payload.empty()) << c.name;
        }
    }
    // A text exactly at the limit is fine.
    RecordView view(good);
    view.mutableRecord()->discText = const_cast<char *>(limitText.c_str());
    std::vector<uint8_t> payload;
    EncodeError error;
    EXPECT_TRUE(encodeTitle(*view.get(), &payload, &error));
}
