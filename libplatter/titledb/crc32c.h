// crc32c.h - the checksum of the title database's records: CRC-32C
// (Castagnoli), with the processor's CRC instruction where there is one.
#ifndef LIBPLATTER_TITLEDB_CRC32C_H
#define LIBPLATTER_TITLEDB_CRC32C_H

#include <cstddef>
#include <cstdint>

// Continues a checksum over more bytes; start with crc = 0.
uint32_t crc32c(uint32_t crc, const void *data, size_t length);

#endif
