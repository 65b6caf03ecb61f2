// store.h - the title database as this process sees it: the open file and
// the index from winId to the newest record. Every function here runs with
// the database lock held (dblock.h); db_* in titledb.cpp make sure of it.
#ifndef LIBPLATTER_TITLEDB_STORE_H
#define LIBPLATTER_TITLEDB_STORE_H

#include "platter/platter.h"

#include <cstdint>
#include <string>

namespace titledb {

// The process has just taken the database: opens the file at `path` and
// brings the index up to date with whatever other processes wrote since.
void storeAttach(const std::string &path);
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

} // namespace titledb

#endif
