// discreader.cpp - reading a virtual disc's frames from its data files.
#include "libplatter/devices/discreader.h"

#include <cstring>

namespace devices {

namespace {
const uint64_t kFirstRetryMs = 1000;
const uint64_t kLongestRetryMs = 8000;
}

void DiscReader::use(const std::shared_ptr<const DiscImage> &image, const std::string &folder)
{
    if (image == image_)
        return;
    closeAll();
    image_ = image;
    folder_ = folder;
    if (image_) {
        files_.assign(image_->files.size(), INVALID_HANDLE_VALUE);
        retryAt_.assign(image_->files.size(), 0);
        retryGap_.assign(image_->files.size(), kFirstRetryMs);
    }
}

void DiscReader::read(int frame, int count, unsigned char *out, uint64_t nowMs)
{
    for (int i = 0; i < count; ++i, out += kAudioFrameBytes) {
        memset(out, 0, kAudioFrameBytes);
        if (!image_)
            continue;
        AudioSource source = audioSourceAt(*image_, frame + i);
        HANDLE file = source.file >= 0 ? fileFor(source.file, nowMs) : INVALID_HANDLE_VALUE;
        if (file == INVALID_HANDLE_VALUE)
            continue;
        LARGE_INTEGER at;
        at.QuadPart = (LONGLONG)source.offset;
        DWORD got = 0;
        if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) || !ReadFile(file, out, kAudioFrameBytes, &got, nullptr))
            continue;
        if (source.byteSwapped)
            for (DWORD b = 0; b + 1 < got; b += 2) {
                unsigned char t = out[b];
                out[b] = out[b + 1];
                out[b + 1] = t;
            }
    }
}

HANDLE DiscReader::fileFor(int index, uint64_t nowMs)
{
    if ((size_t)index >= files_.size())
        return INVALID_HANDLE_VALUE;
    if (files_[index] == INVALID_HANDLE_VALUE && nowMs >= retryAt_[index]) {
        std::string path = folder_ + "\\" + image_->files[index].name;
        ++openAttempts_;
        files_[index] = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        if (files_[index] == INVALID_HANDLE_VALUE) {
            retryAt_[index] = nowMs + retryGap_[index];
            retryGap_[index] = retryGap_[index] * 2 > kLongestRetryMs ? kLongestRetryMs : retryGap_[index] * 2;
        } else {
            retryGap_[index] = kFirstRetryMs;
        }
    }
    return files_[index];
}

void DiscReader::closeAll()
{
    for (HANDLE file : files_)
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    files_.clear();
    retryAt_.clear();
    retryGap_.clear();
}

} // namespace devices
