// hlpreader.cpp - the tests' own WinHelp 3.1 reader (see hlpreader.h).
#include "help/hlpreader.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>

namespace hlp {

namespace {

const uint32_t none = 0xFFFFFFFF;

// Bounds-checked little-endian reads over a byte string.
class Bytes {
public:
    Bytes(const std::string &data, const char *what) : data_(data), what_(what) {}
    size_t size() const { return data_.size(); }
    void need(size_t at, size_t n) const
    {
        if (at > data_.size() || n > data_.size() - at)
            fail("reads past the end at " + std::to_string(at));
    }
    uint8_t u8(size_t at) const
    {
        need(at, 1);
        return static_cast<uint8_t>(data_[at]);
    }
    uint16_t u16(size_t at) const { return static_cast<uint16_t>(u8(at) | u8(at + 1) << 8); }
    int16_t i16(size_t at) const { return static_cast<int16_t>(u16(at)); }
    uint32_t u32(size_t at) const { return u16(at) | static_cast<uint32_t>(u16(at + 2)) << 16; }
    std::string stringz(size_t at) const
    {
        size_t end = data_.find('\0', at);
        if (at > data_.size() || end == std::string::npos)
            fail("string without its NUL at " + std::to_string(at));
        return data_.substr(at, end - at);
    }
    std::string slice(size_t at, size_t n) const
    {
        need(at, n);
        return data_.substr(at, n);
    }
    [[noreturn]] void fail(const std::string &why) const { throw FormatError(std::string(what_) + ": " + why); }

private:
    const std::string &data_;
    const char *what_;
};

// Compressed numbers of the text records: the low bit says whether the
// value takes the short or the long form.
uint16_t compressedUnsignedShort(const Bytes &b, size_t &at)
{
    uint8_t first = b.u8(at);
    if (first & 1) {
        uint16_t v = b.u16(at);
        at += 2;
        return v >> 1;
    }
    at += 1;
    return first >> 1;
}

int16_t compressedShort(const Bytes &b, size_t &at)
{
    uint8_t first = b.u8(at);
    if (first & 1) {
        uint16_t v = b.u16(at);
        at += 2;
        return static_cast<int16_t>((v >> 1) - 0x4000);
    }
    at += 1;
    return static_cast<int16_t>((first >> 1) - 0x40);
}

int32_t compressedLong(const Bytes &b, size_t &at)
{
    if (b.u8(at) & 1) {
        uint32_t v = b.u32(at);
        at += 4;
        return static_cast<int32_t>(v >> 1) - 0x40000000;
    }
    uint16_t v = b.u16(at);
    at += 2;
    return static_cast<int32_t>(v >> 1) - 0x4000;
}

// Walks a B+ tree stored in `file` (an internal file's content). For each
// leaf entry in key order `leaf` is called with its offset and returns its
// length; `indexKey` gives the length of an index page's key. Index pages
// are checked against the first key of the page they point to.
void walkTree(const std::string &file, const char *what, const std::function<size_t(const Bytes &, size_t)> &leaf,
              const std::function<size_t(const Bytes &, size_t)> &indexKey)
{
    Bytes b(file, what);
    if (b.u16(0) != 0x293B)
        b.fail("no B+ tree magic");
    const size_t pageSize = b.u16(4);
    const int root = b.u16(26);
    const int levels = b.u16(32);
    const int pageCount = b.u16(30);
    const uint32_t entryCount = b.u32(34);
    const size_t pages = 38;
    if (pageSize < 16 || levels < 1 || root >= pageCount)
        b.fail("bad B+ tree header");
    b.need(pages, pageSize * pageCount);
    auto pageAt = [&](int page) {
        if (page < 0 || page >= pageCount)
            b.fail("page " + std::to_string(page) + " out of range");
        return pages + pageSize * page;
    };

    // Leaves reached through the index, left to right, with the key each
    // index entry promised for them.
    std::vector<std::pair<int, std::string>> leavesByIndex;
    std::function<void(int, int, const std::string &)> descend = [&](int page, int level, const std::string &key) {
        size_t at = pageAt(page);
        if (level == levels) {
            leavesByIndex.emplace_back(page, key);
            return;
        }
        int n = b.i16(at + 2);
        descend(b.i16(at + 4), level + 1, key);
        size_t p = at + 6;
        for (int i = 0; i < n; ++i) {
            size_t len = indexKey(b, p);
            std::string k = b.slice(p, len);
            descend(b.i16(p + len), level + 1, k);
            p += len + 2;
        }
        if (p > at + pageSize)
            b.fail("index page overflows");
    };
    descend(root, 1, "");

    // The leaves' own chain must list the same pages.
    uint32_t seen = 0;
    int previous = -1;
    int page = leavesByIndex.front().first;
    for (size_t i = 0; i < leavesByIndex.size(); ++i) {
        if (page != leavesByIndex[i].first)
            b.fail("leaf chain and index disagree");
        size_t at = pageAt(page);
        if (b.i16(at + 4) != previous)
            b.fail("leaf page " + std::to_string(page) + " names the wrong previous page");
        int n = b.i16(at + 2);
        size_t p = at + 8;
        for (int e = 0; e < n; ++e) {
            if (e == 0 && i > 0) {
                const std::string &key = leavesByIndex[i].second;
                if (b.slice(p, key.size()) != key)
                    b.fail("an index key is not its page's first key");
            }
            p += leaf(b, p);
            ++seen;
        }
        if (p > at + pageSize || b.u16(at) != at + pageSize - p)
            b.fail("leaf page " + std::to_string(page) + " miscounts its free bytes");
        previous = page;
        page = b.i16(at + 6);
    }
    if (page != -1)
        b.fail("the last leaf has a next page");
    if (seen != entryCount)
        b.fail("holds " + std::to_string(seen) + " entries, its header says " + std::to_string(entryCount));
}

} // namespace

uint32_t contextHash(const std::string &name)
{
    uint32_t hash = 0;
    for (char c : name) {
        uint32_t x = 0;
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c >= 'A' && c <= 'Z')
            x = c - 'A' + 17;
        else if (c >= '1' && c <= '9')
            x = c - '0';
        else if (c == '0')
            x = 10;
        else if (c == '.')
            x = 12;
        else if (c == '_')
            x = 13;
        hash = hash * 43 + x;
    }
    return hash;
}

