// The options pages with behaviour of their own: the introduction play's
// up-down controls, their clamps and "at middle of track"; the CDDB Query
// page's server list and proxy rules; and the port fields of both CDDB
// pages.
#include "optionsfixture.h"

#include <cstring>

namespace {

using namespace optionstest;

class OptionsPages : public OptionsSheetTest {};

// ---- Play Modes ----

TEST_F(OptionsPages, TheUpDownControlsHoldTheirRangesAndTheStoredValues)
{
    options.IntroPlayStart = 30;
    options.IntroPlayLength = 15;
    Spin start{}, length{};
    bool startEnabled = false, spinEnabled = false;
    onPage(PlayModesPage, [&](HWND page) {
        start = spin(page, IDC_OPT_INTRO_START_SPIN);
        length = spin(page, IDC_OPT_INTRO_LENGTH_SPIN);
        startEnabled = enabled(page, IDC_OPT_INTRO_START);
        spinEnabled = enabled(page, IDC_OPT_INTRO_START_SPIN);
        // Each edit is its up-down's buddy.
        EXPECT_EQ((HWND)SendDlgItemMessageA(page, IDC_OPT_INTRO_START_SPIN, UDM_GETBUDDY, 0, 0),
                  GetDlgItem(page, IDC_OPT_INTRO_START));
        EXPECT_EQ((HWND)SendDlgItemMessageA(page, IDC_OPT_INTRO_LENGTH_SPIN, UDM_GETBUDDY, 0, 0),
                  GetDlgItem(page, IDC_OPT_INTRO_LENGTH));
        LONG style = GetWindowLongA(GetDlgItem(page, IDC_OPT_INTRO_START_SPIN), GWL_STYLE);
        EXPECT_EQ(style & (UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS),
                  UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS);
    });
    EXPECT_EQ(start.first, 0);
    EXPECT_EQ(start.last, 1000);
    EXPECT_EQ(start.position, 30);
    EXPECT_EQ(length.first, 2);
    EXPECT_EQ(length.last, 1000);
    EXPECT_EQ(length.position, 15);
    EXPECT_TRUE(startEnabled);
    EXPECT_TRUE(spinEnabled);
}

struct ClampCase {
    const char *typedStart, *typedLength;
    int32_t start, length;
};

// What is typed into the two edits, and what OK stores: numbers outside a
// range come into it; a text that is no number counts as above the range.
TEST_F(OptionsPages, TypedNumbersAreClampedIntoTheUpDownRanges)
{
    const ClampCase cases[] = {
        {"250", "30", 250, 30},
        {"1500", "1001", 1000, 1000},
        {"1000", "1000", 1000, 1000},
        {"0", "2", 0, 2},
        {"-5", "1", 0, 2},
        {"-40000", "0", 0, 2},
        {"99999999999999", "-99999999999999", 1000, 2},
        {" 42 ", "+7", 42, 7},
        {"abc", "", 1000, 1000},
        {"12s", "3x", 1000, 1000},
    };
    for (const ClampCase &c : cases) {
        options = defaultOptions;
        int accepted = onPage(PlayModesPage, [&](HWND page) {
            type(page, IDC_OPT_INTRO_START, c.typedStart);
            type(page, IDC_OPT_INTRO_LENGTH, c.typedLength);
        });
        EXPECT_EQ(accepted, 1);
        EXPECT_EQ(options.IntroPlayStart, c.start) << "start \"" << c.typedStart << "\"";
        EXPECT_EQ(options.IntroPlayLength, c.length) << "length \"" << c.typedLength << "\"";
    }
}

// Stored values outside the ranges (from the registry) show clamped.
TEST_F(OptionsPages, StoredValuesOutsideTheRangesShowClamped)
{
    options.IntroPlayStart = 5000;
    options.IntroPlayLength = 1;
    std::string start, length;
    onPage(PlayModesPage, [&](HWND page) {
        start = text(page, IDC_OPT_INTRO_START);
        length = text(page, IDC_OPT_INTRO_LENGTH);
    });
    EXPECT_EQ(start, "1000");
    EXPECT_EQ(length, "2");
    EXPECT_EQ(options.IntroPlayStart, 1000);
    EXPECT_EQ(options.IntroPlayLength, 2);
}

TEST_F(OptionsPages, AtMiddleOfTrackStoresMinusOneAndUncheckingStartsAgainFromZero)
{
    options.IntroPlayStart = 30;
    // Checked and OK: -1.
    bool disabledAfterCheck = false;
    EXPECT_EQ(onPage(PlayModesPage,
                     [&](HWND page) {
                         click(page, IDC_OPT_INTRO_MIDDLE);
                         disabledAfterCheck =
                             !enabled(page, IDC_OPT_INTRO_START) && !enabled(page, IDC_OPT_INTRO_START_SPIN);
                     }),
              1);
    EXPECT_TRUE(disabledAfterCheck);
    EXPECT_EQ(options.IntroPlayStart, -1);

    // Opened again: "0", checked, disabled; unchecked: enabled from 0.
    std::string shown, afterUncheck;
    bool middleChecked = false, startDisabled = false, enabledAgain = false;
    int position = -1;
    EXPECT_EQ(onPage(PlayModesPage,
                     [&](HWND page) {
                         shown = text(page, IDC_OPT_INTRO_START);
                         middleChecked = checked(page, IDC_OPT_INTRO_MIDDLE);
                         startDisabled = !enabled(page, IDC_OPT_INTRO_START);
                         click(page, IDC_OPT_INTRO_MIDDLE);
                         afterUncheck = text(page, IDC_OPT_INTRO_START);
                         position = spin(page, IDC_OPT_INTRO_START_SPIN).position;
                         enabledAgain =
                             enabled(page, IDC_OPT_INTRO_START) && enabled(page, IDC_OPT_INTRO_START_SPIN);
                     }),
              1);
    EXPECT_EQ(shown, "0");
    EXPECT_TRUE(middleChecked);
    EXPECT_TRUE(startDisabled);
    EXPECT_EQ(afterUncheck, "0");
    EXPECT_EQ(position, 0);
    EXPECT_TRUE(enabledAgain);
    EXPECT_EQ(options.IntroPlayStart, 0);
}

// Checked and cleared again on the same visit: the copy's start comes back.
TEST_F(OptionsPages, ClearingTheMiddleOnTheSameVisitShowsTheCopysStart)
{
    options.IntroPlayStart = 30;
    std::string afterUncheck;
    onPage(PlayModesPage, [&](HWND page) {
        type(page, IDC_OPT_INTRO_START, "45");
        click(page, IDC_OPT_INTRO_MIDDLE);
        click(page, IDC_OPT_INTRO_MIDDLE);
        afterUncheck = text(page, IDC_OPT_INTRO_START);
    });
    EXPECT_EQ(afterUncheck, "30");
    EXPECT_EQ(options.IntroPlayStart, 30);
}

TEST_F(OptionsPages, PlayModeBoxesStoreTheirOptions)
{
    onPage(PlayModesPage, [&](HWND page) {
        click(page, IDC_OPT_RANDOM_ALL);
        click(page, IDC_OPT_REPEAT_ALL);
    });
    EXPECT_EQ(options.ShuffleAllDrives, 0);
    EXPECT_EQ(options.RepeatAll, 1);
}

// ---- CDDB Query: the server list ----

const std::vector<StoredServer> threeServers = {
    {"one.example.org", "Somewhere, North", 888},
    {"two.example.org", "Elsewhere, South", 8880},
    {"three.example.org", "", 80},
};

struct ServerCase {
    const char *name;
    const char *cddbServer;   // the option when the sheet opens
    int chosen;               // the line the user picks, -1 for none
    int shownLine;            // selected when the page shows
    const char *storedHost;   // cddbServer after OK
    int32_t storedPort;
};

class OptionsServerList : public OptionsSheetTest, public ::testing::WithParamInterface<ServerCase> {};

TEST_P(OptionsServerList, ShowsTheStoredServersAndStoresTheChosenOne)
{
    const ServerCase &c = GetParam();
    storeServers(threeServers);
    strcpy(options.cddbServer, c.cddbServer);
    options.cddbServerPort = 1234;
    Lines lines;
    int shown = -2;
    EXPECT_EQ(onPage(QueryPage,
                     [&](HWND page) {
                         lines = serverLines(page);
                         shown = serverSelection(page);
                         if (c.chosen >= 0)
                             chooseServer(page, c.chosen);
                     }),
              1);
    EXPECT_EQ(lines, (Lines{"one.example.org - Somewhere, North", "two.example.org - Elsewhere, South",
                            "three.example.org - "}));
    EXPECT_EQ(shown, c.shownLine);
    EXPECT_STREQ(options.cddbServer, c.storedHost);
    EXPECT_EQ(options.cddbServerPort, c.storedPort);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OptionsServerList,
    ::testing::Values(ServerCase{"TheStoredServerIsSelected", "two.example.org", -1, 1, "two.example.org", 8880},
                      ServerCase{"AnotherIsChosen", "two.example.org", 2, 1, "three.example.org", 80},
                      ServerCase{"AnUnlistedServerShowsTheFirst", "gone.example.org", -1, 0, "one.example.org", 888},
                      ServerCase{"TheNameMustMatchByteForByte", "TWO.example.org", -1, 0, "one.example.org", 888}),
    [](const ::testing::TestParamInfo<ServerCase> &info) { return info.param.name; });

// OK without a visit to the CDDB Query page leaves an unlisted server.
TEST_F(OptionsPages, OkWithoutVisitingTheQueryPageKeepsTheServer)
{
    storeServers(threeServers);
    strcpy(options.cddbServer, "gone.example.org");
    options.cddbServerPort = 1234;
    EXPECT_EQ(onPage(PanelPage, [](HWND) {}), 1);
    EXPECT_STREQ(options.cddbServer, "gone.example.org");
    EXPECT_EQ(options.cddbServerPort, 1234);
}

// No stored list: the list is empty and the server stays as it was.
TEST_F(OptionsPages, WithoutAStoredListTheServerStays)
{
    strcpy(options.cddbServer, "mine.example.org");
    options.cddbServerPort = 1234;
    Lines lines{"x"};
    EXPECT_EQ(onPage(QueryPage, [&](HWND page) { lines = serverLines(page); }), 1);
    EXPECT_TRUE(lines.empty());
    EXPECT_STREQ(options.cddbServer, "mine.example.org");
    EXPECT_EQ(options.cddbServerPort, 1234);
}

// ---- CDDB Query: the proxy ----

struct ProxyCase {
    const char *name;
    int32_t useProxy;   // the option when the sheet opens
    int clicks;         // clicks on the proxy box
    bool serversEnabled, hostEnabled, portEnabled;
};

class OptionsProxyRule : public OptionsSheetTest, public ::testing::WithParamInterface<ProxyCase> {};

TEST_P(OptionsProxyRule, TheServerListAndTheProxyFieldsTakeTurns)
{
    const ProxyCase &c = GetParam();
    storeServers(threeServers);
    options.cddbUseProxy = c.useProxy;
    bool servers = false, host = false, port = false;
    onPage(QueryPage, [&](HWND page) {
        for (int i = 0; i < c.clicks; ++i)
            click(page, IDC_OPT_USE_PROXY);
        servers = enabled(page, IDC_OPT_SERVERS);
        host = enabled(page, IDC_OPT_PROXY_HOST);
        port = enabled(page, IDC_OPT_PROXY_PORT);
    });
    EXPECT_EQ(servers, c.serversEnabled);
    EXPECT_EQ(host, c.hostEnabled);
    EXPECT_EQ(port, c.portEnabled);
    EXPECT_EQ(options.cddbUseProxy, (c.useProxy + c.clicks) % 2);
}

INSTANTIATE_TEST_SUITE_P(Cases, OptionsProxyRule,
                         ::testing::Values(ProxyCase{"OffAtOpen", 0, 0, true, false, false},
                                           ProxyCase{"OnAtOpen", 1, 0, false, true, true},
                                           ProxyCase{"TurnedOn", 0, 1, false, true, true},
                                           ProxyCase{"TurnedOff", 1, 1, true, false, false},
                                           ProxyCase{"TurnedOnAndOffAgain", 0, 2, true, false, false}),
                         [](const ::testing::TestParamInfo<ProxyCase> &info) { return info.param.name; });

// With the proxy on, the list is out of use but keeps its choice, and the
// chosen server is still stored.
TEST_F(OptionsPages, ProxyOnKeepsTheServerSelection)
{
    storeServers(threeServers);
    strcpy(options.cddbServer, "one.example.org");
    int shown = -1;
    onPage(QueryPage, [&](HWND page) {
        chooseServer(page, 1);
        click(page, IDC_OPT_USE_PROXY);
        type(page, IDC_OPT_PROXY_HOST, "proxy.example.org");
        type(page, IDC_OPT_PROXY_PORT, "3128");
        shown = serverSelection(page);
    });
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(options.cddbUseProxy, 1);
    EXPECT_STREQ(options.cddbServer, "two.example.org");
    EXPECT_EQ(options.cddbServerPort, 8880);
    EXPECT_STREQ(options.cddbProxy, "proxy.example.org");
    EXPECT_EQ(options.cddbProxyPort, 3128);
}

TEST_F(OptionsPages, QueryFieldsAndBoxesAreStored)
{
    const std::string root(260, 'r');
    onPage(QueryPage, [&](HWND page) {
        click(page, IDC_OPT_QUERY_LOCAL);
        click(page, IDC_OPT_QUERY_SERVER);
        click(page, IDC_OPT_QUERY_STATUS);
        type(page, IDC_OPT_LOCAL_ROOT, (root + "cut").c_str());
    });
    EXPECT_EQ(options.cddbQueryLocal, 1);
    EXPECT_EQ(options.cddbQueryServer, 0);
    EXPECT_EQ(options.cddbQueryShowStatus, 0);
    EXPECT_EQ(std::string(options.cddbLocalRoot), root) << "cut at 260 characters";
}

// ---- the port fields ----

struct PortCase {
    const char *typed;
    bool taken;
    int32_t port;   // the stored port when taken
};

// The C library's conversion: leading blanks and one sign, up to the first
// other character. Only 1..65535 is a port: anything else keeps the page
// open with a message, and the option stays as it was.
const PortCase portCases[] = {
    {"8080", true, 8080}, {"  25", true, 25},  {"+587", true, 587}, {"80x", true, 80},
    {"1", true, 1},       {"65535", true, 65535}, {"65536", false, 0}, {"0", false, 0},
    {"", false, 0},       {"abc", false, 0},   {"-25", false, 0},  {"99999", false, 0},
};

struct PortField {
    const char *name;
    int page, id;
    int32_t OptionsRecord::*field;
};

class OptionsPorts : public OptionsSheetTest, public ::testing::WithParamInterface<PortField> {};

TEST_P(OptionsPorts, ArePortNumbersOrKeepThePageOpen)
{
    const PortField &f = GetParam();
    for (const PortCase &c : portCases) {
        options = defaultOptions;
        options.cddbUseProxy = 1;
        options.*f.field = 4321;
        harness::MessageBoxRecorder boxes;
        bool stillOpen = false;
        int accepted = run([&](HWND sheet) {
            HWND page = harness::showSheetPage(sheet, f.page);
            type(page, f.id, c.typed);
            harness::pressSheetOk(sheet);
            stillOpen = harness::sheetPage(sheet) == page;
            if (stillOpen)
                harness::pressSheetCancel(sheet);
        });
        EXPECT_EQ(accepted, c.taken ? 1 : 0) << "\"" << c.typed << "\"";
        EXPECT_EQ(options.*f.field, c.taken ? c.port : 4321) << "\"" << c.typed << "\"";
        EXPECT_EQ(stillOpen, !c.taken) << "\"" << c.typed << "\"";
        std::vector<harness::Box> shown = boxes.boxes();
        ASSERT_EQ(shown.size(), c.taken ? 0u : 1u) << "\"" << c.typed << "\"";
        if (!c.taken) {
            EXPECT_EQ(shown[0].text, "The port number must be a number from 1 to 65535.");
            EXPECT_EQ(shown[0].caption, "Spindle2 Error");
            EXPECT_EQ(shown[0].flags, (UINT)(MB_OK | MB_ICONERROR | MB_SYSTEMMODAL));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, OptionsPorts,
    ::testing::Values(PortField{"ProxyPort", QueryPage, IDC_OPT_PROXY_PORT, &OptionsRecord::cddbProxyPort},
                      PortField{"SmtpPort", SubmitPage, IDC_OPT_SMTP_PORT, &OptionsRecord::SMTPServerPort}),
    [](const ::testing::TestParamInfo<PortField> &info) { return info.param.name; });

// Nor can a page change leave a port that is no port behind.
TEST_F(OptionsPages, ABadPortKeepsThePageOnShowWhenAnotherIsChosen)
{
    harness::MessageBoxRecorder boxes;
    HWND shownAfter = nullptr, submit = nullptr;
    run([&](HWND sheet) {
        submit = harness::showSheetPage(sheet, SubmitPage);
        type(submit, IDC_OPT_SMTP_PORT, "0");
        shownAfter = harness::showSheetPage(sheet, PanelPage);
        harness::pressSheetCancel(sheet);
    });
    EXPECT_EQ(shownAfter, submit);
    EXPECT_EQ(boxes.count(), 1u);
}

// With the proxy off its port is out of use: a stored port that is no port
// stays, without a message.
TEST_F(OptionsPages, WithTheProxyOffABadProxyPortIsLeftAsItWas)
{
    options.cddbUseProxy = 0;
    options.cddbProxyPort = 0;
    EXPECT_EQ(onPage(QueryPage, [](HWND) {}), 1);
    EXPECT_EQ(options.cddbProxyPort, 0);
}

TEST_F(OptionsPages, SubmitFieldsAreStoredAndCutAtEightyCharacters)
{
    const std::string server(80, 's');
    onPage(SubmitPage, [&](HWND page) {
        type(page, IDC_OPT_SMTP_SERVER, (server + "more").c_str());
        type(page, IDC_OPT_RETURN_ADDRESS, "me@example.org");
        click(page, IDC_OPT_SUBMIT_STATUS);
    });
    EXPECT_EQ(std::string(options.SMTPServer), server);
    EXPECT_STREQ(options.ReturnAddress, "me@example.org");
    EXPECT_EQ(options.cddbSubmitShowStatus, 0);
}

} // namespace
