// recordformat.h - the title database file's layout, independent of any
// operating system: the file header, the framing of each record, and the
// conversion of a TitleRecord to and from its stored bytes.
//
// File:    FileHeader, then records one after another, appended only.
// Record:  RecordHead (24 bytes) | payload | RecordTail (12 bytes)
//   head:  magic "TREC", kind (1 entry, 2 deletion), winId, payload length,
//          payload CRC-32C, CRC-32C of the head's first 20 bytes
//   tail:  winId, whole record length, seal (CRC-32C of those 8 bytes)
// The tail lets a reader that meets a damaged head still tell which entry
// the damaged record belonged to, so that an older version of that entry
// is not taken for the newest. All integers are little-endian.
#ifndef LIBPLATTER_TITLEDB_RECORDFORMAT_H
#define LIBPLATTER_TITLEDB_RECORDFORMAT_H

#include "platter/platter.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace titledb {

// ---- Limits ---------------------------------------------------------------
// A compact disc holds at most 99 tracks.
constexpr int32_t kMaxTracks = 99;
// A programmed order may repeat tracks; this is far beyond any real one.
constexpr int32_t kMaxProgramLength = 4096;
// One text (an extended note is the longest) and one record.
constexpr uint32_t kMaxTextLength = 1u << 20;
constexpr uint32_t kMaxPayloadLength = 16u << 20;
// The whole file; keeps db_statistics' byte counts within 32 bits.
constexpr uint32_t kMaxFileSize = 0x7FFFFFFFu;

// ---- File header ------------------------------------------------------------
constexpr uint32_t kFileHeaderSize = 32;
constexpr uint32_t kFormatVersion = 1;
// "SP2TITLE" then version, header size, instance id (changes whenever the
// file is created or rewritten), reserved, CRC-32C of the first 28 bytes.
extern const uint8_t kFileMagic[8];

struct FileHeader {
    uint32_t version;
    uint64_t instance;
};

void encodeFileHeader(uint64_t instance, uint8_t out[kFileHeaderSize]);

enum class HeaderCheck {
    Valid,       // ours, this version
    Incomplete,  // shorter than a header, but what is there is the start of ours
    NewerFormat, // ours, but a version this code does not know
    Foreign      // not a title database
};
// Checks the first `length` bytes of a file (at most kFileHeaderSize are read).
HeaderCheck checkFileHeader(const uint8_t *bytes, size_t length, FileHeader *header);

// ---- Record framing -----------------------------------------------------------
constexpr uint32_t kRecordHeadSize = 24;
constexpr uint32_t kRecordTailSize = 12;
constexpr uint32_t kRecordOverhead = kRecordHeadSize + kRecordTailSize;
constexpr uint32_t kRecordMagic = 0x43455254u; // "TREC" as stored

enum RecordKind : uint32_t {
    KindEntry = 1,
    KindDeletion = 2
};

struct RecordHead {
    uint32_t kind;
    uint32_t winId;
    uint32_t payloadLength;
    uint32_t payloadCrc;
    uint32_t recordLength() const { return payloadLength + kRecordOverhead; }
};

struct RecordTail {
    uint32_t winId;
    uint32_t recordLength;
};

// Parses a head; false when the magic, its checksum, the kind or the length
// is not sane. `bytes` holds kRecordHeadSize bytes.
bool parseRecordHead(const uint8_t *bytes, RecordHead *head);
// Parses a tail; false when its seal does not match. `bytes` holds kRecordTailSize.
bool parseRecordTail(const uint8_t *bytes, RecordTail *tail);

enum class FrameCheck {
    Good,
    BadHead,      // magic or head checksum wrong: the record's extent is unknown
    Damaged       // head sane, but payload or tail wrong
};
// Checks a whole record of `length` bytes (head, payload and tail).
FrameCheck checkFrame(const uint8_t *bytes, size_t length, RecordHead *head);

// Appends one framed record to `out`.
void frameRecord(uint32_t kind, uint32_t winId, const uint8_t *payload, uint32_t payloadLength,
                 std::vector<uint8_t> *out);

// ---- Title payload --------------------------------------------------------------
// Why a record could not be encoded; the text is for diagnostics lines.
struct EncodeError {
    const char *what = nullptr;
};

// Serialises a caller's record into `payload` (replacing its contents).
// False, with the reason, for a record the database will not store:
// absurd counts, a missing program list, texts or a record over the limits.
bool encodeTitle(const TitleRecord &record, std::vector<uint8_t> *payload, EncodeError *error);

// Where decoded records get their memory: one block per record.
using BlockAlloc = void *(*)(size_t size);

// True when a payload is a well-formed title (what decodeTitle accepts).
bool checkTitle(const uint8_t *payload, size_t length);

// Fills `record` from a payload. Everything the record points to lives in a
// single block from `alloc` whose address is record->trackStartFrames.
// False, with the record zeroed and nothing allocated, when the payload is
// malformed or the allocation fails.
bool decodeTitle(const uint8_t *payload, size_t length, BlockAlloc alloc, TitleRecord *record);

} // namespace titledb

#endif
