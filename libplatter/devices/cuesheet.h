// cuesheet.h - reads a standard CUE sheet into a virtual disc. Understood:
// FILE (BINARY, MOTOROLA, WAVE), TRACK nn with AUDIO, CDG, MODE1/..., MODE2/...
// or CDI/..., INDEX, PREGAP and POSTGAP; the texts (TITLE, PERFORMER, REM
// ...) are skipped. The last track of each file runs to the file's end; a
// track's INDEX 00 may lie in the file before the one with its INDEX 01.
// Platform-neutral: data files are known only through the probe.
#ifndef LIBPLATTER_DEVICES_CUESHEET_H
#define LIBPLATTER_DEVICES_CUESHEET_H

#include "libplatter/devices/discimage.h"

#include <string>

namespace devices {

// Fills `image` and returns true, or returns false with a short reason
// ("line 4: INDEX before any TRACK") and leaves `image` untouched.
bool parseCueSheet(const std::string &text, const FileProbe &probe, DiscImage *image, std::string *problem);

// True when a name an image gives for a data file stays inside the image's
// folder: not absolute, no drive, no "..".
bool isSafeImageFileName(const std::string &name);

} // namespace devices

#endif
