// recordformat.cpp - encoding and checking the title database's bytes.
// Nothing here touches a file: the store hands in bytes it has read and
// writes out bytes built here.
#include "libplatter/titledb/recordformat.h"
#include "libplatter/titledb/crc32c.h"

#include <cstring>

namespace titledb {

const uint8_t kFileMagic[8] = {'S', 'P', '2', 'T', 'I', 'T', 'L', 'E'};

namespace {

constexpr uint32_t kAbsentText = 0xFFFFFFFFu;
// Mixed into the tail's seal so that a tail never checks out as a head.
constexpr uint32_t kTailSalt = 0x4C494154u;

inline void put32(uint8_t *p, uint32_t v)
{
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
    p[2] = (uint8_t)(v >> 16);
    p[3] = (uint8_t)(v >> 24);
}

inline uint32_t get32(const uint8_t *p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

inline void put64(uint8_t *p, uint64_t v)
{
    put32(p, (uint32_t)v);
    put32(p + 4, (uint32_t)(v >> 32));
}

inline uint64_t get64(const uint8_t *p) { return (uint64_t)get32(p) | (uint64_t)get32(p + 4) << 32; }

void append32(std::vector<uint8_t> *out, uint32_t v)
{
    uint8_t b[4];
    put32(b, v);
    out->insert(out->end(), b, b + 4);
}

// Appends a text as its length and bytes; false when it is over the limit.
bool appendText(std::vector<uint8_t> *out, const char *text)
{
    if (!text) {
        append32(out, kAbsentText);
        return true;
    }
    // Bounded scan: a text longer than the limit is refused, not measured.
    const void *nul = memchr(text, 0, kMaxTextLength + 1);
    if (!nul)
        return false;
    uint32_t length = (uint32_t)(static_cast<const char *>(nul) - text);
    append32(out, length);
    out->insert(out->end(), text, text + length);
    return true;
}

// Reads a payload front to back, never past its end.
class PayloadReader {
public:
    PayloadReader(const uint8_t *p, size_t n) : p_(p), end_(p + n) {}
    bool int32(int32_t *v)
    {
        if (end_ - p_ < 4)
            return false;
        *v = (int32_t)get32(p_);
        p_ += 4;
        return true;
    }
    // A text: sets `absent`, or `bytes` and `length`.
    bool text(bool *absent, const uint8_t **bytes, uint32_t *length)
    {
        if (end_ - p_ < 4)
            return false;
        uint32_t n = get32(p_);
        p_ += 4;
        *absent = n == kAbsentText;
        if (*absent)
            return true;
        if (n > kMaxTextLength || (size_t)(end_ - p_) < n)
            return false;
        *bytes = p_;
        *length = n;
        p_ += n;
        return true;
    }
    bool skip(size_t n)
    {
        if ((size_t)(end_ - p_) < n)
            return false;
        p_ += n;
        return true;
    }
    const uint8_t *here() const { return p_; }
    bool atEnd() const { return p_ == end_; }

private:
    const uint8_t *p_;
    const uint8_t *end_;
};

size_t alignUp(size_t n, size_t to) { return (n + to - 1) / to * to; }

} // namespace

// ---- File header ------------------------------------------------------------

void encodeFileHeader(uint64_t instance, uint8_t out[kFileHeaderSize])
{
    memcpy(out, kFileMagic, 8);
    put32(out + 8, kFormatVersion);
    put32(out + 12, kFileHeaderSize);
    put64(out + 16, instance);
    put32(out + 24, 0);
    put32(out + 28, crc32c(0, out, 28));
}

HeaderCheck checkFileHeader(const uint8_t *bytes, size_t length, FileHeader *header)
{
    if (length < kFileHeaderSize) {
        size_t n = length < sizeof kFileMagic ? length : sizeof kFileMagic;
        return memcmp(bytes, kFileMagic, n) == 0 ? HeaderCheck::Incomplete : HeaderCheck::Foreign;
    }
    if (memcmp(bytes, kFileMagic, 8) != 0)
        return HeaderCheck::Foreign;
    if (get32(bytes + 28) != crc32c(0, bytes, 28))
        return HeaderCheck::Foreign;
    uint32_t version = get32(bytes + 8);
    if (version != kFormatVersion || get32(bytes + 12) != kFileHeaderSize)
        return HeaderCheck::NewerFormat;
    header->version = version;
    header->instance = get64(bytes + 16);
    return HeaderCheck::Valid;
}

// ---- Record framing -----------------------------------------------------------

bool parseRecordHead(const uint8_t *bytes, RecordHead *head)
{
    if (get32(bytes) != kRecordMagic || get32(bytes + 20) != crc32c(0, bytes, 20))
        return false;
    head->kind = get32(bytes + 4);
    head->winId = get32(bytes + 8);
    head->payloadLength = get32(bytes + 12);
    head->payloadCrc = get32(bytes + 16);
    if (head->kind != KindEntry && head->kind != KindDeletion)
        return false;
    if (head->payloadLength > kMaxPayloadLength)
        return false;
    if (head->kind == KindDeletion && head->payloadLength != 0)
        return false;
    return true;
}

bool parseRecordTail(const uint8_t *bytes, RecordTail *tail)
{
    if (get32(bytes + 8) != (crc32c(0, bytes, 8) ^ kTailSalt))
        return false;
    tail->winId = get32(bytes);
    tail->recordLength = get32(bytes + 4);
    return tail->recordLength >= kRecordOverhead && tail->recordLength - kRecordOverhead <= kMaxPayloadLength;
}

FrameCheck checkFrame(const uint8_t *bytes, size_t length, RecordHead *head)
{
    if (length < kRecordOverhead || !parseRecordHead(bytes, head))
        return FrameCheck::BadHead;
    if (head->recordLength() != length)
        return FrameCheck::Damaged;
    if (crc32c(0, bytes + kRecordHeadSize, head->payloadLength) != head->payloadCrc)
        return FrameCheck::Damaged;
    RecordTail tail;
    if (!parseRecordTail(bytes + length - kRecordTailSize, &tail) || tail.winId != head->winId ||
        tail.recordLength != length)
        return FrameCheck::Damaged;
    return FrameCheck::Good;
}

void frameRecord(uint32_t kind, uint32_t winId, const uint8_t *payload, uint32_t payloadLength,
                 std::vector<uint8_t> *out)
{
    uint8_t head[kRecordHeadSize];
    put32(head, kRecordMagic);
    put32(head + 4, kind);
    put32(head + 8, winId);
    put32(head + 12, payloadLength);
    put32(head + 16, crc32c(0, payload, payloadLength));
    put32(head + 20, crc32c(0, head, 20));
    uint8_t tail[kRecordTailSize];
    put32(tail, winId);
    put32(tail + 4, payloadLength + kRecordOverhead);
    put32(tail + 8, crc32c(0, tail, 8) ^ kTailSalt);
    out->insert(out->end(), head, head + sizeof head);
    if (payloadLength)
        out->insert(out->end(), payload, payload + payloadLength);
    out->insert(out->end(), tail, tail + sizeof tail);
}

// ---- Title payload ----------------------------------------------------------------
// cddbEntry, revision, submitted, artist, discTitle, discText, trackCount,
// trackCount + 1 start frames, trackCount titles, trackCount texts,
// programLength, programLength track numbers. A text is a 32-bit length
// (0xFFFFFFFF for an absent text) and its bytes without the terminator.

bool encodeTitle(const TitleRecord &record, std::vector<uint8_t> *payload, EncodeError *error)
{
    payload->clear();
    int32_t tracks = record.trackCount;
    int32_t programLength = record.programLength;
    if (tracks < 0 || tracks > kMaxTracks) {
        error->what = "track count out of range";
        return false;
    }
    if (programLength < 0 || programLength > kMaxProgramLength) {
        error->what = "program length out of range";
        return false;
    }
    if (programLength > 0 && !record.programList) {
        error->what = "program list missing";
        return false;
    }
    append32(payload, (uint32_t)record.cddbEntry);
    append32(payload, (uint32_t)record.revision);
    append32(payload, (uint32_t)record.submitted);
    bool textsOk = appendText(payload, record.artist) && appendText(payload, record.discTitle) &&
                   appendText(payload, record.discText);
    append32(payload, (uint32_t)tracks);
    // Missing track arrays are stored as unknown starts and absent texts.
    for (int32_t i = 0; i <= tracks; ++i)
        append32(payload, record.trackStartFrames ? (uint32_t)record.trackStartFrames[i] : 0);
    for (int32_t i = 0; i < tracks && textsOk; ++i)
        textsOk = appendText(payload, record.trackTitles ? record.trackTitles[i] : nullptr);
    for (int32_t i = 0; i < tracks && textsOk; ++i)
        textsOk = appendText(payload, record.trackTexts ? record.trackTexts[i] : nullptr);
    if (!textsOk) {
        error->what = "text too long";
        payload->clear();
        return false;
    }
    append32(payload, (uint32_t)programLength);
    for (int32_t i = 0; i < programLength; ++i)
        append32(payload, (uint32_t)record.programList[i]);
    if (payload->size() > kMaxPayloadLength) {
        error->what = "record too large";
        payload->clear();
        return false;
    }
    return true;
}

namespace {

// What the first pass over a payload learns: the layout is sound, and how
// big the record's block must be.
struct TitleShape {
    int32_t fixed[3];
    int32_t tracks;
    int32_t programLength;
    const uint8_t *frames;
    const uint8_t *program;
    size_t textBytes;
};

bool measureTitle(const uint8_t *payload, size_t length, TitleShape *shape)
{
    PayloadReader check(payload, length);
    bool absent;
    const uint8_t *bytes;
    uint32_t n;
    shape->textBytes = 0;
    if (!check.int32(&shape->fixed[0]) || !check.int32(&shape->fixed[1]) || !check.int32(&shape->fixed[2]))
        return false;
    for (int i = 0; i < 3; ++i) {
        if (!check.text(&absent, &bytes, &n))
            return false;
        shape->textBytes += absent ? 0 : n + 1;
    }
    if (!check.int32(&shape->tracks) || shape->tracks < 0 || shape->tracks > kMaxTracks)
        return false;
    shape->frames = check.here();
    if (!check.skip(((size_t)shape->tracks + 1) * 4))
        return false;
    for (int32_t i = 0; i < 2 * shape->tracks; ++i) {
        if (!check.text(&absent, &bytes, &n))
            return false;
        shape->textBytes += absent ? 0 : n + 1;
    }
    if (!check.int32(&shape->programLength) || shape->programLength < 0 || shape->programLength > kMaxProgramLength)
        return false;
    shape->program = check.here();
    return check.skip((size_t)shape->programLength * 4) && check.atEnd();
}

} // namespace

bool checkTitle(const uint8_t *payload, size_t length)
{
    TitleShape shape;
    return measureTitle(payload, length, &shape);
}

bool decodeTitle(const uint8_t *payload, size_t length, BlockAlloc alloc, TitleRecord *record)
{
    memset(record, 0, sizeof *record);
    TitleShape shape;
    if (!measureTitle(payload, length, &shape))
        return false;
    const int32_t tracks = shape.tracks;
    const int32_t programLength = shape.programLength;
    const uint8_t *frames = shape.frames;
    const uint8_t *program = shape.program;
    const size_t textBytes = shape.textBytes;
    const int32_t *fixed = shape.fixed;
    bool absent = true;
    const uint8_t *bytes = nullptr;
    uint32_t n = 0;

    // One block: start frames, program, the two text arrays, texts.
    size_t framesAt = 0;
    size_t programAt = framesAt + ((size_t)tracks + 1) * 4;
    size_t arraysAt = alignUp(programAt + (size_t)programLength * 4, alignof(char *));
    size_t textsAt = arraysAt + (size_t)tracks * 2 * sizeof(char *);
    size_t total = textsAt + textBytes;
    uint8_t *block = static_cast<uint8_t *>(alloc(total));
    if (!block)
        return false;

    // Second pass: fill it. The layout was checked above.
    int32_t *startFrames = reinterpret_cast<int32_t *>(block + framesAt);
    for (int32_t i = 0; i <= tracks; ++i)
        startFrames[i] = (int32_t)get32(frames + 4 * i);
    int32_t *programList = programLength ? reinterpret_cast<int32_t *>(block + programAt) : nullptr;
    for (int32_t i = 0; i < programLength; ++i)
        programList[i] = (int32_t)get32(program + 4 * i);
    char **titles = tracks ? reinterpret_cast<char **>(block + arraysAt) : nullptr;
    char **texts = tracks ? titles + tracks : nullptr;
    char *nextText = reinterpret_cast<char *>(block + textsAt);
    auto takeText = [&](PayloadReader &reader) -> char * {
        reader.text(&absent, &bytes, &n);
        if (absent)
            return nullptr;
        char *text = nextText;
        memcpy(text, bytes, n);
        text[n] = '\0';
        nextText += n + 1;
        return text;
    };
    PayloadReader fill(payload, length);
    fill.skip(12);
    record->cddbEntry = fixed[0];
    record->revision = fixed[1];
    record->submitted = fixed[2];
    record->artist = takeText(fill);
    record->discTitle = takeText(fill);
    record->discText = takeText(fill);
    fill.skip(4 + ((size_t)tracks + 1) * 4);
    for (int32_t i = 0; i < tracks; ++i)
        titles[i] = takeText(fill);
    for (int32_t i = 0; i < tracks; ++i)
        texts[i] = takeText(fill);
    record->trackCount = tracks;
    record->trackStartFrames = startFrames;
    record->trackTitles = titles;
    record->trackTexts = texts;
    record->programLength = programLength;
    record->programList = programList;
    return true;
}

} // namespace titledb
