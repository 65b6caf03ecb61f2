// The control panel's volume bar drawn from scripted mixer levels into a
// memory surface: how high it stands for each level, its colour with the
// mute switch off and on, full height for a line without a fader, and the
// cases that draw nothing. Here rather than with the other panel tests
// because the scripted sound cards live in this test program.
#include "tests/mixer/mixerfixture.h"
#include "tests/ui/panelsurface.h"

#include "options/options.h"
#include "res/resource.h"
#include "ui/panel.h"

#include <string>

using namespace fakemixer;
using paneltest::Surface;

namespace {

const DWORD white = 0xFFFFFF;
const DWORD grey = 0x808080;   // the stock grey brush
const int empty = 24;          // a bar top that draws nothing

// The bar's rectangle, 6 x 24 as on the panel, inside a larger surface so
// that a stroke outside it shows.
const RECT barRect = {2, 3, 8, 27};

// Control ids of the scripted card.
const DWORD outFader = 10, outMute = 11;   // entry 1: 0..100 with a mute switch
const DWORD synthFader = 20;               // entry 2: 1000..9000, no mute switch
const DWORD auxMute = 30;                  // entry 3: a mute switch alone
const DWORD flatFader = 40;                // entry 4: a fader whose range is one value

Line line(const char *name, DWORD type, std::vector<Control> controls)
{
    Line l;
    l.shortName = name;
    l.componentType = type;
    l.controls = std::move(controls);
    return l;
}

class VolumeBar : public FakeMixerTest {
protected:
    void SetUp() override
    {
        FakeMixerTest::SetUp();
        saved = options;
        Line out = line("Out", MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, {volume(outFader, 0, 100, 10), mute(outMute)});
        out.sources = {line("Synth", MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER, {volume(synthFader, 1000, 9000, 8)}),
                       line("Aux", MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY, {mute(auxMute)}),
                       line("Flat", MIXERLINE_COMPONENTTYPE_SRC_LINE, {volume(flatFader, 500, 500, 1)})};
        Device device;
        device.name = "Card";
        device.destinations = {out};
        state().devices = {device};
        ASSERT_EQ(openMixers(nullptr), 4);
        for (DWORD control : {outFader, outMute, synthFader, auxMute, flatFader})
            setValue(control, 0);
    }
    void TearDown() override
    {
        options = saved;
        FakeMixerTest::TearDown();
    }
    void setValue(DWORD control, DWORD value) { state().values[{handleOf(0), control}] = value; }

    // Draws the bar of entry `entry` as the panel asks for it, and compares
    // the whole surface with `colour` from row `top` of the bar down.
    std::string drawnAgainst(int entry, int top, DWORD colour, RECT rect = barRect)
    {
        Surface seen(10, 30), expected(10, 30);
        if (!seen.ready() || !expected.ready())
            return "no surface";
        options.VolumeMixer = entry;
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = IDC_VOLUME_BAR;
        item.itemAction = ODA_DRAWENTIRE;
        item.hDC = seen.dc();
        item.rcItem = rect;
        drawVolumeBar(&item);
        expected.fill(RECT{barRect.left, barRect.top + top, barRect.right, barRect.bottom}, colour);
        return paneltest::differences(seen, expected);
    }

