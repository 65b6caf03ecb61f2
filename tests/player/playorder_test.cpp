// The play order: advancePlay for each reason, the end of a disc, programs,
// repeat, random play, introduction windows, and discs or programs that
// give nothing to play. Every call to the CD library is checked in order.
#include "playerfixture.h"

#include <set>

namespace {

using namespace playertest;

class PlayOrder : public PlayerTest {};

// ---- disc order straight through ----

struct EndOfSetCase {
    int repeatAll;
    int ejectAtEnd;
    Calls lastCalls;   // when the last track of the last drive ends
    int state;
    int track;
};

void PrintTo(const EndOfSetCase &c, std::ostream *os)
{
    *os << "repeatAll " << c.repeatAll << " ejectAtEnd " << c.ejectAtEnd;
}

class PlayThrough : public PlayerTest, public ::testing::WithParamInterface<EndOfSetCase> {};

TEST_P(PlayThrough, TwelveTracksThenNextDriveThenEnd)
{
    const EndOfSetCase &c = GetParam();
    options.RepeatAll = c.repeatAll;
    options.EjectAtEnd = c.ejectAtEnd;
    load({{"D:", tracks(12)}, {"E:", tracks(3)}});

    advancePlay(AdvanceStart);
    EXPECT_EQ(fake::calls(), (Calls{"cd_play(1,1,0,0,0,0)"}));
    EXPECT_EQ(playState, PlayStatePlaying);
    EXPECT_EQ(currentTrack, 1);

    // The drive plays on by itself; the monitor follows the track number.
    for (int t = 2; t <= 12; ++t) {
        markCurrentPlayed();
        currentTrack = t;
    }
    EXPECT_EQ(playedTracks(1), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));

    fake::clearCalls();
    advancePlay(AdvanceTrackEnded);
    EXPECT_EQ(fake::calls(), (Calls{"cd_stop(1)", "cd_play(2,1,0,0,0,0)"}));
    EXPECT_EQ(currentDrive, 2);
    EXPECT_EQ(currentTrack, 1);
    EXPECT_EQ(playedTracks(1).size(), 12u);

    markCurrentPlayed();
    currentTrack = 2;
    markCurrentPlayed();
    currentTrack = 3;
    fake::clearCalls();
    advancePlay(AdvanceTrackEnded);
    EXPECT_EQ(fake::calls(), c.lastCalls);
    EXPECT_EQ(currentDrive, 1);
    EXPECT_EQ(currentTrack, c.track);
    EXPECT_EQ(playState, c.state);
    EXPECT_TRUE(playedTracks(2).empty()) << "a wrap to the first drive clears every drive's flags";
}

INSTANTIATE_TEST_SUITE_P(
    EndOfSet, PlayThrough,
    ::testing::Values(EndOfSetCase{0, 0, {"cd_stop(2)"}, PlayStateStopped, 4},
                      EndOfSetCase{0, 1, {"cd_stop(2)", "cd_eject(1)"}, PlayStateStopped, 4},
                      EndOfSetCase{1, 0, {"cd_stop(2)", "cd_play(1,1,0,0,0,0)"}, PlayStatePlaying, 1},
                      EndOfSetCase{1, 1, {"cd_stop(2)", "cd_play(1,1,0,0,0,0)"}, PlayStatePlaying, 1}));

// ---- data tracks ----

struct MixedCase {
    int reason;
    bool secondDrive;
    Calls calls;
    int drive;
};

void PrintTo(const MixedCase &c, std::ostream *os)
{
    *os << "reason " << c.reason << (c.secondDrive ? " with a second drive" : " alone");
}

class MixedDisc : public PlayerTest, public ::testing::WithParamInterface<MixedCase> {};

TEST_P(MixedDisc, LastAudioTrackEndsTheDisc)
{
    const MixedCase &c = GetParam();
    if (c.secondDrive)
        load({{"D:", discWithData({200, 200, 200, 200, 200, 300}, {6})}, {"E:", tracks(2)}});
    else
        load({{"D:", discWithData({200, 200, 200, 200, 200, 300}, {6})}});
    currentTrack = 5;
    playState = PlayStatePlaying;

    advancePlay(c.reason);
    EXPECT_EQ(fake::calls(), c.calls);
    EXPECT_EQ(currentDrive, c.drive);
    EXPECT_TRUE(fake::callsTo("cd_play(1,6").empty()) << "the data track is never played";
}

