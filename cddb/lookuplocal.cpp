// lookuplocal.cpp - looking a disc up in the local CDDB directory tree.
#include "cddb/cddbsession.h"
#include "cddb/lookup.h"
#include "cddb/lookupdisc.h"
#include "cddb/statuswnd.h"
#include "options/options.h"
#include "ui/msgbox.h"

#include <cstdio>

namespace {

void showLocalError(const char *text)
{
    showMessage(nullptr, text, LOCAL_QUERY_ERROR_CAPTION, MB_SYSTEMMODAL | MB_ICONERROR);
}

// What a failed local query tells the user.
void reportLocalFailure(int result)
{
    switch (result) {
    case -1:
        statusWindowSetText("CD not found in local CDDB database.");
        break;
    case -2:
        statusWindowSetText("Illegal database format.");
        showLocalError("Illegal local CDDB database format.");
        break;
    case -3:
        statusWindowSetText("Illegal database format.");
        showLocalError("Illegal file found in local CDDB database.");
        break;
    default:
        statusWindowSetText("Unknown error searching local CDDB database.");
        break;
    }
}

} // namespace

void setSearchTitle(const LookupDisc &disc)
{
    char title[64];
    snprintf(title, sizeof title, "CDDB Search Drive: %s\\", disc.name.c_str());
    statusWindowSetTitle(title);
}

int lookupLocalDisc(const LookupDisc &disc)
{
    if (!options.cddbQueryLocal || options.cddbLocalRoot[0] == '\0')
        return 0;
    setSearchTitle(disc);
    statusWindowSetText("Looking in local CDDB database for CD.");

    cddb_handle_t handle = openCddbHandle();
    if (!handle)
        return 0;
    cddb_set_local_root(handle, options.cddbLocalRoot);
    setCddbTrackPositions(handle, disc.trackCount, disc.startFrames.data());

    int result = cddb_query_local(handle);
    if (result > 0) {
        bool filled = fillLookupDisc(disc, handle);
        cddb_cleanup(handle);
        if (!filled)
            return 0;
        statusWindowSetText("Found CD in local CDDB database.");
        return 1;
    }
    cddb_cleanup(handle);
    reportLocalFailure(result);
    return 0;
}
