// mainwindow.cpp - the main window's procedure and its handlers.
#include "rackfile/mainwindow.h"
#include "rackfile/aboutbox.h"
#include "rackfile/entryeditor.h"
#include "rackfile/taskrunner.h"
#include "rackfile/transferdialogs.h"
#include "res/resource.h"
#include "ui/modal.h"
#include "ui/msgbox.h"

#include <commctrl.h>

#include <cstdio>

const char kRackfileCaption[] = "Rackfile";

namespace {

// What the window holds besides its controls.
struct MainState {
    EntryList list;
    bool quitOnClose = false;
    TaskKind runningKind = TaskKind::Load;
};

MainState &state()
{
    static MainState instance;
    return instance;
}

const int kColumnWidths[ColumnCount] = {80, 170, 210, 50, 80, 72};
const UINT kBoxError = MB_OK | MB_ICONERROR;
const UINT kBoxInfo = MB_OK | MB_ICONINFORMATION;

HWND listOf(HWND window) { return GetDlgItem(window, IDC_RF_LIST); }

void setStatus(HWND window, const std::string &text) { SetDlgItemTextA(window, IDC_RF_STATUS, text.c_str()); }

std::string countText(const EntryList &list)
{
    long all = (long)list.rows.size(), shown = (long)list.view.size();
    if (shown == all)
        return counted(all, "entry.", "entries.");
    return std::to_string(shown) + " of " + counted(all, "entry", "entries") + " match.";
}

// Tells the list view how many rows it has and shows them again.
void showRows(HWND window)
{
    EntryList &list = state().list;
    ListView_SetItemCountEx(listOf(window), (int)list.view.size(), 0);
    InvalidateRect(listOf(window), nullptr, FALSE);
}

// The disc ids of the selected rows, in view order.
std::vector<uint32_t> selectedIds(HWND window)
{
    std::vector<uint32_t> ids;
    HWND list = listOf(window);
    for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i >= 0;
         i = ListView_GetNextItem(list, i, LVNI_SELECTED)) {
        const EntryRow *row = rowAt(state().list, i);
        if (row)
            ids.push_back(row->winId);
    }
    return ids;
}

void enableCommands(HWND window, bool idle)
{
    static const int commands[] = {IDC_RF_EDIT,   IDC_RF_DELETE, IDC_RF_CHECK,  IDC_RF_COMPACT,
                                   IDC_RF_EXPORT, IDC_RF_IMPORT, IDC_RF_REFRESH};
    for (int id : commands)
        EnableWindow(GetDlgItem(window, id), idle);
    EnableWindow(GetDlgItem(window, IDC_RF_STOP), !idle);
}

void beginTask(HWND window, const TaskRequest &request, const std::string &status)
{
    if (!startTask(window, request))
        return;
    state().runningKind = request.kind;
    enableCommands(window, false);
    SendDlgItemMessageA(window, IDC_RF_PROGRESS, PBM_SETRANGE32, 0, 1);
    SendDlgItemMessageA(window, IDC_RF_PROGRESS, PBM_SETPOS, 0, 0);
    setStatus(window, status);
}

void reload(HWND window)
{
    TaskRequest request;
    request.kind = TaskKind::Load;
    beginTask(window, request, "Reading the title database...");
}

// ---- message handlers ----

BOOL OnInitDialog(HWND window)
{
    HWND list = listOf(window);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (int c = 0; c < ColumnCount; ++c) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = c == ColumnTracks ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = kColumnWidths[c];
        column.pszText = const_cast<char *>(kColumnTitles[c]);
        SendMessageA(list, LVM_INSERTCOLUMNA, (WPARAM)c, (LPARAM)&column);
    }
    state().list = EntryList();
    reload(window);
    return TRUE;
}