INSTANTIATE_TEST_SUITE_P(Reasons, MixedDisc,
                         ::testing::Values(MixedCase{AdvanceNext, true, {"cd_stop(1)", "cd_play(2,1,0,0,0,0)"}, 2},
                                           MixedCase{AdvanceTrackEnded, true, {"cd_stop(1)", "cd_play(2,1,0,0,0,0)"}, 2},
                                           MixedCase{AdvanceNext, false, {"cd_stop(1)"}, 1},
                                           MixedCase{AdvanceTrackEnded, false, {"cd_stop(1)"}, 1}));

TEST_F(PlayOrder, DataTracksAreSteppedOverBothWays)
{
    load({{"D:", discWithData({100, 100, 100, 100, 100}, {1, 3, 5})}});
    ASSERT_EQ(firstTrack(), 1);
    EXPECT_EQ(currentTrack, 2);
    EXPECT_EQ(nextTrack(1), 1);
    EXPECT_EQ(currentTrack, 4);
    EXPECT_EQ(nextTrack(1), 0);
    EXPECT_EQ(currentTrack, 6) << "one past the end of the disc";
    EXPECT_EQ(previousTrack(), 1);
    EXPECT_EQ(currentTrack, 4);
    EXPECT_EQ(previousTrack(), 1);
    EXPECT_EQ(currentTrack, 2);
    EXPECT_EQ(previousTrack(), 0);
    EXPECT_EQ(currentTrack, 0);
    ASSERT_EQ(lastTrack(), 1);
    EXPECT_EQ(currentTrack, 4);
    EXPECT_TRUE(fake::calls().empty()) << fake::callLog();
}

TEST_F(PlayOrder, DiscWithoutAudioHasNothingToPlay)
{
    options.RepeatAll = 1;
    load({{"D:", discWithData({100, 100}, {1, 2})}});

    advancePlay(AdvanceStart);
    EXPECT_EQ(fake::calls(), (Calls{"cd_stop(1)"}));
    EXPECT_EQ(playState, PlayStateStopped);

    for (int reason : {AdvanceNext, AdvanceTrackEnded, AdvancePrevious, AdvanceRestart}) {
        fake::clearCalls();
        advancePlay(reason);
        EXPECT_TRUE(fake::callsTo("cd_play").empty()) << "reason " << reason << ": " << fake::callLog();
        EXPECT_EQ(currentDrive, 1);
    }
    EXPECT_EQ(firstTrack(), 0);
    EXPECT_EQ(lastTrack(), 0);
    EXPECT_EQ(pickRandomTrack(), 0);
}

TEST_F(PlayOrder, RandomPlayOfDiscWithoutAudioStops)
{
    randomMode = 1;
    options.ShuffleAllDrives = 0;
    load({{"D:", discWithData({100, 100}, {1, 2})}});
    advancePlay(AdvanceStart);
    EXPECT_EQ(fake::calls(), (Calls{"cd_stop(1)"}));
}

TEST_F(PlayOrder, RepeatAllSkipsDiscWithoutAudioWhenWrapping)
{
    options.RepeatAll = 1;
    load({{"D:", discWithData({100, 100}, {1, 2})}, {"E:", tracks(2)}});
    currentDrive = 2;
    currentTrack = 2;
    playState = PlayStatePlaying;
    advancePlay(AdvanceTrackEnded);
    EXPECT_EQ(fake::calls(), (Calls{"cd_stop(2)", "cd_play(2,1,0,0,0,0)"}));
    EXPECT_EQ(currentDrive, 2);
}

TEST_F(PlayOrder, NextDriveWithoutAudioIsPassedBy)
{
    setMachine({{"D:\\", DRIVE_CDROM}, {"E:\\", DRIVE_CDROM}, {"F:\\", DRIVE_CDROM}});
    load({{"D:", tracks(2)}, {"E:", discWithData({100}, {1})}, {"F:", tracks(4)}});
    currentTrack = 2;
    advancePlay(AdvanceNext);
    EXPECT_EQ(fake::calls(), (Calls{"cd_stop(1)", "cd_play(3,1,0,0,0,0)"}));
    EXPECT_EQ(currentDrive, 3);
}

