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

#include <ostream>
#include <string>
#include <vector>

using namespace fakemixer;

namespace {

using paneltest::ground;
using paneltest::Surface;

const DWORD white = 0xFFFFFF;
const DWORD grey = 0x808080;     // the stock grey brush

// The bar's rectangle inside a slightly larger surface, so that a stroke
// outside it shows.
const int surfaceWidth = 10, surfaceHeight = 30;
const RECT barRect = {2, 3, 8, 27};   // 6 x 24, the panel's bar at one pixel a unit

// Control ids of the scripted card.
const DWORD outFader = 10, outMute = 11;   // entry 1: 0..100 with a mute switch
const DWORD synthFader = 20;               // entry 2: 1000..9000, no mute switch
const DWORD auxMute = 30;                  // entry 3: a mute switch alone
const DWORD flatFader = 40;                // entry 4: a fader whose range is one value

class VolumeBar : public FakeMixerTest {
protected:
    void SetUp() override
    {
        FakeMixerTest::SetUp();
        savedOptions = options;
        Line out;
        out.shortName = "Out";
        out.componentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
        out.controls = {volume(outFader, 0, 100, 10), mute(outMute)};
        Line synth;
        synth.shortName = "Synth";
        synth.componentType = MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER;
        synth.controls = {volume(synthFader, 1000, 9000, 8)};
        Line aux;
        aux.shortName = "Aux";
        aux.componentType = MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY;
        aux.controls = {mute(auxMute)};
        Line flat;
        flat.shortName = "Flat";
        flat.componentType = MIXERLINE_COMPONENTTYPE_SRC_LINE;
        flat.controls = {volume(flatFader, 500, 500, 1)};
        out.sources = {synth, aux, flat};
        Device device;
        device.name = "Card";
        device.destinations = {out};
        state().devices = {device};
        ASSERT_EQ(openMixers(nullptr), 4);
        setValue(outFader, 0);
        setValue(outMute, 0);
        setValue(synthFader, 1000);
        setValue(auxMute, 0);
        setValue(flatFader, 500);
    }
    void TearDown() override
    {
        options = savedOptions;
        FakeMixerTest::TearDown();
    }
    void setValue(DWORD control, DWORD value) { state().values[{handleOf(0), control}] = value; }
    void makeUnreadable(DWORD control) { state().unreadable.push_back({handleOf(0), control}); }

    // Draws the bar of entry `entry` as the panel asks for it.
    void draw(Surface &surface, int entry)
    {
        options.VolumeMixer = entry;
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = IDC_VOLUME_BAR;
        item.itemAction = ODA_DRAWENTIRE;
        item.hDC = surface.dc();
        item.rcItem = barRect;
        drawVolumeBar(&item);
    }

    // Every pixel of the surface: `colour` inside the bar's rectangle from
    // row `top` (surface rows) down, `ground` everywhere else.
    void expectBar(const Surface &surface, int top, DWORD colour)
    {
        int wrong = 0;
        std::string first;
        for (int y = 0; y < surfaceHeight; ++y)
            for (int x = 0; x < surfaceWidth; ++x) {
                bool inBar = x >= barRect.left && x < barRect.right && y >= top && y < barRect.bottom;
                DWORD expected = inBar ? colour : ground;
                DWORD seen = surface.at(x, y);
                if (seen != expected && wrong++ == 0)
                    first = paneltest::pixelText(x, y, seen, expected);
            }
        EXPECT_EQ(wrong, 0) << wrong << " pixels differ, the first at " << first;
    }

