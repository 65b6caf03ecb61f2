// window_test.cpp - Rackfile's main window on real databases: the list read
// back from the list view, its orders and the search, the entry editor
// writing through the library, delete, the long tasks on the worker, and a
// writer process changing the database beside the window.
#include "rackfile/aboutbox.h"
#include "rackfile/commandline.h"
#include "rackfile/entryeditor.h"
#include "rackfile/mainwindow.h"
#include "rackfile/taskrunner.h"
#include "rackfile/transferdialogs.h"
#include "res/resource.h"
#include "tests/rackfile/rackfixture.h"
#include "ui/modal.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>

using namespace racktest;

namespace {

using Row = std::vector<std::string>;

class RackWindow : public RackFixture {
protected:
    void SetUp() override
    {
        RackFixture::SetUp();
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
    }
    void TearDown() override
    {
        if (window_)
            DestroyWindow(window_);
        setModalHook(nullptr);
        RackFixture::TearDown();
    }
    void open()
    {
        window_ = createMainWindow(GetModuleHandleA(nullptr), false);
        ASSERT_TRUE(window_ != nullptr);
        waitIdle();
    }
    // Pumps until the worker's result has arrived.
    void waitIdle()
    {
        ASSERT_TRUE(harness::pumpUntil(
            [&] { return !taskRunning() && IsWindowEnabled(GetDlgItem(window_, IDC_RF_REFRESH)); }, 60000));
        harness::pumpFor(50);
    }
    std::string status()
    {
        char text[512];
        GetDlgItemTextA(window_, IDC_RF_STATUS, text, sizeof text);
        return text;
    }
    HWND list() { return GetDlgItem(window_, IDC_RF_LIST); }
    std::vector<Row> rows()
    {
        std::vector<Row> all;
        int count = (int)SendMessageA(list(), LVM_GETITEMCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            Row row;
            for (int c = 0; c < ColumnCount; ++c) {
                char text[256] = "";
                LVITEMA item = {};
                item.iSubItem = c;
                item.pszText = text;
                item.cchTextMax = sizeof text;
                SendMessageA(list(), LVM_GETITEMTEXTA, (WPARAM)i, (LPARAM)&item);
                row.push_back(text);
            }
            all.push_back(row);
        }
        return all;
    }
    void press(int id) { SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(window_, id)); }
    void clickColumn(int column)
    {
        NMLISTVIEW click = {};
        click.hdr.hwndFrom = list();
        click.hdr.idFrom = IDC_RF_LIST;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = column;
        SendMessageA(window_, WM_NOTIFY, IDC_RF_LIST, (LPARAM)&click);
    }
    void select(const std::vector<int> &positions)
    {
        ListView_SetItemState(list(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int p : positions)
            ListView_SetItemState(list(), p, LVIS_SELECTED | (p == positions[0] ? LVIS_FOCUSED : 0),
                                  LVIS_SELECTED | LVIS_FOCUSED);
    }
    int positionOf(uint32_t id)
    {
        std::vector<Row> all = rows();
        for (size_t i = 0; i < all.size(); ++i)
            if (all[i][ColumnDiscId] == idText(id))
                return (int)i;
        return -1;
    }
    // The modal dialog that `templateId` names, made modeless and handed to
    // `drive`, which acts as the user; returns what DialogBox would.
    void driveDialogs(int templateId, DLGPROC proc, std::function<void(HWND)> drive)
    {
        setModalHook([=](int id, HWND owner, LPARAM param) -> INT_PTR {
            if (id != templateId) {
                ADD_FAILURE() << "unexpected modal dialog " << id;
                return IDCANCEL;
            }
            HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), owner, proc, param);
            EXPECT_TRUE(dialog != nullptr);
            ShowWindow(dialog, SW_SHOWNA); // EndDialog hides it
            drive(dialog);
            // OK or Cancel that went through ends the dialog (hides it).
            INT_PTR result = IsWindowVisible(dialog) ? IDCANCEL : lastButton_;
            DestroyWindow(dialog);
            return result;
        });
    }
    void pressIn(HWND dialog, int id)
    {
        lastButton_ = id;
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
    }

    HWND window_ = nullptr;
    INT_PTR lastButton_ = IDCANCEL;
};

