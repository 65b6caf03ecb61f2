// conversation.h - one exchange with a CDDB server. Over the CDDB server
// protocol it is one connection: the greeting, "cddb hello", the protocol
// level raised as far as the server goes (at most 6), the commands, "quit".
// Over HTTP every command is a GET of the server's cddb.cgi with cmd, hello
// and proto; a server that refuses level 6 is asked again one level lower.
#ifndef LIBPLATTER_CDDB_CONVERSATION_H
#define LIBPLATTER_CDDB_CONVERSATION_H

#include "libplatter/cddb/session.h"
#include "libplatter/net/connection.h"

#include <string>
#include <vector>

namespace cddb {

const int kHighestLevel = 6;

struct Reply {
    int code = 0;
    std::string text;
    std::vector<std::string> body;
};

class Conversation {
public:
    explicit Conversation(const Session &session);
    ~Conversation();
    // Connects (the CDDB protocol) or checks the address (HTTP): 1 or a failure.
    int start();
    // One command and its whole answer: 1 or a failure (a reply of any
    // code is 1; the caller reads the code).
    int run(const std::string &command, Reply *reply);
    // The charset of the server's texts at the level in force.
    Charset charset() const { return level_ >= 6 ? Charset::Utf8 : Charset::Latin1; }
    int level() const { return level_; }

private:
    int startCddbp();
    int readReply(Reply *reply);
    int runHttp(const std::string &command, Reply *reply);
    int simple(const std::string &command, Reply *reply);

    const Session &session_;
    bool http_ = false;
    bool proxied_ = false;
    std::string connectHost_;
    int connectPort_ = 0;
    std::string targetHost_;
    int targetPort_ = 80;
    std::string path_;
    std::string hello_; // user host program version
    int level_ = 1;
    bool healthy_ = true;
    net::Connection link_;
};

// A network status as a CDDB result.
int resultOf(net::NetStatus status);

} // namespace cddb

#endif
