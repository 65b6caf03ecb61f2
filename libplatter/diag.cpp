// diag.cpp - the set-up family: where the library's diagnostics lines and
// progress texts go.
#include "libplatter/diag.h"
#include "libplatter/cboundary.h"
#include "platter/platter.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {
std::atomic<platter_diag_fn> diagCallback{nullptr};
std::atomic<platter_stat_fn> statCallback{nullptr};
}

extern "C" int platter_diag_init(platter_diag_fn fn)
{
    return guardedCall<int>("platter_diag_init", PLATTER_FAIL, [&]() -> int {
        diagCallback.store(fn);
        if (fn)
            platterDiag("Platter library diagnostics started.");
        return 1;
    });
}

extern "C" int platter_stat_init(platter_stat_fn fn)
{
    return guardedCall<int>("platter_stat_init", PLATTER_FAIL, [&]() -> int {
        statCallback.store(fn);
        return 1;
    });
}

void platterDiag(const char *fmt, ...)
{
    platter_diag_fn fn = diagCallback.load();
    if (!fn)
        return;
    // The callback may rewrite the text in place, so it gets a buffer of its own.
    char line[1024];
    int used = snprintf(line, sizeof line, "Platter: ");
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(line + used, sizeof line - used, fmt, ap);
    va_end(ap);
    fn(line);
}

void platterStatus(const char *fmt, ...)
{
    platter_stat_fn fn = statCallback.load();
    if (!fn)
        return;
    char text[512];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(text, sizeof text, fmt, ap);
    va_end(ap);
    fn(text);
}

void reportEscapedError(const char *call, const char *what) noexcept
{
    // The program's callback is C; should it throw all the same, the line is
    // lost rather than the process.
    try {
        platterDiag("%s failed: %s.", call, what ? what : "an unexpected error");
    } catch (...) {
    }
}
