// The server and category lists in the cddb key: weekly refresh from the
// main server, surplus entries removed, the proxy rule, the server check and
// the choices loaded for the options sheet.
#include "cddb/serverlist.h"
#include "cddb/statuswnd.h"
#include "fakes/fakeplatter.h"
#include "harness/harness.h"
#include "options/options.h"
#include "options/registry.h"
#include "res/resource.h"

#include <ctime>

namespace {

const char *const cddbKey = CDDB_KEY;
const int32_t week = 604800;

class ServerLists : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake::reset();
        options = defaultOptions;
        registry.createKey(cddbKey);
        registry.setString(cddbKey, "MainServer", "main.example.org");
        registry.setDword(cddbKey, "MainServerPort", 8880);
        statusWindowOpen();
    }
    void TearDown() override
    {
        statusWindowClose();
        harness::pumpUntil([] { return statusWindowHandle() == nullptr; });
    }

    std::string statusText()
    {
        char text[256] = "";
        GetDlgItemTextA(statusWindowHandle(), IDC_STATUS_TEXT, text, sizeof text);
        return text;
    }
    std::string text(const char *name)
    {
        DWORD type = 0;
        std::string bytes;
        if (!registry.read(cddbKey, name, &type, &bytes))
            return "<missing>";
        return std::string(bytes.c_str());
    }
    int64_t number(const char *name)
    {
        DWORD type = 0;
        std::string bytes;
        if (!registry.read(cddbKey, name, &type, &bytes) || bytes.size() != 4)
            return -1;
        int32_t value;
        memcpy(&value, bytes.data(), 4);
        return value;
    }
    // A list of `count` servers served by the fake library's next fetch.
    void serveServers(int count)
    {
        fake::setResult("cddb_fetch_server_list", 1);
        fake::setResult("cddb_get_num_server_list", count);
        for (int n = 1; n <= count; ++n) {
            std::string k = ":" + std::to_string(n);
            fake::setCddbText("cddb_get_server_list_name" + k, ("new" + std::to_string(n) + ".example").c_str());
            fake::setCddbText("cddb_get_server_list_descr" + k, ("Place " + std::to_string(n)).c_str());
            fake::setCddbText("cddb_get_server_list_port" + k, std::to_string(8000 + n).c_str());
        }
    }
    void storeServers(int count)
    {
        registry.setDword(cddbKey, "NumServers", count);
        for (int n = 1; n <= count; ++n) {
            std::string i = std::to_string(n);
            registry.setString(cddbKey, ("Server" + i).c_str(), "old" + i + ".example");
            registry.setString(cddbKey, ("ServerDesc" + i).c_str(), "Old place " + i);
            registry.setDword(cddbKey, ("ServerPort" + i).c_str(), 888);
        }
    }

    harness::RegistrySandbox registry;
};

// The age rule and the proxy rule decide whether the library is asked at all.
TEST_F(ServerLists, RefreshOnlyWhenAWeekOld)
{
    struct Case {
        const char *name;
        int64_t age;        // seconds since the stored refresh; -1: never refreshed
        int useProxy;
        bool fetches;
    } cases[] = {
        {"six days 23 hours", week - 3600, 0, false},
        {"seven days", week, 0, true},
        {"never refreshed", -1, 0, true},
        {"proxy in use, never refreshed", -1, 1, false},
        {"proxy in use, a year old", 52 * (int64_t)week, 1, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fake::reset();
        storeServers(2);
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, cddbKey, "LastServerUpdate");
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, cddbKey, "LastCategoryUpdate");
        if (c.age >= 0) {
            registry.setDword(cddbKey, "LastServerUpdate", (uint32_t)(time(nullptr) - c.age));
            registry.setDword(cddbKey, "LastCategoryUpdate", (uint32_t)(time(nullptr) - c.age));
        }
        options.cddbUseProxy = c.useProxy;
        serveServers(1);
        fake::setResult("cddb_fetch_category_list", 1);
        EXPECT_EQ(refreshServerList(7), 1);
        EXPECT_EQ(refreshCategoryList(7), 1);
        if (c.fetches)
            EXPECT_EQ(fake::callsTo("cddb_fetch"),
                      (std::vector<std::string>{"cddb_fetch_server_list(7)", "cddb_fetch_category_list(7)"}));
        else
            EXPECT_EQ(fake::callLog(), "");
    }
}

// A fetched list replaces the stored one value by value; a shorter list
// removes the surplus, and the time stamp moves to now.
TEST_F(ServerLists, ShorterServerListRemovesSurplus)
{
    storeServers(3);
    fake::setCddbText("cddb_get_server_list_descr:1", nullptr);
    serveServers(1);
    fake::setCddbText("cddb_get_server_list_descr:1", nullptr);   // a server without description
    time_t before = time(nullptr);
    ASSERT_EQ(refreshServerList(9), 1);

    EXPECT_EQ(fake::callsTo("cddb_set_server_info"), (std::vector<std::string>{"cddb_set_server_info(9,\"main.example.org\",8880)"}));
    EXPECT_EQ(text("Server1"), "new1.example");
    EXPECT_EQ(text("ServerDesc1"), "");
    EXPECT_EQ(number("ServerPort1"), 8001);
    for (const char *gone : {"Server2", "ServerDesc2", "ServerPort2", "Server3", "ServerDesc3", "ServerPort3"})
        EXPECT_EQ(text(gone), "<missing>") << gone;
    EXPECT_EQ(number("NumServers"), 1);
    EXPECT_GE(number("LastServerUpdate"), (int64_t)before);
    EXPECT_EQ(statusText(), "Successfully refreshed server information.");
}

