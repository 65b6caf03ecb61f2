// The disc title record: setText, hasTitleContent, copyTitleRecord and
// releasing a record, with every heap block accounted for.
#include "titles/titlerecord.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A drive's record as a disc read leaves it: start frames and empty text
// lists for its tracks.
TitleRecord discRecord(int tracks)
{
    TitleRecord r;
    memset(&r, 0, sizeof r);
    r.trackCount = tracks;
    r.trackStartFrames = static_cast<int32_t *>(titleAlloc((size_t)tracks + 1, sizeof(int32_t)));
    for (int i = 0; i <= tracks; ++i)
        r.trackStartFrames[i] = 150 + i * 15000;
    r.trackTitles = static_cast<char **>(titleAlloc((size_t)tracks, sizeof(char *)));
    r.trackTexts = static_cast<char **>(titleAlloc((size_t)tracks, sizeof(char *)));
    return r;
}

// A record that belongs to someone else (the library, a CDDB entry): its
// texts live in the test's own storage.
struct ForeignRecord {
    std::vector<std::string> store;
    std::vector<char *> titles, texts;
    std::vector<int32_t> program;
    TitleRecord record;

    ForeignRecord()
    {
        memset(&record, 0, sizeof record);
        store.reserve(64);
    }
    char *keep(const char *text)
    {
        if (!text)
            return nullptr;
        store.push_back(text);
        return &store.back()[0];
    }
    void tracks(std::vector<const char *> trackTitles, std::vector<const char *> trackTexts)
    {
        titles.clear();
        texts.clear();
        for (const char *t : trackTitles)
            titles.push_back(keep(t));
        for (const char *t : trackTexts)
            texts.push_back(keep(t));
        record.trackCount = (int32_t)titles.size();
        record.trackTitles = titles.data();
        record.trackTexts = texts.data();
    }
    void setProgram(std::vector<int32_t> list)
    {
        program = std::move(list);
        record.programLength = (int32_t)program.size();
        record.programList = program.empty() ? nullptr : program.data();
    }
};

class TitleRecordTest : public ::testing::Test {
protected:
    void SetUp() override { baseline = titleBlocksInUse(); }
    void TearDown() override { EXPECT_EQ(titleBlocksInUse(), baseline) << "every block goes back"; }
    long baseline = 0;
};

// ---- setText ----

struct SetTextCase {
    const char *old;
    const char *source;
    const char *result;   // null: the field ends null
};

void PrintTo(const SetTextCase &c, std::ostream *os)
{
    *os << "old " << (c.old ? (c.old[0] ? c.old : "empty") : "absent") << " source "
        << (c.source ? (c.source[0] ? c.source : "empty") : "absent");
}

class SetText : public TitleRecordTest, public ::testing::WithParamInterface<SetTextCase> {};

TEST_P(SetText, StoresAFreshCopyOrNothing)
{
    const SetTextCase &c = GetParam();
    char *field = titleCopyText(c.old);
    std::string source = c.source ? c.source : "";
    setText(field, c.source ? source.c_str() : nullptr);
    if (c.result) {
        ASSERT_NE(field, nullptr);
        EXPECT_STREQ(field, c.result);
        EXPECT_NE(field, source.c_str()) << "the record owns its own copy";
        source.assign(source.size(), '#');
        EXPECT_STREQ(field, c.result) << "the copy does not follow the source";
    } else {
        EXPECT_EQ(field, nullptr);
    }
    titleFree(field);
}

INSTANTIATE_TEST_SUITE_P(Cases, SetText,
                         ::testing::Values(SetTextCase{nullptr, "Artist", "Artist"},
                                           SetTextCase{"Old", "New", "New"}, SetTextCase{"Old", "", nullptr},
                                           SetTextCase{"Old", nullptr, nullptr}, SetTextCase{nullptr, "", nullptr},
                                           SetTextCase{nullptr, nullptr, nullptr},
                                           SetTextCase{"", "x", "x"}));

TEST_F(TitleRecordTest, SetTextOntoItself)
{
    char *field = titleCopyText("Same");
    setText(field, "Same");
    EXPECT_STREQ(field, "Same");
    titleFree(field);
}

// ---- hasTitleContent ----

