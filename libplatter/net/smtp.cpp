// smtp.cpp - smtp_send: mails a submission file through an SMTP server, or,
// when the address is an http:// URL, posts it to that CDDB submission
// script instead.
#include "libplatter/cboundary.h"
#include "libplatter/diag.h"
#include "libplatter/net/connection.h"
#include "libplatter/net/httpsubmit.h"
#include "libplatter/net/mailtext.h"
#include "platter/platter.h"

#include <winsock2.h>
#include <windows.h>

#include <cstdio>

namespace {

const size_t kMaxMailFileBytes = 512 * 1024;

// RFC 5322 date of now in local time, with the zone's offset.
std::string mailDate()
{
    static const char *const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    SYSTEMTIME utc, local;
    GetSystemTime(&utc);
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        local = utc;
    FILETIME fu, fl;
    SystemTimeToFileTime(&utc, &fu);
    SystemTimeToFileTime(&local, &fl);
    long long diff = ((long long)((ULARGE_INTEGER{{fl.dwLowDateTime, fl.dwHighDateTime}}).QuadPart) -
                      (long long)((ULARGE_INTEGER{{fu.dwLowDateTime, fu.dwHighDateTime}}).QuadPart)) /
                     600000000LL; // minutes
    char sign = diff < 0 ? '-' : '+';
    if (diff < 0)
        diff = -diff;
    char text[64];
    snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02d%02d", days[local.wDayOfWeek % 7],
             local.wDay, months[(local.wMonth + 11) % 12], local.wYear, local.wHour, local.wMinute, local.wSecond,
             sign, (int)(diff / 60), (int)(diff % 60));
    return text;
}

std::string localHostName()
{
    char name[256] = "";
    if (gethostname(name, sizeof name) != 0 || !name[0])
        return "localhost";
    std::string host = name;
    for (char &c : host)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.'))
            c = '-';
    return host;
}

bool readWholeFile(const char *fileName, std::string *content)
{
    FILE *f = fopen(fileName, "rb");
    if (!f)
        return false;
    char buffer[8192];
    size_t n;
    bool ok = true;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) {
        content->append(buffer, n);
        if (content->size() > kMaxMailFileBytes) {
            ok = false;
            break;
        }
    }
    ok = ok && !ferror(f);
    fclose(f);
    return ok;
}

bool safeAddress(const char *text)
{
    if (!text || !*text || strlen(text) > 320)
        return false;
    for (const char *p = text; *p; ++p)
        if ((unsigned char)*p <= 0x20 || *p == '<' || *p == '>' || (unsigned char)*p == 0x7F)
            return false;
    return true;
}

// One SMTP conversation; each step's refusal has its own result.
class SmtpSession {
public:
    explicit SmtpSession(net::Connection &link) : link_(link) {}

    // Reads the whole reply (all its "250-" lines); 0 when it is no reply.
    int reply(int failure)
    {
        for (;;) {
            std::string line, text;
            net::NetStatus status = link_.readLine(&line, net::kMaxReplyLineBytes);
            if (status == net::NetStatus::TimedOut) {
                failure_ = PLATTER_SMTP_TIMEOUT;
                return 0;
            }
            if (status != net::NetStatus::Ok) {
                failure_ = status == net::NetStatus::Closed ? failure : PLATTER_SMTP_PROTOCOL;
                return 0;
            }
            int code;
            bool last;
            if (!net::parseSmtpReplyLine(line, &code, &last, &text)) {
                platterDiag("SMTP: \"%.60s\" is no SMTP reply", line.c_str());
                failure_ = PLATTER_SMTP_PROTOCOL;
                return 0;
            }
            if (last)
                return code;
        }
    }

    // Sends a command and checks its reply against the accepted codes.
    bool step(const std::string &command, int accepted, int accepted2, int failure)
    {
        if (link_.send(command + "\r\n") != net::NetStatus::Ok) {
            failure_ = failure;
            return false;
        }
        int code = reply(failure);
        if (!code)
            return false;
        if (code != accepted && code != accepted2) {
            failure_ = failure;
            return false;
        }
        return true;
    }

    int failure() const { return failure_; }
    void setFailure(int failure) { failure_ = failure; }

private:
    net::Connection &link_;
    int failure_ = PLATTER_SMTP_PROTOCOL;
};

int sendMail(const char *server, int port, const char *from, const char *to, const char *subject,
             const std::string &body)
{
    net::Connection link("SMTP");
    platterStatus("Connecting to %s...", server);
    net::NetStatus status = link.open(server, port);
    if (status == net::NetStatus::HostNotFound)
        return PLATTER_SMTP_NO_SERVER;
    if (status != net::NetStatus::Ok)
        return PLATTER_SMTP_NO_CONNECT;

    SmtpSession smtp(link);
    int greeting = smtp.reply(PLATTER_SMTP_NO_CONNECT);
    if (greeting != 220) {
        if (greeting)
            platterDiag("SMTP: the server refused the connection");
        return greeting ? PLATTER_SMTP_NO_CONNECT : smtp.failure();
    }
    std::string domain = localHostName();
    platterStatus("Sending mail to %s...", to);
    if (!smtp.step("EHLO " + domain, 250, 250, PLATTER_SMTP_NO_CONNECT)) {
        if (smtp.failure() != PLATTER_SMTP_NO_CONNECT)
            return smtp.failure();
        // A server of the old kind knows only HELO.
        if (!smtp.step("HELO " + domain, 250, 250, PLATTER_SMTP_NO_CONNECT))
            return smtp.failure();
    }
    if (!smtp.step(std::string("MAIL FROM:<") + from + ">", 250, 250, PLATTER_SMTP_SENDER_REFUSED))
        return smtp.failure();
    if (!smtp.step(std::string("RCPT TO:<") + to + ">", 250, 251, PLATTER_SMTP_RECIPIENT_REFUSED))
        return smtp.failure();
    if (!smtp.step("DATA", 354, 354, PLATTER_SMTP_DATA_REFUSED))
        return smtp.failure();
    std::string data = net::mailData(from, to, subject ? subject : "", mailDate(), body) + ".\r\n";
    if (link.send(data) != net::NetStatus::Ok)
        return PLATTER_SMTP_DATA_REFUSED;
    int accepted = smtp.reply(PLATTER_SMTP_DATA_REFUSED);
    if (accepted != 250)
        return accepted ? PLATTER_SMTP_DATA_REFUSED : smtp.failure();
    // The mail is taken; how the server says goodbye does not matter.
    smtp.step("QUIT", 221, 221, PLATTER_SMTP_PROTOCOL);
    platterStatus("Mail accepted by %s.", server);
    return 1;
}

} // namespace

extern "C" int smtp_send(const char *server, int port, const char *from, const char *to, const char *subject,
                         const char *fileName)
{
    return guardedCall<int>("smtp_send", PLATTER_FAIL, [&]() -> int {
        std::string body;
        if (!fileName || !readWholeFile(fileName, &body)) {
            platterDiag("SMTP: cannot read the file \"%s\"", fileName ? fileName : "");
            return PLATTER_SMTP_NO_FILE;
        }
        if (to && _strnicmp(to, "http://", 7) == 0)
            return net::submitOverHttp(to, from, subject, body);
        if (!server || !*server)
            return PLATTER_SMTP_NO_SERVER;
        if (!safeAddress(from) || !safeAddress(to)) {
            platterDiag("SMTP: the sender or the recipient is not a mail address");
            return PLATTER_SMTP_BAD_ARGUMENTS;
        }
        return sendMail(server, port, from, to, subject, body);
    });
}
