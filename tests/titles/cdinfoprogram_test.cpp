// The "Track Programming" page: building the program with Add, Remove, Add
// All, Remove All, double clicks and the move buttons, with the buttons
// enabled as the selection allows.
#include "cdinfofixture.h"

namespace {

using namespace cdinfotest;
using playertest::tracks;

class ProgramPageTest : public CdInfoSheetTest {};

enum Action { Open, ChooseTrack, Add, DoubleClickTrack, AddAll, RemoveAll, ChooseEntry, Remove, DoubleClickEntry, Up, Down };

struct Step {
    Action action;
    int line;                 // for the choices and double clicks (0-based)
    std::vector<int> program; // the program listed afterwards
    const char *buttons;      // Add, Remove, Add All, Remove All, up, down: 1 enabled
    int selected;             // the program line selected afterwards, -1 none
};

const int buttonIds[] = {IDC_PROGRAM_ADD, IDC_PROGRAM_REMOVE, IDC_PROGRAM_ADD_ALL,
                         IDC_PROGRAM_REMOVE_ALL, IDC_PROGRAM_UP, IDC_PROGRAM_DOWN};

std::string buttonStates(HWND page)
{
    std::string states;
    for (int id : buttonIds)
        states += enabled(page, id) ? '1' : '0';
    return states;
}

void act(HWND page, const Step &step)
{
    switch (step.action) {
    case Open:             break;
    case ChooseTrack:      chooseLine(page, IDC_PROGRAM_DISC_ORDER, step.line); break;
    case Add:              click(page, IDC_PROGRAM_ADD); break;
    case DoubleClickTrack: doubleClickLine(page, IDC_PROGRAM_DISC_ORDER, step.line); break;
    case AddAll:           click(page, IDC_PROGRAM_ADD_ALL); break;
    case RemoveAll:        click(page, IDC_PROGRAM_REMOVE_ALL); break;
    case ChooseEntry:      chooseLine(page, IDC_PROGRAM_LIST, step.line); break;
    case Remove:           click(page, IDC_PROGRAM_REMOVE); break;
    case DoubleClickEntry: doubleClickLine(page, IDC_PROGRAM_LIST, step.line); break;
    case Up:               click(page, IDC_PROGRAM_UP); break;
    case Down:             click(page, IDC_PROGRAM_DOWN); break;
    }
}

// The lines of a program on the three-track disc (3:20 each, no titles).
Lines programLines(const std::vector<int> &program)
{
    Lines lines;
    for (int track : program)
        lines.push_back(std::to_string(track) + ") 3:20");
    return lines;
}

TEST_F(ProgramPageTest, EveryActionShowsTheProgramAndEnablesWhatTheSelectionAllows)
{
    load({{"D:", tracks(3)}});
    playertest::setProgram(1, {2});
    const Step steps[] = {
        {Open, 0, {2}, "001100", -1},
        {Remove, 0, {2}, "001100", -1},                 // nothing selected: nothing removed
        {Up, 0, {2}, "001100", -1},
        {ChooseTrack, 0, {2}, "101100", -1},
        {Add, 0, {2, 1}, "101100", -1},
        {Add, 0, {2, 1, 1}, "101100", -1},              // a track added twice stays twice
        {ChooseEntry, 0, {2, 1, 1}, "111101", 0},
        {Down, 0, {1, 2, 1}, "111111", 1},
        {Down, 0, {1, 1, 2}, "111110", 2},
        {Down, 0, {1, 1, 2}, "111110", 2},              // the last entry goes no further
        {Up, 0, {1, 2, 1}, "111111", 1},
        {Remove, 0, {1, 1}, "101100", -1},
        {DoubleClickTrack, 2, {1, 1, 3}, "101100", -1},
        {DoubleClickEntry, 0, {1, 3}, "101100", -1},
        {RemoveAll, 0, {}, "101000", -1},
        {AddAll, 0, {1, 2, 3}, "101100", -1},
        {ChooseEntry, 2, {1, 2, 3}, "111110", 2},
        {Up, 0, {1, 3, 2}, "111111", 1},
    };
    bool changed = false;
    onPage(
        ProgramPage,
        [&](HWND page) {
            EXPECT_EQ(listLines(page, IDC_PROGRAM_DISC_ORDER), (Lines{"1) 3:20", "2) 3:20", "3) 3:20"}));
            int n = 0;
            for (const Step &step : steps) {
                act(page, step);
                EXPECT_EQ(listLines(page, IDC_PROGRAM_LIST), programLines(step.program)) << "step " << n;
                EXPECT_EQ(buttonStates(page), step.buttons) << "step " << n;
                EXPECT_EQ(selection(page, IDC_PROGRAM_LIST), step.selected) << "step " << n;
                ++n;
            }
        },
        true, &changed);
    EXPECT_TRUE(changed);
    EXPECT_EQ(program(1), (std::vector<int>{1, 3, 2}));
}

TEST_F(ProgramPageTest, TheMoveButtonsCarryTheArrowIcons)
{
    load({{"D:", tracks(3)}});
    onPage(ProgramPage, [](HWND page) {
        for (int id : {IDC_PROGRAM_UP, IDC_PROGRAM_DOWN}) {
            EXPECT_TRUE(GetWindowLongA(GetDlgItem(page, id), GWL_STYLE) & BS_ICON) << id;
            EXPECT_NE(SendDlgItemMessageA(page, id, BM_GETIMAGE, IMAGE_ICON, 0), 0) << id;
        }
    });
}

TEST_F(ProgramPageTest, RemoveAllLeavesTheDiscWithoutAProgram)
{
    load({{"D:", tracks(3)}});
    playertest::setProgram(1, {3, 3});
    onPage(ProgramPage, [](HWND page) { click(page, IDC_PROGRAM_REMOVE_ALL); });
    EXPECT_EQ(driveEntry(1)->title.programLength, 0);
    EXPECT_EQ(driveEntry(1)->title.programList, nullptr);
}

TEST_F(ProgramPageTest, EachDriveKeepsItsProgramWhenTheDriveBoxChanges)
{
    load({{"D:", tracks(3)}, {"E:", tracks(2, 100, 0x400)}});
    onPage(ProgramPage, [](HWND page) {
        doubleClickLine(page, IDC_PROGRAM_DISC_ORDER, 1);
        chooseDrive(page, 2);
        EXPECT_TRUE(listLines(page, IDC_PROGRAM_LIST).empty());
        EXPECT_EQ(buttonStates(page), "001000");
        click(page, IDC_PROGRAM_ADD_ALL);
        chooseDrive(page, 1);
        EXPECT_EQ(listLines(page, IDC_PROGRAM_LIST), Lines{"2) 3:20"});
    });
    EXPECT_EQ(program(1), std::vector<int>{2});
    EXPECT_EQ(program(2), (std::vector<int>{1, 2}));
}

TEST_F(ProgramPageTest, ADriveWithoutADiscShowsEmptyListsAndNoButtons)
{
    load({{"D:", tracks(3)}});
    playertest::setProgram(1, {1});
    onPage(ProgramPage, [](HWND page) {
        chooseDrive(page, 2);
        EXPECT_TRUE(listLines(page, IDC_PROGRAM_DISC_ORDER).empty());
        EXPECT_TRUE(listLines(page, IDC_PROGRAM_LIST).empty());
        EXPECT_EQ(buttonStates(page), "000000");
        EXPECT_FALSE(enabled(page, IDC_PROGRAM_DISC_ORDER));
        EXPECT_FALSE(enabled(page, IDC_PROGRAM_LIST));
    });
    EXPECT_EQ(program(1), std::vector<int>{1});
}

} // namespace