std::string readFileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw FormatError("cannot open " + path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string Topic::text() const
{
    std::string all;
    for (const std::string &p : paragraphs) {
        if (!all.empty())
            all += ' ';
        for (char c : p)
            all += (c == '\t' || c == '\n') ? ' ' : c;
    }
    return all;
}

HelpFile::HelpFile(const std::string &bytes) : bytes_(bytes)
{
    Bytes b(bytes_, "file");
    if (b.u32(0) != 0x00035F3F)
        b.fail("no help file magic");
    if (b.u32(12) != bytes_.size())
        b.fail("header gives size " + std::to_string(b.u32(12)) + ", file has " + std::to_string(bytes_.size()));
    uint32_t dir = b.u32(4);
    uint32_t used = b.u32(dir + 4);
    if (b.u32(dir) < used + 9)
        b.fail("directory larger than its room");
    std::string directory = b.slice(dir + 9, used);

    std::string lastName;
    walkTree(
        directory, "directory",
        [&](const Bytes &d, size_t at) {
            std::string name = d.stringz(at);
            uint32_t offset = d.u32(at + name.size() + 1);
            if (!lastName.empty() && !(lastName < name))
                d.fail("names out of order at " + name);
            lastName = name;
            fileNames.push_back(name);
            directory_[name] = offset;
            return name.size() + 5;
        },
        [](const Bytes &d, size_t at) { return d.stringz(at).size() + 1; });

    readSystem();
    readFonts();
    readTopics();

    std::string map = internalFile("|CTXOMAP");
    Bytes m(map, "|CTXOMAP");
    int n = m.u16(0);
    if (map.size() != 2 + 8u * n)
        m.fail("size does not match its count");
    for (int i = 0; i < n; ++i)
        if (!helpIds.emplace(m.u32(2 + 8 * i), m.u32(6 + 8 * i)).second)
            m.fail("help id twice");

    int32_t lastHash = INT32_MIN;
    bool first = true;
    walkTree(
        internalFile("|CONTEXT"), "|CONTEXT",
        [&](const Bytes &c, size_t at) {
            int32_t hash = static_cast<int32_t>(c.u32(at));
            if (!first && hash <= lastHash)
                c.fail("hashes out of order");
            first = false;
            lastHash = hash;
            contexts[c.u32(at)] = c.u32(at + 4);
            return size_t(8);
        },
        [](const Bytes &, size_t) { return size_t(4); });

    walkTree(
        internalFile("|TTLBTREE"), "|TTLBTREE",
        [&](const Bytes &t, size_t at) {
            uint32_t offset = t.u32(at);
            if (!titleTree.empty() && offset <= titleTree.rbegin()->first)
                t.fail("offsets out of order");
            titleTree[offset] = t.stringz(at + 4);
            return titleTree[offset].size() + 5;
        },
        [](const Bytes &, size_t) { return size_t(4); });
}

std::string HelpFile::internalFile(const std::string &name) const
{
    auto found = directory_.find(name);
    if (found == directory_.end())
        throw FormatError("no internal file " + name);
    Bytes b(bytes_, name.c_str());
    uint32_t reserved = b.u32(found->second);
    uint32_t used = b.u32(found->second + 4);
    if (reserved < used + 9)
        b.fail("used space beyond reserved space");
    return b.slice(found->second + 9, used);
}

void HelpFile::readSystem()
{
    std::string system = internalFile("|SYSTEM");
    Bytes s(system, "|SYSTEM");
    if (s.u16(0) != 0x036C || s.u16(4) != 1)
        s.fail("not a help file system header");
    minorVersion = s.u16(2);
    systemFlags = s.u16(10);
    if (minorVersion <= 16)
        s.fail("a Windows 3.0 file");
    for (size_t at = 12; at < system.size();) {
        int type = s.u16(at);
        size_t size = s.u16(at + 2);
        s.need(at + 4, size);
        if (type == 1)
            title = s.stringz(at + 4);
        else if (type == 2)
            copyright = s.stringz(at + 4);
        else if (type == 3) {
            if (size != 4)
                s.fail("contents record of " + std::to_string(size) + " bytes");
            contentsOffset = s.u32(at + 4);
        }
        at += 4 + size;
    }
}

void HelpFile::readFonts()
{
    std::string data = internalFile("|FONT");
    Bytes f(data, "|FONT");
    int faces = f.u16(0), count = f.u16(2), faceStart = f.u16(4), descriptorStart = f.u16(6);
    if (faces < 1 || faceStart != 8 || descriptorStart <= faceStart)
        f.fail("header of a kind this reader does not know");
    size_t faceLength = (descriptorStart - faceStart) / faces;
    for (int i = 0; i < count; ++i) {
        size_t at = descriptorStart + 11 * i;
        int face = f.u16(at + 3);
        if (face >= faces)
            f.fail("descriptor names face " + std::to_string(face));
        std::string name = f.slice(faceStart + faceLength * face, faceLength);
        Font font;
        font.face = name.substr(0, name.find('\0'));
        font.bold = f.u8(at) & 1;
        font.halfPoints = f.u8(at + 1);
        fonts.push_back(font);
    }
}

void HelpFile::readTopics()
{
    if (systemFlags != 0)
        throw FormatError("|TOPIC: compressed (flags " + std::to_string(systemFlags) + "); this reader takes plain files");
    const size_t blockSize = 4096, blockData = blockSize - 12, perBlock = 0x4000;
    std::string raw = internalFile("|TOPIC");
    Bytes r(raw, "|TOPIC");
    // The blocks' data one after another, as the viewer sees it.
    std::string data;
    for (size_t at = 0; at < raw.size(); at += blockSize)
        data += raw.substr(at + 12, blockData);
    Bytes d(data, "|TOPIC");

    uint32_t pos = 12, previous = none;
    uint32_t chars = 0;
    size_t lastBlock = 0;
    size_t blocks = (raw.size() + blockSize - 1) / blockSize;
    std::vector<bool> blockSeen(blocks, false);
    Topic *topic = nullptr;
    bool ended = false;
    for (int guard = 0; pos != none; ++guard) {
        if (ended)
            r.fail("a link after the closing topic header");
        if (guard > 100000)
            r.fail("the chain of links does not end");
        if (pos < 12 || (pos - 12) % perBlock >= blockData)
            r.fail("bad position " + std::to_string(pos));
        size_t block = (pos - 12) / perBlock;
        size_t at = block * blockData + (pos - 12) % perBlock;
        if (block != lastBlock)
            chars = 0;
        lastBlock = block;
        if (block < blocks && !blockSeen[block]) {
            // The block header names the first link of its block.
            blockSeen[block] = true;
            if (r.u32(block * blockSize + 4) != pos)
                r.fail("block " + std::to_string(block) + " does not name its first link");
        }
        uint32_t size = d.u32(at), len2 = d.u32(at + 4), prev = d.u32(at + 8), next = d.u32(at + 12),
                 len1 = d.u32(at + 16);
        uint8_t type = d.u8(at + 20);
        if (prev != previous)
            r.fail("link at " + std::to_string(pos) + " names the wrong previous link");
        if (len1 < 21 || len1 > size || size - len1 != len2)
            r.fail("link at " + std::to_string(pos) + " has inconsistent sizes (phrase compressed?)");
        std::string one = d.slice(at + 21, len1 - 21);
        std::string two = d.slice(at + len1, len2);
        uint32_t offset = static_cast<uint32_t>(block) * 0x8000 + chars;

        if (type == 0x02) {
            if (two.empty()) {
                ended = true;   // the closing header carries no topic
            } else {
                topics.emplace_back();
                topic = &topics.back();
                topic->offset = offset;
                topic->position = pos;
                topic->title = two.substr(0, two.find('\0'));
            }
        } else if (type == 0x20) {
            if (!topic)
                r.fail("text before the first topic header");
            Bytes l1(one, "text record");
            size_t p = 0;
            compressedLong(l1, p);                      // the text's size
            uint16_t length = compressedUnsignedShort(l1, p);
            if (length != two.size())
                l1.fail("counts " + std::to_string(length) + " characters, holds " + std::to_string(two.size()));
            chars += length;
            p += 4;                                     // paragraph id and two bytes unused here
            uint16_t bits = l1.u16(p);
            p += 2;
            if (bits & 0x0001)
                compressedLong(l1, p);
            for (uint16_t bit : {0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x0040})
                if (bits & bit)
                    compressedShort(l1, p);
            if (bits & 0x0100)
                p += 3;
            if (bits & 0x0200) {
                int tabs = compressedShort(l1, p);
                for (int i = 0; i < tabs; ++i)
                    if (compressedUnsignedShort(l1, p) & 0x4000)
                        compressedUnsignedShort(l1, p);
            }
            // Strings of LinkData2, each followed by one command.
            Bytes l2(two, "text strings");
            size_t s = 0;
            std::string paragraph;
            Hotspot *open = nullptr;
            for (;;) {
                std::string piece = l2.stringz(s);
                s += piece.size() + 1;
                paragraph += piece;
                if (open)
                    open->text += piece;
                uint8_t command = l1.u8(p++);
                if (command == 0xFF)
                    break;
                switch (command) {
                case 0x80: {
                    uint16_t font = l1.u16(p);
                    p += 2;
                    if (font >= fonts.size())
                        l1.fail("font " + std::to_string(font) + " is not in |FONT");
                    break;
                }
                case 0x81: paragraph += '\n'; break;
                case 0x82:
                    topic->paragraphs.push_back(paragraph);
                    paragraph.clear();
                    break;
                case 0x83: paragraph += '\t'; break;
                case 0xE2:
                case 0xE3:
                    if (open)
                        l1.fail("a hotspot inside a hotspot");
                    topic->hotspots.push_back({command == 0xE2, l1.u32(p), ""});
                    open = &topic->hotspots.back();
                    p += 4;
                    break;
                case 0x89:
                    if (!open)
                        l1.fail("end of a hotspot that never began");
                    open = nullptr;
                    break;
                default:
                    l1.fail("command " + std::to_string(command) + " this reader does not know");
                }
            }
            if (open)
                l1.fail("a hotspot left open");
            if (s != two.size() || p != one.size())
                l1.fail("commands and strings do not end together");
            if (!paragraph.empty())
                topic->paragraphs.push_back(paragraph);
        } else {
            r.fail("link of type " + std::to_string(type));
        }
        previous = pos;
        pos = next;
    }
    if (!ended)
        r.fail("no closing topic header");
}

const Topic *HelpFile::topicAt(uint32_t offset) const
{
    for (const Topic &t : topics)
        if (t.offset == offset)
            return &t;
    return nullptr;
}

const Topic *HelpFile::topicByHash(uint32_t hash) const
{
    auto found = contexts.find(hash);
    return found == contexts.end() ? nullptr : topicAt(found->second);
}

} // namespace hlp
