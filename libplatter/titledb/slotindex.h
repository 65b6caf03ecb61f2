// slotindex.h - the index from winId to the newest record: an open-
// addressing hash table in one array, because a database of 100,000 discs
// is indexed every time the program starts, and one heap block per entry
// (as a node-based map makes) costs more than the reading of the file.
#ifndef LIBPLATTER_TITLEDB_SLOTINDEX_H
#define LIBPLATTER_TITLEDB_SLOTINDEX_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace titledb {

// Where the newest record of one winId lies.
struct Slot {
    uint32_t offset;
    uint32_t length; // never 0 for a stored slot: a record has a head and a tail
    bool damaged;    // fails its checks: reads as missing, dropped by compaction
};

class SlotIndex {
public:
    size_t size() const { return count_; }

    const Slot *find(uint32_t winId) const
    {
        if (cells_.empty())
            return nullptr;
        for (size_t i = home(winId);; i = (i + 1) & mask_) {
            const Cell &c = cells_[i];
            if (c.slot.length == 0)
                return nullptr;
            if (c.winId == winId)
                return &c.slot;
        }
    }

    // Stores the slot of winId; returns the one it replaced, if any.
    bool put(uint32_t winId, const Slot &slot, Slot *replaced)
    {
        if ((count_ + 1) * 4 > cells_.size() * 3)
            grow();
        for (size_t i = home(winId);; i = (i + 1) & mask_) {
            Cell &c = cells_[i];
            if (c.slot.length == 0) {
                c.winId = winId;
                c.slot = slot;
                ++count_;
                return false;
            }
            if (c.winId == winId) {
                *replaced = c.slot;
                c.slot = slot;
                return true;
            }
        }
    }

    // Removes winId; returns its slot, if it had one.
    bool erase(uint32_t winId, Slot *removed)
    {
        if (cells_.empty())
            return false;
        size_t i = home(winId);
        for (;; i = (i + 1) & mask_) {
            if (cells_[i].slot.length == 0)
                return false;
            if (cells_[i].winId == winId)
                break;
        }
        *removed = cells_[i].slot;
        // Shift later members of the probe run back into the hole, so that
        // lookups never meet a gap before their cell.
        size_t hole = i;
        for (size_t j = (i + 1) & mask_; cells_[j].slot.length != 0; j = (j + 1) & mask_) {
            size_t want = home(cells_[j].winId);
            bool movable = hole <= j ? (want <= hole || want > j) : (want <= hole && want > j);
            if (movable) {
                cells_[hole] = cells_[j];
                hole = j;
            }
        }
        cells_[hole].slot.length = 0;
        --count_;
        return true;
    }

    void clear()
    {
        cells_.clear();
        count_ = 0;
        mask_ = 0;
        bits_ = 0;
    }

    // Makes room for `n` entries without growing on the way.
    void reserve(size_t n)
    {
        if (n * 4 > cells_.size() * 3)
            rehash(n * 4 / 3 + 1);
    }

    template <typename Visit> void forEach(Visit visit) const
    {
        for (const Cell &c : cells_)
            if (c.slot.length != 0)
                visit(c.winId, c.slot);
    }

private:
    struct Cell {
        uint32_t winId;
        Slot slot;
    };

    size_t home(uint32_t winId) const { return bits_ ? (uint32_t)(winId * 2654435769u) >> (32 - bits_) : 0; }

    void grow() { rehash(cells_.empty() ? 16 : cells_.size() * 2); }

    void rehash(size_t atLeast)
    {
        size_t capacity = 16;
        unsigned bits = 4;
        while (capacity < atLeast) {
            capacity *= 2;
            ++bits;
        }
        std::vector<Cell> old;
        old.swap(cells_);
        cells_.assign(capacity, Cell{0, {0, 0, false}});
        mask_ = capacity - 1;
        bits_ = bits;
        count_ = 0;
        Slot ignored;
        for (const Cell &c : old)
            if (c.slot.length != 0)
                put(c.winId, c.slot, &ignored);
    }

    std::vector<Cell> cells_;
    size_t count_ = 0;
    size_t mask_ = 0;
    unsigned bits_ = 0;
};

} // namespace titledb

#endif
