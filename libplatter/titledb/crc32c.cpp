// crc32c.cpp - CRC-32C over byte ranges. The table version runs anywhere;
// on x86-64 processors with SSE 4.2 the CRC32 instruction does the same
// sum about ten times faster, which keeps loading a large database cheap.
#include "libplatter/titledb/crc32c.h"

#include <cstring>

namespace {

constexpr uint32_t kPolynomial = 0x82F63B78u; // reflected Castagnoli

struct Tables {
    uint32_t t[8][256];
    Tables()
    {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? (c >> 1) ^ kPolynomial : c >> 1;
            t[0][i] = c;
        }
        for (uint32_t i = 0; i < 256; ++i)
            for (int s = 1; s < 8; ++s)
                t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
    }
};

const Tables &tables()
{
    static const Tables instance;
    return instance;
}

uint32_t crcTable(uint32_t crc, const uint8_t *p, size_t n)
{
    const Tables &tb = tables();
    // Eight bytes at a time ("slicing by 8"), assembled little-endian so the
    // result does not depend on the host's byte order.
    while (n >= 8) {
        uint32_t lo = crc ^ ((uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24);
        uint32_t hi = (uint32_t)p[4] | (uint32_t)p[5] << 8 | (uint32_t)p[6] << 16 | (uint32_t)p[7] << 24;
        crc = tb.t[7][lo & 0xFF] ^ tb.t[6][(lo >> 8) & 0xFF] ^ tb.t[5][(lo >> 16) & 0xFF] ^ tb.t[4][lo >> 24] ^
              tb.t[3][hi & 0xFF] ^ tb.t[2][(hi >> 8) & 0xFF] ^ tb.t[1][(hi >> 16) & 0xFF] ^ tb.t[0][hi >> 24];
        p += 8;
        n -= 8;
    }
    while (n--)
        crc = (crc >> 8) ^ tb.t[0][(crc ^ *p++) & 0xFF];
    return crc;
}

#if defined(__x86_64__) && defined(__GNUC__)
#define TITLEDB_HAVE_HW_CRC 1

__attribute__((target("sse4.2"))) uint32_t crcHardware(uint32_t crc, const uint8_t *p, size_t n)
{
    uint64_t c = crc;
    while (n >= 8) {
        uint64_t word;
        memcpy(&word, p, 8);
        c = __builtin_ia32_crc32di(c, word);
        p += 8;
        n -= 8;
    }
    uint32_t c32 = (uint32_t)c;
    while (n--)
        c32 = __builtin_ia32_crc32qi(c32, *p++);
    return c32;
}

bool hardwareCrc()
{
    static const bool present = __builtin_cpu_supports("sse4.2");
    return present;
}
#endif

} // namespace

uint32_t crc32c(uint32_t crc, const void *data, size_t length)
{
    const uint8_t *p = static_cast<const uint8_t *>(data);
    crc = ~crc;
#ifdef TITLEDB_HAVE_HW_CRC
    if (hardwareCrc())
        return ~crcHardware(crc, p, length);
#endif
    return ~crcTable(crc, p, length);
}
