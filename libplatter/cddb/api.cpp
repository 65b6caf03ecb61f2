// api.cpp - the CDDB family of platter.h: handles, setters, getters, and
// the entry files; the operations themselves live in localtree.cpp and
// remote.cpp. A handle that was never made or was cleaned up fails every
// call (0, or null for texts).
#include "libplatter/cboundary.h"
#include "libplatter/cddb/files.h"
#include "libplatter/cddb/localtree.h"
#include "libplatter/cddb/remote.h"
#include "libplatter/cddb/session.h"
#include "libplatter/devices/discid.h"
#include "libplatter/diag.h"
#include "platter/platter.h"

#include <cstdio>

using cddb::Session;

namespace {

const char *textOf(const std::string &text)
{
    return text.empty() ? nullptr : text.c_str();
}

const char *numbered(const std::vector<std::string> &texts, int n)
{
    return n >= 1 && n <= (int)texts.size() ? textOf(texts[(size_t)n - 1]) : nullptr;
}

bool setNumbered(std::vector<std::string> &texts, int n, const char *text)
{
    if (n < 1 || n > (int)texts.size())
        return false;
    texts[(size_t)n - 1] = text ? text : "";
    return true;
}

// Runs a remote operation, with its outcome in the diagnostics.
template <typename Operation> int remote(cddb_handle_t handle, const char *name, Operation operation)
{
    auto session = cddb::findSession(handle);
    if (!session)
        return 0;
    int result = operation(*session);
    platterDiag("%s: result %d", name, result);
    return result;
}

} // namespace

extern "C" {

cddb_handle_t cddb_init(const char *program, const char *version, const char *copyright)
{
    return guardedCall<cddb_handle_t>("cddb_init", (cddb_handle_t)0, [&]() -> cddb_handle_t {
        cddb_handle_t handle = 0;
        try {
            auto session = cddb::newSession(&handle);
            session->program = program ? program : "";
            session->version = version ? version : "";
        } catch (...) {
            // A session that cannot be filled in is not handed out.
            if (handle)
                cddb::dropSession(handle);
            throw;
        }
        return handle;
    });
}

int cddb_cleanup(cddb_handle_t handle)
{
    return guardedCall<int>("cddb_cleanup", PLATTER_FAIL, [&]() -> int {
        return cddb::dropSession(handle) ? 1 : 0;
    });
}

int cddb_set_local_root(cddb_handle_t handle, const char *root)
{
    return guardedCall<int>("cddb_set_local_root", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        if (!s)
            return 0;
        s->localRoot = root ? root : "";
        return 1;
    });
}

int cddb_set_server_info(cddb_handle_t handle, const char *host, int port)
{
    return guardedCall<int>("cddb_set_server_info", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        if (!s)
            return 0;
        s->host = host ? host : "";
        s->port = port;
        return 1;
    });
}

int cddb_set_proxy_target(cddb_handle_t handle, const char *server)
{
    return guardedCall<int>("cddb_set_proxy_target", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        if (!s)
            return 0;
        s->proxyTarget = server ? server : "";
        return 1;
    });
}

int cddb_set_num_tracks(cddb_handle_t handle, int count)
{
    return guardedCall<int>("cddb_set_num_tracks", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        if (!s || count < 1 || count > cddb::kMaxEntryTracks)
            return 0;
        cddb::setTrackCount(*s, count);
        return 1;
    });
}

int cddb_set_track_time(cddb_handle_t handle, int n, int min, int sec, int frame)
{
    return guardedCall<int>("cddb_set_track_time", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        if (!s || n < 1 || n > s->trackCount + 1 || min < 0 || min > 99 || sec < 0 || sec > 59 || frame < 0 ||
            frame > 74)
            return 0;
        s->starts[(size_t)n - 1] = devices::msfToFrames(min, sec, frame);
        return 1;
    });
}

int cddb_set_rev_number(cddb_handle_t handle, int revision)
{
    return guardedCall<int>("cddb_set_rev_number", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        if (!s || revision < 0)
            return 0;
        s->entry.revision = revision;
        return 1;
    });
}

int cddb_set_artist(cddb_handle_t handle, const char *text)
{
    return guardedCall<int>("cddb_set_artist", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        if (!s)
            return 0;
        s->entry.artist = text ? text : "";
        return 1;
    });
}

int cddb_set_title(cddb_handle_t handle, const char *text)
{
    return guardedCall<int>("cddb_set_title", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        if (!s)
            return 0;
        s->entry.title = text ? text : "";
        return 1;
    });
}

int cddb_set_ext_title(cddb_handle_t handle, const char *text)
{
    return guardedCall<int>("cddb_set_ext_title", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        if (!s)
            return 0;
        s->entry.discText = text ? text : "";
        return 1;
    });
}

