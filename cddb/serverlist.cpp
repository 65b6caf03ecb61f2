// serverlist.cpp - the server and category lists in the cddb registry key.
#include "cddb/serverlist.h"
#include "cddb/statuswnd.h"
#include "options/options.h"
#include "options/registry.h"

#include <cstdio>
#include <cstring>
#include <ctime>

ServerChoices serverChoices;

namespace {

const char *const textKeyFailed = "Unable to open CDDB registry key.";

// The numbered value name "%s%d", for example Server12.
std::string numbered(const char *prefix, int n)
{
    char name[64];
    snprintf(name, sizeof name, "%s%d", prefix, n);
    return name;
}

int32_t boundedCount(int32_t count)
{
    if (count < 0)
        return 0;
    return count > LIST_MAX_ENTRIES ? LIST_MAX_ENTRIES : count;
}

// One of the two lists: what differs between the server and category refresh.
struct ListKind {
    const char *stampValue;     // "LastServerUpdate"
    const char *countValue;     // "NumServers"
    DWORD mainServerLimit;      // characters of "MainServer" read
    int (*fetch)(cddb_handle_t);
    int (*fetchedCount)(cddb_handle_t);
    void (*writeEntry)(HKEY key, cddb_handle_t handle, int n);
    void (*deleteEntry)(HKEY key, int n);
    const char *fetchFailed;
    const char *refreshed;
};

LONG writeText(HKEY key, const std::string &name, const char *text)
{
    return regWriteString(key, name.c_str(), text ? text : "");
}

void writeServer(HKEY key, cddb_handle_t handle, int n)
{
    writeText(key, numbered("Server", n), cddb_get_server_list_name(handle, n));
    writeText(key, numbered("ServerDesc", n), cddb_get_server_list_descr(handle, n));
    int32_t port = cddb_get_server_list_port(handle, n);
    regWriteDword(key, numbered("ServerPort", n).c_str(), &port);
}

void deleteServer(HKEY key, int n)
{
    regDeleteValue(key, numbered("Server", n).c_str());
    regDeleteValue(key, numbered("ServerDesc", n).c_str());
    regDeleteValue(key, numbered("ServerPort", n).c_str());
}

void writeCategory(HKEY key, cddb_handle_t handle, int n)
{
    writeText(key, numbered("Category", n), cddb_get_category_list_name(handle, n));
}

void deleteCategory(HKEY key, int n)
{
    regDeleteValue(key, numbered("Category", n).c_str());
}

const ListKind serverList = {
    "LastServerUpdate", "NumServers", 40,
    cddb_fetch_server_list, cddb_get_num_server_list, writeServer, deleteServer,
    "Unable to fetch new server list.", "Successfully refreshed server information.",
};

const ListKind categoryList = {
    "LastCategoryUpdate", "NumCategories", 80,
    cddb_fetch_category_list, cddb_get_num_category_list, writeCategory, deleteCategory,
    "Unable to fetch new category list.", "Successfully refreshed category information.",
};

// Reads a count or time stamp from the cddb key; a missing one is 0.
bool readStoredNumber(const char *name, int32_t *value)
{
    HKEY key;
    if (!regOpenRead(CDDB_KEY, &key)) {
        statusWindowSetText(textKeyFailed);
        return false;
    }
    *value = 0;
    regReadDword(key, name, value);
    regClose(key);
    return true;
}

int refreshList(cddb_handle_t handle, const ListKind &kind)
{
    if (options.cddbUseProxy)
        return 1;

    int32_t lastUpdate = 0;
    if (!readStoredNumber(kind.stampValue, &lastUpdate))
        return 0;
    // The stamp is stored as 32 bits; compare in 64 so that a stamp near the
    // end of the range cannot wrap into "fresh for ever".
    int64_t now = (int64_t)time(nullptr);
    if (now < (int64_t)(uint32_t)lastUpdate + LIST_REFRESH_AGE)
        return 1;

    HKEY key;
    if (!regOpenRead(CDDB_KEY, &key)) {
        statusWindowSetText(textKeyFailed);
        return 0;
    }
    char mainServer[81] = "";
    int32_t mainPort = 0;
    regReadString(key, "MainServer", mainServer, kind.mainServerLimit);
    regReadDword(key, "MainServerPort", &mainPort);
    regClose(key);

    cddb_set_server_info(handle, mainServer, mainPort);
    if (kind.fetch(handle) <= 0) {
        statusWindowSetText(kind.fetchFailed);
        return 0;
    }

    int32_t oldCount = 0;
    if (!readStoredNumber(kind.countValue, &oldCount))
        return 0;
    if (!regOpenWrite(CDDB_KEY, &key)) {
        statusWindowSetText(textKeyFailed);
        return 0;
    }
    int32_t count = boundedCount(kind.fetchedCount(handle));
    oldCount = boundedCount(oldCount);
    for (int n = 1; n <= count; ++n)
        kind.writeEntry(key, handle, n);
    for (int n = count + 1; n <= oldCount; ++n)
        kind.deleteEntry(key, n);
    regWriteDword(key, kind.countValue, &count);
    // The time stamp goes last: a refresh cut short is tried again.
    int32_t stamp = (int32_t)(uint32_t)now;
    regWriteDword(key, kind.stampValue, &stamp);
    regClose(key);
    statusWindowSetText(kind.refreshed);
    return 1;
}

} // namespace

int refreshServerList(cddb_handle_t handle)
{
    return refreshList(handle, serverList);
}

int refreshCategoryList(cddb_handle_t handle)
{
    return refreshList(handle, categoryList);
}

int serverIsListed()
{
    HKEY key;
    if (!regOpenRead(CDDB_KEY, &key)) {
        statusWindowSetText(textKeyFailed);
        return 0;
    }
    int32_t count = 0;
    regReadDword(key, "NumServers", &count);
    count = boundedCount(count);
    int listed = 0;
    for (int n = 1; n <= count && !listed; ++n) {
        char host[41];
        if (regReadString(key, numbered("Server", n).c_str(), host, 40) && strcmp(host, options.cddbServer) == 0)
            listed = 1;
    }
    regClose(key);
    return listed;
}

void loadServerChoices()
{
    freeServerChoices();
    HKEY key;
    if (!regOpenRead(CDDB_KEY, &key))
        return;
    int32_t count = 0;
    regReadDword(key, "NumServers", &count);
    count = boundedCount(count);
    for (int n = 1; n <= count; ++n) {
        char host[81] = "", description[81] = "";
        int32_t port = 0;
        regReadString(key, numbered("Server", n).c_str(), host, 80);
        regReadString(key, numbered("ServerDesc", n).c_str(), description, 80);
        regReadDword(key, numbered("ServerPort", n).c_str(), &port);
        serverChoices.hosts.push_back(host);
        serverChoices.texts.push_back(std::string(host) + " - " + description);
        serverChoices.ports.push_back(port);
    }
    serverChoices.count = count;
    regClose(key);
}

void freeServerChoices()
{
    serverChoices = ServerChoices();
}