// The rows the list should show, in the order a click on `column` gives.
std::vector<uint32_t> expectedOrder(const std::map<uint32_t, EntryData> &discs, int column, bool descending)
{
    std::vector<uint32_t> ids;
    for (const auto &d : discs)
        ids.push_back(d.first);
    auto key = [&](uint32_t id, int c) {
        const EntryData &e = discs.at(id);
        return c == ColumnArtist ? textOr(e.artist) : textOr(e.discTitle);
    };
    std::stable_sort(ids.begin(), ids.end(), [&](uint32_t a, uint32_t b) {
        int order = 0;
        if (column == ColumnArtist || column == ColumnTitle)
            order = lstrcmpiA(key(a, column).c_str(), key(b, column).c_str());
        else if (column == ColumnTracks)
            order = discs.at(a).trackCount - discs.at(b).trackCount;
        if (order == 0)
            order = a < b ? -1 : 1;
        return descending ? order > 0 : order < 0;
    });
    return ids;
}

} // namespace

TEST_F(RackWindow, ListShowsEveryEntryInTheOrderChosen)
{
    std::map<uint32_t, EntryData> discs = putDiscs(300);
    open();
    EXPECT_EQ("300 entries.", status());
    std::vector<Row> shown = rows();
    ASSERT_EQ(300u, shown.size());
    const Row &first = shown[0];
    const EntryData &firstDisc = discs.begin()->second;
    EXPECT_EQ((Row{idText(discs.begin()->first), textOr(firstDisc.artist), textOr(firstDisc.discTitle),
                   std::to_string(firstDisc.trackCount), "No", "No"}),
              first)
        << "every column of a row";

    struct Click {
        int column;
        bool descending;
    };
    const Click clicks[] = {{ColumnArtist, false}, {ColumnArtist, true}, {ColumnTracks, false},
                            {ColumnTitle, false},  {ColumnTitle, true},  {ColumnDiscId, false}};
    for (const Click &c : clicks) {
        SCOPED_TRACE("column " + std::to_string(c.column) + (c.descending ? " descending" : ""));
        clickColumn(c.column);
        std::vector<Row> now = rows();
        std::vector<uint32_t> want = expectedOrder(discs, c.column, c.descending);
        ASSERT_EQ(want.size(), now.size());
        std::vector<std::string> wantIds, gotIds;
        for (size_t i = 0; i < want.size(); ++i) {
            wantIds.push_back(idText(want[i]));
            gotIds.push_back(now[i][ColumnDiscId]);
        }
        EXPECT_EQ(wantIds, gotIds);
    }

    struct Search {
        const char *text;
        std::function<bool(uint32_t, const EntryData &)> matches;
    };
    const Search searches[] = {
        {"artist 7", [](uint32_t, const EntryData &e) { return textOr(e.artist).find("Artist 7") == 0; }},
        {"DISC 12", [](uint32_t, const EntryData &e) { return textOr(e.discTitle).find("Disc 12") == 0; }},
        {"caf\xE9", [](uint32_t, const EntryData &e) { return textOr(e.artist).find("Caf\xE9") == 0; }},
        {"", [](uint32_t, const EntryData &) { return true; }},
    };
    for (const Search &s : searches) {
        SCOPED_TRACE(s.text);
        SetDlgItemTextA(window_, IDC_RF_SEARCH, s.text); // EN_CHANGE follows
        std::vector<std::string> want, got;
        for (const auto &d : discs)
            if (s.matches(d.first, d.second))
                want.push_back(idText(d.first));
        for (const Row &r : rows())
            got.push_back(r[ColumnDiscId]);
        EXPECT_EQ(want, got);
        EXPECT_EQ(want.size() == 300 ? "300 entries."
                                     : std::to_string(want.size()) + " of 300 entries match.",
                  status());
    }
}

