// cdplayerini.cpp - the import from the Windows CD Player's file: one section
// per disc, named by the disc's identity in hexadecimal. Nothing is written
// to the file; what is taken lives in memory until the next database write.
#include "titles/cdplayerini.h"
#include "player/drives.h"
#include "titles/titlerecord.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char defaultIniFile[] = "Cdplayer.ini";
std::string iniFile = defaultIniFile;

// Buffer of the texts (artist, title, track names, numplay).
const DWORD textBufferSize = 256;
// A play order longer than this is no order the CD Player wrote: it is not read.
const int maxOrderCount = 10000;

std::string readValue(const char *section, const char *key, const char *fallback, DWORD size)
{
    std::vector<char> buffer(size, 0);
    GetPrivateProfileStringA(section, key, fallback, buffer.data(), size, iniFile.c_str());
    buffer[size - 1] = 0;
    return buffer.data();
}

bool isSeparator(char c)
{
    unsigned char u = (unsigned char)c;
    return u <= ' ' || u >= 0x80;
}

// The entries of an order value, counted from 1: at most `count` of them,
// up to the end of the value or the first empty entry.
std::vector<int> splitOrder(const std::string &value, int count)
{
    std::vector<int> entries;
    size_t at = 0;
    while (at < value.size() && (int)entries.size() < count) {
        size_t end = at;
        while (end < value.size() && !isSeparator(value[end]))
            ++end;
        if (end == at)
            break;   // two separators in a row end the list
        entries.push_back(atoi(value.substr(at, end - at).c_str()) + 1);
        at = end + 1;
    }
    return entries;
}

bool isPlainOrder(const std::vector<int> &entries, int trackCount)
{
    if ((int)entries.size() != trackCount)
        return false;
    for (int i = 0; i < trackCount; ++i)
        if (entries[i] != i + 1)
            return false;
    return true;
}

// Takes the play order of the section into the record; true when a
// program was set.
bool importOrder(const char *section, TitleRecord &record)
{
    int count = atoi(readValue(section, "numplay", "0", textBufferSize).c_str());
    if (count < 1 || count > maxOrderCount)
        return false;
    std::string value = readValue(section, "order", "", (DWORD)(3 * count + 2));
    if (value.empty())
        return false;

    // Only tracks the disc has may index its track lists.
    std::vector<int> entries;
    for (int track : splitOrder(value, count))
        if (track >= 1 && track <= record.trackCount)
            entries.push_back(track);
    if (entries.empty() || isPlainOrder(entries, record.trackCount))
        return false;

    int32_t *list = static_cast<int32_t *>(titleAlloc(entries.size(), sizeof(int32_t)));
    if (!list)
        return false;
    for (size_t i = 0; i < entries.size(); ++i)
        list[i] = entries[i];
    titleFree(record.programList);
    record.programList = list;
    record.programLength = (int32_t)entries.size();
    return true;
}

} // namespace

void setCdPlayerIniFile(const char *path)
{
    iniFile = path && path[0] ? path : defaultIniFile;
}

int importCdPlayerTitles(int drive, uint32_t winId)
{
    DriveEntry *entry = driveEntry(drive);
    if (!entry)
        return 0;

    DriveLockHold hold;
    TitleRecord &record = entry->title;
    char section[16];
    snprintf(section, sizeof section, "%X", (unsigned)winId);
    int result = 0;

    std::string artist = readValue(section, "artist", "", textBufferSize);
    if (!artist.empty() && artist != "New Artist") {
        setText(record.artist, artist.c_str());
        result = 1;
    }
    std::string title = readValue(section, "title", "", textBufferSize);
    if (!title.empty() && title != "New Title") {
        setText(record.discTitle, title.c_str());
        result = 1;
    }
    for (int n = 0; n < record.trackCount && record.trackTitles; ++n) {
        char key[16];
        snprintf(key, sizeof key, "%d", n);
        std::string name = readValue(section, key, "", textBufferSize);
        if (!name.empty()) {
            setText(record.trackTitles[n], name.c_str());
            result = 1;
        }
    }
    if (importOrder(section, record))
        result = 1;
    return result;
}
