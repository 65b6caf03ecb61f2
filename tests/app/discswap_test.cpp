// A disc swapped for another without an empty moment between (an image
// written over the old one): the polls treat it as the old disc leaving and
// the new one arriving, so nothing of the old disc is shown, played or
// written for the new one.
#include "mainfixture.h"

#include "titles/cdplayerini.h"
#include "titles/titlerecord.h"
#include "ui/menus.h"

#include <iterator>
#include <ostream>

namespace {

using namespace maintest;
using playertest::tracks;

std::string menuItemText(HMENU menu, int position)
{
    char text[256] = "";
    GetMenuStringA(menu, (UINT)position, text, sizeof text, MF_BYPOSITION);
    return text;
}

const uint32_t oldD = 0xD1, oldE = 0xE1, newDisc = 0x5A1;

struct SwapCase {
    const char *name;
    const char *drive;      // the drive whose disc is swapped, or null for none
    int timer;              // the poll that runs
    bool newDiscKnown;      // the database knows the new disc
    Calls keyCalls;         // the poll's checks, reads, lookups and play commands
    std::string dMenu, eMenu;
    int current;            // the current drive afterwards
};

void PrintTo(const SwapCase &c, std::ostream *os)
{
    *os << c.name;
}

class DiscSwap : public MainWindowTest, public ::testing::WithParamInterface<SwapCase> {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        registry.setDword(OPTIONS_KEY, "Converted", 1);
        // No Cdplayer.ini of the machine's own gets in.
        setCdPlayerIniFile((harness::scratchFolder() + "\\Cdplayer.ini").c_str());
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        setCdPlayerIniFile(nullptr);
    }
};

TEST_P(DiscSwap, OldDiscLeavesAndTheNewOneArrives)
{
    const SwapCase &c = GetParam();
    fake::Entry d, e, fresh;
    d.artist = "Old D";
    e.artist = "Old E";
    fresh.artist = "New Disc";
    fake::putEntry(oldD, d);
    fake::putEntry(oldE, e);
    if (c.newDiscKnown)
        fake::putEntry(newDisc, fresh);
    startWith({{"D:", tracks(4, 200, oldD)}, {"E:", tracks(2, 100, oldE)}});
    ASSERT_EQ(currentDrive, 1);
    ASSERT_EQ(playState, PlayStatePlaying);
    if (c.drive)
        fake::swapDisc(c.drive, tracks(3, 100, newDisc));
    fake::clearCalls();

    timer(c.timer);

    Calls calls;
    for (const std::string &call : fake::calls())
        for (const char *prefix : {"cd_disc_changed", "cd_read_data", "db_read_entry", "cd_play", "cd_stop"})
            if (call.rfind(prefix, 0) == 0)
                calls.push_back(call);
    EXPECT_EQ(calls, c.keyCalls) << fake::callLog();
    EXPECT_EQ(menuItemText(trayDriveMenu, 0), c.dMenu);
    EXPECT_EQ(menuItemText(trayDriveMenu, 1), c.eMenu);
    EXPECT_EQ(currentDrive, c.current);
    // The old disc's end is no end of a track: no track of it is played on.
    for (const std::string &call : fake::callsTo("cd_play"))
        EXPECT_EQ(call.find(",2,"), std::string::npos) << call;
    EXPECT_TRUE(fake::callsTo("db_write_entry").empty());
}

const Calls swappedE = {"cd_disc_changed(2)", "cd_read_data(2)", "db_read_entry(0x5A1)"};
const Calls swappedD = {"cd_disc_changed(1)", "cd_read_data(1)", "db_read_entry(0x5A1)"};

const SwapCase swapCases[] = {
    SwapCase{"NothingSwapped", nullptr, TIMER_MEDIA_POLL, true, {"cd_disc_changed(2)"},
             "D: 13:22 - Old D", "E: 3:22 - Old E", 1},
    SwapCase{"OtherDriveGetsTheNewTitles", "E:", TIMER_MEDIA_POLL, true, swappedE, "D: 13:22 - Old D",
             "E: 5:02 - New Disc", 1},
    SwapCase{"OtherDriveLosesTheOldTitles", "E:", TIMER_MEDIA_POLL, false, swappedE, "D: 13:22 - Old D",
             "E: 5:02", 1},
    SwapCase{"CurrentDriveGetsTheNewTitles", "D:", TIMER_STATUS_POLL, true, swappedD, "D: 5:02 - New Disc",
             "E: 3:22 - Old E", 2},
    SwapCase{"CurrentDriveLosesTheOldTitles", "D:", TIMER_STATUS_POLL, false, swappedD, "D: 5:02",
             "E: 3:22 - Old E", 2},
};

std::string caseName(const ::testing::TestParamInfo<SwapCase> &info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, DiscSwap, ::testing::ValuesIn(swapCases), caseName);

// The fill is asked only where a disc was swapped.
class DiscSwapFill : public DiscSwap {};

INSTANTIATE_TEST_SUITE_P(Cases, DiscSwapFill, ::testing::ValuesIn(swapCases + 1, std::end(swapCases)), caseName);

TEST_P(DiscSwapFill, NoOldTitleIsWrittenForTheNewDisc)
{
    const SwapCase &c = GetParam();
    fake::Entry d, e;
    d.artist = "Old D";
    e.artist = "Old E";
    fake::putEntry(oldD, d);
    fake::putEntry(oldE, e);
    startWith({{"D:", tracks(4, 200, oldD)}, {"E:", tracks(2, 100, oldE)}});
    fake::swapDisc(c.drive, tracks(3, 100, newDisc));
    timer(c.timer);
    // A CDDB fill for the drive arrives: what is written is the new disc's record.
    int drive = c.drive[0] == 'D' ? 1 : 2;
    {
        DriveLockHold hold;
        setText(driveEntry(drive)->title.discTitle, "Filled");
    }
    SendMessageA(mainWindow, WM_CDDB_DRIVE_FOUND, (WPARAM)drive, 0);
    EXPECT_EQ(fake::entryField(newDisc, "discTitle"), "Filled");
    EXPECT_EQ(fake::entryField(newDisc, "artist"), "<null>");
    EXPECT_EQ(fake::entryField(newDisc, "trackCount"), "3");
    EXPECT_EQ(fake::entryField(drive == 1 ? oldD : oldE, "discTitle"), "<null>") << "the old entry is left alone";
}

} // namespace
