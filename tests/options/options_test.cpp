// Loading and saving the options record: defaults, limits, types, and the
// log lines that say what happened.
#include "core/diaglog.h"
#include "harness/harness.h"
#include "options/options.h"
#include "options/registry.h"

#include <cstring>

namespace {

class Options : public ::testing::Test {
protected:
    void SetUp() override
    {
        options = defaultOptions;
        folder = harness::scratchFolder();
        GetCurrentDirectoryA(sizeof previous, previous);
        SetCurrentDirectoryA(folder.c_str());
        logOpen();
    }
    void TearDown() override
    {
        logClose();
        SetCurrentDirectoryA(previous);
    }
    std::string logText()
    {
        logClose();
        return harness::readFile(folder + "\\diagnostics.log");
    }

    harness::RegistrySandbox registry;
    std::string folder;
    char previous[MAX_PATH] = "";
};

TEST_F(Options, WithoutTheKeyTheDefaultsStay)
{
    loadOptions();
    EXPECT_EQ(memcmp(&options, &defaultOptions, sizeof options), 0);
    EXPECT_EQ(options.ControlsVisibleAtStart, 1);
    EXPECT_EQ(options.ControlsOnTop, 1);
    EXPECT_EQ(options.ControlsX, 100);
    EXPECT_EQ(options.ControlsY, 50);
    EXPECT_EQ(options.ShuffleAllDrives, 1);
    EXPECT_EQ(options.StopAtExit, 1);
    EXPECT_EQ(options.IntroPlayStart, 0);
    EXPECT_EQ(options.IntroPlayLength, 10);
    EXPECT_EQ(options.cddbServerPort, 888);
    EXPECT_EQ(options.cddbProxyPort, 888);
    EXPECT_EQ(options.SMTPServerPort, 25);
    EXPECT_EQ(options.cddbQueryShowStatus, 1);
    EXPECT_EQ(options.cddbSubmitShowStatus, 1);
    EXPECT_STRNE(options.cddbServer, "");
    std::string log = logText();
    EXPECT_NE(log.find(" - Loading Spindle2 options.\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" - Unable to load Spindle2 options.\r\n"), std::string::npos) << log;
}

// A copy that was never installed keeps its options: the first save makes
// the key, and the next start loads what was saved.
TEST_F(Options, SavingWithoutTheKeyCreatesIt)
{
    options.ControlsX = 321;
    saveOptions();
    EXPECT_TRUE(registry.exists(OPTIONS_KEY, "ControlsX"));
    std::string log = logText();
    EXPECT_NE(log.find(" - Saving Spindle2 options.\r\n"), std::string::npos) << log;
    EXPECT_EQ(log.find(" - Unable to save Spindle2 options.\r\n"), std::string::npos) << log;
    options = defaultOptions;
    loadOptions();
    EXPECT_EQ(options.ControlsX, 321);
}

TEST_F(Options, SaveThenLoadKeepsEveryField)
{
    registry.createKey(OPTIONS_KEY);
    OptionsRecord changed = defaultOptions;
    changed.ControlsVisibleAtStart = 0;
    changed.ControlsX = -20;
    changed.ControlsY = 700;
    changed.ControlsDisplayType = 1;
    changed.TimeDisplayMode = 3;
    changed.IntroPlayStart = -1;
    changed.VolumeMixer = 2;
    changed.cddbUseProxy = 1;
    strcpy(changed.cddbLocalRoot, "C:\\cddb");
    strcpy(changed.cddbServer, "cddb.example.org");
    strcpy(changed.cddbProxy, "proxy.example.org");
    strcpy(changed.ReturnAddress, "me@example.org");
    strcpy(changed.SMTPServer, "");
    changed.SMTPServerPort = 2525;
    options = changed;
    saveOptions();

    options = defaultOptions;
    loadOptions();
    EXPECT_EQ(memcmp(&options, &changed, sizeof options), 0);
}

TEST_F(Options, IntegersAreSavedAsDwordsWhateverTheyWereBefore)
{
    registry.createKey(OPTIONS_KEY);
    registry.setString(OPTIONS_KEY, "ControlsX", "300", true);
    options.ControlsX = 321;
    saveOptions();
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(registry.read(OPTIONS_KEY, "ControlsX", &type, &bytes));
    EXPECT_EQ(type, (DWORD)REG_DWORD);
    ASSERT_EQ(bytes.size(), 4u);
    int32_t value;
    memcpy(&value, bytes.data(), 4);
    EXPECT_EQ(value, 321);
}

TEST_F(Options, EmptyTextIsSavedAsAnEmptyString)
{
    registry.createKey(OPTIONS_KEY);
    options.cddbProxy[0] = 0;
    saveOptions();
    DWORD type = 0;
    std::string bytes = "not read";
    ASSERT_TRUE(registry.read(OPTIONS_KEY, "cddbProxy", &type, &bytes));
    EXPECT_EQ(type, (DWORD)REG_SZ);
    EXPECT_EQ(bytes.size(), 0u);
}

TEST_F(Options, TextsAreStoredAsPlainStrings)
{
    registry.createKey(OPTIONS_KEY);
    strcpy(options.SMTPServer, "mail.example.org");
    saveOptions();
    std::string bytes;
    DWORD type = 0;
    ASSERT_TRUE(registry.read(OPTIONS_KEY, "SMTPServer", &type, &bytes));
    EXPECT_EQ(type, (DWORD)REG_SZ);
    // Wine's registry keeps strings terminated whatever length the writer
    // gave; the characters themselves must be exactly the text.
    if (!bytes.empty() && bytes.back() == '\0')
        bytes.pop_back();
    EXPECT_EQ(bytes, "mail.example.org");
}

struct TextLimitCase {
    const char *name;
    size_t length;
    bool loads;
};

class OptionTextLimits : public Options, public ::testing::WithParamInterface<TextLimitCase> {};

TEST_P(OptionTextLimits, LoadWholeUpToTheLimitAndNotBeyond)
{
    const TextLimitCase &c = GetParam();
    registry.createKey(OPTIONS_KEY);
    std::string stored(c.length, 'a');
    stored.back() = 'z';
    registry.setString(OPTIONS_KEY, c.name, stored);
    const char *field = strcmp(c.name, "cddbLocalRoot") == 0 ? options.cddbLocalRoot : options.cddbServer;
    std::string before = field;
    loadOptions();
    if (c.loads)
        EXPECT_EQ(std::string(field), stored);
    else
        EXPECT_EQ(std::string(field), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, OptionTextLimits,
                         ::testing::Values(TextLimitCase{"cddbServer", 1, true}, TextLimitCase{"cddbServer", 80, true},
                                           TextLimitCase{"cddbServer", 81, false},
                                           TextLimitCase{"cddbLocalRoot", 260, true},
                                           TextLimitCase{"cddbLocalRoot", 261, false}));

TEST_F(Options, ValuesOfTheWrongSizeLeaveTheirFields)
{
    registry.createKey(OPTIONS_KEY);
    uint16_t shortValue = 7;
    registry.setRaw(OPTIONS_KEY, "ControlsY", REG_BINARY, &shortValue, sizeof shortValue);
    uint64_t longValue = 9;
    registry.setRaw(OPTIONS_KEY, "StatusX", REG_QWORD, &longValue, sizeof longValue);
    registry.setDword(OPTIONS_KEY, "StatusY", 444);
    loadOptions();
    EXPECT_EQ(options.ControlsY, 50);
    EXPECT_EQ(options.StatusX, 100);
    EXPECT_EQ(options.StatusY, 444) << "the others are still read";
}

TEST_F(Options, NoRangeChecksOnLoad)
{
    registry.createKey(OPTIONS_KEY);
    registry.setDword(OPTIONS_KEY, "TimeDisplayMode", 9);
    registry.setDword(OPTIONS_KEY, "ControlsX", (uint32_t)-5000);
    loadOptions();
    EXPECT_EQ(options.TimeDisplayMode, 9);
    EXPECT_EQ(options.ControlsX, -5000);
}

} // namespace
