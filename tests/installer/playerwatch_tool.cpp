// playerwatch_tool.cpp - starts an installed spindle2.exe as a user's
// shortcut would and watches it from outside, for the installer's test:
//   playerwatch_tool EXE WORKDIR LOGFILE [SETUP EXPECTED]
// 1. no player runs yet; 2. EXE starts with "-d" in WORKDIR; 3. the
// single-instance mutex and the control panel appear; 4. LOGFILE exists
// (the player moved into the folder that MainDirectory names); 5. with
// SETUP given, "SETUP /S" run now ends with exit code EXPECTED; 6. the
// player, asked to close, ends with exit code 0.
// Exit code 0 when every step held, else 10 + the number of the failed step.
#include "app/startup.h"
#include "res/resource.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kStartWaitMs = 30000;
constexpr DWORD kEndWaitMs = 30000;

bool playerMutexExists()
{
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, RUN_ONCE_MUTEX_NAME);
    if (mutex)
        CloseHandle(mutex);
    return mutex != nullptr;
}

HANDLE startProcess(const std::string &command, const char *folder)
{
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

struct PanelSearch {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK matchPanel(HWND window, LPARAM param)
{
    PanelSearch *search = reinterpret_cast<PanelSearch *>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || !GetDlgItem(window, IDC_STATUS_LINE))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND panelOf(DWORD pid)
{
    PanelSearch search = {pid, nullptr};
    EnumWindows(matchPanel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK closeWindow(HWND window, LPARAM param)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == (DWORD)param)
        PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// Waits for the player to be up: its mutex and its panel. False when it
// ended first or did not come up in time.
bool waitForPlayer(HANDLE player)
{
    DWORD pid = GetProcessId(player);
    for (DWORD waited = 0; waited < kStartWaitMs; waited += 100) {
        if (WaitForSingleObject(player, 100) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(player, &code);
            printf("playerwatch: the player ended by itself with code %lu\n", (unsigned long)code);
            return false;
        }
        if (playerMutexExists() && panelOf(pid))
            return true;
    }
    printf("playerwatch: the player's mutex and panel did not appear within %lu ms\n", (unsigned long)kStartWaitMs);
    return false;
}

int runSetupWhilePlaying(const std::string &setup)
{
    HANDLE process = startProcess("\"" + setup + "\" /S", nullptr);
    if (!process)
        return -1;
    DWORD code = (DWORD)-1;
    if (WaitForSingleObject(process, kEndWaitMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &code);
    else
        TerminateProcess(process, 99);
    CloseHandle(process);
    return (int)code;
}

int fail(int step, const char *what)
{
    printf("playerwatch: step %d failed: %s\n", step, what);
    return 10 + step;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4 && argc != 6) {
        fprintf(stderr, "usage: playerwatch_tool EXE WORKDIR LOGFILE [SETUP EXPECTED]\n");
        return 2;
    }
    std::string exe = argv[1];
    const char *workdir = argv[2];
    const char *logFile = argv[3];

    if (playerMutexExists())
        return fail(1, "a player already runs in this prefix");
    HANDLE player = startProcess("\"" + exe + "\" -d", workdir);
    if (!player)
        return fail(2, "the player could not be started");
    if (!waitForPlayer(player)) {
        CloseHandle(player);
        return fail(3, "the player did not come up");
    }
    printf("playerwatch: the player runs (process %lu) with its panel\n", (unsigned long)GetProcessId(player));

    int failed = 0;
    if (GetFileAttributesA(logFile) == INVALID_FILE_ATTRIBUTES)
        failed = fail(4, "no diagnostics log in the installation folder");
    if (!failed && argc == 6) {
        int expected = atoi(argv[5]);
        int code = runSetupWhilePlaying(argv[4]);
        printf("playerwatch: setup run beside the player ended with code %d\n", code);
        if (code != expected)
            failed = fail(5, "the setup program did not refuse to run beside the player");
    }

    EnumWindows(closeWindow, (LPARAM)GetProcessId(player));
    DWORD code = (DWORD)-1;
    if (WaitForSingleObject(player, kEndWaitMs) != WAIT_OBJECT_0) {
        TerminateProcess(player, 99);
        CloseHandle(player);
        return failed ? failed : fail(6, "the player did not close when asked");
    }
    GetExitCodeProcess(player, &code);
    CloseHandle(player);
    printf("playerwatch: the player closed with code %lu\n", (unsigned long)code);
    if (!failed && code != 0)
        failed = fail(6, "the player closed with a non-zero code");
    return failed;
}
