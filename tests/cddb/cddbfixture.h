// cddbfixture.h - what the CDDB workers' tests share: the drive table on the
// fake CD library, a stand-in main window that records the workers'
// messages, a cddb key with one listed server and two categories, and the
// status window's texts read back.
#ifndef TESTS_CDDB_CDDBFIXTURE_H
#define TESTS_CDDB_CDDBFIXTURE_H

#include "player/playerfixture.h"

#include "cddb/cddbsession.h"
#include "cddb/statuswnd.h"
#include "options/registry.h"
#include "res/resource.h"

#include <ctime>
#include <mutex>

namespace cddbtest {

using playertest::Calls;

// One message a worker sent to the main window.
struct Note {
    UINT message;
    WPARAM wParam;
    bool operator==(const Note &other) const { return message == other.message && wParam == other.wParam; }
};

inline std::mutex &notesLock()
{
    static std::mutex lock;
    return lock;
}
inline std::vector<Note> &notesStore()
{
    static std::vector<Note> notes;
    return notes;
}
inline std::vector<Note> notes()
{
    std::lock_guard<std::mutex> hold(notesLock());
    return notesStore();
}

inline LRESULT CALLBACK recorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CDDB_DRIVE_FOUND || message == WM_CDDB_QUERY_DONE || message == WM_CDDB_SUBMIT_DONE) {
        {
            std::lock_guard<std::mutex> hold(notesLock());
            notesStore().push_back({message, wParam});
        }
        if (InSendMessage())
            ReplyMessage(1);
        // As the main window does: the next worker of the kind may start.
        if (message == WM_CDDB_QUERY_DONE)
            finishCddbThread(CddbJobLookup);
        if (message == WM_CDDB_SUBMIT_DONE)
            finishCddbThread(CddbJobSubmit);
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

inline const Note found(int drive) { return {WM_CDDB_DRIVE_FOUND, (WPARAM)drive}; }
inline const Note queryDone() { return {WM_CDDB_QUERY_DONE, 0}; }
inline const Note submitDone() { return {WM_CDDB_SUBMIT_DONE, 0}; }

inline std::ostream &operator<<(std::ostream &out, const Note &note)
{
    return out << "{" << note.message << "," << note.wParam << "}";
}

#define COPYRIGHT_ARGS "(\"Spindle2\",\"v3.00\",\"Copyright (C) 2026 the Spindle2 developers\")"

class CddbTest : public playertest::PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        resetCddbSession();
        {
            std::lock_guard<std::mutex> hold(notesLock());
            notesStore().clear();
        }
        WNDCLASSA wc = {};
        wc.lpfnWndProc = recorderProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "CddbTestMain";
        RegisterClassA(&wc);
        mainWindow = CreateWindowA("CddbTestMain", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        registry.createKey(CDDB_KEY);
        registry.setString(CDDB_KEY, "MainServer", "main.example.org");
        registry.setDword(CDDB_KEY, "MainServerPort", 8880);
        registry.setDword(CDDB_KEY, "NumServers", 1);
        registry.setString(CDDB_KEY, "Server1", "cddb.example.org");
        registry.setString(CDDB_KEY, "ServerDesc1", "Here");
        registry.setDword(CDDB_KEY, "ServerPort1", 8880);
        registry.setDword(CDDB_KEY, "LastServerUpdate", (uint32_t)time(nullptr));
        registry.setDword(CDDB_KEY, "NumCategories", 2);
        registry.setString(CDDB_KEY, "Category1", "blues");
        registry.setString(CDDB_KEY, "Category2", "rock");
        registry.setDword(CDDB_KEY, "LastCategoryUpdate", (uint32_t)time(nullptr));
        registry.setString(CDDB_KEY, "SubmitAddress", "freedb-submit@example.org");
        snprintf(options.cddbServer, sizeof options.cddbServer, "cddb.example.org");
        options.cddbServerPort = 8880;
        snprintf(options.cddbLocalRoot, sizeof options.cddbLocalRoot, "C:\\cddb");
    }

    void TearDown() override
    {
        stopCddbWorkers(5000);
        statusWindowClose();
        harness::pumpUntil([] { return statusWindowHandle() == nullptr; });
        PlayerTest::TearDown();
        if (mainWindow)
            DestroyWindow(mainWindow);
        mainWindow = nullptr;
        resetCddbSession();
    }

    std::string statusText()
    {
        char text[256] = "";
        GetDlgItemTextA(statusWindowHandle(), IDC_STATUS_TEXT, text, sizeof text);
        return text;
    }
    std::string statusTitle()
    {
        char text[256] = "";
        GetWindowTextA(statusWindowHandle(), text, sizeof text);
        return text;
    }
    // The calls whose names start with one of the prefixes, in order.
    static Calls callsAmong(std::initializer_list<const char *> prefixes)
    {
        Calls kept;
        for (const std::string &call : fake::calls())
            for (const char *prefix : prefixes)
                if (call.rfind(prefix, 0) == 0) {
                    kept.push_back(call);
                    break;
                }
        return kept;
    }
    // Pumps until the worker's end message arrived.
    bool waitFor(const Note &note)
    {
        return harness::pumpUntil([&] {
            for (const Note &n : notes())
                if (n == note)
                    return true;
            return false;
        });
    }

    harness::RegistrySandbox registry;
};

// An entry the fake library's handle returns after a query.
inline void serveEntry(const char *artist, const char *title, std::vector<const char *> tracks, int revision = 4)
{
    fake::setResult("cddb_get_rev_number", revision);
    fake::setCddbText("cddb_get_artist", artist);
    fake::setCddbText("cddb_get_title", title);
    fake::setCddbText("cddb_get_ext_title", "");
    for (size_t i = 0; i < tracks.size(); ++i) {
        fake::setCddbText("cddb_get_track_title:" + std::to_string(i + 1), tracks[i]);
        fake::setCddbText("cddb_get_ext_track_title:" + std::to_string(i + 1), nullptr);
    }
}

inline std::string text(const char *t)
{
    return t ? t : "<null>";
}

} // namespace cddbtest

#endif