int cddb_set_track_title(cddb_handle_t handle, int n, const char *text)
{
    return guardedCall<int>("cddb_set_track_title", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        return s && setNumbered(s->entry.trackTitles, n, text) ? 1 : 0;
    });
}

int cddb_set_ext_track_title(cddb_handle_t handle, int n, const char *text)
{
    return guardedCall<int>("cddb_set_ext_track_title", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        return s && setNumbered(s->entry.trackTexts, n, text) ? 1 : 0;
    });
}

int cddb_set_id(cddb_handle_t handle, uint32_t discId)
{
    return guardedCall<int>("cddb_set_id", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        if (!s)
            return 0;
        s->id = discId;
        s->idKnown = true;
        return 1;
    });
}

int cddb_set_category_name(cddb_handle_t handle, const char *category)
{
    return guardedCall<int>("cddb_set_category_name", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        if (!s || !category || !cddb::isCategoryName(category))
            return 0;
        s->category = category;
        return 1;
    });
}

int cddb_set_play_order(cddb_handle_t handle, int count, const int *tracks)
{
    return guardedCall<int>("cddb_set_play_order", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        if (!s || count < 0 || (count > 0 && !tracks) || count > 999)
            return 0;
        s->entry.playOrder.assign(tracks, tracks + count);
        return 1;
    });
}

int cddb_get_rev_number(cddb_handle_t handle)
{
    return guardedCall<int>("cddb_get_rev_number", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        return s ? s->entry.revision : 0;
    });
}

const char *cddb_get_artist(cddb_handle_t handle)
{
    return guardedCall<const char *>("cddb_get_artist", (const char *)nullptr, [&]() -> const char * {
        auto s = cddb::findSession(handle);
        return s ? textOf(s->entry.artist) : nullptr;
    });
}

const char *cddb_get_title(cddb_handle_t handle)
{
    return guardedCall<const char *>("cddb_get_title", (const char *)nullptr, [&]() -> const char * {
        auto s = cddb::findSession(handle);
        return s ? textOf(s->entry.title) : nullptr;
    });
}

const char *cddb_get_ext_title(cddb_handle_t handle)
{
    return guardedCall<const char *>("cddb_get_ext_title", (const char *)nullptr, [&]() -> const char * {
        auto s = cddb::findSession(handle);
        return s ? textOf(s->entry.discText) : nullptr;
    });
}

const char *cddb_get_track_title(cddb_handle_t handle, int n)
{
    return guardedCall<const char *>("cddb_get_track_title", (const char *)nullptr, [&]() -> const char * {
        auto s = cddb::findSession(handle);
        return s ? numbered(s->entry.trackTitles, n) : nullptr;
    });
}

const char *cddb_get_ext_track_title(cddb_handle_t handle, int n)
{
    return guardedCall<const char *>("cddb_get_ext_track_title", (const char *)nullptr, [&]() -> const char * {
        auto s = cddb::findSession(handle);
        return s ? numbered(s->entry.trackTexts, n) : nullptr;
    });
}

int cddb_get_num_play_order(cddb_handle_t handle)
{
    return guardedCall<int>("cddb_get_num_play_order", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        return s ? (int)s->entry.playOrder.size() : 0;
    });
}

int cddb_get_play_order_track(cddb_handle_t handle, int i)
{
    return guardedCall<int>("cddb_get_play_order_track", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        return s && i >= 1 && i <= (int)s->entry.playOrder.size() ? s->entry.playOrder[(size_t)i - 1] : 0;
    });
}

int cddb_get_num_tracks(cddb_handle_t handle)
{
    return guardedCall<int>("cddb_get_num_tracks", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        return s ? s->trackCount : 0;
    });
}

int cddb_get_track_time(cddb_handle_t handle, int n, int *min, int *sec, int *frame)
{
    return guardedCall<int>("cddb_get_track_time", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        if (!s || n < 1 || n > s->trackCount + 1 || s->starts[(size_t)n - 1] < 0)
            return 0;
        devices::Msf msf = devices::framesToMsf(s->starts[(size_t)n - 1]);
        if (min)
            *min = msf.minutes;
        if (sec)
            *sec = msf.seconds;
        if (frame)
            *frame = msf.frames;
        return 1;
    });
}

uint32_t cddb_get_id(cddb_handle_t handle)
{
    return guardedCall<uint32_t>("cddb_get_id", (uint32_t)0, [&]() -> uint32_t {
        auto s = cddb::findSession(handle);
        return s ? cddb::entryIdOf(*s) : 0;
    });
}

const char *cddb_get_category_name(cddb_handle_t handle)
{
    return guardedCall<const char *>("cddb_get_category_name", (const char *)nullptr, [&]() -> const char * {
        auto s = cddb::findSession(handle);
        return s ? textOf(s->category) : nullptr;
    });
}

