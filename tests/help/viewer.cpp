// viewer.cpp - driving the help viewer from the tests (see viewer.h).
#include "help/viewer.h"

#include <richedit.h>

#include <set>

namespace viewer {

namespace {

const int textControlId = 0x701;   // the viewer's rich edit child

struct Search {
    bool hidden;
    std::vector<Window> found;
};

BOOL CALLBACK collect(HWND window, LPARAM param)
{
    Search *search = reinterpret_cast<Search *>(param);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, "MS_WINHELP") != 0 || (!search->hidden && !IsWindowVisible(window)))
        return TRUE;
    Window found;
    found.window = window;
    found.process = 0;
    GetWindowThreadProcessId(window, &found.process);
    found.popup = (GetWindowLongA(window, GWL_STYLE) & WS_POPUP) != 0;
    search->found.push_back(found);
    return TRUE;
}

std::string rawText(HWND window)
{
    HWND edit = GetDlgItem(window, textControlId);
    if (!edit)
        return "";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(edit, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return "";
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                             5000, &copied))
        return "";
    text.resize(copied);
    return text;
}

} // namespace

std::vector<Window> windows(bool hidden)
{
    Search search = {hidden, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND find(bool popup, DWORD process)
{
    for (const Window &w : windows())
        if (w.popup == popup && (process == 0 || w.process == process))
            return w.window;
    return nullptr;
}

std::string caption(HWND window)
{
    char text[512] = "";
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        &copied);
    return text;
}

std::string squeeze(const std::string &text)
{
    std::string out;
    for (char c : text) {
        bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (blank) {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
        } else {
            out += c;
        }
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

std::string text(HWND window)
{
    return squeeze(rawText(window));
}

bool clickWords(HWND window, const std::string &words, const std::string &after)
{
    HWND edit = GetDlgItem(window, textControlId);
    std::string text = rawText(window);
    size_t start = text.find(after);
    size_t at = start == std::string::npos ? start : text.find(words, start + after.size());
    if (at == std::string::npos)
        return false;
    // The control counts a paragraph break as one character whether it
    // hands out "\r" or "\r\n".
    LPARAM index = 0;
    for (size_t i = 0; i < at; ++i)
        if (!(text[i] == '\n' && i > 0 && text[i - 1] == '\r'))
            ++index;

    // EM_POSFROMCHAR writes into a POINTL of the viewer's own memory.
    DWORD process = 0;
    GetWindowThreadProcessId(edit, &process);
    HANDLE target = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    if (!target)
        return false;
    void *remote = VirtualAllocEx(target, nullptr, sizeof(POINTL), MEM_COMMIT, PAGE_READWRITE);
    POINTL point = {-1, -1};
    bool placed = false;
    if (remote) {
        DWORD_PTR result = 0;
        if (SendMessageTimeoutA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(remote), index, SMTO_ABORTIFHUNG, 5000,
                                &result)) {
            SIZE_T read = 0;
            placed = ReadProcessMemory(target, remote, &point, sizeof point, &read) && read == sizeof point &&
                     point.x >= 0 && point.y >= 0;
        }
        VirtualFreeEx(target, remote, 0, MEM_RELEASE);
    }
    CloseHandle(target);
    if (!placed)
        return false;
    LPARAM where = MAKELPARAM(point.x + 2, point.y + 2);
    PostMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageA(edit, WM_LBUTTONUP, 0, where);
    return true;
}

DWORD openTopic(const std::string &context, const std::string &path)
{
    std::string command = "winhlp32.exe -i " + context + " \"" + path + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return 0;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return started.dwProcessId;
}

void closeAll()
{
    std::set<DWORD> processes;
    for (const Window &w : windows(true))
        processes.insert(w.process);
    for (const Window &w : windows(true))
        if (!w.popup)
            PostMessageA(w.window, WM_CLOSE, 0, 0);
    for (DWORD id : processes) {
        HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
        if (!process)
            continue;
        if (WaitForSingleObject(process, 5000) != WAIT_OBJECT_0)
            TerminateProcess(process, 1);
        CloseHandle(process);
    }
}

} // namespace viewer
