// replies.h - the lines a CDDB server answers with: the status line, the
// protocol level, query matches, server sites and categories; and the body
// of a multi-line answer with its "." terminator. Platform-neutral, so that
// it can be fuzzed.
#ifndef LIBPLATTER_CDDB_REPLIES_H
#define LIBPLATTER_CDDB_REPLIES_H

#include <cstdint>
#include <string>
#include <vector>

namespace cddb {

// The longest reply line taken from a server, in bytes: a 256-character
// line of UTF-8 can take four times as many bytes.
const size_t kMaxReplyLineBytes = 4 * 256;

// "210 rock 12345678 CD database entry follows": code 210 and the text after
// it. False unless the line starts with three digits from 100 to 599
// followed by a blank or the end.
bool parseStatusLine(const std::string &line, int *code, std::string *text);

// Codes whose answer goes on with lines up to a "." line (x1x).
inline bool hasBody(int code) { return code / 10 % 10 == 1; }

// "CDDB protocol level: current 1, supported 6".
bool parseProtoLevels(const std::string &text, int *current, int *supported);

// One match of a query: "rock 12345678 Artist / Title".
struct Match {
    std::string category;
    uint32_t id = 0;
    std::string artist, title;
};
bool parseMatchLine(const std::string &line, Match *match);

// One line of the server list, in either of its forms:
// "host port latitude longitude description" (levels 1 and 2) or
// "host protocol port address latitude longitude description".
struct Site {
    std::string host;
    std::string protocol; // "cddbp" for the older form
    int port = 0;
    std::string address;  // the HTTP path, "-" for cddbp
    std::string description;
};
bool parseSiteLine(const std::string &line, Site *site);

// A category name: one word of printable characters.
bool isCategoryName(const std::string &text);

// Collects the body of a multi-line answer one line at a time. Lines that
// start with ".." lose the first dot; the "." line ends the body.
class BodyReader {
public:
    // False once the body is complete (the line was the terminator).
    bool add(const std::string &line);
    const std::vector<std::string> &lines() const { return lines_; }
    bool complete() const { return complete_; }

private:
    std::vector<std::string> lines_;
    bool complete_ = false;
};

} // namespace cddb

#endif
