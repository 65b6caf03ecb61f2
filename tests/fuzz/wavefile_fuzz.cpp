// wavefile_fuzz.cpp - the WAVE header search on any bytes; what it reports
// as sound data must lie inside the file.
#include "libplatter/devices/wavefile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    for (uint64_t fileSize : {(uint64_t)size, (uint64_t)size + 1000000}) {
        devices::FileFacts facts = devices::readWaveHeader(data, size, fileSize);
        if (facts.usable && facts.dataOffset + facts.dataBytes > fileSize)
            __builtin_trap();
    }
    return 0;
}
