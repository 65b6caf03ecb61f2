// httpreply.cpp - parses HTTP responses and http:// URLs.
#include "libplatter/net/httpreply.h"

#include <cstdlib>

namespace net {

namespace {

std::string lower(std::string text)
{
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = (char)(c - 'A' + 'a');
    return text;
}

std::string trim(const std::string &text)
{
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return std::string();
    size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

bool parseDecimal(const std::string &text, size_t maxDigits, long long *value)
{
    if (text.empty() || text.size() > maxDigits)
        return false;
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    *value = v;
    return true;
}

bool parseHex(const std::string &text, size_t maxDigits, long long *value)
{
    if (text.empty() || text.size() > maxDigits)
        return false;
    long long v = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = v * 16 + d;
    }
    *value = v;
    return true;
}

// Joins the chunks of a chunked body that starts at `at`.
HttpState readChunks(const std::string &raw, size_t at, std::string *body, std::string *problem)
{
    std::string joined;
    for (;;) {
        size_t eol = raw.find("\r\n", at);
        if (eol == std::string::npos)
            return raw.size() - at > 64 ? (*problem = "a chunk size line is too long", HttpState::Invalid)
                                        : HttpState::Incomplete;
        std::string sizeText = raw.substr(at, eol - at);
        size_t semicolon = sizeText.find(';');
        if (semicolon != std::string::npos)
            sizeText = sizeText.substr(0, semicolon);
        long long size;
        if (!parseHex(trim(sizeText), 8, &size)) {
            *problem = "a chunk size is not a number";
            return HttpState::Invalid;
        }
        at = eol + 2;
        if (size == 0)
            break;
        if (joined.size() + (size_t)size > kMaxHttpResponseBytes) {
            *problem = "the body is too large";
            return HttpState::Invalid;
        }
        if (raw.size() < at + (size_t)size + 2)
            return HttpState::Incomplete;
        if (raw.compare(at + (size_t)size, 2, "\r\n") != 0) {
            *problem = "a chunk does not end with CR LF";
            return HttpState::Invalid;
        }
        joined.append(raw, at, (size_t)size);
        at += (size_t)size + 2;
    }
    // Trailer fields up to the empty line.
    for (;;) {
        size_t eol = raw.find("\r\n", at);
        if (eol == std::string::npos)
            return HttpState::Incomplete;
        if (eol == at)
            break;
        at = eol + 2;
    }
    *body = joined;
    return HttpState::Complete;
}

} // namespace

HttpState parseHttpResponse(const std::string &raw, bool closed, HttpResponse *response, std::string *problem)
{
    if (raw.size() > kMaxHttpResponseBytes) {
        *problem = "the response is too large";
        return HttpState::Invalid;
    }
    size_t headEnd = raw.find("\r\n\r\n");
    size_t separator = 4;
    if (headEnd == std::string::npos) {
        headEnd = raw.find("\n\n");
        separator = 2;
    }
    if (headEnd == std::string::npos) {
        if (closed) {
            *problem = "the connection ended inside the response head";
            return HttpState::Invalid;
        }
        if (raw.size() > 64 * 1024) {
            *problem = "the response head is too long";
            return HttpState::Invalid;
        }
        return HttpState::Incomplete;
    }
    HttpResponse parsed;
    std::string head = raw.substr(0, headEnd);
    size_t lineStart = 0;
    bool first = true;
    while (lineStart <= head.size()) {
        size_t eol = head.find('\n', lineStart);
        if (eol == std::string::npos)
            eol = head.size();
        std::string line = head.substr(lineStart, eol - lineStart);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lineStart = eol + 1;
        if (first) {
            first = false;
            long long status;
            if (line.compare(0, 7, "HTTP/1.") != 0 || line.size() < 12 || line[8] != ' ' ||
                !parseDecimal(line.substr(9, 3), 3, &status) || (line.size() > 12 && line[12] != ' ') ||
                status < 100) {
                *problem = "the status line is not HTTP/1.x";
                return HttpState::Invalid;
            }
            parsed.status = (int)status;
            continue;
        }
        size_t colon = line.find(':');
        if (colon == std::string::npos || colon == 0) {
            *problem = "a header line has no name";
            return HttpState::Invalid;
        }
        std::string name = lower(trim(line.substr(0, colon)));
        std::string value = trim(line.substr(colon + 1));
        if (parsed.headers.count(name))
            parsed.headers[name] += ", " + value;
        else
            parsed.headers[name] = value;
    }
    size_t bodyStart = headEnd + separator;
    auto encoding = parsed.headers.find("transfer-encoding");
    auto length = parsed.headers.find("content-length");
    if (encoding != parsed.headers.end() && lower(encoding->second).find("chunked") != std::string::npos) {
        HttpState state = readChunks(raw, bodyStart, &parsed.body, problem);
        if (state == HttpState::Incomplete && closed) {
            *problem = "the connection ended inside a chunk";
            return HttpState::Invalid;
        }
        if (state != HttpState::Complete)
            return state;
    } else if (length != parsed.headers.end()) {
        long long bytes;
        if (!parseDecimal(length->second, 9, &bytes) || (size_t)bytes > kMaxHttpResponseBytes) {
            *problem = "the Content-Length is not a usable number";
            return HttpState::Invalid;
        }
        if (raw.size() - bodyStart < (size_t)bytes) {
            if (closed) {
                *problem = "the connection ended before the whole body";
                return HttpState::Invalid;
            }
            return HttpState::Incomplete;
        }
        parsed.body = raw.substr(bodyStart, (size_t)bytes);
    } else {
        if (!closed)
            return HttpState::Incomplete;
        parsed.body = raw.substr(bodyStart);
    }
    *response = parsed;
    return HttpState::Complete;
}

bool parseHttpUrl(const std::string &text, HttpUrl *url)
{
    if (text.size() < 8 || lower(text.substr(0, 7)) != "http://")
        return false;
    HttpUrl parsed;
    size_t hostEnd = text.find_first_of(":/?", 7);
    if (hostEnd == std::string::npos)
        hostEnd = text.size();
    parsed.host = text.substr(7, hostEnd - 7);
    if (parsed.host.empty())
        return false;
    size_t at = hostEnd;
    if (at < text.size() && text[at] == ':') {
        size_t portEnd = text.find_first_of("/?", at + 1);
        if (portEnd == std::string::npos)
            portEnd = text.size();
        long long port;
        if (!parseDecimal(text.substr(at + 1, portEnd - at - 1), 5, &port) || port < 1 || port > 65535)
            return false;
        parsed.port = (int)port;
        at = portEnd;
    }
    parsed.path = at < text.size() ? text.substr(at) : "/";
    if (parsed.path[0] != '/')
        parsed.path = "/" + parsed.path;
    for (unsigned char c : parsed.path)
        if (c <= 0x20 || c >= 0x7F)
            return false;
    *url = parsed;
    return true;
}

std::string urlEncode(const std::string &text)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
            c == '.' || c == '~')
            out += (char)c;
        else if (c == ' ')
            out += '+';
        else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

} // namespace net
