// cdinfosheet.cpp - the CD information sheet itself: taking the working
// copies of every drive's titles, running the three pages, and putting the
// copies back when the user presses OK.
//
// The sheet stays open as long as the user likes while the drives are
// polled, so a disc may leave, arrive or be swapped under it, and a CDDB
// lookup for a new disc may fill its record meanwhile. Each copy therefore
// remembers the disc it was taken from (its winId, track count and layout)
// and goes back only into that disc, and only what the user changed on the
// sheet is put over a record that someone else changed meanwhile.
#include "titles/cdinfosheet.h"
#include "titles/cdinfopages.h"

#include "core/appstate.h"
#include "player/drives.h"
#include "res/resource.h"
#include "titles/titlerecord.h"
#include "ui/modal.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstring>

std::vector<SheetCopy> sheetCopies;
int sheetDrive = 1;
int sheetTrack = 1;
bool sheetAccepted = false;
bool programChanged = false;
std::vector<int> editProgram;

namespace {

const char *const sheetCaption = "Spindle2 Properties";

// Two texts say the same when both are absent or empty, or both hold the
// same characters: copies never hold empty texts, records from CDDB may.
bool sameText(const char *a, const char *b)
{
    bool aEmpty = !a || !a[0], bEmpty = !b || !b[0];
    if (aEmpty || bEmpty)
        return aEmpty == bEmpty;
    return strcmp(a, b) == 0;
}

const char *trackText(char *const *list, int i)
{
    return list ? list[i] : nullptr;
}

bool sameProgram(const TitleRecord &a, const TitleRecord &b)
{
    int lengthA = a.programList ? a.programLength : 0;
    int lengthB = b.programList ? b.programLength : 0;
    if (lengthA != lengthB)
        return false;
    return lengthA == 0 || memcmp(a.programList, b.programList, (size_t)lengthA * sizeof(int32_t)) == 0;
}

// The same texts and program, track by track (both over `tracks` tracks).
bool sameTitles(const TitleRecord &a, const TitleRecord &b, int tracks)
{
    if (!sameText(a.artist, b.artist) || !sameText(a.discTitle, b.discTitle) || !sameText(a.discText, b.discText))
        return false;
    for (int i = 0; i < tracks; ++i)
        if (!sameText(trackText(a.trackTitles, i), trackText(b.trackTitles, i)) ||
            !sameText(trackText(a.trackTexts, i), trackText(b.trackTexts, i)))
            return false;
    return sameProgram(a, b);
}

void copyProgram(TitleRecord &destination, const TitleRecord &source)
{
    titleFree(destination.programList);
    destination.programList = nullptr;
    destination.programLength = 0;
    if (source.programLength <= 0 || !source.programList)
        return;
    destination.programList = static_cast<int32_t *>(titleAlloc((size_t)source.programLength, sizeof(int32_t)));
    if (!destination.programList)
        return;
    memcpy(destination.programList, source.programList, (size_t)source.programLength * sizeof(int32_t));
    destination.programLength = source.programLength;
}

// A copy of a drive's texts, track lists and program, texts through
// setText. False when memory ran out (the copy is then released).
bool copyForSheet(TitleRecord &copy, const TitleRecord &live)
{
    memset(&copy, 0, sizeof copy);
    setText(copy.artist, live.artist);
    setText(copy.discTitle, live.discTitle);
    setText(copy.discText, live.discText);
    copy.trackCount = live.trackCount;
    if (copy.trackCount > 0) {
        copy.trackTitles = static_cast<char **>(titleAlloc((size_t)copy.trackCount, sizeof(char *)));
        copy.trackTexts = static_cast<char **>(titleAlloc((size_t)copy.trackCount, sizeof(char *)));
        if (!copy.trackTitles || !copy.trackTexts) {
            releaseTitleRecord(copy);
            return false;
        }
        for (int i = 0; i < copy.trackCount; ++i) {
            setText(copy.trackTitles[i], trackText(live.trackTitles, i));
            setText(copy.trackTexts[i], trackText(live.trackTexts, i));
        }
    }
    copyProgram(copy, live);
    return true;
}

// Called with driveLock held; the disc's id was read before.
void takeCopy(SheetCopy &slot, const DriveEntry &entry, bool idKnown, uint32_t winId)
{
    memset(&slot.record, 0, sizeof slot.record);
    memset(&slot.original, 0, sizeof slot.original);
    if (entry.device == 0 || !entry.discLoaded)
        return;
    if (!copyForSheet(slot.record, entry.title))
        return;
    if (!copyForSheet(slot.original, entry.title)) {
        releaseTitleRecord(slot.record);
        return;
    }
    slot.taken = true;
    slot.idKnown = slot.nowIdKnown = idKnown;
    slot.winId = slot.nowId = winId;
    slot.trackCount = entry.title.trackCount;
    if (entry.title.trackStartFrames && entry.title.trackCount > 0)
        slot.startFrames.assign(entry.title.trackStartFrames, entry.title.trackStartFrames + entry.title.trackCount + 1);
}

bool readWinId(const DriveEntry &entry, uint32_t *winId)
{
    *winId = 0;
    return entry.device != 0 && entry.discLoaded && cd_get_win_id(entry.device, winId) == 1;
}

void takeSheetCopies()
{
    sheetCopies.assign((size_t)(driveCount > 0 ? driveCount : 0), SheetCopy{});
    // The ids are asked before the lock is taken: the lookup thread must
    // never wait on the drive. Discs come and go on this thread only.
    std::vector<uint32_t> ids(sheetCopies.size(), 0);
    std::vector<char> idKnown(sheetCopies.size(), 0);
    for (size_t i = 0; i < sheetCopies.size(); ++i)
        idKnown[i] = readWinId(DriveTable[i], &ids[i]);
    DriveLockHold hold;
    for (size_t i = 0; i < sheetCopies.size(); ++i)
        takeCopy(sheetCopies[i], DriveTable[i], idKnown[i] != 0, ids[i]);
}

// The drive holds the very disc the copy was taken from, with its track
// lists in place.
bool sameDiscAsCopy(const SheetCopy &slot, const DriveEntry &entry, bool idKnown, uint32_t winId)
{
    return slot.taken && slot.idKnown && idKnown && winId == slot.winId && entry.device != 0 && entry.discLoaded &&
           entry.title.trackCount == slot.trackCount && entry.title.trackTitles && entry.title.trackTexts &&
           entry.title.trackStartFrames &&
           memcmp(entry.title.trackStartFrames, slot.startFrames.data(), slot.startFrames.size() * sizeof(int32_t)) == 0;
}

// Puts a copy's texts and program into the drive's record: all of them, or
// (editsOnly) just those the user changed on the sheet.
void putBack(TitleRecord &live, const TitleRecord &copy, const TitleRecord &original, bool editsOnly)
{
    auto put = [&](char *&field, const char *edited, const char *taken) {
        if (!editsOnly || !sameText(edited, taken))
            setText(field, edited);
    };
    put(live.artist, copy.artist, original.artist);
    put(live.discTitle, copy.discTitle, original.discTitle);
    put(live.discText, copy.discText, original.discText);
    for (int i = 0; i < copy.trackCount; ++i) {
        put(live.trackTitles[i], copy.trackTitles[i], original.trackTitles[i]);
        put(live.trackTexts[i], copy.trackTexts[i], original.trackTexts[i]);
    }
    if (!editsOnly || !sameProgram(copy, original))
        copyProgram(live, copy);
}

void putSheetCopiesBack()
{
    size_t drives = sheetCopies.size() < (size_t)driveCount ? sheetCopies.size() : (size_t)driveCount;
    std::vector<uint32_t> ids(drives, 0);
    std::vector<char> idKnown(drives, 0);
    for (size_t i = 0; i < drives; ++i)
        if (sheetCopies[i].taken)
            idKnown[i] = readWinId(DriveTable[i], &ids[i]);
    DriveLockHold hold;
    for (size_t i = 0; i < drives; ++i) {
        const SheetCopy &slot = sheetCopies[i];
        TitleRecord &live = DriveTable[i].title;
        // A disc that left (its lists are released), another disc in its
        // place, or a disc that arrived while the sheet was open keeps its
        // own record.
        if (!sameDiscAsCopy(slot, DriveTable[i], idKnown[i] != 0, ids[i]))
            continue;
        // Nobody else touched the record: the copy goes back whole. A record
        // filled meanwhile (the disc went out and came back, and CDDB found
        // it) keeps what the user did not change.
        bool untouched = sameTitles(live, slot.original, slot.trackCount);
        putBack(live, slot.record, slot.original, !untouched);
    }
}

void releaseSheetCopies()
{
    for (SheetCopy &slot : sheetCopies) {
        releaseTitleRecord(slot.record);
        releaseTitleRecord(slot.original);
    }
    sheetCopies.clear();
    editProgram.clear();
}

PROPSHEETPAGEA sheetPage(int templateId, DLGPROC proc)
{
    PROPSHEETPAGEA page;
    memset(&page, 0, sizeof page);
    page.dwSize = sizeof page;
    page.dwFlags = PSP_DEFAULT;
    page.hInstance = instanceHandle;
    page.pszTemplate = MAKEINTRESOURCEA(templateId);
    page.pfnDlgProc = proc;
    return page;
}

} // namespace

