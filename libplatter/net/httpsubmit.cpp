// httpsubmit.cpp - posts a submission to a CDDB submit script.
#include "libplatter/net/httpsubmit.h"
#include "libplatter/diag.h"
#include "libplatter/net/httpclient.h"
#include "libplatter/net/mailtext.h"
#include "platter/platter.h"

#include <cstring>

namespace net {

namespace {

// "cddb rock 1a2b3c4d" into its category and disc id.
bool readSubject(const char *subject, std::string *category, std::string *discId)
{
    if (!subject)
        return false;
    std::string text = subject;
    size_t a = text.find(' ');
    size_t b = a == std::string::npos ? a : text.find(' ', a + 1);
    if (a == std::string::npos || b == std::string::npos || text.substr(0, a) != "cddb")
        return false;
    *category = text.substr(a + 1, b - a - 1);
    *discId = text.substr(b + 1);
    if (category->empty() || category->size() > 64 || discId->size() != 8)
        return false;
    for (char c : *category)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'))
            return false;
    for (char c : *discId)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

} // namespace

int submitOverHttp(const char *url, const char *from, const char *subject, const std::string &body)
{
    HttpUrl where;
    std::string category, discId;
    if (!parseHttpUrl(url, &where) || !readSubject(subject, &category, &discId) || !from || !*from ||
        strpbrk(from, "\r\n")) {
        platterDiag("HTTP: cannot submit to \"%s\" with the subject \"%s\"", url, subject ? subject : "");
        return PLATTER_SMTP_BAD_ARGUMENTS;
    }
    std::string payload = crlfLines(body);
    const char *charset = bodyCharset(body);
    std::string request = "POST " + where.path + " HTTP/1.0\r\n";
    request += "Host: " + where.host + (where.port == 80 ? std::string() : ":" + std::to_string(where.port)) + "\r\n";
    request += "Category: " + category + "\r\n";
    request += "Discid: " + discId + "\r\n";
    request += std::string("User-Email: ") + from + "\r\n";
    request += "Submit-Mode: submit\r\n";
    request += std::string("Charset: ") + charset + "\r\n";
    request += std::string("Content-Type: text/plain; charset=") + charset + "\r\n";
    request += "Content-Length: " + std::to_string(payload.size()) + "\r\n";
    request += "Connection: close\r\n\r\n";
    request += payload;

    platterStatus("Connecting to %s...", where.host.c_str());
    HttpResponse response;
    std::string problem;
    switch (httpExchange(where.host, where.port, request, &response, &problem)) {
    case HttpOutcome::Ok:
        break;
    case HttpOutcome::HostNotFound:
        return PLATTER_SMTP_NO_SERVER;
    case HttpOutcome::ConnectFailed:
        return PLATTER_SMTP_NO_CONNECT;
    case HttpOutcome::TimedOut:
        return PLATTER_SMTP_TIMEOUT;
    case HttpOutcome::Invalid:
        return PLATTER_SMTP_PROTOCOL;
    }
    if (response.status != 200) {
        platterDiag("HTTP: the submission was refused with status %d", response.status);
        return PLATTER_SMTP_DATA_REFUSED;
    }
    // The script answers with a CDDB status line: 200 taken, else refused.
    std::string first = response.body.substr(0, response.body.find('\n'));
    if (!first.empty() && first.back() == '\r')
        first.pop_back();
    platterDiag("HTTP < %s", first.c_str());
    if (first.size() < 3 || first.find_first_not_of("0123456789") < 3 || (first.size() > 3 && first[3] != ' '))
        return PLATTER_SMTP_PROTOCOL;
    if (first.compare(0, 3, "200") != 0)
        return PLATTER_SMTP_DATA_REFUSED;
    platterStatus("Submission accepted by %s.", where.host.c_str());
    return 1;
}

} // namespace net
