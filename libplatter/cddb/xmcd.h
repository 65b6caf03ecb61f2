// xmcd.h - CDDB entries in the xmcd file format: the parser and the writer.
//
// An entry starts with the "# xmcd" signature; its header comments give the
// track frame offsets, the disc length, the revision and the submitting
// program; its keyword lines are DISCID, DTITLE ("artist / title"), DYEAR,
// DGENRE, TTITLEn, EXTD, EXTTn and PLAYORDER. A keyword may repeat: its
// values are joined. Values escape newline, tab and backslash as \n, \t and
// \\. No line may be longer than 256 characters, so the writer splits long
// values over several lines of the same keyword.
//
// Texts here are the file's own bytes (UTF-8 or ISO-8859-1); the code page
// is the caller's business. Platform-neutral, so that it can be fuzzed.
#ifndef LIBPLATTER_CDDB_XMCD_H
#define LIBPLATTER_CDDB_XMCD_H

#include <cstdint>
#include <string>
#include <vector>

namespace cddb {

// The longest line the format allows, in characters, line end excluded.
const size_t kMaxLineChars = 256;
// The writer leaves room for a CR LF line end within the limit.
const size_t kMaxWrittenLineChars = kMaxLineChars - 2;
const int kMaxEntryTracks = 99;

struct XmcdEntry {
    std::vector<int> offsets;        // the tracks' frame offsets (header comment)
    int discLengthSeconds = 0;       // 0 when the header gives none
    int revision = 0;
    std::string submittedVia;        // program and version, as in the header
    std::vector<uint32_t> discIds;   // DISCID, the first is the entry's own
    std::string artist, title;       // DTITLE split at the first " / "
    std::string year, genre;         // DYEAR, DGENRE
    std::string discText;            // EXTD
    std::vector<std::string> trackTitles; // TTITLEn, one per track
    std::vector<std::string> trackTexts;  // EXTTn, one per track
    std::vector<int> playOrder;      // PLAYORDER, track numbers from 1

    int trackCount() const { return (int)trackTitles.size(); }
};

// Parses one entry. False with a short reason ("line 12 is longer than 256
// characters") when the text is not a valid entry; `entry` is then unchanged.
bool parseXmcd(const std::string &text, XmcdEntry *entry, std::string *problem);

// Writes the entry with LF line ends; the header comments come first
// (offsets and disc length only when the entry has offsets).
std::string writeXmcd(const XmcdEntry &entry);

// The escapes of a value.
std::string escapeValue(const std::string &value);
std::string unescapeValue(const std::string &raw);

// One entry of a Windows-layout range file: the id of its "#FILENAME="
// line and the entry's text that follows it, up to the next such line.
struct RangeFileEntry {
    uint32_t id = 0;
    std::string text;
};
// Splits a range file into its entries. False when the file holds something
// other than blank lines before its first "#FILENAME=" line, or a marker
// whose id is not eight hex digits.
bool splitRangeFile(const std::string &text, std::vector<RangeFileEntry> *entries, std::string *problem);
// The marker line that starts an entry in a range file, without line end.
std::string rangeFileMarker(uint32_t id);

// Eight hex digits (either case) into an id.
bool parseDiscId(const std::string &text, uint32_t *id);
// The id as the format writes it: eight lower-case hex digits.
std::string discIdText(uint32_t id);

} // namespace cddb

#endif
