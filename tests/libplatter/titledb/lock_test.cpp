// lock_test.cpp - db_lock between threads and between processes, and two
// processes taking turns at writing. The other process is dbwriter_tool,
// which sits beside the test executable.
#include "tests/libplatter/titledb/titledbfixture.h"

#include <atomic>
#include <cstdio>

using namespace titletest;

namespace {

class TitleDbLock : public TitleDbFixture {
protected:
    // Starts dbwriter_tool on this test's folder with the given steps.
    HANDLE startTool(const std::string &steps)
    {
        std::string exe = harness::binFolder() + "\\dbwriter_tool.exe";
        std::string command = "\"" + exe + "\" \"" + folder_ + "\" " + steps;
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            ADD_FAILURE() << "cannot start " << exe << " (error " << GetLastError() << ")";
            return nullptr;
        }
        CloseHandle(pi.hThread);
        return pi.hProcess;
    }
    // Waits for the tool (bounded) and returns its exit code, -1 on time-out.
    static int finish(HANDLE process, DWORD ms = 30000)
    {
        if (!process)
            return -2;
        DWORD code = (DWORD)-1;
        if (WaitForSingleObject(process, ms) != WAIT_OBJECT_0) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
            return -1;
        }
        GetExitCodeProcess(process, &code);
        CloseHandle(process);
        return (int)code;
    }
    int runTool(const std::string &steps) { return finish(startTool(steps)); }

    void expectRange(uint32_t first, uint32_t count, const char *tag)
    {
        for (uint32_t id = first; id < first + count; ++id) {
            TitleData back;
            ASSERT_EQ(1, read(id, &back)) << id;
            ASSERT_EQ(sampleTitle(id, tag), back) << id;
        }
    }
};

// A thread that takes the database and says so.
struct Taker {
    std::atomic<bool> holds{false};
    std::atomic<bool> wrote{false};
    HANDLE thread = nullptr;
    static DWORD WINAPI run(void *p)
    {
        Taker *t = static_cast<Taker *>(p);
        if (db_lock() != 1)
            return 1;
        t->holds = true;
        TitleData d = sampleTitle(900, "thread");
        RecordView view(d);
        t->wrote = db_write_entry(900, view.get()) == 1;
        db_unlock();
        return 0;
    }
    void start() { thread = CreateThread(nullptr, 0, run, this, 0, nullptr); }
    bool finished(DWORD ms) { return WaitForSingleObject(thread, ms) == WAIT_OBJECT_0; }
    ~Taker()
    {
        if (thread)
            CloseHandle(thread);
    }
};

DWORD WINAPI unlockFromElsewhere(void *result)
{
    *static_cast<int *>(result) = db_unlock();
    return 0;
}

} // namespace

TEST_F(TitleDbLock, AnotherThreadWaitsUntilTheHolderLetsGo)
{
    ASSERT_EQ(1, db_lock());
    Taker taker;
    taker.start();
    EXPECT_FALSE(taker.finished(300)) << "must wait while this thread holds the database";
    EXPECT_FALSE(taker.holds);

    // db_unlock from a thread that holds nothing changes nothing.
    int result = 7;
    HANDLE other = CreateThread(nullptr, 0, unlockFromElsewhere, &result, 0, nullptr);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(other, 10000));
    CloseHandle(other);
    EXPECT_EQ(0, result);
    EXPECT_FALSE(taker.finished(200)) << "still held after a stranger's db_unlock";

    ASSERT_EQ(1, db_unlock());
    ASSERT_TRUE(taker.finished(20000));
    EXPECT_TRUE(taker.holds);
    EXPECT_TRUE(taker.wrote);
    TitleData back;
    ASSERT_EQ(1, read(900, &back));
    EXPECT_EQ(sampleTitle(900, "thread"), back);
}

TEST_F(TitleDbLock, TheHolderMayTakeItAgain)
{
    ASSERT_EQ(1, db_lock());
    ASSERT_EQ(1, db_lock());
    Taker taker;
    taker.start();
    ASSERT_EQ(1, db_unlock());
    EXPECT_FALSE(taker.finished(300)) << "one level is still held";
    ASSERT_EQ(1, db_unlock());
    ASSERT_TRUE(taker.finished(20000));
    EXPECT_TRUE(taker.wrote);
    EXPECT_EQ(0, db_unlock()) << "nothing left to give back";
}

