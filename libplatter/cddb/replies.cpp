// replies.cpp - parses the lines of CDDB and SMTP server answers.
#include "libplatter/cddb/replies.h"
#include "libplatter/cddb/xmcd.h"

#include <cstdlib>

namespace cddb {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Splits off the next blank-separated word at `at`.
std::string nextWord(const std::string &line, size_t *at)
{
    size_t start = line.find_first_not_of(' ', *at);
    if (start == std::string::npos) {
        *at = line.size();
        return std::string();
    }
    size_t end = line.find(' ', start);
    if (end == std::string::npos)
        end = line.size();
    *at = end;
    return line.substr(start, end - start);
}

std::string rest(const std::string &line, size_t at)
{
    size_t start = line.find_first_not_of(' ', at);
    return start == std::string::npos ? std::string() : line.substr(start);
}

bool parseSmallNumber(const std::string &word, int maxDigits, int *value)
{
    if (word.empty() || (int)word.size() > maxDigits)
        return false;
    int v = 0;
    for (char c : word) {
        if (!isDigit(c))
            return false;
        v = v * 10 + (c - '0');
    }
    *value = v;
    return true;
}

bool printable(const std::string &word)
{
    for (unsigned char c : word)
        if (c <= 0x20 || c == 0x7F)
            return false;
    return !word.empty();
}

} // namespace

bool parseStatusLine(const std::string &line, int *code, std::string *text)
{
    if (line.size() < 3 || !isDigit(line[0]) || !isDigit(line[1]) || !isDigit(line[2]))
        return false;
    if (line.size() > 3 && line[3] != ' ')
        return false;
    int value = (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
    if (value < 100 || value > 599)
        return false;
    *code = value;
    *text = line.size() > 4 ? line.substr(4) : std::string();
    return true;
}

bool parseProtoLevels(const std::string &text, int *current, int *supported)
{
    size_t c = text.find("current");
    size_t s = text.find("supported");
    if (c == std::string::npos || s == std::string::npos)
        return false;
    int cur = 0, sup = 0;
    size_t at = c + 7;
    std::string word = nextWord(text, &at);
    if (!word.empty() && word.back() == ',')
        word.pop_back();
    if (!parseSmallNumber(word, 2, &cur))
        return false;
    at = s + 9;
    if (!parseSmallNumber(nextWord(text, &at), 2, &sup))
        return false;
    if (cur < 1 || sup < cur)
        return false;
    *current = cur;
    *supported = sup;
    return true;
}

bool parseMatchLine(const std::string &line, Match *match)
{
    size_t at = 0;
    Match m;
    m.category = nextWord(line, &at);
    if (!isCategoryName(m.category))
        return false;
    if (!parseDiscId(nextWord(line, &at), &m.id))
        return false;
    std::string dtitle = rest(line, at);
    size_t slash = dtitle.find(" / ");
    if (slash == std::string::npos) {
        m.artist = m.title = dtitle;
    } else {
        m.artist = dtitle.substr(0, slash);
        m.title = dtitle.substr(slash + 3);
    }
    *match = m;
    return true;
}

bool parseSiteLine(const std::string &line, Site *site)
{
    size_t at = 0;
    Site s;
    s.host = nextWord(line, &at);
    if (!printable(s.host))
        return false;
    std::string second = nextWord(line, &at);
    if (parseSmallNumber(second, 5, &s.port)) {
        s.protocol = "cddbp";
        s.address = "-";
    } else {
        s.protocol = second;
        if (!printable(s.protocol) || !parseSmallNumber(nextWord(line, &at), 5, &s.port))
            return false;
        s.address = nextWord(line, &at);
        if (!printable(s.address))
            return false;
    }
    if (s.port < 1 || s.port > 65535)
        return false;
    // Latitude and longitude, such as N037.23 and W122.00.
    for (int i = 0; i < 2; ++i) {
        std::string position = nextWord(line, &at);
        if (position.size() < 2 || (position[0] != 'N' && position[0] != 'S' && position[0] != 'E' &&
                                    position[0] != 'W'))
            return false;
    }
    s.description = rest(line, at);
    *site = s;
    return true;
}

bool isCategoryName(const std::string &text)
{
    if (text.empty() || text.size() > 64)
        return false;
    for (unsigned char c : text)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit((char)c) || c == '_' || c == '-'))
            return false;
    return true;
}

bool BodyReader::add(const std::string &line)
{
    if (complete_)
        return false;
    if (line == ".") {
        complete_ = true;
        return false;
    }
    lines_.push_back(line.compare(0, 2, "..") == 0 ? line.substr(1) : line);
    return true;
}

} // namespace cddb
