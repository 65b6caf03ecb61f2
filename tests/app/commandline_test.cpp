// The command line: a starting drive from the first three characters, and
// the diagnostics switch anywhere.
#include "app/startup.h"

#include <gtest/gtest.h>

namespace {

struct CommandLineCase {
    const char *line;
    const char *drive;
    int diagnostics;
};

class CommandLine : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLine, GivesDriveAndSwitch)
{
    const CommandLineCase &c = GetParam();
    char drive[3] = {'x', 'x', 'x'};
    int diagnostics = 0;
    parseCommandLine(c.line, drive, &diagnostics);
    EXPECT_STREQ(drive, c.drive) << "command line \"" << c.line << "\"";
    EXPECT_EQ(diagnostics, c.diagnostics) << "command line \"" << c.line << "\"";
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLine,
                         ::testing::Values(CommandLineCase{"", "", 0},
                                           CommandLineCase{"d:\\", "D:", 0},
                                           CommandLineCase{"D:\\", "D:", 0},
                                           CommandLineCase{"d:", "", 0},
                                           CommandLineCase{"d:/", "", 0},
                                           CommandLineCase{"E:\\ -d", "E:", 1},
                                           CommandLineCase{"-d", "", 1},
                                           CommandLineCase{"-D", "", 0},
                                           CommandLineCase{"C:\\my-dir", "C:", 1},
                                           CommandLineCase{"x -d e:\\", "", 1},
                                           CommandLineCase{"e:\\music", "E:", 0}));

TEST(CommandLineNull, NullLineGivesNothing)
{
    char drive[3] = "Q:";
    int diagnostics = 0;
    parseCommandLine(nullptr, drive, &diagnostics);
    EXPECT_STREQ(drive, "");
    EXPECT_EQ(diagnostics, 0);
}

} // namespace
