// cdplayerfile.cpp - reading Cdplayer.ini with the profile functions.
#include "rackfile/cdplayerfile.h"

#include <windows.h>

#include <cstdlib>

namespace {

const char kNewArtist[] = "New Artist";
const char kNewTitle[] = "New Title";
const int kMaxTracks = 99;
// The section names of a large file; a section name is at most 9 bytes.
const DWORD kNamesBuffer = 1u << 20;

std::string profileText(const std::string &file, const std::string &section, const char *key, DWORD size = 256)
{
    std::vector<char> buffer(size, 0);
    DWORD n = GetPrivateProfileStringA(section.c_str(), key, "", buffer.data(), size, file.c_str());
    return std::string(buffer.data(), n < size ? n : 0);
}

bool parseSectionId(const std::string &name, uint32_t *id)
{
    if (name.empty() || name.size() > 8)
        return false;
    uint32_t value = 0;
    for (char c : name) {
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                     : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0)
            return false;
        value = value << 4 | (uint32_t)digit;
    }
    *id = value;
    return true;
}

CdPlayerDisc readDisc(const std::string &file, const std::string &section, uint32_t winId)
{
    CdPlayerDisc disc;
    disc.winId = winId;
    EntryData &e = disc.entry;
    std::string artist = profileText(file, section, "artist");
    if (!artist.empty() && artist != kNewArtist) {
        e.artist = artist;
        disc.empty = false;
    }
    std::string title = profileText(file, section, "title");
    if (!title.empty() && title != kNewTitle) {
        e.discTitle = title;
        disc.empty = false;
    }
    int tracks = atoi(profileText(file, section, "numtracks").c_str());
    if (tracks < 0 || tracks > kMaxTracks)
        tracks = 0;
    e.resizeTracks(tracks);
    for (int n = 0; n < tracks; ++n) {
        std::string name = profileText(file, section, std::to_string(n).c_str());
        if (!name.empty()) {
            e.trackTitles[(size_t)n] = name;
            disc.empty = false;
        }
    }
    int count = atoi(profileText(file, section, "numplay").c_str());
    if (count >= 1 && count <= 4096) {
        std::string order = profileText(file, section, "order", (DWORD)(3 * count + 2));
        e.program = programFromOrder(order, count, tracks);
        if (!e.program.empty())
            disc.empty = false;
    }
    return disc;
}

} // namespace

std::vector<int32_t> programFromOrder(const std::string &order, int count, int trackCount)
{
    std::vector<int32_t> entries;
    size_t i = 0;
    auto separator = [](unsigned char c) { return c <= ' ' || c >= 0x80; };
    while (i < order.size() && (int)entries.size() < count) {
        size_t start = i;
        while (i < order.size() && !separator((unsigned char)order[i]))
            ++i;
        if (i == start)
            break; // two separators in a row end the list
        entries.push_back(atoi(order.substr(start, i - start).c_str()) + 1);
        if (i < order.size())
            ++i;
    }
    bool plain = (int)entries.size() == trackCount;
    for (size_t n = 0; plain && n < entries.size(); ++n)
        plain = entries[n] == (int32_t)n + 1;
    std::vector<int32_t> program;
    if (plain)
        return program;
    for (int32_t track : entries)
        if (track >= 1 && track <= trackCount)
            program.push_back(track);
    return program;
}

bool readCdPlayerFile(const std::string &file, std::vector<CdPlayerDisc> *discs)
{
    discs->clear();
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(file.c_str(), sizeof full, full, nullptr);
    DWORD attributes = n && n < sizeof full ? GetFileAttributesA(full) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    std::string path(full, n);
    std::vector<char> names(kNamesBuffer, 0);
    DWORD length = GetPrivateProfileSectionNamesA(names.data(), kNamesBuffer, path.c_str());
    for (DWORD at = 0; at < length && names[at];) {
        std::string section = names.data() + at;
        at += (DWORD)section.size() + 1;
        uint32_t id;
        if (parseSectionId(section, &id))
            discs->push_back(readDisc(path, section, id));
    }
    return !discs->empty();
}
