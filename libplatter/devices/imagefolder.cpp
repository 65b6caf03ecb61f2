// imagefolder.cpp - finding, stamping and loading a virtual drive's disc.
#include "libplatter/devices/imagefolder.h"
#include "libplatter/devices/cuesheet.h"
#include "libplatter/devices/sheettext.h"
#include "libplatter/devices/tocfile.h"
#include "libplatter/devices/wavefile.h"
#include "libplatter/fnv.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace devices {

namespace {

// Where every stamp's hash starts. Stamps outlive the program in the tray file
// of a drive whose tray was left open, so this value stays as it has been.
const uint64_t kStampStart = 1469598103934665603ull;

void mix(uint64_t *hash, const void *data, size_t size)
{
    *hash = fnv1a(*hash, data, size);
}

// Stamp of one file: its name, size and times; 0 when it is missing.
uint64_t fileStamp(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    uint64_t hash = kStampStart;
    mix(&hash, path.data(), path.size());
    mix(&hash, &data.nFileSizeHigh, sizeof data.nFileSizeHigh);
    mix(&hash, &data.nFileSizeLow, sizeof data.nFileSizeLow);
    mix(&hash, &data.ftLastWriteTime, sizeof data.ftLastWriteTime);
    mix(&hash, &data.ftCreationTime, sizeof data.ftCreationTime);
    return hash | 1;
}

// Stamp of a folder: changes when an entry is made, removed or renamed in it.
uint64_t folderStampOf(std::string path)
{
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/'))
        path.pop_back();
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    uint64_t hash = kStampStart;
    mix(&hash, &data.ftLastWriteTime, sizeof data.ftLastWriteTime);
    mix(&hash, &data.ftCreationTime, sizeof data.ftCreationTime);
    return hash | 1;
}

bool hasExtension(const std::string &name, const char *extension)
{
    size_t n = strlen(extension);
    if (name.size() <= n)
        return false;
    return sameWord(name.substr(name.size() - n), extension);
}

bool fileSize(const std::string &path, uint64_t *size)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    *size = (uint64_t)data.nFileSizeHigh << 32 | data.nFileSizeLow;
    return true;
}

FileFacts probeDataFile(const std::string &path, ImageFileKind kind)
{
    FileFacts facts;
    uint64_t size = 0;
    if (!fileSize(path, &size)) {
        facts.problem = "not found";
        return facts;
    }
    if (kind != ImageFileKind::Wave) {
        facts.usable = true;
        facts.dataBytes = size;
        return facts;
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        facts.problem = "cannot be opened";
        return facts;
    }
    std::vector<unsigned char> head(kWaveHeaderBytes);
    DWORD got = 0;
    BOOL ok = ReadFile(file, head.data(), (DWORD)head.size(), &got, nullptr);
    CloseHandle(file);
    if (!ok) {
        facts.problem = "cannot be read";
        return facts;
    }
    return readWaveHeader(head.data(), got, size);
}

} // namespace

bool readSmallFile(const std::string &path, size_t maxBytes, std::string *text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::string data(maxBytes + 1, '\0');
    DWORD got = 0;
    BOOL ok = ReadFile(file, &data[0], (DWORD)data.size(), &got, nullptr);
    CloseHandle(file);
    if (!ok || got > maxBytes)
        return false;
    data.resize(got);
    *text = data;
    return true;
}

ImageFolder::ImageFolder(const std::string &root) : root_(root)
{
    if (root_.empty() || (root_.back() != '\\' && root_.back() != '/'))
        root_ += '\\';
}

std::string ImageFolder::pathOf(const std::string &name) const
{
    std::string path = root_ + name;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool ImageFolder::findDescription(std::string *name, bool *isCue) const
{
    ++searches_;
    std::vector<std::string> cues, tocs;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((root_ + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            std::string entry = found.cFileName;
            if (hasExtension(entry, ".cue"))
                cues.push_back(entry);
            else if (hasExtension(entry, ".toc"))
                tocs.push_back(entry);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::vector<std::string> &pick = cues.empty() ? tocs : cues;
    if (pick.empty())
        return false;
    std::sort(pick.begin(), pick.end());
    *name = pick.front();
    *isCue = !cues.empty();
    return true;
}

uint64_t ImageFolder::dataStamp(const DiscImage &image) const
{
    uint64_t hash = kStampStart;
    for (const ImageFile &file : image.files) {
        uint64_t stamp = fileStamp(pathOf(file.name));
        mix(&hash, &stamp, sizeof stamp);
    }
    return hash;
}

const FolderDisc &ImageFolder::refresh()
{
    uint64_t folderStamp = folderStampOf(root_);
    bool searched = false;
    if (folderStamp == 0 || folderStamp != folderStamp_) {
        found_ = findDescription(&foundName_, &foundIsCue_);
        folderStamp_ = folderStamp;
        searched = true;
    }
    if (!found_) {
        disc_ = FolderDisc();
        descriptionStamp_ = 0;
        return disc_;
    }
    const std::string name = foundName_;
    uint64_t stamp = fileStamp(pathOf(name));
    if (stamp == 0) { // gone between the search and now
        folderStamp_ = 0;
        disc_ = FolderDisc();
        descriptionStamp_ = 0;
        return disc_;
    }
    if (disc_.described && name == disc_.description && stamp == descriptionStamp_) {
        if (disc_.valid && dataStamp(*disc_.image) == dataStamp_)
            return disc_;
        if (!disc_.valid && !searched && probedFilesStamp() == probedStamp_)
            return disc_;
    }
    load(name, foundIsCue_, stamp);
    return disc_;
}

uint64_t ImageFolder::probedFilesStamp() const
{
    uint64_t hash = kStampStart;
    for (const std::string &path : probed_) {
        uint64_t stamp = fileStamp(path);
        mix(&hash, &stamp, sizeof stamp);
    }
    return hash;
}

void ImageFolder::load(const std::string &name, bool isCue, uint64_t descriptionStamp)
{
    ++loads_;
    FolderDisc disc;
    disc.described = true;
    disc.description = name;
    descriptionStamp_ = descriptionStamp;
    std::string text;
    auto image = std::make_shared<DiscImage>();
    probed_.clear();
    if (!readSmallFile(pathOf(name), kMaxSheetBytes, &text)) {
        disc.problem = "cannot be read, or is too large for a description";
    } else if (isCue) {
        FileProbe probe = [this](const std::string &file, ImageFileKind kind) {
            probed_.push_back(pathOf(file));
            return probeDataFile(pathOf(file), kind);
        };
        disc.valid = parseCueSheet(text, probe, image.get(), &disc.problem);
    } else {
        disc.valid = parseTocFile(text, image.get(), &disc.problem);
    }
    if (disc.valid) {
        dataStamp_ = dataStamp(*image);
        uint64_t stamp = descriptionStamp;
        mix(&stamp, &dataStamp_, sizeof dataStamp_);
        disc.stamp = stamp | 1;
        disc.image = image;
    } else {
        dataStamp_ = 0;
        probedStamp_ = probedFilesStamp();
        disc.stamp = descriptionStamp;
    }
    disc_ = disc;
}

} // namespace devices
