// compact.cpp - db_compact's work: the live entries' newest records are
// copied, in file order, into a new file beside the database, which is
// flushed and then put in the database's place in one rename. Until that
// rename nothing touches the old file, so a failure leaves it as it was.
// Damaged records are not copied; the result then says so (-7).
#include "libplatter/titledb/store.h"
#include "libplatter/titledb/recordformat.h"
#include "libplatter/titledb/storestate.h"
#include "libplatter/diag.h"

#include <windows.h>

#include <algorithm>

namespace titledb {

namespace {

constexpr size_t kWriteChunk = 4u << 20;

// Makes the new file. A file already of that name is replaced only when it
// is the leftover of an earlier compaction (or empty); anyone else's file
// is left alone and the compaction does not happen.
bool createTempFile(const std::string &path, DbFile *out)
{
    DbFile old;
    if (old.open(path, false) == DbFile::Opened) {
        uint8_t bytes[kFileHeaderSize];
        uint64_t size = 0;
        uint32_t have = 0;
        if (old.size(&size))
            have = size < kFileHeaderSize ? (uint32_t)size : kFileHeaderSize;
        FileHeader header;
        bool ours = have == 0 || (old.readAt(0, bytes, have) && checkFileHeader(bytes, have, &header) !=
                                                                     HeaderCheck::Foreign);
        old.close();
        if (!ours) {
            platterDiag("Title database: %s is in the way of compaction and is not ours; nothing was compacted.",
                        path.c_str());
            return false;
        }
    }
    if (!out->createFresh(path)) {
        platterDiag("Title database: %s cannot be made (error %lu).", path.c_str(), (unsigned long)out->error());
        return false;
    }
    return true;
}

struct Copier {
    DbFile &out;
    std::vector<uint8_t> chunk;
    uint32_t flushedTo = 0;
    bool put(const uint8_t *bytes, size_t n)
    {
        chunk.insert(chunk.end(), bytes, bytes + n);
        return chunk.size() < kWriteChunk || drain();
    }
    bool drain()
    {
        if (chunk.empty())
            return true;
        if (!out.writeAt(flushedTo, chunk.data(), (uint32_t)chunk.size()))
            return false;
        flushedTo += (uint32_t)chunk.size();
        chunk.clear();
        return true;
    }
};

} // namespace

int storeCompact()
{
    StoreState &s = storeState();
    if (s.status == StoreStatus::NoFile)
        return PLATTER_OK;
    if (s.status != StoreStatus::Ready && s.status != StoreStatus::Empty) {
        platterDiag("Title database %s is not usable; nothing was compacted.", s.path.c_str());
        return PLATTER_FAIL;
    }
    if (!openStoreFile(s) || (s.status != StoreStatus::Ready && s.status != StoreStatus::Empty))
        return s.status == StoreStatus::NoFile ? PLATTER_OK : PLATTER_FAIL;

    std::vector<std::pair<uint32_t, Slot>> slots;
    slots.reserve(s.index.size());
    s.index.forEach([&](uint32_t winId, const Slot &slot) { slots.emplace_back(winId, slot); });
    std::sort(slots.begin(), slots.end(),
              [](const auto &a, const auto &b) { return a.second.offset < b.second.offset; });

    std::string tempPath = s.path + ".new";
    DbFile out;
    if (!createTempFile(tempPath, &out))
        return PLATTER_FAIL;

    uint64_t instance = newInstanceId();
    Copier copier{out, {}, 0};
    copier.chunk.reserve(kWriteChunk + 64 * 1024);
    uint8_t header[kFileHeaderSize];
    encodeFileHeader(instance, header);
    copier.put(header, sizeof header);

    SlotIndex newIndex;
    newIndex.reserve(slots.size());
    uint32_t position = kFileHeaderSize;
    uint32_t dropped = s.lostStretches;
    bool failed = false;
    FileWindow window(s.file, s.validEnd);
    for (const auto &entry : slots) {
        uint32_t winId = entry.first;
        const Slot &slot = entry.second;
        const uint8_t *bytes = slot.damaged ? nullptr : window.view(slot.offset, slot.length);
        if (!slot.damaged && !bytes) {
            platterDiag("Title database %s cannot be read (error %lu); nothing was compacted.", s.path.c_str(),
                        (unsigned long)s.file.error());
            failed = true;
            break;
        }
        RecordHead head;
        if (slot.damaged || checkFrame(bytes, slot.length, &head) != FrameCheck::Good || head.winId != winId ||
            head.kind != KindEntry || !checkTitle(bytes + kRecordHeadSize, head.payloadLength)) {
            platterDiag("Title database: the damaged entry of %08lX was left out.", (unsigned long)winId);
            ++dropped;
            continue;
        }
        if (!copier.put(bytes, slot.length)) {
            failed = true;
            break;
        }
        Slot ignored;
        newIndex.put(winId, Slot{position, slot.length, false}, &ignored);
        position += slot.length;
    }
    if (!failed && (!copier.drain() || !out.flush())) {
        failed = true;
    }
    if (failed) {
        if (out.error())
            platterDiag("Title database: %s cannot be written (error %lu); nothing was compacted.",
                        tempPath.c_str(), (unsigned long)out.error());
        out.close();
        DeleteFileA(tempPath.c_str());
        return PLATTER_FAIL;
    }
    out.close();

    // The old file's handle goes first: a file open without delete sharing
    // could not be replaced.
    s.file.close();
    if (!DbFile::replace(tempPath, s.path)) {
        platterDiag("Title database: %s cannot replace %s (error %lu); nothing was compacted.", tempPath.c_str(),
                    s.path.c_str(), (unsigned long)GetLastError());
        DeleteFileA(tempPath.c_str());
        if (s.file.openForReading(s.path) != DbFile::Opened)
            s.status = StoreStatus::Failed;
        return PLATTER_FAIL;
    }

    uint32_t before = s.fileSize;
    s.resetIndex();
    s.index = std::move(newIndex);
    s.instance = instance;
    s.fileSize = s.validEnd = position;
    s.liveBytes = position - kFileHeaderSize;
    s.indexValid = true;
    s.status = StoreStatus::Ready;
    if (s.file.openForReading(s.path) != DbFile::Opened) {
        // Compacted, but this process cannot go on using the file.
        s.resetIndex();
        s.status = StoreStatus::Failed;
    }
    noteStoreWritten(s);
    platterDiag("Title database compacted: %lu entries kept, %lu bytes reclaimed, %lu damaged left out.",
                (unsigned long)s.index.size(), (unsigned long)(before - position), (unsigned long)dropped);
    return dropped ? PLATTER_DB_CORRUPT_DROPPED : PLATTER_OK;
}

} // namespace titledb
