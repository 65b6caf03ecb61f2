// xmcd.cpp - parses and writes CDDB entries in the xmcd file format.
#include "libplatter/cddb/xmcd.h"
#include "libplatter/utf8.h"

#include <cstdio>
#include <map>

namespace cddb {

namespace {

const char kSignature[] = "xmcd";

bool startsWithNoCase(const std::string &text, size_t at, const char *prefix)
{
    for (size_t i = 0; prefix[i]; ++i) {
        if (at + i >= text.size())
            return false;
        char a = text[at + i], b = prefix[i];
        if (a >= 'A' && a <= 'Z')
            a = (char)(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z')
            b = (char)(b - 'A' + 'a');
        if (a != b)
            return false;
    }
    return true;
}

std::string trim(const std::string &text)
{
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return std::string();
    size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

// A decimal number of 1..maxDigits digits and nothing else.
bool parseDecimal(const std::string &text, size_t maxDigits, int *value)
{
    if (text.empty() || text.size() > maxDigits)
        return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    *value = v;
    return true;
}

// "N seconds", "N secs" or just "N".
bool parseLeadingNumber(const std::string &text, int *value)
{
    size_t end = 0;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    return parseDecimal(text.substr(0, end), 7, value);
}

std::vector<std::string> splitLines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        start = 3;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool isBlank(const std::string &line)
{
    return line.find_first_not_of(" \t") == std::string::npos;
}

bool isSignature(const std::string &line)
{
    if (line.empty() || line[0] != '#')
        return false;
    size_t at = line.find_first_not_of(" \t", 1);
    return at != std::string::npos && startsWithNoCase(line, at, kSignature);
}

std::string lineProblem(size_t index, const char *what)
{
    char text[96];
    snprintf(text, sizeof text, "line %u %s", (unsigned)(index + 1), what);
    return text;
}

// The keyword lines of an entry, values still escaped and joined.
struct RawEntry {
    bool inOffsets = false;
    bool haveTitle = false;
    std::string discIds, dtitle, year, genre, extd, playOrder;
    std::map<int, std::string> titles, texts;
};

void readComment(const std::string &line, RawEntry *raw, XmcdEntry *entry)
{
    std::string content = trim(line.substr(1));
    int number = 0;
    if (raw->inOffsets) {
        if (parseDecimal(content, 7, &number)) {
            entry->offsets.push_back(number);
            return;
        }
        raw->inOffsets = false;
    }
    if (startsWithNoCase(content, 0, "Track frame offsets:"))
        raw->inOffsets = true;
    else if (startsWithNoCase(content, 0, "Disc length:"))
        parseLeadingNumber(trim(content.substr(12)), &entry->discLengthSeconds);
    else if (startsWithNoCase(content, 0, "Revision:"))
        parseLeadingNumber(trim(content.substr(9)), &entry->revision);
    else if (startsWithNoCase(content, 0, "Submitted via:"))
        entry->submittedVia = trim(content.substr(14));
}

// A numbered keyword such as TTITLE12: its number, or -1.
int trackNumberOf(const std::string &key, const char *prefix)
{
    size_t length = std::string(prefix).size();
    if (key.compare(0, length, prefix) != 0)
        return -1;
    int n = -1;
    if (!parseDecimal(key.substr(length), 2, &n) || n >= kMaxEntryTracks)
        return -2;
    return n;
}

bool readKeyword(const std::string &line, RawEntry *raw, std::string *problem, size_t index)
{
    size_t eq = line.find('=');
    if (eq == std::string::npos || eq == 0) {
        *problem = lineProblem(index, "is neither a comment nor a keyword");
        return false;
    }
    std::string key = line.substr(0, eq);
    for (char c : key)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
            *problem = lineProblem(index, "has a malformed keyword");
            return false;
        }
    std::string value = line.substr(eq + 1);
    int n;
    if (key == "DISCID") {
        if (!raw->discIds.empty() && !value.empty())
            raw->discIds += ',';
        raw->discIds += value;
    } else if (key == "DTITLE") {
        raw->dtitle += value;
        raw->haveTitle = true;
    } else if (key == "DYEAR") {
        raw->year += value;
    } else if (key == "DGENRE") {
        raw->genre += value;
    } else if (key == "EXTD") {
        raw->extd += value;
    } else if (key == "PLAYORDER") {
        raw->playOrder += value;
    } else if ((n = trackNumberOf(key, "TTITLE")) != -1) {
        if (n < 0) {
            *problem = lineProblem(index, "names a track beyond 99");
            return false;
        }
        raw->titles[n] += value;
    } else if ((n = trackNumberOf(key, "EXTT")) != -1) {
        if (n < 0) {
            *problem = lineProblem(index, "names a track beyond 99");
            return false;
        }
        raw->texts[n] += value;
    }
    // Other keywords belong to later versions of the format: skipped.
    return true;
}

bool readDiscIds(const std::string &list, std::vector<uint32_t> *ids, std::string *problem)
{
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string::npos)
            end = list.size();
        std::string item = trim(list.substr(start, end - start));
        if (!item.empty()) {
            uint32_t id;
            if (!parseDiscId(item, &id)) {
                *problem = "DISCID holds \"" + item.substr(0, 16) + "\", which is no disc id";
                return false;
            }
            ids->push_back(id);
        }
        start = end + 1;
    }
    if (ids->empty()) {
        *problem = "the entry has no DISCID";
        return false;
    }
    return true;
}

void readPlayOrder(const std::string &list, int trackCount, std::vector<int> *order)
{
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string::npos)
            end = list.size();
        int track;
        if (parseDecimal(trim(list.substr(start, end - start)), 2, &track) && track >= 1 && track <= trackCount)
            order->push_back(track);
        start = end + 1;
    }
}

