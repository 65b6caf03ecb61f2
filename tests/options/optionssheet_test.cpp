// The options sheet as a whole: how it opens, every page's controls and
// what they show of an options record, what OK and Cancel leave in the
// live options, the box and radio pages, and context help on every page.
#include "optionsfixture.h"

#include <prsht.h>

#include <cstring>

namespace {

using namespace optionstest;

class OptionsSheet : public OptionsSheetTest {};

std::vector<std::string> tabCaptions(HWND sheet)
{
    std::vector<std::string> tabs;
    HWND tab = (HWND)SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0);
    for (int i = 0; i < TabCtrl_GetItemCount(tab); ++i) {
        char caption[64] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = caption;
        item.cchTextMax = sizeof caption;
        SendMessageA(tab, TCM_GETITEMA, (WPARAM)i, (LPARAM)&item);
        tabs.push_back(caption);
    }
    return tabs;
}

TEST_F(OptionsSheet, OpensModallyAsTheSpindle2OptionsSheetWithSixPages)
{
    std::vector<std::string> tabs;
    bool applyShown = true;
    HWND firstPage = nullptr, shownFirst = nullptr;
    run([&](HWND sheet) {
        tabs = tabCaptions(sheet);
        HWND apply = GetDlgItem(sheet, 0x3021);
        applyShown = apply && IsWindowVisible(apply);
        shownFirst = harness::sheetPage(sheet);
        firstPage = (HWND)SendMessageA(sheet, PSM_INDEXTOHWND, 0, 0);
    });
    std::vector<harness::SheetRun> runs = sheets.runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].caption, "Spindle2 Options");
    EXPECT_EQ(runs[0].flags, (DWORD)(PSH_PROPSHEETPAGE | PSH_USEICONID | PSH_NOAPPLYNOW));
    EXPECT_EQ(runs[0].iconId, 108);
    EXPECT_EQ(runs[0].startPage, 0u);
    EXPECT_EQ(runs[0].pageTemplates, (std::vector<int>{122, 170, 171, 172, 126, 127}));
    EXPECT_EQ(tabs, (Lines{"CD Control Panel", "Play Modes", "Time Display", "Eject and Exit", "CDDB Query",
                           "CDDB Submit"}));
    EXPECT_FALSE(applyShown) << "the sheet has no Apply button";
    EXPECT_EQ(shownFirst, firstPage);
}

// ---- every page's controls ----

struct Control {
    int page;
    int id;
    const char *className;
    const char *text;   // null: no text to compare (edits, lists, up-downs)
};

const Control controls[] = {
    {PanelPage, IDC_OPT_SHOW_AT_STARTUP, "Button", "Show at Startup"},
    {PanelPage, IDC_OPT_ALWAYS_ON_TOP, "Button", "Always On Top"},
    {PanelPage, IDC_OPT_HIDE_NO_CD, "Button", "Hide When No Audio CD's"},
    {PanelPage, IDC_OPT_STATUS_TIME, "Button", "Status/Time"},
    {PanelPage, IDC_OPT_TRACK_TITLE, "Button", "Track/Disc Title"},
    {PlayModesPage, IDC_OPT_RANDOM_ALL, "Button", "Random Across All CD Drives"},
    {PlayModesPage, IDC_OPT_REPEAT_ALL, "Button", "Repeat All Tracks"},
    {PlayModesPage, IDC_OPT_INTRO_START, "Edit", nullptr},
    {PlayModesPage, IDC_OPT_INTRO_START_SPIN, "msctls_updown32", nullptr},
    {PlayModesPage, IDC_OPT_INTRO_MIDDLE, "Button", "at middle of track"},
    {PlayModesPage, IDC_OPT_INTRO_LENGTH, "Edit", nullptr},
    {PlayModesPage, IDC_OPT_INTRO_LENGTH_SPIN, "msctls_updown32", nullptr},
    {TimeDisplayPage, IDC_OPT_TRACK_ELAPSED, "Button", "Track Time Elapsed"},
    {TimeDisplayPage, IDC_OPT_TRACK_REMAINING, "Button", "Track Time Remaining"},
    {TimeDisplayPage, IDC_OPT_DISC_ELAPSED, "Button", "Disc Time Elapsed"},
    {TimeDisplayPage, IDC_OPT_DISC_REMAINING, "Button", "Disc Time Remaining"},
    {EjectExitPage, IDC_OPT_EJECT_AT_END, "Button", "Eject CD(s) at End of Play"},
    {EjectExitPage, IDC_OPT_EXIT_AT_EJECT, "Button", "Exit Spindle2 When Eject"},
    {EjectExitPage, IDC_OPT_STOP_AT_EXIT, "Button", "Stop Play When Exiting Spindle2"},
    {QueryPage, IDC_OPT_QUERY_LOCAL, "Button", "Query Local Database"},
    {QueryPage, IDC_OPT_LOCAL_ROOT, "Edit", nullptr},
    {QueryPage, IDC_OPT_QUERY_SERVER, "Button", "Query Remote Server"},
    {QueryPage, IDC_OPT_USE_PROXY, "Button", "Use Proxy Host (Requires firewall configuration)"},
    {QueryPage, IDC_OPT_SERVERS, "ComboBox", nullptr},
    {QueryPage, IDC_OPT_PROXY_HOST, "Edit", nullptr},
    {QueryPage, IDC_OPT_PROXY_PORT, "Edit", nullptr},
    {QueryPage, IDC_OPT_QUERY_STATUS, "Button", "Display Status During Query Operations"},
    {SubmitPage, IDC_OPT_SMTP_SERVER, "Edit", nullptr},
    {SubmitPage, IDC_OPT_SMTP_PORT, "Edit", nullptr},
    {SubmitPage, IDC_OPT_RETURN_ADDRESS, "Edit", nullptr},
    {SubmitPage, IDC_OPT_SUBMIT_STATUS, "Button", "Display Status During Submit Operations"},
};