    OptionsRecord savedOptions;
};

struct BarCase {
    const char *name;
    int entry;
    DWORD control;   // the control given `value` (0: none)
    DWORD value;
    DWORD muteControl;
    DWORD muted;
    int top;         // the bar's first row within the rectangle; 24 draws nothing
    DWORD colour;
};

// Test names in failure reports instead of the parameters' bytes.
void PrintTo(const BarCase &c, std::ostream *out)
{
    *out << c.name;
}

class VolumeBarLevel : public VolumeBar, public ::testing::WithParamInterface<BarCase> {};

TEST_P(VolumeBarLevel, FillsFromTheLevelToTheBottomInTheMuteColour)
{
    const BarCase &c = GetParam();
    if (c.control)
        setValue(c.control, c.value);
    if (c.muteControl)
        setValue(c.muteControl, c.muted);
    Surface surface(surfaceWidth, surfaceHeight);
    ASSERT_TRUE(surface.ready());
    draw(surface, c.entry);
    expectBar(surface, barRect.top + c.top, c.colour);
}

const BarCase barCases[] = {
    // A fader of 0..100 over 24 rows: the top is 24 - value * 0.24, cut
    // to a whole row.
    {"HalfWayFillsTheBottomHalf", 1, outFader, 50, outMute, 0, 12, white},
    {"AThirdIsTruncatedNotRounded", 1, outFader, 30, outMute, 0, 16, white},   // 16.8 -> 16
    {"OneStepUpShowsOneRow", 1, outFader, 5, outMute, 0, 22, white},           // 22.8 -> 22
    {"FullFillsEveryRow", 1, outFader, 100, outMute, 0, 0, white},
    {"SilentDrawsNothing", 1, outFader, 0, outMute, 0, 24, white},
    {"MutedHalfWayIsGrey", 1, outFader, 50, outMute, 1, 12, grey},
    {"MutedFullIsGrey", 1, outFader, 100, outMute, 1, 0, grey},
    {"AnyNonZeroMuteValueIsOn", 1, outFader, 50, outMute, 7, 12, grey},
    {"AboveTheMaximumStaysInTheRectangle", 1, outFader, 250, outMute, 0, 0, white},
    // A fader that starts at 1000: the level counts from its minimum.
    {"RangeFromAMinimumHalfWay", 2, synthFader, 5000, 0, 0, 12, white},
    {"RangeFromAMinimumAtTheMinimum", 2, synthFader, 1000, 0, 0, 24, white},
    {"RangeFromAMinimumAtTheMaximum", 2, synthFader, 9000, 0, 0, 0, white},
    {"BelowTheMinimumDrawsNothing", 2, synthFader, 400, 0, 0, 24, white},
    // A mute switch alone: full height, the colour tells the state.
    {"MuteOnlyLineStandsFullHeight", 3, 0, 0, auxMute, 0, 0, white},
    {"MuteOnlyLineMutedIsGreyFullHeight", 3, 0, 0, auxMute, 1, 0, grey},
    // A fader whose range is a single value has no level to show.
    {"EmptyRangeDrawsNothing", 4, flatFader, 500, 0, 0, 24, white},
    {"EmptyRangeAboveItDrawsNothing", 4, flatFader, 900, 0, 0, 24, white},
};

INSTANTIATE_TEST_SUITE_P(Levels, VolumeBarLevel, ::testing::ValuesIn(barCases),
                         [](const ::testing::TestParamInfo<BarCase> &info) { return std::string(info.param.name); });

TEST_F(VolumeBar, AnUnreadableFaderDrawsNothing)
{
    setValue(outFader, 80);
    makeUnreadable(outFader);
    Surface surface(surfaceWidth, surfaceHeight);
    ASSERT_TRUE(surface.ready());
    draw(surface, 1);
    expectBar(surface, barRect.bottom, white);
}

TEST_F(VolumeBar, AnUnreadableMuteSwitchCountsAsSoundOn)
{
    setValue(outFader, 50);
    setValue(outMute, 1);
    makeUnreadable(outMute);
    Surface surface(surfaceWidth, surfaceHeight);
    ASSERT_TRUE(surface.ready());
    draw(surface, 1);
    expectBar(surface, barRect.top + 12, white);
}

TEST_F(VolumeBar, ASelectionOutsideTheEntriesDrawsNothing)
{
    setValue(outFader, 100);
    for (int entry : {0, -1, 5, 7}) {
        SCOPED_TRACE("VolumeMixer " + std::to_string(entry));
        Surface surface(surfaceWidth, surfaceHeight);
        ASSERT_TRUE(surface.ready());
        draw(surface, entry);
        expectBar(surface, barRect.bottom, white);
    }
}

TEST_F(VolumeBar, ARedrawAfterALowerLevelKeepsToTheNewTop)
{
    // The panel erases the bar before each redraw; what is drawn must only
    // depend on the level read now.
    setValue(outFader, 100);
    Surface full(surfaceWidth, surfaceHeight);
    ASSERT_TRUE(full.ready());
    draw(full, 1);
    expectBar(full, barRect.top, white);
    setValue(outFader, 25);
    Surface quarter(surfaceWidth, surfaceHeight);
    ASSERT_TRUE(quarter.ready());
    draw(quarter, 1);
    expectBar(quarter, barRect.top + 18, white);
}

TEST_F(VolumeBar, AnEmptyOrMissingRequestIsIgnored)
{
    options.VolumeMixer = 1;
    setValue(outFader, 100);
    drawVolumeBar(nullptr);
    DRAWITEMSTRUCT item = {};
    item.CtlID = IDC_VOLUME_BAR;
    item.rcItem = barRect;
    drawVolumeBar(&item);   // no device context
    Surface surface(surfaceWidth, surfaceHeight);
    ASSERT_TRUE(surface.ready());
    item.hDC = surface.dc();
    item.rcItem = RECT{2, 3, 2, 27};   // no width
    drawVolumeBar(&item);
    expectBar(surface, barRect.bottom, white);
}

// No sound card at all: the bar stays blank and the mixer is not asked.
class VolumeBarNoMixer : public FakeMixerTest {};

TEST_F(VolumeBarNoMixer, DrawsNothing)
{
    ASSERT_EQ(openMixers(nullptr), 0);
    OptionsRecord saved = options;
    options.VolumeMixer = 1;   // as stored by a machine that had one
    Surface surface(surfaceWidth, surfaceHeight);
    ASSERT_TRUE(surface.ready());
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = IDC_VOLUME_BAR;
    item.hDC = surface.dc();
    item.rcItem = barRect;
    drawVolumeBar(&item);
    options = saved;
    for (int y = 0; y < surfaceHeight; ++y)
        for (int x = 0; x < surfaceWidth; ++x)
            ASSERT_EQ(surface.at(x, y), ground) << "at (" << x << ", " << y << ")";
    EXPECT_EQ(state().reads, 0);
}

} // namespace
