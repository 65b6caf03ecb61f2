// entryeditor.cpp - the entry editor's dialog procedure.
#include "rackfile/entryeditor.h"
#include "rackfile/dbtasks.h"
#include "rackfile/mainwindow.h"
#include "res/resource.h"
#include "ui/msgbox.h"

#include <cstdlib>

namespace {

EntryEdit *editOf(HWND dialog) { return (EntryEdit *)GetWindowLongPtrA(dialog, DWLP_USER); }

std::string controlText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    int length = GetWindowTextLengthA(control);
    std::string text((size_t)length + 1, '\0');
    int n = GetWindowTextA(control, &text[0], length + 1);
    text.resize(n > 0 ? (size_t)n : 0);
    return text;
}

void setControlText(HWND dialog, int id, const EntryText &text)
{
    SetDlgItemTextA(dialog, id, text ? text->c_str() : "");
}

// An emptied box leaves the text absent, except that a text that was
// present and empty (as CDDB entries have them) and stays empty is kept.
void takeText(HWND dialog, int id, EntryText *text)
{
    std::string typed = controlText(dialog, id);
    if (!typed.empty())
        *text = typed;
    else if (!(text->has_value() && (*text)->empty()))
        text->reset();
}

void storeShownTrack(HWND dialog, EntryEdit *edit)
{
    int t = edit->shownTrack;
    if (t < 0 || t >= edit->entry.trackCount)
        return;
    takeText(dialog, IDC_RF_ENTRY_TRACKTITLE, &edit->entry.trackTitles[(size_t)t]);
    takeText(dialog, IDC_RF_ENTRY_TRACKTEXT, &edit->entry.trackTexts[(size_t)t]);
}

void showTrack(HWND dialog, EntryEdit *edit, int track)
{
    edit->shownTrack = track;
    bool valid = track >= 0 && track < edit->entry.trackCount;
    setControlText(dialog, IDC_RF_ENTRY_TRACKTITLE, valid ? edit->entry.trackTitles[(size_t)track] : EntryText());
    setControlText(dialog, IDC_RF_ENTRY_TRACKTEXT, valid ? edit->entry.trackTexts[(size_t)track] : EntryText());
    EnableWindow(GetDlgItem(dialog, IDC_RF_ENTRY_TRACKTITLE), valid);
    EnableWindow(GetDlgItem(dialog, IDC_RF_ENTRY_TRACKTEXT), valid);
}

BOOL OnInitDialog(HWND dialog, EntryEdit *edit)
{
    SetWindowLongPtrA(dialog, DWLP_USER, (LONG_PTR)edit);
    const EntryData &e = edit->entry;
    SetDlgItemTextA(dialog, IDC_RF_ENTRY_ID, idText(edit->winId).c_str());
    setControlText(dialog, IDC_RF_ENTRY_ARTIST, e.artist);
    setControlText(dialog, IDC_RF_ENTRY_TITLE, e.discTitle);
    setControlText(dialog, IDC_RF_ENTRY_DISCTEXT, e.discText);
    HWND tracks = GetDlgItem(dialog, IDC_RF_ENTRY_TRACKS);
    for (int t = 0; t < e.trackCount; ++t) {
        std::string label = "Track " + std::to_string(t + 1);
        SendMessageA(tracks, LB_ADDSTRING, 0, (LPARAM)label.c_str());
    }
    SendMessageA(tracks, LB_SETCURSEL, e.trackCount > 0 ? 0 : (WPARAM)-1, 0);
    showTrack(dialog, edit, e.trackCount > 0 ? 0 : -1);
    SetDlgItemTextA(dialog, IDC_RF_ENTRY_PROGRAM, programText(e.program).c_str());
    return TRUE;
}

void onTrackChosen(HWND dialog, EntryEdit *edit)
{
    storeShownTrack(dialog, edit);
    showTrack(dialog, edit, (int)SendDlgItemMessageA(dialog, IDC_RF_ENTRY_TRACKS, LB_GETCURSEL, 0, 0));
}

void onOk(HWND dialog, EntryEdit *edit)
{
    std::vector<int32_t> program;
    if (!parseProgram(controlText(dialog, IDC_RF_ENTRY_PROGRAM), edit->entry.trackCount, &program)) {
        std::string text = "The program may hold only track numbers from 1 to " +
                           std::to_string(edit->entry.trackCount) + ", separated by spaces.";
        showMessage(dialog, text.c_str(), kRackfileCaption, MB_OK | MB_ICONERROR);
        SetFocus(GetDlgItem(dialog, IDC_RF_ENTRY_PROGRAM));
        return;
    }
    takeText(dialog, IDC_RF_ENTRY_ARTIST, &edit->entry.artist);
    takeText(dialog, IDC_RF_ENTRY_TITLE, &edit->entry.discTitle);
    takeText(dialog, IDC_RF_ENTRY_DISCTEXT, &edit->entry.discText);
    storeShownTrack(dialog, edit);
    edit->entry.program = program;
    EndDialog(dialog, IDOK);
}

void OnCommand(HWND dialog, int id, int code)
{
    EntryEdit *edit = editOf(dialog);
    if (!edit)
        return;
    switch (id) {
    case IDC_RF_ENTRY_TRACKS: if (code == LBN_SELCHANGE) onTrackChosen(dialog, edit); break;
    case IDOK: onOk(dialog, edit); break;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
    default: break;
    }
}

} // namespace

std::string programText(const std::vector<int32_t> &program)
{
    std::string text;
    for (int32_t track : program)
        text += (text.empty() ? "" : " ") + std::to_string(track);
    return text;
}

bool parseProgram(const std::string &text, int trackCount, std::vector<int32_t> *program)
{
    std::vector<int32_t> parsed;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == ',' || text[i] == '\t') {
            ++i;
            continue;
        }
        size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        if (i == start || i - start > 3)
            return false;
        int track = atoi(text.substr(start, i - start).c_str());
        if (track < 1 || track > trackCount)
            return false;
        parsed.push_back(track);
    }
    *program = parsed;
    return true;
}

INT_PTR CALLBACK entryEditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog, (EntryEdit *)lParam);
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    default: return FALSE;
    }
}
