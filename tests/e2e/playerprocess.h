// playerprocess.h - the real spindle2.exe and cdctl_tool.exe as processes:
// virtual drives in scratch folders, the player's windows read from outside
// as another program would, and the drive driven by a second program.
#ifndef TESTS_E2E_PLAYERPROCESS_H
#define TESTS_E2E_PLAYERPROCESS_H

#include "harness/harness.h"

#include <string>
#include <vector>

namespace e2e {

// Starts a program of the build's bin folder; null when it cannot start.
inline HANDLE startProgram(const std::string &exe, const std::string &arguments, const std::string &folder,
                           HANDLE output = nullptr)
{
    std::string command = "\"" + harness::binFolder() + "\\" + exe + "\" " + arguments;
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, output != nullptr, 0, nullptr, folder.c_str(),
                        &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

// Runs cdctl_tool with the given words and returns its exit code (-1 when
// it did not start or did not end in time).
inline int runCdctl(const std::string &words, const std::string &folder)
{
    HANDLE tool = startProgram("cdctl_tool.exe", words, folder);
    if (!tool)
        return -1;
    DWORD code = (DWORD)-1;
    if (WaitForSingleObject(tool, 20000) == WAIT_OBJECT_0)
        GetExitCodeProcess(tool, &code);
    else
        TerminateProcess(tool, 99);
    CloseHandle(tool);
    return (int)code;
}

struct WindowSearch {
    DWORD pid;
    const char *caption;   // null: any window holding control 1051
    HWND found;
};

inline BOOL CALLBACK matchWindow(HWND window, LPARAM param)
{
    WindowSearch *search = reinterpret_cast<WindowSearch *>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid)
        return TRUE;
    if (search->caption) {
        char text[128] = "";
        GetWindowTextA(window, text, sizeof text);
        if (strcmp(text, search->caption) != 0)
            return TRUE;
    } else if (!GetDlgItem(window, 1051)) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

// A top-level window of the process: the panel (caption null) or the one
// with this caption.
inline HWND findWindowOf(HANDLE process, const char *caption)
{
    WindowSearch search = {GetProcessId(process), caption, nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A control's text, read from outside through the window manager.
inline std::string controlText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    char text[256] = "";
    DWORD_PTR result = 0;
    if (!control ||
        !SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             2000, &result))
        return "";
    return text;
}

// A plain-text table of contents of audio tracks (no sound: they play silent).
inline void writeAudioToc(const std::string &folder, const std::vector<const char *> &starts, const char *leadOut)
{
    std::string text;
    for (size_t i = 0; i < starts.size(); ++i)
        text += "TRACK " + std::to_string(i + 1) + " AUDIO " + starts[i] + "\r\n";
    text += std::string("LEADOUT ") + leadOut + "\r\n";
    HANDLE file = CreateFileA((folder + "\\disc.toc").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), (DWORD)text.size(), &written, nullptr);
    CloseHandle(file);
}

} // namespace e2e

#endif
