// wizard_tool.cpp - walks a setup or uninstall wizard as a user would, for
// the installer's test:
//   wizard_tool COMMANDLINE STEP...
// starts COMMANDLINE, then carries out each STEP in order:
//   see:TEXT     a window titled "Spindle2..." shows a control whose text
//                holds TEXT
//   click:TEXT   press the enabled button labelled TEXT (with its & mark)
//                in a window titled "Spindle2..."
// Every step waits for its window; the wizard may hand over to another
// process (an uninstaller runs from a copy of itself), so windows are found
// by title, not by process. Exit code 0 when every step was done, else 10 +
// the number of the first step that could not be.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD kStepWaitMs = 30000;
const char kTitlePrefix[] = "Spindle2";

struct Search {
    bool wantButton;     // click: an enabled button with exactly this text
    std::string text;    // see: any control whose text holds it
    HWND found;
};

std::string windowText(HWND window)
{
    char text[512] = "";
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &ignored);
    return text;
}

bool isButton(HWND window)
{
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    return _stricmp(name, "Button") == 0;
}

BOOL CALLBACK matchControl(HWND control, LPARAM param)
{
    Search *search = reinterpret_cast<Search *>(param);
    if (!IsWindowVisible(control))
        return TRUE;
    std::string text = windowText(control);
    bool hit = search->wantButton
                   ? isButton(control) && IsWindowEnabled(control) && text == search->text
                   : text.find(search->text) != std::string::npos;
    if (!hit)
        return TRUE;
    search->found = control;
    return FALSE;
}

BOOL CALLBACK matchTopLevel(HWND window, LPARAM param)
{
    Search *search = reinterpret_cast<Search *>(param);
    char title[128] = "";
    GetWindowTextA(window, title, sizeof title);
    if (!IsWindowVisible(window) || strncmp(title, kTitlePrefix, sizeof kTitlePrefix - 1) != 0)
        return TRUE;
    EnumChildWindows(window, matchControl, param);
    return search->found ? FALSE : TRUE;
}

HWND waitForControl(bool wantButton, const std::string &text)
{
    for (DWORD waited = 0; waited < kStepWaitMs; waited += 200) {
        Search search = {wantButton, text, nullptr};
        EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(200);
    }
    return nullptr;
}

bool startProgram(const std::string &command)
{
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: wizard_tool COMMANDLINE see:TEXT|click:TEXT...\n");
        return 2;
    }
    if (!startProgram(argv[1])) {
        printf("wizard: %s could not be started\n", argv[1]);
        return 3;
    }
    for (int i = 2; i < argc; ++i) {
        int step = i - 1;
        std::string word = argv[i];
        bool click = word.compare(0, 6, "click:") == 0;
        bool see = word.compare(0, 4, "see:") == 0;
        if (!click && !see) {
            fprintf(stderr, "wizard: cannot understand step '%s'\n", argv[i]);
            return 2;
        }
        std::string text = word.substr(click ? 6 : 4);
        HWND control = waitForControl(click, text);
        if (!control) {
            printf("wizard: step %d: no %s \"%s\" appeared\n", step, click ? "button" : "text", text.c_str());
            return 10 + step;
        }
        if (click) {
            // Posted through the button's own click, so that a modal box
            // opened by the press does not hold this tool.
            PostMessageA(control, BM_CLICK, 0, 0);
            // The press must have its effect before the next step looks:
            // the pressed button goes away or changes.
            for (DWORD waited = 0; waited < kStepWaitMs; waited += 100) {
                if (!IsWindow(control) || !IsWindowVisible(control) || windowText(control) != text)
                    break;
                Sleep(100);
            }
        }
        printf("wizard: step %d done: %s\n", step, argv[i]);
    }
    return 0;
}
