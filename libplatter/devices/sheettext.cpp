// sheettext.cpp - lines and words of description files.
#include "libplatter/devices/sheettext.h"

#include <cctype>

namespace devices {

std::vector<std::string> splitLines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        start = 3;
    std::string line;
    for (size_t i = start; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

bool splitWords(const std::string &line, std::vector<std::string> *words, std::string *problem)
{
    words->clear();
    size_t i = 0;
    while (i < line.size()) {
        unsigned char c = (unsigned char)line[i];
        if (c == ' ' || c == '\t') {
            ++i;
            continue;
        }
        std::string word;
        if (c == '"') {
            size_t close = line.find('"', i + 1);
            if (close == std::string::npos) {
                *problem = "a quote is not closed";
                return false;
            }
            word = line.substr(i + 1, close - i - 1);
            i = close + 1;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t')
                word += line[i++];
        }
        for (unsigned char w : word)
            if (w < 0x20 || w == 0x7F) {
                *problem = "the line holds a control character";
                return false;
            }
        words->push_back(word);
    }
    return true;
}

bool sameWord(const std::string &word, const char *keyword)
{
    size_t i = 0;
    for (; keyword[i]; ++i)
        if (i >= word.size() || toupper((unsigned char)word[i]) != toupper((unsigned char)keyword[i]))
            return false;
    return i == word.size();
}

bool parseNumber(const std::string &word, int maxDigits, int *value)
{
    if (word.empty() || (int)word.size() > maxDigits)
        return false;
    int n = 0;
    for (char c : word) {
        if (!isdigit((unsigned char)c))
            return false;
        n = n * 10 + (c - '0');
    }
    *value = n;
    return true;
}

} // namespace devices
