// tocfile_fuzz.cpp - the TOC file parser on any text; a disc it accepts
// must have a valid table of contents.
#include "libplatter/devices/tocfile.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string text((const char *)data, size);
    devices::DiscImage image;
    std::string problem;
    if (devices::parseTocFile(text, &image, &problem) && !devices::tocIsValid(image.toc))
        __builtin_trap();
    return 0;
}
