// scanner.cpp - the record walk. A record with a sane head is stepped over
// by its length. A damaged head makes the walk look for the record's own
// tail (a sound tail whose length reaches back exactly to the head), which
// gives the damaged record's extent and entry; failing that, it searches for
// the next whole record that checks out, and the tails just in front of it
// tell which entries the damaged stretch held. So one damaged byte costs
// the record it is in and no more. Bytes at the end that form no whole
// record are a torn tail: an append that never finished.
#include "libplatter/titledb/scanner.h"
#include "libplatter/titledb/recordformat.h"

#include <cstring>
#include <vector>

namespace titledb {

namespace {

constexpr uint32_t kSearchChunk = 64 * 1024;
const uint8_t kMagicBytes[4] = {'T', 'R', 'E', 'C'};

inline uint32_t get32(const uint8_t *p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

// True when a whole record that checks out (head, payload and tail) starts
// at `at` and ends by `end`. A sane head alone is not trusted: the bytes of
// a text can look like one.
bool wholeRecordAt(ByteSource &source, uint32_t at, uint32_t end, const RecordHead &head, bool *failed)
{
    uint32_t length = head.recordLength();
    if (length > end - at)
        return false;
    const uint8_t *bytes = source.view(at, length);
    if (!bytes) {
        *failed = true;
        return false;
    }
    RecordHead again;
    return checkFrame(bytes, length, &again) == FrameCheck::Good;
}

// Offset of the first whole, sound record in [from, end), or end when none.
// Sets *failed on a read failure.
uint32_t findNextHead(ByteSource &source, uint32_t from, uint32_t end, bool *failed)
{
    uint32_t pos = from;
    while (end - pos >= kRecordHeadSize) {
        uint32_t chunk = end - pos < kSearchChunk ? end - pos : kSearchChunk;
        const uint8_t *bytes = source.view(pos, chunk);
        if (!bytes) {
            *failed = true;
            return end;
        }
        // Heads that start in this chunk and end inside it; the next chunk
        // overlaps by a head's length less one to see the rest.
        uint32_t lastStart = chunk - kRecordHeadSize;
        for (uint32_t i = 0; i <= lastStart; ++i) {
            const void *hit = memchr(bytes + i, kMagicBytes[0], lastStart - i + 1);
            if (!hit)
                break;
            i = (uint32_t)(static_cast<const uint8_t *>(hit) - bytes);
            RecordHead head;
            if (memcmp(bytes + i, kMagicBytes, 4) != 0 || !parseRecordHead(bytes + i, &head))
                continue;
            if (wholeRecordAt(source, pos + i, end, head, failed))
                return pos + i;
            if (*failed)
                return end;
            // The check read elsewhere: the chunk is fetched again.
            bytes = source.view(pos, chunk);
            if (!bytes) {
                *failed = true;
                return end;
            }
        }
        if (chunk == end - pos)
            break;
        pos += lastStart + 1;
    }
    return end;
}

// The end of the record whose damaged head lies at `from`, told by its own
// tail: the first sound tail whose length reaches back exactly to `from`.
// 0 when there is none; sets *failed on a read failure.
uint32_t findOwnTail(ByteSource &source, uint32_t from, uint32_t end, RecordTail *tail, bool *failed)
{
    if (end - from < kRecordOverhead)
        return 0;
    uint32_t limit = end - from > kMaxPayloadLength + kRecordOverhead ? from + kMaxPayloadLength + kRecordOverhead : end;
    uint32_t pos = from + kRecordHeadSize; // where the shortest record's tail starts
    uint32_t lastStart = limit - kRecordTailSize;
    while (pos <= lastStart) {
        uint32_t span = lastStart - pos + kRecordTailSize;
        uint32_t chunk = span < kSearchChunk ? span : kSearchChunk;
        const uint8_t *bytes = source.view(pos, chunk);
        if (!bytes) {
            *failed = true;
            return 0;
        }
        // Tails wholly inside this chunk; the next one starts after the last.
        uint32_t starts = chunk - kRecordTailSize + 1;
        for (uint32_t i = 0; i < starts; ++i) {
            uint32_t recordEnd = pos + i + kRecordTailSize;
            // The length field is compared first: the seal is worked out
            // only where the length already fits.
            if (get32(bytes + i + 4) == recordEnd - from && parseRecordTail(bytes + i, tail))
                return recordEnd;
        }
        pos += starts;
    }
    return 0;
}

// Reports the damaged stretch [from, to): walking back from its end, each
// sound tail names a record; what no tail accounts for is Lost. Returns the
// number of bytes the tails accounted for.
uint32_t reportDamagedStretch(ByteSource &source, uint32_t from, uint32_t to, ScanSink &sink, bool *failed)
{
    std::vector<ScanEvent> named;
    uint32_t at = to;
    while (at - from >= kRecordOverhead) {
        const uint8_t *bytes = source.view(at - kRecordTailSize, kRecordTailSize);
        if (!bytes) {
            *failed = true;
            return 0;
        }
        RecordTail tail;
        if (!parseRecordTail(bytes, &tail) || tail.recordLength > at - from)
            break;
        named.push_back({ScanEvent::Damaged, tail.winId, at - tail.recordLength, tail.recordLength});
        at -= tail.recordLength;
    }
    if (at > from)
        sink.onRecord({ScanEvent::Lost, 0, from, at - from});
    for (auto it = named.rbegin(); it != named.rend(); ++it)
        sink.onRecord(*it);
    return to - at;
}

} // namespace

ScanResult scanRecords(ByteSource &source, uint32_t from, uint32_t end, ScanSink &sink)
{
    ScanResult result;
    uint32_t pos = from;
    result.validEnd = from;
    while (pos < end) {
        uint32_t remain = end - pos;
        if (remain < kRecordHeadSize)
            break; // a torn head
        const uint8_t *bytes = source.view(pos, kRecordHeadSize);
        if (!bytes) {
            result.readFailed = true;
            return result;
        }
        RecordHead head;
        if (parseRecordHead(bytes, &head)) {
            uint32_t length = head.recordLength();
            if (length > remain)
                break; // the append that wrote this record did not finish
            bytes = source.view(pos, length);
            if (!bytes) {
                result.readFailed = true;
                return result;
            }
            FrameCheck check = checkFrame(bytes, length, &head);
            // A record that checks out but does not decode is as damaged
            // as one whose checksum fails.
            if (check == FrameCheck::Good && head.kind == KindEntry &&
                !checkTitle(bytes + kRecordHeadSize, head.payloadLength))
                check = FrameCheck::Damaged;
            switch (check) {
            case FrameCheck::Good:
                sink.onRecord({head.kind == KindEntry ? ScanEvent::Entry : ScanEvent::Deletion, head.winId, pos,
                               length});
                break;
            default:
                // The head names the entry: its newest version is this
                // damaged one, whatever older versions say.
                sink.onRecord({ScanEvent::Damaged, head.winId, pos, length});
                break;
            }
            pos += length;
            result.validEnd = pos;
            continue;
        }
        RecordTail own;
        uint32_t ownEnd = findOwnTail(source, pos, end, &own, &result.readFailed);
        if (result.readFailed)
            return result;
        if (ownEnd) {
            sink.onRecord({ScanEvent::Damaged, own.winId, pos, ownEnd - pos});
            pos = ownEnd;
            result.validEnd = pos;
            continue;
        }
        uint32_t next = findNextHead(source, pos + 1, end, &result.readFailed);
        if (result.readFailed)
            return result;
        if (next == end) {
            // Nothing sane follows. Whole records with sound tails that end
            // exactly at the end of the file were written completely and
            // damaged later; anything else is the torn tail of a crash.
            const uint8_t *tailBytes = end - pos >= kRecordOverhead
                                           ? source.view(end - kRecordTailSize, kRecordTailSize)
                                           : nullptr;
            RecordTail tail;
            if (!tailBytes || !parseRecordTail(tailBytes, &tail) || tail.recordLength > end - pos)
                break;
        }
        reportDamagedStretch(source, pos, next, sink, &result.readFailed);
        if (result.readFailed)
            return result;
        pos = next;
        result.validEnd = pos;
    }
    return result;
}

} // namespace titledb
