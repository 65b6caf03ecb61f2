// The diagnostics log: its file, line format, the carriage-return rewrite,
// that nothing happens while it is closed, and that lines written from
// several threads (the CD library's) stay whole, also around the close.
#include "core/diaglog.h"
#include "harness/harness.h"

#include <atomic>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

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

// The library writes from its own threads while the program writes too, and
// a library thread may still write while the program closes the log: every
// line in the file is whole, nothing follows the closing line, and the late
// lines go nowhere.
TEST_F(DiagLog, LinesFromManyThreadsStayWholeAndLateOnesGoNowhere)
{
    logOpen();
    std::atomic<bool> stop{false};
    std::atomic<int> written{0};
    std::vector<std::thread> writers;
    for (int w = 0; w < 4; ++w)
        writers.emplace_back([w, &stop, &written] {
            for (int i = 0; !stop.load(); ++i) {
                logLinef("writer %d line %d", w, i);
                written.fetch_add(1);
            }
        });
    while (written.load() < 4000)
        Sleep(1);
    logClose();
    Sleep(20); // the writers go on past the close
    stop.store(true);
    for (std::thread &t : writers)
        t.join();

    std::istringstream lines(logText());
    std::regex whole(std::string("^") + linePattern + "(Diagnostic output initialized|writer \\d line \\d+|" +
                     "Diagnostic output closed)\r$");
    std::string line;
    std::string last;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        EXPECT_TRUE(std::regex_match(line, whole)) << "line " << count << ": " << line;
        if (!std::regex_match(line, whole))
            break;
        last = line;
    }
    EXPECT_GE(count, 4000);
    EXPECT_NE(last.find(" - Diagnostic output closed"), std::string::npos) << last;
}

} // namespace
