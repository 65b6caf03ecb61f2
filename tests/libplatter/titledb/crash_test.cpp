// crash_test.cpp - a writing process killed over and over, and the database
// it leaves behind. The writer (crashwriter_child) carries out the script of
// crashscript.h and ends itself at a chosen file change, before it or after
// a torn part of a write; or this test ends it after a random time. After
// each death this process reads every disc both through the index it kept
// and as a newly started process would, and finds exactly the database of
// the acknowledged operations, or of those and the one under way. A death
// in a compaction leaves the old file as it was or the whole new one.
//
// SPINDLE2_CRASH_POINTS sets how many deaths by the seam each phase of the
// walk makes (the suite walks a thousand in all, scripts/crashwalk more).
#include "tests/libplatter/titledb/crashscript.h"
#include "tests/libplatter/titledb/titledbfixture.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>

using namespace titletest;

namespace {

constexpr int kEndedItself = 71;
// Each of the walk's five phases in the suite (a thousand points in all):
// about 10 s, or 25 s on a loaded 2-core machine.
constexpr int kSuitePoints = 200;
constexpr int kRandomKills = 100;

struct Change {
    char kind;
    int ordinal;
    uint32_t length;
};

struct ChildRun {
    int exitCode = -1;
    std::vector<Change> changes;   // of the operation watched
    std::vector<std::pair<uint32_t, int>> acks;
    bool crashed = false;
    Change crash = {};
    long tear = -1;
};

struct Point {
    char kind;
    int ordinal;
    long tear; // negative: before the change; a replace: 0 is just after it
};

struct Counts {
    int points = 0, inWrites = 0, inDeletes = 0, inCompaction = 0, torn = 0;
    int lost = 0, keptUnacknowledged = 0, oldFileLeft = 0, newFileLeft = 0;
    int randomKills = 0, randomInWork = 0, operations = 0;
};

// Prefixes of a write worth tearing at: inside and at the edges of the
// file header, a record head and tail, the middle, and the whole write.
std::vector<long> tearsOf(uint32_t length)
{
    const long head = (long)titledb::kRecordHeadSize, tail = (long)titledb::kRecordTailSize;
    const long header = (long)titledb::kFileHeaderSize, n = (long)length;
    std::vector<long> wanted = {1, 8, head - 1, head, head + 1, header - 1, header, header + 1, header + head,
                                n / 3, n / 2, n - tail - 1, n - tail, n - 1, n};
    std::vector<long> tears;
    for (long t : wanted)
        if (t >= 1 && t <= n && std::find(tears.begin(), tears.end(), t) == tears.end())
            tears.push_back(t);
    std::sort(tears.begin(), tears.end());
    return tears;
}

int configuredPoints()
{
    const char *value = getenv("SPINDLE2_CRASH_POINTS");
    int n = value ? atoi(value) : 0;
    return n > 0 ? n : kSuitePoints;
}

class TitleDbCrash : public TitleDbFixture {
protected:
    void SetUp() override
    {
        TitleDbFixture::SetUp();
        logPath_ = folder_ + "\\crash.log";
        dryFolder_ = harness::scratchFolder();
    }

    HANDLE startChild(const std::string &folder, uint32_t first, uint32_t last, long crashOp, Point p,
                      const std::string &event)
    {
        DeleteFileA(logPath_.c_str());
        std::string exe = harness::binFolder() + "\\crashwriter_child.exe";
        char args[128];
        snprintf(args, sizeof args, " %u %u %ld %c %d %ld ", first, last, crashOp, p.kind, p.ordinal, p.tear);
        std::string command = "\"" + exe + "\" \"" + folder + "\" \"" + logPath_ + "\"" + args + event;
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        // Wine now and then refuses a process start under load (internal
        // error 1359); a few more tries tell that apart from a real fault.
        bool started = false;
        DWORD error = 0;
        for (int attempt = 0; attempt < 4 && !started; ++attempt) {
            if (attempt)
                Sleep(200);
            started = CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                                     &pi) != FALSE;
            if (!started)
                error = GetLastError();
        }
        if (!started) {
            ADD_FAILURE() << "cannot start " << exe << " (error " << error << ")";
            return nullptr;
        }
        CloseHandle(pi.hThread);
        return pi.hProcess;
    }

