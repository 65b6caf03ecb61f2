// disctoc.cpp - frame arithmetic over a table of contents.
#include "libplatter/devices/disctoc.h"

namespace devices {

Msf framesToMsf(int frames)
{
    if (frames < 0)
        frames = 0;
    Msf msf;
    msf.minutes = frames / kFramesPerMinute;
    msf.seconds = frames / kFramesPerSecond % 60;
    msf.frames = frames % kFramesPerSecond;
    return msf;
}

int msfToFrames(int minutes, int seconds, int frames)
{
    return minutes * kFramesPerMinute + seconds * kFramesPerSecond + frames;
}

int DiscToc::startOf(int track) const
{
    if (track >= 1 && track <= count())
        return tracks[track - 1].start;
    return leadOut;
}

int DiscToc::endOf(int track) const
{
    return startOf(track + 1);
}

bool tocIsValid(const DiscToc &toc)
{
    if (toc.tracks.empty() || toc.count() > kMaxTracks)
        return false;
    if (toc.tracks[0].start < 0)
        return false;
    for (int i = 1; i < toc.count(); ++i)
        if (toc.tracks[i].start <= toc.tracks[i - 1].start)
            return false;
    return toc.leadOut > toc.tracks.back().start && toc.leadOut <= kMaxDiscFrames;
}

int trackAt(const DiscToc &toc, int frame)
{
    int track = 1;
    for (int i = 1; i < toc.count(); ++i)
        if (toc.tracks[i].start <= frame)
            track = i + 1;
    return track;
}

QPosition qPositionAt(const DiscToc &toc, int frame)
{
    QPosition q;
    q.track = trackAt(toc, frame);
    q.absolute = frame;
    q.relative = frame - toc.startOf(q.track);
    if (q.relative < 0)
        q.relative = 0;
    return q;
}

int playEnd(const DiscToc &toc, int track, bool singleTrack)
{
    if (singleTrack)
        return toc.endOf(track);
    for (int t = track + 1; t <= toc.count(); ++t)
        if (!toc.tracks[t - 1].audio)
            return toc.startOf(t);
    return toc.leadOut;
}

int resumeEnd(const DiscToc &toc, int track, bool singleTrack, int position)
{
    bool inside = track >= 1 && track <= toc.count() && position >= toc.startOf(track) &&
                  position < toc.endOf(track);
    return playEnd(toc, inside ? track : trackAt(toc, position), singleTrack);
}

} // namespace devices
