// diaglog.cpp - the diagnostics log. Each line is a local-time prefix
// ("%x %X - ") and the text; the file is new for every run with "-d".
// The CD library writes its lines from its own threads, so the stream is
// guarded by one lock, each line goes out in one write, and a line that
// comes after the close (a library thread still winding down) goes nowhere.
#include "core/diaglog.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <string>

namespace {
std::mutex logGuard;
FILE *logStream = nullptr; // guarded by logGuard

// Called with logGuard held and the log open.
void writeLine(const char *text)
{
    char prefix[60];
    time_t now = time(nullptr);
    struct tm local;
    if (localtime_s(&local, &now) != 0 || strftime(prefix, sizeof prefix, "%x %X - ", &local) == 0)
        prefix[0] = 0;
    std::string line = prefix;
    line += text;
    line += '\n';
    fwrite(line.data(), 1, line.size(), logStream);
    // Flushed line by line, so that a crash keeps everything written so far.
    fflush(logStream);
}
}

void logOpen()
{
    std::lock_guard<std::mutex> hold(logGuard);
    if (logStream)
        return;
    logStream = fopen("diagnostics.log", "w");
    if (logStream)
        writeLine("Diagnostic output initialized");
}

void logLine(char *text)
{
    if (!text)
        return;
    std::lock_guard<std::mutex> hold(logGuard);
    if (!logStream)
        return;
    for (char *p = text; *p; ++p)
        if (*p == '\r')
            *p = ' ';
    writeLine(text);
}

void logLinef(const char *fmt, ...)
{
    if (!logIsOpen())
        return;
    char text[1024];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(text, sizeof text, fmt, ap);
    va_end(ap);
    logLine(text);
}

void logClose()
{
    std::lock_guard<std::mutex> hold(logGuard);
    if (!logStream)
        return;
    writeLine("Diagnostic output closed");
    fclose(logStream);
    logStream = nullptr;
}

bool logIsOpen()
{
    std::lock_guard<std::mutex> hold(logGuard);
    return logStream != nullptr;
}
