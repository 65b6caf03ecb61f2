// optionsfixture.h - what the options sheet's tests share: a private
// registry with a stored server list, the sheet run through the recorded
// sheet seam (really created, but modeless), and what a user does to its
// controls.
#ifndef TESTS_OPTIONS_OPTIONSFIXTURE_H
#define TESTS_OPTIONS_OPTIONSFIXTURE_H

#include "harness/harness.h"

#include "options/options.h"
#include "options/optionssheet.h"
#include "options/registry.h"
#include "res/resource.h"

#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace optionstest {

using Lines = std::vector<std::string>;

// The sheet's pages, by their place on it.
enum { PanelPage, PlayModesPage, TimeDisplayPage, EjectExitPage, QueryPage, SubmitPage };

inline std::string text(HWND page, int id)
{
    char buffer[512] = "";
    GetDlgItemTextA(page, id, buffer, sizeof buffer);
    return buffer;
}

inline bool checked(HWND page, int id)
{
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

inline bool enabled(HWND page, int id)
{
    return IsWindowEnabled(GetDlgItem(page, id)) != 0;
}

// A click on a check box or radio button: its state changes, then the page
// hears of it.
inline void click(HWND page, int id)
{
    HWND button = GetDlgItem(page, id);
    LONG style = GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK;
    if (style == BS_AUTORADIOBUTTON || style == BS_RADIOBUTTON) {
        // The other buttons of the group go out as the clicked one comes on.
        HWND first = GetNextDlgGroupItem(page, button, FALSE);
        for (HWND item = first; item;) {
            LONG itemStyle = GetWindowLongA(item, GWL_STYLE) & BS_TYPEMASK;
            if (itemStyle == BS_AUTORADIOBUTTON || itemStyle == BS_RADIOBUTTON)
                SendMessageA(item, BM_SETCHECK, BST_UNCHECKED, 0);
            item = GetNextDlgGroupItem(page, item, FALSE);
            if (item == first)
                break;
        }
        SendMessageA(button, BM_SETCHECK, BST_CHECKED, 0);
    } else {
        SendMessageA(button, BM_SETCHECK, checked(page, id) ? BST_UNCHECKED : BST_CHECKED, 0);
    }
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
}

// Replaces a field's text, as typing over a selection would.
inline void type(HWND page, int id, const char *value)
{
    SetDlgItemTextA(page, id, value);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), (LPARAM)GetDlgItem(page, id));
}

inline void chooseServer(HWND page, int line)
{
    SendDlgItemMessageA(page, IDC_OPT_SERVERS, CB_SETCURSEL, (WPARAM)line, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_OPT_SERVERS, CBN_SELCHANGE), (LPARAM)GetDlgItem(page, IDC_OPT_SERVERS));
}

inline Lines serverLines(HWND page)
{
    Lines lines;
    HWND box = GetDlgItem(page, IDC_OPT_SERVERS);
    int count = (int)SendMessageA(box, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        char line[256] = "";
        SendMessageA(box, CB_GETLBTEXT, (WPARAM)i, (LPARAM)line);
        lines.push_back(line);
    }
    return lines;
}

inline int serverSelection(HWND page)
{
    return (int)SendDlgItemMessageA(page, IDC_OPT_SERVERS, CB_GETCURSEL, 0, 0);
}

inline int editLimit(HWND page, int id)
{
    return (int)SendDlgItemMessageA(page, id, EM_GETLIMITTEXT, 0, 0);
}

struct Spin {
    int first, last, position;
};

inline Spin spin(HWND page, int id)
{
    Spin s{0, 0, 0};
    SendDlgItemMessageA(page, id, UDM_GETRANGE32, (WPARAM)&s.first, (LPARAM)&s.last);
    s.position = (int)SendDlgItemMessageA(page, id, UDM_GETPOS32, 0, 0);
    return s;
}

// The names of the fields in which two records differ, field by field
// (the record's padding does not count); empty when they are alike.
inline std::string differences(const OptionsRecord &a, const OptionsRecord &b)
{
    std::string names;
    auto number = [&](const char *name, int32_t x, int32_t y) {
        if (x != y)
            names += std::string(names.empty() ? "" : " ") + name + "=" + std::to_string(x) + "/" + std::to_string(y);
    };
    auto words = [&](const char *name, const char *x, const char *y) {
        if (std::string(x) != y)
            names += std::string(names.empty() ? "" : " ") + name + "=\"" + x + "\"/\"" + y + "\"";
    };
#define NUMBER(f) number(#f, a.f, b.f)
#define WORDS(f) words(#f, a.f, b.f)
    NUMBER(ControlsVisibleAtStart); NUMBER(ControlsOnTop); NUMBER(ControlsHideNoCD); NUMBER(ControlsX);
    NUMBER(ControlsY); NUMBER(ControlsDisplayType); NUMBER(StatusX); NUMBER(StatusY); NUMBER(TimeDisplayMode);
    NUMBER(ShuffleAllDrives); NUMBER(RepeatAll); NUMBER(IntroPlayStart); NUMBER(IntroPlayLength);
    NUMBER(EjectAtEnd); NUMBER(ExitAtEject); NUMBER(StopAtExit); NUMBER(VolumeMixer); NUMBER(cddbQueryLocal);
    WORDS(cddbLocalRoot); NUMBER(cddbQueryServer); NUMBER(cddbUseProxy); WORDS(cddbServer);
    NUMBER(cddbServerPort); WORDS(cddbProxy); NUMBER(cddbProxyPort); WORDS(ReturnAddress); WORDS(SMTPServer);
    NUMBER(SMTPServerPort); NUMBER(cddbQueryShowStatus); NUMBER(cddbSubmitShowStatus);
#undef NUMBER
#undef WORDS
    return names;
}

struct StoredServer {
    const char *host;
    const char *description;
    int32_t port;
};

class OptionsSheetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        options = defaultOptions;
        registry.createKey(OPTIONS_KEY);
        registry.createKey(CDDB_KEY);
    }

    void storeServers(const std::vector<StoredServer> &servers)
    {
        registry.setDword(CDDB_KEY, "NumServers", (uint32_t)servers.size());
        for (size_t i = 0; i < servers.size(); ++i) {
            char name[32];
            snprintf(name, sizeof name, "Server%u", (unsigned)(i + 1));
            registry.setString(CDDB_KEY, name, servers[i].host);
            snprintf(name, sizeof name, "ServerDesc%u", (unsigned)(i + 1));
            registry.setString(CDDB_KEY, name, servers[i].description);
            snprintf(name, sizeof name, "ServerPort%u", (unsigned)(i + 1));
            registry.setDword(CDDB_KEY, name, (uint32_t)servers[i].port);
        }
    }

    // Runs the sheet; the driver acts on it while it is open.
    int run(std::function<void(HWND sheet)> driver)
    {
        sheets.setDriver(std::move(driver));
        return showOptionsSheet();
    }

    // Runs the sheet, shows one page, lets `act` work on it, and closes the
    // sheet with OK (or Cancel).
    int onPage(int index, std::function<void(HWND page)> act, bool ok = true)
    {
        return run([&](HWND sheet) {
            HWND page = harness::showSheetPage(sheet, index);
            ASSERT_NE(page, nullptr);
            act(page);
            if (ok)
                harness::pressSheetOk(sheet);
            else
                harness::pressSheetCancel(sheet);
        });
    }

    harness::RegistrySandbox registry;
    harness::SheetRecorder sheets;
};

} // namespace optionstest

#endif
