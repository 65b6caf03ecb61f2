// fnv.h - the 64-bit FNV-1a hash that names and stamps are made of.
#ifndef LIBPLATTER_FNV_H
#define LIBPLATTER_FNV_H

#include <cstddef>
#include <cstdint>

// The hash of no bytes.
const uint64_t kFnv1aOffset = 14695981039346656037ull;

// `hash` carried on over `size` more bytes.
inline uint64_t fnv1a(uint64_t hash, const void *data, size_t size)
{
    const unsigned char *bytes = static_cast<const unsigned char *>(data);
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    return hash;
}

#endif
