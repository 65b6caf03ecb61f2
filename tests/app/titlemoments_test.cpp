// When titles reach the title database: never at start-up or on a lookup,
// and at the write moments (a CDDB fill, the CD information sheet's OK)
// with exactly the calls of a write or a delete.
#include "mainfixture.h"

#include "titles/cdplayerini.h"
#include "titles/titlerecord.h"
#include "ui/menus.h"

#include <fstream>
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

class TitleMoments : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // Converted already: the registry conversion stays out of the call log.
        registry.setDword(OPTIONS_KEY, "Converted", 1);
        iniPath_ = harness::scratchFolder() + "\\Cdplayer.ini";
        setCdPlayerIniFile(iniPath_.c_str());
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        setCdPlayerIniFile(nullptr);
    }
    std::string iniPath_;
};

TEST_F(TitleMoments, StartUpShowsStoredAndImportedTitlesAndWritesNothing)
{
    fake::Entry stored;
    stored.artist = "Stored Artist";
    fake::putEntry(0xD1, stored);
    std::ofstream(iniPath_, std::ios::binary) << "[E1]\r\nartist=Imported Artist\r\n";
    fake::insertDisc("D:", tracks(4, 200, 0xD1));
    fake::insertDisc("E:", tracks(2, 100, 0xE1));
    ASSERT_NE(start(), nullptr);
    EXPECT_EQ(menuItemText(trayDriveMenu, 0), "D: 13:22 - Stored Artist");
    EXPECT_EQ(menuItemText(trayDriveMenu, 1), "E: 3:22 - Imported Artist");
    EXPECT_EQ(fake::callsTo("db_read_entry"), (Calls{"db_read_entry(0xD1)", "db_read_entry(0xE1)"}));
    EXPECT_TRUE(fake::callsTo("db_write_entry").empty());
    EXPECT_EQ(fake::unfreedReads(), 0);
}

// One write moment with the record as it then is.
struct MomentCase {
    const char *name;
    bool viaSheet;       // the sheet's OK, else a CDDB fill of D:
    bool sheetOk;
    Calls databaseCalls; // the db_ calls after the moment
};

void PrintTo(const MomentCase &c, std::ostream *os)
{
    *os << c.name;
}

class WriteMoment : public TitleMoments, public ::testing::WithParamInterface<MomentCase> {};

TEST_P(WriteMoment, WritesTheFilledRecordAndDeletesTheEmptyOne)
{
    const MomentCase &c = GetParam();
    startWith({{"D:", tracks(4, 200, 0xD1)}, {"E:", tracks(2, 100, 0xE1)}});
    {
        DriveLockHold hold;
        setText(driveEntry(1)->title.artist, "Filled Artist");
    }
    if (c.viaSheet) {
        harness::SheetRecorder sheets;
        sheets.setDriver([&](HWND sheet) {
            if (c.sheetOk)
                harness::pressSheetOk(sheet);
            else
                harness::pressSheetCancel(sheet);
        });
        fake::clearCalls();
        command(IDM_PROPERTIES);
    } else {
        SendMessageA(mainWindow, WM_CDDB_DRIVE_FOUND, 1, 0);
    }
    Calls databaseCalls;
    for (const std::string &call : fake::calls())
        if (call.rfind("db_", 0) == 0)
            databaseCalls.push_back(call);
    EXPECT_EQ(databaseCalls, c.databaseCalls);
    if (!c.databaseCalls.empty()) {
        EXPECT_EQ(fake::entryField(0xD1, "artist"), "Filled Artist");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteMoment,
    ::testing::Values(MomentCase{"CddbFillWritesThatDrive",
                                 false,
                                 false,
                                 {"db_lock()", "db_write_entry(0xD1)", "db_unlock()"}},
                      MomentCase{"SheetOkWritesEveryDrive",
                                 true,
                                 true,
                                 {"db_lock()", "db_write_entry(0xD1)", "db_unlock()",
                                  "db_lock()", "db_delete_entry(0xE1)", "db_unlock()"}},
                      MomentCase{"SheetCancelWritesNothing", true, false, {}}),
    [](const ::testing::TestParamInfo<MomentCase> &info) { return std::string(info.param.name); });

} // namespace
