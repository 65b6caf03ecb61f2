// playclock.h - the clock virtual drives play by: the system's tick count,
// unless a test has taken it over to step it by hand.
#ifndef LIBPLATTER_DEVICES_PLAYCLOCK_H
#define LIBPLATTER_DEVICES_PLAYCLOCK_H

#include <cstdint>

namespace devices {

// Milliseconds; the same time base in every process (the system's tick
// count) unless taken over.
uint64_t playClockNow();
// True while a test holds the clock.
bool playClockIsManual();

// Test seam: from now on the clock reads `startMs` and moves only by
// playClockStep; playClockRelease gives it back to the system.
void playClockTakeOver(uint64_t startMs);
void playClockStep(uint64_t ms);
void playClockRelease();

} // namespace devices

#endif
