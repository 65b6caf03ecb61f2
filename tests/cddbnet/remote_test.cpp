// remote_test.cpp - lookups against the project's CDDB test server over
// the CDDB server protocol, HTTP by URL and through a proxy, at level 6
// (UTF-8) and at lower levels (ISO-8859-1): the exact entry with its texts
// in the ANSI code page, fuzzy matches then the fetch of one, several
// entries of one id, no match, the server and category lists, the status
// texts and diagnostics lines; and every hostile mode ending in its failure
// within the time-outs.
#include "tests/cddbnet/netfixture.h"
#include "tests/libplatter/cddb/cddbtest.h"

#include <algorithm>

namespace {

using namespace nettest;
using cddbtest::text;

const std::vector<int> kFuzzyDisc = {150, 20000, 40000, 60000, 80000};
const std::vector<int> kTwiceDisc = {150, 10000, 20000, 30000, 40000, 50000};
const std::vector<int> kNoneDisc = {150, 30000, 45000};

enum class Via { Cddbp, Cddbp3, HttpUrl, Http3Url, Proxy };

struct Transport {
    const char *name;
    Via via;
    bool utf8; // level 6
};

void PrintTo(const Transport &t, std::ostream *os) { *os << t.name; }

// A handle pointed at the test server the way `via` says.
cddb_handle_t serverHandle(Via via)
{
    cddb_handle_t h = cddb_init("Spindle2", "v3.00", "Copyright test");
    switch (via) {
    case Via::Cddbp: cddb_set_server_info(h, "127.0.0.1", portOf("cddbp")); break;
    case Via::Cddbp3: cddb_set_server_info(h, "127.0.0.1", portOf("cddbp3")); break;
    case Via::HttpUrl:
        cddb_set_server_info(h, ("http://127.0.0.1:" + std::to_string(portOf("http")) + "/~cddb/cddb.cgi").c_str(), 0);
        break;
    case Via::Http3Url: cddb_set_server_info(h, ("http://127.0.0.1:" + std::to_string(portOf("http3"))).c_str(), 0); break;
    case Via::Proxy:
        cddb_set_server_info(h, "127.0.0.1", portOf("http"));
        cddb_set_proxy_target(h, "cddb.example");
        break;
    }
    return h;
}

class RemoteLookup : public NetTest, public ::testing::WithParamInterface<Transport> {};

TEST_P(RemoteLookup, ExactEntryInTheCodePage)
{
    const Transport &t = GetParam();
    cddb_handle_t h = serverHandle(t.via);
    cddbtest::setDisc(h, cddbtest::kExactDisc);
    ASSERT_EQ(1, cddb_query_remote(h));
    EXPECT_EQ("Mot\xF6rhead", text(cddb_get_artist(h)));
    // The euro sign is in code page 1252 but not in ISO-8859-1; omega and
    // the Japanese title are in neither.
    EXPECT_EQ(t.utf8 ? "Caf\xE9 \x80 ?mega" : "Caf\xE9 ? ?mega", text(cddb_get_title(h)));
    EXPECT_EQ("Ace of Spades", text(cddb_get_track_title(h, 1)));
    EXPECT_EQ("\xDC" "berall", text(cddb_get_track_title(h, 2)));
    EXPECT_EQ("????", text(cddb_get_track_title(h, 3)));
    EXPECT_EQ("First line\r\nSecond line\twith a tab, and a back\\slash", text(cddb_get_ext_title(h)));
    EXPECT_EQ("Track two's note", text(cddb_get_ext_track_title(h, 2)));
    EXPECT_EQ("<null>", text(cddb_get_ext_track_title(h, 1)));
    EXPECT_EQ(2, cddb_get_rev_number(h));
    EXPECT_EQ("rock", text(cddb_get_category_name(h)));
    EXPECT_EQ(cddbtest::kExactId, cddb_get_id(h));
    ASSERT_EQ(3, cddb_get_num_play_order(h));
    EXPECT_EQ(3, cddb_get_play_order_track(h, 1));
    cddb_cleanup(h);

    std::string log = spoolFile("cddb.log");
    if (t.via == Via::Cddbp) {
        // A real user and host name, then the program's name and version.
        size_t hello = log.find("cddbp cddb hello ");
        ASSERT_NE(std::string::npos, hello) << log;
        std::string line = log.substr(hello, log.find('\n', hello) - hello);
        EXPECT_NE(std::string::npos, line.find(" Spindle2 v3.00")) << line;
        EXPECT_EQ(6, (int)std::count(line.begin(), line.end(), ' ')) << line;
        EXPECT_NE(std::string::npos, log.find("cddbp proto 6\n")) << log;
        EXPECT_NE(std::string::npos, log.find("cddbp quit\n")) << log;
        EXPECT_TRUE(sawDiag("Platter: CDDB > cddb query 1402ce03 3 150 18000 36000 720"));
        EXPECT_TRUE(sawDiag("Platter: CDDB < 200 rock 1402ce03"));
        EXPECT_TRUE(sawDiag("Platter: CDDB < TTITLE0=Ace of Spades"));
        std::vector<std::string> status = statusTexts();
        ASSERT_GE(status.size(), 3u);
        EXPECT_EQ("Connecting to 127.0.0.1...", status[0]);
        EXPECT_EQ("Sending query...", status[1]);
        EXPECT_EQ("Reading entry...", status[2]);
    }
    if (t.via == Via::Cddbp3) {
        EXPECT_NE(std::string::npos, log.find("cddbp3 proto 3\n")) << log;
    }
    if (t.via == Via::Http3Url) { // asked at 6, 5 and 4 before 3 was taken
        EXPECT_NE(std::string::npos, log.find("&proto=4\n")) << log;
    }
    if (t.via == Via::Proxy) {
        EXPECT_NE(std::string::npos, log.find("proxy to cddb.example Host: cddb.example")) << log;
    }
}

TEST_P(RemoteLookup, FuzzyMatchesThenFetch)
{
    cddb_handle_t h = serverHandle(GetParam().via);
    cddbtest::setDisc(h, kFuzzyDisc);
    ASSERT_EQ(3, cddb_query_remote(h));
    ASSERT_EQ(2, cddb_get_num_fuzzy(h));
    EXPECT_EQ("Close Artist", text(cddb_get_fuzzy_artist(h, 1)));
    EXPECT_EQ("Close Title", text(cddb_get_fuzzy_title(h, 1)));
    EXPECT_EQ("misc", text(cddb_get_fuzzy_category(h, 1)));
    EXPECT_EQ("Other Artist", text(cddb_get_fuzzy_artist(h, 2)));
    EXPECT_EQ("<null>", text(cddb_get_fuzzy_title(h, 2)));
    EXPECT_EQ("<null>", text(cddb_get_artist(h)));
    EXPECT_EQ(0u, cddb_get_fuzzy_id(h, 3));

    cddb_set_id(h, cddb_get_fuzzy_id(h, 2));
    cddb_set_category_name(h, cddb_get_fuzzy_category(h, 2));
    ASSERT_EQ(1, cddb_fetch_remote(h));
    EXPECT_EQ("Other Artist", text(cddb_get_artist(h)));
    EXPECT_EQ("Cuatro", text(cddb_get_track_title(h, 4)));
    EXPECT_EQ("jazz", text(cddb_get_category_name(h)));

    cddb_set_category_name(h, "rock"); // no entry of that id there
    EXPECT_EQ(-1, cddb_fetch_remote(h));
    cddb_cleanup(h);
}

TEST_P(RemoteLookup, SeveralEntriesOfOneIdAndNone)
{
    cddb_handle_t h = serverHandle(GetParam().via);
    cddbtest::setDisc(h, kTwiceDisc);
    ASSERT_EQ(3, cddb_query_remote(h));
    ASSERT_EQ(2, cddb_get_num_fuzzy(h));
    EXPECT_EQ("folk", text(cddb_get_fuzzy_category(h, 1)));
    EXPECT_EQ("blues", text(cddb_get_fuzzy_category(h, 2)));
    EXPECT_EQ(cddb_get_fuzzy_id(h, 1), cddb_get_fuzzy_id(h, 2));

    cddbtest::setDisc(h, kNoneDisc);
    EXPECT_EQ(-1, cddb_query_remote(h));
    EXPECT_EQ(0, cddb_get_num_fuzzy(h));
    cddb_cleanup(h);
}

TEST_P(RemoteLookup, ServerAndCategoryLists)
{
    cddb_handle_t h = serverHandle(GetParam().via);
    ASSERT_EQ(1, cddb_fetch_server_list(h));
    // The HTTP site on an odd port and the submission site are left out.
    ASSERT_EQ(2, cddb_get_num_server_list(h));
    EXPECT_EQ("127.0.0.1", text(cddb_get_server_list_name(h, 1)));
    EXPECT_EQ("Test server, Z\xFCrich", text(cddb_get_server_list_descr(h, 1)));
    EXPECT_EQ(8880, cddb_get_server_list_port(h, 1));
    EXPECT_EQ(80, cddb_get_server_list_port(h, 2));
    EXPECT_EQ("<null>", text(cddb_get_server_list_name(h, 3)));
    ASSERT_EQ(1, cddb_fetch_category_list(h));
    ASSERT_EQ(11, cddb_get_num_category_list(h));
    EXPECT_EQ("blues", text(cddb_get_category_list_name(h, 1)));
    EXPECT_EQ("soundtrack", text(cddb_get_category_list_name(h, 11)));
    cddb_cleanup(h);
}

INSTANTIATE_TEST_SUITE_P(Transports, RemoteLookup,
                         ::testing::Values(Transport{"Cddbp", Via::Cddbp, true},
                                           Transport{"CddbpLevel3", Via::Cddbp3, false},
                                           Transport{"HttpUrl", Via::HttpUrl, true},
                                           Transport{"HttpLevel3", Via::Http3Url, false},
                                           Transport{"Proxy", Via::Proxy, true}),
                         [](const ::testing::TestParamInfo<Transport> &info) { return std::string(info.param.name); });

struct Hostile {
    const char *name;
    const char *mode;    // a mode of the test server, "" for none
    const char *host;    // when not the mode's server
    const char *proxyTarget;
    int result;
};

void PrintTo(const Hostile &c, std::ostream *os) { *os << c.name; }

class HostileServer : public NetTest, public ::testing::WithParamInterface<Hostile> {};

TEST_P(HostileServer, EndsInItsFailure)
{
    const Hostile &c = GetParam();
    platter_net_set_timeouts(1500, 1500, 4000);
    cddb_handle_t h = cddb_init("Spindle2", "v3.00", "test");
    std::string host = c.host ? c.host : "127.0.0.1";
    int port = *c.mode ? portOf(c.mode) : closedPort();
    if (std::string(c.mode) == "http-garbage") {
        host = "http://127.0.0.1:" + std::to_string(port) + "/";
        port = 0;
    }
    cddb_set_server_info(h, host.c_str(), port);
    if (c.proxyTarget)
        cddb_set_proxy_target(h, c.proxyTarget);
    cddbtest::setDisc(h, cddbtest::kExactDisc);
    DWORD start = GetTickCount();
    EXPECT_EQ(c.result, cddb_query_remote(h));
    DWORD took = GetTickCount() - start;
    // Bounded by the whole-operation limit (4 s), with room for a busy machine.
    EXPECT_LT(took, 9000u);
    EXPECT_EQ("<null>", text(cddb_get_artist(h)));
    cddb_cleanup(h);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, HostileServer,
    ::testing::Values(Hostile{"NeverAnswers", "silent", nullptr, nullptr, PLATTER_CDDB_TIMEOUT},
                      Hostile{"DripsAByteAtATime", "drip", nullptr, nullptr, PLATTER_CDDB_TIMEOUT},
                      Hostile{"GarbageGreeting", "garbage", nullptr, nullptr, PLATTER_CDDB_PROTOCOL},
                      Hostile{"LineOverTheLimit", "longline", nullptr, nullptr, PLATTER_CDDB_PROTOCOL},
                      Hostile{"PermissionDenied", "denied", nullptr, nullptr, PLATTER_CDDB_REFUSED},
                      Hostile{"WrongCode", "badcode", nullptr, nullptr, PLATTER_CDDB_PROTOCOL},
                      Hostile{"ClosesInsideTheEntry", "earlyclose", nullptr, nullptr, PLATTER_CDDB_PROTOCOL},
                      Hostile{"EntryListsFewerTracks", "shortentry", nullptr, nullptr, PLATTER_CDDB_BAD_ENTRY},
                      Hostile{"HttpGarbage", "http-garbage", nullptr, nullptr, PLATTER_CDDB_PROTOCOL},
                      Hostile{"NothingListens", "", nullptr, nullptr, PLATTER_CDDB_NO_CONNECT},
                      Hostile{"NoSuchHost", "cddbp", "no such host!", nullptr, PLATTER_CDDB_NO_SERVER},
                      Hostile{"ProxyCannotReachServer", "http", nullptr, "down.example", PLATTER_CDDB_NO_CONNECT}),
    [](const ::testing::TestParamInfo<Hostile> &info) { return std::string(info.param.name); });

} // namespace
