// utf8.cpp - well-formedness and character counts of UTF-8 byte strings.
#include "libplatter/utf8.h"

namespace utf8 {

size_t sequenceLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    if (lead >= 0xE0)
        return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2)
        return 2;
    return 1;
}

namespace {

// Length of the well-formed sequence at `i`, or 0 when it is not one.
size_t validSequenceAt(const std::string &text, size_t i)
{
    unsigned char lead = (unsigned char)text[i];
    if (lead < 0x80)
        return 1;
    size_t length = sequenceLength(lead);
    if (length == 1 || i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k)
        if (((unsigned char)text[i + k] & 0xC0) != 0x80)
            return 0;
    unsigned char second = (unsigned char)text[i + 1];
    if (lead == 0xE0 && second < 0xA0)
        return 0; // overlong
    if (lead == 0xED && second >= 0xA0)
        return 0; // surrogate halves
    if (lead == 0xF0 && second < 0x90)
        return 0; // overlong
    if (lead == 0xF4 && second >= 0x90)
        return 0; // beyond U+10FFFF
    return length;
}

} // namespace

bool isValid(const std::string &text)
{
    for (size_t i = 0; i < text.size();) {
        size_t length = validSequenceAt(text, i);
        if (!length)
            return false;
        i += length;
    }
    return true;
}

bool isAscii(const std::string &text)
{
    for (unsigned char c : text)
        if (c >= 0x80)
            return false;
    return true;
}

size_t characterCount(const std::string &text)
{
    if (!isValid(text))
        return text.size();
    size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++count;
    return count;
}

} // namespace utf8
