// backend.h - what a drive backend does for the device calls. Positions are
// absolute frames; the calls that change play return the drive's new play
// state (3, 4, 5, or 0 when it has no usable disc).
#ifndef LIBPLATTER_DEVICES_BACKEND_H
#define LIBPLATTER_DEVICES_BACKEND_H

#include "libplatter/devices/disctoc.h"

#include <cstdint>

namespace devices {

class DriveBackend {
public:
    virtual ~DriveBackend() = default;
    virtual const char *kind() const = 0;
    virtual bool mediaPresent() = 0;
    virtual bool readToc(DiscToc *toc) = 0;
    virtual int status() = 0;
    virtual bool position(const DiscToc &toc, QPosition *q) = 0;
    // Plays [from, end); the caller checked both against `toc`.
    virtual int play(const DiscToc &toc, int from, int end) = 0;
    virtual int pause() = 0;
    // Continues from the current position, stopping by the rule of
    // resumeEnd (disctoc.h) for `track` and `singleTrack`.
    virtual int resume(const DiscToc &toc, int track, bool singleTrack) = 0;
    virtual int stop() = 0;
    virtual bool eject() = 0;
    // What tells the disc in the drive from another: it changes whenever a
    // different disc (or a new version of an image) went in. The hardware
    // drive knows of a change from its last mediaPresent; 0 may stand for
    // no usable disc.
    virtual uint64_t discIdentity() = 0;
};

} // namespace devices

#endif
