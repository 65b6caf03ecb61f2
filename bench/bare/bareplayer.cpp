// bareplayer.cpp - the yardstick of scripts/bench startup: a bare Win32
// program with what the player has at the least, a small always-on-top
// window with a line of text, a tray icon and the same three timers (5 s,
// 1 s and 100 ms). It does no work on them. It writes "panel shown" to its
// log file once the window shows its text, and on WM_CLOSE the time its
// shutdown took, as the player's diagnostics log does.
//   bareplayer.exe LOGFILE
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

namespace {

const UINT kTrayMessage = WM_APP + 1;
const UINT kTrayId = 1;
FILE *logFile = nullptr;

void logText(const char *text)
{
    if (!logFile)
        return;
    fprintf(logFile, "%lu %s\n", (unsigned long)GetTickCount(), text);
    fflush(logFile);
}

NOTIFYICONDATAA trayRecord(HWND window)
{
    NOTIFYICONDATAA data;
    ZeroMemory(&data, sizeof data);
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = kTrayId;
    return data;
}

void onCreate(HWND window)
{
    CreateWindowA("STATIC", "Track 01  00:00", WS_CHILD | WS_VISIBLE, 8, 8, 200, 20, window, nullptr,
                  GetModuleHandleA(nullptr), nullptr);
    NOTIFYICONDATAA data = trayRecord(window);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION);
    lstrcpynA(data.szTip, "Bare player", sizeof data.szTip);
    Shell_NotifyIconA(NIM_ADD, &data);
    SetTimer(window, 1, 5000, nullptr);
    SetTimer(window, 2, 1000, nullptr);
    SetTimer(window, 3, 100, nullptr);
}

void onClose(HWND window)
{
    logText("shutdown started");
    KillTimer(window, 1);
    KillTimer(window, 2);
    KillTimer(window, 3);
    NOTIFYICONDATAA data = trayRecord(window);
    Shell_NotifyIconA(NIM_DELETE, &data);
    logText("tray icon removed");
    DestroyWindow(window);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: onCreate(window); return 0;
    case WM_TIMER: return 0;
    case WM_CLOSE: onClose(window); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show)
{
    if (commandLine && commandLine[0])
        logFile = fopen(commandLine, "w");
    logText("started");
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "BarePlayerPanel";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "BarePlayerPanel", "Bare Player",
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 50, 230, 70, nullptr, nullptr, instance,
                                  nullptr);
    if (!window)
        return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    logText("panel shown");
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    logText("ended");
    if (logFile)
        fclose(logFile);
    return 0;
}
