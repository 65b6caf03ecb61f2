// recorders.cpp - message boxes and modal dialogs, recorded and answered.
#include "harness/harness.h"
#include "ui/contexthelp.h"
#include "ui/modal.h"
#include "ui/msgbox.h"

namespace harness {

MessageBoxRecorder::MessageBoxRecorder(int fallback) : fallback_(fallback)
{
    setMessageHook([this](HWND owner, const char *text, const char *caption, UINT flags) {
        std::lock_guard<std::mutex> guard(lock_);
        boxes_.push_back({owner, text ? text : "", caption ? caption : "", flags});
        if (answers_.empty())
            return fallback_;
        int answer = answers_.front();
        answers_.pop_front();
        return answer;
    });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    setMessageHook(nullptr);
}

void MessageBoxRecorder::queueAnswer(int answer)
{
    std::lock_guard<std::mutex> guard(lock_);
    answers_.push_back(answer);
}

std::vector<Box> MessageBoxRecorder::boxes() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return boxes_;
}

size_t MessageBoxRecorder::count() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return boxes_.size();
}

ModalRecorder::ModalRecorder(INT_PTR fallback) : fallback_(fallback)
{
    setModalHook([this](int templateId, HWND owner, LPARAM param) {
        std::lock_guard<std::mutex> guard(lock_);
        runs_.push_back({templateId, owner, param});
        if (results_.empty())
            return fallback_;
        INT_PTR result = results_.front();
        results_.pop_front();
        return result;
    });
}

ModalRecorder::~ModalRecorder()
{
    setModalHook(nullptr);
}

void ModalRecorder::queueResult(INT_PTR result)
{
    std::lock_guard<std::mutex> guard(lock_);
    results_.push_back(result);
}

std::vector<ModalRun> ModalRecorder::runs() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return runs_;
}

HelpRecorder::HelpRecorder(bool popups)
{
    setWinHelpHook([this, popups](HWND window, const char *file, UINT command, ULONG_PTR data) {
        HelpCall call{window, file ? file : "", command, data, {}};
        if ((command == HELP_WM_HELP || command == HELP_CONTEXTMENU) && data) {
            // Copy the table while it is alive: pairs up to the closing 0, 0.
            const DWORD *ids = (const DWORD *)data;
            for (int i = 0; i < 2000 && (ids[i] != 0 || ids[i + 1] != 0); i += 2) {
                call.ids.push_back(ids[i]);
                call.ids.push_back(ids[i + 1]);
            }
        }
        std::lock_guard<std::mutex> guard(lock_);
        calls_.push_back(call);
        return (BOOL)(popups || (command != HELP_WM_HELP && command != HELP_CONTEXTMENU));
    });
}

HelpRecorder::~HelpRecorder()
{
    setWinHelpHook(nullptr);
}

std::vector<HelpCall> HelpRecorder::calls() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return calls_;
}

} // namespace harness
