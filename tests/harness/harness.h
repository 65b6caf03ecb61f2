// harness.h - what every test of the program may use: message boxes
// recorded and answered, modal dialogs scripted, a private HKEY_LOCAL_MACHINE,
// bounded waits on windows, and scratch folders.
#ifndef TESTS_HARNESS_H
#define TESTS_HARNESS_H

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace harness {

// One message box the program asked for.
struct Box {
    HWND owner;
    std::string text;
    std::string caption;
    UINT flags;
};

// While alive, every message box is recorded instead of shown, and
// answered with the queued answers in turn (then with `fallback`).
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int fallback = IDOK);
    ~MessageBoxRecorder();
    void queueAnswer(int answer);
    std::vector<Box> boxes() const;
    size_t count() const;

private:
    mutable std::mutex lock_;
    std::vector<Box> boxes_;
    std::deque<int> answers_;
    int fallback_;
};

// One modal dialog the program asked to run.
struct ModalRun {
    int templateId;
    HWND owner;
    LPARAM param;
};

// While alive, every modal dialog is recorded and returns the queued
// results in turn (then `fallback`), without a window.
class ModalRecorder {
public:
    explicit ModalRecorder(INT_PTR fallback = 0);
    ~ModalRecorder();
    void queueResult(INT_PTR result);
    std::vector<ModalRun> runs() const;

private:
    mutable std::mutex lock_;
    std::vector<ModalRun> runs_;
    std::deque<INT_PTR> results_;
    INT_PTR fallback_;
};

// One WinHelpA call the program made; `ids` is the help-id table passed
// with HELP_WM_HELP and HELP_CONTEXTMENU (pairs up to 0, 0), else empty.
struct HelpCall {
    HWND window;
    std::string file;
    UINT command;
    ULONG_PTR data;
    std::vector<DWORD> ids;
};

// While alive, every WinHelpA call is recorded instead of made, and
// answered with TRUE; with popups false, HELP_WM_HELP and HELP_CONTEXTMENU
// fail as they do in a viewer without pop-up windows.
class HelpRecorder {
public:
    explicit HelpRecorder(bool popups = true);
    ~HelpRecorder();
    std::vector<HelpCall> calls() const;

private:
    mutable std::mutex lock_;
    std::vector<HelpCall> calls_;
};

// One property sheet the program asked to run.
struct SheetRun {
    HWND owner;
    DWORD flags;                     // the header's PSH_ flags, as the program gave them
    std::string caption;
    int iconId;                      // the PSH_USEICONID icon, 0 for none
    UINT startPage;
    std::vector<int> pageTemplates;  // each page's dialog template, in order
};

// While alive, every property sheet is recorded instead of run modally, and
// returns the queued results in turn (then `fallback`). With a driver set,
// the same sheet is first created modeless, its real pages on the real
// property sheet control, and handed to the driver, which acts as the user
// would (switches pages, types, presses OK or Cancel); the sheet is
// destroyed when the driver returns. Without a driver no window is made.
class SheetRecorder {
public:
    using Driver = std::function<void(HWND sheet)>;
    explicit SheetRecorder(INT_PTR fallback = 0);
    ~SheetRecorder();
    void queueResult(INT_PTR result);
    void setDriver(Driver driver);
    std::vector<SheetRun> runs() const;

private:
    mutable std::mutex lock_;
    std::vector<SheetRun> runs_;
    std::deque<INT_PTR> results_;
    INT_PTR fallback_;
    Driver driver_;
};

// A modeless sheet driven as a user would: the page shown, a page chosen
// by its 0-based index, and the OK and Cancel buttons.
HWND sheetPage(HWND sheet);
HWND showSheetPage(HWND sheet, int index);
void pressSheetOk(HWND sheet);
void pressSheetCancel(HWND sheet);

// While alive, HKEY_LOCAL_MACHINE of this process is a fresh scratch key:
// the test sees no other test's settings and none of the machine's.
class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();
    // Creates a key (and its parents) under the scratch HKLM.
    void createKey(const char *path);
    void setString(const char *path, const char *name, const std::string &value, bool withNul = false);
    void setDword(const char *path, const char *name, uint32_t value);
    void setRaw(const char *path, const char *name, DWORD type, const void *data, DWORD size);
    bool exists(const char *path, const char *name);
    // The value's type and bytes; false when missing.
    bool read(const char *path, const char *name, DWORD *type, std::string *bytes);

private:
    HKEY scratch_ = nullptr;
    std::string scratchPath_;
};

// Pumps this thread's messages until `done` is true; false after the time-out.
bool pumpUntil(const std::function<bool()> &done, DWORD timeoutMs = 5000);
// Pumps this thread's messages for a while.
void pumpFor(DWORD ms);

// What the user does once a dialog is up; `dialog` is its window.
using DialogActions = std::function<void(HWND dialog)>;
// Runs dialog `templateId` of the test program with `proc` for real, modal on
// this thread; `actions` act on it from another thread once the window
// captioned `caption` shows, and whatever they leave open is cancelled. With
// `opens` false the dialog is expected to end before it shows. The dialog's
// result.
INT_PTR runDialogAsUser(int templateId, DLGPROC proc, const char *caption, const DialogActions &actions,
                        bool opens = true);

// A new empty folder for this test, removed by the next run's clean-up.
std::string scratchFolder();
// Reads a whole file; empty when missing.
std::string readFile(const std::string &path);
bool fileExists(const std::string &path);
// The folder that holds the test executable (and the build's programs).
std::string binFolder();

// Work to do before and after each test (the program's tests use it to put
// their default hooks in place); call from a static initializer.
void addTestHooks(std::function<void()> before, std::function<void()> after);

// The watchdog's limit for one test, in seconds.
int testTimeoutSeconds();

// True when the run must have everything the tests need (a sound server, the
// prefix's CD-ROM letters): scripts/test sets SPINDLE2_REQUIRE_ENVIRONMENT=1.
bool environmentRequired();

} // namespace harness

// For a test that needs something of the machine's: skipped when it is
// missing, but failed when the run requires a complete environment, so that
// a broken set-up cannot pass unnoticed.
#define SKIP_OR_FAIL_WITHOUT(why)                                                                              \
    do {                                                                                                       \
        if (harness::environmentRequired())                                                                    \
            GTEST_FAIL() << (why) << " (required: SPINDLE2_REQUIRE_ENVIRONMENT=1)";                            \
        else                                                                                                   \
            GTEST_SKIP() << (why);                                                                             \
    } while (0)

#endif
