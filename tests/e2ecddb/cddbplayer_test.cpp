// The real player and platter.dll against the project's CDDB test server
// and SMTP server (tests/servers/with-servers.sh starts both on loopback
// ports): a remote lookup that titles the disc, a fuzzy match chosen in
// the player's dialog from another process, and a submission mailed from
// the menu command.
#include "e2e/playerprocess.h"

#include <cstdlib>
#include <ctime>
#include <sstream>

namespace {

using e2e::optionsKey;
const char *const cddbKey = "SOFTWARE\\Veldane Software\\Spindle2\\CurrentVersion\\cddb";
// The panel's title line, the fuzzy list, the submission's category list
// and the menu command "Submit To CDDB..." (res/resource.h).
const int titleLine = 1055;
const int fuzzyList = 1085;
const int submitCategoryList = 1080;
const int submitCommand = 40074;

// The cddbp port of the test server, from "mode=port ..." in the environment.
int cddbpPort()
{
    const char *ports = getenv("SPINDLE2_CDDB_PORTS");
    std::istringstream words(ports ? ports : "");
    std::string word;
    while (words >> word)
        if (word.compare(0, 6, "cddbp=") == 0)
            return atoi(word.c_str() + 6);
    return 0;
}

int smtpPort()
{
    const char *port = getenv("SPINDLE2_SMTP_PORT");
    return port ? atoi(port) : 0;
}

std::string spoolFile(const std::string &name)
{
    const char *spool = getenv("SPINDLE2_TEST_SPOOL");
    return spool ? std::string(spool) + "\\" + name : std::string();
}

void writeDword(const char *keyName, const char *name, DWORD value)
{
    ASSERT_TRUE(e2e::writeDword(keyName, name, value));
}

void writeText(const char *keyName, const char *name, const std::string &value)
{
    ASSERT_TRUE(e2e::writeText(keyName, name, value));
}

// The discs of tests/servers/cddbdata.py, as positions of a virtual drive.
struct TestDisc {
    std::vector<const char *> starts;
    const char *leadOut;
};
// One entry in "rock".
const TestDisc exactDisc = {{"00:02:00", "04:00:00", "08:00:00"}, "12:00:00"};
// No entry of its own; close ones in "misc", then "jazz".
const TestDisc fuzzyDisc = {{"00:02:00", "04:26:50", "08:53:25", "13:20:00"}, "17:46:50"};

class CddbOfThePlayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(cddbpPort(), 0) << "the CDDB test server was not started";
        ASSERT_NE(smtpPort(), 0) << "the SMTP server was not started";
        folder = harness::scratchFolder();
        drive = harness::scratchFolder();
        SetEnvironmentVariableA("PLATTER_DRIVE_FOLDER_D", drive.c_str());
        SetEnvironmentVariableA("PLATTER_DRIVE_FOLDER_E", harness::scratchFolder().c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Veldane Software");
        writeDword(optionsKey, "ControlsDisplayType", 1);
        writeDword(optionsKey, "Converted", 1);
        writeDword(optionsKey, "cddbQueryLocal", 0);
        writeDword(optionsKey, "cddbQueryServer", 1);
        writeDword(optionsKey, "cddbQueryShowStatus", 0);
        writeDword(optionsKey, "cddbSubmitShowStatus", 0);
        writeText(optionsKey, "cddbServer", "127.0.0.1");
        writeDword(optionsKey, "cddbServerPort", (DWORD)cddbpPort());
        writeText(optionsKey, "ReturnAddress", "tester@example.com");
        writeText(optionsKey, "SMTPServer", "127.0.0.1");
        writeDword(optionsKey, "SMTPServerPort", (DWORD)smtpPort());
        // Fresh server and category lists: the test server is the one listed.
        DWORD now = (DWORD)time(nullptr);
        writeText(cddbKey, "MainServer", "127.0.0.1");
        writeDword(cddbKey, "MainServerPort", (DWORD)cddbpPort());
        writeDword(cddbKey, "NumServers", 1);
        writeText(cddbKey, "Server1", "127.0.0.1");
        writeText(cddbKey, "ServerDesc1", "Test server");
        writeDword(cddbKey, "ServerPort1", (DWORD)cddbpPort());
        writeDword(cddbKey, "LastServerUpdate", now);
        const char *categories[] = {"blues", "folk", "rock"};
        writeDword(cddbKey, "NumCategories", 3);
        for (int n = 0; n < 3; ++n)
            writeText(cddbKey, ("Category" + std::to_string(n + 1)).c_str(), categories[n]);
        writeDword(cddbKey, "LastCategoryUpdate", now);
        writeText(cddbKey, "SubmitAddress", "submit@example.com");
    }

