// connection.h - one TCP conversation with a server, every wait bounded:
// the connect, each read, and the whole operation (so that a server that
// drips one byte a second still ends as a failure). Every line sent and
// received goes to the diagnostics log, tagged with the protocol's name.
#ifndef LIBPLATTER_NET_CONNECTION_H
#define LIBPLATTER_NET_CONNECTION_H

#include <cstdint>
#include <string>

namespace net {

// Time-outs in milliseconds; see platter_net_set_timeouts.
struct Timeouts {
    int connectMs;
    int readMs;
    int operationMs;
};
const Timeouts kDefaultTimeouts = {10000, 30000, 60000};
Timeouts currentTimeouts();
void setTimeouts(const Timeouts &timeouts);

enum class NetStatus {
    Ok,
    HostNotFound,  // the name does not resolve (or is no host name at all)
    ConnectFailed, // refused, unreachable, or no answer within the connect time-out
    TimedOut,      // a read, or the whole operation, ran out of time
    Closed,        // the server ended the conversation
    LineTooLong,   // a line longer than the caller allows
    Failed         // any other socket error
};
const char *statusName(NetStatus status);

// True when `host` is a dotted IPv4 address or a syntactically valid host
// name (letters, digits and hyphens in labels of 1..63, 253 in all).
bool isValidHostName(const std::string &host);

// Keeps Winsock started while alive (it counts its users).
class WinsockUse {
public:
    WinsockUse();
    ~WinsockUse();
    bool ok() const { return ok_; }

private:
    bool ok_;
};

class Connection {
public:
    // `tag` names the protocol in the diagnostics lines ("CDDB", "SMTP", "HTTP").
    explicit Connection(const char *tag);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Resolves and connects; the operation's clock starts here.
    NetStatus open(const std::string &host, int port);
    // Sends every byte. `logged` is what the diagnostics show (the text
    // itself unless empty); a multi-line text is logged line by line.
    NetStatus send(const std::string &data, const std::string &logged = std::string());
    // One line without its CR LF; at most `maxBytes` bytes.
    NetStatus readLine(std::string *line, size_t maxBytes);
    // Whatever arrives next, appended to `data`; Closed at the end.
    NetStatus readMore(std::string *data);
    void close();
    bool isOpen() const;

private:
    NetStatus waitReadable();
    NetStatus fill();
    int remainingMs() const;

    const char *tag_;
    uintptr_t socket_;
    std::string pending_;
    uint64_t deadline_ = 0;
    Timeouts timeouts_;
    WinsockUse winsock_;
};

} // namespace net

#endif
