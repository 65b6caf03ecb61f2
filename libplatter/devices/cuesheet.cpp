// cuesheet.cpp - the CUE sheet parser. Positions in a sheet are frames from
// the start of the current FILE; the disc's absolute addresses follow from
// the files' lengths, the two-second lead-in and the PREGAP/POSTGAP silence
// that no file holds.
#include "libplatter/devices/cuesheet.h"
#include "libplatter/devices/sheettext.h"

#include <cstdio>

namespace devices {

namespace {

struct TrackMode {
    const char *name;
    int stride;
    bool audio;
};

const TrackMode kTrackModes[] = {
    {"AUDIO", 2352, true},       {"CDG", 2448, true},         {"MODE1/2048", 2048, false},
    {"MODE1/2352", 2352, false}, {"MODE2/2048", 2048, false}, {"MODE2/2324", 2324, false},
    {"MODE2/2336", 2336, false}, {"MODE2/2352", 2352, false}, {"CDI/2336", 2336, false},
    {"CDI/2352", 2352, false},
};

const TrackMode *findTrackMode(const std::string &word)
{
    for (const TrackMode &mode : kTrackModes)
        if (sameWord(word, mode.name))
            return &mode;
    return nullptr;
}

// A track belongs to the file that holds its INDEX 01. Its INDEX 00 may lie
// at the end of the file before (one file per track with the gaps kept):
// that gap is then played as the tail of the track before.
struct SheetTrack {
    int file = -1; // the file of INDEX 01, or of the latest line while none came
    const TrackMode *mode = nullptr;
    int pregap = 0;
    int postgap = 0;
    int index0 = -1;     // frames from its file's start; -1 when absent
    int index0File = -1; // the file that holds INDEX 00
    int index1 = -1;
    int lastIndex = -1;
    bool indexSeen = false;
};

class CueReader {
public:
    CueReader(const FileProbe &probe) : probe_(probe) {}
    bool read(const std::string &text, DiscImage *image, std::string *problem);

private:
    bool fail(const char *what);
    bool onFile(const std::vector<std::string> &words);
    bool onTrack(const std::vector<std::string> &words);
    bool onIndex(const std::vector<std::string> &words);
    bool onGap(const std::vector<std::string> &words, bool before);
    bool finishTrack();
    bool trackIsOpen() const;
    bool layOut(DiscImage *image);

