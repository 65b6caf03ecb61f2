// smtp_test.cpp - smtp_send against a real SMTP server (aiosmtpd) and the
// test server's odd ones: the mail received byte for byte, each result from
// -1 to -7, a server that knows only HELO, and the submission posted over
// HTTP with the submit script's headers.
#include "tests/cddbnet/netfixture.h"
#include "tests/libplatter/cddb/cddbtest.h"

#include <cstdio>

namespace {

using namespace nettest;

// A submission-like body: a line that starts with a dot, one with two,
// UTF-8 text and bare LF line ends.
const std::string kBody = "# xmcd\n.a line that starts with a dot\n..two dots\nDTITLE=Caf\xC3\xA9 / Title\nlast line";

std::string bodyFile()
{
    std::string path = harness::scratchFolder() + "\\spd1.tmp";
    FILE *f = fopen(path.c_str(), "wb");
    fwrite(kBody.data(), 1, kBody.size(), f);
    fclose(f);
    return path;
}

class SmtpSend : public NetTest {};

TEST_F(SmtpSend, MailArrivesByteForByte)
{
    std::string file = bodyFile();
    ASSERT_EQ(1, smtp_send("127.0.0.1", smtpPort(), "me@example.org", "freedb-submit@example.org",
                           "cddb rock 1402ce03", file.c_str()));
    int n = lastSpoolNumber("mail-", ".eml");
    ASSERT_GE(n, 1);
    std::string mail = spoolFile("mail-" + std::to_string(n) + ".eml");
    size_t date = mail.find("Date: ");
    ASSERT_NE(std::string::npos, date) << mail;
    size_t dateEnd = mail.find("\r\n", date);
    std::string dateLine = mail.substr(date, dateEnd - date);
    // "Date: Tue, 05 Mar 2024 10:00:00 +0100"
    EXPECT_EQ(37u, dateLine.size()) << dateLine;
    EXPECT_EQ("From: me@example.org\r\nTo: freedb-submit@example.org\r\nSubject: cddb rock 1402ce03\r\n",
              mail.substr(0, date));
    EXPECT_EQ("\r\nMIME-Version: 1.0\r\nContent-Type: text/plain; charset=UTF-8\r\n"
              "Content-Transfer-Encoding: 8bit\r\n\r\n"
              "# xmcd\r\n.a line that starts with a dot\r\n..two dots\r\nDTITLE=Caf\xC3\xA9 / Title\r\nlast line\r\n",
              mail.substr(dateEnd));
    EXPECT_EQ("MAIL FROM:<me@example.org>\nRCPT TO:<freedb-submit@example.org>\n",
              spoolFile("mail-" + std::to_string(n) + ".envelope"));
    EXPECT_TRUE(sawDiag("Platter: SMTP > EHLO "));
    EXPECT_TRUE(sawDiag("Platter: SMTP > ..two dots") || sawDiag("Platter: SMTP > ...two dots"));
    EXPECT_TRUE(sawDiag("Platter: SMTP < 250 Message accepted for delivery"));
}

struct SmtpCase {
    const char *name;
    const char *server; // null: the aiosmtpd server; "mode": a test-server mode
    const char *from, *to;
    bool missingFile;
    int result;
};

void PrintTo(const SmtpCase &c, std::ostream *os) { *os << c.name; }

class SmtpResult : public NetTest, public ::testing::WithParamInterface<SmtpCase> {};

TEST_P(SmtpResult, IsTheStepThatFailed)
{
    const SmtpCase &c = GetParam();
    platter_net_set_timeouts(1500, 1500, 4000);
    std::string file = c.missingFile ? harness::scratchFolder() + "\\missing.tmp" : bodyFile();
    std::string host = "127.0.0.1";
    int port = smtpPort();
    if (c.server && std::string(c.server) == "closed")
        port = closedPort();
    else if (c.server && std::string(c.server) == "badname")
        host = "bad_name.example!";
    else if (c.server)
        port = portOf(c.server);
    int before = lastSpoolNumber("mail-", ".eml");
    EXPECT_EQ(c.result, smtp_send(host.c_str(), port, c.from, c.to, "cddb rock 1402ce03", file.c_str()));
    if (c.result < 0 && !c.server) {
        EXPECT_EQ(before, lastSpoolNumber("mail-", ".eml")) << "a refused mail was kept";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, SmtpResult,
    ::testing::Values(SmtpCase{"FileMissing", nullptr, "me@x.org", "to@x.org", true, PLATTER_SMTP_NO_FILE},
                      SmtpCase{"HostNotFound", "badname", "me@x.org", "to@x.org", false, PLATTER_SMTP_NO_SERVER},
                      SmtpCase{"NothingListens", "closed", "me@x.org", "to@x.org", false, PLATTER_SMTP_NO_CONNECT},
                      SmtpCase{"RefusedAtGreeting", "smtp-refuse", "me@x.org", "to@x.org", false,
                               PLATTER_SMTP_NO_CONNECT},
                      SmtpCase{"SenderRefused", nullptr, "refuse-sender@x.org", "to@x.org", false,
                               PLATTER_SMTP_SENDER_REFUSED},
                      SmtpCase{"RecipientRefused", nullptr, "me@x.org", "refuse-recipient@x.org", false,
                               PLATTER_SMTP_RECIPIENT_REFUSED},
                      SmtpCase{"NeverAnswers", "smtp-silent", "me@x.org", "to@x.org", false, PLATTER_SMTP_TIMEOUT},
                      SmtpCase{"AddressWithBlanks", nullptr, "me <x>", "to@x.org", false, PLATTER_SMTP_BAD_ARGUMENTS},
                      SmtpCase{"HeloOnlyServer", "smtp-helo", "me@x.org", "to@x.org", false, 1}),
    [](const ::testing::TestParamInfo<SmtpCase> &info) { return std::string(info.param.name); });

TEST_F(SmtpSend, RejectedMessageIsNoSuccess)
{
    std::string path = harness::scratchFolder() + "\\reject.tmp";
    FILE *f = fopen(path.c_str(), "wb");
    fputs("# xmcd\nreject-data\n", f);
    fclose(f);
    EXPECT_EQ(PLATTER_SMTP_DATA_REFUSED,
              smtp_send("127.0.0.1", smtpPort(), "me@x.org", "to@x.org", "cddb rock 1402ce03", path.c_str()));
}

TEST_F(SmtpSend, SubmissionPostedOverHttp)
{
    // The entry as the player writes it, then posted to the submit script.
    cddb_handle_t h = cddb_init("Spindle2", "v3.00", "test");
    cddbtest::setDisc(h, cddbtest::kExactDisc);
    cddb_set_category_name(h, "rock");
    cddb_set_artist(h, "Caf\xE9");
    cddb_set_title(h, "Title");
    std::string file = harness::scratchFolder() + "\\spd2.tmp";
    ASSERT_EQ(1, cddb_write_submit_file(h, file.c_str()));
    char subject[84];
    ASSERT_EQ(1, cddb_write_submit_subject(h, subject, sizeof subject));
    cddb_cleanup(h);

    std::string url = "http://127.0.0.1:" + std::to_string(portOf("http")) + "/~cddb/submit.cgi";
    ASSERT_EQ(1, smtp_send("unused", 25, "me@example.org", url.c_str(), subject, file.c_str()));
    int n = lastSpoolNumber("submit-", ".txt");
    ASSERT_GE(n, 1);
    std::string posted = spoolFile("submit-" + std::to_string(n) + ".txt");
    std::string entry = harness::readFile(file);
    std::string crlf;
    for (char c : entry) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    EXPECT_EQ("Category: rock\nDiscid: 1402ce03\nUser-Email: me@example.org\nSubmit-Mode: submit\nCharset: UTF-8\n"
              "Content-Type: text/plain; charset=UTF-8\n\n" + crlf,
              posted);

    EXPECT_EQ(PLATTER_SMTP_DATA_REFUSED, smtp_send("unused", 25, "reject@example.org", url.c_str(), subject, file.c_str()));
    EXPECT_EQ(PLATTER_SMTP_BAD_ARGUMENTS, smtp_send("unused", 25, "me@example.org", url.c_str(), "no subject", file.c_str()));
    EXPECT_EQ(PLATTER_SMTP_NO_CONNECT,
              smtp_send("unused", 25, "me@example.org", ("http://127.0.0.1:" + std::to_string(closedPort()) + "/").c_str(),
                        subject, file.c_str()));
}

} // namespace
