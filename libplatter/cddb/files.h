// files.h - whole-file reads and replacing writes for entry files and the
// local tree's folders.
#ifndef LIBPLATTER_CDDB_FILES_H
#define LIBPLATTER_CDDB_FILES_H

#include <string>
#include <vector>

namespace cddb {

// Entry files are small; a range file of the Windows layout may hold
// thousands of entries.
const size_t kMaxEntryFileBytes = 256 * 1024;
const size_t kMaxRangeFileBytes = 64 * 1024 * 1024;

bool readWholeFile(const std::string &path, size_t maxBytes, std::string *content);
// Writes a new file beside `path` and moves it over `path`, so that a
// reader sees the old file or the new one, never half of one.
bool replaceFile(const std::string &path, const std::string &content);
bool isFolder(const std::string &path);
// Creates the folder if it does not exist yet.
bool makeFolder(const std::string &path);
// The names of the folders (or files) directly in `folder`, sorted.
std::vector<std::string> folderNames(const std::string &folder, bool wantFolders);
std::string joinPath(const std::string &folder, const std::string &name);

} // namespace cddb

#endif
