// transfer.h - entries out to a CDDB tree and in from a CDDB tree or a
// Windows CD Player file. Export writes through the library's xmcd writer
// (cddb_write_local_entry); import reads through its tree reader. An entry
// the database already holds is never replaced by an import.
#ifndef RACKFILE_TRANSFER_H
#define RACKFILE_TRANSFER_H

#include "rackfile/dbtasks.h"

#include <string>
#include <vector>

struct TransferReport {
    bool sourceOk = false;  // the database, tree or file could be used at all
    int done = 0;           // entries written out, or taken in
    int skipped = 0;        // export: no track layout; import: already held, or empty
    int failed = 0;         // entries that could not be written or read
    bool stopped = false;   // the task was stopped before its end
    std::vector<std::string> problems; // the first few failures, one line each
};

// The category exported entries are filed under (the database keeps none).
extern const char kExportCategory[];

// Writes the entries (all when `ids` is empty) into the tree at `folder`,
// in either layout (PLATTER_CDDB_LAYOUT_*).
TransferReport exportEntries(const std::string &folder, int layout, const std::vector<uint32_t> &ids,
                             const TaskProgress &progress);
// Takes the entries of the CDDB tree at `folder`.
TransferReport importCddbTree(const std::string &folder, const TaskProgress &progress);
// Takes the discs of a Windows CD Player file (Cdplayer.ini).
TransferReport importCdPlayerFile(const std::string &file, const TaskProgress &progress);

std::string exportSummary(const TransferReport &report, const std::string &folder);
std::string importSummary(const TransferReport &report, const std::string &source);

#endif
