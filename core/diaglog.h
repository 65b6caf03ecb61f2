// diaglog.h - the optional diagnostics log, "diagnostics.log" in the
// program's working directory, written only when started with "-d".
#ifndef CORE_DIAGLOG_H
#define CORE_DIAGLOG_H

// Creates (or empties) the log and writes its first line.
void logOpen();
// Writes one line when the log is open: carriage returns in the caller's
// text become blanks, in place. Does nothing at all while the log is closed.
// Also the CD library's diagnostics callback.
void logLine(char *text);
// printf-style convenience for the program's own lines.
void logLinef(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
// Writes the last line and closes the log.
void logClose();
// Whether the log is open.
bool logIsOpen();

#endif
