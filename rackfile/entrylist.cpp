// entrylist.cpp - searching and sorting the rows of the list.
#include "rackfile/entrylist.h"

#include <windows.h>

#include <algorithm>

const char *const kColumnTitles[ColumnCount] = {"Disc ID", "Artist", "Disc Title", "Tracks", "From CDDB",
                                                "Submitted"};

namespace {

std::string lower(const std::string &text)
{
    std::string out = text;
    for (char &c : out)
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
    return out;
}

bool matches(const EntryRow &row, const std::string &needle)
{
    if (needle.empty())
        return true;
    return lower(idText(row.winId)).find(needle) != std::string::npos ||
           lower(row.artist).find(needle) != std::string::npos || lower(row.title).find(needle) != std::string::npos;
}

// Negative, zero or positive, as a before b in the column's ascending order.
int compareIn(int column, const EntryRow &a, const EntryRow &b)
{
    switch (column) {
    case ColumnArtist:
        return lstrcmpiA(a.artist.c_str(), b.artist.c_str());
    case ColumnTitle:
        return lstrcmpiA(a.title.c_str(), b.title.c_str());
    case ColumnTracks:
        return a.tracks - b.tracks;
    case ColumnFromCddb:
        return (int)a.fromCddb - (int)b.fromCddb;
    case ColumnSubmitted:
        return (int)a.submitted - (int)b.submitted;
    default:
        return 0;
    }
}

} // namespace

void rebuildView(EntryList &list)
{
    std::string needle = lower(list.search);
    list.view.clear();
    for (size_t i = 0; i < list.rows.size(); ++i)
        if (matches(list.rows[i], needle))
            list.view.push_back(i);
    const std::vector<EntryRow> &rows = list.rows;
    int column = list.sortColumn;
    bool descending = list.descending;
    std::stable_sort(list.view.begin(), list.view.end(), [&](size_t x, size_t y) {
        int order = compareIn(column, rows[x], rows[y]);
        if (order == 0) // ties, and the id column itself, go by id
            order = rows[x].winId < rows[y].winId ? -1 : rows[x].winId > rows[y].winId ? 1 : 0;
        return descending ? order > 0 : order < 0;
    });
}

void sortByColumn(EntryList &list, int column)
{
    if (column < 0 || column >= ColumnCount)
        return;
    list.descending = column == list.sortColumn ? !list.descending : false;
    list.sortColumn = column;
    rebuildView(list);
}

std::string cellText(const EntryRow &row, int column)
{
    switch (column) {
    case ColumnDiscId:
        return idText(row.winId);
    case ColumnArtist:
        return row.artist;
    case ColumnTitle:
        return row.title;
    case ColumnTracks:
        return std::to_string(row.tracks);
    case ColumnFromCddb:
        return row.fromCddb ? "Yes" : "No";
    case ColumnSubmitted:
        return row.submitted ? "Yes" : "No";
    default:
        return std::string();
    }
}

const EntryRow *rowAt(const EntryList &list, int i)
{
    return i >= 0 && (size_t)i < list.view.size() ? &list.rows[list.view[(size_t)i]] : nullptr;
}

void updateRow(EntryList &list, uint32_t winId, const EntryRow *row)
{
    auto it = std::lower_bound(list.rows.begin(), list.rows.end(), winId,
                               [](const EntryRow &r, uint32_t id) { return r.winId < id; });
    bool present = it != list.rows.end() && it->winId == winId;
    if (row && present)
        *it = *row;
    else if (row)
        list.rows.insert(it, *row);
    else if (present)
        list.rows.erase(it);
    rebuildView(list);
}