// Keeps the list filling the window, the buttons at its right and the
// progress bar and status line under it.
void OnSize(HWND window, int width, int height)
{
    RECT unit = {0, 0, 4, 8};
    MapDialogRect(window, &unit);
    int margin = unit.right * 7 / 4, buttonWidth = unit.right * 53 / 4, buttonHeight = unit.bottom * 14 / 8;
    int listTop = unit.bottom * 24 / 8, statusHeight = unit.bottom * 22 / 8;
    int buttonsLeft = width - margin - buttonWidth;
    int listBottom = height - margin - statusHeight;
    MoveWindow(listOf(window), margin, listTop, buttonsLeft - 2 * margin, listBottom - listTop, TRUE);
    static const int buttons[] = {IDC_RF_EDIT,   IDC_RF_DELETE,  IDC_RF_CHECK, IDC_RF_COMPACT, IDC_RF_EXPORT,
                                  IDC_RF_IMPORT, IDC_RF_REFRESH, IDC_RF_ABOUT};
    static const int gaps[] = {0, 18, 42, 60, 84, 102, 126, 150};
    for (size_t i = 0; i < sizeof buttons / sizeof buttons[0]; ++i)
        MoveWindow(GetDlgItem(window, buttons[i]), buttonsLeft, listTop + unit.bottom * gaps[i] / 8, buttonWidth,
                   buttonHeight, TRUE);
    MoveWindow(GetDlgItem(window, IDC_RF_STOP), buttonsLeft, listBottom - buttonHeight, buttonWidth, buttonHeight,
               TRUE);
    int barWidth = unit.right * 120 / 4;
    MoveWindow(GetDlgItem(window, IDC_RF_PROGRESS), margin, listBottom + unit.bottom / 2, barWidth,
               unit.bottom * 10 / 8, TRUE);
    MoveWindow(GetDlgItem(window, IDC_RF_STATUS), 2 * margin + barWidth, listBottom + unit.bottom / 2,
               width - 3 * margin - barWidth, statusHeight, TRUE);
}

// Small enough for a small screen, large enough for the buttons' column.
void OnGetMinMaxInfo(HWND window, MINMAXINFO *info)
{
    RECT size = {0, 0, 300, 200};
    MapDialogRect(window, &size);
    info->ptMinTrackSize.x = size.right;
    info->ptMinTrackSize.y = size.bottom;
}

void OnGetDispInfo(NMLVDISPINFOA *info)
{
    if (!(info->item.mask & LVIF_TEXT) || !info->item.pszText || info->item.cchTextMax <= 0)
        return;
    const EntryRow *row = rowAt(state().list, info->item.iItem);
    std::string text = row ? cellText(*row, info->item.iSubItem) : std::string();
    lstrcpynA(info->item.pszText, text.c_str(), info->item.cchTextMax);
}

void onSearchChanged(HWND window)
{
    char text[256];
    GetDlgItemTextA(window, IDC_RF_SEARCH, text, sizeof text);
    state().list.search = text;
    rebuildView(state().list);
    ListView_SetItemState(listOf(window), -1, 0, LVIS_SELECTED);
    showRows(window);
    setStatus(window, countText(state().list));
}

