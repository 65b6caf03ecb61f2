// wavefile.cpp - RIFF WAVE header reading.
#include "libplatter/devices/wavefile.h"

#include <cstring>

namespace devices {

namespace {

uint32_t le32(const unsigned char *p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

uint16_t le16(const unsigned char *p)
{
    return (uint16_t)(p[0] | p[1] << 8);
}

FileFacts refuse(const char *why)
{
    FileFacts facts;
    facts.problem = why;
    return facts;
}

const uint16_t kFormatPcm = 1;
const uint16_t kFormatExtensible = 0xFFFE;

} // namespace

FileFacts readWaveHeader(const unsigned char *head, size_t count, uint64_t fileSize)
{
    if (count < 12 || memcmp(head, "RIFF", 4) != 0 || memcmp(head + 8, "WAVE", 4) != 0)
        return refuse("not a RIFF WAVE file");
    bool formatSeen = false;
    size_t at = 12;
    while (at + 8 <= count) {
        const unsigned char *chunk = head + at;
        uint32_t size = le32(chunk + 4);
        if (memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || at + 8 + 16 > count)
                return refuse("its format chunk is cut short");
            const unsigned char *fmt = chunk + 8;
            uint16_t tag = le16(fmt);
            if ((tag != kFormatPcm && tag != kFormatExtensible) || le16(fmt + 2) != 2 || le32(fmt + 4) != 44100 ||
                le16(fmt + 14) != 16)
                return refuse("not CD audio (PCM, 44100 Hz, 16 bits, stereo)");
            formatSeen = true;
        } else if (memcmp(chunk, "data", 4) == 0) {
            if (!formatSeen)
                return refuse("its data comes before its format");
            FileFacts facts;
            facts.usable = true;
            facts.dataOffset = at + 8;
            uint64_t available = fileSize > facts.dataOffset ? fileSize - facts.dataOffset : 0;
            // Writers that stream leave the size at 0 or all ones: take the file's rest.
            facts.dataBytes = (size == 0 || size == 0xFFFFFFFFu || size > available) ? available : size;
            return facts;
        }
        uint64_t next = (uint64_t)at + 8 + size + (size & 1);
        if (next > count)
            break;
        at = (size_t)next;
    }
    return refuse("no data chunk in its first 64 KB");
}

} // namespace devices
