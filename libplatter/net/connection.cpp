// connection.cpp - bounded TCP conversations over Winsock.
#include "libplatter/net/connection.h"
#include "libplatter/diag.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <atomic>

namespace net {

namespace {

std::atomic<int> connectMs{kDefaultTimeouts.connectMs};
std::atomic<int> readMs{kDefaultTimeouts.readMs};
std::atomic<int> operationMs{kDefaultTimeouts.operationMs};

void logLines(const char *tag, const char *direction, const std::string &text)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        platterDiag("%s %s %s", tag, direction, line.c_str());
        start = end + 1;
    }
}

} // namespace

Timeouts currentTimeouts()
{
    return Timeouts{connectMs.load(), readMs.load(), operationMs.load()};
}

void setTimeouts(const Timeouts &timeouts)
{
    connectMs = timeouts.connectMs > 0 ? timeouts.connectMs : kDefaultTimeouts.connectMs;
    readMs = timeouts.readMs > 0 ? timeouts.readMs : kDefaultTimeouts.readMs;
    operationMs = timeouts.operationMs > 0 ? timeouts.operationMs : kDefaultTimeouts.operationMs;
}

const char *statusName(NetStatus status)
{
    switch (status) {
    case NetStatus::Ok: return "ok";
    case NetStatus::HostNotFound: return "host not found";
    case NetStatus::ConnectFailed: return "cannot connect";
    case NetStatus::TimedOut: return "timed out";
    case NetStatus::Closed: return "connection closed by the server";
    case NetStatus::LineTooLong: return "line too long";
    case NetStatus::Failed: break;
    }
    return "network error";
}

bool isValidHostName(const std::string &host)
{
    if (host.empty() || host.size() > 253)
        return false;
    size_t label = 0;
    char previous = '.';
    for (char c : host) {
        if (c == '.') {
            if (label == 0 || previous == '-')
                return false;
            label = 0;
        } else {
            bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      (c == '-' && label > 0);
            if (!ok || ++label > 63)
                return false;
        }
        previous = c;
    }
    return previous != '-';
}

WinsockUse::WinsockUse()
{
    WSADATA data;
    ok_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

WinsockUse::~WinsockUse()
{
    if (ok_)
        WSACleanup();
}

Connection::Connection(const char *tag) : tag_(tag), socket_((uintptr_t)INVALID_SOCKET), timeouts_(currentTimeouts())
{
}

Connection::~Connection()
{
    close();
}

bool Connection::isOpen() const
{
    return (SOCKET)socket_ != INVALID_SOCKET;
}

void Connection::close()
{
    if (isOpen()) {
        closesocket((SOCKET)socket_);
        socket_ = (uintptr_t)INVALID_SOCKET;
    }
}

int Connection::remainingMs() const
{
    uint64_t now = GetTickCount64();
    return now >= deadline_ ? 0 : (int)(deadline_ - now);
}

NetStatus Connection::open(const std::string &host, int port)
{
    close();
    pending_.clear();
    timeouts_ = currentTimeouts();
    deadline_ = GetTickCount64() + (uint64_t)timeouts_.operationMs;
    if (!winsock_.ok())
        return NetStatus::Failed;
    if (!isValidHostName(host) || port < 1 || port > 65535) {
        platterDiag("%s: \"%s\" port %d is not a server address", tag_, host.c_str(), port);
        return NetStatus::HostNotFound;
    }
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo *found = nullptr;
    std::string service = std::to_string(port);
    if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0 || !found) {
        platterDiag("%s: host %s not found", tag_, host.c_str());
        return NetStatus::HostNotFound;
    }
    NetStatus result = NetStatus::ConnectFailed;
    for (addrinfo *a = found; a && result != NetStatus::Ok; a = a->ai_next) {
        SOCKET s = socket(a->ai_family, a->ai_socktype, a->ai_protocol);
        if (s == INVALID_SOCKET)
            continue;
        u_long nonBlocking = 1;
        ioctlsocket(s, FIONBIO, &nonBlocking);
        int rc = connect(s, a->ai_addr, (int)a->ai_addrlen);
        if (rc != 0 && WSAGetLastError() == WSAEWOULDBLOCK) {
            fd_set writable, failed;
            FD_ZERO(&writable);
            FD_ZERO(&failed);
            FD_SET(s, &writable);
            FD_SET(s, &failed);
            int wait = timeouts_.connectMs < remainingMs() ? timeouts_.connectMs : remainingMs();
            timeval tv = {wait / 1000, (wait % 1000) * 1000};
            rc = select(0, nullptr, &writable, &failed, &tv) == 1 && FD_ISSET(s, &writable) ? 0 : -1;
            if (rc == 0) {
                int error = 0;
                int size = sizeof error;
                getsockopt(s, SOL_SOCKET, SO_ERROR, (char *)&error, &size);
                rc = error == 0 ? 0 : -1;
            }
        }
        if (rc == 0) {
            socket_ = (uintptr_t)s;
            result = NetStatus::Ok;
        } else {
            closesocket(s);
        }
    }
    freeaddrinfo(found);
    if (result != NetStatus::Ok)
        platterDiag("%s: cannot connect to %s port %d", tag_, host.c_str(), port);
    else
        platterDiag("%s: connected to %s port %d", tag_, host.c_str(), port);
    return result;
}

