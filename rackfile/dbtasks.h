// dbtasks.h - Rackfile's work on the title database, without any window:
// listing, reading, writing and deleting entries, the check and the
// compaction. Every library call is bracketed by db_lock and db_unlock, one
// short hold at a time, so that the player can use the database meanwhile.
#ifndef RACKFILE_DBTASKS_H
#define RACKFILE_DBTASKS_H

#include "rackfile/entrydata.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Told how far a long task has come; returning false stops the task.
using TaskProgress = std::function<bool(int done, int total)>;

// One line of the list of entries.
struct EntryRow {
    uint32_t winId = 0;
    std::string artist, title;
    int tracks = 0;
    bool fromCddb = false, submitted = false;
};

// Every entry's disc id, in increasing order; false when the database
// cannot be taken or is not a usable title database.
bool listEntryIds(std::vector<uint32_t> *ids);
// Every entry as a row, read in short holds; false when the database cannot
// be taken or the task was stopped.
bool listEntries(std::vector<EntryRow> *rows, const TaskProgress &progress);
EntryRow rowOf(uint32_t winId, const EntryData &entry);

// One entry; false when it has none (or cannot be read).
bool readEntry(uint32_t winId, EntryData *entry);
bool writeEntry(uint32_t winId, const EntryData &entry);
bool deleteEntry(uint32_t winId);

struct CheckReport {
    int result = 0; // db_check's: 1 sound, 2 damage found, 0 unreadable
    DbCheckCounts counts = {};
    std::vector<uint32_t> damagedIds; // at most kMaxDamagedListed
};
const int kMaxDamagedListed = 100;
CheckReport checkDatabase();

struct CompactReport {
    int result = 0; // db_compact's: 1, -7 (damaged entries left out), other failure
    bool statsBefore = false, statsAfter = false;
    int32_t totalBefore = 0, reclaimableBefore = 0, totalAfter = 0, reclaimableAfter = 0;
};
CompactReport compactDatabase();

// The summaries that the log, the status line and the message boxes show.
std::string checkSummary(const CheckReport &report);
std::string compactSummary(const CompactReport &report);
// "%08X", the way the list and the summaries write a disc id.
std::string idText(uint32_t winId);
// "1 record", "2 records": a count with its noun in the number it needs.
std::string counted(long count, const char *one, const char *many);

#endif