    ChildRun finishChild(HANDLE process)
    {
        ChildRun run;
        if (!process)
            return run;
        if (WaitForSingleObject(process, 30000) != WAIT_OBJECT_0) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, 5000);
            ADD_FAILURE() << "the writer did not end";
        }
        DWORD code = 0;
        GetExitCodeProcess(process, &code);
        CloseHandle(process);
        run.exitCode = (int)code;
        std::istringstream log(harness::readFile(logPath_));
        std::string word;
        while (log >> word) {
            if (word == "change") {
                uint32_t op;
                Change c;
                log >> op >> c.kind >> c.ordinal >> c.length;
                run.changes.push_back(c);
            } else if (word == "crash") {
                uint32_t op;
                log >> op >> run.crash.kind >> run.crash.ordinal >> run.crash.length >> run.tear;
                run.crashed = true;
            } else if (word == "ack") {
                std::pair<uint32_t, int> ack;
                log >> ack.first >> ack.second;
                run.acks.push_back(ack);
            }
        }
        return run;
    }

    ChildRun runChild(const std::string &folder, uint32_t first, uint32_t last, long crashOp, Point p)
    {
        return finishChild(startChild(folder, first, last, crashOp, p, "-"));
    }

    // Every disc of the script as this process reads it.
    CrashModel readAll()
    {
        CrashModel found;
        for (uint32_t k = 0; k < kCrashIdCount; ++k) {
            TitleData d;
            if (read(kCrashFirstId + k, &d) > 0)
                found[kCrashFirstId + k] = d;
        }
        return found;
    }

    uint32_t compactedSize(const CrashModel &model)
    {
        uint32_t size = kHeaderSize;
        for (const auto &entry : model)
            size += recordSize(entry.second);
        return size;
    }

    // The database after a death with operations 0..acked-1 acknowledged:
    // true when operation `acked` (under way) is in it. Fails the test when
    // the database is neither with nor without that operation.
    bool checkAfterDeath(uint32_t acked, const std::string &before, bool inCompaction, Counts *counts)
    {
        CrashModel without = crashModelAfter(acked);
        CrashModel with = crashModelAfter(acked + 1);
        int32_t total = 0, reclaimable = 0;
        EXPECT_GE(statistics(&total, &reclaimable), 1) << DiagCapture::all();
        CrashModel kept = readAll(); // through the index kept from earlier deaths
        reopen();
        CrashModel fresh = readAll();
        EXPECT_TRUE(kept == fresh) << "the index kept across the writer's death disagrees with the file";
        bool applied = fresh == with;
        EXPECT_TRUE(applied || fresh == without)
            << "after operation " << acked << " was cut short the database holds neither the acknowledged "
            << "entries nor those and the one under way\n" << DiagCapture::all();
        if (inCompaction) {
            std::string after = fileBytes();
            if (after == before) {
                ++counts->oldFileLeft;
            } else {
                ++counts->newFileLeft;
                EXPECT_EQ(compactedSize(without), after.size()) << "a replaced file that is not the whole new one";
                EXPECT_NE(before.substr(0, kHeaderSize), after.substr(0, kHeaderSize));
            }
        }
        EXPECT_FALSE(DiagCapture::mentions("damaged")) << DiagCapture::all();
        DiagCapture::clear();
        return applied && without != with;
    }

    // The first unacknowledged operation, after checking that every
    // acknowledged one succeeded and that they follow one another.
    uint32_t acknowledged(const ChildRun &run, uint32_t first)
    {
        uint32_t next = first;
        for (const auto &ack : run.acks) {
            EXPECT_EQ(next, ack.first);
            EXPECT_EQ(1, ack.second) << "operation " << ack.first << " failed in the writer";
            next = ack.first + 1;
        }
        return next;
    }

    // The operation's file changes, seen in a copy of the database.
    std::vector<Change> dryRun(uint32_t first, uint32_t op)
    {
        for (const char *name : {"\\Spindle2.tdb", "\\Spindle2.tdb.new"}) {
            DeleteFileA((dryFolder_ + name).c_str());
            CopyFileA((folder_ + name).c_str(), (dryFolder_ + name).c_str(), FALSE);
        }
        ChildRun run = runChild(dryFolder_, first, op, (long)op, {'-', 0, -1});
        EXPECT_EQ(0, run.exitCode);
        return run.changes;
    }

    std::string logPath_, dryFolder_;
};

// The walk in phases that start at different points of each operation.
class TitleDbCrashWalk : public TitleDbCrash, public ::testing::WithParamInterface<int> {
};

void report(const Counts &c)
{
    printf("crash points %d: %d in writes, %d in deletions, %d in compactions; %d torn writes; "
           "operation under way lost %d times, kept %d times; compactions left the old file %d times, "
           "the new one %d times; random kills %d (%d before the writer's work was done); %d operations\n",
           c.points, c.inWrites, c.inDeletes, c.inCompaction, c.torn, c.lost, c.keptUnacknowledged, c.oldFileLeft,
           c.newFileLeft, c.randomKills, c.randomInWork, c.operations);
    fflush(stdout);
}

