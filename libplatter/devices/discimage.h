// discimage.h - a virtual disc: its table of contents and where each
// track's sound lies in the image's data files. Built by the CUE sheet and
// TOC file parsers; read by the virtual drive and its audio feed.
// Platform-neutral.
#ifndef LIBPLATTER_DEVICES_DISCIMAGE_H
#define LIBPLATTER_DEVICES_DISCIMAGE_H

#include "libplatter/devices/disctoc.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace devices {

// Bytes of sound in one frame: 588 stereo samples of 16 bits.
const int kAudioFrameBytes = 2352;

enum class ImageFileKind { Binary, Motorola, Wave };

struct ImageFile {
    std::string name; // as the description names it, relative to its folder
    ImageFileKind kind = ImageFileKind::Binary;
    uint64_t dataOffset = 0; // first byte of sector data (a WAVE's data chunk)
    uint64_t dataBytes = 0;
};

// Where one track's frames come from.
struct ImageTrack {
    int file = -1;           // index in DiscImage::files; -1: no data (silence)
    uint64_t startByte = 0;  // the track's first frame, from the file's dataOffset
    int stride = 0;          // bytes one sector takes in the file
    int framesInFile = 0;    // frames from the start the file holds; the rest is silence
};

struct DiscImage {
    DiscToc toc;
    std::vector<ImageFile> files;
    std::vector<ImageTrack> layout; // one per track

    bool hasAudioData() const;
};

// Where the sound of one absolute frame is: a file and a byte offset in it,
// or silence (file -1).
struct AudioSource {
    int file = -1;
    uint64_t offset = 0;
    bool byteSwapped = false; // MOTOROLA files hold big-endian samples
};

AudioSource audioSourceAt(const DiscImage &image, int frame);

// What the caller's file system knows about a data file an image names.
struct FileFacts {
    bool usable = false;     // found (and, for a WAVE, in CD format)
    uint64_t dataOffset = 0; // where its sector data begins
    uint64_t dataBytes = 0;  // how many bytes of sector data it holds
    std::string problem;     // why it is not usable
};

using FileProbe = std::function<FileFacts(const std::string &name, ImageFileKind kind)>;

// Parses "mm:ss:ff" (seconds below 60, frames below 75) into frames.
bool parseMsfText(const std::string &text, int *frames);

} // namespace devices

#endif
