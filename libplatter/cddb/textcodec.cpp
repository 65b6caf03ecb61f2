// textcodec.cpp - UTF-8 and ISO-8859-1 to and from the ANSI code page.
#include "libplatter/cddb/textcodec.h"
#include "libplatter/utf8.h"

#include <windows.h>

#include <vector>

namespace cddb {

namespace {

std::string wideToAnsi(const std::wstring &wide)
{
    if (wide.empty())
        return std::string();
    // No best-fit mapping: a character the code page lacks shows as "?",
    // not as some look-alike.
    BOOL usedDefault = FALSE;
    int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), (int)wide.size(), nullptr, 0, "?",
                                    &usedDefault);
    if (bytes <= 0)
        return std::string();
    std::string out((size_t)bytes, '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), (int)wide.size(), &out[0], bytes, "?",
                        &usedDefault);
    return out;
}

std::wstring utf8ToWide(const std::string &utf8)
{
    if (utf8.empty())
        return std::wstring();
    int chars = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), nullptr, 0);
    if (chars <= 0)
        return std::wstring();
    std::wstring wide((size_t)chars, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), &wide[0], chars);
    return wide;
}

std::string withCrLf(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

std::string withoutCr(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r')
            out += c;
    return out;
}

// The entry with every text passed through `convert`.
template <typename Convert> XmcdEntry withTexts(const XmcdEntry &entry, Convert convert)
{
    XmcdEntry out = entry;
    for (std::string *text : {&out.artist, &out.title, &out.year, &out.genre, &out.discText})
        *text = convert(*text);
    for (std::string &text : out.trackTitles)
        text = convert(text);
    for (std::string &text : out.trackTexts)
        text = convert(text);
    return out;
}

} // namespace

std::string toAnsi(const std::string &bytes, Charset charset)
{
    if (utf8::isAscii(bytes))
        return bytes;
    bool wellFormed = charset != Charset::Latin1 && utf8::isValid(bytes);
    if (wellFormed)
        return wideToAnsi(utf8ToWide(bytes));
    // ISO-8859-1 maps each byte to the code point of the same number.
    std::wstring wide;
    wide.reserve(bytes.size());
    for (unsigned char c : bytes)
        wide += (wchar_t)c;
    return wideToAnsi(wide);
}

std::string ansiToUtf8(const std::string &ansi)
{
    if (utf8::isAscii(ansi))
        return ansi;
    int chars = MultiByteToWideChar(CP_ACP, 0, ansi.data(), (int)ansi.size(), nullptr, 0);
    if (chars <= 0)
        return std::string();
    std::wstring wide((size_t)chars, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), (int)ansi.size(), &wide[0], chars);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), chars, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return std::string();
    std::string out((size_t)bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), chars, &out[0], bytes, nullptr, nullptr);
    return out;
}

XmcdEntry entryToAnsi(const XmcdEntry &entry, Charset charset)
{
    // One charset for the whole entry: a guess made text by text could
    // read the same file two ways.
    if (charset == Charset::Guess) {
        std::string all = entry.artist + entry.title + entry.year + entry.genre + entry.discText;
        for (size_t n = 0; n < entry.trackTitles.size(); ++n)
            all += entry.trackTitles[n] + entry.trackTexts[n];
        charset = utf8::isValid(all) ? Charset::Utf8 : Charset::Latin1;
    }
    return withTexts(entry, [charset](const std::string &text) { return withCrLf(toAnsi(text, charset)); });
}

XmcdEntry entryToUtf8(const XmcdEntry &entry)
{
    return withTexts(entry, [](const std::string &text) { return ansiToUtf8(withoutCr(text)); });
}

} // namespace cddb
