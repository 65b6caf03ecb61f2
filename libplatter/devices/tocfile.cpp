// tocfile.cpp - the plain-text TOC file parser.
#include "libplatter/devices/tocfile.h"
#include "libplatter/devices/sheettext.h"

#include <cstdio>

namespace devices {

namespace {

bool failAt(int line, const char *what, std::string *problem)
{
    char text[160];
    if (line > 0)
        snprintf(text, sizeof text, "line %d: %s", line, what);
    else
        snprintf(text, sizeof text, "%s", what);
    *problem = text;
    return false;
}

} // namespace

bool parseTocFile(const std::string &text, DiscImage *image, std::string *problem)
{
    if (text.size() > kMaxSheetBytes)
        return failAt(0, "the file is too large to be a TOC file", problem);
    DiscToc toc;
    bool leadOutSeen = false;
    std::vector<std::string> lines = splitLines(text);
    std::vector<std::string> words;
    for (size_t i = 0; i < lines.size(); ++i) {
        int line = (int)i + 1;
        std::string reason;
        std::string content = lines[i].substr(0, lines[i].find('#'));
        if (!splitWords(content, &words, &reason))
            return failAt(line, reason.c_str(), problem);
        if (words.empty())
            continue;
        if (leadOutSeen)
            return failAt(line, "nothing may follow LEADOUT", problem);
        int frames = 0;
        if (sameWord(words[0], "TRACK")) {
            int number = 0;
            if (words.size() != 4 || !parseNumber(words[1], 2, &number))
                return failAt(line, "TRACK needs a number, a type and a start", problem);
            if (number != toc.count() + 1)
                return failAt(line, "tracks must be numbered 1, 2, 3 ... in order", problem);
            TocTrack track;
            if (sameWord(words[2], "AUDIO"))
                track.audio = true;
            else if (sameWord(words[2], "DATA"))
                track.audio = false;
            else
                return failAt(line, "track type must be AUDIO or DATA", problem);
            if (!parseMsfText(words[3], &frames))
                return failAt(line, "start is not mm:ss:ff", problem);
            if (toc.tracks.empty() && frames < kLeadInFrames)
                return failAt(line, "track 1 cannot start inside the lead-in (before 00:02:00)", problem);
            if (!toc.tracks.empty() && frames <= toc.tracks.back().start)
                return failAt(line, "each track must start after the one before it", problem);
            track.start = frames;
            toc.tracks.push_back(track);
        } else if (sameWord(words[0], "LEADOUT")) {
            if (words.size() != 2 || !parseMsfText(words[1], &frames))
                return failAt(line, "LEADOUT needs a start as mm:ss:ff", problem);
            if (toc.tracks.empty())
                return failAt(line, "LEADOUT before any TRACK", problem);
            if (frames <= toc.tracks.back().start)
                return failAt(line, "LEADOUT must come after the last track's start", problem);
            toc.leadOut = frames;
            leadOutSeen = true;
        } else {
            return failAt(line, "expected TRACK or LEADOUT", problem);
        }
    }
    if (toc.tracks.empty())
        return failAt(0, "the file has no tracks", problem);
    if (!leadOutSeen)
        return failAt(0, "the file has no LEADOUT", problem);
    if (toc.leadOut > kMaxDiscFrames)
        return failAt(0, "the disc is longer than 99:59:74", problem);
    if (toc.count() > kMaxTracks)
        return failAt(0, "a disc holds at most 99 tracks", problem);
    DiscImage built;
    built.toc = toc;
    built.layout.resize(toc.tracks.size());
    *image = built;
    return true;
}

} // namespace devices
