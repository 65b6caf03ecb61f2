// volumestep.h - the arithmetic of one volume button press, apart from any
// device so that it can be checked value by value.
#ifndef MIXER_VOLUMESTEP_H
#define MIXER_VOLUMESTEP_H

#include <windows.h>

// How far one press moves a fader with the given bounds and number of steps:
// a whole number of the fader's steps close to one eightieth of its range.
// When that comes out as 0 (more steps than an eightieth of the range, or a
// fader that reports no steps) the press moves one eightieth of the range,
// and never less than 1.
DWORD computeVolumeStep(DWORD minimum, DWORD maximum, DWORD steps);

// The value after one press up: value + step, at most `maximum`.
DWORD volumeAfterStepUp(DWORD value, DWORD step, DWORD maximum);

// The value after one press down: value - step, at least `minimum` (a value
// below minimum + step gives minimum).
DWORD volumeAfterStepDown(DWORD value, DWORD step, DWORD minimum);

#endif
