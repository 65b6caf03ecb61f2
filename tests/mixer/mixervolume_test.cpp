// The volume commands on scripted controls: what a press up or down writes,
// clamped to the fader's bounds; the mute switch; the level for the volume
// bar; and the cases that must not touch the mixer at all.
#include "tests/mixer/mixerfixture.h"

using namespace fakemixer;

namespace {

const DWORD fader = 10;
const DWORD muteSwitch = 11;
const DWORD offsetFader = 20;
const DWORD muteOnlySwitch = 30;

class MixerVolume : public FakeMixerTest {
protected:
    void SetUp() override
    {
        FakeMixerTest::SetUp();
        // Entry 1: 0..65535 in 32 steps, with a mute switch. Entry 2: a fader
        // that starts at 1000. Entry 3: a mute switch alone.
        Line out;
        out.shortName = "Out";
        out.componentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
        out.controls = {volume(fader, 0, 65535, 32), mute(muteSwitch)};
        Line synth;
        synth.shortName = "Synth";
        synth.componentType = MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER;
        synth.controls = {volume(offsetFader, 1000, 9000, 0)};
        Line aux;
        aux.shortName = "Aux";
        aux.componentType = MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY;
        aux.controls = {mute(muteOnlySwitch)};
        out.sources = {synth, aux};
        Device device;
        device.name = "Card";
        device.destinations = {out};
        state().devices = {device};
        ASSERT_EQ(openMixers(nullptr), 3);
        setValue(fader, 32768);
        setValue(muteSwitch, 0);
        setValue(offsetFader, 5000);
        setValue(muteOnlySwitch, 0);
    }
    void setValue(DWORD control, DWORD value) { state().values[{handleOf(0), control}] = value; }
    DWORD valueOf(DWORD control) { return state().values[{handleOf(0), control}]; }
    void makeUnreadable(DWORD control) { state().unreadable.push_back({handleOf(0), control}); }
};

struct PressCase {
    int entry;
    DWORD control;
    DWORD start;
    bool up;
    DWORD expected;
};

class VolumePress : public MixerVolume, public ::testing::WithParamInterface<PressCase> {};

TEST_P(VolumePress, WritesTheSteppedValueClampedToTheBounds)
{
    const PressCase &c = GetParam();
    setValue(c.control, c.start);
    if (c.up)
        volumeUp(c.entry);
    else
        volumeDown(c.entry);
    ASSERT_EQ(state().sets.size(), 1u);
    const SetCall &set = state().sets[0];
    EXPECT_EQ(set.mixer, handleOf(0));
    EXPECT_EQ(set.controlId, c.control);
    EXPECT_EQ(set.value, c.expected) << (c.up ? "up" : "down") << " from " << c.start;
    EXPECT_EQ(set.channels, 1u);
    EXPECT_EQ(set.valueSize, 4u);
    EXPECT_EQ(set.flags, (DWORD)(MIXER_SETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER));
}

INSTANTIATE_TEST_SUITE_P(Cases, VolumePress,
                         ::testing::Values(PressCase{1, fader, 65000, true, 65535},
                                           PressCase{1, fader, 500, false, 0},
                                           PressCase{1, fader, 1000, true, 1800},
                                           PressCase{1, fader, 1000, false, 200},
                                           PressCase{1, fader, 65535, true, 65535},
                                           PressCase{1, fader, 0, false, 0},
                                           PressCase{2, offsetFader, 5000, true, 5100},   // step 8000 / 80 = 100
                                           PressCase{2, offsetFader, 8950, true, 9000},
                                           PressCase{2, offsetFader, 1050, false, 1000},
                                           PressCase{2, offsetFader, 1100, false, 1000},
                                           PressCase{2, offsetFader, 1101, false, 1001}));

TEST_F(MixerVolume, RepeatedPressesEndAtTheBounds)
{
    for (int press = 0; press < 100; ++press)
        volumeUp(1);
    EXPECT_EQ(valueOf(fader), 65535u);
    for (int press = 0; press < 100; ++press)
        volumeDown(1);
    EXPECT_EQ(valueOf(fader), 0u);
}

TEST_F(MixerVolume, ToggleMuteWritesTheOppositeState)
{
    toggleMute(1);
    EXPECT_EQ(valueOf(muteSwitch), 1u);
    toggleMute(1);
    EXPECT_EQ(valueOf(muteSwitch), 0u);
    setValue(muteOnlySwitch, 1);
    toggleMute(3);
    EXPECT_EQ(valueOf(muteOnlySwitch), 0u);
    EXPECT_EQ(valueOf(muteSwitch), 0u) << "entry 3 has a switch of its own";
}

TEST_F(MixerVolume, AnUnreadableControlIsLeftAlone)
{
    makeUnreadable(fader);
    makeUnreadable(muteSwitch);
    volumeUp(1);
    volumeDown(1);
    toggleMute(1);
    EXPECT_TRUE(state().sets.empty());
}

TEST_F(MixerVolume, CommandsOutsideTheListOrWithoutTheControlDoNothing)
{
    volumeUp(0);
    volumeDown(4);
    toggleMute(-1);
    toggleMute(2);   // a fader without a switch
    volumeUp(3);     // a switch without a fader
    volumeDown(3);
    EXPECT_TRUE(state().sets.empty());
    EXPECT_EQ(state().reads, 0) << "nothing is even read";
}

TEST_F(MixerVolume, CommandsAfterCloseDoNothing)
{
    closeMixers();
    volumeUp(1);
    toggleMute(1);
    EXPECT_TRUE(state().sets.empty());
}

const DWORD untouched = 0xDEADBEEF;

struct LevelCase {
    int entry;
    DWORD unreadable;   // 0: everything can be read
    int filled;
    DWORD minimum, maximum, value;
    int muted;
};

class MixerLevel : public MixerVolume, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(MixerLevel, ReportsWhatCouldBeRead)
{
    const LevelCase &c = GetParam();
    setValue(muteSwitch, 1);
    if (c.unreadable)
        makeUnreadable(c.unreadable);
    DWORD minimum = untouched, maximum = untouched, value = untouched;
    int muted = (int)untouched;
    EXPECT_EQ(readMixerLevel(c.entry, &minimum, &maximum, &value, &muted), c.filled);
    EXPECT_EQ(minimum, c.minimum);
    EXPECT_EQ(maximum, c.maximum);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(muted, c.muted);
    EXPECT_TRUE(state().sets.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MixerLevel,
    ::testing::Values(LevelCase{1, 0, MIXER_LEVEL_VOLUME | MIXER_LEVEL_MUTE, 0, 65535, 32768, 1},
                      LevelCase{1, fader, MIXER_LEVEL_MUTE, untouched, untouched, untouched, 1},
                      LevelCase{1, muteSwitch, MIXER_LEVEL_VOLUME, 0, 65535, 32768, (int)untouched},
                      LevelCase{2, 0, MIXER_LEVEL_VOLUME, 1000, 9000, 5000, (int)untouched},
                      LevelCase{3, 0, MIXER_LEVEL_MUTE, untouched, untouched, untouched, 0},
                      LevelCase{4, 0, 0, untouched, untouched, untouched, (int)untouched}));

TEST_F(MixerVolume, LevelOutputsMayBeLeftOut)
{
    DWORD value = untouched;
    EXPECT_EQ(readMixerLevel(1, nullptr, nullptr, &value, nullptr), MIXER_LEVEL_VOLUME | MIXER_LEVEL_MUTE);
    EXPECT_EQ(value, 32768u);
}

} // namespace