TEST_F(PlayOrder, PreviousOntoDriveWithoutAudioStopsAtFirstDrive)
{
    load({{"D:", discWithData({100}, {1})}, {"E:", tracks(3)}});
    currentDrive = 2;
    currentTrack = 1;
    advancePlay(AdvancePrevious);
    EXPECT_EQ(fake::calls(), (Calls{"cd_stop(2)"}));
    EXPECT_EQ(currentDrive, 1);
}

// ---- programs ----

struct Step {
    int reason;
    Calls calls;
    int drive, track, position;
};

void runSteps(const std::vector<Step> &steps)
{
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step &s = steps[i];
        fake::clearCalls();
        advancePlay(s.reason);
        EXPECT_EQ(fake::calls(), s.calls) << "step " << i + 1;
        EXPECT_EQ(currentDrive, s.drive) << "step " << i + 1;
        EXPECT_EQ(currentTrack, s.track) << "step " << i + 1;
        EXPECT_EQ(programPosition, s.position) << "step " << i + 1;
    }
}

TEST_F(PlayOrder, ProgramThreeThreeOneForwards)
{
    load({{"D:", tracks(5)}, {"E:", tracks(4)}});
    setProgram(1, {3, 3, 1});
    runSteps({
        {AdvanceStart, {"cd_play(1,3,0,0,0,1)"}, 1, 3, 1},
        {AdvanceTrackEnded, {"cd_play(1,3,0,0,0,1)"}, 1, 3, 2},
        {AdvanceTrackEnded, {"cd_play(1,1,0,0,0,1)"}, 1, 1, 3},
        {AdvanceTrackEnded, {"cd_stop(1)", "cd_play(2,1,0,0,0,0)"}, 2, 1, 0},
    });
}

TEST_F(PlayOrder, ProgramThreeThreeOneBackwardsOnFirstDrive)
{
    load({{"D:", tracks(5)}, {"E:", tracks(4)}});
    setProgram(1, {3, 3, 1});
    runSteps({
        {AdvanceStart, {"cd_play(1,3,0,0,0,1)"}, 1, 3, 1},
        {AdvanceNext, {"cd_play(1,3,0,0,0,1)"}, 1, 3, 2},
        {AdvanceNext, {"cd_play(1,1,0,0,0,1)"}, 1, 1, 3},
        {AdvancePrevious, {"cd_play(1,3,0,0,0,1)"}, 1, 3, 2},
        {AdvancePrevious, {"cd_play(1,3,0,0,0,1)"}, 1, 3, 1},
        // Before the first entry there is no earlier drive: stop, and the
        // first drive with a disc is current again.
        {AdvancePrevious, {"cd_stop(1)"}, 1, 3, 0},
    });
    EXPECT_TRUE(playedTracks(1).empty());
    EXPECT_EQ(playState, PlayStateStopped);
}

TEST_F(PlayOrder, ProgramBackwardsIntoPreviousDrive)
{
    load({{"D:", tracks(5)}, {"E:", tracks(4)}});
    setProgram(2, {3, 3, 1});
    currentDrive = 2;
    runSteps({
        {AdvanceStart, {"cd_play(2,3,0,0,0,1)"}, 2, 3, 1},
        {AdvancePrevious, {"cd_stop(2)", "cd_play(1,5,0,0,0,0)"}, 1, 5, 0},
    });
}

TEST_F(PlayOrder, PreviousAfterADirectChoiceGoesToTheProgramsLastEntry)
{
    load({{"D:", tracks(5)}});
    setProgram(1, {3, 3, 1});
    // A track picked from the menu leaves the program position at 0.
    programPosition = 0;
    currentTrack = 4;
    runSteps({{AdvancePrevious, {"cd_play(1,1,0,0,0,1)"}, 1, 1, 3}});
}

