// entrydata.h - one title database entry as a plain value that Rackfile
// can keep, edit and compare, and the TitleRecord view of it that the
// library reads and writes.
#ifndef RACKFILE_ENTRYDATA_H
#define RACKFILE_ENTRYDATA_H

#include "platter/platter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using EntryText = std::optional<std::string>; // nullopt: absent (a null pointer)

struct EntryData {
    int32_t cddbEntry = 0, revision = 0, submitted = 0;
    EntryText artist, discTitle, discText;
    int32_t trackCount = 0;
    std::vector<int32_t> startFrames; // trackCount + 1 starts, or all zero when unknown
    std::vector<EntryText> trackTitles, trackTexts; // trackCount each
    std::vector<int32_t> program;     // 1-based track numbers

    bool operator==(const EntryData &o) const;
    bool operator!=(const EntryData &o) const { return !(*this == o); }
    // True when the entry knows where its tracks start (it can be exported).
    bool hasTrackLayout() const;
    // Sets trackCount and sizes the track lists (new tracks: absent texts).
    void resizeTracks(int32_t count);
};

// Copies what the library filled in, bounded by the record's own counts.
EntryData entryFromRecord(const TitleRecord &record);

// A TitleRecord pointing into an EntryData, which must outlive it unchanged.
class EntryRecord {
public:
    explicit EntryRecord(const EntryData &entry);
    const TitleRecord *get() const { return &record_; }

private:
    TitleRecord record_ = {};
    std::vector<int32_t> frames_, program_;
    std::vector<char *> titles_, texts_;
};

// The entry's texts for the list: empty for absent.
inline const std::string &textOr(const EntryText &t)
{
    static const std::string none;
    return t ? *t : none;
}

#endif
