// Start-up's choice of the volume control: the stored one when it exists,
// else the first, and none without a mixer.
#include "app/maininit.h"
#include "options/options.h"
#include "tests/mixer/mixerfixture.h"

namespace {

using namespace fakemixer;

// A card whose speaker output and its two sources each have a fader: three entries.
Device threeLineCard()
{
    Line speakers;
    speakers.shortName = speakers.name = "Speakers";
    speakers.componentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    speakers.controls = {volume(10), mute(11)};
    Line wave;
    wave.shortName = wave.name = "Wave";
    wave.componentType = MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT;
    wave.controls = {volume(12)};
    Line cd = wave;
    cd.shortName = cd.name = "CD";
    cd.componentType = MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC;
    cd.controls = {volume(13)};
    speakers.sources = {wave, cd};
    Device device;
    device.name = "Card";
    device.destinations = {speakers};
    return device;
}

struct ChoiceCase {
    bool card;
    int stored;
    int chosen;
};

class VolumeChoice : public FakeMixerTest, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(VolumeChoice, StoredControlIsKeptOnlyWhenItExists)
{
    const ChoiceCase &c = GetParam();
    if (c.card)
        state().devices = {threeLineCard()};
    options = defaultOptions;
    options.VolumeMixer = c.stored;
    chooseVolumeControl(nullptr);
    EXPECT_EQ(mixerCount, c.card ? 3 : 0);
    EXPECT_EQ(options.VolumeMixer, c.chosen);
}

INSTANTIATE_TEST_SUITE_P(Cases, VolumeChoice,
                         ::testing::Values(ChoiceCase{true, 7, 1}, ChoiceCase{true, 4, 1}, ChoiceCase{true, 3, 3},
                                           ChoiceCase{true, 2, 2}, ChoiceCase{true, 0, 1}, ChoiceCase{true, -2, 1},
                                           ChoiceCase{false, 3, 0}, ChoiceCase{false, 0, 0}));

} // namespace
