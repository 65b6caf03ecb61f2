// regconvert.cpp - the one-time move of the titles the previous version kept
// in the registry (one subkey per disc) into the title database, and the
// removal of the old entries when the user agrees.
#include "titles/titlelookup.h"
#include "cddb/statuswnd.h"
#include "options/registry.h"
#include "player/drives.h"
#include "titles/titlerecord.h"
#include "ui/msgbox.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char oldTitlesKey[] = "SOFTWARE\\Veldane Software\\Spindle\\2.20\\CD Information";

// Every old value is read into a buffer of 1023 bytes; a longer one counts as absent.
const DWORD oldValueLimit = 1022;
// Artist and disc title are cut to this many characters.
const size_t oldTextCut = 255;
// Subkey names are read into a buffer of 20 characters.
const DWORD subkeyNameSize = 20;

const char convertQuestion[] =
    "Spindle2 has converted previous CD title entries from the Windows\r\n"
    "Registry to the new Spindle2 database outside the Registry.\r\n\r\n"
    "It is highly recommended that you allow Spindle2 to remove the old\r\n"
    "entries from the Windows Registry now.\r\n\r\n"
    "You will not be asked this question again.\r\n\r\n"
    "Do you want to continue?";

bool readOldValue(HKEY key, const char *name, std::string &value)
{
    char buffer[oldValueLimit + 1];
    if (!regReadString(key, name, buffer, oldValueLimit))
        return false;
    value = buffer;
    return true;
}

bool isSeparator(char c)
{
    unsigned char u = (unsigned char)c;
    return u <= ' ' || u >= 0x80;
}

// The disc identity a subkey is named by: up to eight hexadecimal digits
// and nothing else. Any other name gives no key.
bool subkeyWinId(const char *name, uint32_t *winId)
{
    size_t length = strlen(name);
    if (length < 1 || length > 8 || strspn(name, "0123456789abcdefABCDEF") != length)
        return false;
    *winId = (uint32_t)strtoul(name, nullptr, 16);
    return true;
}

// The numbers of a "cddbID" value: identifier, track count n, n start
// offsets in frames and the disc length in seconds. False for a value that
// announces no track, more tracks than a disc holds, fewer numbers than it
// announces, or a number that does not fit.
bool parseLayout(const std::string &value, std::vector<int32_t> &starts)
{
    std::vector<std::string> numbers;
    size_t at = 0;
    while (at < value.size()) {
        while (at < value.size() && isSeparator(value[at]))
            ++at;
        size_t end = at;
        while (end < value.size() && !isSeparator(value[end]))
            ++end;
        if (end > at)
            numbers.push_back(value.substr(at, end - at));
        at = end;
    }
    if (numbers.size() < 2)
        return false;
    long count = strtol(numbers[1].c_str(), nullptr, 10);
    if (count < 1 || count > MAX_DISC_TRACKS || (long)numbers.size() < count + 3)
        return false;

    starts.assign((size_t)count + 1, 0);
    for (long i = 0; i <= count; ++i) {
        errno = 0;
        long long number = strtoll(numbers[(size_t)i + 2].c_str(), nullptr, 10);
        long long frames = i < count ? number : number * 75;
        if (errno != 0 || number < 0 || frames > INT32_MAX)
            return false;
        starts[(size_t)i] = (int32_t)frames;
    }
    return true;
}

// The record of one old entry, read from its open key; false when the
// entry has no usable layout (nothing is kept then).
bool readOldEntry(HKEY key, TitleRecord &record)
{
    std::string text;
    if (readOldValue(key, "Artist", text))
        setText(record.artist, text.substr(0, oldTextCut).c_str());
    if (readOldValue(key, "Title", text))
        setText(record.discTitle, text.substr(0, oldTextCut).c_str());

    std::string layout;
    std::vector<int32_t> starts;
    if (!readOldValue(key, "cddbID", layout) || layout.size() <= 8 || !parseLayout(layout, starts))
        return false;

    int count = (int)starts.size() - 1;
    record.trackStartFrames = static_cast<int32_t *>(titleAlloc(starts.size(), sizeof(int32_t)));
    record.trackTitles = static_cast<char **>(titleAlloc((size_t)count, sizeof(char *)));
    record.trackTexts = static_cast<char **>(titleAlloc((size_t)count, sizeof(char *)));
    if (!record.trackStartFrames || !record.trackTitles || !record.trackTexts)
        return false;
    memcpy(record.trackStartFrames, starts.data(), starts.size() * sizeof(int32_t));
    record.trackCount = count;

    for (int i = 1; i <= count; ++i) {
        char name[32];
        snprintf(name, sizeof name, "%s%d", "Track #", i);
        if (readOldValue(key, name, text))
            setText(record.trackTitles[i - 1], text.c_str());
    }
    return true;
}

// Deletes every subkey of the old key, which itself stays.
void deleteOldEntries()
{
    // Enumerating and deleting need read and write access together.
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, oldTitlesKey, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
        return;
    for (;;) {
        char name[subkeyNameSize];
        DWORD length = subkeyNameSize;
        if (RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (regDeleteKey(key, name) != ERROR_SUCCESS)
            break;
    }
    regClose(key);
}

} // namespace

void convertRegistryEntry(const char *name)
{
    // An entry under a name that is no disc identity would land under a
    // made-up key: it is left alone.
    uint32_t winId = 0;
    if (!name || !subkeyWinId(name, &winId))
        return;

    std::string path = std::string(oldTitlesKey) + "\\" + name;
    HKEY key;
    if (!regOpenRead(path.c_str(), &key))
        return;
    TitleRecord record;
    memset(&record, 0, sizeof record);
    bool usable = readOldEntry(key, record);
    regClose(key);

    if (usable) {
        db_lock();
        db_write_entry(winId, &record);
        db_unlock();
    }
    releaseTitleRecord(record);
}

void convertRegistryTitles()
{
    HKEY key;
    int32_t converted = 0;
    if (regOpenRead(OPTIONS_KEY, &key)) {
        regReadDword(key, "Converted", &converted);
        regClose(key);
    }
    if (converted != 0)
        return;

    statusWindowOpen();
    statusWindowSetTitle("Please Wait");
    statusWindowSetText("Converting CD information from registry...");

    // Marked before anything is converted: a conversion cut short is not
    // run again.
    if (regCreateWrite(OPTIONS_KEY, &key)) {
        const int32_t done = 1;
        regWriteDword(key, "Converted", &done);
        regClose(key);
    }

    if (!regOpenRead(oldTitlesKey, &key)) {
        statusWindowClose();
        return;
    }
    bool found = false;
    for (DWORD index = 0;; ++index) {
        char name[subkeyNameSize];
        DWORD length = subkeyNameSize;
        if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        convertRegistryEntry(name);
        found = true;
    }
    regClose(key);

    if (found && showMessage(nullptr, convertQuestion, "Spindle2 Convert", MB_SYSTEMMODAL | MB_ICONQUESTION | MB_YESNO) != IDYES) {
        statusWindowClose();
        return;
    }
    deleteOldEntries();
    statusWindowClose();
}
