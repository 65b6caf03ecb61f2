// taskrunner.cpp - the worker thread.
#include "rackfile/taskrunner.h"
#include "res/resource.h"

#include <atomic>
#include <thread>

namespace {

std::thread worker;
std::atomic<bool> running{false};
std::atomic<bool> stopAsked{false};

void work(HWND window, TaskRequest request)
{
    TaskResult *result = new TaskResult;
    int lastShown = -1;
    runTask(request, result, [&](int done, int total) {
        // A step of a thousandth at most, so the queue never floods.
        int shown = total > 0 ? (int)((long long)done * 1000 / total) : 0;
        if (shown != lastShown) {
            lastShown = shown;
            PostMessageA(window, WM_RACKFILE_PROGRESS, (WPARAM)done, (LPARAM)total);
        }
        return !stopAsked.load();
    });
    if (!PostMessageA(window, WM_RACKFILE_TASK_DONE, 0, (LPARAM)result))
        delete result; // the window is gone
    running.store(false);
}

} // namespace

void runTask(const TaskRequest &request, TaskResult *result, const TaskProgress &progress)
{
    result->request = request;
    switch (request.kind) {
    case TaskKind::Load:
        result->listed = listEntries(&result->rows, progress);
        break;
    case TaskKind::Check:
        result->check = checkDatabase();
        break;
    case TaskKind::Compact:
        result->compact = compactDatabase();
        break;
    case TaskKind::Export:
        result->transfer = exportEntries(request.path, request.layout, request.ids, progress);
        break;
    case TaskKind::Import: {
        DWORD attributes = GetFileAttributesA(request.path.c_str());
        bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        result->transfer = folder ? importCddbTree(request.path, progress) : importCdPlayerFile(request.path, progress);
        break;
    }
    }
}

bool startTask(HWND window, const TaskRequest &request)
{
    if (running.load())
        return false;
    joinTask(); // the previous worker has posted its result
    stopAsked.store(false);
    running.store(true);
    worker = std::thread(work, window, request);
    return true;
}

bool taskRunning() { return running.load(); }

void stopTask() { stopAsked.store(true); }

void joinTask()
{
    if (worker.joinable())
        worker.join();
}