struct ContentCase {
    const char *what;
    void (*fill)(ForeignRecord &);
    bool expected;
};

void PrintTo(const ContentCase &c, std::ostream *os)
{
    *os << c.what;
}

class HasTitleContent : public TitleRecordTest, public ::testing::WithParamInterface<ContentCase> {};

TEST_P(HasTitleContent, AnyPresentText)
{
    ForeignRecord f;
    f.tracks({nullptr, nullptr, nullptr}, {nullptr, nullptr, nullptr});
    GetParam().fill(f);
    EXPECT_EQ(hasTitleContent(f.record), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HasTitleContent,
    ::testing::Values(
        ContentCase{"nothing", [](ForeignRecord &) {}, false},
        ContentCase{"artist", [](ForeignRecord &f) { f.record.artist = f.keep("A"); }, true},
        ContentCase{"empty but present artist", [](ForeignRecord &f) { f.record.artist = f.keep(""); }, true},
        ContentCase{"disc title", [](ForeignRecord &f) { f.record.discTitle = f.keep("T"); }, true},
        ContentCase{"disc text", [](ForeignRecord &f) { f.record.discText = f.keep(""); }, true},
        ContentCase{"last track's title", [](ForeignRecord &f) { f.titles[2] = f.keep("t3"); }, true},
        ContentCase{"first track's text", [](ForeignRecord &f) { f.texts[0] = f.keep(""); }, true},
        ContentCase{"program only", [](ForeignRecord &f) { f.setProgram({1, 2}); }, false},
        ContentCase{"track count but no lists",
                    [](ForeignRecord &f) {
                        f.record.trackTitles = nullptr;
                        f.record.trackTexts = nullptr;
                    },
                    false},
        ContentCase{"a title beyond the track count is not looked at",
                    [](ForeignRecord &f) {
                        f.titles[2] = f.keep("t3");
                        f.record.trackCount = 2;
                    },
                    false}));

TEST_F(TitleRecordTest, ZeroRecordHasNoContent)
{
    TitleRecord r;
    memset(&r, 0, sizeof r);
    EXPECT_FALSE(hasTitleContent(r));
}

// ---- copyTitleRecord ----

TEST_F(TitleRecordTest, DeepCopyLeavesTheDiscLayout)
{
    TitleRecord d = discRecord(3);
    int32_t *frames = d.trackStartFrames;
    std::vector<int32_t> framesBefore(frames, frames + 4);

    ForeignRecord f;
    f.record.cddbEntry = 1;
    f.record.revision = 7;
    f.record.submitted = 1;
    f.record.artist = f.keep("Artist");
    f.record.discTitle = f.keep("");          // present but empty: copied as it is
    f.record.discText = nullptr;
    f.tracks({"One", nullptr, "Three"}, {nullptr, "two notes", ""});
    f.record.trackCount = 3;
    f.record.trackStartFrames = nullptr;
    f.setProgram({3, 3, 1});

    copyTitleRecord(d, f.record);
    EXPECT_EQ(d.cddbEntry, 1);
    EXPECT_EQ(d.revision, 7);
    EXPECT_EQ(d.submitted, 1);
    ASSERT_NE(d.artist, nullptr);
    EXPECT_STREQ(d.artist, "Artist");
    EXPECT_NE(d.artist, f.record.artist);
    ASSERT_NE(d.discTitle, nullptr);
    EXPECT_STREQ(d.discTitle, "");
    EXPECT_EQ(d.discText, nullptr);
    EXPECT_STREQ(d.trackTitles[0], "One");
    EXPECT_NE(d.trackTitles[0], f.titles[0]);
    EXPECT_EQ(d.trackTitles[1], nullptr);
    EXPECT_STREQ(d.trackTitles[2], "Three");
    EXPECT_EQ(d.trackTexts[0], nullptr);
    EXPECT_STREQ(d.trackTexts[1], "two notes");
    EXPECT_STREQ(d.trackTexts[2], "");
    ASSERT_EQ(d.programLength, 3);
    EXPECT_NE(d.programList, f.record.programList);
    EXPECT_EQ(std::vector<int32_t>(d.programList, d.programList + 3), (std::vector<int32_t>{3, 3, 1}));
    EXPECT_EQ(d.trackCount, 3);
    EXPECT_EQ(d.trackStartFrames, frames);
    EXPECT_EQ(std::vector<int32_t>(frames, frames + 4), framesBefore);
    EXPECT_TRUE(hasTitleContent(d));
    releaseTitleRecord(d);
}

TEST_F(TitleRecordTest, CopyReplacesEverythingItHeldBefore)
{
    TitleRecord d = discRecord(2);
    setText(d.artist, "Old artist");
    setText(d.discText, "Old notes");
    setText(d.trackTitles[0], "Old one");
    setText(d.trackTexts[1], "Old text");
    d.programList = static_cast<int32_t *>(titleAlloc(2, sizeof(int32_t)));
    d.programLength = 2;

    ForeignRecord f;
    f.tracks({nullptr, "New two"}, {nullptr, nullptr});
    copyTitleRecord(d, f.record);
    EXPECT_EQ(d.artist, nullptr);
    EXPECT_EQ(d.discText, nullptr);
    EXPECT_EQ(d.trackTitles[0], nullptr);
    EXPECT_STREQ(d.trackTitles[1], "New two");
    EXPECT_EQ(d.trackTexts[1], nullptr);
    EXPECT_EQ(d.programLength, 0);
    EXPECT_EQ(d.programList, nullptr);
    releaseTitleRecord(d);
}

struct BoundCase {
    const char *what;
    int sourceTracks;        // -1: the source has no track lists at all
    int destinationTracks;
};

void PrintTo(const BoundCase &c, std::ostream *os)
{
    *os << c.what;
}

class CopyBounds : public TitleRecordTest, public ::testing::WithParamInterface<BoundCase> {};

TEST_P(CopyBounds, ReadsOnlyWhatTheSourceHas)
{
    const BoundCase &c = GetParam();
    TitleRecord d = discRecord(c.destinationTracks);
    for (int i = 0; i < c.destinationTracks; ++i) {
        setText(d.trackTitles[i], "stale title");
        setText(d.trackTexts[i], "stale text");
    }

    ForeignRecord f;
    if (c.sourceTracks >= 0) {
        std::vector<std::string> names;
        std::vector<const char *> titles, texts;
        for (int i = 0; i < c.sourceTracks; ++i)
            names.push_back("track " + std::to_string(i + 1));
        for (auto &n : names) {
            titles.push_back(n.c_str());
            texts.push_back(n.c_str());
        }
        f.tracks(titles, texts);
    } else {
        f.record.trackCount = 5;   // a count with no lists behind it
    }

    copyTitleRecord(d, f.record);
    EXPECT_EQ(d.trackCount, c.destinationTracks) << c.what;
    for (int i = 0; i < c.destinationTracks; ++i) {
        if (i < c.sourceTracks) {
            std::string expected = "track " + std::to_string(i + 1);
            EXPECT_STREQ(d.trackTitles[i], expected.c_str()) << c.what;
            EXPECT_STREQ(d.trackTexts[i], expected.c_str()) << c.what;
        } else {
            EXPECT_EQ(d.trackTitles[i], nullptr) << c.what << ", track " << i + 1;
            EXPECT_EQ(d.trackTexts[i], nullptr) << c.what << ", track " << i + 1;
        }
    }
    releaseTitleRecord(d);
}

INSTANTIATE_TEST_SUITE_P(Cases, CopyBounds,
                         ::testing::Values(BoundCase{"same count", 5, 5}, BoundCase{"source shorter", 3, 5},
                                           BoundCase{"source longer", 8, 5}, BoundCase{"source empty", 0, 5},
                                           BoundCase{"source without lists", -1, 5},
                                           BoundCase{"destination without tracks", 4, 0}));

TEST_F(TitleRecordTest, CopyIntoARecordWithoutLists)
{
    TitleRecord d;
    memset(&d, 0, sizeof d);
    d.trackCount = 4;   // no lists: only the disc texts and program can be taken
    ForeignRecord f;
    f.record.artist = f.keep("A");
    f.tracks({"1", "2", "3", "4"}, {"1", "2", "3", "4"});
    copyTitleRecord(d, f.record);
    EXPECT_STREQ(d.artist, "A");
    EXPECT_EQ(d.trackTitles, nullptr);
    d.trackCount = 0;
    releaseTitleRecord(d);
}

struct ProgramCase {
    const char *what;
    int length;
    bool list;
    int copied;
};

void PrintTo(const ProgramCase &c, std::ostream *os)
{
    *os << c.what;
}

class CopyProgram : public TitleRecordTest, public ::testing::WithParamInterface<ProgramCase> {};

TEST_P(CopyProgram, TakesTheSourcesProgram)
{
    const ProgramCase &c = GetParam();
    TitleRecord d = discRecord(4);
    d.programList = static_cast<int32_t *>(titleAlloc(3, sizeof(int32_t)));
    d.programLength = 3;
    ForeignRecord f;
    std::vector<int32_t> list{4, 1, 4, 2, 2, 9};
    f.record.programLength = c.length;
    f.record.programList = c.list ? list.data() : nullptr;

    copyTitleRecord(d, f.record);
    EXPECT_EQ(d.programLength, c.copied) << c.what;
    if (c.copied) {
        ASSERT_NE(d.programList, nullptr);
        EXPECT_EQ(std::vector<int32_t>(d.programList, d.programList + c.copied),
                  std::vector<int32_t>(list.begin(), list.begin() + c.copied));
    } else {
        EXPECT_EQ(d.programList, nullptr) << c.what;
    }
    releaseTitleRecord(d);
}

INSTANTIATE_TEST_SUITE_P(Cases, CopyProgram,
                         ::testing::Values(ProgramCase{"a program", 6, true, 6},
                                           ProgramCase{"a program of one", 1, true, 1},
                                           ProgramCase{"no program", 0, false, 0},
                                           ProgramCase{"a length without a list", 4, false, 0},
                                           ProgramCase{"a negative length", -2, true, 0}));

TEST_F(TitleRecordTest, CopyOntoItselfChangesNothing)
{
    TitleRecord d = discRecord(2);
    setText(d.artist, "Artist");
    setText(d.trackTitles[1], "Two");
    copyTitleRecord(d, d);
    EXPECT_STREQ(d.artist, "Artist");
    EXPECT_STREQ(d.trackTitles[1], "Two");
    releaseTitleRecord(d);
}

// ---- releasing ----

TEST_F(TitleRecordTest, ReleaseClearsTheWholeRecord)
{
    TitleRecord d = discRecord(3);
    setText(d.artist, "A");
    setText(d.discTitle, "T");
    setText(d.discText, "N");
    for (int i = 0; i < 3; ++i) {
        setText(d.trackTitles[i], "t");
        setText(d.trackTexts[i], "x");
    }
    d.programList = static_cast<int32_t *>(titleAlloc(2, sizeof(int32_t)));
    d.programLength = 2;
    d.cddbEntry = d.revision = d.submitted = 1;
    ASSERT_EQ(titleBlocksInUse(), baseline + 13);

    releaseTitleRecord(d);
    TitleRecord zero;
    memset(&zero, 0, sizeof zero);
    EXPECT_EQ(memcmp(&d, &zero, sizeof d), 0);
    releaseTitleRecord(d);   // a cleared record releases nothing twice
}

TEST_F(TitleRecordTest, BlocksAreCountedAndSizesChecked)
{
    EXPECT_EQ(titleAlloc(0, 4), nullptr);
    EXPECT_EQ(titleAlloc(4, 0), nullptr);
    EXPECT_EQ(titleAlloc(SIZE_MAX / 2, 4), nullptr);
    EXPECT_EQ(titleCopyText(nullptr), nullptr);
    titleFree(nullptr);
    EXPECT_EQ(titleBlocksInUse(), baseline);
    char *empty = titleCopyText("");
    ASSERT_NE(empty, nullptr);
    EXPECT_STREQ(empty, "");
    int *zeroed = static_cast<int *>(titleAlloc(8, sizeof(int)));
    ASSERT_NE(zeroed, nullptr);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(zeroed[i], 0);
    EXPECT_EQ(titleBlocksInUse(), baseline + 2);
    titleFree(empty);
    titleFree(zeroed);
}

} // namespace
