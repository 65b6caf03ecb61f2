// The submission worker against the fake CD library: the questions, the
// fifteen steps and every way out, the temporary file gone afterwards, and
// `submitted` set and stored only when the mail was accepted.
#include "cddb/cddbfixture.h"

#include "cddb/submit.h"
#include "titles/titlerecord.h"

namespace {

using namespace cddbtest;

const char *const initCall = "cddb_init" COPYRIGHT_ARGS;

class Submit : public CddbTest {
protected:
    void SetUp() override
    {
        CddbTest::SetUp();
        tempFolder = harness::scratchFolder();
        SetEnvironmentVariableA("TMP", (tempFolder + "\\").c_str());
        SetEnvironmentVariableA("TEMP", (tempFolder + "\\").c_str());
        snprintf(options.SMTPServer, sizeof options.SMTPServer, "smtp.example.org");
        options.SMTPServerPort = 2525;
        snprintf(options.ReturnAddress, sizeof options.ReturnAddress, "me@example.org");
    }

    // D: holds a two-track disc titled by its artist and first track.
    void loadTitled(int revision, int submitted)
    {
        closeDrives();
        fake::reset();
        load({{"D:", fake::audioDisc({180, 200}, 0x0D0D0D0D)}});
        TitleRecord &record = driveEntry(1)->title;
        setText(record.artist, "The Artist");
        setText(record.trackTitles[0], "One");
        record.revision = revision;
        record.submitted = submitted;
    }
    void runWorker(int drive, int category)
    {
        auto *request = static_cast<SubmitRequest *>(HeapAlloc(GetProcessHeap(), 0, sizeof(SubmitRequest)));
        request->drive = drive;
        request->category = category;
        submitWorker(request);
    }
    // The calls with the temporary file's name written as FILE.
    static Calls callsWithFile(std::string *file)
    {
        Calls calls = fake::calls();
        for (const std::string &c : calls)
            if (c.rfind("cddb_write_submit_file(", 0) == 0) {
                size_t open = c.find('"'), close = c.rfind('"');
                *file = c.substr(open + 1, close - open - 1);
            }
        for (std::string &c : calls) {
            size_t at;
            while (!file->empty() && (at = c.find(*file)) != std::string::npos)
                c.replace(at, file->size(), "FILE");
        }
        return calls;
    }
    bool tempFolderEmpty()
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((tempFolder + "\\*").c_str(), &found);
        bool empty = true;
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0)
                    empty = false;
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        return empty;
    }

    std::string tempFolder;
};

// Everything handed to the library and the mail of a successful submission.
TEST_F(Submit, SendsTheEntryAndMarksItSubmitted)
{
    loadTitled(2, 0);
    fake::setCddbText("cddb_write_submit_subject", "cddb rock 1b0d0d0d");
    fake::setResult("cddb_write_submit_file", 1);
    fake::setResult("smtp_send", 1);
    bool fileDuringSend = false;
    fake::setPause("smtp_send", [&] {
        std::string file;
        callsWithFile(&file);
        fileDuringSend = !file.empty() && harness::fileExists(file);
    });
    fake::clearCalls();

    runWorker(1, 2);

    std::string file;
    Calls calls = callsWithFile(&file);
    EXPECT_EQ(calls,
              (Calls{"platter_net_init()", initCall, "cddb_set_category_name(100,\"rock\")",
                     "cddb_set_rev_number(100,3)", "cddb_set_artist(100,\"The Artist\")", "cddb_set_title(100,null)",
                     "cddb_set_ext_title(100,null)", "cddb_set_num_tracks(100,2)", "cddb_set_track_time(100,1,0,2,0)",
                     "cddb_set_track_title(100,1,\"One\")", "cddb_set_ext_track_title(100,1,null)",
                     "cddb_set_track_time(100,2,3,2,0)", "cddb_set_track_title(100,2,null)",
                     "cddb_set_ext_track_title(100,2,null)", "cddb_set_track_time(100,3,6,22,0)",
                     "cddb_write_submit_file(100,\"FILE\")", "cddb_write_submit_subject(100,84)", "cddb_cleanup(100)",
                     "smtp_send(\"smtp.example.org\",2525,\"me@example.org\",\"freedb-submit@example.org\",\"cddb rock "
                     "1b0d0d0d\",\"FILE\")",
                     "platter_net_cleanup()", "cd_get_win_id(1)", "db_lock()", "db_write_entry(0xD0D0D0D)",
                     "db_unlock()"}));
    std::string base = file.substr(file.find_last_of('\\') + 1);
    EXPECT_EQ(base.substr(0, 3), "spd");
    EXPECT_TRUE(fileDuringSend);
    EXPECT_TRUE(tempFolderEmpty());
    EXPECT_EQ(driveEntry(1)->title.submitted, 1);
    EXPECT_EQ(driveEntry(1)->title.revision, 2);
    EXPECT_EQ(fake::entryField(0x0D0D0D0D, "submitted"), "1");
    EXPECT_EQ(statusTitle(), "CDDB Submit Status");
    EXPECT_EQ(statusText(), "Successfully submitted entry to CDDB.");
    EXPECT_EQ(notes(), (std::vector<Note>{submitDone()}));
}

