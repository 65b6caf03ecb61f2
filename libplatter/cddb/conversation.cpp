// conversation.cpp - speaks to a CDDB server over its own protocol or HTTP.
#include "libplatter/cddb/conversation.h"
#include "libplatter/diag.h"
#include "libplatter/net/httpclient.h"

#include <winsock2.h>
#include <windows.h>

namespace cddb {

namespace {

const char kDefaultScript[] = "/~cddb/cddb.cgi";
const size_t kMaxBodyLines = 20000;

// A word of the hello line: no blanks, printable ASCII only.
std::string helloWord(const std::string &text, const char *fallback)
{
    std::string word;
    for (char c : text)
        word += (c > 0x20 && c < 0x7F) ? c : '_';
    return word.empty() ? fallback : word.substr(0, 64);
}

std::string userName()
{
    char name[257] = "";
    DWORD size = sizeof name;
    if (!GetUserNameA(name, &size))
        name[0] = 0;
    return helloWord(name, "user");
}

std::string hostName()
{
    char name[256] = "";
    if (gethostname(name, sizeof name) != 0)
        name[0] = 0;
    return helloWord(name, "localhost");
}

bool hasExplicitPort(const std::string &url)
{
    size_t colon = url.find(':', 7), slash = url.find('/', 7);
    return colon != std::string::npos && (slash == std::string::npos || colon < slash);
}

} // namespace

int resultOf(net::NetStatus status)
{
    switch (status) {
    case net::NetStatus::Ok: return 1;
    case net::NetStatus::HostNotFound: return PLATTER_CDDB_NO_SERVER;
    case net::NetStatus::ConnectFailed: return PLATTER_CDDB_NO_CONNECT;
    case net::NetStatus::TimedOut: return PLATTER_CDDB_TIMEOUT;
    default: return PLATTER_CDDB_PROTOCOL;
    }
}

Conversation::Conversation(const Session &session) : session_(session), link_("CDDB")
{
    net::WinsockUse winsock; // gethostname needs Winsock started
    hello_ = userName() + " " + hostName() + " " + helloWord(session.program, "Platter") + " " +
             helloWord(session.version, "1");
}

Conversation::~Conversation()
{
    // A server that misbehaved gets no goodbye: waiting for its answer
    // would only stretch the failure.
    if (link_.isOpen() && healthy_) {
        link_.send("quit\r\n");
        std::string line;
        link_.readLine(&line, kMaxReplyLineBytes);
    }
}

int Conversation::start()
{
    const std::string &host = session_.host;
    if (host.empty())
        return PLATTER_CDDB_NOT_READY;
    net::HttpUrl url;
    if (!session_.proxyTarget.empty()) {
        http_ = proxied_ = true;
        connectHost_ = host;
        connectPort_ = session_.port > 0 ? session_.port : 80;
        if (net::parseHttpUrl(session_.proxyTarget, &url)) {
            targetHost_ = url.host;
            targetPort_ = url.port;
            path_ = url.path;
        } else {
            targetHost_ = session_.proxyTarget;
        }
        platterStatus("Connecting to %s through the proxy %s...", targetHost_.c_str(), connectHost_.c_str());
    } else if (_strnicmp(host.c_str(), "http://", 7) == 0) {
        if (!net::parseHttpUrl(host, &url))
            return PLATTER_CDDB_NO_SERVER;
        http_ = true;
        connectHost_ = targetHost_ = url.host;
        connectPort_ = targetPort_ = hasExplicitPort(host) || session_.port <= 0 ? url.port : session_.port;
        path_ = url.path;
        platterStatus("Connecting to %s...", connectHost_.c_str());
    } else {
        http_ = session_.port == 80 || session_.port == 8080;
        connectHost_ = targetHost_ = host;
        connectPort_ = targetPort_ = session_.port;
        platterStatus("Connecting to %s...", host.c_str());
    }
    if (path_.empty() || path_ == "/")
        path_ = kDefaultScript;
    if (!http_) {
        int result = startCddbp();
        healthy_ = result == 1;
        return result;
    }
    level_ = kHighestLevel;
    return 1;
}

int Conversation::simple(const std::string &command, Reply *reply)
{
    net::NetStatus status = link_.send(command + "\r\n");
    if (status != net::NetStatus::Ok)
        return resultOf(status);
    return readReply(reply);
}

int Conversation::startCddbp()
{
    net::NetStatus status = link_.open(connectHost_, connectPort_);
    if (status != net::NetStatus::Ok)
        return resultOf(status);
    Reply greeting;
    int result = readReply(&greeting);
    if (result != 1)
        return result;
    if (greeting.code == 432 || greeting.code == 433 || greeting.code == 434) {
        platterDiag("CDDB: the server refuses connections: %s", greeting.text.c_str());
        return PLATTER_CDDB_REFUSED;
    }
    if (greeting.code != 200 && greeting.code != 201)
        return PLATTER_CDDB_PROTOCOL;

    Reply hello;
    if ((result = simple("cddb hello " + hello_, &hello)) != 1)
        return result;
    if (hello.code == 431)
        return PLATTER_CDDB_REFUSED;
    if (hello.code != 200 && hello.code != 402)
        return PLATTER_CDDB_PROTOCOL;

    Reply proto;
    if ((result = simple("proto", &proto)) != 1)
        return result;
    int current, supported;
    if (proto.code == 200 && parseProtoLevels(proto.text, &current, &supported)) {
        level_ = current;
        int wanted = supported < kHighestLevel ? supported : kHighestLevel;
        if (wanted > current) {
            Reply raised;
            if ((result = simple("proto " + std::to_string(wanted), &raised)) != 1)
                return result;
            if (raised.code == 201 || raised.code == 502)
                level_ = wanted;
        }
    } else if (proto.code / 100 == 2) {
        return PLATTER_CDDB_PROTOCOL;
    }
    // A server too old to know "proto" stays at level 1.
    platterDiag("CDDB: protocol level %d", level_);
    return 1;
}

int Conversation::readReply(Reply *reply)
{
    std::string line;
    net::NetStatus status = link_.readLine(&line, kMaxReplyLineBytes);
    if (status != net::NetStatus::Ok)
        return resultOf(status);
    Reply parsed;
    if (!parseStatusLine(line, &parsed.code, &parsed.text)) {
        platterDiag("CDDB: \"%.60s\" is no CDDB reply", line.c_str());
        return PLATTER_CDDB_PROTOCOL;
    }
    if (hasBody(parsed.code)) {
        BodyReader body;
        do {
            if ((status = link_.readLine(&line, kMaxReplyLineBytes)) != net::NetStatus::Ok)
                return resultOf(status);
            if (body.lines().size() > kMaxBodyLines)
                return PLATTER_CDDB_PROTOCOL;
        } while (body.add(line));
        parsed.body = body.lines();
    }
    *reply = parsed;
    return 1;
}

int Conversation::run(const std::string &command, Reply *reply)
{
    int result = http_ ? runHttp(command, reply) : simple(command, reply);
    healthy_ = healthy_ && result == 1;
    return result;
}

int Conversation::runHttp(const std::string &command, Reply *reply)
{
    for (;;) {
        std::string target = path_ + "?cmd=" + net::urlEncode(command) + "&hello=" + net::urlEncode(hello_) +
                             "&proto=" + std::to_string(level_);
        std::string hostField = targetHost_ + (targetPort_ == 80 ? std::string() : ":" + std::to_string(targetPort_));
        std::string request = "GET " + (proxied_ ? "http://" + hostField + target : target) + " HTTP/1.0\r\n";
        request += "Host: " + hostField + "\r\n";
        request += "User-Agent: " + helloWord(session_.program, "Platter") + "/" + helloWord(session_.version, "1") +
                   "\r\n";
        request += "Accept: text/plain\r\nConnection: close\r\n\r\n";
        net::HttpResponse response;
        std::string problem;
        switch (net::httpExchange(connectHost_, connectPort_, request, &response, &problem)) {
        case net::HttpOutcome::Ok: break;
        case net::HttpOutcome::HostNotFound: return PLATTER_CDDB_NO_SERVER;
        case net::HttpOutcome::ConnectFailed: return PLATTER_CDDB_NO_CONNECT;
        case net::HttpOutcome::TimedOut: return PLATTER_CDDB_TIMEOUT;
        case net::HttpOutcome::Invalid: return PLATTER_CDDB_PROTOCOL;
        }
        if (response.status != 200) {
            platterDiag("CDDB: HTTP status %d", response.status);
            // A proxy that cannot reach the server says so with 502, 503 or 504.
            if (proxied_ && response.status >= 502 && response.status <= 504)
                return PLATTER_CDDB_NO_CONNECT;
            if (response.status == 403 || response.status == 407)
                return PLATTER_CDDB_REFUSED;
            return PLATTER_CDDB_PROTOCOL;
        }
        std::vector<std::string> lines;
        size_t start = 0;
        const std::string &body = response.body;
        while (start < body.size()) {
            size_t end = body.find('\n', start);
            if (end == std::string::npos)
                end = body.size();
            std::string line = body.substr(start, end - start);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.size() > kMaxReplyLineBytes) {
                platterDiag("CDDB: a line of the answer is longer than %u bytes", (unsigned)kMaxReplyLineBytes);
                return PLATTER_CDDB_PROTOCOL;
            }
            platterDiag("CDDB < %s", line.c_str());
            lines.push_back(line);
            start = end + 1;
        }
        Reply parsed;
        if (lines.empty() || !parseStatusLine(lines[0], &parsed.code, &parsed.text))
            return PLATTER_CDDB_PROTOCOL;
        if (parsed.code == 501 && level_ > 1) {
            --level_; // this server stops at a lower level
            continue;
        }
        if (hasBody(parsed.code)) {
            BodyReader reader;
            size_t i = 1;
            while (i < lines.size() && reader.add(lines[i]))
                ++i;
            if (!reader.complete() || reader.lines().size() > kMaxBodyLines) {
                platterDiag("CDDB: the answer ended without its \".\" line");
                return PLATTER_CDDB_PROTOCOL;
            }
            parsed.body = reader.lines();
        }
        *reply = parsed;
        return 1;
    }
}

} // namespace cddb
