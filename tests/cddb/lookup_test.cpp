// The lookup worker against the fake CD library: the calls of each local and
// remote result, their status texts and boxes, the fuzzy choice, the track
// positions, the all-drives run, and a disc that leaves during its lookup.
#include "cddb/cddbfixture.h"

#include "cddb/lookup.h"
#include "player/discevents.h"
#include "titles/titlerecord.h"

namespace {

using namespace cddbtest;

const char *const initCall = "cddb_init" COPYRIGHT_ARGS;

class Lookup : public CddbTest {
protected:
    // D: holds a two-track disc; the log starts afresh.
    void loadDisc()
    {
        closeDrives();
        fake::reset();
        load({{"D:", fake::audioDisc({180, 200}, 0x0D0D0D0D)}});
    }
    DWORD runWorker(int drive) { return lookupWorker(reinterpret_cast<LPVOID>((intptr_t)drive)); }
};

// Each path through the local and the remote lookup, by result code.
TEST_F(Lookup, CallsTextsAndBoxesOfEachResult)
{
    const char *const localBox = "Illegal local CDDB database format.";
    const char *const fileBox = "Illegal file found in local CDDB database.";
    struct Case {
        const char *name;
        bool local, server, proxy;
        const char *server_;      // the chosen server
        int localResult, remoteResult;
        int fuzzyChoice;          // the dialog's answer; -1: no dialog expected
        int fetchResult;
        Calls calls;
        const char *status;
        const char *box;          // "" for none
        const char *boxCaption;
        bool found;
    } cases[] = {
        {"local found", true, true, false, "cddb.example.org", 1, 0, -1, 0,
         {initCall, "cddb_set_local_root(100,\"C:\\cddb\")", "cddb_query_local(100)", "cddb_get_artist(100)",
          "cddb_cleanup(100)"},
         "Found CD in local CDDB database.", "", "", true},
        {"local not found, no server", true, false, false, "cddb.example.org", -1, 0, -1, 0,
         {initCall, "cddb_set_local_root(100,\"C:\\cddb\")", "cddb_query_local(100)", "cddb_cleanup(100)"},
         "CD not found in local CDDB database.", "", "", false},
        {"bad tree, then the server finds it", true, true, false, "cddb.example.org", -2, 1, -1, 0,
         {initCall, "cddb_set_local_root(100,\"C:\\cddb\")", "cddb_query_local(100)", "cddb_cleanup(100)",
          "platter_net_init()", initCall, "cddb_set_server_info(101,\"cddb.example.org\",8880)",
          "cddb_query_remote(101)", "cddb_get_artist(101)", "cddb_cleanup(101)", "platter_net_cleanup()"},
         "Found CD on remote CDDB server.", localBox, "Local CDDB Query Error", true},
        {"bad file in the tree", true, false, false, "cddb.example.org", -3, 0, -1, 0,
         {initCall, "cddb_set_local_root(100,\"C:\\cddb\")", "cddb_query_local(100)", "cddb_cleanup(100)"},
         "Illegal database format.", fileBox, "Local CDDB Query Error", false},
        {"local 0", true, false, false, "cddb.example.org", 0, 0, -1, 0,
         {initCall, "cddb_set_local_root(100,\"C:\\cddb\")", "cddb_query_local(100)", "cddb_cleanup(100)"},
         "Unknown error searching local CDDB database.", "", "", false},
        {"remote exact", false, true, false, "cddb.example.org", 0, 1, -1, 0,
         {"platter_net_init()", initCall, "cddb_set_server_info(100,\"cddb.example.org\",8880)",
          "cddb_query_remote(100)", "cddb_get_artist(100)", "cddb_cleanup(100)", "platter_net_cleanup()"},
         "Found CD on remote CDDB server.", "", "", true},
        {"remote none", false, true, false, "cddb.example.org", 0, -1, -1, 0,
         {"platter_net_init()", initCall, "cddb_set_server_info(100,\"cddb.example.org\",8880)",
          "cddb_query_remote(100)", "cddb_cleanup(100)", "platter_net_cleanup()"},
         "CD not found on remote server.", "", "", false},
        {"server unknown", false, true, false, "cddb.example.org", 0, -4, -1, 0,
         {"platter_net_init()", initCall, "cddb_set_server_info(100,\"cddb.example.org\",8880)",
          "cddb_query_remote(100)", "cddb_cleanup(100)", "platter_net_cleanup()"},
         "Unable to find selected server.", "", "", false},
        {"no connection", false, true, false, "cddb.example.org", 0, -5, -1, 0,
         {"platter_net_init()", initCall, "cddb_set_server_info(100,\"cddb.example.org\",8880)",
          "cddb_query_remote(100)", "cddb_cleanup(100)", "platter_net_cleanup()"},
         "Unable to connect to selected server.", "", "", false},
        {"other remote error", false, true, false, "cddb.example.org", 0, -9, -1, 0,
         {"platter_net_init()", initCall, "cddb_set_server_info(100,\"cddb.example.org\",8880)",
          "cddb_query_remote(100)", "cddb_cleanup(100)", "platter_net_cleanup()"},
         "Unknown error occurred during CDDB query.", "", "", false},
        {"server gone (differs in case)", false, true, false, "CDDB.example.org", 0, 1, -1, 0,
         {"platter_net_init()", initCall, "cddb_cleanup(100)", "platter_net_cleanup()"}, "Invalid CDDB server.",
         SERVER_GONE_TEXT, "Remote CDDB Query Error", false},
        {"through the proxy, server not listed", false, true, true, "elsewhere.example.org", 0, 1, -1, 0,
         {"platter_net_init()", initCall, "cddb_set_server_info(100,\"proxy.example.org\",3128)",
          "cddb_set_proxy_target(100,\"elsewhere.example.org\")", "cddb_query_remote(100)", "cddb_get_artist(100)",
          "cddb_cleanup(100)", "platter_net_cleanup()"},
         "Found CD on remote CDDB server.", "", "", true},
        {"fuzzy, second match taken", false, true, false, "cddb.example.org", 0, 3, 2, 1,
         {"platter_net_init()", initCall, "cddb_set_server_info(100,\"cddb.example.org\",8880)",
          "cddb_query_remote(100)", "cddb_get_num_fuzzy(100)", "cddb_set_id(100,0x0A0B0C0D)",
          "cddb_set_category_name(100,\"rock\")", "cddb_fetch_remote(100)", "cddb_get_artist(100)",
          "cddb_cleanup(100)", "platter_net_cleanup()"},
         "Found CD on remote CDDB server.", "", "", true},
        {"fuzzy, not in list", false, true, false, "cddb.example.org", 0, 3, 0, 1,
         {"platter_net_init()", initCall, "cddb_set_server_info(100,\"cddb.example.org\",8880)",
          "cddb_query_remote(100)", "cddb_get_num_fuzzy(100)", "cddb_cleanup(100)", "platter_net_cleanup()"},
         "Looking on remote CDDB server for CD.", "", "", false},
        {"fuzzy, fetch cannot connect", false, true, false, "cddb.example.org", 0, 3, 2, -5,
         {"platter_net_init()", initCall, "cddb_set_server_info(100,\"cddb.example.org\",8880)",
          "cddb_query_remote(100)", "cddb_get_num_fuzzy(100)", "cddb_set_id(100,0x0A0B0C0D)",
          "cddb_set_category_name(100,\"rock\")", "cddb_fetch_remote(100)", "cddb_cleanup(100)",
          "platter_net_cleanup()"},
         "Unable to connect to selected server.", "", "", false},
        {"fuzzy, fetch finds no server", false, true, false, "cddb.example.org", 0, 3, 1, -4,
         {"platter_net_init()", initCall, "cddb_set_server_info(100,\"cddb.example.org\",8880)",
          "cddb_query_remote(100)", "cddb_get_num_fuzzy(100)", "cddb_set_id(100,0x01010101)",
          "cddb_set_category_name(100,\"blues\")", "cddb_fetch_remote(100)", "cddb_cleanup(100)",
          "platter_net_cleanup()"},
         "Unable to find selected server.", "", "", false},
        {"fuzzy, fetch fails otherwise", false, true, false, "cddb.example.org", 0, 3, 1, 0,
         {"platter_net_init()", initCall, "cddb_set_server_info(100,\"cddb.example.org\",8880)",
          "cddb_query_remote(100)", "cddb_get_num_fuzzy(100)", "cddb_set_id(100,0x01010101)",
          "cddb_set_category_name(100,\"blues\")", "cddb_fetch_remote(100)", "cddb_cleanup(100)",
          "platter_net_cleanup()"},
         "Unknown error occurred during CDDB fetch.", "", "", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        loadDisc();
        options.cddbQueryLocal = c.local;
        options.cddbQueryServer = c.server;
        options.cddbUseProxy = c.proxy;
        snprintf(options.cddbProxy, sizeof options.cddbProxy, "proxy.example.org");
        options.cddbProxyPort = 3128;
        snprintf(options.cddbServer, sizeof options.cddbServer, "%s", c.server_);
        // An old list: only the proxy case may leave it unfetched.
        registry.setDword(CDDB_KEY, "LastServerUpdate", c.proxy ? 0 : (uint32_t)time(nullptr));
        fake::setResult("cddb_query_local", c.localResult);
        fake::setResult("cddb_query_remote", c.remoteResult);
        fake::setResult("cddb_fetch_remote", c.fetchResult);
        fake::setResult("cddb_get_num_fuzzy", 2);
        fake::setCddbText("cddb_get_fuzzy_id:1", "01010101");
        fake::setCddbText("cddb_get_fuzzy_category:1", "blues");
        fake::setCddbText("cddb_get_fuzzy_id:2", "0A0B0C0D");
        fake::setCddbText("cddb_get_fuzzy_category:2", "rock");
        serveEntry("The Artist", "The Title", {"One", "Two"});
        {
            DriveLockHold hold;
            setText(driveEntry(1)->title.artist, "Old Artist");
        }
        {
            std::lock_guard<std::mutex> hold(notesLock());
            notesStore().clear();
        }
        harness::MessageBoxRecorder boxes;
        harness::ModalRecorder dialogs(0);
        if (c.fuzzyChoice >= 0)
            dialogs.queueResult(c.fuzzyChoice);

        runWorker(1);

        EXPECT_EQ(callsAmong({"platter_net", "cddb_init", "cddb_set_local_root", "cddb_set_server_info",
                              "cddb_set_proxy_target", "cddb_query", "cddb_get_num_fuzzy", "cddb_set_id",
                              "cddb_set_category_name", "cddb_fetch", "cddb_get_artist", "cddb_cleanup"}),
                  c.calls);
        EXPECT_EQ(statusText(), c.status);
        ASSERT_EQ(boxes.count(), c.box[0] ? 1u : 0u);
        if (c.box[0]) {
            EXPECT_EQ(boxes.boxes()[0].text, c.box);
            EXPECT_EQ(boxes.boxes()[0].caption, c.boxCaption);
            EXPECT_EQ(boxes.boxes()[0].flags, (UINT)(MB_SYSTEMMODAL | MB_ICONERROR));
            EXPECT_EQ(boxes.boxes()[0].owner, nullptr);
        }
        ASSERT_EQ(dialogs.runs().size(), c.fuzzyChoice >= 0 ? 1u : 0u);
        if (c.fuzzyChoice >= 0) {
            EXPECT_EQ(dialogs.runs()[0].templateId, IDD_FUZZY_MATCH);
            EXPECT_EQ(dialogs.runs()[0].owner, mainWindow);
        }
        std::vector<Note> expected;
        if (c.found)
            expected.push_back(found(1));
        expected.push_back(queryDone());
        EXPECT_EQ(notes(), expected);
        EXPECT_EQ(driveEntry(1)->titleKnown, c.found ? 1 : 0);
        EXPECT_EQ(text(driveEntry(1)->title.artist), c.found ? "The Artist" : "Old Artist");
        EXPECT_EQ(fake::callsTo("cddb_fetch_server_list").size(), 0u);
    }
}

// With neither query on, the worker only reports that it is done.
TEST_F(Lookup, NothingToAskOnlyEnds)
{
    loadDisc();
    options.cddbQueryLocal = 1;
    options.cddbLocalRoot[0] = '\0';
    options.cddbQueryServer = 0;
    driveEntry(1)->titleKnown = 1;
    runWorker(1);
    EXPECT_EQ(fake::callLog(), "");
    EXPECT_EQ(notes(), (std::vector<Note>{queryDone()}));
    EXPECT_EQ(statusWindowHandle(), nullptr);
    EXPECT_EQ(driveEntry(1)->titleKnown, 1);
}

// The whole local call sequence: N+1 positions in minutes, seconds and
// frames, every getter, and what the copy leaves alone in the record.
TEST_F(Lookup, PositionsAndCopyOfAFoundEntry)
{
    fake::Disc disc;
    disc.trackTypes = {1, 1};
    disc.startFrames = {150, 18160, 30000};
    disc.winId = 0x22;
    load({{"D:", disc}});
    options.cddbQueryLocal = 1;
    options.cddbQueryServer = 0;
    fake::setResult("cddb_query_local", 1);
    serveEntry("Artist", "Title", {"", nullptr}, 7);
    fake::setCddbText("cddb_get_ext_title", nullptr);
    fake::setCddbText("cddb_get_ext_track_title:2", "Notes");
    TitleRecord &record = driveEntry(1)->title;
    record.submitted = 1;
    setText(record.discText, "old notes");
    setText(record.trackTitles[1], "Old Two");
    playertest::setProgram(1, {2, 1});
    fake::clearCalls();

    runWorker(1);

    EXPECT_EQ(fake::calls(),
              (Calls{"cd_get_win_id(1)", initCall, "cddb_set_local_root(100,\"C:\\cddb\")", "cddb_set_num_tracks(100,2)",
                     "cddb_set_track_time(100,1,0,2,0)", "cddb_set_track_time(100,2,4,2,10)",
                     "cddb_set_track_time(100,3,6,40,0)", "cddb_query_local(100)", "cddb_get_rev_number(100)",
                     "cddb_get_artist(100)", "cddb_get_title(100)", "cddb_get_ext_title(100)",
                     "cddb_get_track_title(100,1)", "cddb_get_ext_track_title(100,1)", "cddb_get_track_title(100,2)",
                     "cddb_get_ext_track_title(100,2)", "cddb_cleanup(100)"}));
    EXPECT_EQ(statusTitle(), "CDDB Search Drive: D:\\");
    EXPECT_EQ(record.cddbEntry, 1);
    EXPECT_EQ(record.revision, 7);
    EXPECT_EQ(record.submitted, 0);
    EXPECT_EQ(text(record.discText), "<null>");
    // An empty title from the entry is kept as an empty text, not dropped.
    EXPECT_EQ(text(record.trackTitles[0]), "");
    EXPECT_EQ(text(record.trackTitles[1]), "<null>");
    EXPECT_EQ(text(record.trackTexts[1]), "Notes");
    EXPECT_EQ(record.programLength, 2);
    EXPECT_EQ(record.trackStartFrames[1], 18160);
}

// A run over every drive takes the untitled, identified discs in order.
TEST_F(Lookup, AllDrivesRun)
{
    struct Case {
        const char *name;
        bool dKnown;
        bool dIdFails;
        std::vector<int> localResults;   // in the order the drives are asked
        std::vector<Note> notes;
        size_t queries;
    } cases[] = {
        {"both found, in drive order", false, false, {1, 1}, {found(1), found(2), queryDone()}, 2},
        {"a titled drive is skipped", true, false, {1}, {found(2), queryDone()}, 1},
        {"a disc without its id is skipped", false, true, {1}, {found(2), queryDone()}, 1},
        {"the first not found", false, false, {-1, 1}, {found(2), queryDone()}, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        closeDrives();
        fake::reset();
        load({{"D:", fake::audioDisc({100}, 0x1)}, {"E:", fake::audioDisc({100, 120}, 0x2)}});
        driveEntry(1)->titleKnown = c.dKnown;
        if (c.dIdFails)
            fake::queueResults("cd_get_win_id", {0});
        for (int r : c.localResults)
            fake::queueResults("cddb_query_local", {r});
        options.cddbQueryLocal = 1;
        options.cddbQueryServer = 0;
        {
            std::lock_guard<std::mutex> hold(notesLock());
            notesStore().clear();
        }
        runWorker(-1);
        EXPECT_EQ(notes(), c.notes);
        EXPECT_EQ(fake::callsTo("cddb_query_local").size(), c.queries);
        bool dFound = c.notes.size() == 3;
        EXPECT_EQ(driveEntry(1)->titleKnown, c.dKnown || dFound ? 1 : 0);
    }
}

// A disc that leaves or changes while the server is asked gets nothing; the
// same disc read again still does.
TEST_F(Lookup, DiscChangedDuringLookupDropsTheResult)
{
    struct Case {
        const char *name;
        const char *pausedAt;
        std::function<void()> meanwhile;
        bool filled;
        size_t remoteQueries;
    } cases[] = {
        {"removed during the remote query", "cddb_query_remote",
         [] {
             fake::removeDisc("D:");
             discRemoved(1);
         },
         false, 1},
        {"another disc during the remote query", "cddb_query_remote",
         [] {
             fake::insertDisc("D:", fake::audioDisc({180, 201}, 0x0D0D0D0D));
             discInserted(1);
         },
         false, 1},
        {"the same disc read again", "cddb_query_remote",
         [] {
             fake::insertDisc("D:", fake::audioDisc({180, 200}, 0x0D0D0D0D));
             discInserted(1);
         },
         true, 1},
        {"removed during the local query: the server is not asked", "cddb_query_local",
         [] {
             fake::removeDisc("D:");
             discRemoved(1);
         },
         false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        loadDisc();
        lookupRunning = 1;
        options.cddbQueryLocal = 1;
        options.cddbQueryServer = 1;
        fake::setResult("cddb_query_local", std::string(c.pausedAt) == "cddb_query_local" ? 1 : -1);
        fake::setResult("cddb_query_remote", 1);
        serveEntry("Found", "Entry", {"A", "B"});
        fake::setPause(c.pausedAt, c.meanwhile);
        {
            std::lock_guard<std::mutex> hold(notesLock());
            notesStore().clear();
        }
        runWorker(1);
        fake::setPause(c.pausedAt, nullptr);
        DriveEntry *d = driveEntry(1);
        EXPECT_EQ(text(d->title.artist), c.filled ? "Found" : "<null>");
        EXPECT_EQ(d->titleKnown, c.filled ? 1 : 0);
        EXPECT_EQ(notes(), c.filled ? (std::vector<Note>{found(1), queryDone()}) : std::vector<Note>{queryDone()});
        EXPECT_EQ(fake::callsTo("cddb_query_remote").size(), c.remoteQueries);
        EXPECT_EQ(fake::callsTo("platter_net_init").size(), fake::callsTo("platter_net_cleanup").size());
    }
}

} // namespace