    OptionsRecord saved;
};

struct BarCase {
    const char *name;
    int entry;
    DWORD control, value;   // the level given (control 0: none)
    DWORD muted;            // the entry's mute switch, when it has one
    int top;                // the bar's first row within the rectangle
    DWORD colour;
};

const BarCase barCases[] = {
    // 0..100 over 24 rows: the top is 24 - value * 0.24, cut to a whole row.
    {"HalfWayFillsTheBottomHalf", 1, outFader, 50, 0, 12, white},
    {"AThirdIsTruncatedNotRounded", 1, outFader, 30, 0, 16, white},   // 16.8
    {"OneStepUpShowsOneRow", 1, outFader, 5, 0, 22, white},           // 22.8
    {"FullFillsEveryRow", 1, outFader, 100, 0, 0, white},
    {"SilentDrawsNothing", 1, outFader, 0, 0, empty, white},
    {"MutedHalfWayIsGrey", 1, outFader, 50, 1, 12, grey},
    {"MutedFullIsGrey", 1, outFader, 100, 1, 0, grey},
    {"AnyNonZeroMuteValueIsOn", 1, outFader, 50, 7, 12, grey},
    {"AboveTheMaximumStaysInTheRectangle", 1, outFader, 250, 0, 0, white},
    // A fader from 1000: the level counts from its minimum.
    {"RangeFromAMinimumHalfWay", 2, synthFader, 5000, 0, 12, white},
    {"RangeFromAMinimumAtTheMinimum", 2, synthFader, 1000, 0, empty, white},
    {"RangeFromAMinimumAtTheMaximum", 2, synthFader, 9000, 0, 0, white},
    {"BelowTheMinimumDrawsNothing", 2, synthFader, 400, 0, empty, white},
    // A mute switch alone: full height, the colour tells the state.
    {"MuteOnlyLineStandsFullHeight", 3, 0, 0, 0, 0, white},
    {"MuteOnlyLineMutedIsGreyFullHeight", 3, 0, 0, 1, 0, grey},
    // A fader whose range is a single value has no level to show.
    {"EmptyRangeDrawsNothing", 4, flatFader, 500, 0, empty, white},
    {"EmptyRangeAboveItDrawsNothing", 4, flatFader, 900, 0, empty, white},
};

class VolumeBarLevel : public VolumeBar, public ::testing::WithParamInterface<BarCase> {};

TEST_P(VolumeBarLevel, FillsFromTheLevelToTheBottomInTheMuteColour)
{
    const BarCase &c = GetParam();
    if (c.control)
        setValue(c.control, c.value);
    setValue(c.entry == 3 ? auxMute : outMute, c.muted);
    EXPECT_EQ(drawnAgainst(c.entry, c.top, c.colour), "");
}

INSTANTIATE_TEST_SUITE_P(Levels, VolumeBarLevel, ::testing::ValuesIn(barCases),
                         [](const ::testing::TestParamInfo<BarCase> &info) { return std::string(info.param.name); });

TEST_F(VolumeBar, AnUnreadableFaderDrawsNothing)
{
    setValue(outFader, 80);
    state().unreadable.push_back({handleOf(0), outFader});
    EXPECT_EQ(drawnAgainst(1, empty, white), "");
}

TEST_F(VolumeBar, AnUnreadableMuteSwitchCountsAsSoundOn)
{
    setValue(outFader, 50);
    setValue(outMute, 1);
    state().unreadable.push_back({handleOf(0), outMute});
    EXPECT_EQ(drawnAgainst(1, 12, white), "");
}

TEST_F(VolumeBar, ASelectionOutsideTheEntriesDrawsNothing)
{
    setValue(outFader, 100);
    for (int entry : {0, -1, 5, 7})
        EXPECT_EQ(drawnAgainst(entry, empty, white), "") << "VolumeMixer " << entry;
}

TEST_F(VolumeBar, ARectangleWithoutWidthOrADeviceContextDrawsNothing)
{
    setValue(outFader, 100);
    EXPECT_EQ(drawnAgainst(1, empty, white, RECT{2, 3, 2, 27}), "");
    options.VolumeMixer = 1;
    DRAWITEMSTRUCT item = {};
    item.CtlID = IDC_VOLUME_BAR;
    item.rcItem = barRect;
    drawVolumeBar(&item);
    drawVolumeBar(nullptr);
    EXPECT_EQ(state().reads, 0) << "the mixer was read for nothing";
}

// No sound card at all: the bar stays blank and the mixer is not asked.
class VolumeBarNoMixer : public VolumeBar {
protected:
    void SetUp() override
    {
        FakeMixerTest::SetUp();
        saved = options;
        ASSERT_EQ(openMixers(nullptr), 0);
    }
};

TEST_F(VolumeBarNoMixer, DrawsNothing)
{
    EXPECT_EQ(drawnAgainst(1, empty, white), "");   // VolumeMixer as a machine with one stored it
    EXPECT_EQ(state().reads, 0);
}

} // namespace