TEST_F(RackWindow, EditorWritesThroughTheLibrary)
{
    struct Case {
        const char *what;
        const char *program;
        bool pressCancel;
        bool written;
        const char *box; // the editor's refusal, if any
    };
    const Case cases[] = {
        {"texts and program", "2 1 2", false, true, nullptr},
        {"program off the disc", "1 9", false, false, "The program may hold only track numbers from 1 to 3, separated by spaces."},
        {"program with a letter", "1 x", false, false, "The program may hold only track numbers from 1 to 3, separated by spaces."},
        {"cancelled", "1", true, false, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        useNewFolder();
        EntryData disc = sampleDisc(2); // three tracks
        ASSERT_EQ(3, disc.trackCount);
        uint32_t id = discIdOf(disc);
        ASSERT_TRUE(writeEntry(id, disc));
        putDiscs(4, 100);
        if (window_)
            DestroyWindow(window_);
        open();
        harness::MessageBoxRecorder boxes;
        driveDialogs(IDD_RACKFILE_ENTRY, entryEditorProc, [&](HWND dialog) {
            char text[64];
            GetDlgItemTextA(dialog, IDC_RF_ENTRY_ID, text, sizeof text);
            EXPECT_EQ(idText(id), text);
            GetDlgItemTextA(dialog, IDC_RF_ENTRY_TRACKTITLE, text, sizeof text);
            EXPECT_EQ(textOr(disc.trackTitles[0]), text) << "the first track is shown";
            SetDlgItemTextA(dialog, IDC_RF_ENTRY_ARTIST, "Edited Artist");
            SetDlgItemTextA(dialog, IDC_RF_ENTRY_TITLE, "");
            SetDlgItemTextA(dialog, IDC_RF_ENTRY_DISCTEXT, "Line one\r\nLine two");
            SetDlgItemTextA(dialog, IDC_RF_ENTRY_TRACKTITLE, "First, renamed");
            SendDlgItemMessageA(dialog, IDC_RF_ENTRY_TRACKS, LB_SETCURSEL, 2, 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_RF_ENTRY_TRACKS, LBN_SELCHANGE),
                         (LPARAM)GetDlgItem(dialog, IDC_RF_ENTRY_TRACKS));
            SetDlgItemTextA(dialog, IDC_RF_ENTRY_TRACKTEXT, "Notes on three");
            SetDlgItemTextA(dialog, IDC_RF_ENTRY_PROGRAM, c.program);
            pressIn(dialog, c.pressCancel ? IDCANCEL : IDOK);
        });
        select({positionOf(id)});
        press(IDC_RF_EDIT);

        EntryData expected = disc;
        if (c.written) {
            expected.artist = "Edited Artist";
            expected.discTitle.reset();
            expected.discText = "Line one\r\nLine two";
            expected.trackTitles[0] = "First, renamed";
            expected.trackTexts[2] = "Notes on three";
            expected.program = {2, 1, 2};
        }
        EntryData back;
        ASSERT_TRUE(readEntry(id, &back));
        EXPECT_TRUE(expected == back) << "artist now " << textOr(back.artist);
        ASSERT_EQ(c.box ? 1u : 0u, boxes.count());
        if (c.box) {
            EXPECT_EQ(c.box, boxes.boxes()[0].text);
            EXPECT_EQ("Rackfile", boxes.boxes()[0].caption);
        }
        int at = positionOf(id);
        ASSERT_GE(at, 0);
        EXPECT_EQ(c.written ? "Edited Artist" : textOr(disc.artist), rows()[(size_t)at][ColumnArtist]);
    }
}