NetStatus Connection::send(const std::string &data, const std::string &logged)
{
    if (!isOpen())
        return NetStatus::Closed;
    logLines(tag_, ">", logged.empty() ? data : logged);
    size_t sent = 0;
    while (sent < data.size()) {
        if (remainingMs() == 0)
            return NetStatus::TimedOut;
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET((SOCKET)socket_, &writable);
        int wait = timeouts_.readMs < remainingMs() ? timeouts_.readMs : remainingMs();
        timeval tv = {wait / 1000, (wait % 1000) * 1000};
        if (select(0, nullptr, &writable, nullptr, &tv) != 1)
            return NetStatus::TimedOut;
        int n = ::send((SOCKET)socket_, data.data() + sent, (int)(data.size() - sent), 0);
        if (n <= 0) {
            if (WSAGetLastError() == WSAEWOULDBLOCK)
                continue;
            return NetStatus::Closed;
        }
        sent += (size_t)n;
    }
    return NetStatus::Ok;
}

NetStatus Connection::waitReadable()
{
    int left = remainingMs();
    if (left == 0)
        return NetStatus::TimedOut;
    int wait = timeouts_.readMs < left ? timeouts_.readMs : left;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET((SOCKET)socket_, &readable);
    timeval tv = {wait / 1000, (wait % 1000) * 1000};
    int rc = select(0, &readable, nullptr, nullptr, &tv);
    if (rc == 0)
        return NetStatus::TimedOut;
    return rc == 1 ? NetStatus::Ok : NetStatus::Failed;
}

NetStatus Connection::fill()
{
    if (!isOpen())
        return NetStatus::Closed;
    for (;;) {
        NetStatus ready = waitReadable();
        if (ready != NetStatus::Ok) {
            if (ready == NetStatus::TimedOut)
                platterDiag("%s: no answer in time", tag_);
            return ready;
        }
        char buffer[4096];
        int n = recv((SOCKET)socket_, buffer, sizeof buffer, 0);
        if (n > 0) {
            pending_.append(buffer, (size_t)n);
            return NetStatus::Ok;
        }
        if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK)
            continue;
        return NetStatus::Closed;
    }
}

NetStatus Connection::readLine(std::string *line, size_t maxBytes)
{
    for (;;) {
        size_t eol = pending_.find('\n');
        if (eol != std::string::npos && eol <= maxBytes + 1) {
            *line = pending_.substr(0, eol);
            if (!line->empty() && line->back() == '\r')
                line->pop_back();
            pending_.erase(0, eol + 1);
            if (line->size() > maxBytes)
                return NetStatus::LineTooLong;
            platterDiag("%s < %s", tag_, line->c_str());
            return NetStatus::Ok;
        }
        if (pending_.size() > maxBytes + 1) {
            platterDiag("%s: a line of the answer is longer than %u bytes", tag_, (unsigned)maxBytes);
            return NetStatus::LineTooLong;
        }
        NetStatus status = fill();
        if (status != NetStatus::Ok) {
            if (status == NetStatus::Closed && !pending_.empty())
                platterDiag("%s: the connection ended inside a line", tag_);
            return status;
        }
    }
}

NetStatus Connection::readMore(std::string *data)
{
    if (pending_.empty()) {
        NetStatus status = fill();
        if (status != NetStatus::Ok)
            return status;
    }
    data->append(pending_);
    pending_.clear();
    return NetStatus::Ok;
}

} // namespace net
