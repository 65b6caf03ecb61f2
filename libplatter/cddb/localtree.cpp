// localtree.cpp - queries, lists, reads and writes local CDDB trees.
#include "libplatter/cddb/localtree.h"
#include "libplatter/cddb/files.h"
#include "libplatter/diag.h"

#include <cstdio>

namespace cddb {

namespace {

// The categories of the CDDB service; a folder of that name marks a tree
// even before it holds entries.
const char *const kStandardCategories[] = {"blues", "classical", "country", "data", "folk", "jazz",
                                           "misc", "newage", "reggae", "rock", "soundtrack"};

bool isStandardCategory(const std::string &name)
{
    std::string lower;
    for (char c : name)
        lower += (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
    for (const char *category : kStandardCategories)
        if (lower == category)
            return true;
    return false;
}

bool isIdFileName(const std::string &name, uint32_t *id)
{
    return parseDiscId(name, id);
}

// Reads one entry: the file itself, or the part of a range file after the
// id's marker. 1, -1 absent, -3 invalid, -11 unreadable.
int readEntryText(const LocalRef &ref, std::string *text)
{
    std::string content;
    if (!readWholeFile(ref.path, ref.inRangeFile ? kMaxRangeFileBytes : kMaxEntryFileBytes, &content)) {
        platterDiag("Local CDDB: cannot read %s", ref.path.c_str());
        return PLATTER_CDDB_FILE_ERROR;
    }
    if (!ref.inRangeFile) {
        *text = content;
        return 1;
    }
    std::vector<RangeFileEntry> entries;
    std::string problem;
    if (!splitRangeFile(content, &entries, &problem)) {
        platterDiag("Local CDDB: %s is no range file: %s", ref.path.c_str(), problem.c_str());
        return PLATTER_CDDB_ILLEGAL_FILE;
    }
    for (const RangeFileEntry &entry : entries)
        if (entry.id == ref.id) {
            *text = entry.text;
            return 1;
        }
    return PLATTER_CDDB_NOT_FOUND;
}

int parseEntry(const LocalRef &ref, XmcdEntry *entry)
{
    std::string text;
    int read = readEntryText(ref, &text);
    if (read != 1)
        return read;
    std::string problem;
    if (!parseXmcd(text, entry, &problem)) {
        platterDiag("Local CDDB: entry %08x in %s is not valid: %s", (unsigned)ref.id, ref.path.c_str(),
                    problem.c_str());
        return PLATTER_CDDB_ILLEGAL_FILE;
    }
    return 1;
}

// Walks the tree: every entry's reference (range files only when
// `withRangeEntries`, since listing them means reading them). False when
// the root is not a CDDB tree.
bool walkTree(const std::string &root, std::vector<LocalRef> *refs, std::vector<LocalRef> *rangeFiles)
{
    if (root.empty() || !isFolder(root))
        return false;
    bool tree = false;
    for (const std::string &category : folderNames(root, true)) {
        std::string folder = joinPath(root, category);
        if (isStandardCategory(category))
            tree = true;
        for (const std::string &name : folderNames(folder, false)) {
            LocalRef ref;
            ref.category = category;
            ref.path = joinPath(folder, name);
            int low, high;
            if (isIdFileName(name, &ref.id)) {
                refs->push_back(ref);
                tree = true;
            } else if (parseRangeFileName(name, &low, &high)) {
                ref.inRangeFile = true;
                ref.id = (uint32_t)low << 24 | (uint32_t)high;
                rangeFiles->push_back(ref);
                tree = true;
            }
        }
    }
    return tree;
}

bool coversId(const LocalRef &rangeFile, uint32_t id)
{
    int first = (int)(id >> 24), low = (int)(rangeFile.id >> 24), high = (int)(rangeFile.id & 0xFF);
    return first >= low && first <= high;
}

} // namespace

bool parseRangeFileName(const std::string &name, int *low, int *high)
{
    if (name.size() != 6 || (name[2] != 't' && name[2] != 'T') || (name[3] != 'o' && name[3] != 'O'))
        return false;
    uint32_t value;
    if (!parseDiscId("000000" + name.substr(0, 2), &value))
        return false;
    *low = (int)value;
    if (!parseDiscId("000000" + name.substr(4, 2), &value))
        return false;
    *high = (int)value;
    return *low <= *high;
}

int queryLocal(Session &session)
{
    if (!discIsComplete(session))
        return PLATTER_CDDB_NOT_READY;
    std::vector<LocalRef> files, rangeFiles;
    if (!walkTree(session.localRoot, &files, &rangeFiles)) {
        platterDiag("Local CDDB: %s is not a CDDB tree", session.localRoot.c_str());
        return PLATTER_CDDB_BAD_FORMAT;
    }
    uint32_t id = discIdOf(session);
    platterDiag("Local CDDB: looking for %08x in %s", (unsigned)id, session.localRoot.c_str());
    std::vector<LocalRef> candidates;
    for (const LocalRef &ref : files)
        if (ref.id == id)
            candidates.push_back(ref);
    for (LocalRef ref : rangeFiles)
        if (coversId(ref, id)) {
            ref.id = id;
            candidates.push_back(ref);
        }
    for (const LocalRef &ref : candidates) {
        XmcdEntry entry;
        int result = parseEntry(ref, &entry);
        if (result == PLATTER_CDDB_NOT_FOUND)
            continue;
        if (result == PLATTER_CDDB_FILE_ERROR)
            return PLATTER_CDDB_ILLEGAL_FILE;
        if (result != 1)
            return result;
        takeEntry(session, entry, Charset::Guess, false);
        session.id = id;
        session.category = ref.category;
        platterDiag("Local CDDB: found %08x in %s", (unsigned)id, ref.path.c_str());
        return 1;
    }
    return PLATTER_CDDB_NOT_FOUND;
}

int listLocal(Session &session)
{
    std::vector<LocalRef> files, rangeFiles;
    session.localEntries.clear();
    if (!walkTree(session.localRoot, &files, &rangeFiles))
        return PLATTER_CDDB_BAD_FORMAT;
    std::vector<LocalRef> all = files;
    for (const LocalRef &rangeFile : rangeFiles) {
        std::string content;
        std::vector<RangeFileEntry> entries;
        std::string problem;
        if (!readWholeFile(rangeFile.path, kMaxRangeFileBytes, &content) ||
            !splitRangeFile(content, &entries, &problem)) {
            platterDiag("Local CDDB: %s cannot be listed: %s", rangeFile.path.c_str(), problem.c_str());
            return PLATTER_CDDB_ILLEGAL_FILE;
        }
        for (const RangeFileEntry &entry : entries) {
            LocalRef ref = rangeFile;
            ref.id = entry.id;
            all.push_back(ref);
        }
    }
    session.localEntries = all;
    return (int)all.size();
}

int readLocalEntry(Session &session, int index)
{
    if (index < 1 || index > (int)session.localEntries.size())
        return PLATTER_CDDB_NOT_READY;
    LocalRef ref = session.localEntries[(size_t)index - 1];
    XmcdEntry entry;
    int result = parseEntry(ref, &entry);
    if (result == PLATTER_CDDB_NOT_FOUND)
        return PLATTER_CDDB_ILLEGAL_FILE; // the range file changed since the listing
    if (result != 1)
        return result;
    takeEntry(session, entry, Charset::Guess, true);
    session.id = ref.id;
    session.idKnown = true;
    session.category = ref.category;
    return 1;
}

int writeLocalEntry(Session &session, const std::string &root, int layout)
{
    XmcdEntry entry;
    if (root.empty() || !isCategoryName(session.category) || !entryForFile(session, false, &entry) ||
        (layout != PLATTER_CDDB_LAYOUT_FILES && layout != PLATTER_CDDB_LAYOUT_WINDOWS))
        return PLATTER_CDDB_NOT_READY;
    uint32_t id = entry.discIds[0];
    std::string folder = joinPath(root, session.category);
    if (!makeFolder(root) || !makeFolder(folder)) {
        platterDiag("Local CDDB: cannot make the folder %s", folder.c_str());
        return PLATTER_CDDB_FILE_ERROR;
    }
    std::string text = writeXmcd(entry);
    if (layout == PLATTER_CDDB_LAYOUT_FILES)
        return replaceFile(joinPath(folder, discIdText(id)), text) ? 1 : PLATTER_CDDB_FILE_ERROR;

    // The range file that covers the id, or a new one for its 32 first bytes.
    std::string rangeName;
    for (const std::string &name : folderNames(folder, false)) {
        int low, high, first = (int)(id >> 24);
        if (parseRangeFileName(name, &low, &high) && first >= low && first <= high) {
            rangeName = name;
            break;
        }
    }
    std::vector<RangeFileEntry> entries;
    if (rangeName.empty()) {
        char name[8];
        int low = (int)(id >> 24) & 0xE0;
        snprintf(name, sizeof name, "%02xto%02x", low, low | 0x1F);
        rangeName = name;
    } else {
        std::string content, problem;
        if (!readWholeFile(joinPath(folder, rangeName), kMaxRangeFileBytes, &content))
            return PLATTER_CDDB_FILE_ERROR;
        if (!splitRangeFile(content, &entries, &problem)) {
            platterDiag("Local CDDB: %s is no range file: %s", rangeName.c_str(), problem.c_str());
            return PLATTER_CDDB_ILLEGAL_FILE;
        }
    }
    bool replaced = false;
    for (RangeFileEntry &old : entries)
        if (old.id == id) {
            old.text = text;
            replaced = true;
        }
    if (!replaced)
        entries.push_back(RangeFileEntry{id, text});
    std::string content;
    for (const RangeFileEntry &one : entries)
        content += rangeFileMarker(one.id) + "\n" + one.text;
    return replaceFile(joinPath(folder, rangeName), content) ? 1 : PLATTER_CDDB_FILE_ERROR;
}

} // namespace cddb
