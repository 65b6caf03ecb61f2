// dbfile.h - the title database's file handle: reads and writes at
// offsets, flushing, and a read window that feeds the record scanner.
#ifndef LIBPLATTER_TITLEDB_DBFILE_H
#define LIBPLATTER_TITLEDB_DBFILE_H

#include "libplatter/titledb/scanner.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace titledb {

class DbFile {
public:
    enum OpenResult { Opened, Missing, Failed };

    DbFile() = default;
    ~DbFile() { close(); }
    DbFile(const DbFile &) = delete;
    DbFile &operator=(const DbFile &) = delete;

    // Opens an existing file for reading and writing (read-only when
    // writing is refused); with `create`, makes it when it is missing.
    OpenResult open(const std::string &path, bool create);
    // Opens an existing file for reading only: far cheaper than a handle
    // that may write, and all that reads need.
    OpenResult openForReading(const std::string &path);
    // Makes a new file, replacing any old one of that name (for compaction).
    bool createFresh(const std::string &path);
    void close();
    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool writable() const { return writable_; }

    bool size(uint64_t *size);
    bool readAt(uint64_t offset, void *buffer, uint32_t length);
    bool writeAt(uint64_t offset, const void *data, uint32_t length);
    bool truncate(uint64_t length);
    bool flush();
    // Puts the file at `from` in the place of the one at `to` in one step.
    static bool replace(const std::string &from, const std::string &to);
    // The Win32 error of the last call that failed.
    DWORD error() const { return error_; }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    bool writable_ = false;
    DWORD error_ = 0;
};

// Serves the scanner from a window of the file read in large pieces.
class FileWindow : public ByteSource {
public:
    FileWindow(DbFile &file, uint32_t fileEnd) : file_(file), end_(fileEnd) {}
    const uint8_t *view(uint32_t offset, uint32_t length) override;

private:
    DbFile &file_;
    uint32_t end_;
    std::vector<uint8_t> buffer_;
    uint32_t start_ = 0;
    uint32_t filled_ = 0;
};

// Test seam: the next `bytes` bytes of writes succeed, then writes fail as on
// a full disk (a write that crosses the limit writes its first part only).
// Negative: no limit.
void setWriteBudget(int64_t bytes);

// Test seam: every change about to be made to a database file, shown to
// the watcher just before it is made. The crash tests end the process
// there, after putting down only the first bytes of a write when they want
// a torn one. The shipped library never sets a watcher.
struct FileChange {
    enum Kind { Create, Write, Truncate, Flush, Replace } kind;
    HANDLE handle;        // the file (Write, Truncate, Flush)
    uint64_t offset;      // Write: where it goes; Truncate: the new length
    const void *data;     // Write
    uint32_t length;      // Write
    const char *path;     // Create: the file made; Replace: the one replaced
    const char *source;   // Replace: the file put in its place
};
using FileChangeWatcher = void (*)(const FileChange &change);
void setFileChangeWatcher(FileChangeWatcher watcher);

} // namespace titledb

#endif
