// scanner.h - walking the records of a title database file, front to back,
// and finding the way past damaged bytes. Independent of how the bytes are
// read: the store supplies them through a ByteSource.
#ifndef LIBPLATTER_TITLEDB_SCANNER_H
#define LIBPLATTER_TITLEDB_SCANNER_H

#include <cstdint>

namespace titledb {

// Gives access to the file's bytes.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // `length` bytes at `offset`, valid until the next call; null when they
    // cannot be read. Callers ask only for bytes below the scanned end.
    virtual const uint8_t *view(uint32_t offset, uint32_t length) = 0;
};

struct ScanEvent {
    enum Kind {
        Entry,    // a whole, good entry record
        Deletion, // a whole, good deletion record
        Damaged,  // a record of a known entry that failed its checks
        Lost      // damaged bytes whose entry cannot be told
    } kind;
    uint32_t winId;  // not for Lost
    uint32_t offset;
    uint32_t length;
};

class ScanSink {
public:
    virtual ~ScanSink() = default;
    virtual void onRecord(const ScanEvent &event) = 0;
};

struct ScanResult {
    bool readFailed = false;
    // End of the last whole record (or damaged stretch followed by one):
    // where the next record is appended. Bytes after it are a torn tail.
    uint32_t validEnd = 0;
};

// Reports every record between `from` and `end` in file order.
ScanResult scanRecords(ByteSource &source, uint32_t from, uint32_t end, ScanSink &sink);

} // namespace titledb

#endif
