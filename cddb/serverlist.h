// serverlist.h - the CDDB server and category lists kept in the program's
// cddb registry key: refreshed from the main server at most once a week,
// checked against the chosen server, and loaded for the options sheet.
#ifndef CDDB_SERVERLIST_H
#define CDDB_SERVERLIST_H

#include "platter/platter.h"

#include <cstdint>
#include <string>
#include <vector>

// How old a stored list may grow before the next operation fetches it anew.
#define LIST_REFRESH_AGE 604800   /* seconds: 7 days */
// Entries of a stored or fetched list beyond this many are not read: a
// damaged count must not make the program loop or allocate without end.
#define LIST_MAX_ENTRIES 1000

// The server list for the options sheet; index i is server i + 1.
struct ServerChoices {
    int count = 0;
    std::vector<std::string> hosts;   // "Server"n
    std::vector<std::string> texts;   // host, " - ", "ServerDesc"n
    std::vector<int32_t> ports;       // "ServerPort"n
};
extern ServerChoices serverChoices;

// Fetch the list into the registry when it is a week old (never while the
// proxy is in use); 1 when the stored list may be used as it is or was
// refreshed, 0 on failure. A fetch leaves the handle on the main server.
int refreshServerList(cddb_handle_t handle);
int refreshCategoryList(cddb_handle_t handle);
// 1 when the option cddbServer is one of the stored servers, byte for byte.
int serverIsListed();
// Fill and release serverChoices from the stored list.
void loadServerChoices();
void freeServerChoices();

#endif