TEST_F(ServerLists, CategoryRefreshWritesAndTrims)
{
    registry.setDword(cddbKey, "NumCategories", 3);
    for (const char *name : {"Category1", "Category2", "Category3"})
        registry.setString(cddbKey, name, "old");
    fake::setResult("cddb_fetch_category_list", 1);
    fake::setResult("cddb_get_num_category_list", 2);
    fake::setCddbText("cddb_get_category_list_name:1", "blues");
    fake::setCddbText("cddb_get_category_list_name:2", "rock");
    ASSERT_EQ(refreshCategoryList(4), 1);
    EXPECT_EQ(text("Category1"), "blues");
    EXPECT_EQ(text("Category2"), "rock");
    EXPECT_EQ(text("Category3"), "<missing>");
    EXPECT_EQ(number("NumCategories"), 2);
    EXPECT_EQ(statusText(), "Successfully refreshed category information.");
}

// A failed fetch keeps the stored list and its stamp, so the next
// operation tries again; a missing key is reported.
TEST_F(ServerLists, FailuresKeepTheStoredList)
{
    storeServers(2);
    registry.setDword(cddbKey, "LastServerUpdate", 1000);
    registry.setDword(cddbKey, "LastCategoryUpdate", 1000);
    fake::setResult("cddb_fetch_server_list", -5);
    EXPECT_EQ(refreshServerList(3), 0);
    EXPECT_EQ(statusText(), "Unable to fetch new server list.");
    fake::setResult("cddb_fetch_category_list", 0);
    EXPECT_EQ(refreshCategoryList(3), 0);
    EXPECT_EQ(statusText(), "Unable to fetch new category list.");
    EXPECT_EQ(number("LastServerUpdate"), 1000);
    EXPECT_EQ(number("LastCategoryUpdate"), 1000);
    EXPECT_EQ(text("Server2"), "old2.example");

    RegDeleteTreeA(HKEY_LOCAL_MACHINE, cddbKey);
    for (int (*refresh)(cddb_handle_t) : {refreshServerList, refreshCategoryList}) {
        SetDlgItemTextA(statusWindowHandle(), IDC_STATUS_TEXT, "");
        EXPECT_EQ(refresh(3), 0);
        EXPECT_EQ(statusText(), "Unable to open CDDB registry key.");
    }
    SetDlgItemTextA(statusWindowHandle(), IDC_STATUS_TEXT, "");
    EXPECT_EQ(serverIsListed(), 0);
    EXPECT_EQ(statusText(), "Unable to open CDDB registry key.");
}

// The server refresh reads at most 40 characters of the main server's
// name, the category refresh 80: a longer name is not read at all.
TEST_F(ServerLists, MainServerReadLimits)
{
    std::string host50(50, 'h');
    registry.setString(cddbKey, "MainServer", host50);
    fake::setResult("cddb_fetch_server_list", 0);
    fake::setResult("cddb_fetch_category_list", 0);
    refreshServerList(2);
    refreshCategoryList(2);
    EXPECT_EQ(fake::callsTo("cddb_set_server_info"),
              (std::vector<std::string>{"cddb_set_server_info(2,\"\",8880)",
                                        "cddb_set_server_info(2,\"" + host50 + "\",8880)"}));
}

TEST_F(ServerLists, ServerCheckIsByteForByte)
{
    storeServers(3);
    struct Case {
        const char *server;
        int listed;
    } cases[] = {{"old3.example", 1}, {"old1.example", 1}, {"OLD1.example", 0}, {"old1.example ", 0}, {"", 0},
                 {"old4.example", 0}};
    for (const Case &c : cases) {
        snprintf(options.cddbServer, sizeof options.cddbServer, "%s", c.server);
        EXPECT_EQ(serverIsListed(), c.listed) << c.server;
    }
}

TEST_F(ServerLists, ChoicesForTheOptionsSheet)
{
    storeServers(2);
    registry.setString(cddbKey, "ServerDesc2", "");
    registry.setDword(cddbKey, "ServerPort2", 8880);
    loadServerChoices();
    ASSERT_EQ(serverChoices.count, 2);
    EXPECT_EQ(serverChoices.hosts, (std::vector<std::string>{"old1.example", "old2.example"}));
    EXPECT_EQ(serverChoices.texts, (std::vector<std::string>{"old1.example - Old place 1", "old2.example - "}));
    EXPECT_EQ(serverChoices.ports, (std::vector<int32_t>{888, 8880}));
    freeServerChoices();
    EXPECT_EQ(serverChoices.count, 0);
    EXPECT_TRUE(serverChoices.hosts.empty());

    // A damaged count does not make the program read without end.
    registry.setDword(cddbKey, "NumServers", 0x7FFFFFFF);
    loadServerChoices();
    EXPECT_EQ(serverChoices.count, LIST_MAX_ENTRIES);
    registry.setDword(cddbKey, "NumServers", (uint32_t)-4);
    loadServerChoices();
    EXPECT_EQ(serverChoices.count, 0);
    freeServerChoices();
}

} // namespace
