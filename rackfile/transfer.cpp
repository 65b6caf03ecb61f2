// transfer.cpp - export to and import from CDDB trees.
#include "rackfile/transfer.h"
#include "rackfile/cdplayerfile.h"
#include "rackfile/version.h"

#include <windows.h>

#include <set>

const char kExportCategory[] = "misc";

namespace {

const size_t kMaxProblems = 10;

void noteProblem(TransferReport *report, const std::string &line)
{
    ++report->failed;
    if (report->problems.size() < kMaxProblems)
        report->problems.push_back(line);
}

// One CDDB session for the length of a scope.
class CddbSession {
public:
    CddbSession() : handle_(cddb_init(kRackfileProgram, kRackfileVersion, kRackfileCopyright)) {}
    ~CddbSession()
    {
        if (handle_)
            cddb_cleanup(handle_);
    }
    CddbSession(const CddbSession &) = delete;
    CddbSession &operator=(const CddbSession &) = delete;
    cddb_handle_t get() const { return handle_; }

private:
    cddb_handle_t handle_;
};

const char *textPtr(const EntryText &t) { return t ? t->c_str() : nullptr; }

// Hands the entry to a fresh session; false when the disc cannot be set.
bool setEntry(cddb_handle_t h, const EntryData &e)
{
    if (cddb_set_num_tracks(h, e.trackCount) <= 0)
        return false;
    for (int n = 1; n <= e.trackCount + 1; ++n) {
        int32_t frames = e.startFrames[(size_t)n - 1];
        if (cddb_set_track_time(h, n, frames / 4500, frames / 75 % 60, frames % 75) <= 0)
            return false;
    }
    cddb_set_rev_number(h, e.revision);
    cddb_set_artist(h, textPtr(e.artist));
    cddb_set_title(h, textPtr(e.discTitle));
    cddb_set_ext_title(h, textPtr(e.discText));
    for (int n = 1; n <= e.trackCount; ++n) {
        cddb_set_track_title(h, n, textPtr(e.trackTitles[(size_t)n - 1]));
        cddb_set_ext_track_title(h, n, textPtr(e.trackTexts[(size_t)n - 1]));
    }
    std::vector<int> order(e.program.begin(), e.program.end());
    cddb_set_play_order(h, (int)order.size(), order.empty() ? nullptr : order.data());
    return cddb_set_category_name(h, kExportCategory) > 0;
}

EntryText getText(const char *text) { return text ? EntryText(std::string(text)) : EntryText(); }

// The entry read into the session, as the database keeps it.
bool takeEntry(cddb_handle_t h, uint32_t *winId, EntryData *e)
{
    int tracks = cddb_get_num_tracks(h);
    if (tracks < 1 || cddb_get_win_id(h, winId) <= 0)
        return false;
    e->cddbEntry = 1;
    e->revision = cddb_get_rev_number(h);
    e->submitted = 0;
    e->artist = getText(cddb_get_artist(h));
    e->discTitle = getText(cddb_get_title(h));
    e->discText = getText(cddb_get_ext_title(h));
    e->resizeTracks(tracks);
    e->startFrames.assign((size_t)tracks + 1, 0);
    for (int n = 1; n <= tracks + 1; ++n) {
        int m = 0, s = 0, f = 0;
        if (cddb_get_track_time(h, n, &m, &s, &f) <= 0)
            return false;
        e->startFrames[(size_t)n - 1] = m * 4500 + s * 75 + f;
    }
    for (int n = 1; n <= tracks; ++n) {
        e->trackTitles[(size_t)n - 1] = getText(cddb_get_track_title(h, n));
        e->trackTexts[(size_t)n - 1] = getText(cddb_get_ext_track_title(h, n));
    }
    e->program.clear();
    int order = cddb_get_num_play_order(h);
    for (int i = 1; i <= order; ++i) {
        int track = cddb_get_play_order_track(h, i);
        if (track >= 1 && track <= tracks)
            e->program.push_back(track);
    }
    return true;
}

// Stores an imported entry unless the database has one for that disc.
void takeIn(uint32_t winId, const EntryData &entry, TransferReport *report)
{
    EntryData existing;
    if (readEntry(winId, &existing)) {
        ++report->skipped;
        return;
    }
    if (writeEntry(winId, entry))
        ++report->done;
    else
        noteProblem(report, idText(winId) + ": cannot be written to the title database");
}

} // namespace

