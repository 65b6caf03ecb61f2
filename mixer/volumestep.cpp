// volumestep.cpp - the arithmetic of one volume button press. Sums are done
// in 64 bits: a fader may use the whole 32-bit range.
#include "mixer/volumestep.h"

#include <cstdint>

namespace {
// The divisor that makes one press an eightieth of the fader's range.
const DWORD pressesPerRange = 80;
}

DWORD computeVolumeStep(DWORD minimum, DWORD maximum, DWORD steps)
{
    DWORD range = maximum > minimum ? maximum - minimum : 0;
    DWORD step = 0;
    if (steps > 0)
        step = range / pressesPerRange / steps * steps;
    if (step == 0)
        step = range / pressesPerRange;
    return step > 0 ? step : 1;
}

DWORD volumeAfterStepUp(DWORD value, DWORD step, DWORD maximum)
{
    uint64_t raised = (uint64_t)value + step;
    return raised > maximum ? maximum : (DWORD)raised;
}

DWORD volumeAfterStepDown(DWORD value, DWORD step, DWORD minimum)
{
    if ((uint64_t)value < (uint64_t)minimum + step)
        return minimum;
    return value - step;
}
