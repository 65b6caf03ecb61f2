// The one-time move of the previous version's registry titles into the
// title database: the Converted flag, the status window, the question, the
// entries built and the ones skipped, and what stays in the registry.
#include "fakes/fakeplatter.h"
#include "harness/harness.h"

#include "cddb/statuswnd.h"
#include "options/options.h"
#include "options/registry.h"
#include "res/resource.h"
#include "titles/titlelookup.h"
#include "ui/msgbox.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

const char oldKey[] = "SOFTWARE\\Veldane Software\\Spindle\\2.20\\CD Information";

std::string subkey(const char *name)
{
    return std::string(oldKey) + "\\" + name;
}

bool keyExists(const std::string &path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::string windowText(HWND window, int id)
{
    char text[256] = "";
    if (id)
        GetDlgItemTextA(window, id, text, sizeof text);
    else
        GetWindowTextA(window, text, sizeof text);
    return text;
}

class Conversion : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::reset();
        options = defaultOptions;
        registry_.createKey(OPTIONS_KEY);
    }
    void TearDown() override { EXPECT_TRUE(harness::pumpUntil([] { return statusWindowHandle() == nullptr; })); }

    void addEntry(const char *name, const char *layout, const char *artist = "Artist", const char *title = "Title")
    {
        registry_.createKey(subkey(name).c_str());
        if (artist)
            registry_.setString(subkey(name).c_str(), "Artist", artist);
        if (title)
            registry_.setString(subkey(name).c_str(), "Title", title);
        if (layout)
            registry_.setString(subkey(name).c_str(), "cddbID", layout);
    }
    bool converted()
    {
        DWORD type = 0;
        std::string bytes;
        return registry_.read(OPTIONS_KEY, "Converted", &type, &bytes) && type == REG_DWORD &&
               bytes == std::string("\1\0\0\0", 4);
    }

    harness::RegistrySandbox registry_;
};

const char twoTracks[] = "1a02b403 2 150 15150 420";

TEST_F(Conversion, EntryBecomesADatabaseRecord)
{
    std::string longArtist(300, 'a'), longTrack(300, 't');
    addEntry("1A2B3C4D", twoTracks, longArtist.c_str(), "Old Title");
    registry_.setString(subkey("1A2B3C4D").c_str(), "Track #2", longTrack);
    addEntry("5E6F", "0c01d802 1 182 95", "Plain", nullptr);
    harness::MessageBoxRecorder boxes(IDNO);
    convertRegistryTitles();

    EXPECT_EQ(fake::entryField(0x1A2B3C4D, "artist"), std::string(255, 'a'));
    EXPECT_EQ(fake::entryField(0x1A2B3C4D, "discTitle"), "Old Title");
    EXPECT_EQ(fake::entryField(0x1A2B3C4D, "discText"), "<null>");
    EXPECT_EQ(fake::entryField(0x1A2B3C4D, "trackCount"), "2");
    EXPECT_EQ(fake::entryField(0x1A2B3C4D, "startFrames"), "150,15150,31500");
    EXPECT_EQ(fake::entryField(0x1A2B3C4D, "trackTitles:1"), "<null>");
    EXPECT_EQ(fake::entryField(0x1A2B3C4D, "trackTitles:2"), longTrack);
    EXPECT_EQ(fake::entryField(0x1A2B3C4D, "trackTexts:2"), "<null>");
    EXPECT_EQ(fake::entryField(0x1A2B3C4D, "cddbEntry"), "0");
    EXPECT_EQ(fake::entryField(0x1A2B3C4D, "program"), "");
    // No "Track #" values: the layout and the texts, no track titles.
    EXPECT_EQ(fake::entryField(0x5E6F, "artist"), "Plain");
    EXPECT_EQ(fake::entryField(0x5E6F, "discTitle"), "<null>");
    EXPECT_EQ(fake::entryField(0x5E6F, "startFrames"), "182,7125");
    EXPECT_EQ(fake::entryField(0x5E6F, "trackTitles:1"), "<null>");
    EXPECT_EQ(fake::callsTo("db_").size(), 6u) << fake::callLog();
    EXPECT_EQ(fake::calls()[0], "db_lock()");
    EXPECT_EQ(fake::calls()[2], "db_unlock()");
}

