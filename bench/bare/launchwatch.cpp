// launchwatch.cpp - measures one program for scripts/bench startup: starts
// it, waits until one of its windows is visible with text in a child
// control (the panel shown with its text), lets it idle, reads its CPU time
// and private memory, then closes that window and waits for the end.
// Prints "name value" lines; "idle begin" and "idle end" mark the idle
// stretch so that the script can read the wineserver's CPU time across it.
// With --command ID the window is sent WM_COMMAND ID once it is shown (the
// player's Stop or Play button), before the stretch begins.
//   launchwatch.exe [--command ID] IDLE_SECONDS PROGRAM [ARGUMENTS...]
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK childHasText(HWND child, LPARAM param)
{
    char text[8];
    if (IsWindowVisible(child) && GetWindowTextA(child, text, sizeof text) > 0) {
        *reinterpret_cast<bool *>(param) = true;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK panelOf(HWND window, LPARAM param)
{
    Search *search = reinterpret_cast<Search *>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !IsWindowVisible(window))
        return TRUE;
    bool text = false;
    EnumChildWindows(window, childHasText, reinterpret_cast<LPARAM>(&text));
    if (!text)
        return TRUE;
    search->found = window;
    return FALSE;
}

double seconds(const FILETIME &time)
{
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return (double)value.QuadPart / 1e7;
}

double cpuSeconds(HANDLE process)
{
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user))
        return 0;
    return seconds(kernel) + seconds(user);
}

} // namespace

int main(int argc, char **argv)
{
    int command_id = 0;
    if (argc >= 3 && strcmp(argv[1], "--command") == 0) {
        command_id = atoi(argv[2]);
        argv += 2;
        argc -= 2;
    }
    if (argc < 3) {
        fprintf(stderr, "usage: launchwatch [--command ID] IDLE_SECONDS PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    int idleSeconds = atoi(argv[1]);
    std::string command = std::string("\"") + argv[2] + "\"";
    for (int i = 3; i < argc; ++i)
        command += std::string(" ") + argv[i];
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        fprintf(stderr, "launchwatch: cannot start %s (error %lu)\n", argv[2], GetLastError());
        return 1;
    }
    CloseHandle(info.hThread);
    Search search = {info.dwProcessId, nullptr};
    for (int waited = 0; !search.found && waited < 30000; waited += 5) {
        EnumWindows(panelOf, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            Sleep(5);
    }
    QueryPerformanceCounter(&now);
    if (!search.found) {
        fprintf(stderr, "launchwatch: no window with text came up\n");
        TerminateProcess(info.hProcess, 1);
        return 1;
    }
    printf("launch_ms %.0f\n", (double)(now.QuadPart - start.QuadPart) * 1000.0 / (double)frequency.QuadPart);
    if (command_id)
        PostMessageA(search.found, WM_COMMAND, (WPARAM)command_id, 0);
    Sleep(2000); // start-up work that follows the first paint settles
    printf("idle begin\n");
    fflush(stdout);
    double cpuBefore = cpuSeconds(info.hProcess);
    Sleep((DWORD)idleSeconds * 1000);
    double cpuAfter = cpuSeconds(info.hProcess);
    printf("idle end\n");
    printf("idle_cpu_percent %.2f\n", (cpuAfter - cpuBefore) * 100.0 / idleSeconds);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(info.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS *>(&memory), sizeof memory))
        printf("private_mb %.1f\n", (double)memory.PrivateUsage / (1024.0 * 1024.0));
    fflush(stdout);
    QueryPerformanceCounter(&start);
    PostMessageA(search.found, WM_CLOSE, 0, 0);
    DWORD ended = WaitForSingleObject(info.hProcess, 30000);
    QueryPerformanceCounter(&now);
    if (ended == WAIT_OBJECT_0)
        printf("shutdown_ms %.0f\n", (double)(now.QuadPart - start.QuadPart) * 1000.0 / (double)frequency.QuadPart);
    else
        TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hProcess);
    return 0;
}