TEST_F(PlayOrder, ProgramEndOnLastDriveWithRepeatAllStartsProgramAgain)
{
    options.RepeatAll = 1;
    load({{"D:", tracks(5)}});
    setProgram(1, {2, 4});
    runSteps({
        {AdvanceStart, {"cd_play(1,2,0,0,0,1)"}, 1, 2, 1},
        {AdvanceTrackEnded, {"cd_play(1,4,0,0,0,1)"}, 1, 4, 2},
        {AdvanceTrackEnded, {"cd_stop(1)", "cd_play(1,2,0,0,0,1)"}, 1, 2, 1},
    });
}

TEST_F(PlayOrder, ProgramEntriesOutsideTheDiscAreNeverPlayed)
{
    load({{"D:", tracks(5)}});
    setProgram(1, {0, 7, 2, -1, 99, 4});
    runSteps({
        {AdvanceStart, {"cd_play(1,2,0,0,0,1)"}, 1, 2, 3},
        {AdvanceTrackEnded, {"cd_play(1,4,0,0,0,1)"}, 1, 4, 6},
        {AdvancePrevious, {"cd_play(1,2,0,0,0,1)"}, 1, 2, 3},
        {AdvancePrevious, {"cd_stop(1)"}, 1, 2, 0},
    });
    EXPECT_EQ(lastTrack(), 1);
    EXPECT_EQ(currentTrack, 4);
    EXPECT_EQ(programPosition, 6);
}

TEST_F(PlayOrder, ProgramOfOnlyBadEntriesHasNothingToPlay)
{
    load({{"D:", tracks(5)}});
    setProgram(1, {0, 6, 1000});
    advancePlay(AdvanceStart);
    EXPECT_EQ(fake::calls(), (Calls{"cd_stop(1)"}));
    randomMode = 1;
    EXPECT_EQ(pickRandomTrack(), 0);
}

// ---- repeat current ----

TEST_F(PlayOrder, RepeatCurrentReplaysButNextTrackMovesOn)
{
    repeatTrackMode = 1;
    load({{"D:", tracks(3)}});
    runSteps({
        {AdvanceStart, {"cd_play(1,1,0,0,0,1)"}, 1, 1, 0},
        {AdvanceTrackEnded, {"cd_play(1,1,0,0,0,1)"}, 1, 1, 0},
        {AdvanceNext, {"cd_play(1,2,0,0,0,1)"}, 1, 2, 0},
        {AdvanceTrackEnded, {"cd_play(1,2,0,0,0,1)"}, 1, 2, 0},
        {AdvanceNext, {"cd_play(1,3,0,0,0,1)"}, 1, 3, 0},
        {AdvanceTrackEnded, {"cd_play(1,3,0,0,0,1)"}, 1, 3, 0},
        {AdvanceNext, {"cd_stop(1)"}, 1, 4, 0},
    });
}

TEST_F(PlayOrder, RepeatCurrentInAProgramKeepsThePosition)
{
    repeatTrackMode = 1;
    load({{"D:", tracks(5)}});
    setProgram(1, {5, 2});
    runSteps({
        {AdvanceStart, {"cd_play(1,5,0,0,0,1)"}, 1, 5, 1},
        {AdvanceTrackEnded, {"cd_play(1,5,0,0,0,1)"}, 1, 5, 1},
        {AdvanceNext, {"cd_play(1,2,0,0,0,1)"}, 1, 2, 2},
    });
}

// ---- restart, previous, and nothing current ----

TEST_F(PlayOrder, RestartPlaysTheTrackAgainAndMarksIt)
{
    load({{"D:", tracks(6)}});
    currentTrack = 4;
    advancePlay(AdvanceRestart);
    EXPECT_EQ(fake::calls(), (Calls{"cd_play(1,4,0,0,0,0)"}));
    EXPECT_EQ(playedTracks(1), (std::vector<int>{4}));
}

TEST_F(PlayOrder, RestartWithoutATrackDoesNothing)
{
    load({{"D:", tracks(6)}});
    currentTrack = 0;
    advancePlay(AdvanceRestart);
    EXPECT_TRUE(fake::calls().empty()) << fake::callLog();
}