    void TearDown() override
    {
        stopPlayer();
        e2e::forgetPlayerSetup();
    }

    void insert(const TestDisc &disc) { e2e::writeAudioToc(drive, disc.starts, disc.leadOut); }

    HWND startPlayer()
    {
        return e2e::startPlayer(&player, folder);
    }

    void stopPlayer()
    {
        e2e::closePlayer(&player);
    }

    HWND waitForWindow(const char *caption, DWORD ms)
    {
        HWND window = nullptr;
        harness::pumpUntil([&] { return (window = e2e::findWindowOf(player, caption)) != nullptr; }, ms);
        return window;
    }

    std::string waitForTitle(HWND panel, const std::string &expected, DWORD ms)
    {
        return e2e::waitForControlText(panel, titleLine, expected, ms);
    }

    // The CDDB id the library gives the disc now in D: (cdctl's "ids").
    std::string cddbIdOfD()
    {
        return e2e::discIdOfD(folder, "cddbid");
    }

    std::string folder, drive;
    HANDLE player = nullptr;
};

// An unknown disc titled by the server, and the titles kept in the title
// database: they come back with the server query off.
TEST_F(CddbOfThePlayer, RemoteLookupTitlesTheDiscAndKeepsTheTitles)
{
    insert(exactDisc);
    HWND panel = startPlayer();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(waitForTitle(panel, "1) Ace of Spades", 20000), "1) Ace of Spades");
    stopPlayer();

    writeDword(optionsKey, "cddbQueryServer", 0);
    panel = startPlayer();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(waitForTitle(panel, "1) Ace of Spades", 15000), "1) Ace of Spades");
}

// Several inexact matches: the line chosen in "Fuzzy Search Results" is
// the entry fetched and shown; "Current CD Not In List" fetches nothing.
TEST_F(CddbOfThePlayer, FuzzyMatchChosenFromAnotherProcessTitlesTheDisc)
{
    struct Case {
        int line;           // -1: "Current CD Not In List"
        const char *title;  // the title line afterwards
        const char *read;   // the command the server gets after the query
    } cases[] = {
        {1, "1) Uno", "cddbp cddb read jazz "},
        {0, "1) One", "cddbp cddb read misc "},
        {-1, nullptr, nullptr},
    };
    insert(fuzzyDisc);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        stopPlayer();
        // The title database lives in the player's working folder.
        DeleteFileA((folder + "\\Spindle2.tdb").c_str());
        size_t logBefore = harness::readFile(spoolFile("cddb.log")).size();
        HWND panel = startPlayer();
        ASSERT_NE(panel, nullptr);
        HWND dialog = waitForWindow("Fuzzy Search Results", 20000);
        ASSERT_NE(dialog, nullptr) << "the fuzzy matches were not offered; the server saw:\n"
                                   << harness::readFile(spoolFile("cddb.log"));
        // The dialog's caption comes before its list is filled.
        HWND list = nullptr;
        DWORD_PTR result = 0;
        harness::pumpUntil(
            [&] {
                list = GetDlgItem(dialog, fuzzyList);
                return list && SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) &&
                       result == 2;
            },
            5000);
        ASSERT_EQ(result, 2u) << "not the two close entries";
        if (c.line < 0) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            ASSERT_TRUE(harness::pumpUntil(
                [&] { return e2e::findWindowOf(player, "Fuzzy Search Results") == nullptr; }, 10000));
        } else {
            SendMessageTimeoutA(list, LB_SETCURSEL, (WPARAM)c.line, 0, SMTO_ABORTIFHUNG, 2000, &result);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            EXPECT_EQ(waitForTitle(panel, c.title, 20000), c.title);
        }
        // Once the player has ended, its lookup has too.
        stopPlayer();
        std::string asked = harness::readFile(spoolFile("cddb.log")).substr(logBefore);
        if (c.read)
            EXPECT_NE(asked.find(c.read), std::string::npos) << asked;
        else
            EXPECT_EQ(asked.find("cddb read"), std::string::npos) << asked;
    }
}