int cddb_get_win_id(cddb_handle_t handle, uint32_t *winId)
{
    return guardedCall<int>("cddb_get_win_id", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        if (!s || !winId || !cddb::discIsComplete(*s))
            return 0;
        devices::DiscToc toc;
        for (int n = 0; n < s->trackCount; ++n)
            toc.tracks.push_back(devices::TocTrack{s->starts[(size_t)n], true});
        toc.leadOut = s->starts[(size_t)s->trackCount];
        *winId = devices::windowsPlayerId(toc);
        return 1;
    });
}

int cddb_get_num_fuzzy(cddb_handle_t handle)
{
    return guardedCall<int>("cddb_get_num_fuzzy", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        return s ? (int)s->fuzzy.size() : 0;
    });
}

const char *cddb_get_fuzzy_artist(cddb_handle_t handle, int i)
{
    return guardedCall<const char *>("cddb_get_fuzzy_artist", (const char *)nullptr, [&]() -> const char * {
        auto s = cddb::findSession(handle);
        return s && i >= 1 && i <= (int)s->fuzzy.size() ? textOf(s->fuzzy[(size_t)i - 1].artist) : nullptr;
    });
}

const char *cddb_get_fuzzy_title(cddb_handle_t handle, int i)
{
    return guardedCall<const char *>("cddb_get_fuzzy_title", (const char *)nullptr, [&]() -> const char * {
        auto s = cddb::findSession(handle);
        return s && i >= 1 && i <= (int)s->fuzzy.size() ? textOf(s->fuzzy[(size_t)i - 1].title) : nullptr;
    });
}

uint32_t cddb_get_fuzzy_id(cddb_handle_t handle, int i)
{
    return guardedCall<uint32_t>("cddb_get_fuzzy_id", (uint32_t)0, [&]() -> uint32_t {
        auto s = cddb::findSession(handle);
        return s && i >= 1 && i <= (int)s->fuzzy.size() ? s->fuzzy[(size_t)i - 1].id : 0;
    });
}

const char *cddb_get_fuzzy_category(cddb_handle_t handle, int i)
{
    return guardedCall<const char *>("cddb_get_fuzzy_category", (const char *)nullptr, [&]() -> const char * {
        auto s = cddb::findSession(handle);
        return s && i >= 1 && i <= (int)s->fuzzy.size() ? textOf(s->fuzzy[(size_t)i - 1].category) : nullptr;
    });
}

int cddb_get_num_server_list(cddb_handle_t handle)
{
    return guardedCall<int>("cddb_get_num_server_list", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        return s ? (int)s->servers.size() : 0;
    });
}

const char *cddb_get_server_list_name(cddb_handle_t handle, int n)
{
    return guardedCall<const char *>("cddb_get_server_list_name", (const char *)nullptr, [&]() -> const char * {
        auto s = cddb::findSession(handle);
        return s && n >= 1 && n <= (int)s->servers.size() ? textOf(s->servers[(size_t)n - 1].host) : nullptr;
    });
}

const char *cddb_get_server_list_descr(cddb_handle_t handle, int n)
{
    return guardedCall<const char *>("cddb_get_server_list_descr", (const char *)nullptr, [&]() -> const char * {
        auto s = cddb::findSession(handle);
        return s && n >= 1 && n <= (int)s->servers.size() ? textOf(s->servers[(size_t)n - 1].description) : nullptr;
    });
}

int cddb_get_server_list_port(cddb_handle_t handle, int n)
{
    return guardedCall<int>("cddb_get_server_list_port", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        return s && n >= 1 && n <= (int)s->servers.size() ? s->servers[(size_t)n - 1].port : 0;
    });
}

int cddb_get_num_category_list(cddb_handle_t handle)
{
    return guardedCall<int>("cddb_get_num_category_list", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        return s ? (int)s->categories.size() : 0;
    });
}

const char *cddb_get_category_list_name(cddb_handle_t handle, int n)
{
    return guardedCall<const char *>("cddb_get_category_list_name", (const char *)nullptr, [&]() -> const char * {
        auto s = cddb::findSession(handle);
        return s ? numbered(s->categories, n) : nullptr;
    });
}

int cddb_query_local(cddb_handle_t handle)
{
    return guardedCall<int>("cddb_query_local", PLATTER_FAIL, [&]() -> int {
        return remote(handle, "cddb_query_local", cddb::queryLocal);
    });
}

int cddb_list_local(cddb_handle_t handle)
{
    return guardedCall<int>("cddb_list_local", PLATTER_FAIL, [&]() -> int {
        return remote(handle, "cddb_list_local", cddb::listLocal);
    });
}