TEST_F(RackWindow, AnEntryChangedElsewhereDuringAnEditIsReplacedOnlyWhenAsked)
{
    struct Case {
        const char *what;
        const char *writerSteps; // what the other process does while the editor is open
        int answer;
        bool mine;               // the editor's text is stored
        bool present;
    };
    const Case cases[] = {
        {"rewritten, keep theirs", "write 300 1 theirs", IDNO, false, true},
        {"rewritten, replace", "write 300 1 theirs", IDYES, true, true},
        {"deleted, keep deleted", "delete 300", IDNO, false, false},
        {"unchanged", "expect 300 1 start", IDYES, true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        useNewFolder();
        ASSERT_EQ(0, runWriter("write 300 1 start"));
        if (window_)
            DestroyWindow(window_);
        open();
        harness::MessageBoxRecorder boxes(c.answer);
        driveDialogs(IDD_RACKFILE_ENTRY, entryEditorProc, [&](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_RF_ENTRY_ARTIST, "Mine");
            EXPECT_EQ(0, runWriter(c.writerSteps));
            pressIn(dialog, IDOK);
        });
        select({0});
        press(IDC_RF_EDIT);
        bool changed = std::string(c.writerSteps).find("expect") != 0;
        ASSERT_EQ(changed ? 1u : 0u, boxes.count());
        if (changed) {
            EXPECT_EQ("This entry was changed by another program while you edited it.\r\n"
                      "Replace it with your changes?",
                      boxes.boxes()[0].text);
            EXPECT_EQ((UINT)(MB_YESNO | MB_ICONQUESTION), boxes.boxes()[0].flags);
        }
        EntryData back;
        ASSERT_EQ(c.present, readEntry(300, &back));
        if (c.present) {
            EXPECT_EQ(c.mine, back.artist == EntryText("Mine")) << textOr(back.artist);
        }
        std::vector<Row> shown = rows();
        ASSERT_EQ(c.present ? 1u : 0u, shown.size()) << "the list shows what is stored";
        if (c.present) {
            EXPECT_EQ(textOr(back.artist), shown[0][ColumnArtist]);
        }
    }
}

TEST_F(RackWindow, DeleteAsksFirst)
{
    struct Case {
        int answer;
        size_t left;
    };
    const Case cases[] = {{IDNO, 6}, {IDYES, 4}};
    std::map<uint32_t, EntryData> discs = putDiscs(6);
    open();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.answer == IDYES ? "yes" : "no");
        harness::MessageBoxRecorder boxes(c.answer);
        std::vector<Row> before = rows();
        select({1, 3});
        press(IDC_RF_DELETE);
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("Delete the 2 selected entries from the title database?", boxes.boxes()[0].text);
        EXPECT_EQ((UINT)(MB_YESNO | MB_ICONQUESTION), boxes.boxes()[0].flags);
        EXPECT_EQ(c.left, rows().size());
        EXPECT_EQ(c.left, allEntries().size()) << "the database itself";
        EntryData gone;
        uint32_t second = (uint32_t)strtoul(before[1][ColumnDiscId].c_str(), nullptr, 16);
        EXPECT_EQ(c.answer != IDYES, readEntry(second, &gone));
    }
}

