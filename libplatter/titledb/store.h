// store.h - the title database as this process sees it: the open file and
// the index from winId to the newest record. Every function here runs with
// the database lock held (dblock.h); db_* in titledb.cpp make sure of it.
#ifndef LIBPLATTER_TITLEDB_STORE_H
#define LIBPLATTER_TITLEDB_STORE_H

#include "platter/platter.h"

#include <cstdint>
#include <string>

namespace titledb {

// The process has just taken the database: brings the index up to date
// with whatever other processes wrote since. `changes` is the writers'
// shared count (null when there is none): when it stands where this process
// last saw it, the index is kept as it is and the file is opened only when
// a call needs its bytes; otherwise the file's size and header are checked
// and what was appended is read.
void storeAttach(const std::string &path, const uint32_t *changes);
// The process lets go of the database: closes the file, keeps the index.
void storeDetach();

int storeRead(uint32_t winId, TitleRecord *record);
int storeWrite(uint32_t winId, const TitleRecord &record);
int storeDelete(uint32_t winId);
int storeStatistics(int32_t *total, int32_t *reclaimable);
int storeCompact();

// Test and benchmark seam: forget the index, so that the next db_lock reads
// the whole file as a newly started process would.
void storeForgetIndex();
// Test seam: how often a db_lock has looked at the file afresh.
uint32_t storeRefreshCount();

} // namespace titledb

#endif