bool finishEntry(RawEntry &raw, XmcdEntry *entry, std::string *problem)
{
    if (!readDiscIds(raw.discIds, &entry->discIds, problem))
        return false;
    if (!raw.haveTitle) {
        *problem = "the entry has no DTITLE";
        return false;
    }
    int count = entry->offsets.empty() ? (raw.titles.empty() ? 0 : raw.titles.rbegin()->first + 1)
                                       : (int)entry->offsets.size();
    if (count < 1 || count > kMaxEntryTracks) {
        *problem = "the entry has no tracks, or more than 99";
        return false;
    }
    for (size_t i = 1; i < entry->offsets.size(); ++i)
        if (entry->offsets[i] <= entry->offsets[i - 1]) {
            *problem = "the track frame offsets do not increase";
            return false;
        }
    if ((int)raw.titles.size() != count || raw.titles.rbegin()->first != count - 1 ||
        (!raw.texts.empty() && raw.texts.rbegin()->first >= count)) {
        char text[96];
        snprintf(text, sizeof text, "the entry announces %d tracks but lists %u track titles", count,
                 (unsigned)raw.titles.size());
        *problem = text;
        return false;
    }
    std::string dtitle = unescapeValue(raw.dtitle);
    size_t slash = dtitle.find(" / ");
    if (slash == std::string::npos) {
        entry->artist = entry->title = trim(dtitle);
    } else {
        entry->artist = trim(dtitle.substr(0, slash));
        entry->title = trim(dtitle.substr(slash + 3));
    }
    entry->year = unescapeValue(raw.year);
    entry->genre = unescapeValue(raw.genre);
    entry->discText = unescapeValue(raw.extd);
    entry->trackTitles.assign(count, std::string());
    entry->trackTexts.assign(count, std::string());
    for (auto &title : raw.titles)
        entry->trackTitles[title.first] = unescapeValue(title.second);
    for (auto &text : raw.texts)
        entry->trackTexts[text.first] = unescapeValue(text.second);
    readPlayOrder(raw.playOrder, count, &entry->playOrder);
    return true;
}

} // namespace

bool parseDiscId(const std::string &text, uint32_t *id)
{
    if (text.size() != 8)
        return false;
    uint32_t v = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        v = v << 4 | (uint32_t)digit;
    }
    *id = v;
    return true;
}

std::string discIdText(uint32_t id)
{
    char text[9];
    snprintf(text, sizeof text, "%08x", (unsigned)id);
    return text;
}

std::string escapeValue(const std::string &value)
{
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if ((unsigned char)c >= 0x20)
            out += c;
        // Other control characters (a stray CR) have no place in a value.
    }
    return out;
}

std::string unescapeValue(const std::string &raw)
{
    std::string out;
    out.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size()) {
            char next = raw[i + 1];
            if (next == 'n' || next == 't' || next == '\\') {
                out += next == 'n' ? '\n' : next == 't' ? '\t' : '\\';
                ++i;
                continue;
            }
        }
        out += raw[i];
    }
    return out;
}

bool parseXmcd(const std::string &text, XmcdEntry *entry, std::string *problem)
{
    std::vector<std::string> lines = splitLines(text);
    size_t first = 0;
    while (first < lines.size() && isBlank(lines[first]))
        ++first;
    if (first == lines.size() || !isSignature(lines[first])) {
        *problem = "the text does not start with \"# xmcd\"";
        return false;
    }
    XmcdEntry parsed;
    RawEntry raw;
    for (size_t i = first; i < lines.size(); ++i) {
        const std::string &line = lines[i];
        if (utf8::characterCount(line) > kMaxLineChars) {
            *problem = lineProblem(i, "is longer than 256 characters");
            return false;
        }
        for (unsigned char c : line)
            if (c < 0x20 && c != '\t') {
                *problem = lineProblem(i, "holds a control character");
                return false;
            }
        if (isBlank(line))
            continue;
        if (line[0] == '#') {
            readComment(line, &raw, &parsed);
            continue;
        }
        raw.inOffsets = false;
        if (!readKeyword(line, &raw, problem, i))
            return false;
    }
    if (!finishEntry(raw, &parsed, problem))
        return false;
    *entry = parsed;
    return true;
}

