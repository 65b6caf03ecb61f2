// crashwriter_child.cpp - the writer process of the title database's crash
// tests. It links the library statically, so that it can watch every file
// change the library makes and end itself at a chosen one:
//   crashwriter_child FOLDER LOG FIRST LAST CRASHOP KIND ORDINAL TEAR EVENT
// carries out script operations FIRST..LAST (crashscript.h) on the database
// in FOLDER. During operation CRASHOP it notes each change in LOG, and at the
// ORDINAL-th change of KIND (C create, W write, T truncate, F flush,
// R replace; - none) it ends itself: before the change when TEAR is
// negative, else after putting down the first TEAR bytes of that write (or,
// for a replace, right after it).
// After each operation LOG gets "ack OP RESULT". EVENT (- none) names an
// event that is set once the work begins. Exit code 0 when every operation
// ran, 71 when the process ended itself at the chosen change.
#include "libplatter/titledb/dbfile.h"
#include "platter/platter.h"
#include "tests/libplatter/titledb/crashscript.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace titletest;

namespace {

constexpr UINT kEndedItself = 71;

HANDLE logFile = INVALID_HANDLE_VALUE;
bool watching = false;
char crashKind = '-';
int crashOrdinal = 0;
long crashTear = -1;
uint32_t currentOp = 0;
int seen[5] = {};

// The log is written straight through the system: what is in it when the
// process ends is what the parent reads, flushed or not.
void logLine(const char *format, ...)
{
    char line[160];
    va_list args;
    va_start(args, format);
    int n = vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (n < 0 || n >= (int)sizeof line - 1)
        return;
    line[n++] = '\n';
    DWORD put = 0;
    WriteFile(logFile, line, (DWORD)n, &put, nullptr);
}

const char kKindLetters[] = "CWTFR";

void watch(const titledb::FileChange &change)
{
    if (!watching)
        return;
    char kind = kKindLetters[change.kind];
    int ordinal = ++seen[change.kind];
    logLine("change %u %c %d %lu", currentOp, kind, ordinal, (unsigned long)change.length);
    if (kind != crashKind || ordinal != crashOrdinal)
        return;
    long tear = -1;
    if (change.kind == titledb::FileChange::Write && crashTear >= 0) {
        tear = crashTear < (long)change.length ? crashTear : (long)change.length;
        LARGE_INTEGER to;
        to.QuadPart = (LONGLONG)change.offset;
        DWORD put = 0;
        if (!SetFilePointerEx(change.handle, to, nullptr, FILE_BEGIN) ||
            !WriteFile(change.handle, change.data, (DWORD)tear, &put, nullptr) || put != (DWORD)tear)
            tear = -2;
    } else if (change.kind == titledb::FileChange::Replace && crashTear >= 0) {
        tear = MoveFileExA(change.source, change.path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 0 : -2;
    }
    logLine("crash %u %c %d %lu %ld", currentOp, kind, ordinal, (unsigned long)change.length, tear);
    TerminateProcess(GetCurrentProcess(), kEndedItself);
}

int runOp(const CrashOp &op)
{
    db_lock();
    int result = 0;
    if (op.kind == CrashOp::Write) {
        RecordView view(op.data);
        result = db_write_entry(op.winId, view.get());
    } else if (op.kind == CrashOp::Delete) {
        result = db_delete_entry(op.winId);
    } else {
        result = db_compact();
    }
    db_unlock();
    return result;
}

} // namespace

int main(int argc, char **argv)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    if (argc != 10 || !SetCurrentDirectoryA(argv[1])) {
        fprintf(stderr, "crashwriter_child: usage: FOLDER LOG FIRST LAST CRASHOP KIND ORDINAL TEAR EVENT\n");
        return 2;
    }
    logFile = CreateFileA(argv[2], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (logFile == INVALID_HANDLE_VALUE)
        return 2;
    uint32_t first = (uint32_t)strtoul(argv[3], nullptr, 10);
    uint32_t last = (uint32_t)strtoul(argv[4], nullptr, 10);
    long crashOp = strtol(argv[5], nullptr, 10);
    crashKind = argv[6][0];
    crashOrdinal = atoi(argv[7]);
    crashTear = strtol(argv[8], nullptr, 10);
    titledb::setFileChangeWatcher(watch);

    CrashModel model = crashModelAfter(first);
    if (strcmp(argv[9], "-") != 0) {
        HANDLE started = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[9]);
        if (started) {
            SetEvent(started);
            CloseHandle(started);
        }
    }
    for (uint32_t i = first; i <= last; ++i) {
        CrashOp op = crashOpAt(i, model);
        currentOp = i;
        watching = (long)i == crashOp;
        memset(seen, 0, sizeof seen);
        int result = runOp(op);
        watching = false;
        logLine("ack %u %d", i, result);
        applyCrashOp(op, &model);
    }
    CloseHandle(logFile);
    return 0;
}