    const FileProbe &probe_;
    std::vector<ImageFile> files_;
    std::vector<SheetTrack> tracks_;
    int lastFileFrame_ = 0; // latest index position in the current file
    int line_ = 0;
    std::string problem_;
};

bool CueReader::fail(const char *what)
{
    char text[160];
    if (line_ > 0)
        snprintf(text, sizeof text, "line %d: %s", line_, what);
    else
        snprintf(text, sizeof text, "%s", what);
    problem_ = text;
    return false;
}

// A track takes INDEX and gap lines while its INDEX 01 has not come, even
// across a FILE line; after that only in the file where it started.
bool CueReader::trackIsOpen() const
{
    if (tracks_.empty())
        return false;
    const SheetTrack &track = tracks_.back();
    return track.file == (int)files_.size() - 1 || track.index1 < 0;
}

bool CueReader::onFile(const std::vector<std::string> &words)
{
    if (words.size() != 3)
        return fail("FILE needs a name and a type");
    ImageFile file;
    file.name = words[1];
    if (sameWord(words[2], "BINARY"))
        file.kind = ImageFileKind::Binary;
    else if (sameWord(words[2], "MOTOROLA"))
        file.kind = ImageFileKind::Motorola;
    else if (sameWord(words[2], "WAVE"))
        file.kind = ImageFileKind::Wave;
    else
        return fail("FILE type must be BINARY, MOTOROLA or WAVE");
    if (!isSafeImageFileName(file.name))
        return fail("FILE must name a file inside the drive's folder");
    FileFacts facts = probe_(file.name, file.kind);
    if (!facts.usable) {
        std::string what = "data file \"" + file.name + "\": " + (facts.problem.empty() ? "not usable" : facts.problem);
        return fail(what.c_str());
    }
    file.dataOffset = facts.dataOffset;
    file.dataBytes = facts.dataBytes;
    files_.push_back(file);
    lastFileFrame_ = 0;
    return true;
}

bool CueReader::onTrack(const std::vector<std::string> &words)
{
    if (!finishTrack())
        return false;
    if (files_.empty())
        return fail("TRACK before any FILE");
    int number = 0;
    if (words.size() != 3 || !parseNumber(words[1], 2, &number))
        return fail("TRACK needs a number and a type");
    if (number != (int)tracks_.size() + 1)
        return fail("tracks must be numbered 1, 2, 3 ... in order");
    SheetTrack track;
    track.file = (int)files_.size() - 1;
    track.mode = findTrackMode(words[2]);
    if (!track.mode)
        return fail("unknown TRACK type");
    if (files_.back().kind == ImageFileKind::Wave && !track.mode->audio)
        return fail("a WAVE file can only hold AUDIO tracks");
    tracks_.push_back(track);
    return true;
}

bool CueReader::onIndex(const std::vector<std::string> &words)
{
    if (!trackIsOpen())
        return fail("INDEX outside a TRACK");
    SheetTrack &track = tracks_.back();
    const int current = (int)files_.size() - 1;
    int number = 0;
    int frames = 0;
    if (words.size() != 3 || !parseNumber(words[1], 2, &number))
        return fail("INDEX needs a number and a time");
    if (!parseMsfText(words[2], &frames))
        return fail("INDEX time is not mm:ss:ff");
    if (number <= track.lastIndex || (!track.indexSeen && number > 1) || (track.indexSeen && number > 1 && track.index1 < 0))
        return fail("INDEX numbers must start at 0 or 1 and rise");
    if (number > 1 && track.file != current)
        return fail("INDEX outside a TRACK");
    if (frames < lastFileFrame_)
        return fail("INDEX times must not go back");
    if (track.indexSeen == false && (int)tracks_.size() > 1 && tracks_[tracks_.size() - 2].file == current &&
        frames <= tracks_[tracks_.size() - 2].index1)
        return fail("a track must not start where the one before it starts");
    if (number <= 1 && files_.back().kind == ImageFileKind::Wave && !track.mode->audio)
        return fail("a WAVE file can only hold AUDIO tracks");
    if (number == 0) {
        track.index0 = frames;
        track.index0File = current;
    }
    if (number == 1)
        track.index1 = frames;
    track.file = current;
    track.lastIndex = number;
    track.indexSeen = true;
    lastFileFrame_ = frames;
    return true;
}

bool CueReader::onGap(const std::vector<std::string> &words, bool before)
{
    if (!trackIsOpen())
        return fail(before ? "PREGAP outside a TRACK" : "POSTGAP outside a TRACK");
    SheetTrack &track = tracks_.back();
    int frames = 0;
    if (words.size() != 2 || !parseMsfText(words[1], &frames))
        return fail("gap time is not mm:ss:ff");
    if (before) {
        if (track.indexSeen)
            return fail("PREGAP must come before the track's INDEX lines");
        track.pregap = frames;
    } else {
        if (track.index1 < 0)
            return fail("POSTGAP must come after the track's INDEX 01");
        track.postgap = frames;
    }
    return true;
}

bool CueReader::finishTrack()
{
    if (!tracks_.empty() && tracks_.back().index1 < 0) {
        char what[64];
        snprintf(what, sizeof what, "track %d has no INDEX 01", (int)tracks_.size());
        return fail(what);
    }
    return true;
}

bool CueReader::read(const std::string &text, DiscImage *image, std::string *problem)
{
    bool ok = true;
    if (text.size() > kMaxSheetBytes) {
        ok = fail("the sheet is too large to be a CUE sheet");
    } else {
        std::vector<std::string> lines = splitLines(text);
        std::vector<std::string> words;
        for (size_t i = 0; ok && i < lines.size(); ++i) {
            line_ = (int)i + 1;
            std::string reason;
            if (!splitWords(lines[i], &words, &reason)) {
                ok = fail(reason.c_str());
                break;
            }
            if (words.empty())
                continue;
            const std::string &command = words[0];
            if (sameWord(command, "FILE"))
                ok = onFile(words);
            else if (sameWord(command, "TRACK"))
                ok = onTrack(words);
            else if (sameWord(command, "INDEX"))
                ok = onIndex(words);
            else if (sameWord(command, "PREGAP"))
                ok = onGap(words, true);
            else if (sameWord(command, "POSTGAP"))
                ok = onGap(words, false);
            // Everything else (REM, TITLE, PERFORMER, FLAGS, ISRC, CATALOG ...)
            // describes the disc but does not shape it.
        }
        line_ = 0;
        if (ok)
            ok = finishTrack();
        if (ok && tracks_.empty())
            ok = fail("the sheet has no tracks");
    }
    DiscImage built;
    if (ok)
        ok = layOut(&built);
    if (!ok) {
        *problem = problem_;
        return false;
    }
    *image = built;
    return true;
}

bool CueReader::layOut(DiscImage *image)
{
    image->files = files_;
    int fileBase = kLeadInFrames; // where frame 0 of the current file lands, gaps aside
    int gapShift = 0;             // silence inserted so far by PREGAP and POSTGAP
    size_t first = 0;
    for (size_t f = 0; f < files_.size(); ++f) {
        size_t end = first;
        while (end < tracks_.size() && tracks_[end].file == (int)f)
            ++end;
        if (end == first)
            return fail("a FILE holds no track");
        // Byte position of each track's first index in the file. Sectors of
        // different sizes may share one file, so walk them track by track.
        uint64_t segmentByte = 0;
        int segmentFrame = 0;
        int stride = tracks_[first].mode->stride;
        std::vector<uint64_t> startBytes;
        for (size_t t = first; t < end; ++t) {
            const SheetTrack &track = tracks_[t];
            int segmentStart = track.index0 >= 0 && track.index0File == (int)f ? track.index0 : track.index1;
            segmentByte += (uint64_t)(segmentStart - segmentFrame) * (uint64_t)stride;
            segmentFrame = segmentStart;
            stride = track.mode->stride;
            startBytes.push_back(segmentByte + (uint64_t)(track.index1 - segmentStart) * (uint64_t)stride);
        }
        const SheetTrack &last = tracks_[end - 1];
        uint64_t lastByte = startBytes.back();
        uint64_t bytes = files_[f].dataBytes;
        if (bytes < lastByte + (uint64_t)last.mode->stride) {
            char what[96];
            snprintf(what, sizeof what, "data file \"%.40s\" ends before track %d", files_[f].name.c_str(), (int)end);
            return fail(what);
        }
        // The file's tail: the last track's own sectors, then the gap of the
        // next track when that track's INDEX 00 lies in this file.
        int tailStart = last.index1;
        uint64_t tailByte = lastByte;
        int tailStride = last.mode->stride;
        if (end < tracks_.size() && tracks_[end].index0File == (int)f) {
            const SheetTrack &next = tracks_[end];
            tailByte += (uint64_t)(next.index0 - last.index1) * (uint64_t)last.mode->stride;
            tailStart = next.index0;
            tailStride = next.mode->stride;
            if (bytes < tailByte) {
                char what[96];
                snprintf(what, sizeof what, "data file \"%.40s\" ends before track %d", files_[f].name.c_str(),
                         (int)end + 1);
                return fail(what);
            }
        }
        uint64_t tailFrames = (bytes - tailByte) / (uint64_t)tailStride;
        if (tailFrames > (uint64_t)kMaxDiscFrames)
            return fail("the disc is longer than 99:59:74");
        int fileFrames = tailStart + (int)tailFrames;
        for (size_t t = first; t < end; ++t) {
            const SheetTrack &track = tracks_[t];
            gapShift += track.pregap;
            if (fileBase + track.index1 + gapShift > kMaxDiscFrames)
                return fail("the disc is longer than 99:59:74");
            TocTrack entry;
            entry.start = fileBase + track.index1 + gapShift;
            entry.audio = track.mode->audio;
            image->toc.tracks.push_back(entry);
            ImageTrack where;
            where.file = (int)f;
            where.startByte = startBytes[t - first];
            where.stride = track.mode->stride;
            where.framesInFile = (t + 1 < end ? tracks_[t + 1].index1 : fileFrames) - track.index1;
            image->layout.push_back(where);
            gapShift += track.postgap;
        }
        fileBase += fileFrames;
        first = end;
        if (fileBase + gapShift > kMaxDiscFrames)
            return fail("the disc is longer than 99:59:74");
    }
    image->toc.leadOut = fileBase + gapShift;
    if (!tocIsValid(image->toc))
        return fail("the tracks do not form a valid table of contents");
    return true;
}

} // namespace

bool isSafeImageFileName(const std::string &name)
{
    if (name.empty() || name[0] == '\\' || name[0] == '/' || name.find(':') != std::string::npos)
        return false;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = name.size();
        std::string part = name.substr(start, end - start);
        if (part.empty() || part == "..")
            return false;
        start = end + 1;
    }
    return true;
}

bool parseCueSheet(const std::string &text, const FileProbe &probe, DiscImage *image, std::string *problem)
{
    CueReader reader(probe);
    return reader.read(text, image, problem);
}

} // namespace devices
