// session.h - what one CDDB handle holds: the disc (track count and the
// N+1 absolute starts), the entry found or to submit (ANSI texts), its id
// and category, the server to ask, the fuzzy matches of the last query, the
// fetched server and category lists, and the listing of a local tree.
#ifndef LIBPLATTER_CDDB_SESSION_H
#define LIBPLATTER_CDDB_SESSION_H

#include "libplatter/cddb/replies.h"
#include "libplatter/cddb/textcodec.h"
#include "libplatter/cddb/xmcd.h"
#include "platter/platter.h"

#include <memory>
#include <string>
#include <vector>

namespace cddb {

// One entry of a local tree's listing.
struct LocalRef {
    std::string category;
    std::string path;      // the entry's file, or the range file holding it
    uint32_t id = 0;
    bool inRangeFile = false;
};

struct Session {
    std::string program, version;
    std::string localRoot;
    std::string host;
    int port = 0;
    std::string proxyTarget;    // the server behind an HTTP proxy; empty: no proxy

    int trackCount = 0;
    std::vector<int> starts;    // trackCount + 1 absolute frames; -1 while unset

    XmcdEntry entry;            // texts in the ANSI code page, CR LF breaks
    uint32_t id = 0;            // the entry's id, once one was set or found
    bool idKnown = false;
    std::string category;

    std::vector<Match> fuzzy;   // ANSI texts
    std::vector<Site> servers;
    std::vector<std::string> categories;
    std::vector<LocalRef> localEntries;
};

std::shared_ptr<Session> newSession(cddb_handle_t *handle);
// Null for a handle that was never made or was cleaned up.
std::shared_ptr<Session> findSession(cddb_handle_t handle);
bool dropSession(cddb_handle_t handle);

// Sets the disc to `count` tracks with unset starts; keeps the texts of
// tracks that remain.
void setTrackCount(Session &session, int count);
// True when the disc has 1..99 tracks and increasing starts, the lead-out last.
bool discIsComplete(const Session &session);
// The freedb id of the disc (discIsComplete first).
uint32_t discIdOf(const Session &session);
// The entry's id: found or set, else the disc's; 0 when neither is known.
uint32_t entryIdOf(const Session &session);
// The entry as a file holds it: UTF-8 texts, the disc's offsets and length,
// its id, the revision and the submitting program. False without a complete disc.
bool entryForFile(const Session &session, bool submission, XmcdEntry *out);
// Takes a parsed entry (file bytes) into the handle: texts to ANSI, and,
// when `withDisc`, the disc from its offsets and length.
void takeEntry(Session &session, const XmcdEntry &parsed, Charset charset, bool withDisc);

} // namespace cddb

#endif
