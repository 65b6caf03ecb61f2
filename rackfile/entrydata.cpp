// entrydata.cpp - conversions between EntryData and the library's record.
#include "rackfile/entrydata.h"

bool EntryData::operator==(const EntryData &o) const
{
    return cddbEntry == o.cddbEntry && revision == o.revision && submitted == o.submitted && artist == o.artist &&
           discTitle == o.discTitle && discText == o.discText && trackCount == o.trackCount &&
           startFrames == o.startFrames && trackTitles == o.trackTitles && trackTexts == o.trackTexts &&
           program == o.program;
}

bool EntryData::hasTrackLayout() const
{
    if (trackCount < 1 || startFrames.size() != (size_t)trackCount + 1)
        return false;
    for (size_t i = 1; i < startFrames.size(); ++i)
        if (startFrames[i] <= startFrames[i - 1])
            return false;
    return startFrames[0] >= 0;
}

void EntryData::resizeTracks(int32_t count)
{
    trackCount = count;
    trackTitles.resize((size_t)count);
    trackTexts.resize((size_t)count);
    if (!startFrames.empty())
        startFrames.resize((size_t)count + 1, 0);
}

EntryData entryFromRecord(const TitleRecord &r)
{
    auto text = [](const char *p) { return p ? EntryText(std::string(p)) : EntryText(); };
    EntryData d;
    d.cddbEntry = r.cddbEntry;
    d.revision = r.revision;
    d.submitted = r.submitted;
    d.artist = text(r.artist);
    d.discTitle = text(r.discTitle);
    d.discText = text(r.discText);
    d.trackCount = r.trackCount > 0 ? r.trackCount : 0;
    if (r.trackStartFrames)
        d.startFrames.assign(r.trackStartFrames, r.trackStartFrames + d.trackCount + 1);
    for (int32_t i = 0; i < d.trackCount; ++i) {
        d.trackTitles.push_back(r.trackTitles ? text(r.trackTitles[i]) : EntryText());
        d.trackTexts.push_back(r.trackTexts ? text(r.trackTexts[i]) : EntryText());
    }
    if (r.programLength > 0 && r.programList)
        d.program.assign(r.programList, r.programList + r.programLength);
    return d;
}

EntryRecord::EntryRecord(const EntryData &d)
{
    auto ptr = [](const EntryText &t) { return t ? const_cast<char *>(t->c_str()) : nullptr; };
    record_.cddbEntry = d.cddbEntry;
    record_.revision = d.revision;
    record_.submitted = d.submitted;
    record_.artist = ptr(d.artist);
    record_.discTitle = ptr(d.discTitle);
    record_.discText = ptr(d.discText);
    record_.trackCount = d.trackCount;
    frames_ = d.startFrames;
    frames_.resize((size_t)d.trackCount + 1, 0);
    record_.trackStartFrames = frames_.data();
    for (int32_t i = 0; i < d.trackCount; ++i) {
        titles_.push_back(i < (int32_t)d.trackTitles.size() ? ptr(d.trackTitles[(size_t)i]) : nullptr);
        texts_.push_back(i < (int32_t)d.trackTexts.size() ? ptr(d.trackTexts[(size_t)i]) : nullptr);
    }
    record_.trackTitles = titles_.empty() ? nullptr : titles_.data();
    record_.trackTexts = texts_.empty() ? nullptr : texts_.data();
    program_ = d.program;
    record_.programLength = (int32_t)program_.size();
    record_.programList = program_.empty() ? nullptr : program_.data();
}
