// taskrunner.h - Rackfile's long work on one worker thread: reading the
// list, the check, the compaction, export and import. The worker only posts
// its progress and its result to the main window (WM_RACKFILE_PROGRESS,
// WM_RACKFILE_TASK_DONE); the main thread alone touches the controls.
#ifndef RACKFILE_TASKRUNNER_H
#define RACKFILE_TASKRUNNER_H

#include "rackfile/transfer.h"

#include <windows.h>

#include <string>
#include <vector>

enum class TaskKind { Load, Check, Compact, Export, Import };

struct TaskRequest {
    TaskKind kind = TaskKind::Load;
    std::string path;               // export folder, import folder or file
    int layout = PLATTER_CDDB_LAYOUT_FILES;
    std::vector<uint32_t> ids;      // export: the chosen entries, empty for all
};

// What WM_RACKFILE_TASK_DONE carries; the window deletes it.
struct TaskResult {
    TaskRequest request;
    bool listed = false;            // Load: the rows were read
    std::vector<EntryRow> rows;
    CheckReport check;
    CompactReport compact;
    TransferReport transfer;
};

// Starts the task for `window`; false while another one runs.
bool startTask(HWND window, const TaskRequest &request);
bool taskRunning();
// Asks the running task to stop at its next step.
void stopTask();
// Waits for the worker to end (the result message was posted or dropped).
void joinTask();
// The work itself, on the calling thread (the worker calls it; tests may).
void runTask(const TaskRequest &request, TaskResult *result, const TaskProgress &progress);

#endif
