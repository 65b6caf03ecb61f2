// sheettext.h - the line and word rules shared by the CUE sheet and TOC
// file parsers: any line ending, an optional UTF-8 byte order mark, words
// split on blanks with double quotes around words that hold blanks.
// Platform-neutral.
#ifndef LIBPLATTER_DEVICES_SHEETTEXT_H
#define LIBPLATTER_DEVICES_SHEETTEXT_H

#include <string>
#include <vector>

namespace devices {

// Descriptions are small text files; anything larger is not one.
const size_t kMaxSheetBytes = 64 * 1024;

std::vector<std::string> splitLines(const std::string &text);
// False (with the reason) when a quote is not closed or the line holds a
// control character.
bool splitWords(const std::string &line, std::vector<std::string> *words, std::string *problem);
bool sameWord(const std::string &word, const char *keyword);
// A decimal number of at most `maxDigits` digits.
bool parseNumber(const std::string &word, int maxDigits, int *value);

} // namespace devices

#endif
