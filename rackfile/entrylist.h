// entrylist.h - the rows behind the main window's list view: every entry
// read, the rows the search lets through, and their order. The list view is
// virtual (LVS_OWNERDATA): it asks for the text of view position i.
#ifndef RACKFILE_ENTRYLIST_H
#define RACKFILE_ENTRYLIST_H

#include "rackfile/dbtasks.h"

#include <string>
#include <vector>

enum EntryColumn {
    ColumnDiscId,
    ColumnArtist,
    ColumnTitle,
    ColumnTracks,
    ColumnFromCddb,
    ColumnSubmitted,
    ColumnCount
};

// The column headings, in column order.
extern const char *const kColumnTitles[ColumnCount];

struct EntryList {
    std::vector<EntryRow> rows;  // every entry read, in id order
    std::vector<size_t> view;    // indexes into rows: what the list shows, in order
    std::string search;          // case-blind; matches the id, artist or title
    int sortColumn = ColumnDiscId;
    bool descending = false;
};

// Rebuilds the view from the rows, the search and the order.
void rebuildView(EntryList &list);
// A click on a column heading: that column ascending, or the other way when
// it was already the order.
void sortByColumn(EntryList &list, int column);
// The text the list view shows in a cell.
std::string cellText(const EntryRow &row, int column);
// The row shown at view position i; null when out of range.
const EntryRow *rowAt(const EntryList &list, int i);
// Replaces or removes (entry null) the row of winId, and rebuilds the view.
void updateRow(EntryList &list, uint32_t winId, const EntryRow *row);

#endif
