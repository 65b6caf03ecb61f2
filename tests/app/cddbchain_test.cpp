// The main window's side of CDDB lookups: a disc that arrives during a
// lookup waits in lookupPending and is looked up after it; the three
// commands stay grayed until the timer after the last run.
#include "app/mainfixture.h"

#include "cddb/cddbsession.h"
#include "ui/menus.h"

#include <atomic>

namespace {

bool grayed(HMENU menu, int id)
{
    return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

class CddbChain : public maintest::MainWindowTest {};

TEST_F(CddbChain, DiscArrivingDuringALookupFollowsIt)
{
    registry.setDword(OPTIONS_KEY, "cddbQueryLocal", 1);
    registry.setString(OPTIONS_KEY, "cddbLocalRoot", "C:\\cddb");
    registry.setDword(OPTIONS_KEY, "cddbQueryShowStatus", 0);
    fake::setResult("cddb_query_local", 1);
    fake::setCddbText("cddb_get_artist", "Found Artist");
    HANDLE reached = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE open = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> queries{0};
    fake::setPause("cddb_query_local", [&] {
        if (queries++ == 0) {
            SetEvent(reached);
            WaitForSingleObject(open, 20000);
        }
    });

    startWith({});
    EXPECT_EQ(lookupRunning, 0);
    fake::insertDisc("D:", playertest::tracks(3, 200, 0x31));
    discInserted(1);
    ASSERT_EQ(WaitForSingleObject(reached, 10000), (DWORD)WAIT_OBJECT_0);
    EXPECT_EQ(lookupRunning, 1);
    for (int id : {IDM_PROPERTIES, IDM_QUERY_CDDB, IDM_SUBMIT_CDDB}) {
        EXPECT_TRUE(grayed(trayMenu, id)) << id;
        EXPECT_TRUE(grayed(panelMenu, id)) << id;
    }

    fake::insertDisc("E:", playertest::tracks(2, 100, 0x32));
    discInserted(2);
    EXPECT_EQ(driveEntry(2)->lookupPending, 1);
    SetEvent(open);

    EXPECT_TRUE(harness::pumpUntil([] {
        return driveEntry(1)->titleKnown && driveEntry(2)->titleKnown && !cddbJobRunning(CddbJobLookup);
    }, 15000));
    EXPECT_EQ(queries.load(), 2);
    // D:'s run wrote first, then the run that followed for E:.
    EXPECT_EQ(fake::callsTo("db_write_entry"), (maintest::Calls{"db_write_entry(0x31)", "db_write_entry(0x32)"}));
    EXPECT_EQ(fake::callsTo("cddb_query_local").size(), 2u);
    EXPECT_EQ(driveEntry(2)->lookupPending, 0);
    EXPECT_STREQ(driveEntry(2)->title.artist, "Found Artist");
    // Both fills were written to the title database.
    EXPECT_TRUE(fake::hasEntry(0x31));
    EXPECT_TRUE(fake::hasEntry(0x32));
    EXPECT_EQ(lookupRunning, 1);
    EXPECT_TRUE(grayed(trayMenu, IDM_QUERY_CDDB));

    timer(TIMER_LOOKUP_DONE);
    EXPECT_EQ(lookupRunning, 0);
    for (int id : {IDM_PROPERTIES, IDM_QUERY_CDDB, IDM_SUBMIT_CDDB}) {
        EXPECT_FALSE(grayed(trayMenu, id)) << id;
        EXPECT_FALSE(grayed(panelMenu, id)) << id;
    }
    fake::setPause("cddb_query_local", nullptr);
    CloseHandle(reached);
    CloseHandle(open);
}

// "Query CDDB..." looks the chosen drive up again, titles known or not;
// a cancelled choice starts nothing.
TEST_F(CddbChain, QueryCommandLooksTheChosenDriveUp)
{
    registry.setDword(OPTIONS_KEY, "cddbQueryLocal", 1);
    registry.setString(OPTIONS_KEY, "cddbLocalRoot", "C:\\cddb");
    registry.setDword(OPTIONS_KEY, "cddbQueryShowStatus", 0);
    fake::setResult("cddb_query_local", 1);
    fake::setCddbText("cddb_get_artist", "Again");
    fake::putEntry(0x41, fake::Entry{0, 0, 0, "Known"});
    startWith({{"D:", playertest::tracks(2, 100, 0x41)}});
    ASSERT_EQ(driveEntry(1)->titleKnown, 1);
    {
        harness::ModalRecorder dialogs(0);
        command(IDM_QUERY_CDDB);
        ASSERT_EQ(dialogs.runs().size(), 1u);
        EXPECT_EQ(dialogs.runs()[0].templateId, IDD_DRIVE_SELECT);
    }
    EXPECT_EQ(lookupRunning, 0);
    EXPECT_TRUE(fake::callsTo("cddb_query_local").empty());
    {
        harness::ModalRecorder dialogs(1);
        command(IDM_QUERY_CDDB);
    }
    EXPECT_EQ(lookupRunning, 1);
    EXPECT_TRUE(grayed(panelMenu, IDM_SUBMIT_CDDB));
    EXPECT_TRUE(harness::pumpUntil([] { return !cddbJobRunning(CddbJobLookup); }, 15000));
    EXPECT_STREQ(driveEntry(1)->title.artist, "Again");
    EXPECT_EQ(fake::entryField(0x41, "artist"), "Again");
}

} // namespace
