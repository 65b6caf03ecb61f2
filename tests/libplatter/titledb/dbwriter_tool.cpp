// dbwriter_tool.cpp - a second process for the title database's tests. It
// works in the folder named first on its command line and then carries out
// the steps that follow, in order:
//   signal EVENT              set the named event (the test waits on it)
//   write FIRST COUNT TAG     store sampleTitle(id, TAG) for each id
//   expect FIRST COUNT TAG    each id reads back as sampleTitle(id, TAG)
//   absent ID                 ID has no entry
//   delete ID                 remove ID's entry
//   compact RESULT            db_compact returns RESULT
// Every step takes and gives back the database. Exit code 0 when every
// step did what it said, else 10 + the number of the first failed step.
#include "platter/platter.h"
#include "tests/libplatter/titledb/titledata.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace titletest;

namespace {

void printDiag(char *line) { fprintf(stderr, "%s\n", line); }

bool writeRange(uint32_t first, uint32_t count, const char *tag)
{
    for (uint32_t id = first; id < first + count; ++id) {
        TitleData d = sampleTitle(id, tag);
        RecordView view(d);
        db_lock();
        int result = db_write_entry(id, view.get());
        db_unlock();
        if (result != 1) {
            fprintf(stderr, "dbwriter: write of %u failed (%d)\n", id, result);
            return false;
        }
    }
    return true;
}

bool expectRange(uint32_t first, uint32_t count, const char *tag)
{
    for (uint32_t id = first; id < first + count; ++id) {
        TitleRecord r = {};
        db_lock();
        int result = db_read_entry(id, &r);
        db_unlock();
        if (result != 1) {
            fprintf(stderr, "dbwriter: %u is missing (%d)\n", id, result);
            return false;
        }
        TitleData back = capture(r);
        db_free(&r);
        if (back != sampleTitle(id, tag)) {
            fprintf(stderr, "dbwriter: %u is not as written with tag %s\n", id, tag);
            return false;
        }
    }
    return true;
}

uint32_t number(const char *text) { return (uint32_t)strtoul(text, nullptr, 0); }

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || !SetCurrentDirectoryA(argv[1])) {
        fprintf(stderr, "dbwriter: usage: dbwriter_tool FOLDER STEP...\n");
        return 2;
    }
    platter_diag_init(printDiag);
    int step = 0;
    for (int i = 2; i < argc; ++step) {
        const char *op = argv[i];
        auto need = [&](int n) { return i + n < argc; };
        bool ok = false;
        if (!strcmp(op, "signal") && need(1)) {
            HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[i + 1]);
            ok = event && SetEvent(event);
            if (event)
                CloseHandle(event);
            i += 2;
        } else if (!strcmp(op, "write") && need(3)) {
            ok = writeRange(number(argv[i + 1]), number(argv[i + 2]), argv[i + 3]);
            i += 4;
        } else if (!strcmp(op, "expect") && need(3)) {
            ok = expectRange(number(argv[i + 1]), number(argv[i + 2]), argv[i + 3]);
            i += 4;
        } else if (!strcmp(op, "absent") && need(1)) {
            TitleRecord r = {};
            db_lock();
            ok = db_read_entry(number(argv[i + 1]), &r) <= 0;
            db_unlock();
            i += 2;
        } else if (!strcmp(op, "delete") && need(1)) {
            db_lock();
            ok = db_delete_entry(number(argv[i + 1])) == 1;
            db_unlock();
            i += 2;
        } else if (!strcmp(op, "compact") && need(1)) {
            db_lock();
            int result = db_compact();
            db_unlock();
            ok = result == atoi(argv[i + 1]);
            if (!ok)
                fprintf(stderr, "dbwriter: compaction gave %d\n", result);
            i += 2;
        } else {
            fprintf(stderr, "dbwriter: cannot understand step '%s'\n", op);
            return 3;
        }
        if (!ok) {
            fprintf(stderr, "dbwriter: step %d (%s) failed\n", step + 1, op);
            return 10 + step + 1;
        }
    }
    return 0;
}
