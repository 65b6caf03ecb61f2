// Discovery of the mixer entries on scripted sound cards: which lines are
// listed, in which order, with which controls and steps; what is skipped;
// the diagnostics lines; and closing every device exactly once.
#include "tests/mixer/mixerfixture.h"

#include <algorithm>

using namespace fakemixer;

namespace {

const DWORD speakers = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
const DWORD waveIn = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
const DWORD waveOut = MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT;
const DWORD compactDisc = MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC;

Line line(const char *shortName, const char *name, DWORD type, std::vector<Control> controls,
          std::vector<Line> sources = {})
{
    Line result;
    result.shortName = shortName;
    result.name = name;
    result.componentType = type;
    result.controls = std::move(controls);
    result.sources = std::move(sources);
    return result;
}

// A card with a speaker output and two sources, control ids from `base`.
Device card(const char *name, DWORD base)
{
    Device device;
    device.name = name;
    device.destinations = {line("Speakers", "Speaker Output", speakers, {volume(base), mute(base + 1)},
                                {line("Wave", "Wave Out", waveOut, {volume(base + 2, 0, 65535, 0), mute(base + 3)}),
                                 line("CD", "CD Audio", compactDisc, {volume(base + 4, 0, 255, 2)})})};
    return device;
}

struct Expected {
    UINT device;
    const char *name;
    int hasVolume;
    DWORD volumeId, minimum, maximum, step;
    int hasMute;
    DWORD muteId;
};

void expectEntries(const std::vector<Expected> &expected)
{
    ASSERT_EQ(mixerCount, (int)expected.size());
    ASSERT_EQ(mixerList.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const Expected &e = expected[i];
        const MixerEntry &entry = mixerList[i];
        SCOPED_TRACE("entry " + std::to_string(i + 1));
        EXPECT_EQ(entry.mixer, handleOf(e.device));
        EXPECT_EQ(entry.lineName, e.name);
        EXPECT_EQ(entry.hasVolume, e.hasVolume);
        EXPECT_EQ(entry.volumeControlId, e.volumeId);
        EXPECT_EQ(entry.volumeMin, e.minimum);
        EXPECT_EQ(entry.volumeMax, e.maximum);
        EXPECT_EQ(entry.volumeStep, e.step);
        EXPECT_EQ(entry.hasMute, e.hasMute);
        EXPECT_EQ(entry.muteControlId, e.muteId);
    }
}

size_t closesOf(HMIXER mixer)
{
    const auto &closes = state().closes;
    return (size_t)std::count(closes.begin(), closes.end(), mixer);
}

using MixerScan = FakeMixerTest;

TEST_F(MixerScan, TwoCardsListTheFirstCardsLinesFirst)
{
    state().devices = {card("First Card", 10), card("Second Card", 20)};
    EXPECT_EQ(openMixers(nullptr), 6);
    expectEntries({{0, "Speakers", 1, 10, 0, 65535, 800, 1, 11},
                   {0, "Wave", 1, 12, 0, 65535, 819, 1, 13},
                   {0, "CD", 1, 14, 0, 255, 2, 0, 0},
                   {1, "Speakers", 1, 20, 0, 65535, 800, 1, 21},
                   {1, "Wave", 1, 22, 0, 65535, 819, 1, 23},
                   {1, "CD", 1, 24, 0, 255, 2, 0, 0}});
    EXPECT_TRUE(state().closes.empty()) << "devices with entries stay open";
}

TEST_F(MixerScan, WritesTheDiagnosticsLinesOfEachStep)
{
    Device device = card("Card", 10);
    device.destinations.insert(device.destinations.begin(), line("Rec", "Recording", waveIn, {volume(1)}));
    device.destinations[1].sources[1].controls.push_back(other(30, MIXERCONTROL_CONTROLTYPE_BASS, "Bass"));
    state().devices = {device};
    std::vector<std::string> lines = logLinesOf([] { openMixers(nullptr); });
    std::vector<std::string> expected = {"Number of mixer devices = 1",
                                         "Found mixer: Card",
                                         "Found main volume mixer line: Speaker Output",
                                         "Found volume mixer control: Volume",
                                         "Found mute mixer control: Mute",
                                         "Found mixer line source: Wave Out",
                                         "Found volume mixer control: Volume",
                                         "Found mute mixer control: Mute",
                                         "Found mixer line source: CD Audio",
                                         "Found volume mixer control: Volume"};
    EXPECT_EQ(lines, expected);
}

TEST_F(MixerScan, OnlyTheFirstSpeakerOutputIsExamined)
{
    Device device;
    device.name = "Card";
    device.destinations = {line("Rec", "Recording", waveIn, {volume(1), mute(2)}),
                           line("Front", "Front Speakers", speakers, {volume(3)}),
                           line("Rear", "Rear Speakers", speakers, {volume(4)})};
    state().devices = {device};
    EXPECT_EQ(openMixers(nullptr), 1);
    expectEntries({{0, "Front", 1, 3, 0, 65535, 800, 0, 0}});
}

TEST_F(MixerScan, LinesWithoutAFaderOrSwitchAreLeftOut)
{
    Device device;
    device.name = "Card";
    device.destinations = {line("Out", "Output", speakers, {other(1, MIXERCONTROL_CONTROLTYPE_TREBLE, "Treble")},
                                {line("None", "No Controls", waveOut, {}),
                                 line("Mute", "Mute Only", compactDisc, {mute(2, "Silence")})})};
    state().devices = {device};
    std::vector<std::string> lines = logLinesOf([] { openMixers(nullptr); });
    expectEntries({{0, "Mute", 0, 0, 0, 0, 0, 1, 2}});
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Found mute mixer control: Silence"), lines.end());
}

TEST_F(MixerScan, TheLastFaderAndSwitchOfALineAreUsed)
{
    Device device;
    device.name = "Card";
    device.destinations = {line("Out", "Output", speakers,
                                {volume(1, 0, 1000, 0), mute(2), volume(3, 10, 8010, 4), mute(4)})};
    state().devices = {device};
    EXPECT_EQ(openMixers(nullptr), 1);
    expectEntries({{0, "Out", 1, 3, 10, 8010, 100, 1, 4}});
}

TEST_F(MixerScan, UnreadableDevicesLinesAndControlsAreSkippedSilently)
{
    Device noOpen = card("Busy", 10);
    noOpen.openFails = true;
    Device noCaps = card("Mute Card", 20);
    noCaps.capsFails = true;
    Device broken = card("Broken", 30);
    broken.destinations[0].sources[0].infoFails = true;
    broken.destinations[0].sources[1].controlsFail = true;
    Device noOutput;
    noOutput.name = "Microphone";
    noOutput.destinations = {line("Rec", "Recording", waveIn, {volume(1)})};
    state().devices = {noOpen, noCaps, broken, noOutput};

    std::vector<std::string> lines = logLinesOf([] { openMixers(nullptr); });
    expectEntries({{2, "Speakers", 1, 30, 0, 65535, 800, 1, 31}});
    std::vector<std::string> expected = {"Number of mixer devices = 4",
                                         "Found mixer: Broken",
                                         "Found main volume mixer line: Speaker Output",
                                         "Found volume mixer control: Volume",
                                         "Found mute mixer control: Mute",
                                         "Found mixer line source: CD Audio",
                                         "Found mixer: Microphone"};
    EXPECT_EQ(lines, expected);
    // Devices that gave no entry are closed at once; the others stay open.
    EXPECT_EQ(closesOf(handleOf(0)), 0u) << "a device that did not open is not closed";
    EXPECT_EQ(closesOf(handleOf(1)), 1u);
    EXPECT_EQ(closesOf(handleOf(2)), 0u);
    EXPECT_EQ(closesOf(handleOf(3)), 1u);
}

TEST_F(MixerScan, NoMixerGivesNoEntries)
{
    std::vector<std::string> lines = logLinesOf([] { EXPECT_EQ(openMixers(nullptr), 0); });
    EXPECT_EQ(mixerCount, 0);
    EXPECT_EQ(lines, std::vector<std::string>{"Number of mixer devices = 0"});
    EXPECT_EQ(mixerLineName(1), nullptr);
}

TEST_F(MixerScan, NotificationsGoToTheGivenWindow)
{
    state().devices = {card("First Card", 10), card("Second Card", 20)};
    HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    openMixers(window);
    ASSERT_EQ(state().opens.size(), 2u);
    for (const OpenCall &open : state().opens) {
        EXPECT_EQ(open.callback, (DWORD_PTR)window);
        EXPECT_EQ(open.flags, (DWORD)CALLBACK_WINDOW);
    }
    closeMixers();
    DestroyWindow(window);
}

TEST_F(MixerScan, CloseMixersClosesEachDeviceOnce)
{
    state().devices = {card("First Card", 10), card("Second Card", 20)};
    openMixers(nullptr);
    ASSERT_EQ(mixerCount, 6);
    closeMixers();
    EXPECT_EQ(state().closes, (std::vector<HMIXER>{handleOf(0), handleOf(1)}));
    EXPECT_EQ(mixerCount, 0);
    EXPECT_TRUE(mixerList.empty());
    closeMixers();
    EXPECT_EQ(state().closes.size(), 2u) << "a second close finds nothing left to close";
}

TEST_F(MixerScan, OpeningAgainClosesTheDevicesOfTheFirstScan)
{
    state().devices = {card("Card", 10)};
    openMixers(nullptr);
    EXPECT_EQ(openMixers(nullptr), 3);
    EXPECT_EQ(state().closes, std::vector<HMIXER>{handleOf(0)});
}

TEST_F(MixerScan, LongNamesAreCutToTheirFields)
{
    Device device;
    device.name = std::string(40, 'P');   // fills the 32-byte product name field, no terminator
    device.destinations = {line("ABCDEFGHIJKLMNOPQRST", "Output", speakers, {volume(1)})};
    state().devices = {device};
    std::vector<std::string> lines = logLinesOf([] { openMixers(nullptr); });
    ASSERT_EQ(mixerCount, 1);
    EXPECT_EQ(mixerList[0].lineName, "ABCDEFGHIJKLMNOP");   // 16 bytes, no terminator in the field
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "Found mixer: " + std::string(32, 'P'));
}

