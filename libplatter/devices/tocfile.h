// tocfile.h - reads the small plain-text TOC file that describes a disc
// with no audio data: one line per track and one for the lead-out, every
// start an absolute address (lead-in included), '#' starting a comment:
//
//     TRACK 1 AUDIO 00:02:00
//     TRACK 2 DATA  31:40:12
//     LEADOUT 52:10:40
//
// Platform-neutral.
#ifndef LIBPLATTER_DEVICES_TOCFILE_H
#define LIBPLATTER_DEVICES_TOCFILE_H

#include "libplatter/devices/discimage.h"

#include <string>

namespace devices {

// Fills `image` (no data files: its tracks play silence) and returns true,
// or returns false with a short reason and leaves `image` untouched.
bool parseTocFile(const std::string &text, DiscImage *image, std::string *problem);

} // namespace devices

#endif