// Entries that cannot be read safely are left out; the others still go over.
struct SkipCase {
    const char *name;
    const char *subkey;
    const char *layout;   // null: no cddbID value
};

void PrintTo(const SkipCase &c, std::ostream *os)
{
    *os << c.name;
}

class SkippedEntry : public Conversion, public ::testing::WithParamInterface<SkipCase> {};

TEST_P(SkippedEntry, IsNotWrittenAndTheRestIs)
{
    const SkipCase &c = GetParam();
    addEntry("AB", twoTracks);
    addEntry(c.subkey, c.layout);
    harness::MessageBoxRecorder boxes(IDNO);
    convertRegistryTitles();
    EXPECT_EQ(fake::callsTo("db_write_entry"), (std::vector<std::string>{"db_write_entry(0xAB)"}));
    EXPECT_EQ(boxes.count(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SkippedEntry,
    ::testing::Values(SkipCase{"NoLayout", "CD", nullptr}, SkipCase{"ShortLayout", "CD", "1a02 2 1"},
                      SkipCase{"NoTracks", "CD", "1a02b403 0 150 420"},
                      SkipCase{"NegativeCount", "CD", "1a02b403 -2 150 420"},
                      SkipCase{"FewerNumbersThanAnnounced", "CD", "1a02b403 5 150 15150 420"},
                      SkipCase{"MoreTracksThanADisc", "CD", "1a02b403 150 150 15150 420"},
                      SkipCase{"LengthTooLarge", "CD", "1a02b403 1 150 99999999999"},
                      SkipCase{"NameNotHexadecimal", "Disc", twoTracks},
                      SkipCase{"NameWithTrailingText", "12AB old", twoTracks},
                      SkipCase{"NameTooLongForAnId", "123456789", twoTracks}),
    [](const ::testing::TestParamInfo<SkipCase> &info) { return std::string(info.param.name); });

TEST_F(Conversion, QuestionWithTheStatusWindowOpenAndTheFlagSet)
{
    addEntry("AB", twoTracks);
    std::string title, text;
    bool flagSet = false;
    std::vector<harness::Box> boxes;
    setMessageHook([&](HWND owner, const char *boxText, const char *caption, UINT flags) {
        boxes.push_back({owner, boxText, caption, flags});
        HWND window = statusWindowHandle();
        title = window ? windowText(window, 0) : "<no window>";
        text = window ? windowText(window, IDC_STATUS_TEXT) : "<no window>";
        flagSet = converted();
        return IDNO;
    });
    convertRegistryTitles();
    setMessageHook(nullptr);
    EXPECT_EQ(title, "Please Wait");
    EXPECT_EQ(text, "Converting CD information from registry...");
    EXPECT_TRUE(flagSet) << "Converted is set before the question";
    ASSERT_EQ(boxes.size(), 1u);
    harness::Box box = boxes[0];
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.caption, "Spindle2 Convert");
    EXPECT_EQ(box.flags, (UINT)(MB_SYSTEMMODAL | MB_ICONQUESTION | MB_YESNO));
    EXPECT_EQ(box.text, "Spindle2 has converted previous CD title entries from the Windows\r\n"
                        "Registry to the new Spindle2 database outside the Registry.\r\n\r\n"
                        "It is highly recommended that you allow Spindle2 to remove the old\r\n"
                        "entries from the Windows Registry now.\r\n\r\n"
                        "You will not be asked this question again.\r\n\r\n"
                        "Do you want to continue?");
}

// The answer, the old key's contents and a second start.
struct AnswerCase {
    const char *name;
    std::vector<const char *> subkeys;
    int answer;
    size_t questions;
    bool subkeysStay;
};

void PrintTo(const AnswerCase &c, std::ostream *os)
{
    *os << c.name;
}

class Answer : public Conversion, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(Answer, DecidesWhatStaysAndASecondStartDoesNothing)
{
    const AnswerCase &c = GetParam();
    registry_.createKey(oldKey);
    for (const char *name : c.subkeys)
        addEntry(name, twoTracks);
    {
        harness::MessageBoxRecorder boxes(c.answer);
        convertRegistryTitles();
        EXPECT_EQ(boxes.count(), c.questions);
    }
    EXPECT_TRUE(converted());
    EXPECT_TRUE(keyExists(oldKey)) << "the old key itself stays";
    for (const char *name : c.subkeys)
        EXPECT_EQ(keyExists(subkey(name)), c.subkeysStay) << name;
    EXPECT_EQ(fake::callsTo("db_write_entry").size(), c.subkeys.size());

    // Second start: no conversion, no status window, no question. (A window
    // opened would still be there right after the call: closing is posted.)
    ASSERT_TRUE(harness::pumpUntil([] { return statusWindowHandle() == nullptr; }));
    fake::clearCalls();
    harness::MessageBoxRecorder again(IDYES);
    convertRegistryTitles();
    EXPECT_EQ(statusWindowHandle(), nullptr);
    EXPECT_EQ(again.count(), 0u);
    EXPECT_TRUE(fake::calls().empty()) << fake::callLog();
    for (const char *name : c.subkeys)
        EXPECT_EQ(keyExists(subkey(name)), c.subkeysStay) << name;
}

INSTANTIATE_TEST_SUITE_P(Cases, Answer,
                         ::testing::Values(AnswerCase{"NoKeepsTheSubkeys", {"AB", "CD", "1234"}, IDNO, 1, true},
                                           AnswerCase{"YesDeletesTheSubkeys", {"AB", "CD", "1234"}, IDYES, 1, false},
                                           AnswerCase{"EmptyKeyAsksNothing", {}, IDNO, 0, true}),
                         [](const ::testing::TestParamInfo<AnswerCase> &info) { return std::string(info.param.name); });

TEST_F(Conversion, YesDeletesTheSkippedEntriesToo)
{
    addEntry("AB", twoTracks);
    addEntry("Junk", nullptr);
    harness::MessageBoxRecorder boxes(IDYES);
    convertRegistryTitles();
    EXPECT_FALSE(keyExists(subkey("Junk")));
    EXPECT_FALSE(keyExists(subkey("AB")));
}

TEST_F(Conversion, MissingOldKeyOnlySetsTheFlag)
{
    harness::MessageBoxRecorder boxes(IDYES);
    convertRegistryTitles();
    EXPECT_TRUE(converted());
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_TRUE(fake::calls().empty());
    EXPECT_FALSE(keyExists(oldKey)) << "no key is created";
}

// A copy that was never installed has no options key: the flag makes it, so
// the second start converts nothing and asks nothing.
TEST_F(Conversion, WithoutTheOptionsKeyTheFlagStillHolds)
{
    ASSERT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, OPTIONS_KEY), ERROR_SUCCESS);
    HKEY gone;
    ASSERT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, OPTIONS_KEY, 0, KEY_READ, &gone), ERROR_SUCCESS);
    addEntry("AB", twoTracks);
    harness::MessageBoxRecorder boxes(IDNO);
    convertRegistryTitles();
    EXPECT_TRUE(converted());
    EXPECT_EQ(boxes.count(), 1u);
    fake::reset();
    convertRegistryTitles();
    EXPECT_EQ(boxes.count(), 1u) << "the second start asks nothing";
    EXPECT_TRUE(fake::calls().empty());
}

TEST_F(Conversion, FlagAlreadySetConvertsNothing)
{
    registry_.setDword(OPTIONS_KEY, "Converted", 1);
    addEntry("AB", twoTracks);
    harness::MessageBoxRecorder boxes(IDYES);
    convertRegistryTitles();
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_TRUE(fake::calls().empty());
    EXPECT_TRUE(keyExists(subkey("AB")));
}

} // namespace
