// bareplayer.cpp - the yardstick of scripts/bench startup: a bare Win32
// program with what the player has at the least, a small always-on-top
// window with a line of text, a tray icon and the same three timers (5 s,
// 1 s and 100 ms). It does no work on them. It writes "panel shown" to its
// log file once the window shows its text, and on WM_CLOSE the time its
// shutdown took, as the player's diagnostics log does. WM_COMMAND 1047 (the
// player's Play button) starts a tone through the wave device with the
// player's buffering (four buffers of 133 ms, refilled as each is done), the
// yardstick of the figures taken while a disc plays with sound.
//   bareplayer.exe LOGFILE
#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <cstdio>

namespace {

const UINT kTrayMessage = WM_APP + 1;
const UINT kTrayId = 1;
FILE *logFile = nullptr;

const WORD kPlayCommand = 1047;
const int kBufferCount = 4;
const DWORD kBufferBytes = 44100 * 4 * 10 / 75; // 10 CD frames of 16-bit stereo at 44.1 kHz
HWAVEOUT waveOut = nullptr;

// winmm is loaded at the first Play only, so that the stopped figures stay
// those of a program with a window, a tray icon and timers and nothing else.
struct WaveCalls {
    decltype(&waveOutOpen) open;
    decltype(&waveOutPrepareHeader) prepare;
    decltype(&waveOutWrite) write;
    decltype(&waveOutReset) reset;
    decltype(&waveOutUnprepareHeader) unprepare;
    decltype(&waveOutClose) close;
} wave;

bool loadWave()
{
    if (wave.open)
        return true;
    HMODULE winmm = LoadLibraryA("winmm.dll");
    if (!winmm)
        return false;
    wave.prepare = reinterpret_cast<decltype(wave.prepare)>(GetProcAddress(winmm, "waveOutPrepareHeader"));
    wave.write = reinterpret_cast<decltype(wave.write)>(GetProcAddress(winmm, "waveOutWrite"));
    wave.reset = reinterpret_cast<decltype(wave.reset)>(GetProcAddress(winmm, "waveOutReset"));
    wave.unprepare = reinterpret_cast<decltype(wave.unprepare)>(GetProcAddress(winmm, "waveOutUnprepareHeader"));
    wave.close = reinterpret_cast<decltype(wave.close)>(GetProcAddress(winmm, "waveOutClose"));
    wave.open = reinterpret_cast<decltype(wave.open)>(GetProcAddress(winmm, "waveOutOpen"));
    return wave.open && wave.prepare && wave.write && wave.reset && wave.unprepare && wave.close;
}
WAVEHDR headers[kBufferCount];
short samples[kBufferCount][kBufferBytes / sizeof(short)];

// A quiet square tone of about 441 Hz.
void fill(WAVEHDR &header)
{
    short *data = reinterpret_cast<short *>(header.lpData);
    for (DWORD i = 0; i < kBufferBytes / sizeof(short); i += 2)
        data[i] = data[i + 1] = ((i / 2) / 50) % 2 ? 2000 : -2000;
}

void startTone(HWND window)
{
    if (waveOut || !loadWave())
        return;
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = 44100 * 4;
    if (wave.open(&waveOut, WAVE_MAPPER, &format, (DWORD_PTR)window, 0, CALLBACK_WINDOW) != MMSYSERR_NOERROR) {
        waveOut = nullptr;
        return;
    }
    for (int i = 0; i < kBufferCount; ++i) {
        ZeroMemory(&headers[i], sizeof headers[i]);
        headers[i].lpData = reinterpret_cast<LPSTR>(samples[i]);
        headers[i].dwBufferLength = kBufferBytes;
        fill(headers[i]);
        wave.prepare(waveOut, &headers[i], sizeof headers[i]);
        wave.write(waveOut, &headers[i], sizeof headers[i]);
    }
}

void stopTone()
{
    if (!waveOut)
        return;
    HWAVEOUT device = waveOut;
    waveOut = nullptr; // buffers handed back by the reset are not written again
    wave.reset(device);
    for (int i = 0; i < kBufferCount; ++i)
        wave.unprepare(device, &headers[i], sizeof headers[i]);
    wave.close(device);
}

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
    stopTone();
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
    case WM_COMMAND:
        if (LOWORD(wParam) == kPlayCommand)
            startTone(window);
        return 0;
    case MM_WOM_DONE:
        if (waveOut) {
            WAVEHDR *header = reinterpret_cast<WAVEHDR *>(lParam);
            fill(*header);
            wave.write(waveOut, header, sizeof *header);
        }
        return 0;
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