void onEditEntry(HWND window)
{
    // A double-click while a task holds the database would wait for it.
    if (taskRunning())
        return;
    HWND list = listOf(window);
    int at = ListView_GetNextItem(list, -1, LVNI_FOCUSED | LVNI_SELECTED);
    if (at < 0)
        at = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    const EntryRow *row = rowAt(state().list, at);
    if (!row)
        return;
    EntryEdit edit;
    edit.winId = row->winId;
    if (!readEntry(edit.winId, &edit.entry)) {
        // Deleted by the player or another Rackfile since the list was read.
        showMessage(window, "This entry is no longer in the title database.", kRackfileCaption, kBoxError);
        updateRow(state().list, edit.winId, nullptr);
        showRows(window);
        return;
    }
    EntryData original = edit.entry;
    if (runModalDialog(window, IDD_RACKFILE_ENTRY, entryEditorProc, (LPARAM)&edit) != IDOK)
        return;
    // The player (or another Rackfile) may have written the entry while the
    // editor was open; its change is not overwritten unasked.
    EntryData now;
    bool present = readEntry(edit.winId, &now);
    if ((!present || now != original) &&
        showMessage(window, "This entry was changed by another program while you edited it.\r\n"
                            "Replace it with your changes?",
                    kRackfileCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        if (present) {
            EntryRow theirs = rowOf(edit.winId, now);
            updateRow(state().list, edit.winId, &theirs);
        } else {
            updateRow(state().list, edit.winId, nullptr);
        }
        showRows(window);
        return;
    }
    if (!writeEntry(edit.winId, edit.entry)) {
        showMessage(window, "Unable to write entry to the title database.", kRackfileCaption, kBoxError);
        return;
    }
    EntryRow changed = rowOf(edit.winId, edit.entry);
    updateRow(state().list, edit.winId, &changed);
    showRows(window);
    setStatus(window, "Entry " + idText(edit.winId) + " written.");
}

void onDeleteEntries(HWND window)
{
    if (taskRunning())
        return;
    std::vector<uint32_t> ids = selectedIds(window);
    if (ids.empty())
        return;
    std::string question = ids.size() == 1 ? "Delete the entry " + idText(ids[0]) + " from the title database?"
                                           : "Delete the " + std::to_string(ids.size()) +
                                                 " selected entries from the title database?";
    if (showMessage(window, question.c_str(), kRackfileCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    int failed = 0;
    for (uint32_t id : ids) {
        EntryData ignored;
        // Gone already (deleted elsewhere) is as good as deleted here.
        if (!deleteEntry(id) && readEntry(id, &ignored))
            ++failed;
        else
            updateRow(state().list, id, nullptr);
    }
    ListView_SetItemState(listOf(window), -1, 0, LVIS_SELECTED);
    showRows(window);
    setStatus(window, countText(state().list));
    if (failed)
        showMessage(window, "Some entries could not be deleted from the title database.", kRackfileCaption,
                    kBoxError);
}

void onCheck(HWND window)
{
    TaskRequest request;
    request.kind = TaskKind::Check;
    beginTask(window, request, "Checking every record of the title database...");
}

void onCompact(HWND window)
{
    TaskRequest request;
    request.kind = TaskKind::Compact;
    beginTask(window, request, "Compacting the title database...");
}

void onExport(HWND window)
{
    ExportChoice choice;
    choice.selectedCount = (int)selectedIds(window).size();
    if (runModalDialog(window, IDD_RACKFILE_EXPORT, exportDialogProc, (LPARAM)&choice) != IDOK)
        return;
    TaskRequest request;
    request.kind = TaskKind::Export;
    request.path = choice.folder;
    request.layout = choice.windowsLayout ? PLATTER_CDDB_LAYOUT_WINDOWS : PLATTER_CDDB_LAYOUT_FILES;
    if (choice.selectedOnly)
        request.ids = selectedIds(window);
    beginTask(window, request, "Exporting to " + choice.folder + "...");
}

void onImport(HWND window)
{
    ImportChoice choice;
    if (runModalDialog(window, IDD_RACKFILE_IMPORT, importDialogProc, (LPARAM)&choice) != IDOK)
        return;
    TaskRequest request;
    request.kind = TaskKind::Import;
    request.path = choice.path;
    beginTask(window, request, "Importing from " + choice.path + "...");
}

void onAbout(HWND window) { runModalDialog(window, IDD_RACKFILE_ABOUT, aboutBoxProc, 0); }

void OnCommand(HWND window, int id, int code)
{
    switch (id) {
    case IDC_RF_SEARCH: if (code == EN_CHANGE) onSearchChanged(window); break;
    case IDC_RF_EDIT: onEditEntry(window); break;
    case IDC_RF_DELETE: onDeleteEntries(window); break;
    case IDC_RF_CHECK: onCheck(window); break;
    case IDC_RF_COMPACT: onCompact(window); break;
    case IDC_RF_EXPORT: onExport(window); break;
    case IDC_RF_IMPORT: onImport(window); break;
    case IDC_RF_REFRESH: reload(window); break;
    case IDC_RF_ABOUT: onAbout(window); break;
    case IDC_RF_STOP: stopTask(); break;
    default: break;
    }
}

LRESULT OnNotify(HWND window, NMHDR *header)
{
    if (header->idFrom != IDC_RF_LIST)
        return 0;
    switch (header->code) {
    case LVN_GETDISPINFOA: OnGetDispInfo((NMLVDISPINFOA *)header); break;
    case LVN_COLUMNCLICK:
        sortByColumn(state().list, ((NMLISTVIEW *)header)->iSubItem);
        ListView_SetItemState(listOf(window), -1, 0, LVIS_SELECTED);
        showRows(window);
        break;
    case NM_DBLCLK: onEditEntry(window); break;
    case LVN_KEYDOWN:
        if (((NMLVKEYDOWN *)header)->wVKey == VK_DELETE)
            onDeleteEntries(window);
        break;
    default: break;
    }
    return 0;
}

void OnProgress(HWND window, int done, int total)
{
    SendDlgItemMessageA(window, IDC_RF_PROGRESS, PBM_SETRANGE32, 0, total > 0 ? total : 1);
    SendDlgItemMessageA(window, IDC_RF_PROGRESS, PBM_SETPOS, (WPARAM)done, 0);
}

void OnTaskDone(HWND window, TaskResult *result)
{
    joinTask();
    enableCommands(window, true);
    SendDlgItemMessageA(window, IDC_RF_PROGRESS, PBM_SETRANGE32, 0, 1);
    SendDlgItemMessageA(window, IDC_RF_PROGRESS, PBM_SETPOS, 1, 0);
    const TaskRequest &request = result->request;
    std::string summary;
    switch (request.kind) {
    case TaskKind::Load:
        if (!result->listed) {
            setStatus(window, "The title database cannot be read.");
            break;
        }
        state().list.rows = std::move(result->rows);
        rebuildView(state().list);
        ListView_SetItemState(listOf(window), -1, 0, LVIS_SELECTED);
        showRows(window);
        setStatus(window, countText(state().list));
        break;
    case TaskKind::Check:
        summary = checkSummary(result->check);
        setStatus(window, summary.substr(0, summary.find('\r')));
        showMessage(window, summary.c_str(), kRackfileCaption,
                    result->check.result == 1 ? kBoxInfo : MB_OK | MB_ICONWARNING);
        if (result->check.result == 2)
            reload(window); // entries found damaged now read as missing
        break;
    case TaskKind::Compact:
        summary = compactSummary(result->compact);
        {
            std::string line = summary.substr(summary.find("Compact:"));
            setStatus(window, line.substr(0, line.find('\r')));
        }
        showMessage(window, summary.c_str(), kRackfileCaption,
                    result->compact.result == PLATTER_OK ? kBoxInfo : MB_OK | MB_ICONWARNING);
        reload(window);
        break;
    case TaskKind::Export:
        summary = exportSummary(result->transfer, request.path);
        setStatus(window, summary.substr(0, summary.find('\r')));
        showMessage(window, summary.c_str(), kRackfileCaption,
                    result->transfer.sourceOk && !result->transfer.failed ? kBoxInfo : kBoxError);
        break;
    case TaskKind::Import:
        summary = importSummary(result->transfer, request.path);
        setStatus(window, summary.substr(0, summary.find('\r')));
        showMessage(window, summary.c_str(), kRackfileCaption,
                    result->transfer.sourceOk && !result->transfer.failed ? kBoxInfo : kBoxError);
        reload(window);
        break;
    }
    delete result;
}

void OnDestroy()
{
    stopTask();
    joinTask();
    if (state().quitOnClose)
        PostQuitMessage(0);
}

} // namespace

EntryList &shownEntries() { return state().list; }

HWND createMainWindow(HINSTANCE instance, bool quitOnClose)
{
    state().quitOnClose = quitOnClose;
    return CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_RACKFILE_MAIN), nullptr, mainWindowProc, 0);
}

INT_PTR CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(window);
    case WM_SIZE: OnSize(window, LOWORD(lParam), HIWORD(lParam)); return TRUE;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(window, (MINMAXINFO *)lParam); return TRUE;
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_NOTIFY: SetWindowLongPtrA(window, DWLP_MSGRESULT, OnNotify(window, (NMHDR *)lParam)); return TRUE;
    case WM_RACKFILE_PROGRESS: OnProgress(window, (int)wParam, (int)lParam); return TRUE;
    case WM_RACKFILE_TASK_DONE: OnTaskDone(window, (TaskResult *)lParam); return TRUE;
    case WM_CLOSE: DestroyWindow(window); return TRUE;
    case WM_DESTROY: OnDestroy(); return TRUE;
    default: return FALSE;
    }
}
