// entrywalk.h - what entries.cpp and check.cpp share: the sorted walk over
// the live entries' ids. Called with the database held.
#ifndef LIBPLATTER_TITLEDB_ENTRYWALK_H
#define LIBPLATTER_TITLEDB_ENTRYWALK_H

#include <cstdint>

namespace titledb {

// The lowest live id (first), or the lowest above `after`; false when none.
bool nextEntryId(bool first, uint32_t after, uint32_t *winId);
// Drops the sorted copy of the ids, after a change that moved no file end.
void forgetEntryWalk();

} // namespace titledb

#endif
