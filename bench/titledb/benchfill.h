// benchfill.h - makes title database files of a given size for the
// benchmark, straight through the record format, far faster than durable
// writes one by one could.
#ifndef BENCH_TITLEDB_BENCHFILL_H
#define BENCH_TITLEDB_BENCHFILL_H

#include "platter/platter.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace bench {

// A disc of 15 tracks with titles, some extended texts, sometimes a
// program: what a collection of titled discs holds.
class DiscMaker {
public:
    explicit DiscMaker(uint32_t seed) : random_(seed) {}
    // Fills `record`; it points into this object until the next call.
    void make(TitleRecord *record);

private:
    std::string words(int minLength, int maxLength);
    std::mt19937 random_;
    std::string artist_, title_, text_;
    std::vector<std::string> titles_, texts_;
    std::vector<char *> titlePtrs_, textPtrs_;
    std::vector<int32_t> frames_, program_;
};

// The winId of disc number i (distinct for every i).
inline uint32_t discId(uint32_t i) { return i * 2654435761u + 0x1234567u; }

struct FillResult {
    bool ok = false;
    uint64_t bytes = 0;
    uint64_t reclaimable = 0;
};

// Writes a database of `entries` discs to `path`, then writes new versions
// of discs until about `reclaimableShare` of the file is superseded.
FillResult fillDatabase(const std::string &path, uint32_t entries, double reclaimableShare, uint32_t seed);

} // namespace bench

#endif