int cddb_read_local_entry(cddb_handle_t handle, int i)
{
    return guardedCall<int>("cddb_read_local_entry", PLATTER_FAIL, [&]() -> int {
        return remote(handle, "cddb_read_local_entry", [i](Session &s) { return cddb::readLocalEntry(s, i); });
    });
}

int cddb_write_local_entry(cddb_handle_t handle, const char *root, int layout)
{
    return guardedCall<int>("cddb_write_local_entry", PLATTER_FAIL, [&]() -> int {
        std::string folder = root ? root : "";
        return remote(handle, "cddb_write_local_entry",
                      [&folder, layout](Session &s) { return cddb::writeLocalEntry(s, folder, layout); });
    });
}

int cddb_query_remote(cddb_handle_t handle)
{
    return guardedCall<int>("cddb_query_remote", PLATTER_FAIL, [&]() -> int {
        return remote(handle, "cddb_query_remote", cddb::queryRemote);
    });
}

int cddb_fetch_remote(cddb_handle_t handle)
{
    return guardedCall<int>("cddb_fetch_remote", PLATTER_FAIL, [&]() -> int {
        return remote(handle, "cddb_fetch_remote", cddb::fetchRemote);
    });
}

int cddb_fetch_server_list(cddb_handle_t handle)
{
    return guardedCall<int>("cddb_fetch_server_list", PLATTER_FAIL, [&]() -> int {
        return remote(handle, "cddb_fetch_server_list", cddb::fetchServerList);
    });
}

int cddb_fetch_category_list(cddb_handle_t handle)
{
    return guardedCall<int>("cddb_fetch_category_list", PLATTER_FAIL, [&]() -> int {
        return remote(handle, "cddb_fetch_category_list", cddb::fetchCategoryList);
    });
}

int cddb_read_entry_file(cddb_handle_t handle, const char *fileName)
{
    return guardedCall<int>("cddb_read_entry_file", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        if (!s)
            return 0;
        std::string content, problem;
        if (!fileName || !cddb::readWholeFile(fileName, cddb::kMaxEntryFileBytes, &content))
            return PLATTER_CDDB_FILE_ERROR;
        cddb::XmcdEntry entry;
        if (!cddb::parseXmcd(content, &entry, &problem)) {
            platterDiag("CDDB: %s is not a valid entry: %s", fileName, problem.c_str());
            return PLATTER_CDDB_ILLEGAL_FILE;
        }
        cddb::takeEntry(*s, entry, cddb::Charset::Guess, true);
        return 1;
    });
}

int cddb_write_entry_file(cddb_handle_t handle, const char *fileName)
{
    return guardedCall<int>("cddb_write_entry_file", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        if (!s)
            return 0;
        cddb::XmcdEntry entry;
        if (!fileName || !*fileName || !cddb::entryForFile(*s, false, &entry))
            return PLATTER_CDDB_NOT_READY;
        return cddb::replaceFile(fileName, cddb::writeXmcd(entry)) ? 1 : PLATTER_CDDB_FILE_ERROR;
    });
}

int cddb_write_submit_file(cddb_handle_t handle, const char *fileName)
{
    return guardedCall<int>("cddb_write_submit_file", PLATTER_FAIL, [&]() -> int {
        auto s = cddb::findSession(handle);
        if (!s)
            return 0;
        cddb::XmcdEntry entry;
        if (!fileName || !*fileName || !cddb::entryForFile(*s, true, &entry))
            return PLATTER_CDDB_NOT_READY;
        // Written in place: the caller made the file (a unique temporary name).
        FILE *f = fopen(fileName, "wb");
        if (!f)
            return PLATTER_CDDB_FILE_ERROR;
        std::string text = cddb::writeXmcd(entry);
        bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
        ok = fclose(f) == 0 && ok;
        return ok ? 1 : PLATTER_CDDB_FILE_ERROR;
    });
}

int cddb_write_submit_subject(cddb_handle_t handle, char *subject, int size)
{
    return guardedCall<int>("cddb_write_submit_subject", PLATTER_FAIL, [&]() -> int {
        if (subject && size > 0)
            subject[0] = 0;
        auto s = cddb::findSession(handle);
        if (!s)
            return 0;
        if (!subject || size <= 0 || !cddb::isCategoryName(s->category) || !cddb::discIsComplete(*s))
            return PLATTER_CDDB_NOT_READY;
        std::string text = "cddb " + s->category + " " + cddb::discIdText(cddb::discIdOf(*s));
        if ((int)text.size() >= size)
            return PLATTER_CDDB_NOT_READY;
        snprintf(subject, (size_t)size, "%s", text.c_str());
        return 1;
    });
}

} // extern "C"