namespace {

// Comments hold printable ASCII only.
std::string commentText(const std::string &text)
{
    std::string out;
    for (char c : text)
        out += (c >= 0x20 && c <= 0x7E) ? c : '_';
    return out.substr(0, kMaxWrittenLineChars - 20);
}

// KEY=value over as many lines as the limit needs, never cutting an escape
// or a character in two.
void writeKeyword(std::string *out, const std::string &key, const std::string &value)
{
    std::string escaped = escapeValue(value);
    bool wellFormed = utf8::isValid(escaped);
    size_t budget = kMaxWrittenLineChars - key.size() - 1;
    size_t at = 0;
    do {
        size_t end = at, chars = 0;
        while (end < escaped.size()) {
            size_t unit = escaped[end] == '\\' ? 2 : wellFormed ? utf8::sequenceLength((unsigned char)escaped[end]) : 1;
            size_t unitChars = escaped[end] == '\\' ? 2 : 1;
            if (chars + unitChars > budget)
                break;
            end += unit;
            chars += unitChars;
        }
        *out += key + "=" + escaped.substr(at, end - at) + "\n";
        at = end;
    } while (at < escaped.size());
}

} // namespace

std::string writeXmcd(const XmcdEntry &entry)
{
    std::string out = "# xmcd\n#\n";
    if (!entry.offsets.empty()) {
        out += "# Track frame offsets:\n";
        for (int offset : entry.offsets)
            out += "#\t" + std::to_string(offset) + "\n";
        out += "#\n# Disc length: " + std::to_string(entry.discLengthSeconds) + " seconds\n#\n";
    }
    out += "# Revision: " + std::to_string(entry.revision) + "\n";
    if (!entry.submittedVia.empty())
        out += "# Submitted via: " + commentText(entry.submittedVia) + "\n";
    out += "#\n";

    // DISCID lines are joined with commas when read back.
    std::string ids;
    for (uint32_t id : entry.discIds) {
        if (ids.size() + 9 > kMaxWrittenLineChars - 7) {
            out += "DISCID=" + ids + "\n";
            ids.clear();
        }
        ids += (ids.empty() ? "" : ",") + discIdText(id);
    }
    out += "DISCID=" + ids + "\n";

    // Without the separator the artist and the title read alike; that also
    // keeps a self-titled entry whose name ends in " /" readable.
    std::string dtitle;
    if (entry.artist == entry.title)
        dtitle = entry.artist;
    else
        dtitle = entry.artist + " / " + entry.title;
    writeKeyword(&out, "DTITLE", dtitle);
    writeKeyword(&out, "DYEAR", entry.year);
    writeKeyword(&out, "DGENRE", entry.genre);
    for (size_t n = 0; n < entry.trackTitles.size(); ++n)
        writeKeyword(&out, "TTITLE" + std::to_string(n), entry.trackTitles[n]);
    writeKeyword(&out, "EXTD", entry.discText);
    for (size_t n = 0; n < entry.trackTitles.size(); ++n)
        writeKeyword(&out, "EXTT" + std::to_string(n), n < entry.trackTexts.size() ? entry.trackTexts[n] : "");
    std::string order;
    for (int track : entry.playOrder)
        order += (order.empty() ? "" : ",") + std::to_string(track);
    writeKeyword(&out, "PLAYORDER", order);
    return out;
}

std::string rangeFileMarker(uint32_t id)
{
    return "#FILENAME=" + discIdText(id);
}

bool splitRangeFile(const std::string &text, std::vector<RangeFileEntry> *entries, std::string *problem)
{
    std::vector<RangeFileEntry> found;
    std::vector<std::string> lines = splitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string &line = lines[i];
        if (line.compare(0, 10, "#FILENAME=") == 0) {
            RangeFileEntry entry;
            if (!parseDiscId(trim(line.substr(10)), &entry.id)) {
                *problem = lineProblem(i, "names no disc id after #FILENAME=");
                return false;
            }
            found.push_back(entry);
        } else if (found.empty()) {
            if (!isBlank(line)) {
                *problem = lineProblem(i, "comes before the first #FILENAME= line");
                return false;
            }
        } else {
            found.back().text += line + "\n";
        }
    }
    *entries = found;
    return true;
}

} // namespace cddb
