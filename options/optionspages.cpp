// optionspages.cpp - what the options sheet's pages do alike: loading on
// activation, storing when they stop being active, OK, context help, and
// the small helpers that bind controls to options.
#include "options/optionspages.h"

#include "res/resource.h"
#include "ui/contexthelp.h"
#include "ui/msgbox.h"

#include <commctrl.h>
#include <prsht.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

OptionsRecord *optionsCopy = nullptr;
bool optionsAccepted = false;

namespace {

// F1 and the right click on a control of any page: control id, help id.
// The up-down controls have no topic of their own.
const DWORD optionsHelpIds[] = {
    IDC_OPT_SHOW_AT_STARTUP, HID_OPT_SHOW_AT_STARTUP,
    IDC_OPT_ALWAYS_ON_TOP,   HID_OPT_ALWAYS_ON_TOP,
    IDC_OPT_STATUS_TIME,     HID_OPT_STATUS_TIME,
    IDC_OPT_TRACK_TITLE,     HID_OPT_TRACK_TITLE,
    IDC_OPT_RANDOM_ALL,      HID_OPT_RANDOM_ALL,
    IDC_OPT_REPEAT_ALL,      HID_OPT_REPEAT_ALL,
    IDC_OPT_INTRO_START,     HID_OPT_INTRO_START,
    IDC_OPT_INTRO_LENGTH,    HID_OPT_INTRO_LENGTH,
    IDC_OPT_INTRO_MIDDLE,    HID_OPT_INTRO_MIDDLE,
    IDC_OPT_HIDE_NO_CD,      HID_OPT_HIDE_NO_CD,
    IDC_OPT_TRACK_ELAPSED,   HID_OPT_TRACK_ELAPSED,
    IDC_OPT_TRACK_REMAINING, HID_OPT_TRACK_REMAINING,
    IDC_OPT_DISC_ELAPSED,    HID_OPT_DISC_ELAPSED,
    IDC_OPT_DISC_REMAINING,  HID_OPT_DISC_REMAINING,
    IDC_OPT_EJECT_AT_END,    HID_OPT_EJECT_AT_END,
    IDC_OPT_EXIT_AT_EJECT,   HID_OPT_EXIT_AT_EJECT,
    IDC_OPT_STOP_AT_EXIT,    HID_OPT_STOP_AT_EXIT,
    IDC_OPT_QUERY_STATUS,    HID_OPT_QUERY_STATUS,
    IDC_OPT_QUERY_LOCAL,     HID_OPT_QUERY_LOCAL,
    IDC_OPT_LOCAL_ROOT,      HID_OPT_LOCAL_ROOT,
    IDC_OPT_QUERY_SERVER,    HID_OPT_QUERY_SERVER,
    IDC_OPT_USE_PROXY,       HID_OPT_USE_PROXY,
    IDC_OPT_SERVERS,         HID_OPT_SERVERS,
    IDC_OPT_PROXY_HOST,      HID_OPT_PROXY_HOST,
    IDC_OPT_PROXY_PORT,      HID_OPT_PROXY_PORT,
    IDC_OPT_RETURN_ADDRESS,  HID_OPT_RETURN_ADDRESS,
    IDC_OPT_SMTP_SERVER,     HID_OPT_SMTP_SERVER,
    IDC_OPT_SMTP_PORT,       HID_OPT_SMTP_PORT,
    IDC_OPT_SUBMIT_STATUS,   HID_OPT_SUBMIT_STATUS,
    0, 0,
};

const char *const portRefusal = "The port number must be a number from 1 to 65535.";
const char *const portRefusalCaption = "Spindle2 Error";
// Characters of a port edit.
const int portDigits = 5;

void setResult(HWND window, LONG_PTR result)
{
    SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
}

INT_PTR onNotify(const OptionsPage &page, HWND window, const NMHDR *header)
{
    switch (header->code) {
    case PSN_SETACTIVE:
        if (optionsCopy)
            page.load(window);
        setResult(window, 0);
        return 1;
    case PSN_KILLACTIVE: {
        // TRUE keeps the page on show, and OK does not close the sheet.
        bool stored = !optionsCopy || page.store(window);
        setResult(window, stored ? FALSE : TRUE);
        return 1;
    }
    case PSN_APPLY:
        optionsAccepted = true;
        setResult(window, PSNRET_NOERROR);
        return 1;
    case PSN_RESET:
        return 1;
    default:
        return 0;
    }
}

} // namespace

INT_PTR optionsPageMessage(const OptionsPage &page, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (page.init)
            page.init(window);
        return 1;
    case WM_NOTIFY:
        return onNotify(page, window, reinterpret_cast<const NMHDR *>(lParam));
    case WM_COMMAND:
        return page.command && optionsCopy ? page.command(window, LOWORD(wParam), HIWORD(wParam)) : 0;
    case WM_HELP:
    case WM_CONTEXTMENU:
        return handleContextHelp(message, wParam, lParam, optionsHelpIds);
    default:
        return 0;
    }
}

void loadBoxes(HWND page, const BoxOption *boxes, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        if (optionsCopy->*boxes[i].field)
            CheckDlgButton(page, boxes[i].id, BST_CHECKED);
}

void storeBoxes(HWND page, const BoxOption *boxes, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        optionsCopy->*boxes[i].field = IsDlgButtonChecked(page, boxes[i].id) == BST_CHECKED ? 1 : 0;
}

void loadRadios(HWND page, const RadioOption *radios, size_t count, int32_t value)
{
    for (size_t i = 0; i < count; ++i)
        if (radios[i].value == value)
            CheckDlgButton(page, radios[i].id, BST_CHECKED);
}

void storeRadios(HWND page, const RadioOption *radios, size_t count, int32_t *field)
{
    for (size_t i = 0; i < count; ++i)
        if (IsDlgButtonChecked(page, radios[i].id) == BST_CHECKED) {
            *field = radios[i].value;
            return;
        }
}

void loadText(HWND page, int id, const char *text, int limit)
{
    SendDlgItemMessageA(page, id, EM_LIMITTEXT, (WPARAM)limit, 0);
    SetDlgItemTextA(page, id, text);
}

void storeText(HWND page, int id, char *buffer, int limit)
{
    std::string text = controlText(page, id);
    if (text.size() > (size_t)limit)
        text.resize((size_t)limit);
    memcpy(buffer, text.c_str(), text.size() + 1);
}

bool parsePort(const std::string &text, int32_t *port)
{
    errno = 0;
    long value = strtol(text.c_str(), nullptr, 10);
    if (errno == ERANGE || value < PORT_FIRST || value > PORT_LAST)
        return false;
    *port = (int32_t)value;
    return true;
}

void loadPort(HWND page, int id, int32_t port)
{
    char digits[16];
    snprintf(digits, sizeof digits, "%d", (int)port);
    loadText(page, id, digits, portDigits);
}

bool storePort(HWND page, int id, int32_t *port)
{
    if (parsePort(controlText(page, id), port))
        return true;
    showMessage(GetParent(page), portRefusal, portRefusalCaption, MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
    HWND edit = GetDlgItem(page, id);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    return false;
}