TEST_F(RackWindow, LongTasksReportWhenTheyEnd)
{
    std::map<uint32_t, EntryData> discs = putDiscs(40);
    uint32_t victim = discs.rbegin()->first;
    uint32_t at = (uint32_t)dbSize();
    ASSERT_TRUE(writeEntry(victim, sampleDisc(7)));
    damageRecordAt(at);
    open();
    harness::MessageBoxRecorder boxes;
    std::string tree = folder_ + "\\exported";
    driveDialogs(IDD_RACKFILE_EXPORT, exportDialogProc, [&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_RF_PATH, tree.c_str());
        CheckDlgButton(dialog, IDC_RF_WINDOWS_LAYOUT, BST_CHECKED);
        pressIn(dialog, IDOK);
    });

    struct Step {
        int button;
        const char *boxPart;
        UINT icon;
        size_t rowsAfter;
    };
    const Step steps[] = {
        {IDC_RF_CHECK, "41 records read, 39 entries, 1 damaged record, 1 damaged entry.", MB_ICONWARNING, 39},
        {IDC_RF_COMPACT, "Compact: done; damaged entries were left out.", MB_ICONWARNING, 39},
        {IDC_RF_COMPACT, "Compact: done.\r\nAfter: ", MB_ICONINFORMATION, 39},
        {IDC_RF_EXPORT, ": 39 entries written, 0 skipped, 0 failed.", MB_ICONINFORMATION, 39},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.boxPart);
        size_t before = boxes.count();
        press(s.button);
        ASSERT_TRUE(harness::pumpUntil([&] { return boxes.count() > before; }, 60000));
        waitIdle();
        harness::Box box = boxes.boxes().back();
        EXPECT_NE(std::string::npos, box.text.find(s.boxPart)) << box.text;
        EXPECT_EQ("Rackfile", box.caption);
        EXPECT_EQ(s.icon, box.flags & MB_ICONMASK);
        EXPECT_EQ(s.rowsAfter, rows().size());
    }
    EXPECT_NE(std::string::npos, boxes.boxes()[0].text.find(idText(victim))) << "the damaged entry is named";

    // The exported tree comes back into an emptied database.
    for (const auto &d : discs)
        deleteEntry(d.first);
    driveDialogs(IDD_RACKFILE_IMPORT, importDialogProc, [&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_RF_PATH, tree.c_str());
        pressIn(dialog, IDOK);
    });
    size_t before = boxes.count();
    press(IDC_RF_IMPORT);
    ASSERT_TRUE(harness::pumpUntil([&] { return boxes.count() > before; }, 60000));
    waitIdle();
    EXPECT_NE(std::string::npos, boxes.boxes().back().text.find(": 39 entries taken, 0 skipped, 0 failed."))
        << boxes.boxes().back().text;
    EXPECT_EQ(39u, rows().size()) << "the list is read again";
}

TEST_F(RackWindow, AboutBoxTellsVersionAndUsage)
{
    open();
    std::string version, usage;
    driveDialogs(IDD_RACKFILE_ABOUT, aboutBoxProc, [&](HWND dialog) {
        char text[2048];
        GetDlgItemTextA(dialog, IDC_RF_ABOUT_VERSION, text, sizeof text);
        version = text;
        GetDlgItemTextA(dialog, IDC_RF_ABOUT_USAGE, text, sizeof text);
        usage = text;
        pressIn(dialog, IDOK);
    });
    press(IDC_RF_ABOUT);
    EXPECT_EQ("Rackfile v3.00", version);
    EXPECT_EQ(std::string(kRackfileHelp) + "\r\n\r\n" + kRackfileUsage, usage);
}

TEST_F(RackWindow, AWriterProcessAndTheWindowSeeEachOthersChanges)
{
    std::map<uint32_t, EntryData> discs = putDiscs(5);
    open();
    ASSERT_EQ(5u, rows().size());
    uint32_t dropped = discs.begin()->first;
    // The other process writes three entries and deletes one of the window's.
    ASSERT_EQ(0, runWriter("write 100 3 other delete " + std::to_string(dropped)));
    press(IDC_RF_REFRESH);
    waitIdle();
    EXPECT_EQ(7u, rows().size());
    EXPECT_EQ(-1, positionOf(dropped));
    ASSERT_GE(positionOf(100), 0);
    // And sees what the window deletes.
    harness::MessageBoxRecorder boxes(IDYES);
    select({positionOf(101)});
    press(IDC_RF_DELETE);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Delete the entry 00000065 from the title database?", boxes.boxes()[0].text);
    EXPECT_EQ(0, runWriter("absent 101 expect 100 1 other expect 102 1 other"));
    // An entry the other process deleted is reported when the editor is asked for.
    ASSERT_EQ(0, runWriter("delete 102"));
    select({positionOf(102)});
    press(IDC_RF_EDIT);
    ASSERT_EQ(2u, boxes.count());
    EXPECT_EQ("This entry is no longer in the title database.", boxes.boxes()[1].text);
    EXPECT_EQ(-1, positionOf(102));
}
