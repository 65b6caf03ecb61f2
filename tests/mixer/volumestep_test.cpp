// The arithmetic of one volume button press: the step size a fader gets,
// and the value one press up or down gives, clamped to the fader's bounds.
#include "mixer/volumestep.h"

#include <gtest/gtest.h>

namespace {

struct StepCase {
    DWORD minimum, maximum, steps;
    DWORD expected;
};

class VolumeStepSize : public ::testing::TestWithParam<StepCase> {};

TEST_P(VolumeStepSize, IsAWholeNumberOfStepsNearAnEightiethOfTheRange)
{
    const StepCase &c = GetParam();
    EXPECT_EQ(computeVolumeStep(c.minimum, c.maximum, c.steps), c.expected)
        << "bounds " << c.minimum << ".." << c.maximum << ", " << c.steps << " steps";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VolumeStepSize,
    ::testing::Values(StepCase{0, 65535, 32, 800},          // 65535 / 80 = 819, / 32 = 25, * 32 = 800
                      StepCase{0, 65535, 192, 768},         // what Wine's faders report: 819 / 192 = 4, * 192
                      StepCase{1000, 66535, 32, 800},       // the range counts, not the maximum
                      StepCase{0, 65535, 1, 819},           // one step: an eightieth of the range
                      StepCase{0, 65535, 0, 819},           // no steps reported: an eightieth of the range
                      StepCase{0, 65535, 1000, 819},        // more steps than an eightieth: the formula's 0 is replaced
                      StepCase{0, 100, 101, 1},             // a small range: an eightieth is 1
                      StepCase{0, 50, 0, 1},                // less than 80 wide: never a step of 0
                      StepCase{7, 7, 32, 1},                // an empty range
                      StepCase{100, 10, 32, 1},             // bounds the wrong way round: no wrap-around
                      StepCase{0, 0xFFFFFFFF, 256, 53687040})); // the whole 32-bit range: 53687091 / 256 * 256

struct PressCase {
    DWORD value, step, bound;
    DWORD expected;
};

class VolumeStepUp : public ::testing::TestWithParam<PressCase> {};

TEST_P(VolumeStepUp, AddsTheStepButStopsAtTheMaximum)
{
    const PressCase &c = GetParam();
    EXPECT_EQ(volumeAfterStepUp(c.value, c.step, c.bound), c.expected)
        << c.value << " + " << c.step << ", maximum " << c.bound;
}

INSTANTIATE_TEST_SUITE_P(Cases, VolumeStepUp,
                         ::testing::Values(PressCase{65000, 800, 65535, 65535},
                                           PressCase{1000, 800, 65535, 1800},
                                           PressCase{64735, 800, 65535, 65535},   // lands exactly on the maximum
                                           PressCase{64734, 800, 65535, 65534},
                                           PressCase{65535, 800, 65535, 65535},
                                           PressCase{70000, 800, 65535, 65535},   // a value above the maximum comes back
                                           PressCase{0xFFFFFF00, 0x200, 0xFFFFFFFF, 0xFFFFFFFF})); // no overflow

class VolumeStepDown : public ::testing::TestWithParam<PressCase> {};

TEST_P(VolumeStepDown, SubtractsTheStepButStopsAtTheMinimum)
{
    const PressCase &c = GetParam();
    EXPECT_EQ(volumeAfterStepDown(c.value, c.step, c.bound), c.expected)
        << c.value << " - " << c.step << ", minimum " << c.bound;
}

INSTANTIATE_TEST_SUITE_P(Cases, VolumeStepDown,
                         ::testing::Values(PressCase{500, 800, 0, 0},
                                           PressCase{1000, 800, 0, 200},
                                           PressCase{800, 800, 0, 0},
                                           PressCase{801, 800, 0, 1},
                                           PressCase{0, 800, 0, 0},
                                           PressCase{1500, 800, 1000, 1000},   // below minimum + step
                                           PressCase{1800, 800, 1000, 1000},
                                           PressCase{1801, 800, 1000, 1001},
                                           PressCase{10, 800, 1000, 1000},     // a value below the minimum comes back
                                           PressCase{0xFFFFFFFF, 0x200, 0xFFFFFF00, 0xFFFFFF00})); // no overflow

} // namespace
