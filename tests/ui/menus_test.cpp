// The popup menus on the real main window: the resource's layout, the track,
// drive and volume submenus after each kind of rebuild, the transport
// items and buttons by play state, the play-mode checks and the CDDB
// commands. Items are read back with GetMenuStringA, GetMenuItemID and
// GetMenuState, in both copies of every submenu.
#include "app/mainfixture.h"

#include "mixer/mixer.h"
#include "titles/titlerecord.h"
#include "ui/menus.h"

#include <string>
#include <vector>

namespace {

using namespace maintest;
using playertest::discWithData;
using playertest::tracks;

// One menu item as the user sees it.
struct Item {
    std::string text;
    int id;
    bool grayed;
    bool checked;
    bool operator==(const Item &o) const
    {
        return text == o.text && id == o.id && grayed == o.grayed && checked == o.checked;
    }
};

std::ostream &operator<<(std::ostream &out, const Item &item)
{
    return out << "{\"" << item.text << "\", " << item.id << (item.grayed ? ", grayed" : "")
               << (item.checked ? ", checked" : "") << "}";
}

const int popup = -1;   // GetMenuItemID of a submenu

Item itemAt(HMENU menu, int position)
{
    char text[512] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    UINT state = GetMenuState(menu, position, MF_BYPOSITION);
    if (state & MF_SEPARATOR) {
        // A rule: no text, no command, and never chosen (Wine also reports it grayed).
        return {"-", 0, false, false};
    }
    return {text, (int)GetMenuItemID(menu, position), (state & MF_GRAYED) != 0, (state & MF_CHECKED) != 0};
}

std::vector<Item> itemsOf(HMENU menu)
{
    std::vector<Item> items;
    for (int p = 0; p < GetMenuItemCount(menu); ++p)
        items.push_back(itemAt(menu, p));
    return items;
}

// An enabled, unchecked item.
Item plain(const std::string &text, int id)
{
    return {text, id, false, false};
}

std::string repeat(char c, int n)
{
    return std::string((size_t)n, c);
}

class Menus : public MainWindowTest {
protected:
    // Both copies of the track submenu are always the same; the tray's is returned.
    std::vector<Item> trackItems()
    {
        std::vector<Item> tray = itemsOf(trayTrackMenu);
        EXPECT_EQ(tray, itemsOf(panelTrackMenu));
        return tray;
    }
    std::vector<Item> driveItems()
    {
        std::vector<Item> tray = itemsOf(trayDriveMenu);
        EXPECT_EQ(tray, itemsOf(panelDriveMenu));
        return tray;
    }
    void setTrackTitle(int track, const char *title) { setText(DriveTable[0].title.trackTitles[track - 1], title); }
    bool enabled(int control) { return IsWindowEnabled(GetDlgItem(mainWindow, control)) != 0; }
};

// ---- the resource ----

const Item rule = {"-", 0, false, false};

Item grayed(const std::string &text, int id)
{
    return {text, id, true, false};
}

// The two popups as the resource lays them out, position by position.
const std::vector<Item> trayLayout = {
    grayed("Play", IDM_PLAY), grayed("Pause", IDM_PAUSE), grayed("Stop", IDM_STOP), grayed("Eject", IDM_EJECT), rule,
    grayed("Next Track", IDM_NEXT_TRACK), grayed("Previous Track", IDM_PREVIOUS_TRACK),
    plain("Select Track", popup), plain("Select Drive", popup), rule,
    plain("Random Order", IDM_RANDOM), plain("Introduction Play", IDM_INTRO), plain("Repeat All", IDM_REPEAT_ALL),
    plain("Repeat Current", IDM_REPEAT_CURRENT), rule, plain("Show Controls", IDM_SHOW_CONTROLS), rule,
    plain("Properties...", IDM_PROPERTIES), plain("Options...", IDM_OPTIONS), rule,
    plain("Query CDDB...", IDM_QUERY_CDDB), plain("Submit To CDDB...", IDM_SUBMIT_CDDB), rule,
    plain("Start Rackfile", IDM_START_RACKFILE), rule,
    plain("Help Contents", IDM_HELP_CONTENTS), plain("About Spindle2...", IDM_ABOUT), plain("Exit Spindle2", IDM_EXIT),
};

const std::vector<Item> panelLayout = {
    plain("Select Track", popup), plain("Select Drive", popup), rule,
    plain("Random Order", IDM_RANDOM), plain("Introduction Play", IDM_INTRO), plain("Repeat All", IDM_REPEAT_ALL),
    plain("Repeat Current", IDM_REPEAT_CURRENT), rule,
    plain("Select Volume Control", popup), plain("Hide Controls", IDM_HIDE_CONTROLS), rule,
    plain("Properties...", IDM_PROPERTIES), plain("Options...", IDM_OPTIONS), rule,
    plain("Query CDDB...", IDM_QUERY_CDDB), plain("Submit To CDDB...", IDM_SUBMIT_CDDB), rule,
    plain("Start Rackfile", IDM_START_RACKFILE), rule,
    plain("Help Contents", IDM_HELP_CONTENTS), plain("About Spindle2...", IDM_ABOUT), plain("Exit Spindle2", IDM_EXIT),
};

TEST(PopupMenuResource, HoldsBothPopupsItemByItemWithTheirPlaceholders)
{
    HMENU resource = LoadMenuA(GetModuleHandleA(nullptr), "PopupMenu");
    ASSERT_NE(resource, nullptr);
    ASSERT_EQ(GetMenuItemCount(resource), 2);
    HMENU tray = GetSubMenu(resource, 0), panel = GetSubMenu(resource, 1);
    EXPECT_EQ(itemsOf(tray), trayLayout);
    EXPECT_EQ(itemsOf(panel), panelLayout);

    struct Placeholder {
        HMENU parent;
        int position;
        Item item;
    };
    for (const Placeholder &p : {Placeholder{tray, 7, plain("Track 1", IDM_TRACK_PLACEHOLDER)},
                                 Placeholder{tray, 8, plain("D: CD-Rom", IDM_DRIVE_PLACEHOLDER)},
                                 Placeholder{panel, 0, plain("Track 1", IDM_TRACK_PLACEHOLDER)},
                                 Placeholder{panel, 1, plain("D: CD-Rom", IDM_DRIVE_PLACEHOLDER)},
                                 Placeholder{panel, 8, plain("Mixer 1", IDM_MIXER_PLACEHOLDER)}})
        EXPECT_EQ(itemsOf(GetSubMenu(p.parent, p.position)), std::vector<Item>{p.item}) << p.item;
    DestroyMenu(resource);
}

TEST_F(Menus, LoadFindsEveryPopupAndSubmenuByPosition)
{
    ASSERT_NE(start(), nullptr);
    ASSERT_EQ(loadMenus(), 1);
    EXPECT_EQ(GetMenuItemCount(trayMenu), 28);
    EXPECT_EQ(GetMenuItemCount(panelMenu), 22);
    EXPECT_EQ(trayTrackMenu, GetSubMenu(trayMenu, 7));
    EXPECT_EQ(trayDriveMenu, GetSubMenu(trayMenu, 8));
    EXPECT_EQ(panelTrackMenu, GetSubMenu(panelMenu, 0));
    EXPECT_EQ(panelDriveMenu, GetSubMenu(panelMenu, 1));
    EXPECT_EQ(volumeMenu, GetSubMenu(panelMenu, 8));
    EXPECT_EQ(itemAt(trayMenu, 15).text, "Show Controls");
    EXPECT_EQ(itemAt(panelMenu, 9).text, "Hide Controls");
}

// ---- track submenus ----

struct TrackCountCase {
    int tracks;
    size_t items;
    bool completeList;
};

class TrackCount : public Menus, public ::testing::WithParamInterface<TrackCountCase> {};

TEST_P(TrackCount, ListsAtMostTwentyTracksThenTheCompleteList)
{
    const TrackCountCase &c = GetParam();
    startWith({{"D:", tracks(c.tracks, 200)}});
    std::vector<Item> items = trackItems();
    ASSERT_EQ(items.size(), c.items);
    int listed = c.tracks < 20 ? c.tracks : 20;
    for (int t = 1; t <= listed; ++t) {
        // Track 1 plays at start-up, so it is the grayed one.
        Item expected = {std::to_string(t) + ") 3:20", IDM_TRACK_FIRST + t - 1, t == 1, false};
        EXPECT_EQ(items[t - 1], expected);
    }
    if (c.completeList) {
        EXPECT_EQ(items.back(), plain("Complete Track List...", IDM_TRACK_COMPLETE_LIST));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TrackCount,
                         ::testing::Values(TrackCountCase{1, 1, false}, TrackCountCase{19, 19, false},
                                           TrackCountCase{20, 20, false}, TrackCountCase{21, 21, true},
                                           TrackCountCase{25, 21, true}, TrackCountCase{99, 21, true}));

TEST_F(Menus, DataTrackIsListedGrayedAndStaysGrayedWhenMarksChange)
{
    startWith({{"D:", discWithData({200, 95, 61}, {2})}});
    Item data = {"2) Non-Audio", IDM_TRACK_FIRST + 1, true, false};
    EXPECT_EQ(trackItems(), (std::vector<Item>{{"1) 3:20", IDM_TRACK_FIRST, true, false}, data,
                                               plain("3) 1:01", IDM_TRACK_FIRST + 2)}));
    currentTrack = 3;
    refreshTrackMenus(0);
    EXPECT_EQ(trackItems()[1], data);
    EXPECT_FALSE(trackItems()[0].grayed);
}

struct TitleCase {
    std::string title;
    std::string text;
};

class TrackTitle : public Menus, public ::testing::WithParamInterface<TitleCase> {};

TEST_P(TrackTitle, AppendsUpToSixtyCharactersWithAmpersandsDoubled)
{
    startWith({{"D:", tracks(3, 200)}});
    setTrackTitle(2, GetParam().title.c_str());
    refreshTrackMenus(1);
    EXPECT_EQ(trackItems()[1], plain(GetParam().text, IDM_TRACK_FIRST + 1));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrackTitle,
    ::testing::Values(TitleCase{"Rock & Roll", "2) 3:20 - Rock && Roll"}, TitleCase{"", "2) 3:20"},
                      TitleCase{repeat('x', 60), "2) 3:20 - " + repeat('x', 60)},
                      TitleCase{repeat('x', 61) + "tail", "2) 3:20 - " + repeat('x', 60)},
                      TitleCase{repeat('&', 70), "2) 3:20 - " + repeat('&', 120)}));

TEST_F(Menus, PlayedTracksAreCheckedAndThePlayingTrackIsGrayed)
{
    startWith({{"D:", tracks(25, 200)}});
    DriveEntry &entry = DriveTable[0];
    entry.playedFlags[0] = entry.playedFlags[4] = 1;
    entry.playedFlags[21] = 1;   // beyond the menu: nothing to mark
    currentTrack = 3;
    refreshTrackMenus(0);
    std::vector<Item> items = trackItems();
    ASSERT_EQ(items.size(), 21u);
    for (int t = 1; t <= 20; ++t) {
        EXPECT_EQ(items[t - 1].checked, t == 1 || t == 5) << t;
        EXPECT_EQ(items[t - 1].grayed, t == 3) << t;
        EXPECT_EQ(items[t - 1].text, std::to_string(t) + ") 3:20") << "marks leave the texts alone";
    }
    EXPECT_EQ(items[20], plain("Complete Track List...", IDM_TRACK_COMPLETE_LIST));
}

TEST_F(Menus, NextTrackChecksThePlayedOneAndGraysTheNewOne)
{
    startWith({{"D:", tracks(4, 200)}});
    command(IDM_NEXT_TRACK);
    ASSERT_EQ(currentTrack, 2);
    std::vector<Item> items = trackItems();
    EXPECT_EQ(items[0], (Item{"1) 3:20", IDM_TRACK_FIRST, false, true}));
    EXPECT_EQ(items[1], (Item{"2) 3:20", IDM_TRACK_FIRST + 1, true, false}));
}

TEST_F(Menus, WithoutACurrentDriveTheTrackSubmenusAreEmpty)
{
    startWith({});
    ASSERT_EQ(currentDrive, 0);
    EXPECT_TRUE(trackItems().empty());
    EXPECT_TRUE(itemsOf(trayTrackMenu).empty());
}

// ---- drive submenus ----

struct DriveCase {
    const char *artist;
    const char *discTitle;
    std::string text;
};

class DriveItem : public Menus, public ::testing::WithParamInterface<DriveCase> {};

TEST_P(DriveItem, ShowsTheTimeAndTheTitlesCutToTheirLimits)
{
    // Ten tracks of 4:43 after the two-second lead-in: 47:12 in all.
    startWith({{"D:", tracks(10, 283)}});
    setText(DriveTable[0].title.artist, GetParam().artist);
    setText(DriveTable[0].title.discTitle, GetParam().discTitle);
    refreshDriveMenus(1);
    EXPECT_EQ(driveItems(), (std::vector<Item>{{GetParam().text, IDM_DRIVE_FIRST, false, true},
                                               {"E: No Audio CD", IDM_DRIVE_FIRST + 1, true, false}}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DriveItem,
    ::testing::Values(DriveCase{nullptr, nullptr, "D: 47:12"},
                      DriveCase{"Some Artist", "Some Album", "D: 47:12 - Some Artist / Some Album"},
                      DriveCase{"Some Artist", nullptr, "D: 47:12 - Some Artist"},
                      DriveCase{nullptr, "Some Album", "D: 47:12 - Some Album"},
                      DriveCase{"", "Some Album", "D: 47:12 - Some Album"},
                      DriveCase{"Simon & Garfunkel", "Bookends", "D: 47:12 - Simon && Garfunkel / Bookends"},
                      DriveCase{"", "", "D: 47:12"}));

// The limits, with texts too long for them (the parameters outlive the case).
const std::string longArtist = repeat('a', 70), longTitle = repeat('t', 70);
INSTANTIATE_TEST_SUITE_P(
    Limits, DriveItem,
    ::testing::Values(DriveCase{longArtist.c_str(), nullptr, "D: 47:12 - " + repeat('a', 60)},
                      DriveCase{nullptr, longTitle.c_str(), "D: 47:12 - " + repeat('t', 60)},
                      DriveCase{longArtist.c_str(), longTitle.c_str(),
                                "D: 47:12 - " + repeat('a', 30) + " / " + repeat('t', 30)}));

TEST_F(Menus, ChoosingAnotherDriveMovesTheCheckAndTheLabel)
{
    startWith({{"D:", tracks(10, 283)}, {"E:", tracks(2, 100, 0x300)}});
    EXPECT_EQ(controlText(IDC_DRIVE_LABEL), "D:");
    command(IDM_DRIVE_FIRST + 1);
    ASSERT_EQ(currentDrive, 2);
    EXPECT_EQ(driveItems(), (std::vector<Item>{plain("D: 47:12", IDM_DRIVE_FIRST),
                                               {"E: 3:22", IDM_DRIVE_FIRST + 1, false, true}}));
    EXPECT_EQ(controlText(IDC_DRIVE_LABEL), "E:");
    EXPECT_EQ(trackItems().size(), 2u) << "the track submenus follow the new drive";
}

TEST_F(Menus, WithoutACurrentDriveNoDriveIsCheckedAndTheLabelReadsDashes)
{
    startWith({});
    EXPECT_EQ(driveItems(), (std::vector<Item>{{"D: No Audio CD", IDM_DRIVE_FIRST, true, false},
                                               {"E: No Audio CD", IDM_DRIVE_FIRST + 1, true, false}}));
    EXPECT_EQ(controlText(IDC_DRIVE_LABEL), "--");
}

// ---- transport ----

struct TransportCase {
    const char *name;
    bool withDrive;
    int state;
    bool play, pause, stop, eject, next;   // next stands for Previous too
};

class Transport : public Menus, public ::testing::WithParamInterface<TransportCase> {};

TEST_P(Transport, ItemsAndButtonsFollowThePlayState)
{
    const TransportCase &c = GetParam();
    startWith({{"D:", tracks(3)}});
    if (!c.withDrive)
        currentDrive = 0;
    playState = c.state;
    refreshTransportState();
    struct Row {
        int menuId, button;
        bool on;
    };
    for (const Row &r : {Row{IDM_PLAY, IDC_PLAY, c.play}, Row{IDM_PAUSE, IDC_PAUSE, c.pause},
                         Row{IDM_STOP, IDC_STOP, c.stop}, Row{IDM_EJECT, IDC_EJECT, c.eject},
                         Row{IDM_NEXT_TRACK, IDC_NEXT, c.next}, Row{IDM_PREVIOUS_TRACK, IDC_PREVIOUS, c.next}}) {
        UINT state = GetMenuState(trayMenu, r.menuId, MF_BYCOMMAND);
        EXPECT_EQ((state & MF_GRAYED) == 0, r.on) << c.name << " item " << r.menuId;
        EXPECT_EQ(enabled(r.button), r.on) << c.name << " button " << r.button;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Transport,
    ::testing::Values(TransportCase{"playing", true, PlayStatePlaying, false, true, true, true, true},
                      TransportCase{"paused", true, PlayStatePaused, true, true, true, true, false},
                      TransportCase{"stopped", true, PlayStateStopped, true, false, false, true, false},
                      TransportCase{"unknown", true, 0, false, false, false, false, false},
                      TransportCase{"no drive", false, PlayStatePlaying, false, false, false, false, false}));

// ---- play modes ----

struct ModeCase {
    int random, intro, repeatAll, repeatCurrent, visible;
    const char *controlsText;
};

class Modes : public Menus, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(Modes, ChecksFollowTheModesInBothMenus)
{
    const ModeCase &c = GetParam();
    startWith({{"D:", tracks(3)}});
    randomMode = c.random;
    introMode = c.intro;
    options.RepeatAll = c.repeatAll;
    repeatTrackMode = c.repeatCurrent;
    panelVisible = c.visible;
    refreshModeChecks();
    struct Row {
        int id, on;
    };
    for (HMENU menu : {trayMenu, panelMenu})
        for (const Row &r : {Row{IDM_RANDOM, c.random}, Row{IDM_INTRO, c.intro}, Row{IDM_REPEAT_ALL, c.repeatAll},
                             Row{IDM_REPEAT_CURRENT, c.repeatCurrent}})
            EXPECT_EQ((GetMenuState(menu, r.id, MF_BYCOMMAND) & MF_CHECKED) != 0, r.on != 0)
                << (menu == trayMenu ? "tray " : "panel ") << r.id;
    EXPECT_EQ(itemAt(trayMenu, 15), plain(c.controlsText, IDM_SHOW_CONTROLS));
    EXPECT_EQ(itemAt(panelMenu, 9), plain("Hide Controls", IDM_HIDE_CONTROLS));
}

INSTANTIATE_TEST_SUITE_P(Cases, Modes,
                         ::testing::Values(ModeCase{0, 0, 0, 0, 0, "Show Controls"},
                                           ModeCase{1, 0, 0, 0, 1, "Hide Controls"},
                                           ModeCase{0, 1, 0, 0, 0, "Show Controls"},
                                           ModeCase{0, 0, 1, 0, 1, "Hide Controls"},
                                           ModeCase{0, 0, 0, 1, 0, "Show Controls"},
                                           ModeCase{1, 1, 1, 1, 1, "Hide Controls"}));

TEST_F(Menus, ModeCommandsToggleTheirChecks)
{
    startWith({{"D:", tracks(3)}});
    command(IDM_REPEAT_ALL);
    EXPECT_TRUE(GetMenuState(panelMenu, IDM_REPEAT_ALL, MF_BYCOMMAND) & MF_CHECKED);
    command(IDM_REPEAT_ALL);
    EXPECT_FALSE(GetMenuState(trayMenu, IDM_REPEAT_ALL, MF_BYCOMMAND) & MF_CHECKED);
}

// ---- volume controls ----

class VolumeMenu : public Menus {
protected:
    // Replaces the sound cards found at start-up by lines of our own.
    void useLines(std::vector<MixerEntry> lines)
    {
        closeMixers();
        mixerList = std::move(lines);
        mixerCount = (int)mixerList.size();
    }
    static MixerEntry line(const char *name, int volume, int mute)
    {
        MixerEntry entry{};
        entry.lineName = name;
        entry.hasVolume = volume;
        entry.hasMute = mute;
        return entry;
    }
};

TEST_F(VolumeMenu, EachSelectionChecksItsLineAndEnablesWhatItCanDo)
{
    startWith({{"D:", tracks(3)}});
    useLines({line("Master & Volume", 1, 1), line("Wave", 1, 0), line("CD Audio", 0, 1)});
    struct Case {
        int selected;
        bool buttons, bar;
    };
    for (const Case &c : {Case{1, true, true}, Case{2, true, false}, Case{3, false, true}, Case{0, false, false}}) {
        options.VolumeMixer = c.selected;
        refreshVolumeMenu(1);
        EXPECT_EQ(itemsOf(volumeMenu), (std::vector<Item>{{"Master & Volume", IDM_VOLUME_FIRST, false, c.selected == 1},
                                                          {"Wave", IDM_VOLUME_FIRST + 1, false, c.selected == 2},
                                                          {"CD Audio", IDM_VOLUME_FIRST + 2, false, c.selected == 3}}))
            << "selected " << c.selected;
        EXPECT_EQ(enabled(IDC_VOLUME_UP), c.buttons) << c.selected;
        EXPECT_EQ(enabled(IDC_VOLUME_DOWN), c.buttons) << c.selected;
        EXPECT_EQ(enabled(IDC_VOLUME_BAR), c.bar) << c.selected;
    }
}

TEST_F(VolumeMenu, ChoosingAControlMovesTheCheck)
{
    startWith({{"D:", tracks(3)}});
    useLines({line("Master", 1, 1), line("CD Audio", 0, 1)});
    options.VolumeMixer = 1;
    refreshVolumeMenu(1);
    command(IDM_VOLUME_FIRST + 1);
    EXPECT_EQ(options.VolumeMixer, 2);
    EXPECT_FALSE(itemAt(volumeMenu, 0).checked);
    EXPECT_TRUE(itemAt(volumeMenu, 1).checked);
    EXPECT_FALSE(enabled(IDC_VOLUME_UP));
}

TEST_F(VolumeMenu, NoMixerLeavesTheSubmenuEmptyAndTheControlsDisabled)
{
    startWith({{"D:", tracks(3)}});
    useLines({});
    options.VolumeMixer = 0;
    refreshVolumeMenu(1);
    EXPECT_EQ(GetMenuItemCount(volumeMenu), 0);
    for (int control : {IDC_VOLUME_UP, IDC_VOLUME_DOWN, IDC_VOLUME_BAR})
        EXPECT_FALSE(enabled(control)) << control;
}

// ---- CDDB commands ----

TEST_F(Menus, CddbCommandsAreGrayedAndEnabledInBothMenus)
{
    startWith({{"D:", tracks(3)}});
    for (int enable : {0, 1}) {
        enableCddbCommands(enable);
        for (HMENU menu : {trayMenu, panelMenu}) {
            for (int id : {IDM_PROPERTIES, IDM_QUERY_CDDB, IDM_SUBMIT_CDDB})
                EXPECT_EQ((GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0, enable == 0) << id;
            EXPECT_FALSE(GetMenuState(menu, IDM_OPTIONS, MF_BYCOMMAND) & MF_GRAYED);
        }
    }
}

// ---- ampersands ----

TEST(EscapeAmpersands, DoublesEveryAmpersandInPlace)
{
    struct Case {
        std::string text, escaped;
    };
    // The last case fills the buffer to its last byte but one once doubled.
    for (const Case &c : {Case{"", ""}, Case{"plain", "plain"}, Case{"&", "&&"}, Case{"Rock & Roll", "Rock && Roll"},
                          Case{"&a&&b&", "&&a&&&&b&&"}, Case{repeat('&', 31), repeat('&', 62)}}) {
        char buffer[64];
        memset(buffer, 'Z', sizeof buffer);
        snprintf(buffer, sizeof buffer, "%s", c.text.c_str());
        escapeAmpersands(buffer);
        EXPECT_EQ(std::string(buffer), c.escaped);
        EXPECT_EQ(buffer[sizeof buffer - 1], 'Z') << "nothing written past the doubled text";
    }
}

} // namespace
