// submitworker.cpp - the submission thread: the library writes the entry
// into a temporary file, which is mailed to the CDDB submission address;
// the record is marked submitted only once the mail was accepted.
#include "cddb/cddbsession.h"
#include "cddb/serverlist.h"
#include "cddb/statuswnd.h"
#include "cddb/submit.h"
#include "options/options.h"
#include "options/registry.h"
#include "player/drives.h"
#include "res/resource.h"
#include "titles/titlelookup.h"
#include "titles/titlerecord.h"
#include "ui/msgbox.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// A text of the record as it was taken: absent stays absent.
struct Text {
    bool present = false;
    std::string value;
    void take(const char *source)
    {
        present = source != nullptr;
        value = source ? source : "";
    }
    const char *get() const { return present ? value.c_str() : nullptr; }
};

// What is submitted, copied from the drive under driveLock, with the disc
// it belongs to.
struct SubmitEntry {
    bool content = false;
    int submitted = 0;
    int revision = 0;
    cd_handle_t device = 0;
    Text artist, discTitle, discText;
    std::vector<Text> trackTitles, trackTexts;
    std::vector<int32_t> startFrames;   // trackCount + 1
    int trackCount() const { return (int)trackTitles.size(); }
};

const char *textAt(char *const *texts, int i)
{
    return texts ? texts[i] : nullptr;
}

bool takeEntry(int drive, SubmitEntry *out)
{
    DriveLockHold hold;
    DriveEntry *entry = cddbClosing() ? nullptr : driveEntry(drive);
    if (!entry || entry->device == 0 || !entry->discLoaded || !entry->title.trackStartFrames)
        return false;
    const TitleRecord &record = entry->title;
    out->content = hasTitleContent(record);
    out->submitted = record.submitted;
    out->revision = record.revision;
    out->device = entry->device;
    out->artist.take(record.artist);
    out->discTitle.take(record.discTitle);
    out->discText.take(record.discText);
    out->trackTitles.resize((size_t)record.trackCount);
    out->trackTexts.resize((size_t)record.trackCount);
    for (int i = 0; i < record.trackCount; ++i) {
        out->trackTitles[(size_t)i].take(textAt(record.trackTitles, i));
        out->trackTexts[(size_t)i].take(textAt(record.trackTexts, i));
    }
    out->startFrames.assign(record.trackStartFrames, record.trackStartFrames + record.trackCount + 1);
    return true;
}

// Marks the record submitted when the drive still holds the disc that was
// sent; true when it did.
bool markSubmitted(int drive, const SubmitEntry &sent)
{
    DriveLockHold hold;
    DriveEntry *entry = cddbClosing() ? nullptr : driveEntry(drive);
    if (!entry || entry->device != sent.device || !entry->discLoaded ||
        entry->title.trackCount != sent.trackCount() || !entry->title.trackStartFrames)
        return false;
    for (int n = 0; n <= sent.trackCount(); ++n)
        if (entry->title.trackStartFrames[n] != sent.startFrames[(size_t)n])
            return false;
    entry->title.submitted = 1;
    return true;
}

void handOver(cddb_handle_t handle, const char *category, const SubmitEntry &entry)
{
    cddb_set_category_name(handle, category);
    cddb_set_rev_number(handle, entry.revision + 1);
    cddb_set_artist(handle, entry.artist.get());
    cddb_set_title(handle, entry.discTitle.get());
    cddb_set_ext_title(handle, entry.discText.get());
    int count = entry.trackCount();
    cddb_set_num_tracks(handle, count);
    for (int n = 1; n <= count; ++n) {
        setCddbTrackTime(handle, n, entry.startFrames[(size_t)n - 1]);
        cddb_set_track_title(handle, n, entry.trackTitles[(size_t)n - 1].get());
        cddb_set_ext_track_title(handle, n, entry.trackTexts[(size_t)n - 1].get());
    }
    setCddbTrackTime(handle, count + 1, entry.startFrames[(size_t)count]);
}

void reportSendResult(int result)
{
    switch (result) {
    case -1: statusWindowSetText("Unable to open temporary submit file."); break;
    case -2: statusWindowSetText("Unable to find specified SMTP server."); break;
    case -3: statusWindowSetText("Unable to connect to specified SMTP server."); break;
    default: statusWindowSetText("Unknown error occurred during CDDB submit."); break;
    }
}

