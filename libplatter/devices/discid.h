// discid.h - the two identities of a disc computed from its table of
// contents: the Windows CD Player's Cdplayer.ini section number and the
// CDDB (freedb) disc id. Platform-neutral.
#ifndef LIBPLATTER_DEVICES_DISCID_H
#define LIBPLATTER_DEVICES_DISCID_H

#include "libplatter/devices/disctoc.h"

#include <cstdint>

namespace devices {

// Sum over the tracks of (minutes << 16) + (seconds << 8) + frames of each
// start; a disc of fewer than three tracks also adds its total length in
// frames (the lead-out's start) and, with exactly two tracks, the frame
// field of track 1's start.
uint32_t windowsPlayerId(const DiscToc &toc);

// ((sum of the digit sums of each start in whole seconds) mod 255) << 24 |
// (playing time in seconds from track 1 to the lead-out) << 8 | tracks.
uint32_t cddbDiscId(const DiscToc &toc);

} // namespace devices

#endif
