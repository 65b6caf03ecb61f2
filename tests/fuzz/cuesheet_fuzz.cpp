// cuesheet_fuzz.cpp - the CUE sheet parser on any text, with data files
// that exist (of a size taken from the input) or do not.
#include "libplatter/devices/cuesheet.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    uint64_t bytes = (uint64_t)data[0] * 2352 * 1000;
    std::string text((const char *)data + 1, size - 1);
    devices::FileProbe probe = [bytes](const std::string &name, devices::ImageFileKind) {
        devices::FileFacts facts;
        facts.usable = !name.empty() && name[0] != 'x';
        facts.dataOffset = 44;
        facts.dataBytes = bytes;
        if (!facts.usable)
            facts.problem = "not found";
        return facts;
    };
    devices::DiscImage image;
    std::string problem;
    if (devices::parseCueSheet(text, probe, &image, &problem) && !devices::tocIsValid(image.toc))
        __builtin_trap();
    devices::isSafeImageFileName(text);
    return 0;
}
