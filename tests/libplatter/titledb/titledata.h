// titledata.h - title records as plain values for the title database's
// tests and their helper program: build one, point a TitleRecord at it,
// capture a record the library filled, compare two. Header-only, so that
// dbwriter_tool (linked to platter.dll alone) can use it too.
#ifndef TESTS_LIBPLATTER_TITLEDB_TITLEDATA_H
#define TESTS_LIBPLATTER_TITLEDB_TITLEDATA_H

#include "platter/platter.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace titletest {

using Text = std::optional<std::string>; // nullopt: absent (a null pointer)

struct TitleData {
    int32_t cddbEntry = 0;
    int32_t revision = 0;
    int32_t submitted = 0;
    Text artist, discTitle, discText;
    int32_t trackCount = 0;
    std::vector<int32_t> startFrames; // trackCount + 1
    std::vector<Text> titles, texts;  // trackCount each
    std::vector<int32_t> program;

    bool operator==(const TitleData &o) const
    {
        return cddbEntry == o.cddbEntry && revision == o.revision && submitted == o.submitted &&
               artist == o.artist && discTitle == o.discTitle && discText == o.discText &&
               trackCount == o.trackCount && startFrames == o.startFrames && titles == o.titles &&
               texts == o.texts && program == o.program;
    }
    bool operator!=(const TitleData &o) const { return !(*this == o); }
};

inline void describeText(std::ostream &out, const Text &t)
{
    if (t)
        out << '"' << *t << '"';
    else
        out << "(null)";
}

inline std::ostream &operator<<(std::ostream &out, const TitleData &d)
{
    out << "{" << d.cddbEntry << "," << d.revision << "," << d.submitted << " artist=";
    describeText(out, d.artist);
    out << " title=";
    describeText(out, d.discTitle);
    out << " text=";
    describeText(out, d.discText);
    out << " tracks=" << d.trackCount << " frames=[";
    for (int32_t f : d.startFrames)
        out << f << " ";
    out << "] titles=[";
    for (const Text &t : d.titles) {
        describeText(out, t);
        out << " ";
    }
    out << "] texts=[";
    for (const Text &t : d.texts) {
        describeText(out, t);
        out << " ";
    }
    out << "] program=[";
    for (int32_t p : d.program)
        out << p << " ";
    return out << "]}";
}

// A TitleRecord pointing into a TitleData, which must outlive it and not change.
class RecordView {
public:
    explicit RecordView(const TitleData &d)
    {
        record_.cddbEntry = d.cddbEntry;
        record_.revision = d.revision;
        record_.submitted = d.submitted;
        record_.artist = ptr(d.artist);
        record_.discTitle = ptr(d.discTitle);
        record_.discText = ptr(d.discText);
        record_.trackCount = d.trackCount;
        frames_ = d.startFrames;
        record_.trackStartFrames = frames_.empty() ? nullptr : frames_.data();
        for (const Text &t : d.titles)
            titles_.push_back(ptr(t));
        for (const Text &t : d.texts)
            texts_.push_back(ptr(t));
        record_.trackTitles = titles_.empty() ? nullptr : titles_.data();
        record_.trackTexts = texts_.empty() ? nullptr : texts_.data();
        program_ = d.program;
        record_.programLength = (int32_t)program_.size();
        record_.programList = program_.empty() ? nullptr : program_.data();
    }
    const TitleRecord *get() const { return &record_; }
    TitleRecord *mutableRecord() { return &record_; }

private:
    static char *ptr(const Text &t) { return t ? const_cast<char *>(t->c_str()) : nullptr; }
    TitleRecord record_ = {};
    std::vector<int32_t> frames_;
    std::vector<char *> titles_, texts_;
    std::vector<int32_t> program_;
};

// Copies what the library filled in, bounded by the record's own counts.
inline TitleData capture(const TitleRecord &r)
{
    auto text = [](const char *p) { return p ? Text(std::string(p)) : Text(); };
    TitleData d;
    d.cddbEntry = r.cddbEntry;
    d.revision = r.revision;
    d.submitted = r.submitted;
    d.artist = text(r.artist);
    d.discTitle = text(r.discTitle);
    d.discText = text(r.discText);
    d.trackCount = r.trackCount;
    if (r.trackStartFrames)
        d.startFrames.assign(r.trackStartFrames, r.trackStartFrames + r.trackCount + 1);
    for (int32_t i = 0; i < r.trackCount; ++i) {
        d.titles.push_back(r.trackTitles ? text(r.trackTitles[i]) : Text());
        d.texts.push_back(r.trackTexts ? text(r.trackTexts[i]) : Text());
    }
    if (r.programList)
        d.program.assign(r.programList, r.programList + r.programLength);
    return d;
}

// A plausible disc, the same every time for the same id and tag: some
// texts absent, some present and empty, a program on every fourth disc.
inline TitleData sampleTitle(uint32_t id, const std::string &tag)
{
    TitleData d;
    std::string key = tag + " " + std::to_string(id);
    d.cddbEntry = (int32_t)(id % 2);
    d.revision = (int32_t)(id % 7);
    d.submitted = (int32_t)(id % 3 == 0);
    d.artist = "Artist " + key;
    d.discTitle = "Disc " + key;
    if (id % 3 == 0)
        d.discText = std::string();
    else if (id % 3 == 1)
        d.discText = "Notes for " + key + "\r\nsecond line";
    d.trackCount = (int32_t)(1 + id % 14);
    for (int32_t i = 0; i <= d.trackCount; ++i)
        d.startFrames.push_back(150 + i * 16000 + (int32_t)(id % 100));
    for (int32_t i = 0; i < d.trackCount; ++i) {
        d.titles.push_back(i % 5 == 4 ? Text() : Text("Track " + std::to_string(i + 1) + " of " + key));
        d.texts.push_back(i % 3 == 0 ? Text("About track " + std::to_string(i + 1)) : (i % 3 == 1 ? Text("") : Text()));
    }
    if (id % 4 == 0)
        for (int32_t i = d.trackCount; i >= 1; --i)
            d.program.push_back(i);
    return d;
}

} // namespace titletest

#endif