// The labels and group boxes of each page, in template order.
const std::vector<Lines> statics = {
    {"General", "Status Display Area"},
    {"Introduction Play", "Start after", "seconds or", "and play for", "seconds."},
    {},
    {},
    {"Local Database", "Database Root Directory:", "Internet Database Server",
     "CDDBD Servers - Select closest for fastest response:", "Proxy Host:", "Port Number:"},
    {"SMTP E-Mail Server:", "Port Number:", "Return E-Mail Address:"},
};

TEST_F(OptionsSheet, EveryPageHoldsItsControlsLabelsAndLimits)
{
    std::vector<std::string> found[6];
    Lines labels[6];
    run([&](HWND sheet) {
        for (int index = 0; index < 6; ++index) {
            HWND page = harness::showSheetPage(sheet, index);
            for (const Control &c : controls) {
                if (c.page != index)
                    continue;
                HWND control = GetDlgItem(page, c.id);
                char className[64] = "";
                GetClassNameA(control, className, sizeof className);
                std::string line = std::to_string(c.id) + " " + className;
                if (c.text)
                    line += " \"" + text(page, c.id) + "\"";
                found[index].push_back(line);
            }
            for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                if (GetDlgCtrlID(child) == -1 || GetDlgCtrlID(child) == 0xFFFF) {
                    char label[128] = "";
                    GetWindowTextA(child, label, sizeof label);
                    labels[index].push_back(label);
                }
        }
    });
    for (int index = 0; index < 6; ++index) {
        std::vector<std::string> expected;
        for (const Control &c : controls)
            if (c.page == index)
                expected.push_back(std::to_string(c.id) + " " + c.className +
                                   (c.text ? std::string(" \"") + c.text + "\"" : std::string()));
        EXPECT_EQ(found[index], expected) << "page " << index;
        EXPECT_EQ(labels[index], statics[(size_t)index]) << "page " << index;
    }
}

struct LimitCase {
    int page, id, limit;
};