// Every way out before or after the mail: its text, its boxes, what was
// asked of the library, and no temporary file left.
TEST_F(Submit, EveryWayOut)
{
    struct Case {
        const char *name;
        bool blank;
        int submitted;
        int answer;               // to "Verify CDDB Submit"
        bool noKey, noTempFolder;
        int initResult;           // -1: the fake's own handle
        int writeResult, sendResult;
        const char *box;          // caption of the one box, "" for none
        const char *status;       // "" : the window never opened
        std::vector<const char *> calledFirst;   // the first calls' names
        bool mailed, marked;
    } cases[] = {
        {"blank entry", true, 0, IDYES, false, false, -1, 1, 1, SUBMIT_ERROR_CAPTION, "", {}, false, false},
        {"submitted before, No", false, 1, IDNO, false, false, -1, 1, 1, SUBMIT_VERIFY_CAPTION, "", {}, false, false},
        {"submitted before, Yes", false, 1, IDYES, false, false, -1, 1, 1, SUBMIT_VERIFY_CAPTION,
         "Successfully submitted entry to CDDB.", {"platter_net_init", "cddb_init"}, true, true},
        {"no cddb key", false, 0, IDYES, true, false, -1, 1, 1, "", "Unable to open CDDB registry key.", {}, false,
         false},
        {"library refuses", false, 0, IDYES, false, false, 0, 1, 1, "", "Error initializing library.",
         {"platter_net_init", "cddb_init", "platter_net_cleanup"}, false, false},
        {"no temporary name", false, 0, IDYES, false, true, -1, 1, 1, "", "Error getting temporary file name.", {},
         false, false},
        {"file not written", false, 0, IDYES, false, false, -1, 0, 1, "", "Error writing to temporary file.", {},
         false, false},
        {"file unreadable", false, 0, IDYES, false, false, -1, 1, -1, "", "Unable to open temporary submit file.", {},
         true, false},
        {"no such SMTP server", false, 0, IDYES, false, false, -1, 1, -2, "", "Unable to find specified SMTP server.",
         {}, true, false},
        {"no connection", false, 0, IDYES, false, false, -1, 1, -3, "",
         "Unable to connect to specified SMTP server.", {}, true, false},
        {"refused later", false, 0, IDYES, false, false, -1, 1, -7, "", "Unknown error occurred during CDDB submit.",
         {}, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        statusWindowClose();
        harness::pumpUntil([] { return statusWindowHandle() == nullptr; });
        loadTitled(0, c.submitted);
        if (c.blank) {
            TitleRecord &record = driveEntry(1)->title;
            setText(record.artist, nullptr);
            setText(record.trackTitles[0], nullptr);
        }
        if (c.noKey)
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, CDDB_KEY);
        std::string temp = c.noTempFolder ? tempFolder + "\\missing\\" : tempFolder + "\\";
        SetEnvironmentVariableA("TMP", temp.c_str());
        SetEnvironmentVariableA("TEMP", temp.c_str());
        if (c.initResult >= 0)
            fake::setResult("cddb_init", c.initResult);
        fake::setResult("cddb_write_submit_file", c.writeResult);
        fake::setResult("smtp_send", c.sendResult);
        {
            std::lock_guard<std::mutex> hold(notesLock());
            notesStore().clear();
        }
        harness::MessageBoxRecorder boxes(c.answer);

        runWorker(1, 1);

        ASSERT_EQ(boxes.count(), c.box[0] ? 1u : 0u);
        if (std::string(c.box) == SUBMIT_ERROR_CAPTION) {
            EXPECT_EQ(boxes.boxes()[0].text, SUBMIT_BLANK_TEXT);
            EXPECT_EQ(boxes.boxes()[0].flags, (UINT)(MB_SYSTEMMODAL | MB_ICONERROR));
        } else if (c.box[0]) {
            EXPECT_EQ(boxes.boxes()[0].caption, SUBMIT_VERIFY_CAPTION);
            EXPECT_EQ(boxes.boxes()[0].text, SUBMIT_VERIFY_TEXT);
            EXPECT_EQ(boxes.boxes()[0].flags, (UINT)(MB_SYSTEMMODAL | MB_ICONQUESTION | MB_YESNO));
        }
        EXPECT_EQ(statusText(), c.status);
        Calls calls = fake::calls();
        for (size_t i = 0; i < c.calledFirst.size(); ++i) {
            ASSERT_LT(i, calls.size());
            EXPECT_EQ(calls[i].substr(0, calls[i].find('(')), c.calledFirst[i]);
        }
        if (!c.status[0] || c.noKey) {
            EXPECT_EQ(fake::callLog(), "");
        }
        EXPECT_EQ(fake::callsTo("smtp_send").size(), c.mailed ? 1u : 0u);
        EXPECT_EQ(fake::callsTo("platter_net_init").size(), fake::callsTo("platter_net_cleanup").size());
        EXPECT_EQ(fake::callsTo("cddb_init").size() - (c.initResult == 0 ? 1 : 0), fake::callsTo("cddb_cleanup").size());
        EXPECT_EQ(driveEntry(1)->title.submitted, c.submitted || c.marked ? 1 : 0);
        EXPECT_EQ(fake::callsTo("db_write_entry").size(), c.marked ? 1u : 0u);
        EXPECT_TRUE(tempFolderEmpty());
        EXPECT_EQ(notes(), (std::vector<Note>{submitDone()}));
        if (c.noKey)
            registry.createKey(CDDB_KEY);
    }
}

// A disc swapped while the mail goes out is not marked as submitted.
TEST_F(Submit, SwappedDiscIsNotMarked)
{
    loadTitled(0, 0);
    fake::setResult("cddb_write_submit_file", 1);
    fake::setResult("smtp_send", 1);
    fake::setPause("smtp_send", [] {
        fake::insertDisc("D:", fake::audioDisc({100}, 0x0E0E0E0E));
        discInserted(1);
    });
    runWorker(1, 1);
    fake::setPause("smtp_send", nullptr);
    EXPECT_EQ(driveEntry(1)->title.submitted, 0);
    EXPECT_EQ(fake::callsTo("db_write_entry").size(), 0u);
    EXPECT_EQ(statusText(), "Successfully submitted entry to CDDB.");
}

// With the status window off the submission runs without a window.
TEST_F(Submit, WithoutStatusWindow)
{
    loadTitled(0, 0);
    options.cddbSubmitShowStatus = 0;
    fake::setResult("cddb_write_submit_file", 1);
    fake::setResult("smtp_send", 1);
    runWorker(1, 1);
    EXPECT_EQ(statusWindowHandle(), nullptr);
    EXPECT_EQ(driveEntry(1)->title.submitted, 1);
}

} // namespace
