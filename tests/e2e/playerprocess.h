// playerprocess.h - the real spindle2.exe and cdctl_tool.exe as processes:
// virtual drives in scratch folders, the player's windows read from outside
// as another program would, and the drive driven by a second program.
#ifndef TESTS_E2E_PLAYERPROCESS_H
#define TESTS_E2E_PLAYERPROCESS_H

#include "harness/harness.h"

#include <windows.h>
#include <prsht.h>

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

// Waits until the control shows the expected text, at most `ms`; gives what
// it showed last.
inline std::string waitForControlText(HWND dialog, int id, const std::string &expected, DWORD ms)
{
    std::string text;
    harness::pumpUntil(
        [&] {
            text = controlText(dialog, id);
            return text == expected;
        },
        ms);
    return text;
}

// One of the identities the library gives the disc now in D: ("winid" or
// "cddbid" of cdctl's "ids"), through a file in `folder`; "" when none.
inline std::string discIdOfD(const std::string &folder, const std::string &kind)
{
    std::string out = folder + "\\ids.txt";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE file = CreateFileA(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "";
    HANDLE tool = startProgram("cdctl_tool.exe", "D: read ids", folder, file);
    if (tool) {
        if (WaitForSingleObject(tool, 20000) != WAIT_OBJECT_0)
            TerminateProcess(tool, 99);
        CloseHandle(tool);
    }
    CloseHandle(file);
    std::string text = harness::readFile(out);
    size_t at = text.find(kind + " ");
    if (at == std::string::npos)
        return "";
    at += kind.size() + 1;
    return text.substr(at, text.find_first_of(" \r\n", at) - at);
}

// The player's options key under HKEY_LOCAL_MACHINE.
const char *const optionsKey = "SOFTWARE\\Veldane Software\\Spindle2\\CurrentVersion\\Options";

// Stores a number or a text under `keyName` of HKEY_LOCAL_MACHINE, as the
// player's own options are kept; false when the key cannot be made.
inline bool writeDword(const char *keyName, const char *name, DWORD value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyName, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

inline bool writeText(const char *keyName, const char *name, const std::string &value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyName, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                                 (DWORD)value.size() + 1);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

// Starts the player in `folder` and waits for its panel; the panel, or null
// when it does not show (the process, if any, is left in *player).
inline HWND startPlayer(HANDLE *player, const std::string &folder)
{
    *player = startProgram("spindle2.exe", "", folder);
    if (!*player)
        return nullptr;
    HWND panel = nullptr;
    harness::pumpUntil([&] { return (panel = findWindowOf(*player, nullptr)) != nullptr; }, 20000);
    return panel;
}

// Ends the player as a user would: the property sheet named `sheetCaption`
// (when given and open) cancelled, then the panel closed; a player that has
// not ended after 10 s is killed. *player is null afterwards.
inline void closePlayer(HANDLE *player, const char *sheetCaption = nullptr)
{
    if (!*player)
        return;
    if (sheetCaption) {
        HWND sheet = findWindowOf(*player, sheetCaption);
        if (sheet)
            PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        harness::pumpUntil([&] { return findWindowOf(*player, sheetCaption) == nullptr; }, 5000);
    }
    HWND panel = findWindowOf(*player, nullptr);
    if (panel)
        PostMessageA(panel, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(*player, 10000) != WAIT_OBJECT_0)
        TerminateProcess(*player, 1);
    CloseHandle(*player);
    *player = nullptr;
}

// What a test leaves behind in this process: the program's registry tree and
// the drive folders it named.
inline void forgetPlayerSetup()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Veldane Software");
    SetEnvironmentVariableA("PLATTER_DRIVE_FOLDER_D", nullptr);
    SetEnvironmentVariableA("PLATTER_DRIVE_FOLDER_E", nullptr);
}

} // namespace e2e

#endif
