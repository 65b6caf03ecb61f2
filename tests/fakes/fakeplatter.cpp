// fakeplatter.cpp - the fake CD library: a call log, scripted results and a
// small model of drives, discs, the title database and a CDDB session.
#include "fakes/fakeplatter.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <algorithm>
#include <mutex>

namespace fake {

namespace {

struct Text {
    bool present = false;
    std::string value;
};

Text textOf(const char *s)
{
    Text t;
    if (s) {
        t.present = true;
        t.value = s;
    }
    return t;
}

struct StoredEntry {
    int cddbEntry = 0, revision = 0, submitted = 0;
    Text artist, discTitle, discText;
    int trackCount = 0;
    std::vector<int> startFrames;
    std::vector<Text> trackTitles, trackTexts;
    std::vector<int> program;
};

struct Drive {
    bool hasDisc = false;
    Disc disc;
    Position position;
    int state = PlayStateStopped;
    bool refuseOpen = false;
    int swaps = 0;   // discs put in by swapDisc
};

struct State {
    std::vector<std::string> calls;
    std::map<std::string, std::deque<int>> queued;
    std::map<std::string, int> fixed;
    std::map<std::string, Drive> drives;
    std::map<cd_handle_t, std::string> handles;   // handle -> drive name ("" until opened)
    std::map<cd_handle_t, int> readSwaps;         // the drive's swaps when the handle last read its disc
    cd_handle_t nextHandle = 1;
    std::map<uint32_t, StoredEntry> entries;
    int32_t statTotal = 0, statReclaimable = 0;
    int outstandingReads = 0;
    std::map<std::string, Text> cddbTexts;
    std::map<std::string, Text> cddbSet;
    cddb_handle_t nextCddb = 100;
};

std::recursive_mutex lock;

std::mutex pauseLock;
std::map<std::string, std::function<void()>> &pauses()
{
    static std::map<std::string, std::function<void()>> p;
    return p;
}

// Runs the pause of `fn`, if a test set one; never with the fake's lock held.
void pauseAt(const std::string &fn)
{
    std::function<void()> hook;
    {
        std::lock_guard<std::mutex> guard(pauseLock);
        auto it = pauses().find(fn);
        if (it != pauses().end())
            hook = it->second;
    }
    if (hook)
        hook();
}
State &state()
{
    static State s;
    return s;
}

void logCall(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
void logCall(const char *fmt, ...)
{
    char text[512];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(text, sizeof text, fmt, ap);
    va_end(ap);
    state().calls.push_back(text);
}

std::string quoted(const char *s)
{
    return s ? "\"" + std::string(s) + "\"" : std::string("null");
}

// A scripted result for `fn`, if there is one.
bool scripted(const std::string &fn, int *result)
{
    auto q = state().queued.find(fn);
    if (q != state().queued.end() && !q->second.empty()) {
        *result = q->second.front();
        q->second.pop_front();
        return true;
    }
    auto f = state().fixed.find(fn);
    if (f != state().fixed.end()) {
        *result = f->second;
        return true;
    }
    return false;
}

Drive *driveOf(cd_handle_t h)
{
    auto it = state().handles.find(h);
    if (it == state().handles.end() || it->second.empty())
        return nullptr;
    return &state().drives[it->second];
}

Drive *loadedDrive(cd_handle_t h)
{
    Drive *d = driveOf(h);
    return d && d->hasDisc ? d : nullptr;
}

void toMsf(int frames, int *m, int *s, int *f)
{
    if (m) *m = frames / 4500;
    if (s) *s = (frames % 4500) / 75;
    if (f) *f = frames % 75;
}

char *heapCopy(const Text &t)
{
    if (!t.present)
        return nullptr;
    char *copy = static_cast<char *>(malloc(t.value.size() + 1));
    memcpy(copy, t.value.c_str(), t.value.size() + 1);
    return copy;
}

std::string textField(const Text &t)
{
    return t.present ? t.value : std::string("<null>");
}

#define LOCKED std::lock_guard<std::recursive_mutex> guard(lock)

} // namespace

// ---- the log and scripts ----

std::vector<std::string> calls()
{
    LOCKED;
    return state().calls;
}

std::vector<std::string> callsTo(const std::string &prefix)
{
    LOCKED;
    std::vector<std::string> out;
    for (const auto &c : state().calls)
        if (c.compare(0, prefix.size(), prefix) == 0)
            out.push_back(c);
    return out;
}

std::string callLog()
{
    LOCKED;
    std::string out;
    for (const auto &c : state().calls)
        out += (out.empty() ? "" : ", ") + c;
    return out;
}

void clearCalls()
{
    LOCKED;
    state().calls.clear();
}

void reset()
{
    {
        std::lock_guard<std::mutex> guard(pauseLock);
        pauses().clear();
    }
    LOCKED;
    state() = State();
}

void setPause(const std::string &function, std::function<void()> hook)
{
    std::lock_guard<std::mutex> guard(pauseLock);
    if (hook)
        pauses()[function] = std::move(hook);
    else
        pauses().erase(function);
}

void queueResults(const std::string &function, std::initializer_list<int> results)
{
    LOCKED;
    for (int r : results)
        state().queued[function].push_back(r);
}

void setResult(const std::string &function, int result)
{
    LOCKED;
    state().fixed[function] = result;
}

// ---- drives ----

Disc audioDisc(const std::vector<int> &lengthsSeconds, uint32_t winId)
{
    Disc d;
    int frame = 150;
    for (int len : lengthsSeconds) {
        d.trackTypes.push_back(1);
        d.startFrames.push_back(frame);
        frame += len * 75;
    }
    d.startFrames.push_back(frame);
    d.winId = winId;
    d.cddbId = winId ^ 0x5A5A5A5A;
    return d;
}

void insertDisc(const std::string &drive, const Disc &disc)
{
    LOCKED;
    Drive &d = state().drives[drive];
    d.hasDisc = true;
    d.disc = disc;
    d.state = PlayStateStopped;
}

void removeDisc(const std::string &drive)
{
    LOCKED;
    Drive &d = state().drives[drive];
    d.hasDisc = false;
    d.disc = Disc();
    d.state = 0;
}

void swapDisc(const std::string &drive, const Disc &disc)
{
    LOCKED;
    Drive &d = state().drives[drive];
    d.hasDisc = true;
    d.disc = disc;
    d.state = PlayStateStopped;
    d.position = Position();
    ++d.swaps;
}

void setPosition(const std::string &drive, const Position &position)
{
    LOCKED;
    state().drives[drive].position = position;
}

void setDriveState(const std::string &drive, int s)
{
    LOCKED;
    state().drives[drive].state = s;
}

int driveState(const std::string &drive)
{
    LOCKED;
    return state().drives[drive].state;
}

cd_handle_t handleOf(const std::string &drive)
{
    LOCKED;
    for (const auto &h : state().handles)
        if (h.second == drive)
            return h.first;
    return 0;
}

void failOpen(const std::string &drive)
{
    LOCKED;
    state().drives[drive].refuseOpen = true;
}

// ---- database ----

void putEntry(uint32_t winId, const Entry &e)
{
    LOCKED;
    StoredEntry s;
    s.cddbEntry = e.cddbEntry;
    s.revision = e.revision;
    s.submitted = e.submitted;
    s.artist = textOf(e.artist);
    s.discTitle = textOf(e.discTitle);
    s.discText = textOf(e.discText);
    s.trackCount = (int)std::max(e.trackTitles.size(), e.trackTexts.size());
    for (int i = 0; i < s.trackCount; ++i) {
        s.trackTitles.push_back(textOf(i < (int)e.trackTitles.size() ? e.trackTitles[i] : nullptr));
        s.trackTexts.push_back(textOf(i < (int)e.trackTexts.size() ? e.trackTexts[i] : nullptr));
    }
    s.program = e.program;
    state().entries[winId] = s;
}

bool hasEntry(uint32_t winId)
{
    LOCKED;
    return state().entries.count(winId) != 0;
}

std::string entryField(uint32_t winId, const std::string &field)
{
    LOCKED;
    auto it = state().entries.find(winId);
    if (it == state().entries.end())
        return "<no entry>";
    const StoredEntry &e = it->second;
    if (field == "artist") return textField(e.artist);
    if (field == "discTitle") return textField(e.discTitle);
    if (field == "discText") return textField(e.discText);
    if (field == "cddbEntry") return std::to_string(e.cddbEntry);
    if (field == "revision") return std::to_string(e.revision);
    if (field == "submitted") return std::to_string(e.submitted);
    if (field == "trackCount") return std::to_string(e.trackCount);
    if (field == "program" || field == "startFrames") {
        const std::vector<int> &v = field == "program" ? e.program : e.startFrames;
        std::string out;
        for (int x : v)
            out += (out.empty() ? "" : ",") + std::to_string(x);
        return out;
    }
    size_t colon = field.find(':');
    if (colon != std::string::npos) {
        int n = atoi(field.c_str() + colon + 1);
        const std::vector<Text> &list = field.compare(0, colon, "trackTitles") == 0 ? e.trackTitles : e.trackTexts;
        if (n >= 1 && n <= (int)list.size())
            return textField(list[n - 1]);
        return "<out of range>";
    }
    return "<unknown field>";
}

void setStatistics(int32_t total, int32_t reclaimable)
{
    LOCKED;
    state().statTotal = total;
    state().statReclaimable = reclaimable;
}

int unfreedReads()
{
    LOCKED;
    return state().outstandingReads;
}

// ---- CDDB ----

void setCddbText(const std::string &key, const char *text)
{
    LOCKED;
    state().cddbTexts[key] = textOf(text);
}

std::string cddbSetText(const std::string &key)
{
    LOCKED;
    auto it = state().cddbSet.find(key);
    return it == state().cddbSet.end() ? std::string("<not set>") : textField(it->second);
}

} // namespace fake

using namespace fake;

// ---- the library's functions ----

#define RESULT_OR(fn, fallback)                                                                                        \
    do {                                                                                                               \
        int scriptedResult;                                                                                            \
        if (scripted(fn, &scriptedResult))                                                                             \
            return scriptedResult;                                                                                     \
        return (fallback);                                                                                             \
    } while (0)

extern "C" {

int platter_diag_init(platter_diag_fn fn)
{
    LOCKED;
    logCall("platter_diag_init(%s)", fn ? "fn" : "null");
    RESULT_OR("platter_diag_init", 1);
}

int platter_stat_init(platter_stat_fn fn)
{
    LOCKED;
    logCall("platter_stat_init(%s)", fn ? "fn" : "null");
    RESULT_OR("platter_stat_init", 1);
}

cd_handle_t cd_init(void)
{
    LOCKED;
    int r;
    if (scripted("cd_init", &r)) {
        logCall("cd_init()");
        return (cd_handle_t)r;
    }
    cd_handle_t h = state().nextHandle++;
    state().handles[h] = "";
    logCall("cd_init()");
    return h;
}

int cd_open(cd_handle_t h, const char *drive, int flags)
{
    LOCKED;
    logCall("cd_open(%u,%s,%d)", h, quoted(drive).c_str(), flags);
    int r;
    if (scripted("cd_open", &r)) {
        if (r == 1 && drive)
            state().handles[h] = drive;
        return r;
    }
    if (!drive || state().drives[drive].refuseOpen)
        return 0;
    state().handles[h] = drive;
    return 1;
}

int cd_close(cd_handle_t h)
{
    LOCKED;
    logCall("cd_close(%u)", h);
    RESULT_OR("cd_close", 1);
}

int cd_cleanup(cd_handle_t h)
{
    LOCKED;
    logCall("cd_cleanup(%u)", h);
    state().handles.erase(h);
    RESULT_OR("cd_cleanup", 1);
}

int cd_check_if_media(cd_handle_t h)
{
    LOCKED;
    logCall("cd_check_if_media(%u)", h);
    RESULT_OR("cd_check_if_media", loadedDrive(h) ? 1 : 0);
}

int cd_read_data(cd_handle_t h)
{
    LOCKED;
    logCall("cd_read_data(%u)", h);
    if (Drive *d = driveOf(h))
        state().readSwaps[h] = d->swaps;
    RESULT_OR("cd_read_data", loadedDrive(h) ? 1 : 0);
}

int cd_disc_changed(cd_handle_t h)
{
    LOCKED;
    logCall("cd_disc_changed(%u)", h);
    Drive *d = loadedDrive(h);
    auto read = state().readSwaps.find(h);
    RESULT_OR("cd_disc_changed", d && read != state().readSwaps.end() && read->second != d->swaps ? 1 : 0);
}

int cd_get_num_tracks(cd_handle_t h, int *count)
{
    LOCKED;
    logCall("cd_get_num_tracks(%u)", h);
    Drive *d = loadedDrive(h);
    if (count)
        *count = d ? (int)d->disc.trackTypes.size() : 0;
    RESULT_OR("cd_get_num_tracks", d ? 1 : 0);
}

int cd_get_track_type(cd_handle_t h, int track, int *type)
{
    LOCKED;
    logCall("cd_get_track_type(%u,%d)", h, track);
    Drive *d = loadedDrive(h);
    bool ok = d && track >= 1 && track <= (int)d->disc.trackTypes.size();
    if (ok && type)
        *type = d->disc.trackTypes[track - 1];
    RESULT_OR("cd_get_track_type", ok ? 1 : 0);
}

int cd_get_track_time(cd_handle_t h, int track, int *sm, int *ss, int *sf, int *lm, int *ls, int *lf)
{
    LOCKED;
    logCall("cd_get_track_time(%u,%d)", h, track);
    Drive *d = loadedDrive(h);
    int count = d ? (int)d->disc.trackTypes.size() : 0;
    bool ok = d && track >= 1 && track <= count + 1 && (int)d->disc.startFrames.size() == count + 1;
    if (ok) {
        int start = d->disc.startFrames[track - 1];
        int length = track <= count ? d->disc.startFrames[track] - start : 0;
        toMsf(start, sm, ss, sf);
        toMsf(length, lm, ls, lf);
    }
    RESULT_OR("cd_get_track_time", ok ? 1 : 0);
}

int cd_get_cur_time_info(cd_handle_t h, int *track, int *m, int *s, int *f, int *am, int *as, int *af)
{
    LOCKED;
    logCall("cd_get_cur_time_info(%u)", h);
    Drive *d = loadedDrive(h);
    if (d) {
        const Position &p = d->position;
        if (track) *track = p.track;
        if (m) *m = p.min;
        if (s) *s = p.sec;
        if (f) *f = p.frame;
        if (am) *am = p.absMin;
        if (as) *as = p.absSec;
        if (af) *af = p.absFrame;
    }
    RESULT_OR("cd_get_cur_time_info", d ? 1 : 0);
}

int cd_get_win_id(cd_handle_t h, uint32_t *winId)
{
    LOCKED;
    logCall("cd_get_win_id(%u)", h);
    Drive *d = loadedDrive(h);
    if (winId)
        *winId = d ? d->disc.winId : 0;
    RESULT_OR("cd_get_win_id", d ? 1 : 0);
}

int cd_get_cddb_id(cd_handle_t h, uint32_t *discId)
{
    LOCKED;
    logCall("cd_get_cddb_id(%u)", h);
    Drive *d = loadedDrive(h);
    if (discId)
        *discId = d ? d->disc.cddbId : 0;
    RESULT_OR("cd_get_cddb_id", d ? 1 : 0);
}

int cd_check_status(cd_handle_t h)
{
    LOCKED;
    logCall("cd_check_status(%u)", h);
    Drive *d = loadedDrive(h);
    RESULT_OR("cd_check_status", d ? d->state : 0);
}

int cd_play(cd_handle_t h, int track, int m, int s, int f, int single)
{
    LOCKED;
    logCall("cd_play(%u,%d,%d,%d,%d,%d)", h, track, m, s, f, single);
    Drive *d = loadedDrive(h);
    if (d) {
        d->state = PlayStatePlaying;
        d->position.track = track;
        d->position.min = m;
        d->position.sec = s;
        d->position.frame = f;
    }
    RESULT_OR("cd_play", d ? d->state : 0);
}

int cd_pause(cd_handle_t h)
{
    LOCKED;
    logCall("cd_pause(%u)", h);
    Drive *d = loadedDrive(h);
    if (d && d->state == PlayStatePlaying)
        d->state = PlayStatePaused;
    RESULT_OR("cd_pause", d ? d->state : 0);
}

int cd_resume(cd_handle_t h, int track, int single)
{
    LOCKED;
    logCall("cd_resume(%u,%d,%d)", h, track, single);
    Drive *d = loadedDrive(h);
    if (d && (d->state == PlayStatePaused || d->state == PlayStatePlaying))
        d->state = PlayStatePlaying;
    RESULT_OR("cd_resume", d ? d->state : 0);
}

int cd_stop(cd_handle_t h)
{
    LOCKED;
    logCall("cd_stop(%u)", h);
    Drive *d = loadedDrive(h);
    if (d)
        d->state = PlayStateStopped;
    RESULT_OR("cd_stop", d ? d->state : 0);
}

int cd_eject(cd_handle_t h)
{
    LOCKED;
    logCall("cd_eject(%u)", h);
    Drive *d = driveOf(h);
    if (d) {
        d->hasDisc = false;
        d->state = 0;
    }
    RESULT_OR("cd_eject", d ? 1 : 0);
}

int db_lock(void)
{
    LOCKED;
    logCall("db_lock()");
    RESULT_OR("db_lock", 1);
}

int db_unlock(void)
{
    LOCKED;
    logCall("db_unlock()");
    RESULT_OR("db_unlock", 1);
}

int db_read_entry(uint32_t winId, TitleRecord *record)
{
    LOCKED;
    logCall("db_read_entry(0x%X)", winId);
    int r;
    if (scripted("db_read_entry", &r))
        return r;
    auto it = state().entries.find(winId);
    if (it == state().entries.end() || !record)
        return 0;
    const StoredEntry &e = it->second;
    record->cddbEntry = e.cddbEntry;
    record->revision = e.revision;
    record->submitted = e.submitted;
    record->artist = heapCopy(e.artist);
    record->discTitle = heapCopy(e.discTitle);
    record->discText = heapCopy(e.discText);
    record->trackCount = e.trackCount;
    record->trackStartFrames = nullptr;
    if (!e.startFrames.empty()) {
        record->trackStartFrames = static_cast<int32_t *>(calloc(e.startFrames.size(), sizeof(int32_t)));
        for (size_t i = 0; i < e.startFrames.size(); ++i)
            record->trackStartFrames[i] = e.startFrames[i];
    }
    record->trackTitles = static_cast<char **>(calloc(e.trackCount + 1, sizeof(char *)));
    record->trackTexts = static_cast<char **>(calloc(e.trackCount + 1, sizeof(char *)));
    for (int i = 0; i < e.trackCount; ++i) {
        record->trackTitles[i] = heapCopy(e.trackTitles[i]);
        record->trackTexts[i] = heapCopy(e.trackTexts[i]);
    }
    record->programLength = (int32_t)e.program.size();
    record->programList = nullptr;
    if (!e.program.empty()) {
        record->programList = static_cast<int32_t *>(calloc(e.program.size(), sizeof(int32_t)));
        for (size_t i = 0; i < e.program.size(); ++i)
            record->programList[i] = e.program[i];
    }
    state().outstandingReads++;
    return 1;
}

int db_write_entry(uint32_t winId, const TitleRecord *record)
{
    LOCKED;
    logCall("db_write_entry(0x%X)", winId);
    int r;
    if (scripted("db_write_entry", &r))
        return r;
    if (!record)
        return 0;
    StoredEntry e;
    e.cddbEntry = record->cddbEntry;
    e.revision = record->revision;
    e.submitted = record->submitted;
    e.artist = textOf(record->artist);
    e.discTitle = textOf(record->discTitle);
    e.discText = textOf(record->discText);
    e.trackCount = record->trackCount;
    for (int i = 0; i < record->trackCount; ++i) {
        e.trackTitles.push_back(textOf(record->trackTitles ? record->trackTitles[i] : nullptr));
        e.trackTexts.push_back(textOf(record->trackTexts ? record->trackTexts[i] : nullptr));
    }
    if (record->trackStartFrames)
        for (int i = 0; i <= record->trackCount; ++i)
            e.startFrames.push_back(record->trackStartFrames[i]);
    for (int i = 0; i < record->programLength && record->programList; ++i)
        e.program.push_back(record->programList[i]);
    state().entries[winId] = e;
    return 1;
}

int db_delete_entry(uint32_t winId)
{
    LOCKED;
    logCall("db_delete_entry(0x%X)", winId);
    int r;
    if (scripted("db_delete_entry", &r))
        return r;
    return state().entries.erase(winId) ? 1 : 0;
}

int db_free(TitleRecord *record)
{
    LOCKED;
    logCall("db_free()");
    if (!record)
        return 0;
    free(record->artist);
    free(record->discTitle);
    free(record->discText);
    for (int i = 0; i < record->trackCount; ++i) {
        if (record->trackTitles)
            free(record->trackTitles[i]);
        if (record->trackTexts)
            free(record->trackTexts[i]);
    }
    free(record->trackTitles);
    free(record->trackTexts);
    free(record->trackStartFrames);
    free(record->programList);
    memset(record, 0, sizeof *record);
    state().outstandingReads--;
    return 1;
}

int db_statistics(int32_t *total, int32_t *reclaimable)
{
    LOCKED;
    logCall("db_statistics()");
    if (total)
        *total = state().statTotal;
    if (reclaimable)
        *reclaimable = state().statReclaimable;
    RESULT_OR("db_statistics", 1);
}

int db_compact(void)
{
    LOCKED;
    logCall("db_compact()");
    RESULT_OR("db_compact", 1);
}

int db_first_entry(uint32_t *winId)
{
    LOCKED;
    logCall("db_first_entry()");
    int r;
    if (scripted("db_first_entry", &r))
        return r;
    if (!winId || state().entries.empty())
        return 0;
    *winId = state().entries.begin()->first;
    return 1;
}

int db_next_entry(uint32_t after, uint32_t *winId)
{
    LOCKED;
    logCall("db_next_entry(0x%X)", after);
    int r;
    if (scripted("db_next_entry", &r))
        return r;
    auto it = state().entries.upper_bound(after);
    if (!winId || it == state().entries.end())
        return 0;
    *winId = it->first;
    return 1;
}

int db_check(DbCheckCounts *counts, uint32_t *damagedIds, int32_t capacity)
{
    LOCKED;
    logCall("db_check(%d)", capacity);
    if (counts) {
        // The model's database holds sound records only, each written once.
        memset(counts, 0, sizeof *counts);
        counts->recordsRead = counts->liveEntries = (int32_t)state().entries.size();
        counts->reclaimableBytes = state().statReclaimable;
    }
    RESULT_OR("db_check", counts ? 1 : 0);
}

// ---- CDDB: setters record, getters answer from the script ----

namespace {
const char *cddbText(const std::string &key)
{
    auto it = state().cddbTexts.find(key);
    if (it == state().cddbTexts.end() || !it->second.present)
        return nullptr;
    return it->second.value.c_str();
}

int cddbSet(const char *fn, cddb_handle_t h, const char *text)
{
    logCall("%s(%u,%s)", fn, h, quoted(text).c_str());
    state().cddbSet[fn] = textOf(text);
    int r;
    return scripted(fn, &r) ? r : 1;
}

int cddbSetNumbered(const char *fn, cddb_handle_t h, int n, const char *text)
{
    logCall("%s(%u,%d,%s)", fn, h, n, quoted(text).c_str());
    state().cddbSet[std::string(fn) + ":" + std::to_string(n)] = textOf(text);
    int r;
    return scripted(fn, &r) ? r : 1;
}

const char *cddbGet(const char *fn, cddb_handle_t h)
{
    logCall("%s(%u)", fn, h);
    return cddbText(fn);
}

const char *cddbGetNumbered(const char *fn, cddb_handle_t h, int n)
{
    logCall("%s(%u,%d)", fn, h, n);
    return cddbText(std::string(fn) + ":" + std::to_string(n));
}

int cddbOperation(const char *fn, cddb_handle_t h)
{
    logCall("%s(%u)", fn, h);
    int r;
    return scripted(fn, &r) ? r : 0;
}
}

cddb_handle_t cddb_init(const char *program, const char *version, const char *copyright)
{
    LOCKED;
    logCall("cddb_init(%s,%s,%s)", quoted(program).c_str(), quoted(version).c_str(), quoted(copyright).c_str());
    int r;
    if (scripted("cddb_init", &r))
        return (cddb_handle_t)r;
    return state().nextCddb++;
}

int cddb_cleanup(cddb_handle_t h)
{
    LOCKED;
    logCall("cddb_cleanup(%u)", h);
    RESULT_OR("cddb_cleanup", 1);
}

int cddb_set_local_root(cddb_handle_t h, const char *root) { LOCKED; return cddbSet("cddb_set_local_root", h, root); }
int cddb_set_artist(cddb_handle_t h, const char *t) { LOCKED; return cddbSet("cddb_set_artist", h, t); }
int cddb_set_title(cddb_handle_t h, const char *t) { LOCKED; return cddbSet("cddb_set_title", h, t); }
int cddb_set_ext_title(cddb_handle_t h, const char *t) { LOCKED; return cddbSet("cddb_set_ext_title", h, t); }
int cddb_set_category_name(cddb_handle_t h, const char *t) { LOCKED; return cddbSet("cddb_set_category_name", h, t); }
int cddb_set_track_title(cddb_handle_t h, int n, const char *t)
{
    LOCKED;
    return cddbSetNumbered("cddb_set_track_title", h, n, t);
}
int cddb_set_ext_track_title(cddb_handle_t h, int n, const char *t)
{
    LOCKED;
    return cddbSetNumbered("cddb_set_ext_track_title", h, n, t);
}

int cddb_set_server_info(cddb_handle_t h, const char *host, int port)
{
    LOCKED;
    logCall("cddb_set_server_info(%u,%s,%d)", h, quoted(host).c_str(), port);
    RESULT_OR("cddb_set_server_info", 1);
}

int cddb_set_num_tracks(cddb_handle_t h, int count)
{
    LOCKED;
    logCall("cddb_set_num_tracks(%u,%d)", h, count);
    RESULT_OR("cddb_set_num_tracks", 1);
}

int cddb_set_track_time(cddb_handle_t h, int n, int m, int s, int f)
{
    LOCKED;
    logCall("cddb_set_track_time(%u,%d,%d,%d,%d)", h, n, m, s, f);
    RESULT_OR("cddb_set_track_time", 1);
}

int cddb_set_rev_number(cddb_handle_t h, int revision)
{
    LOCKED;
    logCall("cddb_set_rev_number(%u,%d)", h, revision);
    RESULT_OR("cddb_set_rev_number", 1);
}

int cddb_set_id(cddb_handle_t h, uint32_t id)
{
    LOCKED;
    logCall("cddb_set_id(%u,0x%08X)", h, id);
    RESULT_OR("cddb_set_id", 1);
}

int cddb_get_rev_number(cddb_handle_t h)
{
    LOCKED;
    logCall("cddb_get_rev_number(%u)", h);
    RESULT_OR("cddb_get_rev_number", 0);
}

const char *cddb_get_artist(cddb_handle_t h) { LOCKED; return cddbGet("cddb_get_artist", h); }
const char *cddb_get_title(cddb_handle_t h) { LOCKED; return cddbGet("cddb_get_title", h); }
const char *cddb_get_ext_title(cddb_handle_t h) { LOCKED; return cddbGet("cddb_get_ext_title", h); }
const char *cddb_get_track_title(cddb_handle_t h, int n) { LOCKED; return cddbGetNumbered("cddb_get_track_title", h, n); }
const char *cddb_get_ext_track_title(cddb_handle_t h, int n)
{
    LOCKED;
    return cddbGetNumbered("cddb_get_ext_track_title", h, n);
}
const char *cddb_get_fuzzy_artist(cddb_handle_t h, int i) { LOCKED; return cddbGetNumbered("cddb_get_fuzzy_artist", h, i); }
const char *cddb_get_fuzzy_title(cddb_handle_t h, int i) { LOCKED; return cddbGetNumbered("cddb_get_fuzzy_title", h, i); }
const char *cddb_get_fuzzy_category(cddb_handle_t h, int i)
{
    LOCKED;
    return cddbGetNumbered("cddb_get_fuzzy_category", h, i);
}
const char *cddb_get_server_list_name(cddb_handle_t h, int n)
{
    LOCKED;
    return cddbGetNumbered("cddb_get_server_list_name", h, n);
}
const char *cddb_get_server_list_descr(cddb_handle_t h, int n)
{
    LOCKED;
    return cddbGetNumbered("cddb_get_server_list_descr", h, n);
}
const char *cddb_get_category_list_name(cddb_handle_t h, int n)
{
    LOCKED;
    return cddbGetNumbered("cddb_get_category_list_name", h, n);
}

uint32_t cddb_get_fuzzy_id(cddb_handle_t h, int i)
{
    LOCKED;
    logCall("cddb_get_fuzzy_id(%u,%d)", h, i);
    const char *text = cddbText("cddb_get_fuzzy_id:" + std::to_string(i));
    return text ? (uint32_t)strtoul(text, nullptr, 16) : 0;
}

int cddb_get_num_fuzzy(cddb_handle_t h) { LOCKED; return cddbOperation("cddb_get_num_fuzzy", h); }
int cddb_get_num_server_list(cddb_handle_t h) { LOCKED; return cddbOperation("cddb_get_num_server_list", h); }
int cddb_get_num_category_list(cddb_handle_t h) { LOCKED; return cddbOperation("cddb_get_num_category_list", h); }
int cddb_get_server_list_port(cddb_handle_t h, int n)
{
    LOCKED;
    logCall("cddb_get_server_list_port(%u,%d)", h, n);
    const char *text = cddbText("cddb_get_server_list_port:" + std::to_string(n));
    return text ? atoi(text) : 0;
}

int cddb_query_local(cddb_handle_t h) { pauseAt("cddb_query_local"); LOCKED; return cddbOperation("cddb_query_local", h); }
int cddb_query_remote(cddb_handle_t h) { pauseAt("cddb_query_remote"); LOCKED; return cddbOperation("cddb_query_remote", h); }
int cddb_fetch_remote(cddb_handle_t h) { pauseAt("cddb_fetch_remote"); LOCKED; return cddbOperation("cddb_fetch_remote", h); }
int cddb_fetch_server_list(cddb_handle_t h) { LOCKED; return cddbOperation("cddb_fetch_server_list", h); }
int cddb_fetch_category_list(cddb_handle_t h) { LOCKED; return cddbOperation("cddb_fetch_category_list", h); }

int cddb_write_submit_file(cddb_handle_t h, const char *fileName)
{
    pauseAt("cddb_write_submit_file");
    LOCKED;
    logCall("cddb_write_submit_file(%u,%s)", h, quoted(fileName).c_str());
    int r;
    return scripted("cddb_write_submit_file", &r) ? r : 0;
}

int cddb_write_submit_subject(cddb_handle_t h, char *subject, int size)
{
    LOCKED;
    logCall("cddb_write_submit_subject(%u,%d)", h, size);
    const char *text = cddbText("cddb_write_submit_subject");
    if (subject && size > 0)
        snprintf(subject, size, "%s", text ? text : "");
    RESULT_OR("cddb_write_submit_subject", text ? 1 : 0);
}

int platter_net_init(void)
{
    LOCKED;
    logCall("platter_net_init()");
    RESULT_OR("platter_net_init", 1);
}

int platter_net_cleanup(void)
{
    LOCKED;
    logCall("platter_net_cleanup()");
    RESULT_OR("platter_net_cleanup", 1);
}

int smtp_send(const char *server, int port, const char *from, const char *to, const char *subject,
              const char *fileName)
{
    pauseAt("smtp_send");
    LOCKED;
    logCall("smtp_send(%s,%d,%s,%s,%s,%s)", quoted(server).c_str(), port, quoted(from).c_str(), quoted(to).c_str(),
            quoted(subject).c_str(), quoted(fileName).c_str());
    RESULT_OR("smtp_send", 0);
}

// ---- CDDB entry files, local trees, proxy target and time-outs ----

int cddb_set_proxy_target(cddb_handle_t h, const char *server) { LOCKED; return cddbSet("cddb_set_proxy_target", h, server); }
int cddb_get_num_tracks(cddb_handle_t h) { LOCKED; return cddbOperation("cddb_get_num_tracks", h); }
int cddb_get_track_time(cddb_handle_t h, int n, int *min, int *sec, int *frame)
{
    LOCKED;
    logCall("cddb_get_track_time(%u,%d)", h, n);
    // Scripted as "m:s:f" under the key "cddb_get_track_time:n".
    const char *text = cddbText("cddb_get_track_time:" + std::to_string(n));
    int m = 0, s = 0, f = 0;
    bool known = text && sscanf(text, "%d:%d:%d", &m, &s, &f) == 3;
    if (min) *min = m;
    if (sec) *sec = s;
    if (frame) *frame = f;
    RESULT_OR("cddb_get_track_time", known ? 1 : 0);
}
uint32_t cddb_get_id(cddb_handle_t h)
{
    LOCKED;
    logCall("cddb_get_id(%u)", h);
    const char *text = cddbText("cddb_get_id");
    return text ? (uint32_t)strtoul(text, nullptr, 16) : 0;
}
const char *cddb_get_category_name(cddb_handle_t h) { LOCKED; return cddbGet("cddb_get_category_name", h); }
int cddb_get_win_id(cddb_handle_t h, uint32_t *winId)
{
    LOCKED;
    logCall("cddb_get_win_id(%u)", h);
    const char *text = cddbText("cddb_get_win_id");
    if (winId)
        *winId = text ? (uint32_t)strtoul(text, nullptr, 16) : 0;
    RESULT_OR("cddb_get_win_id", text ? 1 : 0);
}
int cddb_set_play_order(cddb_handle_t h, int count, const int *tracks)
{
    LOCKED;
    std::string list;
    for (int i = 0; tracks && i < count; ++i)
        list += (i ? "," : "") + std::to_string(tracks[i]);
    logCall("cddb_set_play_order(%u,%d,[%s])", h, count, list.c_str());
    RESULT_OR("cddb_set_play_order", 1);
}
int cddb_get_num_play_order(cddb_handle_t h) { LOCKED; return cddbOperation("cddb_get_num_play_order", h); }
int cddb_get_play_order_track(cddb_handle_t h, int i)
{
    LOCKED;
    logCall("cddb_get_play_order_track(%u,%d)", h, i);
    const char *text = cddbText("cddb_get_play_order_track:" + std::to_string(i));
    return text ? atoi(text) : 0;
}
int cddb_read_entry_file(cddb_handle_t h, const char *fileName)
{
    LOCKED;
    logCall("cddb_read_entry_file(%u,%s)", h, quoted(fileName).c_str());
    RESULT_OR("cddb_read_entry_file", 0);
}
int cddb_write_entry_file(cddb_handle_t h, const char *fileName)
{
    LOCKED;
    logCall("cddb_write_entry_file(%u,%s)", h, quoted(fileName).c_str());
    RESULT_OR("cddb_write_entry_file", 0);
}
int cddb_write_local_entry(cddb_handle_t h, const char *root, int layout)
{
    LOCKED;
    logCall("cddb_write_local_entry(%u,%s,%d)", h, quoted(root).c_str(), layout);
    RESULT_OR("cddb_write_local_entry", 0);
}
int cddb_list_local(cddb_handle_t h) { LOCKED; return cddbOperation("cddb_list_local", h); }
int cddb_read_local_entry(cddb_handle_t h, int i)
{
    LOCKED;
    logCall("cddb_read_local_entry(%u,%d)", h, i);
    RESULT_OR("cddb_read_local_entry", 0);
}
int platter_net_set_timeouts(int connectMs, int readMs, int operationMs)
{
    LOCKED;
    logCall("platter_net_set_timeouts(%d,%d,%d)", connectMs, readMs, operationMs);
    RESULT_OR("platter_net_set_timeouts", 1);
}

} // extern "C"