TEST_F(PlayOrder, PreviousFromFirstTrackOfOnlyDriveStops)
{
    load({{"D:", tracks(6)}});
    advancePlay(AdvanceStart);
    fake::clearCalls();
    advancePlay(AdvancePrevious);
    EXPECT_EQ(fake::calls(), (Calls{"cd_stop(1)"}));
    EXPECT_EQ(currentDrive, 1);
    EXPECT_EQ(playState, PlayStateStopped);
    EXPECT_TRUE(playedTracks(1).empty());
}

TEST_F(PlayOrder, PreviousWithinDiscAndOntoPreviousDrive)
{
    load({{"D:", discWithData({100, 100, 100}, {3})}, {"E:", tracks(4)}});
    currentDrive = 2;
    runSteps({
        {AdvanceStart, {"cd_play(2,1,0,0,0,0)"}, 2, 1, 0},
        {AdvancePrevious, {"cd_stop(2)", "cd_play(1,2,0,0,0,0)"}, 1, 2, 0},
        {AdvancePrevious, {"cd_play(1,1,0,0,0,0)"}, 1, 1, 0},
    });
}

TEST_F(PlayOrder, NothingMovesWithoutACurrentDrive)
{
    load({});
    for (int reason : {AdvanceStart, AdvanceRestart, AdvanceTrackEnded, AdvanceNext, AdvancePrevious}) {
        advancePlay(reason);
        EXPECT_TRUE(fake::calls().empty()) << "reason " << reason << ": " << fake::callLog();
        EXPECT_EQ(currentDrive, 0);
    }
}

TEST_F(PlayOrder, NextTrackFollowsDiscOrderInRandomMode)
{
    randomMode = 1;
    load({{"D:", tracks(6)}});
    currentTrack = 2;
    advancePlay(AdvanceNext);
    EXPECT_EQ(fake::calls(), (Calls{"cd_play(1,3,0,0,0,1)"}));
}

// ---- marking and playTrack's guards ----

TEST_F(PlayOrder, MarkingStaysInsideTheDisc)
{
    load({{"D:", tracks(12)}});
    for (int track : {-1, 0, 13, 1000}) {
        currentTrack = track;
        markCurrentPlayed();
        EXPECT_TRUE(playedTracks(1).empty()) << "track " << track;
    }
    currentTrack = 12;
    markCurrentPlayed();
    EXPECT_EQ(playedTracks(1), (std::vector<int>{12}));
}

TEST_F(PlayOrder, PlayTrackRefusesTracksTheDiscCannotPlay)
{
    load({{"D:", discWithData({100, 100}, {2})}});
    playState = PlayStateStopped;
    for (int track : {-1, 0, 2, 3, 99})
        EXPECT_EQ(playTrack(track), PlayStateStopped) << "track " << track;
    EXPECT_TRUE(fake::calls().empty()) << fake::callLog();
    EXPECT_EQ(playTrack(1), PlayStatePlaying);
    EXPECT_EQ(fake::calls(), (Calls{"cd_play(1,1,0,0,0,0)"}));
}

TEST_F(PlayOrder, PlayReturnsWhatTheDriveReports)
{
    load({{"D:", tracks(3)}});
    fake::queueResults("cd_play", {0});
    advancePlay(AdvanceStart);
    EXPECT_EQ(playState, 0);
}

// ---- single-track play ----

struct SingleCase {
    int random, intro, repeat;
    bool program;
    int expected;
};

void PrintTo(const SingleCase &c, std::ostream *os)
{
    *os << "random " << c.random << " intro " << c.intro << " repeat " << c.repeat << " program " << c.program;
}

class SingleTrack : public PlayerTest, public ::testing::WithParamInterface<SingleCase> {};

