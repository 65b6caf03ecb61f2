// cboundary.h - the edge between the library's C++ inside and its C
// interface. A C caller cannot catch a C++ exception (running out of memory,
// a thread that cannot start), so every exported call runs its body through
// guardedCall, which turns any exception into the call's failure result and
// a diagnostics line.
#ifndef LIBPLATTER_CBOUNDARY_H
#define LIBPLATTER_CBOUNDARY_H

#include <exception>
#include <new>

// Writes "Platter: <call> failed: <what>." without letting anything escape.
void reportEscapedError(const char *call, const char *what) noexcept;

template <typename Result, typename Body>
Result guardedCall(const char *call, Result failure, Body &&body) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc &) {
        reportEscapedError(call, "out of memory");
    } catch (const std::exception &error) {
        reportEscapedError(call, error.what());
    } catch (...) {
        reportEscapedError(call, "an unexpected error");
    }
    return failure;
}

#endif