TransferReport exportEntries(const std::string &folder, int layout, const std::vector<uint32_t> &chosen,
                             const TaskProgress &progress)
{
    TransferReport report;
    std::vector<uint32_t> ids = chosen;
    if (ids.empty() && !listEntryIds(&ids))
        return report;
    if (folder.empty())
        return report;
    report.sourceOk = true;
    std::set<uint32_t> written; // CDDB ids this export has filed
    for (size_t i = 0; i < ids.size(); ++i) {
        EntryData entry;
        if (!readEntry(ids[i], &entry)) {
            noteProblem(&report, idText(ids[i]) + ": cannot be read from the title database");
        } else if (!entry.hasTrackLayout()) {
            ++report.skipped; // titles without a disc (from a CD Player file)
        } else {
            CddbSession session;
            if (!session.get() || !setEntry(session.get(), entry)) {
                noteProblem(&report, idText(ids[i]) + ": its track layout is not a CD's");
            } else {
                uint32_t cddbId = cddb_get_id(session.get());
                if (!written.insert(cddbId).second) {
                    noteProblem(&report, idText(ids[i]) + ": another entry has the same CDDB id " +
                                             idText(cddbId));
                } else {
                    int result = cddb_write_local_entry(session.get(), folder.c_str(), layout);
                    if (result > 0)
                        ++report.done;
                    else
                        noteProblem(&report, idText(ids[i]) + ": cannot be written (" + std::to_string(result) +
                                                 ")");
                }
            }
        }
        if (progress && !progress((int)i + 1, (int)ids.size())) {
            report.stopped = true;
            break;
        }
    }
    return report;
}

TransferReport importCddbTree(const std::string &folder, const TaskProgress &progress)
{
    TransferReport report;
    CddbSession session;
    if (!session.get() || cddb_set_local_root(session.get(), folder.c_str()) <= 0)
        return report;
    int count = cddb_list_local(session.get());
    if (count < 0)
        return report;
    report.sourceOk = true;
    for (int i = 1; i <= count; ++i) {
        uint32_t winId = 0;
        EntryData entry;
        int result = cddb_read_local_entry(session.get(), i);
        if (result <= 0)
            noteProblem(&report, "entry " + std::to_string(i) + " of the tree is not valid (" +
                                     std::to_string(result) + ")");
        else if (!takeEntry(session.get(), &winId, &entry))
            noteProblem(&report, "entry " + std::to_string(i) + " of the tree has no usable track layout");
        else
            takeIn(winId, entry, &report);
        if (progress && !progress(i, count)) {
            report.stopped = true;
            break;
        }
    }
    return report;
}

TransferReport importCdPlayerFile(const std::string &file, const TaskProgress &progress)
{
    TransferReport report;
    std::vector<CdPlayerDisc> discs;
    if (!readCdPlayerFile(file, &discs))
        return report;
    report.sourceOk = true;
    for (size_t i = 0; i < discs.size(); ++i) {
        if (discs[i].empty)
            ++report.skipped;
        else
            takeIn(discs[i].winId, discs[i].entry, &report);
        if (progress && !progress((int)i + 1, (int)discs.size())) {
            report.stopped = true;
            break;
        }
    }
    return report;
}

namespace {

std::string countsLine(const char *verb, const TransferReport &r)
{
    return counted(r.done, "entry ", "entries ") + verb + ", " + std::to_string(r.skipped) + " skipped, " +
           std::to_string(r.failed) + " failed.";
}

std::string problemLines(const TransferReport &r)
{
    std::string lines;
    for (const std::string &p : r.problems)
        lines += "\r\n" + p;
    if (r.stopped)
        lines += "\r\nStopped before the end.";
    return lines;
}

} // namespace

std::string exportSummary(const TransferReport &r, const std::string &folder)
{
    if (!r.sourceOk)
        return "Export: the title database cannot be read.";
    return "Export to " + folder + ": " + countsLine("written", r) + problemLines(r);
}

std::string importSummary(const TransferReport &r, const std::string &source)
{
    if (!r.sourceOk)
        return "Import: " + source + " is neither a CDDB tree nor a CD Player file.";
    return "Import from " + source + ": " + countsLine("taken", r) + problemLines(r);
}