TEST_P(SingleTrack, FollowsModesAndProgram)
{
    const SingleCase &c = GetParam();
    load({{"D:", tracks(4)}});
    if (c.program)
        setProgram(1, {2});
    randomMode = c.random;
    introMode = c.intro;
    repeatTrackMode = c.repeat;
    EXPECT_EQ(singleTrackPlay(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Modes, SingleTrack,
                         ::testing::Values(SingleCase{0, 0, 0, false, 0}, SingleCase{1, 0, 0, false, 1},
                                           SingleCase{0, 1, 0, false, 1}, SingleCase{0, 0, 1, false, 1},
                                           SingleCase{0, 0, 0, true, 1}, SingleCase{1, 1, 1, true, 1}));

// ---- introduction play ----

struct IntroCase {
    int start, length;     // IntroPlayStart, IntroPlayLength
    int trackSeconds;
    const char *play;      // the cd_play call
    int windowEnd;
};

void PrintTo(const IntroCase &c, std::ostream *os)
{
    *os << "start " << c.start << " length " << c.length << " track " << c.trackSeconds << "s";
}

class IntroWindow : public PlayerTest, public ::testing::WithParamInterface<IntroCase> {};

TEST_P(IntroWindow, StartsAtTheWindow)
{
    const IntroCase &c = GetParam();
    introMode = 1;
    options.IntroPlayStart = c.start;
    options.IntroPlayLength = c.length;
    load({{"D:", fake::audioDisc({c.trackSeconds})}});

    advancePlay(AdvanceStart);
    EXPECT_EQ(fake::calls(), (Calls{"cd_get_track_time(1,1)", c.play}));
    EXPECT_EQ(introWindowEnd(c.trackSeconds), c.windowEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, IntroWindow,
    ::testing::Values(IntroCase{0, 10, 7, "cd_play(1,1,0,0,0,1)", 10},       // start 7 - 10 = -3, taken as 0
                      IntroCase{-1, 10, 300, "cd_play(1,1,2,25,0,1)", 155},  // 150 - 5 = 145 = 2:25
                      IntroCase{0, 10, 300, "cd_play(1,1,0,0,0,1)", 10},
                      IntroCase{20, 15, 300, "cd_play(1,1,0,20,0,1)", 35},
                      IntroCase{295, 10, 300, "cd_play(1,1,4,50,0,1)", 305},  // past the end: 300 - 10
                      IntroCase{-1, 10, 5, "cd_play(1,1,0,0,0,1)", 7},        // 5 + 2 > 5: 5 - 10, taken as 0
                      IntroCase{-1, 11, 301, "cd_play(1,1,2,25,0,1)", 155}));  // 150 - 5 = 145

TEST_F(PlayOrder, IntroWithUnreadableLengthStartsAtZero)
{
    introMode = 1;
    options.IntroPlayStart = 30;
    load({{"D:", tracks(2)}});
    fake::queueResults("cd_get_track_time", {0});
    advancePlay(AdvanceStart);
    EXPECT_EQ(fake::calls(), (Calls{"cd_get_track_time(1,1)", "cd_play(1,1,0,0,0,1)"}));
}

// ---- random play ----

// The generator and the pick, derived afresh from their definition: state
// times 214013 plus 2531011 modulo 2^32, bits 16 to 30; k-th of n with
// k = floor(r (n - 1) / 32767 + 1/2) + 1, in whole numbers.
struct ModelRandom {
    uint32_t state;
    int draw()
    {
        state = state * 214013u + 2531011u;
        return (int)((state >> 16) & 0x7FFF);
    }
    int pick(int n) { return (int)((2LL * draw() * (n - 1) + 32767) / 65534) + 1; }
};

// The k-th unplayed entry of a list of flags (1-based).
int kthUnplayed(const std::vector<bool> &played, int k)
{
    for (size_t i = 0; i < played.size(); ++i)
        if (!played[i] && --k == 0)
            return (int)i + 1;
    return 0;
}

int unplayed(const std::vector<bool> &played)
{
    int n = 0;
    for (bool p : played)
        n += p ? 0 : 1;
    return n;
}

class RandomOneDrive : public PlayerTest, public ::testing::WithParamInterface<int> {};

TEST_P(RandomOneDrive, EachTrackOnceThenStop)
{
    randomMode = 1;
    options.ShuffleAllDrives = 0;
    options.RepeatAll = GetParam();
    options.EjectAtEnd = 1;
    load({{"D:", tracks(5)}});
    seedPlayRandom(1);

    advancePlay(AdvanceStart);
    for (int i = 0; i < 5; ++i)
        advancePlay(AdvanceTrackEnded);

    // Seed 1 draws 41, 18467, 6334, 26500, 19169:
    //   41 of 5:    41*4/32767    = 0.005 -> k 1 of {1,2,3,4,5}: 1
    //   18467 of 4: 18467*3/32767 = 1.69  -> k 3 of {2,3,4,5}:   4
    //   6334 of 3:  6334*2/32767  = 0.39  -> k 1 of {2,3,5}:     2
    //   26500 of 2: 26500/32767   = 0.81  -> k 2 of {3,5}:       5
    //   19169 of 1:                        -> k 1 of {3}:         3
    EXPECT_EQ(fake::calls(), (Calls{"cd_play(1,1,0,0,0,1)", "cd_play(1,4,0,0,0,1)", "cd_play(1,2,0,0,0,1)",
                                    "cd_play(1,5,0,0,0,1)", "cd_play(1,3,0,0,0,1)", "cd_stop(1)"}));
    EXPECT_EQ(playState, PlayStateStopped);
    EXPECT_EQ(currentDrive, 1);
}

INSTANTIATE_TEST_SUITE_P(RepeatAll, RandomOneDrive, ::testing::Values(0, 1));

TEST_F(PlayOrder, RandomOrderOfTwelveTracksFollowsTheGenerator)
{
    randomMode = 1;
    options.ShuffleAllDrives = 0;
    load({{"D:", tracks(12)}});
    seedPlayRandom(12345);
    ModelRandom model{12345};

    Calls expected;
    std::vector<bool> played(12, false);
    for (int i = 0; i < 12; ++i) {
        int track = kthUnplayed(played, model.pick(unplayed(played)));
        played[track - 1] = true;
        expected.push_back("cd_play(1," + std::to_string(track) + ",0,0,0,1)");
    }
    expected.push_back("cd_stop(1)");

    advancePlay(AdvanceStart);
    for (int i = 0; i < 12; ++i)
        advancePlay(AdvanceTrackEnded);
    EXPECT_EQ(fake::calls(), expected);
    EXPECT_EQ(playedTracks(1).size(), 12u);
}

TEST_F(PlayOrder, RandomOrderOfAProgramCountsEntries)
{
    randomMode = 1;
    options.ShuffleAllDrives = 0;
    load({{"D:", tracks(5)}});
    setProgram(1, {4, 2, 4, 9});
    seedPlayRandom(1);
    // Entries 4, 2, 4 are unplayed (9 is not on the disc): 41 of 3 picks the
    // first, position 1, track 4. Then only position 2 is left (track 4 was
    // played, both its entries with it): 18467 of 1 picks it.
    advancePlay(AdvanceStart);
    EXPECT_EQ(programPosition, 1);
    advancePlay(AdvanceTrackEnded);
    EXPECT_EQ(programPosition, 2);
    advancePlay(AdvanceTrackEnded);
    EXPECT_EQ(fake::calls(), (Calls{"cd_play(1,4,0,0,0,1)", "cd_play(1,2,0,0,0,1)", "cd_stop(1)"}));
}

TEST_F(PlayOrder, RandomPlayNeverPicksADataTrack)
{
    randomMode = 1;
    options.ShuffleAllDrives = 0;
    load({{"D:", discWithData({100, 100, 100, 100}, {2, 4})}});
    advancePlay(AdvanceStart);
    advancePlay(AdvanceTrackEnded);
    advancePlay(AdvanceTrackEnded);
    EXPECT_EQ(fake::callsTo("cd_play").size(), 2u) << fake::callLog();
    EXPECT_TRUE(fake::callsTo("cd_play(1,2,").empty());
    EXPECT_TRUE(fake::callsTo("cd_play(1,4,").empty());
    EXPECT_EQ(fake::calls().back(), "cd_stop(1)");
}

// Random play across the drives, modelled step by step: each track end
// stops the drive, picks a drive with something left and a track on it.
struct AllDrivesModel {
    ModelRandom random;
    std::vector<std::vector<bool>> played;   // per drive
    int drive = 0, track = 0;

    bool pickDrive()
    {
        int n = 0;
        for (auto &p : played)
            n += unplayed(p) > 0;
        if (n == 0)
            return false;
        int k = random.pick(n);
        for (size_t d = 0; d < played.size(); ++d)
            if (unplayed(played[d]) > 0 && --k == 0)
                drive = (int)d + 1;
        return true;
    }
    void pickTrack()
    {
        auto &p = played[drive - 1];
        track = kthUnplayed(p, random.pick(unplayed(p)));
    }
    void clear()
    {
        for (auto &p : played)
            p.assign(p.size(), false);
    }
    std::string playCall() const
    {
        return "cd_play(" + std::to_string(drive) + "," + std::to_string(track) + ",0,0,0,1)";
    }
};

TEST_F(PlayOrder, RandomAcrossTwoDrivesWithRepeatAllStartsANewPass)
{
    randomMode = 1;
    options.ShuffleAllDrives = 1;
    options.RepeatAll = 1;
    load({{"D:", tracks(3)}, {"E:", tracks(2)}});
    seedPlayRandom(7);
    AllDrivesModel model{{7}, {std::vector<bool>(3), std::vector<bool>(2)}};

    ASSERT_TRUE(model.pickDrive());
    model.pickTrack();
    advancePlay(AdvanceStart);
    EXPECT_EQ(fake::calls(), (Calls{model.playCall()}));

    std::set<std::pair<int, int>> firstPass{{currentDrive, currentTrack}};
    for (int step = 2; step <= 8; ++step) {
        fake::clearCalls();
        model.played[model.drive - 1][model.track - 1] = true;
        Calls expected{"cd_stop(" + std::to_string(model.drive) + ")"};
        if (!model.pickDrive()) {
            model.clear();
            ASSERT_TRUE(model.pickDrive());
        }
        model.pickTrack();
        expected.push_back(model.playCall());

        advancePlay(AdvanceTrackEnded);
        EXPECT_EQ(fake::calls(), expected) << "step " << step;
        EXPECT_EQ(currentDrive, model.drive);
        EXPECT_EQ(currentTrack, model.track);
        if (step <= 5)
            firstPass.insert({currentDrive, currentTrack});
        if (step == 6) {
            EXPECT_EQ(playedTracks(1).size() + playedTracks(2).size(), 0u) << "a new pass starts with no track played";
        }
    }
    EXPECT_EQ(firstPass.size(), 5u) << "every track of both discs once in the first pass";
}

TEST_F(PlayOrder, RandomAcrossTwoDrivesWithoutRepeatAllStopsAtFirstDrive)
{
    randomMode = 1;
    options.ShuffleAllDrives = 1;
    options.EjectAtEnd = 1;
    load({{"D:", tracks(2)}, {"E:", tracks(2)}});
    advancePlay(AdvanceStart);
    for (int i = 0; i < 3; ++i)
        advancePlay(AdvanceTrackEnded);
    EXPECT_EQ(fake::callsTo("cd_play").size(), 4u);
    int last = currentDrive;
    fake::clearCalls();
    advancePlay(AdvanceTrackEnded);
    EXPECT_EQ(fake::calls(), (Calls{"cd_stop(" + std::to_string(last) + ")", "cd_eject(1)"}));
    EXPECT_EQ(currentDrive, 1);
    EXPECT_TRUE(playedTracks(1).empty());
    EXPECT_TRUE(playedTracks(2).empty());
}

TEST_F(PlayOrder, RandomStartWithNothingPlayableAnywhereEjectsFirstDrive)
{
    randomMode = 1;
    options.ShuffleAllDrives = 1;
    options.EjectAtEnd = 1;
    load({{"D:", discWithData({100}, {1})}, {"E:", discWithData({100}, {1})}});
    advancePlay(AdvanceStart);
    EXPECT_EQ(fake::calls(), (Calls{"cd_eject(1)"}));
    EXPECT_EQ(currentDrive, 1);
}

TEST_F(PlayOrder, PickRandomDriveWithNoCandidateClearsCurrentDrive)
{
    load({{"D:", tracks(1)}});
    currentTrack = 1;
    markCurrentPlayed();
    EXPECT_EQ(pickRandomDrive(), 0);
    EXPECT_EQ(currentDrive, 0);
}

} // namespace
