// lookupremote.cpp - looking a disc up on the chosen CDDB server (or
// through the proxy), with the user's choice among inexact matches.
#include "cddb/cddbsession.h"
#include "cddb/fuzzy.h"
#include "cddb/lookup.h"
#include "cddb/lookupdisc.h"
#include "cddb/serverlist.h"
#include "cddb/statuswnd.h"
#include "options/options.h"
#include "ui/msgbox.h"

#include <string>

namespace {

void reportRemoteFailure(int result)
{
    switch (result) {
    case -1: statusWindowSetText("CD not found on remote server."); break;
    case -4: statusWindowSetText("Unable to find selected server."); break;
    case -5: statusWindowSetText("Unable to connect to selected server."); break;
    default: statusWindowSetText("Unknown error occurred during CDDB query."); break;
    }
}

void endSession(cddb_handle_t handle)
{
    cddb_cleanup(handle);
    platter_net_cleanup();
}

// Points the handle at the server to ask; false when the chosen server is
// no longer listed (the user was told).
bool chooseServer(cddb_handle_t handle)
{
    if (options.cddbUseProxy) {
        cddb_set_server_info(handle, options.cddbProxy, options.cddbProxyPort);
        // Without its target the proxy would be spoken to as a CDDB server.
        cddb_set_proxy_target(handle, options.cddbServer);
        return true;
    }
    if (!serverIsListed()) {
        endSession(handle);
        statusWindowSetText("Invalid CDDB server.");
        showMessage(nullptr, SERVER_GONE_TEXT, REMOTE_QUERY_ERROR_CAPTION, MB_SYSTEMMODAL | MB_ICONERROR);
        return false;
    }
    cddb_set_server_info(handle, options.cddbServer, options.cddbServerPort);
    return true;
}

} // namespace

int lookupRemoteDisc(const LookupDisc &disc)
{
    if (!options.cddbQueryServer)
        return 0;
    setSearchTitle(disc);
    statusWindowSetText("Looking on remote CDDB server for CD.");

    platter_net_init();
    cddb_handle_t handle = openCddbHandle();
    if (!handle) {
        platter_net_cleanup();
        statusWindowSetText("Error initializing library.");
        return 0;
    }
    refreshServerList(handle);
    if (!chooseServer(handle))
        return 0;
    setCddbTrackPositions(handle, disc.trackCount, disc.startFrames.data());

    int result = cddb_query_remote(handle);
    if (result == 3 && !selectFuzzyMatch(handle)) {
        endSession(handle);
        return 0;
    }
    if (result > 0) {
        bool filled = fillLookupDisc(disc, handle);
        endSession(handle);
        if (!filled)
            return 0;
        statusWindowSetText("Found CD on remote CDDB server.");
        return 1;
    }
    endSession(handle);
    reportRemoteFailure(result);
    return 0;
}