// "Submit To CDDB..." of the titled disc: the drive and the category
// chosen in the player's dialogs, the mail at the SMTP server. A second
// submission of the same entry, after a restart, first asks "Verify CDDB
// Submit": the submitted mark was kept in the title database.
TEST_F(CddbOfThePlayer, SubmissionIsMailedToTheSubmitAddress)
{
    insert(exactDisc);
    std::string id = cddbIdOfD();
    ASSERT_EQ(id.size(), 8u) << "no CDDB id of the disc";
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE("submission " + std::to_string(round));
        stopPlayer();
        HWND panel = startPlayer();
        ASSERT_NE(panel, nullptr);
        ASSERT_EQ(waitForTitle(panel, "1) Ace of Spades", 20000), "1) Ace of Spades");

        PostMessageA(panel, WM_COMMAND, submitCommand, 0);
        HWND select = waitForWindow("Select Drive", 10000);
        ASSERT_NE(select, nullptr) << "the drive was not asked for";
        PostMessageA(select, WM_COMMAND, IDOK, 0);
        HWND submit = waitForWindow("Submit A New Entry", 10000);
        ASSERT_NE(submit, nullptr) << "the category was not asked for";
        // The caption comes before the list is filled and its first line chosen.
        HWND categories = nullptr;
        DWORD_PTR result = 0;
        harness::pumpUntil(
            [&] {
                categories = GetDlgItem(submit, submitCategoryList);
                return categories &&
                       SendMessageTimeoutA(categories, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) &&
                       result == 3;
            },
            5000);
        ASSERT_EQ(result, 3u) << "not the stored categories";
        // "rock" is the third.
        SendMessageTimeoutA(categories, CB_SETCURSEL, 2, 0, SMTO_ABORTIFHUNG, 2000, &result);
        PostMessageA(submit, WM_COMMAND, IDOK, 0);

        std::string mail = spoolFile("mail-" + std::to_string(round) + ".eml");
        std::string text;
        bool verified = false;
        harness::pumpUntil(
            [&] {
                if (HWND verify = e2e::findWindowOf(player, "Verify CDDB Submit")) {
                    verified = true;
                    PostMessageA(verify, WM_COMMAND, IDYES, 0);
                }
                text = harness::readFile(mail);
                return text.find("PLAYORDER=") != std::string::npos;
            },
            20000);
        ASSERT_FALSE(text.empty()) << "no mail arrived";
        EXPECT_EQ(verified, round == 2);
        EXPECT_NE(text.find("Subject: cddb rock " + id + "\r\n"), std::string::npos) << text;
        // The entry as fetched, in UTF-8 also where the player keeps it in
        // its own code page.
        for (const std::string &line : {"DISCID=" + id, std::string("TTITLE0=Ace of Spades"),
                                        std::string("TTITLE1=\xc3\x9c" "berall"),
                                        std::string("DTITLE=Mot\xc3\xb6rhead / Caf\xc3\xa9 \xe2\x82\xac "),
                                        std::string("EXTT1=Track two's note")})
            EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
        std::string envelope = harness::readFile(spoolFile("mail-" + std::to_string(round) + ".envelope"));
        EXPECT_NE(envelope.find("MAIL FROM:<tester@example.com>"), std::string::npos) << envelope;
        EXPECT_NE(envelope.find("RCPT TO:<submit@example.com>"), std::string::npos) << envelope;
    }
}

} // namespace