SheetCopy *shownCopy()
{
    if (sheetDrive < 1 || (size_t)sheetDrive > sheetCopies.size())
        return nullptr;
    return &sheetCopies[(size_t)sheetDrive - 1];
}

bool sheetHasDisc(int drive)
{
    DriveEntry *entry = driveEntry(drive);
    if (!entry || drive < 1 || (size_t)drive > sheetCopies.size())
        return false;
    const SheetCopy &slot = sheetCopies[(size_t)drive - 1];
    return slot.taken && slot.idKnown && slot.nowIdKnown && slot.nowId == slot.winId && entry->device != 0 &&
           entry->discLoaded && entry->trackTypes &&
           entry->title.trackCount == slot.trackCount && entry->title.trackStartFrames &&
           memcmp(entry->title.trackStartFrames, slot.startFrames.data(), slot.startFrames.size() * sizeof(int32_t)) == 0;
}

void refreshSheetDiscIds()
{
    for (size_t i = 0; i < sheetCopies.size() && i < (size_t)driveCount; ++i) {
        SheetCopy &slot = sheetCopies[i];
        if (slot.taken)
            slot.nowIdKnown = readWinId(DriveTable[i], &slot.nowId);
    }
}

bool showCdInfoSheet(HWND owner, bool *programChangedOut)
{
    takeSheetCopies();
    sheetDrive = currentDrive != 0 ? currentDrive : 1;
    sheetTrack = 1;
    sheetAccepted = false;
    programChanged = false;
    editProgram.clear();

    PROPSHEETPAGEA pages[3] = {
        sheetPage(IDD_CDINFO_TITLES, cdInfoTitlesPageProc),
        sheetPage(IDD_CDINFO_EXTENDED, cdInfoExtendedPageProc),
        sheetPage(IDD_CDINFO_PROGRAM, cdInfoProgramPageProc),
    };
    PROPSHEETHEADERA header;
    memset(&header, 0, sizeof header);
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_USEICONID | PSH_NOAPPLYNOW;
    header.hwndParent = owner;
    header.hInstance = instanceHandle;
    header.pszIcon = MAKEINTRESOURCEA(IDI_CD_PLAYING);
    header.pszCaption = sheetCaption;
    header.nPages = 3;
    header.nStartPage = 0;
    header.ppsp = pages;

    InitCommonControls();
    sheetPagesOpened();
    runPropertySheet(&header);
    sheetPagesClosed();

    bool accepted = sheetAccepted;
    if (accepted)
        putSheetCopiesBack();
    if (programChangedOut)
        *programChangedOut = accepted && programChanged;
    releaseSheetCopies();
    return accepted;
}
