// dbrecord_fuzz.cpp - the title database's file header check, record walk
// and record decoder on any bytes. The walk reads through a source that
// hands out each view in a block of its own, freed at the next call, so a
// read past a view or of a stale one is caught. What the walk reports must
// tile the bytes it passed, in order, and every entry it calls whole must
// decode, and encode again to the very same payload.
#include "libplatter/titledb/recordformat.h"
#include "libplatter/titledb/scanner.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace titledb;

namespace {

class StrictSource : public ByteSource {
public:
    StrictSource(const uint8_t *data, uint32_t size) : data_(data), size_(size) {}
    ~StrictSource() override { free(view_); }
    const uint8_t *view(uint32_t offset, uint32_t length) override
    {
        free(view_);
        view_ = nullptr;
        if (offset > size_ || length > size_ - offset)
            abort(); // the walk asked for bytes beyond the end it was given
        view_ = static_cast<uint8_t *>(malloc(length ? length : 1));
        memcpy(view_, data_ + offset, length);
        return view_;
    }

private:
    const uint8_t *data_;
    uint32_t size_;
    uint8_t *view_ = nullptr;
};

class Collector : public ScanSink {
public:
    void onRecord(const ScanEvent &event) override { events.push_back(event); }
    std::vector<ScanEvent> events;
};

void *block(size_t size) { return malloc(size); }

// An entry reported whole: it decodes, and what it decodes to is stored
// and read back unchanged.
void checkEntry(const uint8_t *data, const ScanEvent &e)
{
    RecordHead head;
    if (checkFrame(data + e.offset, e.length, &head) != FrameCheck::Good || head.winId != e.winId)
        abort();
    const uint8_t *payload = data + e.offset + kRecordHeadSize;
    TitleRecord record, back;
    if (!decodeTitle(payload, head.payloadLength, block, &record))
        abort();
    std::vector<uint8_t> once, twice;
    EncodeError error;
    if (!encodeTitle(record, &once, &error) || once.size() > head.payloadLength)
        abort();
    // A text cut short at a zero byte is the only way to come out shorter;
    // at the same length the bytes must be the same.
    if (once.size() == head.payloadLength && memcmp(once.data(), payload, once.size()) != 0)
        abort();
    if (!decodeTitle(once.data(), once.size(), block, &back) || !encodeTitle(back, &twice, &error) || twice != once)
        abort();
    free(record.trackStartFrames);
    free(back.trackStartFrames);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 1u << 20)
        return 0;
    FileHeader header;
    HeaderCheck check = checkFileHeader(data, size, &header);
    // Files that start with a header of ours are walked from behind it, as
    // the store does; anything else is walked as records from the start.
    uint32_t from = check == HeaderCheck::Valid ? kFileHeaderSize : 0;
    uint32_t end = (uint32_t)size;
    StrictSource source(data, end);
    Collector sink;
    ScanResult result = scanRecords(source, from, end, sink);
    if (result.readFailed || result.validEnd < from || result.validEnd > end)
        abort();
    uint32_t at = from;
    for (const ScanEvent &e : sink.events) {
        if (e.offset != at || e.length == 0 || e.length > end - e.offset)
            abort();
        switch (e.kind) {
        case ScanEvent::Entry:
            checkEntry(data, e);
            break;
        case ScanEvent::Deletion:
            if (e.length != kRecordOverhead)
                abort();
            break;
        case ScanEvent::Damaged:
            if (e.length < kRecordOverhead)
                abort();
            break;
        case ScanEvent::Lost:
            break;
        }
        at += e.length;
    }
    if (at != result.validEnd)
        abort();
    return 0;
}
