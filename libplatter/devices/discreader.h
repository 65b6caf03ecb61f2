// discreader.h - the sound of a virtual disc read from its data files for
// the audio feed: the files are opened on first use and kept open. A file
// that cannot be opened is tried again after a pause that doubles (1 s up
// to 8 s), not for every frame.
#ifndef LIBPLATTER_DEVICES_DISCREADER_H
#define LIBPLATTER_DEVICES_DISCREADER_H

#include "libplatter/devices/discimage.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace devices {

class DiscReader {
public:
    DiscReader() = default;
    ~DiscReader() { closeAll(); }
    DiscReader(const DiscReader &) = delete;
    DiscReader &operator=(const DiscReader &) = delete;

    // The disc to read from now on, with the folder its files are in.
    void use(const std::shared_ptr<const DiscImage> &image, const std::string &folder);
    // Fills `count` frames of sound from `frame` on; silence where the disc
    // has none or its file cannot be read. `nowMs` is a steady clock.
    void read(int frame, int count, unsigned char *out, uint64_t nowMs);
    // How often a data file was tried (for tests).
    int openAttempts() const { return openAttempts_; }

private:
    HANDLE fileFor(int index, uint64_t nowMs);
    void closeAll();

    std::shared_ptr<const DiscImage> image_;
    std::string folder_;
    std::vector<HANDLE> files_;
    std::vector<uint64_t> retryAt_;  // per file: no new try before this time
    std::vector<uint64_t> retryGap_; // per file: the pause after the next failure
    int openAttempts_ = 0;
};

} // namespace devices

#endif
