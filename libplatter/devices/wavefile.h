// wavefile.h - finds the sound data of a RIFF WAVE file that a CUE sheet
// names, and checks that it is CD audio (PCM, 44100 Hz, 16 bits, stereo).
// Platform-neutral: works on the file's first bytes.
#ifndef LIBPLATTER_DEVICES_WAVEFILE_H
#define LIBPLATTER_DEVICES_WAVEFILE_H

#include "libplatter/devices/discimage.h"

#include <cstddef>
#include <cstdint>

namespace devices {

// How much of a WAVE file's start the header search reads.
const size_t kWaveHeaderBytes = 64 * 1024;

// `head` is the file's first `count` bytes, `fileSize` its whole size.
// Fills facts (usable, dataOffset, dataBytes, or problem).
FileFacts readWaveHeader(const unsigned char *head, size_t count, uint64_t fileSize);

} // namespace devices

#endif
