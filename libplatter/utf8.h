// utf8.h - the few UTF-8 rules the CDDB and mail texts need: is a byte string
// well-formed UTF-8, how many characters does it hold, and where may a long
// value be cut without splitting a character. Platform-neutral.
#ifndef LIBPLATTER_UTF8_H
#define LIBPLATTER_UTF8_H

#include <cstddef>
#include <string>

namespace utf8 {

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates).
bool isValid(const std::string &text);
// True when every byte is below 0x80.
bool isAscii(const std::string &text);
// Characters in `text`: code points when it is valid UTF-8, else bytes.
size_t characterCount(const std::string &text);
// Bytes the UTF-8 sequence starting with `lead` takes (1 for a stray byte).
size_t sequenceLength(unsigned char lead);

} // namespace utf8

#endif
