// pathkey.h - one spelling for every way of naming a file or folder, so that
// names derived from a path (the title database's lock, a virtual drive's
// shared objects) agree between processes that reach the path differently.
#ifndef LIBPLATTER_PATHKEY_H
#define LIBPLATTER_PATHKEY_H

#include <cstdint>
#include <string>

// The full path with long names, backslashes, no trailing separator (but a
// drive's root keeps its own) and upper case, as file names compare. Parts
// that do not exist yet are kept as they are spelled.
std::string comparablePath(const std::string &path);

// A 64-bit FNV-1a hash of comparablePath(path).
uint64_t pathKeyHash(const std::string &path);

#endif
