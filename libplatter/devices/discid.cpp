// discid.cpp - Cdplayer.ini section number and CDDB disc id.
#include "libplatter/devices/discid.h"

namespace devices {

uint32_t windowsPlayerId(const DiscToc &toc)
{
    uint32_t id = 0;
    for (const TocTrack &track : toc.tracks) {
        Msf msf = framesToMsf(track.start);
        id += ((uint32_t)msf.minutes << 16) + ((uint32_t)msf.seconds << 8) + (uint32_t)msf.frames;
    }
    if (toc.count() < 3) {
        if (toc.count() == 2)
            id += (uint32_t)framesToMsf(toc.tracks[0].start).frames;
        id += (uint32_t)toc.leadOut;
    }
    return id;
}

namespace {

uint32_t digitSum(int n)
{
    uint32_t sum = 0;
    for (; n > 0; n /= 10)
        sum += (uint32_t)(n % 10);
    return sum;
}

} // namespace

uint32_t cddbDiscId(const DiscToc &toc)
{
    if (toc.tracks.empty())
        return 0;
    uint32_t checksum = 0;
    for (const TocTrack &track : toc.tracks)
        checksum += digitSum(track.start / kFramesPerSecond);
    int seconds = toc.leadOut / kFramesPerSecond - toc.tracks[0].start / kFramesPerSecond;
    return (checksum % 255) << 24 | ((uint32_t)seconds & 0xFFFF) << 8 | ((uint32_t)toc.count() & 0xFF);
}

} // namespace devices