TEST_F(OptionsSheet, TextFieldsAreLimitedToTheirOptions)
{
    const LimitCase cases[] = {
        {QueryPage, IDC_OPT_LOCAL_ROOT, 260}, {QueryPage, IDC_OPT_PROXY_HOST, 80}, {QueryPage, IDC_OPT_PROXY_PORT, 5},
        {SubmitPage, IDC_OPT_SMTP_SERVER, 80}, {SubmitPage, IDC_OPT_SMTP_PORT, 5}, {SubmitPage, IDC_OPT_RETURN_ADDRESS, 80},
    };
    std::vector<int> limits;
    run([&](HWND sheet) {
        for (const LimitCase &c : cases)
            limits.push_back(editLimit(harness::showSheetPage(sheet, c.page), c.id));
    });
    ASSERT_EQ(limits.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(limits[i], cases[i].limit) << "control " << cases[i].id;
}

// ---- what the pages show of an options record ----

struct Shown {
    int page, id;
    const char *text;   // an edit's text; null for a button
    bool on;            // a button's check
};

struct RecordCase {
    const char *name;
    void (*set)(OptionsRecord &o);
    std::vector<Shown> shown;
};

void everythingOn(OptionsRecord &o)
{
    o.ControlsVisibleAtStart = o.ControlsOnTop = o.ControlsHideNoCD = 1;
    o.ControlsDisplayType = 1;
    o.TimeDisplayMode = 3;
    o.ShuffleAllDrives = o.RepeatAll = 1;
    o.IntroPlayStart = 25;
    o.IntroPlayLength = 40;
    o.EjectAtEnd = o.ExitAtEject = o.StopAtExit = 1;
    o.cddbQueryLocal = o.cddbQueryServer = o.cddbUseProxy = o.cddbQueryShowStatus = 1;
    strcpy(o.cddbLocalRoot, "C:\\cddb");
    strcpy(o.cddbProxy, "proxy.example.org");
    o.cddbProxyPort = 3128;
    strcpy(o.SMTPServer, "mail.example.org");
    o.SMTPServerPort = 587;
    strcpy(o.ReturnAddress, "me@example.org");
    o.cddbSubmitShowStatus = 1;
}

void everythingOff(OptionsRecord &o)
{
    o.ControlsVisibleAtStart = o.ControlsOnTop = o.ControlsHideNoCD = 0;
    o.ControlsDisplayType = 0;
    o.TimeDisplayMode = 1;
    o.ShuffleAllDrives = o.RepeatAll = 0;
    o.IntroPlayStart = 0;
    o.IntroPlayLength = 2;
    o.EjectAtEnd = o.ExitAtEject = o.StopAtExit = 0;
    o.cddbQueryLocal = o.cddbQueryServer = o.cddbUseProxy = o.cddbQueryShowStatus = 0;
    o.cddbProxyPort = 8080;
    o.SMTPServerPort = 25;
    o.cddbSubmitShowStatus = 0;
}

// Values no button stands for check no button of their group.
void unknownRadioValues(OptionsRecord &o)
{
    o.ControlsDisplayType = 2;
    o.TimeDisplayMode = -1;
}

const RecordCase recordCases[] = {
    {"EverythingOn", everythingOn,
     {{PanelPage, IDC_OPT_SHOW_AT_STARTUP, nullptr, true}, {PanelPage, IDC_OPT_ALWAYS_ON_TOP, nullptr, true},
      {PanelPage, IDC_OPT_HIDE_NO_CD, nullptr, true}, {PanelPage, IDC_OPT_STATUS_TIME, nullptr, false},
      {PanelPage, IDC_OPT_TRACK_TITLE, nullptr, true}, {PlayModesPage, IDC_OPT_RANDOM_ALL, nullptr, true},
      {PlayModesPage, IDC_OPT_REPEAT_ALL, nullptr, true}, {PlayModesPage, IDC_OPT_INTRO_START, "25", false},
      {PlayModesPage, IDC_OPT_INTRO_MIDDLE, nullptr, false}, {PlayModesPage, IDC_OPT_INTRO_LENGTH, "40", false},
      {TimeDisplayPage, IDC_OPT_TRACK_ELAPSED, nullptr, false}, {TimeDisplayPage, IDC_OPT_TRACK_REMAINING, nullptr, false},
      {TimeDisplayPage, IDC_OPT_DISC_ELAPSED, nullptr, false}, {TimeDisplayPage, IDC_OPT_DISC_REMAINING, nullptr, true},
      {EjectExitPage, IDC_OPT_EJECT_AT_END, nullptr, true}, {EjectExitPage, IDC_OPT_EXIT_AT_EJECT, nullptr, true},
      {EjectExitPage, IDC_OPT_STOP_AT_EXIT, nullptr, true}, {QueryPage, IDC_OPT_QUERY_LOCAL, nullptr, true},
      {QueryPage, IDC_OPT_LOCAL_ROOT, "C:\\cddb", false}, {QueryPage, IDC_OPT_QUERY_SERVER, nullptr, true},
      {QueryPage, IDC_OPT_USE_PROXY, nullptr, true}, {QueryPage, IDC_OPT_PROXY_HOST, "proxy.example.org", false},
      {QueryPage, IDC_OPT_PROXY_PORT, "3128", false}, {QueryPage, IDC_OPT_QUERY_STATUS, nullptr, true},
      {SubmitPage, IDC_OPT_SMTP_SERVER, "mail.example.org", false}, {SubmitPage, IDC_OPT_SMTP_PORT, "587", false},
      {SubmitPage, IDC_OPT_RETURN_ADDRESS, "me@example.org", false},
      {SubmitPage, IDC_OPT_SUBMIT_STATUS, nullptr, true}}},
    {"EverythingOff", everythingOff,
     {{PanelPage, IDC_OPT_SHOW_AT_STARTUP, nullptr, false}, {PanelPage, IDC_OPT_ALWAYS_ON_TOP, nullptr, false},
      {PanelPage, IDC_OPT_HIDE_NO_CD, nullptr, false}, {PanelPage, IDC_OPT_STATUS_TIME, nullptr, true},
      {PanelPage, IDC_OPT_TRACK_TITLE, nullptr, false}, {PlayModesPage, IDC_OPT_RANDOM_ALL, nullptr, false},
      {PlayModesPage, IDC_OPT_REPEAT_ALL, nullptr, false}, {PlayModesPage, IDC_OPT_INTRO_START, "0", false},
      {PlayModesPage, IDC_OPT_INTRO_LENGTH, "2", false}, {TimeDisplayPage, IDC_OPT_TRACK_ELAPSED, nullptr, false},
      {TimeDisplayPage, IDC_OPT_TRACK_REMAINING, nullptr, true}, {TimeDisplayPage, IDC_OPT_DISC_REMAINING, nullptr, false},
      {EjectExitPage, IDC_OPT_EJECT_AT_END, nullptr, false}, {EjectExitPage, IDC_OPT_EXIT_AT_EJECT, nullptr, false},
      {EjectExitPage, IDC_OPT_STOP_AT_EXIT, nullptr, false}, {QueryPage, IDC_OPT_QUERY_LOCAL, nullptr, false},
      {QueryPage, IDC_OPT_LOCAL_ROOT, "", false}, {QueryPage, IDC_OPT_QUERY_SERVER, nullptr, false},
      {QueryPage, IDC_OPT_USE_PROXY, nullptr, false}, {QueryPage, IDC_OPT_PROXY_PORT, "8080", false},
      {QueryPage, IDC_OPT_QUERY_STATUS, nullptr, false}, {SubmitPage, IDC_OPT_SMTP_PORT, "25", false},
      {SubmitPage, IDC_OPT_SUBMIT_STATUS, nullptr, false}}},
    {"UnknownRadioValues", unknownRadioValues,
     {{PanelPage, IDC_OPT_STATUS_TIME, nullptr, false}, {PanelPage, IDC_OPT_TRACK_TITLE, nullptr, false},
      {TimeDisplayPage, IDC_OPT_TRACK_ELAPSED, nullptr, false}, {TimeDisplayPage, IDC_OPT_TRACK_REMAINING, nullptr, false},
      {TimeDisplayPage, IDC_OPT_DISC_ELAPSED, nullptr, false}, {TimeDisplayPage, IDC_OPT_DISC_REMAINING, nullptr, false}}},
};

class OptionsPagesShow : public OptionsSheetTest, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(OptionsPagesShow, TheRecordOnEveryPage)
{
    const RecordCase &c = GetParam();
    c.set(options);
    OptionsRecord before = options;
    std::vector<std::string> seen;
    run([&](HWND sheet) {
        for (const Shown &s : c.shown) {
            HWND page = harness::showSheetPage(sheet, s.page);
            seen.push_back(s.text ? text(page, s.id) : std::string(checked(page, s.id) ? "on" : "off"));
        }
        harness::pressSheetOk(sheet);
    });
    ASSERT_EQ(seen.size(), c.shown.size());
    for (size_t i = 0; i < c.shown.size(); ++i)
        EXPECT_EQ(seen[i], c.shown[i].text ? c.shown[i].text : (c.shown[i].on ? "on" : "off"))
            << "control " << c.shown[i].id;
    // Shown and stored again without a change: OK gives the same record
    // (an unknown radio value stays as it was).
    EXPECT_EQ(differences(options, before), "");
}

INSTANTIATE_TEST_SUITE_P(Records, OptionsPagesShow, ::testing::ValuesIn(recordCases),
                         [](const ::testing::TestParamInfo<RecordCase> &info) { return info.param.name; });

// ---- what the box and radio pages store ----

struct ClickCase {
    int page;
    int id;
    int32_t OptionsRecord::*field;
    int32_t before, after;
};

// One click on every button of the three box pages, then OK.
TEST_F(OptionsSheet, EachButtonStoresItsOption)
{
    const ClickCase cases[] = {
        {PanelPage, IDC_OPT_SHOW_AT_STARTUP, &OptionsRecord::ControlsVisibleAtStart, 1, 0},
        {PanelPage, IDC_OPT_ALWAYS_ON_TOP, &OptionsRecord::ControlsOnTop, 1, 0},
        {PanelPage, IDC_OPT_HIDE_NO_CD, &OptionsRecord::ControlsHideNoCD, 0, 1},
        {PanelPage, IDC_OPT_TRACK_TITLE, &OptionsRecord::ControlsDisplayType, 0, 1},
        {TimeDisplayPage, IDC_OPT_DISC_ELAPSED, &OptionsRecord::TimeDisplayMode, 0, 2},
        {EjectExitPage, IDC_OPT_EJECT_AT_END, &OptionsRecord::EjectAtEnd, 0, 1},
        {EjectExitPage, IDC_OPT_EXIT_AT_EJECT, &OptionsRecord::ExitAtEject, 0, 1},
        {EjectExitPage, IDC_OPT_STOP_AT_EXIT, &OptionsRecord::StopAtExit, 1, 0},
    };
    for (const ClickCase &c : cases) {
        options = defaultOptions;
        ASSERT_EQ(options.*c.field, c.before);
        int accepted = onPage(c.page, [&](HWND page) { click(page, c.id); });
        EXPECT_EQ(accepted, 1);
        EXPECT_EQ(options.*c.field, c.after) << "control " << c.id;
        OptionsRecord expected = defaultOptions;
        expected.*c.field = c.after;
        EXPECT_EQ(differences(options, expected), "") << "only control " << c.id << "'s option changed";
    }
}

// A time mode chosen, the page left and shown again, the choice changed:
// the last choice counts, and only OK makes it live.
TEST_F(OptionsSheet, ThePagesKeepTheirEditsAcrossPageChangesAndOnlyOkMakesThemLive)
{
    int liveWhileOpen = -1;
    int accepted = run([&](HWND sheet) {
        HWND page = harness::showSheetPage(sheet, TimeDisplayPage);
        click(page, IDC_OPT_TRACK_REMAINING);
        harness::showSheetPage(sheet, EjectExitPage);
        page = harness::showSheetPage(sheet, TimeDisplayPage);
        EXPECT_TRUE(checked(page, IDC_OPT_TRACK_REMAINING));
        click(page, IDC_OPT_DISC_REMAINING);
        harness::showSheetPage(sheet, PanelPage);
        liveWhileOpen = options.TimeDisplayMode;
        harness::pressSheetOk(sheet);
    });
    EXPECT_EQ(accepted, 1);
    EXPECT_EQ(liveWhileOpen, 0) << "nothing takes effect while the sheet is open";
    EXPECT_EQ(options.TimeDisplayMode, 3);
}

// Edits on every page, then Cancel (or the close box): nothing changes.
TEST_F(OptionsSheet, CancelAfterEditsOnEveryPageChangesNothing)
{
    storeServers({{"one.example.org", "One", 888}, {"two.example.org", "Two", 8880}});
    for (bool closeBox : {false, true}) {
        options = defaultOptions;
        int accepted = run([&](HWND sheet) {
            click(harness::showSheetPage(sheet, PanelPage), IDC_OPT_ALWAYS_ON_TOP);
            HWND page = harness::showSheetPage(sheet, PlayModesPage);
            type(page, IDC_OPT_INTRO_START, "300");
            click(page, IDC_OPT_REPEAT_ALL);
            click(harness::showSheetPage(sheet, TimeDisplayPage), IDC_OPT_DISC_ELAPSED);
            click(harness::showSheetPage(sheet, EjectExitPage), IDC_OPT_EXIT_AT_EJECT);
            page = harness::showSheetPage(sheet, QueryPage);
            chooseServer(page, 1);
            type(page, IDC_OPT_LOCAL_ROOT, "D:\\tree");
            page = harness::showSheetPage(sheet, SubmitPage);
            type(page, IDC_OPT_SMTP_SERVER, "smtp.example.org");
            harness::showSheetPage(sheet, PanelPage);
            if (closeBox) {
                SendMessageA(sheet, WM_SYSCOMMAND, SC_CLOSE, 0);
                harness::pumpFor(0);
            } else {
                harness::pressSheetCancel(sheet);
            }
        });
        EXPECT_EQ(accepted, 0);
        EXPECT_EQ(differences(options, defaultOptions), "") << (closeBox ? "close box" : "Cancel");
    }
}

// Windows that moved while the sheet was open keep their new places: the
// sheet puts back only what its pages show.
TEST_F(OptionsSheet, OkKeepsThePlacesOfWindowsThatMovedMeanwhile)
{
    int accepted = onPage(EjectExitPage, [&](HWND page) {
        click(page, IDC_OPT_EJECT_AT_END);
        options.StatusX = 640;
        options.StatusY = 480;
        options.ControlsX = 300;
        options.VolumeMixer = 2;
    });
    EXPECT_EQ(accepted, 1);
    EXPECT_EQ(options.EjectAtEnd, 1);
    EXPECT_EQ(options.StatusX, 640);
    EXPECT_EQ(options.StatusY, 480);
    EXPECT_EQ(options.ControlsX, 300);
    EXPECT_EQ(options.VolumeMixer, 2);
}

// ---- context help ----

struct HelpCase {
    int page, id;
    DWORD helpId;
};

const HelpCase helpCases[] = {
    {PanelPage, IDC_OPT_SHOW_AT_STARTUP, 99}, {PanelPage, IDC_OPT_ALWAYS_ON_TOP, 100},
    {PanelPage, IDC_OPT_HIDE_NO_CD, 103},     {PanelPage, IDC_OPT_STATUS_TIME, 65},
    {PanelPage, IDC_OPT_TRACK_TITLE, 66},     {PlayModesPage, IDC_OPT_RANDOM_ALL, 67},
    {PlayModesPage, IDC_OPT_REPEAT_ALL, 68},  {PlayModesPage, IDC_OPT_INTRO_START, 69},
    {PlayModesPage, IDC_OPT_INTRO_LENGTH, 70}, {PlayModesPage, IDC_OPT_INTRO_MIDDLE, 71},
    {TimeDisplayPage, IDC_OPT_TRACK_ELAPSED, 72}, {TimeDisplayPage, IDC_OPT_TRACK_REMAINING, 73},
    {TimeDisplayPage, IDC_OPT_DISC_ELAPSED, 74}, {TimeDisplayPage, IDC_OPT_DISC_REMAINING, 75},
    {EjectExitPage, IDC_OPT_EJECT_AT_END, 76}, {EjectExitPage, IDC_OPT_EXIT_AT_EJECT, 77},
    {EjectExitPage, IDC_OPT_STOP_AT_EXIT, 78}, {QueryPage, IDC_OPT_QUERY_STATUS, 79},
    {QueryPage, IDC_OPT_QUERY_LOCAL, 80},     {QueryPage, IDC_OPT_LOCAL_ROOT, 81},
    {QueryPage, IDC_OPT_QUERY_SERVER, 82},    {QueryPage, IDC_OPT_USE_PROXY, 83},
    {QueryPage, IDC_OPT_SERVERS, 84},         {QueryPage, IDC_OPT_PROXY_HOST, 85},
    {QueryPage, IDC_OPT_PROXY_PORT, 86},      {SubmitPage, IDC_OPT_RETURN_ADDRESS, 87},
    {SubmitPage, IDC_OPT_SMTP_SERVER, 88},    {SubmitPage, IDC_OPT_SMTP_PORT, 101},
    {SubmitPage, IDC_OPT_SUBMIT_STATUS, 102},
};

// The one table every page hands to the help viewer, as pairs up to 0, 0.
std::vector<DWORD> helpTable()
{
    return {1052, 99, 1033, 100, 1120, 65, 1121, 66, 1122, 67, 1022, 68, 1042, 69, 1045, 70, 1100, 71, 1142, 103,
            1108, 72, 1106, 73, 1107, 74, 1109, 75, 1018, 76, 1118, 77, 1099, 78, 1137, 79, 1071, 80, 1056, 81,
            1066, 82, 1075, 83, 1064, 84, 1073, 85, 1074, 86, 1079, 87, 1057, 88, 1132, 101, 1138, 102};
}

void pressF1(HWND page, int id)
{
    HWND control = GetDlgItem(page, id);
    HELPINFO info = {sizeof(HELPINFO), HELPINFO_WINDOW, id, control, 0, {0, 0}};
    SendMessageA(page, WM_HELP, 0, (LPARAM)&info);
}

// F1 on every control of every page, and a right click on each page: the
// pop-up of the control from the one table.
TEST_F(OptionsSheet, F1AndTheRightClickOnEveryPageAskForTheControlsPopup)
{
    harness::HelpRecorder help;
    std::vector<HWND> asked;
    run([&](HWND sheet) {
        for (const HelpCase &c : helpCases) {
            HWND page = harness::showSheetPage(sheet, c.page);
            pressF1(page, c.id);
            asked.push_back(GetDlgItem(page, c.id));
        }
        for (int index = 0; index < 6; ++index) {
            HWND page = harness::showSheetPage(sheet, index);
            HWND clicked = GetWindow(page, GW_CHILD);
            SendMessageA(page, WM_CONTEXTMENU, (WPARAM)clicked, MAKELPARAM(5, 5));
            asked.push_back(clicked);
        }
    });
    std::vector<harness::HelpCall> calls = help.calls();
    ASSERT_EQ(calls.size(), asked.size());
    for (size_t n = 0; n < calls.size(); ++n) {
        bool rightClick = n >= std::size(helpCases);
        EXPECT_EQ(calls[n].window, asked[n]) << "call " << n;
        EXPECT_EQ(calls[n].file, "Spindle2.hlp");
        EXPECT_EQ(calls[n].command, (UINT)(rightClick ? HELP_CONTEXTMENU : HELP_WM_HELP)) << "call " << n;
        EXPECT_EQ(calls[n].ids, helpTable()) << "call " << n;
    }
}

// A viewer without pop-ups (Wine's) opens the control's topic instead:
// F1 on the submit page's port gives help context 101.
TEST_F(OptionsSheet, WithoutPopupsF1OpensTheControlsTopic)
{
    harness::HelpRecorder help(false);
    run([&](HWND sheet) {
        for (const HelpCase &c : helpCases)
            pressF1(harness::showSheetPage(sheet, c.page), c.id);
    });
    std::vector<harness::HelpCall> calls = help.calls();
    ASSERT_EQ(calls.size(), 2 * std::size(helpCases));
    for (size_t i = 0; i < std::size(helpCases); ++i) {
        const harness::HelpCall &fallback = calls[2 * i + 1];
        EXPECT_EQ(fallback.command, (UINT)HELP_CONTEXT) << "control " << helpCases[i].id;
        EXPECT_EQ(fallback.data, (ULONG_PTR)helpCases[i].helpId) << "control " << helpCases[i].id;
        EXPECT_EQ(fallback.file, "Spindle2.hlp");
    }
}

// The up-down controls have no topic: F1 on them opens nothing.
TEST_F(OptionsSheet, TheUpDownControlsHaveNoTopic)
{
    harness::HelpRecorder help(false);
    run([&](HWND sheet) {
        HWND page = harness::showSheetPage(sheet, PlayModesPage);
        pressF1(page, IDC_OPT_INTRO_START_SPIN);
        pressF1(page, IDC_OPT_INTRO_LENGTH_SPIN);
    });
    for (const harness::HelpCall &call : help.calls())
        EXPECT_NE(call.command, (UINT)HELP_CONTEXT) << "topic " << call.data;
}

} // namespace
