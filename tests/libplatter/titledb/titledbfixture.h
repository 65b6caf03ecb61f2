// titledbfixture.h - the title database tests' fixture: each test works in
// a scratch folder of its own (the database lives in the working
// directory), with the library's diagnostics lines captured.
#ifndef TESTS_LIBPLATTER_TITLEDB_TITLEDBFIXTURE_H
#define TESTS_LIBPLATTER_TITLEDB_TITLEDBFIXTURE_H

#include "harness/harness.h"
#include "libplatter/titledb/dbfile.h"
#include "libplatter/titledb/recordformat.h"
#include "libplatter/titledb/store.h"
#include "platter/platter.h"
#include "tests/libplatter/titledb/titledata.h"

#include <windows.h>

#include <fstream>
#include <mutex>
#include <string>
#include <vector>

namespace titletest {

class DiagCapture {
public:
    static void line(char *text)
    {
        std::lock_guard<std::mutex> hold(lock());
        lines().push_back(text);
    }
    static void clear()
    {
        std::lock_guard<std::mutex> hold(lock());
        lines().clear();
    }
    static bool mentions(const std::string &part)
    {
        std::lock_guard<std::mutex> hold(lock());
        for (const std::string &l : lines())
            if (l.find(part) != std::string::npos)
                return true;
        return false;
    }
    static std::string all()
    {
        std::lock_guard<std::mutex> hold(lock());
        std::string joined;
        for (const std::string &l : lines())
            joined += l + "\n";
        return joined;
    }

private:
    static std::mutex &lock()
    {
        static std::mutex m;
        return m;
    }
    static std::vector<std::string> &lines()
    {
        static std::vector<std::string> v;
        return v;
    }
};

class TitleDbFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        char old[MAX_PATH];
        DWORD n = GetCurrentDirectoryA(sizeof old, old);
        oldDir_.assign(old, n < sizeof old ? n : 0);
        useNewFolder();
        DiagCapture::clear();
        platter_diag_init(&DiagCapture::line);
        titledb::setWriteBudget(-1);
    }
    void TearDown() override
    {
        // A failed assertion must not leave the database held.
        while (db_unlock() > 0) {
        }
        titledb::setWriteBudget(-1);
        platter_diag_init(nullptr);
        if (!oldDir_.empty())
            SetCurrentDirectoryA(oldDir_.c_str());
    }

    std::string dbPath() const { return folder_ + "\\Spindle2.tdb"; }
    // Moves on to a fresh folder, and so to a new, empty database.
    void useNewFolder()
    {
        folder_ = harness::scratchFolder();
        // Scratch folders are named by process id, which Wine hands out
        // again; an earlier run's database may still be there.
        DeleteFileA(dbPath().c_str());
        DeleteFileA((dbPath() + ".new").c_str());
        ASSERT_TRUE(SetCurrentDirectoryA(folder_.c_str()));
    }

    int write(uint32_t id, const TitleData &d)
    {
        RecordView view(d);
        db_lock();
        int result = db_write_entry(id, view.get());
        db_unlock();
        return result;
    }
    int read(uint32_t id, TitleData *out)
    {
        TitleRecord r = {};
        db_lock();
        int result = db_read_entry(id, &r);
        db_unlock();
        if (result > 0) {
            *out = capture(r);
            db_free(&r);
        }
        return result;
    }
    int remove(uint32_t id)
    {
        db_lock();
        int result = db_delete_entry(id);
        db_unlock();
        return result;
    }
    int statistics(int32_t *total, int32_t *reclaimable)
    {
        *total = *reclaimable = -1;
        db_lock();
        int result = db_statistics(total, reclaimable);
        db_unlock();
        return result;
    }
    int compact()
    {
        db_lock();
        int result = db_compact();
        db_unlock();
        return result;
    }
    // Sees the file as a newly started process would.
    void reopen() { titledb::storeForgetIndex(); }

    std::string fileBytes() const { return harness::readFile(dbPath()); }
    void putFileBytes(const std::string &bytes) const
    {
        std::ofstream out(dbPath(), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), (std::streamsize)bytes.size());
    }
    int64_t fileSize() const
    {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(dbPath().c_str(), GetFileExInfoStandard, &data))
            return -1;
        return (int64_t)data.nFileSizeHigh << 32 | data.nFileSizeLow;
    }

    // The bytes one stored entry takes in the file.
    static uint32_t recordSize(const TitleData &d)
    {
        RecordView view(d);
        std::vector<uint8_t> payload;
        titledb::EncodeError error;
        EXPECT_TRUE(titledb::encodeTitle(*view.get(), &payload, &error));
        return (uint32_t)payload.size() + titledb::kRecordOverhead;
    }
    static constexpr uint32_t kDeletionSize = titledb::kRecordOverhead;
    static constexpr uint32_t kHeaderSize = titledb::kFileHeaderSize;

    std::string folder_;

private:
    std::string oldDir_;
};

} // namespace titletest

#endif
