// dbfile.cpp - Win32 file access for the title database. Every handle is
// shared for reading, writing and deletion, so that another process may
// replace the file after a compaction while this one still has it open.
#include "libplatter/titledb/dbfile.h"

#include <atomic>

namespace titledb {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr uint32_t kWindowSize = 4u << 20;

std::atomic<int64_t> writeBudget{-1};
std::atomic<FileChangeWatcher> changeWatcher{nullptr};

void aboutToChange(FileChange::Kind kind, HANDLE handle, uint64_t offset, const void *data, uint32_t length,
                   const char *path, const char *source = nullptr)
{
    if (FileChangeWatcher watcher = changeWatcher.load())
        watcher(FileChange{kind, handle, offset, data, length, path, source});
}

// Every use of a handle happens with the database held, so moving the file
// pointer and then reading or writing is safe. (Passing the offset in an
// OVERLAPPED instead costs Wine a round trip to its server on every call,
// ten times the price of the read itself.)
bool seek(HANDLE handle, uint64_t offset)
{
    LARGE_INTEGER to;
    to.QuadPart = (LONGLONG)offset;
    return SetFilePointerEx(handle, to, nullptr, FILE_BEGIN) != 0;
}

} // namespace

void setWriteBudget(int64_t bytes) { writeBudget.store(bytes); }
void setFileChangeWatcher(FileChangeWatcher watcher) { changeWatcher.store(watcher); }

DbFile::OpenResult DbFile::open(const std::string &path, bool create)
{
    close();
    DWORD disposition = create ? OPEN_ALWAYS : OPEN_EXISTING;
    if (create)
        aboutToChange(FileChange::Create, INVALID_HANDLE_VALUE, 0, nullptr, 0, path.c_str());
    handle_ = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, disposition,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    writable_ = handle_ != INVALID_HANDLE_VALUE;
    if (handle_ == INVALID_HANDLE_VALUE) {
        error_ = GetLastError();
        if (error_ == ERROR_FILE_NOT_FOUND || error_ == ERROR_PATH_NOT_FOUND)
            return Missing;
        // A read-only file or folder: the titles can still be read.
        handle_ = CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
        if (handle_ == INVALID_HANDLE_VALUE)
            return Failed;
    }
    return Opened;
}

DbFile::OpenResult DbFile::openForReading(const std::string &path)
{
    close();
    handle_ = CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ != INVALID_HANDLE_VALUE)
        return Opened;
    error_ = GetLastError();
    return error_ == ERROR_FILE_NOT_FOUND || error_ == ERROR_PATH_NOT_FOUND ? Missing : Failed;
}

bool DbFile::createFresh(const std::string &path)
{
    close();
    aboutToChange(FileChange::Create, INVALID_HANDLE_VALUE, 0, nullptr, 0, path.c_str());
    handle_ = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
        error_ = GetLastError();
        return false;
    }
    writable_ = true;
    return true;
}

void DbFile::close()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    writable_ = false;
}

bool DbFile::size(uint64_t *size)
{
    LARGE_INTEGER n;
    if (!GetFileSizeEx(handle_, &n)) {
        error_ = GetLastError();
        return false;
    }
    *size = (uint64_t)n.QuadPart;
    return true;
}

bool DbFile::readAt(uint64_t offset, void *buffer, uint32_t length)
{
    DWORD got = 0;
    if (!seek(handle_, offset) || !ReadFile(handle_, buffer, length, &got, nullptr)) {
        error_ = GetLastError();
        return false;
    }
    if (got != length) {
        error_ = ERROR_HANDLE_EOF;
        return false;
    }
    return true;
}

bool DbFile::writeAt(uint64_t offset, const void *data, uint32_t length)
{
    aboutToChange(FileChange::Write, handle_, offset, data, length, nullptr);
    uint32_t allowed = length;
    int64_t budget = writeBudget.load();
    if (budget >= 0) {
        allowed = budget < (int64_t)length ? (uint32_t)budget : length;
        writeBudget.store(budget - allowed);
    }
    if (allowed > 0) {
        DWORD put = 0;
        if (!seek(handle_, offset) || !WriteFile(handle_, data, allowed, &put, nullptr)) {
            error_ = GetLastError();
            return false;
        }
        if (put != allowed) {
            error_ = ERROR_DISK_FULL;
            return false;
        }
    }
    if (allowed != length) {
        error_ = ERROR_DISK_FULL;
        return false;
    }
    return true;
}

bool DbFile::truncate(uint64_t length)
{
    aboutToChange(FileChange::Truncate, handle_, length, nullptr, 0, nullptr);
    if (!seek(handle_, length) || !SetEndOfFile(handle_)) {
        error_ = GetLastError();
        return false;
    }
    return true;
}

bool DbFile::flush()
{
    aboutToChange(FileChange::Flush, handle_, 0, nullptr, 0, nullptr);
    if (!FlushFileBuffers(handle_)) {
        error_ = GetLastError();
        return false;
    }
    return true;
}

bool DbFile::replace(const std::string &from, const std::string &to)
{
    aboutToChange(FileChange::Replace, INVALID_HANDLE_VALUE, 0, nullptr, 0, to.c_str(), from.c_str());
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

const uint8_t *FileWindow::view(uint32_t offset, uint32_t length)
{
    if (offset >= start_ && length <= filled_ && offset - start_ <= filled_ - length)
        return buffer_.data() + (offset - start_);
    if (offset > end_ || length > end_ - offset)
        return nullptr;
    // Read ahead: the scanner moves forward through the file.
    uint32_t want = length > kWindowSize ? length : kWindowSize;
    if (want > end_ - offset)
        want = end_ - offset;
    if (buffer_.size() < want)
        buffer_.resize(want);
    if (!file_.readAt(offset, buffer_.data(), want)) {
        filled_ = 0;
        return nullptr;
    }
    start_ = offset;
    filled_ = want;
    return buffer_.data();
}

} // namespace titledb