struct LookupCase {
    int index;
    const char *name;
    int hasVolume;
    int hasMute;
};

class MixerLookup : public FakeMixerTest, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(MixerLookup, AnswersByEntryNumber)
{
    Device device = card("Card", 10);
    device.destinations[0].sources.push_back(line("Aux", "Aux In", compactDisc, {mute(40)}));
    state().devices = {device};
    openMixers(nullptr);
    const LookupCase &c = GetParam();
    if (c.name)
        EXPECT_STREQ(mixerLineName(c.index), c.name);
    else
        EXPECT_EQ(mixerLineName(c.index), nullptr);
    EXPECT_EQ(mixerHasVolume(c.index), c.hasVolume);
    EXPECT_EQ(mixerHasMute(c.index), c.hasMute);
}

INSTANTIATE_TEST_SUITE_P(Cases, MixerLookup,
                         ::testing::Values(LookupCase{-1, nullptr, 0, 0}, LookupCase{0, nullptr, 0, 0},
                                           LookupCase{1, "Speakers", 1, 1}, LookupCase{2, "Wave", 1, 1},
                                           LookupCase{3, "CD", 1, 0}, LookupCase{4, "Aux", 0, 1},
                                           LookupCase{5, nullptr, 0, 0}));

struct FindCase {
    UINT device;
    DWORD controlId;
    int expected;
};

class MixerFind : public FakeMixerTest, public ::testing::WithParamInterface<FindCase> {};

TEST_P(MixerFind, MatchesTheDeviceAndAControlOfTheEntry)
{
    // Both cards use the same control ids, as real drivers do.
    state().devices = {card("First Card", 10), card("Second Card", 10)};
    openMixers(nullptr);
    const FindCase &c = GetParam();
    EXPECT_EQ(findMixerEntry(handleOf(c.device), c.controlId), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MixerFind,
                         ::testing::Values(FindCase{0, 10, 1}, FindCase{0, 0, 0}, FindCase{0, 11, 1}, FindCase{0, 13, 2},
                                           FindCase{0, 14, 3}, FindCase{1, 10, 4}, FindCase{1, 14, 6},
                                           FindCase{0, 15, 0},   // the CD line has no mute control
                                           FindCase{0, 99, 0}, FindCase{7, 10, 0}));

} // namespace
