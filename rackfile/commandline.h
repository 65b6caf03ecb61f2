// commandline.h - Rackfile without its window, for scripts and tests:
//   Rackfile.exe /check
//   Rackfile.exe /compact
//   Rackfile.exe /export FOLDER [/windows]
//   Rackfile.exe /import FOLDER|FILE
// each with an optional /log FILE that receives the summary. One task per
// run; switches are case-blind. The exit code says how it went.
#ifndef RACKFILE_COMMANDLINE_H
#define RACKFILE_COMMANDLINE_H

#include <string>
#include <vector>

enum RackfileExitCode {
    ExitDone = 0,            // the task did all it was asked
    ExitBadArguments = 1,    // the command line is not one of the forms above
    ExitNoDatabase = 2,      // the title database cannot be taken or read
    ExitDamageFound = 3,     // /check: damaged records or an unfinished last record
    ExitCompactFailed = 4,   // /compact: not done; the old file is intact
    ExitCompactDropped = 5,  // /compact: done, with damaged entries left out
    ExitExportFailed = 6,    // /export: some entry could not be written
    ExitImportFailed = 7,    // /import: no tree or CD Player file there, or some entry failed
    ExitLogFailed = 8        // the task's own result was success, but the log file cannot be written
};

struct RackfileCommand {
    enum Task { None, Check, Compact, Export, Import } task = None;
    std::string path;          // the folder of /export, the folder or file of /import
    bool windowsLayout = false;
    std::string logFile;
};

// Parses the arguments (without the program name). False with a reason in
// *problem when they are not a valid command line.
bool parseRackfileCommand(const std::vector<std::string> &args, RackfileCommand *command, std::string *problem);
// Runs a parsed command; returns the exit code and fills the summary.
int runRackfileCommand(const RackfileCommand &command, std::string *summary);
// Parses, runs and writes the log: the whole of a command-line run.
int rackfileCommandLine(const std::vector<std::string> &args);

// The usage text of the About box and of a bad command line's log.
extern const char kRackfileUsage[];

#endif
