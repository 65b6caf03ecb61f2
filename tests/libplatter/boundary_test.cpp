// boundary_test.cpp - no C++ exception leaves the library's C interface:
// with every allocation of the calling thread failing, each call that needs
// memory returns its failure result instead of throwing into a C caller,
// and the library works again once memory is back.
#include "tests/libplatter/devices/devicetest.h"

#include <cstdlib>
#include <functional>
#include <new>
#include <thread>

// The replaced allocation functions below pair malloc with free themselves.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
// When set, every allocation made on this thread fails.
thread_local bool allocationsFail = false;
}

void *operator new(size_t size)
{
    if (allocationsFail)
        throw std::bad_alloc();
    void *block = malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    return block;
}
void *operator new[](size_t size) { return operator new(size); }
void operator delete(void *block) noexcept { free(block); }
void operator delete[](void *block) noexcept { free(block); }
void operator delete(void *block, size_t) noexcept { free(block); }
void operator delete[](void *block, size_t) noexcept { free(block); }

namespace {

using namespace devicetest;

class CInterfaceBoundary : public VirtualDriveTest {};

TEST_F(CInterfaceBoundary, OutOfMemoryBecomesTheCallsFailureResult)
{
    writeText(path("disc.toc"), kFourTrackToc);
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder_.c_str()));
    cddb_handle_t session = cddb_init("Spindle2", "1.0", "Copyright");
    ASSERT_NE(0u, session);
    ASSERT_EQ(PLATTER_OK, cddb_set_local_root(session, folder_.c_str()));
    ASSERT_EQ(PLATTER_OK, cddb_set_num_tracks(session, 1));
    const std::string longText(200, 'x');
    const std::string submitFile = folder_ + "\\submit.txt";
    TitleRecord record = {};
    int32_t frames[2] = {150, 9000};
    record.trackCount = 1;
    record.trackStartFrames = frames;

    struct Case {
        const char *call;
        std::function<long long()> run;
    } cases[] = {
        {"cd_init", [] { return (long long)cd_init(); }},
        {"cd_open", [&] { return (long long)cd_open(handle_, kDrive, 0); }},
        {"db_lock", [] { return (long long)db_lock(); }},
        {"db_write_entry", [&] { return (long long)db_write_entry(7, &record); }},
        {"cddb_init", [&] { return (long long)cddb_init(longText.c_str(), "1.0", longText.c_str()); }},
        {"cddb_set_artist", [&] { return (long long)cddb_set_artist(session, longText.c_str()); }},
        {"cddb_set_local_root", [&] { return (long long)cddb_set_local_root(session, longText.c_str()); }},
        {"cddb_write_submit_file",
         [&] { return (long long)cddb_write_submit_file(session, submitFile.c_str()); }},
    };
    for (const Case &c : cases) {
        long long result = 99;
        bool threw = false;
        allocationsFail = true;
        try {
            result = c.run();
        } catch (...) {
            threw = true;
        }
        allocationsFail = false;
        EXPECT_FALSE(threw) << c.call << " let an exception out";
        EXPECT_LE(result, 0) << c.call;
    }

    // Nothing was left half-taken: another thread gets the database, and the
    // drive opens once memory is back.
    int locked = 0, unlocked = 0;
    std::thread other([&] {
        locked = db_lock();
        unlocked = db_unlock();
    });
    other.join();
    EXPECT_EQ(PLATTER_OK, locked);
    EXPECT_EQ(PLATTER_OK, unlocked);
    EXPECT_EQ(PLATTER_OK, cd_open(handle_, kDrive, 0));
    cddb_cleanup(session);
    SetCurrentDirectoryA(previous);
}

} // namespace