TEST_F(TitleDbLock, CallsWithoutDbLockAreStillSafe)
{
    TitleData d = sampleTitle(12, "bare");
    RecordView view(d);
    EXPECT_EQ(1, db_write_entry(12, view.get()));
    TitleRecord r = {};
    ASSERT_EQ(1, db_read_entry(12, &r));
    EXPECT_EQ(d, capture(r));
    db_free(&r);
    int32_t total, reclaimable;
    EXPECT_EQ(1, db_statistics(&total, &reclaimable));
    EXPECT_EQ(1, db_delete_entry(12));
    EXPECT_EQ(1, db_compact());
    EXPECT_EQ(0, db_unlock());
}

TEST_F(TitleDbLock, ThreadsWritingAtOnceLoseNothing)
{
    struct Writer {
        uint32_t first;
        HANDLE thread;
        static DWORD WINAPI run(void *p)
        {
            uint32_t first = static_cast<Writer *>(p)->first;
            DWORD failures = 0;
            for (uint32_t id = first; id < first + 40; ++id) {
                TitleData d = sampleTitle(id, "many");
                RecordView view(d);
                db_lock();
                failures += db_write_entry(id, view.get()) != 1;
                db_unlock();
            }
            return failures;
        }
    } writers[4] = {{1000, nullptr}, {2000, nullptr}, {3000, nullptr}, {4000, nullptr}};
    for (Writer &w : writers)
        w.thread = CreateThread(nullptr, 0, Writer::run, &w, 0, nullptr);
    for (Writer &w : writers) {
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(w.thread, 40000));
        DWORD failures = 1;
        GetExitCodeThread(w.thread, &failures);
        EXPECT_EQ(0u, failures);
        CloseHandle(w.thread);
    }
    reopen();
    for (const Writer &w : writers)
        expectRange(w.first, 40, "many");
    int32_t total, reclaimable;
    ASSERT_EQ(1, statistics(&total, &reclaimable));
    EXPECT_EQ(0, reclaimable);
    EXPECT_EQ(fileSize(), total);
}

TEST_F(TitleDbLock, TwoProcessesWritingInTurnSeeEachOthersEntries)
{
    ASSERT_EQ(1, db_lock());
    for (uint32_t id = 1; id <= 30; ++id) {
        TitleData d = sampleTitle(id, "test");
        RecordView view(d);
        ASSERT_EQ(1, db_write_entry(id, view.get()));
    }
    ASSERT_EQ(1, db_unlock());

    // The tool reads ours and adds its own.
    ASSERT_EQ(0, runTool("expect 1 30 test write 1001 30 tool"));

    // This process still has its index; db_lock must notice the appends.
    expectRange(1001, 30, "tool");
    ASSERT_EQ(1, write(31, sampleTitle(31, "test")));
    ASSERT_EQ(1, write(1001, sampleTitle(1001, "test-over")));
    ASSERT_EQ(1, remove(1030));

    // The tool sees all of that, deletes and compacts: the file is replaced.
    ASSERT_EQ(0, runTool("expect 1 31 test expect 1001 1 test-over absent 1030 "
                         "expect 1002 28 tool delete 1002 compact 1"));

    // A new file under the same name: this process must read it afresh.
    TitleData back;
    EXPECT_EQ(0, read(1002, &back));
    EXPECT_EQ(0, read(1030, &back));
    expectRange(1, 31, "test");
    expectRange(1003, 27, "tool");
    ASSERT_EQ(1, read(1001, &back));
    EXPECT_EQ(sampleTitle(1001, "test-over"), back);
    int32_t total, reclaimable;
    ASSERT_EQ(1, statistics(&total, &reclaimable));
    EXPECT_EQ(0, reclaimable) << "the tool's compaction is seen";
    EXPECT_EQ(fileSize(), total);

    // And writing on: appended to the new file, seen by the tool.
    ASSERT_EQ(1, write(32, sampleTitle(32, "test")));
    EXPECT_EQ(0, runTool("expect 1 32 test expect 1003 27 tool absent 1002"));
}

