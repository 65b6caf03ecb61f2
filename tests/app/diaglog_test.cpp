// The diagnostics log: its file, line format, the carriage-return rewrite,
// and that nothing happens while it is closed.
#include "app/diaglog.h"
#include "harness/harness.h"

#include <regex>

namespace {

class DiagLog : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = harness::scratchFolder();
        GetCurrentDirectoryA(sizeof previous, previous);
        ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    }
    void TearDown() override
    {
        logClose();
        SetCurrentDirectoryA(previous);
    }
    std::string logText() { return harness::readFile(folder + "\\diagnostics.log"); }

    std::string folder;
    char previous[MAX_PATH] = "";
};

// Every line: "MM/DD/YY HH:MM:SS - text" and CR LF.
const char *const linePattern = "\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d - ";

TEST_F(DiagLog, OpenWriteCloseGivesPrefixedLinesInOrder)
{
    logOpen();
    char text[] = "Loading Spindle2 options.";
    logLine(text);
    logLinef("Number of CD-ROM's in system: %d", 2);
    logClose();

    std::string expected = std::string("^") + linePattern + "Diagnostic output initialized\r\n" + linePattern +
                           "Loading Spindle2 options\\.\r\n" + linePattern + "Number of CD-ROM's in system: 2\r\n" +
                           linePattern + "Diagnostic output closed\r\n$";
    EXPECT_TRUE(std::regex_match(logText(), std::regex(expected))) << logText();
}

TEST_F(DiagLog, CarriageReturnsBecomeBlanksInTheCallersBuffer)
{
    logOpen();
    char text[] = "first\r\nsecond\rthird";
    logLine(text);
    EXPECT_STREQ(text, "first \nsecond third");
    logClose();
    // The embedded line feed stays, and the line gets its own line break too.
    EXPECT_NE(logText().find(" - first \r\nsecond third\r\n"), std::string::npos) << logText();
}

TEST_F(DiagLog, ClosedLogTouchesNothing)
{
    char text[] = "a\rb";
    logLine(text);
    logLinef("formatted %d", 1);
    EXPECT_STREQ(text, "a\rb");
    EXPECT_FALSE(harness::fileExists(folder + "\\diagnostics.log"));
    logClose();
    EXPECT_FALSE(harness::fileExists(folder + "\\diagnostics.log"));
}

TEST_F(DiagLog, EachRunStartsANewFile)
{
    logOpen();
    logLinef("first run");
    logClose();
    logOpen();
    logLinef("second run");
    logClose();
    std::string text = logText();
    EXPECT_EQ(text.find("first run"), std::string::npos) << text;
    EXPECT_NE(text.find("second run"), std::string::npos) << text;
}

TEST_F(DiagLog, LongFormattedLinesAreCutNotOverrun)
{
    logOpen();
    std::string huge(5000, 'x');
    logLinef("%s", huge.c_str());
    logClose();
    std::string text = logText();
    EXPECT_NE(text.find(std::string(1000, 'x')), std::string::npos);
    EXPECT_EQ(text.find(std::string(1024, 'x')), std::string::npos);
}

} // namespace
