// session.cpp - the table of CDDB handles and the disc arithmetic they share.
#include "libplatter/cddb/session.h"
#include "libplatter/devices/discid.h"

#include <map>
#include <mutex>

namespace cddb {

namespace {

std::mutex tableLock;
std::map<cddb_handle_t, std::shared_ptr<Session>> table;
cddb_handle_t lastHandle = 0;

devices::DiscToc tocOf(const Session &session)
{
    devices::DiscToc toc;
    for (int n = 0; n < session.trackCount; ++n)
        toc.tracks.push_back(devices::TocTrack{session.starts[n], true});
    toc.leadOut = session.starts[session.trackCount];
    return toc;
}

} // namespace

std::shared_ptr<Session> newSession(cddb_handle_t *handle)
{
    std::lock_guard<std::mutex> hold(tableLock);
    // Handles are never used twice, so a stale one cannot reach a new session.
    do {
        ++lastHandle;
    } while (lastHandle == 0 || table.count(lastHandle));
    auto session = std::make_shared<Session>();
    table[lastHandle] = session;
    *handle = lastHandle;
    return session;
}

std::shared_ptr<Session> findSession(cddb_handle_t handle)
{
    std::lock_guard<std::mutex> hold(tableLock);
    auto found = table.find(handle);
    return found == table.end() ? nullptr : found->second;
}

bool dropSession(cddb_handle_t handle)
{
    std::lock_guard<std::mutex> hold(tableLock);
    return table.erase(handle) > 0;
}

void setTrackCount(Session &session, int count)
{
    session.trackCount = count;
    session.starts.assign((size_t)count + 1, -1);
    session.entry.trackTitles.resize((size_t)count);
    session.entry.trackTexts.resize((size_t)count);
}

bool discIsComplete(const Session &session)
{
    if (session.trackCount < 1 || session.trackCount > kMaxEntryTracks ||
        (int)session.starts.size() != session.trackCount + 1)
        return false;
    for (int n = 0; n <= session.trackCount; ++n)
        if (session.starts[n] < 0 || (n > 0 && session.starts[n] <= session.starts[n - 1]))
            return false;
    return true;
}

uint32_t discIdOf(const Session &session)
{
    return devices::cddbDiscId(tocOf(session));
}

uint32_t entryIdOf(const Session &session)
{
    if (session.idKnown)
        return session.id;
    return discIsComplete(session) ? discIdOf(session) : 0;
}

bool entryForFile(const Session &session, bool submission, XmcdEntry *out)
{
    if (!discIsComplete(session))
        return false;
    XmcdEntry entry = entryToUtf8(session.entry);
    entry.trackTitles.resize((size_t)session.trackCount);
    entry.trackTexts.resize((size_t)session.trackCount);
    entry.offsets.assign(session.starts.begin(), session.starts.begin() + session.trackCount);
    entry.discLengthSeconds = session.starts[session.trackCount] / devices::kFramesPerSecond;
    uint32_t id = submission ? discIdOf(session) : entryIdOf(session);
    entry.discIds.clear();
    entry.discIds.push_back(id);
    for (uint32_t other : session.entry.discIds)
        if (other != id && !submission)
            entry.discIds.push_back(other);
    std::vector<int> order;
    for (int track : entry.playOrder)
        if (track >= 1 && track <= session.trackCount)
            order.push_back(track);
    entry.playOrder = order;
    entry.submittedVia = session.program + (session.version.empty() ? "" : " " + session.version);
    *out = entry;
    return true;
}

void takeEntry(Session &session, const XmcdEntry &parsed, Charset charset, bool withDisc)
{
    if (withDisc) {
        int count = parsed.offsets.empty() ? parsed.trackCount() : (int)parsed.offsets.size();
        setTrackCount(session, count);
        for (size_t n = 0; n < parsed.offsets.size(); ++n)
            session.starts[n] = parsed.offsets[n];
        // The file keeps the lead-out only in whole seconds.
        int leadOut = parsed.discLengthSeconds * devices::kFramesPerSecond;
        if (!parsed.offsets.empty() && leadOut > parsed.offsets.back())
            session.starts[(size_t)count] = leadOut;
    }
    session.entry = entryToAnsi(parsed, charset);
    if (!parsed.discIds.empty()) {
        session.id = parsed.discIds[0];
        session.idKnown = true;
    }
}

} // namespace cddb
