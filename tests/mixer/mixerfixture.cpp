// mixerfixture.cpp - the diagnostics lines of a piece of work.
#include "tests/mixer/mixerfixture.h"
#include "core/diaglog.h"
#include "harness/harness.h"

#include <sstream>

std::vector<std::string> logLinesOf(const std::function<void()> &work)
{
    char previous[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(sizeof previous, previous);
    std::string folder = harness::scratchFolder();
    SetCurrentDirectoryA(folder.c_str());
    logOpen();
    work();
    logClose();
    if (length > 0 && length < sizeof previous)
        SetCurrentDirectoryA(previous);

    std::vector<std::string> lines;
    std::istringstream text(harness::readFile(folder + "\\diagnostics.log"));
    std::string line;
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t prefixEnd = line.find(" - ");
        std::string message = prefixEnd == std::string::npos ? line : line.substr(prefixEnd + 3);
        if (message != "Diagnostic output initialized" && message != "Diagnostic output closed")
            lines.push_back(message);
    }
    return lines;
}
