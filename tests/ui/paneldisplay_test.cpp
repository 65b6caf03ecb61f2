// The control panel's display area: display type 0 shows the status line
// (1051) and hides the title line (1055), type 1 the other way round, and
// any other value leaves both as they were.
#include "app/mainfixture.h"

#include "options/options.h"
#include "res/resource.h"
#include "ui/panel.h"

#include <ostream>
#include <string>

namespace {

struct DisplayCase {
    const char *name;
    bool statusBefore, titleBefore;   // the lines' visibility beforehand
    int type;
    bool statusAfter, titleAfter;
};

// Test names in failure reports instead of the parameters' bytes.
void PrintTo(const DisplayCase &c, std::ostream *out)
{
    *out << c.name;
}

const DisplayCase displayCases[] = {
    {"StatusReplacesTitle", false, true, 0, true, false},
    {"StatusHidesASecondLine", true, true, 0, true, false},
    {"StatusShowsWhenNeitherWas", false, false, 0, true, false},
    {"TitleReplacesStatus", true, false, 1, false, true},
    {"TitleHidesASecondLine", true, true, 1, false, true},
    {"TitleShowsWhenNeitherWas", false, false, 1, false, true},
    {"TypeFiveKeepsTheStatusLine", true, false, 5, true, false},
    {"TypeFiveKeepsTheTitleLine", false, true, 5, false, true},
    {"TypeTwoChangesNothing", true, true, 2, true, true},
    {"NegativeTypeChangesNothing", false, false, -1, false, false},
};

class DisplayLines : public maintest::MainWindowTest {
protected:
    void setShown(int id, bool shown) { ShowWindow(GetDlgItem(mainWindow, id), shown ? SW_SHOW : SW_HIDE); }
    // The line's own visible bit: the panel itself may be hidden.
    bool shown(int id) { return (GetWindowLongA(GetDlgItem(mainWindow, id), GWL_STYLE) & WS_VISIBLE) != 0; }
};

class DisplayType : public DisplayLines, public ::testing::WithParamInterface<DisplayCase> {};

TEST_P(DisplayType, ShowsOneLineOrLeavesThemAlone)
{
    const DisplayCase &c = GetParam();
    ASSERT_TRUE(start());
    ASSERT_TRUE(GetDlgItem(mainWindow, IDC_STATUS_LINE));
    ASSERT_TRUE(GetDlgItem(mainWindow, IDC_TITLE_LINE));
    setShown(IDC_STATUS_LINE, c.statusBefore);
    setShown(IDC_TITLE_LINE, c.titleBefore);
    options.ControlsDisplayType = c.type;
    applyDisplayType();
    EXPECT_EQ(shown(IDC_STATUS_LINE), c.statusAfter) << "status line 1051";
    EXPECT_EQ(shown(IDC_TITLE_LINE), c.titleAfter) << "title line 1055";
}

INSTANTIATE_TEST_SUITE_P(Panel, DisplayType, ::testing::ValuesIn(displayCases),
                         [](const ::testing::TestParamInfo<DisplayCase> &info) { return std::string(info.param.name); });

TEST_F(DisplayLines, StartUpShowsTheStoredType)
{
    registry.setDword(OPTIONS_KEY, "ControlsDisplayType", 1);
    ASSERT_TRUE(start());
    EXPECT_FALSE(shown(IDC_STATUS_LINE));
    EXPECT_TRUE(shown(IDC_TITLE_LINE));
}

} // namespace
