// commandline.cpp - Rackfile's command line.
#include "rackfile/commandline.h"
#include "rackfile/dbtasks.h"
#include "rackfile/transfer.h"

#include <windows.h>

#include <cstdio>

const char kRackfileUsage[] =
    "Rackfile.exe /check\r\n"
    "Rackfile.exe /compact\r\n"
    "Rackfile.exe /export FOLDER [/windows]\r\n"
    "Rackfile.exe /import FOLDER|FILE\r\n"
    "Add /log FILE to write a summary. Exit codes: 0 done, 1 bad arguments, 2 no database, "
    "3 damage found, 4 compaction failed, 5 compacted without damaged entries, 6 export failed, "
    "7 import failed, 8 log not written.";

namespace {

bool sameSwitch(const std::string &arg, const char *name)
{
    return lstrcmpiA(arg.c_str(), name) == 0;
}

bool isFolder(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool writeLog(const std::string &file, const std::string &text)
{
    FILE *f = fopen(file.c_str(), "wb");
    if (!f)
        return false;
    std::string line = text + "\r\n";
    bool ok = fwrite(line.data(), 1, line.size(), f) == line.size();
    return fclose(f) == 0 && ok;
}

} // namespace

bool parseRackfileCommand(const std::vector<std::string> &args, RackfileCommand *command, std::string *problem)
{
    RackfileCommand c;
    bool sawWindows = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        RackfileCommand::Task task = RackfileCommand::None;
        bool takesPath = false;
        if (sameSwitch(arg, "/check"))
            task = RackfileCommand::Check;
        else if (sameSwitch(arg, "/compact"))
            task = RackfileCommand::Compact;
        else if (sameSwitch(arg, "/export"))
            task = RackfileCommand::Export, takesPath = true;
        else if (sameSwitch(arg, "/import"))
            task = RackfileCommand::Import, takesPath = true;

        if (task != RackfileCommand::None) {
            if (c.task != RackfileCommand::None) {
                *problem = "Only one task per run: " + arg + " follows another.";
                return false;
            }
            c.task = task;
            if (takesPath) {
                if (i + 1 >= args.size() || args[i + 1].empty() || args[i + 1][0] == '/') {
                    *problem = arg + " needs a folder or file.";
                    return false;
                }
                c.path = args[++i];
            }
        } else if (sameSwitch(arg, "/windows")) {
            sawWindows = true;
        } else if (sameSwitch(arg, "/log")) {
            if (i + 1 >= args.size() || args[i + 1].empty() || args[i + 1][0] == '/' || !c.logFile.empty()) {
                *problem = "/log needs one file name.";
                return false;
            }
            c.logFile = args[++i];
        } else {
            *problem = "Unknown argument: " + arg;
            return false;
        }
    }
    if (c.task == RackfileCommand::None) {
        *problem = "No task given.";
        return false;
    }
    if (sawWindows && c.task != RackfileCommand::Export) {
        *problem = "/windows goes with /export only.";
        return false;
    }
    c.windowsLayout = sawWindows;
    *command = c;
    return true;
}

int runRackfileCommand(const RackfileCommand &c, std::string *summary)
{
    switch (c.task) {
    case RackfileCommand::Check: {
        CheckReport report = checkDatabase();
        *summary = checkSummary(report);
        return report.result <= 0 ? ExitNoDatabase : report.result == 1 ? ExitDone : ExitDamageFound;
    }
    case RackfileCommand::Compact: {
        CompactReport report = compactDatabase();
        *summary = compactSummary(report);
        if (!report.statsBefore)
            return ExitNoDatabase;
        return report.result == PLATTER_OK                   ? ExitDone
               : report.result == PLATTER_DB_CORRUPT_DROPPED ? ExitCompactDropped
                                                             : ExitCompactFailed;
    }
    case RackfileCommand::Export: {
        int layout = c.windowsLayout ? PLATTER_CDDB_LAYOUT_WINDOWS : PLATTER_CDDB_LAYOUT_FILES;
        TransferReport report = exportEntries(c.path, layout, {}, nullptr);
        *summary = exportSummary(report, c.path);
        if (!report.sourceOk)
            return ExitNoDatabase;
        return report.failed ? ExitExportFailed : ExitDone;
    }
    case RackfileCommand::Import: {
        TransferReport report =
            isFolder(c.path) ? importCddbTree(c.path, nullptr) : importCdPlayerFile(c.path, nullptr);
        *summary = importSummary(report, c.path);
        return !report.sourceOk || report.failed ? ExitImportFailed : ExitDone;
    }
    case RackfileCommand::None:
        break;
    }
    return ExitBadArguments;
}

int rackfileCommandLine(const std::vector<std::string> &args)
{
    RackfileCommand command;
    std::string problem, summary;
    int code;
    if (!parseRackfileCommand(args, &command, &problem)) {
        code = ExitBadArguments;
        summary = problem + "\r\n" + kRackfileUsage;
        // A bad command line may still name its log.
        for (size_t i = 0; i + 1 < args.size(); ++i)
            if (sameSwitch(args[i], "/log") && !args[i + 1].empty() && args[i + 1][0] != '/')
                command.logFile = args[i + 1];
    } else {
        code = runRackfileCommand(command, &summary);
    }
    if (!command.logFile.empty() && !writeLog(command.logFile, summary) && code == ExitDone)
        code = ExitLogFailed;
    return code;
}
