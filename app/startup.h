// startup.h - the program's start: one copy only, the command line, the
// working directory, the log, the CD library's callbacks, the hidden main
// dialog and the message loop.
#ifndef APP_STARTUP_H
#define APP_STARTUP_H

#include <windows.h>

#define RUN_ONCE_MUTEX_NAME "Spindle2 Run Only Once"

// The mutex's name; tests that run the program in-process give it a name of
// their own so that they do not meet each other or a running player.
extern const char *runOnceMutexName;

// Exit code when the main dialog cannot be created at all.
#define EXIT_NO_MAIN_WINDOW 2

// Reads the starting drive ("D:" from a line that begins "d:\") and the
// diagnostics switch ("-d" anywhere) from the command line.
void parseCommandLine(const char *commandLine, char drive[3], int *diagnostics);

// Makes "MainDirectory" from the options key the current directory; the
// directory stays as it was when the value cannot be read.
void enterMainDirectory();

// Lets go of the single-instance mutex (for tests that start the program
// more than once in one process).
void releaseRunOnceMutex();

// The whole life of the program; returns its exit code.
int runProgram(HINSTANCE instance, const char *commandLine);

#endif
