// disctoc.h - a disc's table of contents as the drive reports it, and the
// frame arithmetic every backend shares: minutes, seconds and frames,
// which track holds a position, where a play range ends. Platform-neutral.
#ifndef LIBPLATTER_DEVICES_DISCTOC_H
#define LIBPLATTER_DEVICES_DISCTOC_H

#include <vector>

namespace devices {

const int kFramesPerSecond = 75;
const int kFramesPerMinute = 60 * kFramesPerSecond;
// Track 1 of a disc starts after the two-second lead-in.
const int kLeadInFrames = 2 * kFramesPerSecond;
// The highest address a disc can have: 99:59:74.
const int kMaxDiscFrames = 100 * kFramesPerMinute - 1;
const int kMaxTracks = 99;

struct Msf {
    int minutes;
    int seconds;
    int frames;
};

Msf framesToMsf(int frames);
int msfToFrames(int minutes, int seconds, int frames);

struct TocTrack {
    int start;  // absolute frame of index 1, lead-in included
    bool audio; // false: a data track
};

// Tracks 1..N in order and the lead-out. Starts strictly increase and the
// lead-out lies after the last start; disc loaders check that (tocIsValid).
struct DiscToc {
    std::vector<TocTrack> tracks;
    int leadOut = 0;

    int count() const { return (int)tracks.size(); }
    // Start of track n (1-based); n = count() + 1 gives the lead-out.
    int startOf(int track) const;
    // First frame after track n.
    int endOf(int track) const;
};

bool tocIsValid(const DiscToc &toc);

// What a Q channel reports for an absolute position.
struct QPosition {
    int track;    // 1-based
    int relative; // frames from the track's start
    int absolute; // frames from the start of the disc, lead-in included
};

// The track that holds `frame` (positions before track 1 count as track 1,
// positions at or after the lead-out as the last track).
int trackAt(const DiscToc &toc, int frame);
QPosition qPositionAt(const DiscToc &toc, int frame);

// Where play begun in `track` stops: the end of that track when
// singleTrack, else the start of the first data track after it, or the
// lead-out. A drive does not play into a data track.
int playEnd(const DiscToc &toc, int track, bool singleTrack);

// The stopping point of a resume from `position`: the rule above for
// `track` when the position lies inside it, else for the track that holds
// the position (the caller's idea of the current track may lag the drive).
int resumeEnd(const DiscToc &toc, int track, bool singleTrack, int position);

} // namespace devices

#endif
