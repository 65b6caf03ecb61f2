// bench_titledb.cpp - how fast the title database is at 1,000, 10,000 and
// 100,000 entries: opening and indexing the file, reading an entry (with
// db_lock held, and as db_lock+read+db_unlock), db_lock+db_unlock alone, a
// durable write, a deletion, compacting a file that is a quarter
// reclaimable, and the file's size. Prints figures; asserts nothing.
//
//   bench_titledb [--folder DIR] [--sizes 1000,10000,100000] [--durable N] [--reads N]
#include "bench/titledb/benchfill.h"
#include "libplatter/titledb/store.h"
#include "platter/platter.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

double ticksPerMicrosecond()
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return (double)f.QuadPart / 1e6;
}

double nowMicroseconds()
{
    static const double scale = ticksPerMicrosecond();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart / scale;
}

struct Spread {
    double median = 0, p99 = 0;
};

Spread spread(std::vector<double> v)
{
    Spread s;
    if (v.empty())
        return s;
    std::sort(v.begin(), v.end());
    s.median = v[v.size() / 2];
    s.p99 = v[std::min(v.size() - 1, v.size() * 99 / 100)];
    return s;
}

double fileMegabytes(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (double)((uint64_t)data.nFileSizeHigh << 32 | data.nFileSizeLow) / (1024.0 * 1024.0);
}

struct Row {
    uint32_t entries;
    double fileMb, reclaimPercent;
    double openMs;
    Spread read, lockedRead, lockOnly, write, erase;
    uint32_t writes, deletes;
    uint32_t lockRefreshes; // times a db_lock above looked at the file afresh
    double compactMs, compactedMb;
    int compactResult;
};

