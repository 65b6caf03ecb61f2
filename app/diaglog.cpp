// diaglog.cpp - the diagnostics log. Each line is a local-time prefix
// ("%x %X - ") and the text; the file is new for every run with "-d".
#include "app/diaglog.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>

namespace {
FILE *logStream = nullptr;

void writeLine(const char *text)
{
    char prefix[60];
    time_t now = time(nullptr);
    struct tm *local = localtime(&now);
    if (!local || strftime(prefix, sizeof prefix, "%x %X - ", local) == 0)
        prefix[0] = 0;
    fprintf(logStream, "%s", prefix);
    fprintf(logStream, "%s\n", text);
    // Flushed line by line, so that a crash keeps everything written so far.
    fflush(logStream);
}
}

void logOpen()
{
    if (logStream)
        return;
    logStream = fopen("diagnostics.log", "w");
    if (logStream)
        writeLine("Diagnostic output initialized");
}

void logLine(char *text)
{
    if (!logStream || !text)
        return;
    for (char *p = text; *p; ++p)
        if (*p == '\r')
            *p = ' ';
    writeLine(text);
}

void logLinef(const char *fmt, ...)
{
    if (!logStream)
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
    if (!logStream)
        return;
    writeLine("Diagnostic output closed");
    fclose(logStream);
    logStream = nullptr;
}

bool logIsOpen()
{
    return logStream != nullptr;
}
