// mailtext.cpp - builds the DATA of a mail.
#include "libplatter/net/mailtext.h"
#include "libplatter/utf8.h"

#include <cctype>

namespace net {

const char *bodyCharset(const std::string &body)
{
    if (utf8::isAscii(body))
        return "US-ASCII";
    return utf8::isValid(body) ? "UTF-8" : "ISO-8859-1";
}

std::string headerText(const std::string &text, const char *charset)
{
    if (utf8::isAscii(text))
        return text;
    static const char table[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string encoded;
    for (size_t i = 0; i < text.size(); i += 3) {
        unsigned v = (unsigned char)text[i] << 16;
        if (i + 1 < text.size())
            v |= (unsigned char)text[i + 1] << 8;
        if (i + 2 < text.size())
            v |= (unsigned char)text[i + 2];
        encoded += table[v >> 18 & 63];
        encoded += table[v >> 12 & 63];
        encoded += i + 1 < text.size() ? table[v >> 6 & 63] : '=';
        encoded += i + 2 < text.size() ? table[v & 63] : '=';
    }
    return std::string("=?") + charset + "?B?" + encoded + "?=";
}

std::string crlfLines(const std::string &body)
{
    std::string out;
    out.reserve(body.size() + body.size() / 20);
    for (size_t i = 0; i < body.size(); ++i) {
        char c = body[i];
        if (c == '\r') {
            if (i + 1 < body.size() && body[i + 1] == '\n')
                ++i;
            out += "\r\n";
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    if (out.size() < 2 || out.compare(out.size() - 2, 2, "\r\n") != 0)
        out += "\r\n";
    return out;
}

std::string mailData(const std::string &from, const std::string &to, const std::string &subject,
                     const std::string &date, const std::string &body)
{
    const char *charset = bodyCharset(body);
    bool plain = utf8::isAscii(body);
    std::string out;
    out += "From: " + from + "\r\n";
    out += "To: " + to + "\r\n";
    out += "Subject: " + headerText(subject, utf8::isValid(subject) ? "UTF-8" : "ISO-8859-1") + "\r\n";
    out += "Date: " + date + "\r\n";
    out += "MIME-Version: 1.0\r\n";
    out += std::string("Content-Type: text/plain; charset=") + charset + "\r\n";
    out += std::string("Content-Transfer-Encoding: ") + (plain ? "7bit" : "8bit") + "\r\n";
    out += "\r\n";
    std::string lines = crlfLines(body);
    size_t start = 0;
    while (start < lines.size()) {
        size_t end = lines.find("\r\n", start);
        if (lines[start] == '.')
            out += '.';
        out.append(lines, start, end + 2 - start);
        start = end + 2;
    }
    return out;
}

bool parseSmtpReplyLine(const std::string &line, int *code, bool *last, std::string *text)
{
    if (line.size() < 3 || !isdigit((unsigned char)line[0]) || !isdigit((unsigned char)line[1]) || !isdigit((unsigned char)line[2]))
        return false;
    if (line.size() > 3 && line[3] != ' ' && line[3] != '-')
        return false;
    int value = (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
    if (value < 200 || value > 599)
        return false;
    *code = value;
    *last = line.size() == 3 || line[3] == ' ';
    *text = line.size() > 4 ? line.substr(4) : std::string();
    return true;
}

} // namespace net
