// dbtasks.cpp - the database work behind Rackfile's commands.
#include "rackfile/dbtasks.h"

#include <algorithm>
#include <cstdio>

namespace {

// Entries read per hold of the database while listing.
const size_t kRowsPerHold = 200;

// Holds the database for one scope.
class Hold {
public:
    Hold() : held_(db_lock() > 0) {}
    ~Hold()
    {
        if (held_)
            db_unlock();
    }
    Hold(const Hold &) = delete;
    Hold &operator=(const Hold &) = delete;
    bool held() const { return held_; }

private:
    bool held_;
};

bool readHeld(uint32_t winId, EntryData *entry)
{
    TitleRecord record = {};
    if (db_read_entry(winId, &record) <= 0)
        return false;
    *entry = entryFromRecord(record);
    db_free(&record);
    return true;
}

} // namespace

std::string idText(uint32_t winId)
{
    char text[16];
    snprintf(text, sizeof text, "%08X", (unsigned)winId);
    return text;
}

bool listEntryIds(std::vector<uint32_t> *ids)
{
    ids->clear();
    Hold hold;
    // A file that is no title database (or cannot be read) has no entries
    // to walk, and that must not pass for an empty database.
    int32_t total = 0, reclaimable = 0;
    if (!hold.held() || db_statistics(&total, &reclaimable) <= 0)
        return false;
    uint32_t id = 0;
    for (int more = db_first_entry(&id); more > 0; more = db_next_entry(id, &id))
        ids->push_back(id);
    return true;
}

EntryRow rowOf(uint32_t winId, const EntryData &entry)
{
    EntryRow row;
    row.winId = winId;
    row.artist = textOr(entry.artist);
    row.title = textOr(entry.discTitle);
    row.tracks = entry.trackCount;
    row.fromCddb = entry.cddbEntry != 0;
    row.submitted = entry.submitted != 0;
    return row;
}

bool listEntries(std::vector<EntryRow> *rows, const TaskProgress &progress)
{
    rows->clear();
    std::vector<uint32_t> ids;
    if (!listEntryIds(&ids))
        return false;
    rows->reserve(ids.size());
    for (size_t start = 0; start < ids.size(); start += kRowsPerHold) {
        {
            Hold hold;
            if (!hold.held())
                return false;
            for (size_t i = start; i < ids.size() && i < start + kRowsPerHold; ++i) {
                EntryData entry;
                // Deleted by someone else since the ids were listed: left out.
                if (readHeld(ids[i], &entry))
                    rows->push_back(rowOf(ids[i], entry));
            }
        }
        size_t done = start + kRowsPerHold < ids.size() ? start + kRowsPerHold : ids.size();
        if (progress && !progress((int)done, (int)ids.size()))
            return false;
    }
    return true;
}

bool readEntry(uint32_t winId, EntryData *entry)
{
    Hold hold;
    return hold.held() && readHeld(winId, entry);
}

bool writeEntry(uint32_t winId, const EntryData &entry)
{
    EntryRecord record(entry);
    Hold hold;
    return hold.held() && db_write_entry(winId, record.get()) > 0;
}

bool deleteEntry(uint32_t winId)
{
    Hold hold;
    return hold.held() && db_delete_entry(winId) > 0;
}

CheckReport checkDatabase()
{
    CheckReport report;
    uint32_t ids[kMaxDamagedListed];
    Hold hold;
    if (!hold.held())
        return report;
    report.result = db_check(&report.counts, ids, kMaxDamagedListed);
    int32_t listed = report.counts.damagedEntries < kMaxDamagedListed ? report.counts.damagedEntries
                                                                       : kMaxDamagedListed;
    if (report.result > 0 && listed > 0) {
        report.damagedIds.assign(ids, ids + listed);
        std::sort(report.damagedIds.begin(), report.damagedIds.end());
    }
    return report;
}

CompactReport compactDatabase()
{
    CompactReport report;
    Hold hold;
    if (!hold.held())
        return report;
    report.statsBefore = db_statistics(&report.totalBefore, &report.reclaimableBefore) > 0;
    report.result = db_compact();
    report.statsAfter = db_statistics(&report.totalAfter, &report.reclaimableAfter) > 0;
    return report;
}

std::string counted(long count, const char *one, const char *many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string checkSummary(const CheckReport &r)
{
    if (r.result <= 0)
        return "Check: the title database cannot be read.";
    const DbCheckCounts &c = r.counts;
    std::string summary = "Check: " + counted(c.recordsRead, "record", "records") + " read, " +
                          counted(c.liveEntries, "entry", "entries") + ", " +
                          counted(c.damagedRecords, "damaged record", "damaged records") + ", " +
                          counted(c.damagedEntries, "damaged entry", "damaged entries") + ".\r\n" +
                          "Compaction would drop " + counted(c.droppedRecords, "record", "records") +
                          " and free " + counted(c.reclaimableBytes, "byte", "bytes") + ".";
    if (c.tornBytes > 0)
        summary += (c.tornBytes == 1 ? std::string("\r\nThe last byte is an unfinished record.")
                                       : "\r\nThe last " + std::to_string(c.tornBytes) + " bytes are an unfinished record.");
    if (!r.damagedIds.empty()) {
        summary += "\r\nDamaged entries (lost at compaction):";
        for (uint32_t id : r.damagedIds)
            summary += " " + idText(id);
        if ((int32_t)r.damagedIds.size() < c.damagedEntries)
            summary += " ...";
    }
    return summary;
}

std::string compactSummary(const CompactReport &r)
{
    std::string summary;
    if (r.statsBefore) {
        summary += "Before: " + counted(r.totalBefore, "byte", "bytes") + ", " +
                   std::to_string(r.reclaimableBefore) + " reclaimable.\r\n";
    }
    if (r.result == PLATTER_OK)
        summary += "Compact: done.";
    else if (r.result == PLATTER_DB_CORRUPT_DROPPED)
        summary += "Compact: done; damaged entries were left out.";
    else
        summary += "Compact: failed; the database was left as it was.";
    if (r.statsAfter) {
        summary += "\r\nAfter: " + counted(r.totalAfter, "byte", "bytes") + ", " +
                   std::to_string(r.reclaimableAfter) + " reclaimable.";
    }
    return summary;
}