bool runSize(const std::string &root, uint32_t entries, uint32_t durableOps, uint32_t readOps, Row *row)
{
    std::string folder = root + "\\" + std::to_string(entries);
    CreateDirectoryA(folder.c_str(), nullptr);
    if (!SetCurrentDirectoryA(folder.c_str())) {
        fprintf(stderr, "bench: cannot use %s\n", folder.c_str());
        return false;
    }
    std::string path = folder + "\\Spindle2.tdb";
    DeleteFileA(path.c_str());
    row->entries = entries;

    double t0 = nowMicroseconds();
    bench::FillResult fill = bench::fillDatabase(path, entries, 0.25, 1000 + entries);
    if (!fill.ok) {
        fprintf(stderr, "bench: cannot write %s\n", path.c_str());
        return false;
    }
    fprintf(stderr, "  %u entries: file made in %.0f ms\n", entries, (nowMicroseconds() - t0) / 1000);
    row->fileMb = fileMegabytes(path);

    // Opening and indexing: the first db_lock after the index is forgotten
    // reads the whole file, as a newly started program does.
    std::vector<double> opens;
    for (int i = 0; i < 5; ++i) {
        titledb::storeForgetIndex();
        double start = nowMicroseconds();
        db_lock();
        opens.push_back(nowMicroseconds() - start);
        db_unlock();
    }
    row->openMs = spread(opens).median / 1000;

    int32_t total = 0, reclaimable = 0;
    db_lock();
    db_statistics(&total, &reclaimable);
    db_unlock();
    row->reclaimPercent = total ? 100.0 * reclaimable / total : 0;

    std::mt19937 random(entries);
    std::uniform_int_distribution<uint32_t> pick(0, entries - 1);

    // Reads with the database held, as one db_lock around many calls.
    std::vector<double> reads;
    db_lock();
    for (uint32_t i = 0; i < readOps; ++i) {
        TitleRecord r = {};
        uint32_t id = bench::discId(pick(random));
        double start = nowMicroseconds();
        int result = db_read_entry(id, &r);
        db_free(&r);
        reads.push_back(nowMicroseconds() - start);
        if (result != 1) {
            fprintf(stderr, "bench: entry %08X missing\n", id);
            db_unlock();
            return false;
        }
    }
    db_unlock();
    row->read = spread(reads);

    // The program's own pattern: db_lock, one read, db_unlock.
    uint32_t refreshesBefore = titledb::storeRefreshCount();
    std::vector<double> lockedReads;
    for (uint32_t i = 0; i < readOps / 4; ++i) {
        TitleRecord r = {};
        double start = nowMicroseconds();
        db_lock();
        db_read_entry(bench::discId(pick(random)), &r);
        db_unlock();
        db_free(&r);
        lockedReads.push_back(nowMicroseconds() - start);
    }
    row->lockedRead = spread(lockedReads);
    row->lockRefreshes = titledb::storeRefreshCount() - refreshesBefore;

    // db_lock and db_unlock alone: what noticing other writers costs.
    std::vector<double> lockOnly;
    for (uint32_t i = 0; i < readOps / 4; ++i) {
        double start = nowMicroseconds();
        db_lock();
        db_unlock();
        lockOnly.push_back(nowMicroseconds() - start);
    }
    row->lockOnly = spread(lockOnly);

    // Compaction of the file as made: a quarter of it reclaimable.
    double compactStart = nowMicroseconds();
    db_lock();
    row->compactResult = db_compact();
    db_unlock();
    row->compactMs = (nowMicroseconds() - compactStart) / 1000;
    row->compactedMb = fileMegabytes(path);

    // Durable writes (new versions of existing discs) and deletions: each
    // one is flushed to the disk before the call returns.
    bench::DiscMaker maker(7 + entries);
    std::vector<double> writes, deletes;
    db_lock();
    for (uint32_t i = 0; i < durableOps; ++i) {
        TitleRecord record;
        maker.make(&record);
        uint32_t id = bench::discId(pick(random));
        double begin = nowMicroseconds();
        int result = db_write_entry(id, &record);
        writes.push_back(nowMicroseconds() - begin);
        if (result != 1)
            fprintf(stderr, "bench: write failed\n");
    }
    std::vector<uint32_t> victims;
    for (uint32_t i = 0; i < entries && victims.size() < durableOps; i += std::max(1u, entries / durableOps))
        victims.push_back(bench::discId(i));
    for (uint32_t id : victims) {
        double begin = nowMicroseconds();
        int result = db_delete_entry(id);
        deletes.push_back(nowMicroseconds() - begin);
        if (result != 1)
            fprintf(stderr, "bench: delete failed\n");
    }
    db_unlock();
    row->write = spread(writes);
    row->erase = spread(deletes);
    row->writes = (uint32_t)writes.size();
    row->deletes = (uint32_t)deletes.size();

    titledb::storeForgetIndex();
    SetCurrentDirectoryA(root.c_str());
    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string root = std::string(temp) + "spindle2-bench";
    std::vector<uint32_t> sizes = {1000, 10000, 100000};
    uint32_t durableOps = 200, readOps = 20000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!strcmp(argv[i], "--folder"))
            root = argv[i + 1];
        else if (!strcmp(argv[i], "--durable"))
            durableOps = (uint32_t)atoi(argv[i + 1]);
        else if (!strcmp(argv[i], "--reads"))
            readOps = (uint32_t)atoi(argv[i + 1]);
        else if (!strcmp(argv[i], "--sizes")) {
            sizes.clear();
            for (char *p = argv[i + 1]; *p;) {
                sizes.push_back((uint32_t)strtoul(p, &p, 10));
                if (*p == ',')
                    ++p;
            }
        }
    }
    CreateDirectoryA(root.c_str(), nullptr);
    fprintf(stderr, "bench_titledb: working in %s\n", root.c_str());

    std::vector<Row> rows;
    for (uint32_t n : sizes) {
        Row row = {};
        if (!runSize(root, n, durableOps, readOps, &row))
            return 1;
        rows.push_back(row);
    }
    RemoveDirectoryA(root.c_str());

    printf("Title database benchmark (15-track discs with titles and some extended texts)\n");
    printf("Reads: %u random entries with db_lock held, then a quarter as many as db_lock+read+db_unlock.\n",
           readOps);
    printf("Durable writes and deletions: %u of each per size (every one flushed to the disk;\n"
           "the files themselves are made in bulk through the record format).\n\n",
           durableOps);
    printf("%8s %8s %7s %9s %17s %17s %17s %17s %17s %10s %9s\n", "entries", "file MB", "reclaim", "open+idx",
           "read us med/p99", "lock+read+unlock", "lock+unlock", "write ms med/p99", "delete ms med/p99", "compact",
           "after MB");
    for (const Row &r : rows) {
        char read[32], locked[32], lockOnly[32], write[32], erase[32];
        snprintf(read, sizeof read, "%.1f / %.1f", r.read.median, r.read.p99);
        snprintf(locked, sizeof locked, "%.1f / %.1f", r.lockedRead.median, r.lockedRead.p99);
        snprintf(lockOnly, sizeof lockOnly, "%.1f / %.1f", r.lockOnly.median, r.lockOnly.p99);
        snprintf(write, sizeof write, "%.2f / %.2f", r.write.median / 1000, r.write.p99 / 1000);
        snprintf(erase, sizeof erase, "%.2f / %.2f", r.erase.median / 1000, r.erase.p99 / 1000);
        printf("%8u %8.1f %6.1f%% %6.1f ms %17s %17s %17s %17s %17s %7.0f ms %9.1f%s\n", r.entries, r.fileMb,
               r.reclaimPercent, r.openMs, read, locked, lockOnly, write, erase, r.compactMs, r.compactedMb,
               r.compactResult == 1 ? "" : "  (compaction failed)");
    }
    for (const Row &r : rows)
        printf("%u entries: the file was looked at afresh %u times in the %u lock+read+unlock rounds.\n", r.entries,
               r.lockRefreshes, readOps / 4);
    printf("\nGoal at 100,000 entries: open+index < 300 ms, read < 50 us, lock+read+unlock < 20 us, compaction < 3 s.\n");
    return 0;
}
