// localtree.h - local CDDB trees in both layouts: root\category\discid
// files of one entry each, and the Windows layout whose category folders
// hold range files ("00to1f") of many entries, each after its
// "#FILENAME=discid" line.
#ifndef LIBPLATTER_CDDB_LOCALTREE_H
#define LIBPLATTER_CDDB_LOCALTREE_H

#include "libplatter/cddb/session.h"

namespace cddb {

// Looks the handle's disc up: 1 found, -1 not found, -2 no tree, -3 a bad entry.
int queryLocal(Session &session);
// Lists every entry of the tree: the count, -2 no tree, -3 a damaged range file.
int listLocal(Session &session);
// Reads listed entry `index` (from 1) with its disc: 1, -3 bad entry, -11 unreadable.
int readLocalEntry(Session &session, int index);
// Stores the handle's entry in the tree at `root`.
int writeLocalEntry(Session &session, const std::string &root, int layout);

// "00to1f": true with the range of first id bytes it covers.
bool parseRangeFileName(const std::string &name, int *low, int *high);

} // namespace cddb

#endif