// The category's name and the submission address from the cddb key.
bool readSubmitSettings(int category, char *categoryName, char *address)
{
    HKEY key;
    if (!regOpenRead(CDDB_KEY, &key))
        return false;
    char name[16];
    snprintf(name, sizeof name, "%s%d", "Category", category);
    if (!regReadString(key, name, categoryName, 80))
        categoryName[0] = '\0';
    if (!regReadString(key, "SubmitAddress", address, 80))
        address[0] = '\0';
    regClose(key);
    return true;
}

// Steps 4 to 14: everything after the questions, up to the result.
void submitEntry(int drive, int category, const SubmitEntry &entry)
{
    if (options.cddbSubmitShowStatus)
        statusWindowOpen();
    statusWindowSetTitle("CDDB Submit Status");
    statusWindowSetText("Submitting CD information to CDDB.");

    char categoryName[81] = "", address[81] = "";
    if (!readSubmitSettings(category, categoryName, address)) {
        statusWindowSetText("Unable to open CDDB registry key.");
        return;
    }

    platter_net_init();
    cddb_handle_t handle = openCddbHandle();
    if (!handle) {
        platter_net_cleanup();
        statusWindowSetText("Error initializing library.");
        return;
    }
    refreshCategoryList(handle);
    handOver(handle, categoryName, entry);

    char folder[MAX_PATH + 1] = "", file[MAX_PATH + 1] = "";
    DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length > MAX_PATH)
        snprintf(folder, sizeof folder, ".\\");
    if (GetTempFileNameA(folder, SUBMIT_FILE_PREFIX, 0, file) == 0) {
        cddb_cleanup(handle);
        platter_net_cleanup();
        statusWindowSetText("Error getting temporary file name.");
        return;
    }
    if (cddb_write_submit_file(handle, file) <= 0) {
        DeleteFileA(file);
        cddb_cleanup(handle);
        platter_net_cleanup();
        statusWindowSetText("Error writing to temporary file.");
        return;
    }
    char subject[84] = "";
    cddb_write_submit_subject(handle, subject, (int)sizeof subject);
    cddb_cleanup(handle);

    int result = smtp_send(options.SMTPServer, options.SMTPServerPort, options.ReturnAddress, address, subject, file);
    DeleteFileA(file);
    platter_net_cleanup();

    if (result <= 0) {
        reportSendResult(result);
        return;
    }
    // A disc swapped while the mail went out is not the one that was sent.
    if (markSubmitted(drive, entry))
        writeTitles(drive);
    statusWindowSetText("Successfully submitted entry to CDDB.");
}

} // namespace

int startSubmitWorker(int drive, int category)
{
    auto *request = static_cast<SubmitRequest *>(HeapAlloc(GetProcessHeap(), 0, sizeof(SubmitRequest)));
    if (!request)
        return 0;
    request->drive = drive;
    request->category = category;
    if (startCddbThread(CddbJobSubmit, submitWorker, request))
        return 1;
    HeapFree(GetProcessHeap(), 0, request);
    return 0;
}

DWORD WINAPI submitWorker(LPVOID param)
{
    auto *request = static_cast<SubmitRequest *>(param);
    int drive = request->drive;
    int category = request->category;
    HeapFree(GetProcessHeap(), 0, request);

    SubmitEntry entry;
    if (!takeEntry(drive, &entry) || !entry.content) {
        if (!cddbClosing())
                showMessage(nullptr, SUBMIT_BLANK_TEXT, SUBMIT_ERROR_CAPTION, MB_SYSTEMMODAL | MB_ICONERROR);
    } else if (!entry.submitted ||
               showMessage(nullptr, SUBMIT_VERIFY_TEXT, SUBMIT_VERIFY_CAPTION,
                           MB_SYSTEMMODAL | MB_ICONQUESTION | MB_YESNO) == IDYES) {
        submitEntry(drive, category, entry);
    }
    notifyMainWindow(WM_CDDB_SUBMIT_DONE, 0);
    return 0;
}
