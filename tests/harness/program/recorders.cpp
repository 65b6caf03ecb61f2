// recorders.cpp - message boxes, modal dialogs and property sheets, recorded
// and answered.
#include "harness/harness.h"
#include "ui/contexthelp.h"
#include "ui/modal.h"
#include "ui/msgbox.h"

#include <commctrl.h>

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

namespace {

SheetRun describeSheet(const PROPSHEETHEADERA *header)
{
    SheetRun run{header->hwndParent, header->dwFlags, "", 0, 0, {}};
    if (header->pszCaption && !IS_INTRESOURCE(header->pszCaption))
        run.caption = header->pszCaption;
    if ((header->dwFlags & PSH_USEICONID) && IS_INTRESOURCE(header->pszIcon))
        run.iconId = (int)(ULONG_PTR)header->pszIcon;
    run.startPage = header->nStartPage;
    if (header->dwFlags & PSH_PROPSHEETPAGE) {
        for (UINT i = 0; i < header->nPages; ++i) {
            LPCSTR page = header->ppsp[i].pszTemplate;
            run.pageTemplates.push_back(IS_INTRESOURCE(page) ? (int)(ULONG_PTR)page : 0);
        }
    }
    return run;
}

// The recorded sheet made for real, but modeless: the driver works it
// through messages and the test never waits on a modal loop.
void driveModeless(PROPSHEETHEADERA *header, const SheetRecorder::Driver &driver)
{
    PROPSHEETHEADERA modeless = *header;
    modeless.dwFlags |= PSH_MODELESS;
    HWND sheet = (HWND)PropertySheetA(&modeless);
    EXPECT_NE(sheet, nullptr) << "the property sheet could not be created";
    if (!sheet)
        return;
    driver(sheet);
    if (IsWindow(sheet))
        DestroyWindow(sheet);
}

} // namespace

SheetRecorder::SheetRecorder(INT_PTR fallback) : fallback_(fallback)
{
    setSheetHook([this](PROPSHEETHEADERA *header) {
        Driver driver;
        INT_PTR result;
        {
            std::lock_guard<std::mutex> guard(lock_);
            runs_.push_back(describeSheet(header));
            driver = driver_;
            result = fallback_;
            if (!results_.empty()) {
                result = results_.front();
                results_.pop_front();
            }
        }
        if (driver)
            driveModeless(header, driver);
        return result;
    });
}

SheetRecorder::~SheetRecorder()
{
    setSheetHook(nullptr);
}

void SheetRecorder::queueResult(INT_PTR result)
{
    std::lock_guard<std::mutex> guard(lock_);
    results_.push_back(result);
}

void SheetRecorder::setDriver(Driver driver)
{
    std::lock_guard<std::mutex> guard(lock_);
    driver_ = std::move(driver);
}

std::vector<SheetRun> SheetRecorder::runs() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return runs_;
}

HWND sheetPage(HWND sheet)
{
    return (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
}

HWND showSheetPage(HWND sheet, int index)
{
    SendMessageA(sheet, PSM_SETCURSEL, (WPARAM)index, 0);
    return sheetPage(sheet);
}

void pressSheetOk(HWND sheet)
{
    SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    pumpFor(0);
}

void pressSheetCancel(HWND sheet)
{
    SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    pumpFor(0);
}

} // namespace harness