TEST_F(TitleDbLock, AnotherProcessWaitsUntilTheHolderLetsGo)
{
    char eventName[64];
    snprintf(eventName, sizeof eventName, "Spindle2TitleDbTest%lu", (unsigned long)GetCurrentProcessId());
    HANDLE started = CreateEventA(nullptr, TRUE, FALSE, eventName);
    ASSERT_NE(nullptr, started);
    ASSERT_EQ(1, write(1, sampleTitle(1, "mine")));

    ASSERT_EQ(1, db_lock());
    HANDLE tool = startTool(std::string("signal ") + eventName + " write 2 1 theirs expect 1 1 mine");
    ASSERT_NE(nullptr, tool);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(started, 20000)) << "the tool did not start";
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, WaitForSingleObject(tool, 500)) << "the tool must wait for the database";
    TitleData back;
    TitleRecord r = {};
    EXPECT_EQ(0, db_read_entry(2, &r)) << "nothing of the tool's yet";
    ASSERT_EQ(1, db_unlock());

    EXPECT_EQ(0, finish(tool));
    CloseHandle(started);
    ASSERT_EQ(1, read(2, &back));
    EXPECT_EQ(sampleTitle(2, "theirs"), back);
}

TEST_F(TitleDbLock, TheFileIsReadAgainOnlyWhenAnotherProcessWrote)
{
    ASSERT_EQ(1, write(1, sampleTitle(1, "mine")));
    TitleData back;
    ASSERT_EQ(1, read(1, &back));
    uint32_t before = titledb::storeRefreshCount();
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(1, read(1, &back));
        EXPECT_EQ(0, read(2, &back));
    }
    ASSERT_EQ(1, write(3, sampleTitle(3, "mine")));
    ASSERT_EQ(1, remove(3));
    EXPECT_EQ(before, titledb::storeRefreshCount()) << "nobody else wrote: the file is not looked at again";

    // Each kind of write by another process is seen at the next db_lock, once.
    struct Case {
        const char *steps;
        uint32_t id;
        const char *tag; // null: the entry is gone
    } cases[] = {
        {"write 2 1 theirs", 2, "theirs"},
        {"write 1 1 over", 1, "over"},
        {"delete 2", 2, nullptr},
        {"write 4 1 theirs compact 1", 4, "theirs"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.steps);
        ASSERT_EQ(0, runTool(c.steps));
        before = titledb::storeRefreshCount();
        if (c.tag) {
            ASSERT_EQ(1, read(c.id, &back));
            EXPECT_EQ(sampleTitle(c.id, c.tag), back);
        } else {
            EXPECT_EQ(0, read(c.id, &back));
        }
        ASSERT_EQ(1, read(1, &back));
        EXPECT_EQ(before + 1, titledb::storeRefreshCount());
    }
    ASSERT_EQ(1, read(1, &back));
    EXPECT_EQ(sampleTitle(1, "over"), back);
}

TEST_F(TitleDbLock, AFileChangedOrRemovedWithoutTheCountIsStillNoticed)
{
    // Something that is no writer of ours (a copy put back, a deletion)
    // changes the file's size: the next db_lock looks at it again.
    ASSERT_EQ(1, write(1, sampleTitle(1, "one")));
    ASSERT_EQ(1, write(2, sampleTitle(2, "two")));
    std::string two = fileBytes();
    ASSERT_EQ(1, write(3, sampleTitle(3, "three")));
    TitleData back;
    ASSERT_EQ(1, read(3, &back));

    putFileBytes(two);
    EXPECT_EQ(0, read(3, &back)) << "the older, shorter copy holds no 3";
    ASSERT_EQ(1, read(2, &back));
    EXPECT_EQ(sampleTitle(2, "two"), back);

    ASSERT_TRUE(DeleteFileA(dbPath().c_str()));
    EXPECT_EQ(0, read(1, &back)) << "the file is gone, and so are its entries";
    ASSERT_EQ(1, write(5, sampleTitle(5, "five")));
    reopen();
    ASSERT_EQ(1, read(5, &back));
    EXPECT_EQ(0, read(1, &back));

    // Gone again, and written to at once: a new file is made.
    ASSERT_TRUE(DeleteFileA(dbPath().c_str()));
    ASSERT_EQ(1, write(6, sampleTitle(6, "six")));
    reopen();
    ASSERT_EQ(1, read(6, &back));
    EXPECT_EQ(sampleTitle(6, "six"), back);
    EXPECT_EQ(0, read(5, &back));
}
