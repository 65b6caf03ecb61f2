// cdinfofixture.h - what the CD information sheet's tests share: two CD-ROM
// drives on the fake CD library, the sheet run through the recorded sheet
// seam (really created, but modeless), and readers for its controls.
#ifndef TESTS_TITLES_CDINFOFIXTURE_H
#define TESTS_TITLES_CDINFOFIXTURE_H

#include "player/playerfixture.h"

#include "player/discevents.h"

#include "res/resource.h"
#include "titles/cdinfosheet.h"
#include "titles/titlerecord.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace cdinfotest {

using Lines = std::vector<std::string>;

// The sheet's pages, by their place on it.
enum { TitlesPage = 0, ExtendedPage = 1, ProgramPage = 2 };

inline std::string text(HWND page, int id)
{
    char buffer[1024] = "";
    GetDlgItemTextA(page, id, buffer, sizeof buffer);
    return buffer;
}

inline bool enabled(HWND page, int id)
{
    return IsWindowEnabled(GetDlgItem(page, id)) != 0;
}

// The lines of a list box or of a combo box's list.
inline Lines boxLines(HWND box, UINT countMessage, UINT textMessage)
{
    Lines lines;
    int count = (int)SendMessageA(box, countMessage, 0, 0);
    for (int i = 0; i < count; ++i) {
        char line[512] = "";
        SendMessageA(box, textMessage, (WPARAM)i, (LPARAM)line);
        lines.push_back(line);
    }
    return lines;
}

inline Lines listLines(HWND page, int id)
{
    return boxLines(GetDlgItem(page, id), LB_GETCOUNT, LB_GETTEXT);
}

inline Lines driveLines(HWND page)
{
    return boxLines(GetDlgItem(page, IDC_CDINFO_DRIVE), CB_GETCOUNT, CB_GETLBTEXT);
}

inline int selection(HWND page, int id)
{
    return (int)SendDlgItemMessageA(page, id, LB_GETCURSEL, 0, 0);
}

inline int driveSelection(HWND page)
{
    return (int)SendDlgItemMessageA(page, IDC_CDINFO_DRIVE, CB_GETCURSEL, 0, 0);
}

// What a user causes.
inline void notifyCommand(HWND page, int id, int code)
{
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, code), (LPARAM)GetDlgItem(page, id));
}

inline void click(HWND page, int id)
{
    notifyCommand(page, id, BN_CLICKED);
}

// Replaces a field's text, as typing over a selection would.
inline void type(HWND page, int id, const char *value)
{
    SetDlgItemTextA(page, id, value);
    notifyCommand(page, id, EN_CHANGE);
}

// Enter at the end of a field.
inline void pressEnter(HWND page, int id)
{
    HWND field = GetDlgItem(page, id);
    int length = GetWindowTextLengthA(field);
    SendMessageA(field, EM_SETSEL, (WPARAM)length, length);
    SendMessageA(field, WM_CHAR, VK_RETURN, 0);
}

inline void chooseLine(HWND page, int id, int line)
{
    SendDlgItemMessageA(page, id, LB_SETCURSEL, (WPARAM)line, 0);
    notifyCommand(page, id, LBN_SELCHANGE);
}

inline void doubleClickLine(HWND page, int id, int line)
{
    SendDlgItemMessageA(page, id, LB_SETCURSEL, (WPARAM)line, 0);
    notifyCommand(page, id, LBN_DBLCLK);
}

inline void chooseDrive(HWND page, int drive)
{
    SendDlgItemMessageA(page, IDC_CDINFO_DRIVE, CB_SETCURSEL, (WPARAM)(drive - 1), 0);
    notifyCommand(page, IDC_CDINFO_DRIVE, CBN_SELCHANGE);
}

// A text of a drive's live record, "<null>" when absent.
inline std::string field(const char *value)
{
    return value ? std::string(value) : std::string("<null>");
}

inline std::vector<int> program(int drive)
{
    const TitleRecord &title = driveEntry(drive)->title;
    return std::vector<int>(title.programList, title.programList + title.programLength);
}

// Gives a loaded drive's record texts of its own.
inline void setTitles(int drive, const char *artist, const char *discTitle, std::vector<const char *> tracks = {})
{
    TitleRecord &title = driveEntry(drive)->title;
    setText(title.artist, artist);
    setText(title.discTitle, discTitle);
    for (size_t i = 0; i < tracks.size() && (int)i < title.trackCount; ++i)
        setText(title.trackTitles[i], tracks[i]);
}

// A disc leaves the drive and the poll notices.
inline void takeOut(const char *drive, int number)
{
    fake::removeDisc(drive);
    discRemoved(number);
}

// A disc goes in and the poll notices.
inline void putIn(const char *drive, int number, const fake::Disc &disc)
{
    fake::insertDisc(drive, disc);
    discInserted(number);
}

class CdInfoSheetTest : public playertest::PlayerTest {
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        // As the main window does: discs coming and going reach the sheet.
        discEvents.driveListChanged = cdInfoSheetDrivesChanged;
    }

    // Runs the sheet; the driver acts on it while it is open.
    bool run(std::function<void(HWND sheet)> driver, bool *changed = nullptr)
    {
        sheets.setDriver(std::move(driver));
        bool programChangedOut = false;
        bool accepted = showCdInfoSheet(nullptr, &programChangedOut);
        if (changed)
            *changed = programChangedOut;
        return accepted;
    }

    // Runs the sheet, shows one page, lets `act` work on it, and closes
    // the sheet with OK (or Cancel).
    bool onPage(int index, std::function<void(HWND page)> act, bool ok = true, bool *changed = nullptr)
    {
        return run(
            [&](HWND sheet) {
                HWND page = harness::showSheetPage(sheet, index);
                harness::pumpFor(0);
                ASSERT_NE(page, nullptr);
                act(page);
                if (ok)
                    harness::pressSheetOk(sheet);
                else
                    harness::pressSheetCancel(sheet);
            },
            changed);
    }

    harness::SheetRecorder sheets;
};

} // namespace cdinfotest

#endif