// Walks the file changes of one operation after another: each change is a
// death before it, and each write also a death after each of its torn
// prefixes. An operation's walk starts at a point that moves on from one
// operation to the next and ends when the operation survives a death (or,
// for a compaction, after its last change), so that points after the one
// that makes an operation stick are reached in later operations. The
// phases walk different stretches of the script, from different points.
TEST_P(TitleDbCrashWalk, WriterKilledAtEveryFileChangeLeavesTheAcknowledgedEntries)
{
    const uint32_t phase = (uint32_t)GetParam();
    const int target = configuredPoints();
    Counts counts;
    uint32_t applied = 0; // operations 0..applied-1 are in the database
    // Each phase begins further on in the script: its first writer does the
    // operations before that without dying.
    for (uint32_t op = 25 * phase; counts.points < target && !HasFailure(); ++op) {
        CrashOp what = crashOpAt(op, crashModelAfter(op));
        std::vector<Change> changes = dryRun(applied, op);
        std::vector<Point> points;
        for (const Change &c : changes) {
            points.push_back({c.kind, c.ordinal, -1});
            if (c.kind == 'W')
                for (long t : tearsOf(c.length))
                    points.push_back({c.kind, c.ordinal, t});
            if (c.kind == 'R')
                points.push_back({c.kind, c.ordinal, 0}); // right after the new file took the old one's place
        }
        ASSERT_FALSE(points.empty()) << "operation " << op << " changes no file";
        bool compaction = what.kind == CrashOp::Compact;
        size_t start = (op + 4 * phase) % points.size();
        for (size_t i = start; i < points.size() && counts.points < target && !HasFailure(); ++i) {
            std::string before = fileBytes();
            ChildRun run = runChild(folder_, applied, op, (long)op, points[i]);
            uint32_t next = acknowledged(run, applied);
            if (run.exitCode == 0) {
                // The point was not reached this time (an earlier death
                // changed the operation's course): it ran to its end.
                EXPECT_EQ(op + 1, next);
                EXPECT_TRUE(readAll() == crashModelAfter(op + 1));
                applied = op + 1;
                break;
            }
            ASSERT_EQ(kEndedItself, run.exitCode) << "the writer died of something else";
            ASSERT_TRUE(run.crashed);
            ASSERT_EQ(op, next) << "the writer ended outside the operation watched";
            ++counts.points;
            ++(compaction ? counts.inCompaction : what.kind == CrashOp::Delete ? counts.inDeletes : counts.inWrites);
            if (run.crash.kind == 'W' && run.tear >= 0 && run.tear < (long)run.crash.length)
                ++counts.torn;
            EXPECT_NE(-2, run.tear) << "the torn write itself failed";
            bool stuck = checkAfterDeath(op, before, compaction, &counts);
            applied = stuck ? op + 1 : op;
            if (compaction)
                continue;
            ++(stuck ? counts.keptUnacknowledged : counts.lost);
            if (stuck)
                break;
        }
        if (compaction)
            applied = op + 1; // compacted or not, the entries are the same
        counts.operations = (int)(op + 1 - 25 * phase);
    }
    report(counts);
    EXPECT_GE(counts.points, target);
    EXPECT_GT(counts.torn, 0);
    EXPECT_GT(counts.inCompaction, 0);
    EXPECT_GT(counts.newFileLeft, 0);
    // Afterwards the database takes writes and compacts without loss.
    ASSERT_EQ(1, write(kCrashFirstId, sampleTitle(kCrashFirstId, "after")));
    EXPECT_EQ(1, compact()) << DiagCapture::all();
    CrashModel expected = crashModelAfter(applied);
    expected[kCrashFirstId] = sampleTitle(kCrashFirstId, "after");
    reopen();
    EXPECT_TRUE(readAll() == expected);
}

// The writer killed from outside at random moments of a long run of work.
TEST_F(TitleDbCrash, WriterKilledAtRandomMomentsLeavesTheAcknowledgedEntries)
{
    std::mt19937 random(16);
    Counts counts;
    uint32_t applied = 0;
    char eventName[64];
    snprintf(eventName, sizeof eventName, "Spindle2.CrashTest.%lu", (unsigned long)GetCurrentProcessId());
    HANDLE started = CreateEventA(nullptr, TRUE, FALSE, eventName);
    ASSERT_TRUE(started != nullptr);
    for (int kill = 0; kill < kRandomKills && !HasFailure(); ++kill) {
        ResetEvent(started);
        HANDLE child = startChild(folder_, applied, applied + 40, -1, {'-', 0, -1}, eventName);
        ASSERT_TRUE(child != nullptr);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(started, 30000));
        Sleep(random() % 80);
        TerminateProcess(child, 9);
        WaitForSingleObject(child, 30000);
        ChildRun run = finishChild(child);
        uint32_t next = acknowledged(run, applied);
        ++counts.randomKills;
        if (run.exitCode == 0) {
            applied = next;
            EXPECT_TRUE(readAll() == crashModelAfter(applied));
            continue;
        }
        ++counts.randomInWork;
        bool stuck = checkAfterDeath(next, std::string(), false, &counts);
        applied = stuck ? next + 1 : next;
    }
    CloseHandle(started);
    counts.operations = (int)applied;
    report(counts);
    EXPECT_EQ(kRandomKills, counts.randomKills);
}

INSTANTIATE_TEST_SUITE_P(Phase, TitleDbCrashWalk, ::testing::Values(0, 1, 2, 3, 4));

} // namespace
