// cddbsession.cpp - the CDDB worker threads' common ground: one lookup and
// one submission at a time, the closing flag, the messages to the main
// window, the session texts and the disc positions handed to the library.
#include "cddb/cddbsession.h"
#include "core/appstate.h"
#include "player/drives.h"
#include "res/version.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

std::mutex threadLock;
bool jobRunning[2] = {false, false};
std::vector<HANDLE> threads;          // every worker not yet seen to end
std::atomic<bool> closing{false};
std::atomic<HWND> openDialog{nullptr};

// Forgets the handles of workers that have ended. Called with threadLock held.
void pruneEndedThreads()
{
    for (size_t i = 0; i < threads.size();) {
        if (WaitForSingleObject(threads[i], 0) == WAIT_OBJECT_0) {
            CloseHandle(threads[i]);
            threads.erase(threads.begin() + (long)i);
        } else {
            ++i;
        }
    }
}

// A worker held by a window of its own (a message box, the fuzzy-match
// dialog) would keep the whole shutdown waiting for a user who is leaving:
// each such dialog is answered Cancel, which every caller takes as the safe
// choice (nothing fetched, nothing sent).
BOOL CALLBACK cancelWorkerDialog(HWND window, LPARAM)
{
    char className[16] = "";
    if (GetClassNameA(window, className, sizeof className) > 0 && strcmp(className, "#32770") == 0)
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

void cancelWorkerDialogs(const std::vector<HANDLE> &workers)
{
    for (HANDLE worker : workers) {
        DWORD id = GetThreadId(worker);
        if (id != 0)
            EnumThreadWindows(id, cancelWorkerDialog, 0);
    }
}

// While waiting at shutdown, a worker's dialog is looked for this often: a
// worker may open one after the first look.
const DWORD dialogLookMs = 250;

} // namespace

bool startCddbThread(CddbJob job, LPTHREAD_START_ROUTINE proc, void *arg)
{
    std::lock_guard<std::mutex> hold(threadLock);
    pruneEndedThreads();
    if (closing.load() || jobRunning[job])
        return false;
    HANDLE thread = CreateThread(nullptr, 0, proc, arg, 0, nullptr);
    if (!thread)
        return false;
    jobRunning[job] = true;
    threads.push_back(thread);
    return true;
}

void finishCddbThread(CddbJob job)
{
    std::lock_guard<std::mutex> hold(threadLock);
    jobRunning[job] = false;
}

bool cddbJobRunning(CddbJob job)
{
    std::lock_guard<std::mutex> hold(threadLock);
    return jobRunning[job];
}

bool cddbClosing()
{
    return closing.load();
}

void notifyMainWindow(UINT message, WPARAM wParam)
{
    HWND window = mainWindow;
    if (closing.load() || !window)
        return;
    SendMessageA(window, message, wParam, 0);
}

void setOpenCddbDialog(HWND dialog)
{
    openDialog.store(dialog);
}

bool stopCddbWorkers(DWORD waitMs)
{
    {
        DriveLockHold hold;
        closing.store(true);
    }
    HWND dialog = openDialog.load();
    if (dialog)
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);

    std::vector<HANDLE> waiting;
    {
        std::lock_guard<std::mutex> hold(threadLock);
        pruneEndedThreads();
        waiting = threads;
    }
    DWORD start = GetTickCount();
    while (!waiting.empty()) {
        DWORD spent = GetTickCount() - start;
        if (spent >= waitMs)
            break;
        // A worker may be in the middle of sending to the main window, which
        // is this thread: its message is answered here, or it would wait on
        // us while we wait on it.
        cancelWorkerDialogs(waiting);
        DWORD slice = waitMs - spent < dialogLookMs ? waitMs - spent : dialogLookMs;
        DWORD result =
            MsgWaitForMultipleObjects((DWORD)waiting.size(), waiting.data(), FALSE, slice, QS_SENDMESSAGE);
        if (result < WAIT_OBJECT_0 + waiting.size()) {
            waiting.erase(waiting.begin() + (long)(result - WAIT_OBJECT_0));
        } else if (result == WAIT_OBJECT_0 + waiting.size()) {
            MSG message;
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        } else if (result != WAIT_TIMEOUT) {
            break;
        }
    }
    return waiting.empty();
}

void resetCddbSession()
{
    std::lock_guard<std::mutex> hold(threadLock);
    closing.store(false);
    // A worker that ended while the previous window was closing never had
    // its end message handled: once every worker has ended, both kinds may
    // start again.
    pruneEndedThreads();
    if (threads.empty())
        jobRunning[CddbJobLookup] = jobRunning[CddbJobSubmit] = false;
}

cddb_handle_t openCddbHandle()
{
    return cddb_init(SPINDLE2_PROGRAM, SPINDLE2_VERSION, SPINDLE2_COPYRIGHT);
}

void setCddbTrackTime(cddb_handle_t handle, int n, int32_t frames)
{
    cddb_set_track_time(handle, n, frames / 4500, (frames % 4500) / 75, frames % 75);
}

void setCddbTrackPositions(cddb_handle_t handle, int trackCount, const int32_t *startFrames)
{
    cddb_set_num_tracks(handle, trackCount);
    for (int n = 1; n <= trackCount + 1; ++n)
        setCddbTrackTime(handle, n, startFrames[n - 1]);
}
