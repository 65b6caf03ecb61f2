// store.cpp - the title database's index and its appends.
//
// The file is a header and records appended one after another (see
// recordformat.h). The index maps each winId to its newest record: a live
// entry, or a damaged one, which reads as missing so that an older version
// never stands in for it. A deletion removes the winId from the index.
//
// Between two takings of the database another process may have appended
// (the file grew: only the new part is read) or compacted (the file has a
// new instance id in its header: all of it is read again). Every writer
// moves a shared count when it touches the file (dblock.h); while the count
// stands, a db_lock looks at nothing, and the file is opened, for reading
// only, when a call first needs its bytes. (The handle is closed again at
// db_unlock: held on, it would keep another process's compaction from
// replacing the file, and a deleted file from going away.)
#include "libplatter/titledb/store.h"
#include "libplatter/titledb/dbfile.h"
#include "libplatter/titledb/dblock.h"
#include "libplatter/titledb/recordformat.h"
#include "libplatter/titledb/scanner.h"
#include "libplatter/titledb/storestate.h"
#include "libplatter/diag.h"

#include <windows.h>

namespace titledb {

namespace {

void *heapBlock(size_t size) { return HeapAlloc(GetProcessHeap(), 0, size); }

// Applies the scanner's findings to the index.
class IndexBuilder : public ScanSink {
public:
    explicit IndexBuilder(StoreState &s) : s_(s) {}
    void onRecord(const ScanEvent &e) override
    {
        switch (e.kind) {
        case ScanEvent::Entry:
            s_.setSlot(e.winId, {e.offset, e.length, false});
            break;
        case ScanEvent::Deletion:
            s_.dropSlot(e.winId);
            break;
        case ScanEvent::Damaged:
            s_.setSlot(e.winId, {e.offset, e.length, true});
            platterDiag("Title database: the record of %08lX at %lu is damaged; the entry reads as missing.",
                        (unsigned long)e.winId, (unsigned long)e.offset);
            break;
        case ScanEvent::Lost:
            ++s_.lostStretches;
            platterDiag("Title database: %lu damaged bytes at %lu belong to no entry that can be told.",
                        (unsigned long)e.length, (unsigned long)e.offset);
            break;
        }
    }

private:
    StoreState &s_;
};

// Reads the records from `from` to the end of the file into the index.
bool scanInto(StoreState &s, uint32_t from, uint32_t fileSize)
{
    FileWindow window(s.file, fileSize);
    IndexBuilder builder(s);
    ScanResult result = scanRecords(window, from, fileSize, builder);
    if (result.readFailed) {
        platterDiag("Title database %s cannot be read (error %lu).", s.path.c_str(), (unsigned long)s.file.error());
        s.resetIndex();
        s.status = StoreStatus::Failed;
        return false;
    }
    s.fileSize = fileSize;
    s.validEnd = result.validEnd;
    if (fileSize > s.validEnd && s.reportedTornAt != s.validEnd) {
        platterDiag("Title database: %lu bytes at its end are an unfinished record and are ignored.",
                    (unsigned long)(fileSize - s.validEnd));
        s.reportedTornAt = s.validEnd;
    }
    s.indexValid = true;
    s.status = StoreStatus::Ready;
    return true;
}

// Opens the file (unless it is open already) and brings the index up to
// date with it.
void refresh(StoreState &s)
{
    switch (s.file.isOpen() ? DbFile::Opened : s.file.openForReading(s.path)) {
    case DbFile::Missing:
        s.resetIndex();
        s.status = StoreStatus::NoFile;
        return;
    case DbFile::Failed:
        platterDiag("Title database %s cannot be opened (error %lu).", s.path.c_str(), (unsigned long)s.file.error());
        s.resetIndex();
        s.status = StoreStatus::Failed;
        return;
    case DbFile::Opened:
        break;
    }
    uint64_t size = 0;
    if (!s.file.size(&size)) {
        s.resetIndex();
        s.status = StoreStatus::Failed;
        return;
    }
    if (size > kMaxFileSize) {
        platterDiag("Title database %s is too large to be one (%llu bytes); it is left alone.", s.path.c_str(),
                    (unsigned long long)size);
        s.resetIndex();
        s.status = StoreStatus::Foreign;
        return;
    }
    uint8_t bytes[kFileHeaderSize];
    uint32_t have = size < kFileHeaderSize ? (uint32_t)size : kFileHeaderSize;
    if (have && !s.file.readAt(0, bytes, have)) {
        s.resetIndex();
        s.status = StoreStatus::Failed;
        return;
    }
    FileHeader header;
    switch (checkFileHeader(bytes, have, &header)) {
    case HeaderCheck::Incomplete:
        // Created, but the first append never finished: nothing to lose.
        s.resetIndex();
        s.status = StoreStatus::Empty;
        s.fileSize = (uint32_t)size;
        return;
    case HeaderCheck::Foreign:
        if (s.status != StoreStatus::Foreign)
            platterDiag("%s is not a Spindle2 title database; it is left alone.", s.path.c_str());
        s.resetIndex();
        s.status = StoreStatus::Foreign;
        return;
    case HeaderCheck::NewerFormat:
        if (s.status != StoreStatus::Foreign)
            platterDiag("%s was written by a newer version of the title database; it is left alone.",
                        s.path.c_str());
        s.resetIndex();
        s.status = StoreStatus::Foreign;
        return;
    case HeaderCheck::Valid:
        break;
    }
    if (s.indexValid && header.instance == s.instance && size >= s.validEnd) {
        scanInto(s, s.validEnd, (uint32_t)size); // only what was appended since
        return;
    }
    s.resetIndex();
    s.instance = header.instance;
    s.index.reserve(size / 1024); // a typical disc's record is about a kilobyte
    scanInto(s, kFileHeaderSize, (uint32_t)size);
}

// Undoes a failed append: the bytes after the last whole record go.
void cutBack(StoreState &s)
{
    uint64_t size = 0;
    if (s.file.truncate(s.validEnd))
        s.fileSize = s.validEnd;
    else if (s.file.size(&size) && size <= kMaxFileSize)
        s.fileSize = (uint32_t)size;
}

// The first record of a new or emptied file goes out with the header.
bool appendFirst(StoreState &s, const std::vector<uint8_t> &frame)
{
    uint64_t instance = newInstanceId();
    std::vector<uint8_t> bytes(kFileHeaderSize);
    encodeFileHeader(instance, bytes.data());
    bytes.insert(bytes.end(), frame.begin(), frame.end());
    if (!s.file.writeAt(0, bytes.data(), (uint32_t)bytes.size()) || !s.file.truncate(bytes.size()) ||
        !s.file.flush()) {
        platterDiag("Title database %s cannot be written (error %lu).", s.path.c_str(), (unsigned long)s.file.error());
        s.file.truncate(0);
        return false;
    }
    s.resetIndex();
    s.instance = instance;
    s.indexValid = true;
    s.status = StoreStatus::Ready;
    s.fileSize = s.validEnd = (uint32_t)bytes.size();
    return true;
}

bool appendWritable(StoreState &s, const std::vector<uint8_t> &frame, uint32_t *offset);

// Appends one framed record durably. On failure the file is cut back to
// where it was and the index is untouched.
bool appendFrame(StoreState &s, const std::vector<uint8_t> &frame, uint32_t *offset)
{
    // Taken on trust at db_lock: the file is opened now, and may turn out to
    // be gone.
    if (s.status == StoreStatus::Ready)
        openStoreFile(s);
    if (s.status == StoreStatus::NoFile) {
        if (s.file.open(s.path, true) != DbFile::Opened) {
            platterDiag("Title database %s cannot be made (error %lu).", s.path.c_str(), (unsigned long)s.file.error());
            return false;
        }
        refresh(s); // someone may have made it meanwhile
        if (s.status == StoreStatus::NoFile)
            s.status = StoreStatus::Failed;
    }
    if (s.status != StoreStatus::Ready && s.status != StoreStatus::Empty) {
        platterDiag("Title database %s is not usable; nothing was written.", s.path.c_str());
        return false;
    }
    if (!s.file.writable()) {
        // Opened for reading only: the handle that writes comes now.
        DbFile::OpenResult reopened = s.file.open(s.path, false);
        if (reopened != DbFile::Opened) {
            platterDiag("Title database %s cannot be opened (error %lu); nothing was written.", s.path.c_str(),
                        (unsigned long)s.file.error());
            if (reopened == DbFile::Missing)
                s.resetIndex();
            s.status = reopened == DbFile::Missing ? StoreStatus::NoFile : StoreStatus::Failed;
            return false;
        }
    }
    if (!s.file.writable()) {
        platterDiag("Title database %s is read-only; nothing was written.", s.path.c_str());
        return false;
    }
    bool written = appendWritable(s, frame, offset);
    noteStoreWritten(s);
    return written;
}

// appendFrame's work once the file is open for writing.
bool appendWritable(StoreState &s, const std::vector<uint8_t> &frame, uint32_t *offset)
{
    if (s.status == StoreStatus::Empty) {
        *offset = kFileHeaderSize;
        return appendFirst(s, frame);
    }
    if ((uint64_t)s.validEnd + frame.size() > kMaxFileSize) {
        platterDiag("Title database %s is full; nothing was written.", s.path.c_str());
        return false;
    }
    if (s.fileSize > s.validEnd && !s.file.truncate(s.validEnd)) {
        platterDiag("Title database %s: the unfinished record at its end cannot be removed (error %lu).",
                    s.path.c_str(), (unsigned long)s.file.error());
        return false;
    }
    s.fileSize = s.validEnd;
    if (!s.file.writeAt(s.validEnd, frame.data(), (uint32_t)frame.size()) || !s.file.flush()) {
        platterDiag("Title database %s cannot be written (error %lu).", s.path.c_str(), (unsigned long)s.file.error());
        cutBack(s);
        return false;
    }
    *offset = s.validEnd;
    s.validEnd += (uint32_t)frame.size();
    s.fileSize = s.validEnd;
    return true;
}

} // namespace

bool openStoreFile(StoreState &s)
{
    if (s.file.isOpen())
        return true;
    uint64_t size = 0;
    if (s.file.openForReading(s.path) == DbFile::Opened && s.file.size(&size) && size == s.fileSize)
        return true;
    // Gone, or changed by something that does not keep the count: the file
    // is looked at afresh. The count still stands where it was seen.
    s.file.close();
    ++s.refreshes;
    refresh(s);
    s.changesKnown = s.indexValid && s.status == StoreStatus::Ready;
    return s.file.isOpen();
}

void noteStoreWritten(StoreState &s)
{
    uint32_t count = 0;
    if (!noteDatabaseChanged(&count))
        return;
    // What this process wrote is in its index already.
    s.changesSeen = count;
    s.changesKnown = s.indexValid && s.status == StoreStatus::Ready;
}

void storeAttach(const std::string &path, const uint32_t *changes)
{
    StoreState &s = storeState();
    if (path != s.path) {
        s.resetIndex();
        s.file.close();
        s.path = path;
        s.status = StoreStatus::Unknown;
    }
    if (changes && s.changesKnown && s.indexValid && s.status == StoreStatus::Ready && *changes == s.changesSeen)
        return; // nobody wrote since this process last looked
    ++s.refreshes;
    refresh(s);
    s.changesKnown = changes && s.indexValid && s.status == StoreStatus::Ready;
    s.changesSeen = changes ? *changes : 0;
}

uint32_t storeRefreshCount() { return storeState().refreshes; }

void storeDetach() { storeState().file.close(); }

void storeForgetIndex()
{
    StoreState &s = storeState();
    s.resetIndex();
}

int storeRead(uint32_t winId, TitleRecord *record)
{
    StoreState &s = storeState();
    if (s.status != StoreStatus::Ready)
        return 0;
    const Slot *found = s.index.find(winId);
    if (!found)
        return 0;
    uint32_t refreshes = s.refreshes;
    if (!openStoreFile(s))
        return 0;
    if (s.refreshes != refreshes)
        return storeRead(winId, record); // the file was read again: so was the slot
    Slot slot = *found;
    if (slot.damaged) {
        platterDiag("Title database: the entry of %08lX is damaged.", (unsigned long)winId);
        return 0;
    }
    s.buffer.resize(slot.length);
    if (!s.file.readAt(slot.offset, s.buffer.data(), slot.length)) {
        platterDiag("Title database: the entry of %08lX cannot be read (error %lu).", (unsigned long)winId,
                    (unsigned long)s.file.error());
        return 0;
    }
    RecordHead head;
    bool good = checkFrame(s.buffer.data(), slot.length, &head) == FrameCheck::Good && head.winId == winId &&
                head.kind == KindEntry;
    if (good && decodeTitle(s.buffer.data() + kRecordHeadSize, head.payloadLength, heapBlock, record))
        return 1;
    if (good) {
        // Sound on disk: only the memory for the record was missing.
        platterDiag("Title database: no memory for the entry of %08lX.", (unsigned long)winId);
        return 0;
    }
    // Changed on disk since it was indexed: from now on it is damaged.
    platterDiag("Title database: the record of %08lX at %lu is damaged; the entry reads as missing.",
                (unsigned long)winId, (unsigned long)slot.offset);
    s.setSlot(winId, {slot.offset, slot.length, true});
    return 0;
}

int storeWrite(uint32_t winId, const TitleRecord &record)
{
    StoreState &s = storeState();
    EncodeError error;
    if (!encodeTitle(record, &s.payload, &error)) {
        platterDiag("Title database: the entry of %08lX is not stored: %s.", (unsigned long)winId, error.what);
        return 0;
    }
    s.frame.clear();
    frameRecord(KindEntry, winId, s.payload.data(), (uint32_t)s.payload.size(), &s.frame);
    uint32_t offset = 0;
    if (!appendFrame(s, s.frame, &offset))
        return 0;
    s.setSlot(winId, {offset, (uint32_t)s.frame.size(), false});
    return 1;
}

int storeDelete(uint32_t winId)
{
    StoreState &s = storeState();
    if (s.status != StoreStatus::Ready || !s.index.find(winId))
        return 0;
    s.frame.clear();
    frameRecord(KindDeletion, winId, nullptr, 0, &s.frame);
    uint32_t offset = 0;
    if (!appendFrame(s, s.frame, &offset))
        return 0;
    s.dropSlot(winId);
    return 1;
}

int storeStatistics(int32_t *total, int32_t *reclaimable)
{
    StoreState &s = storeState();
    switch (s.status) {
    case StoreStatus::NoFile:
        *total = 0;
        *reclaimable = 0;
        return 1;
    case StoreStatus::Empty:
        *total = (int32_t)s.fileSize;
        *reclaimable = (int32_t)s.fileSize;
        return 1;
    case StoreStatus::Ready:
        // Bytes. What compaction would remove: everything but the header and
        // the live entries' newest records.
        *total = (int32_t)s.fileSize;
        *reclaimable = (int32_t)(s.fileSize - kFileHeaderSize - s.liveBytes);
        return 1;
    default:
        return 0;
    }
}

} // namespace titledb
