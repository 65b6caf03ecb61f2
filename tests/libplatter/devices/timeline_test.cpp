// timeline_test.cpp - a virtual drive's play state machine through the
// device calls, on a clock the test steps: play to the end of a track or to
// the data track, pause, resume with a new stopping point, stop, and the
// commands a drive refuses. Disc: kFourTrackToc (starts 150, 900, 2400,
// 3150; lead-out 4500).
#include "tests/libplatter/devices/devicetest.h"
#include "libplatter/devices/disctoc.h"

#include <climits>

namespace {

using namespace devicetest;

// One step of a script. Commands check the state they return; Expect
// checks the status and the Q position (track -1: no position check).
enum class Op { Play, Pause, Resume, Stop, Advance, Expect };

struct Step {
    Op op;
    int a;          // Play/Resume: track; Play: also see offset; Advance: ms
    int offset;     // Play: frames into the track
    int single;     // Play/Resume: singleTrack
    int state;      // the state returned (commands) or reported (Expect)
    int track;      // Expect: Q track, or -1
    int relative;   // Expect: frames into that track
};

Step play(int track, int offset, int single, int state) { return {Op::Play, track, offset, single, state, -1, 0}; }
Step pause(int state) { return {Op::Pause, 0, 0, 0, state, -1, 0}; }
Step resume(int track, int single, int state) { return {Op::Resume, track, 0, single, state, -1, 0}; }
Step stop(int state) { return {Op::Stop, 0, 0, 0, state, -1, 0}; }
Step advance(int ms) { return {Op::Advance, ms, 0, 0, 0, -1, 0}; }
Step expect(int state, int track, int relative) { return {Op::Expect, 0, 0, 0, state, track, relative}; }

const int P = PlayStatePlaying, H = PlayStatePaused, S = PlayStateStopped;
const int kStarts[] = {0, 150, 900, 2400, 3150};

struct Script {
    const char *name;
    std::vector<Step> steps;
};

// Printed as its name, in test lists and in CTest's test names.
void PrintTo(const Script &c, std::ostream *os)
{
    *os << c.name;
}

const Script kScripts[] = {
    {"SingleTrackStopsAtItsEnd",
     {play(2, 0, 1, P), expect(P, 2, 0), advance(19990), expect(P, 2, 1499), advance(10), expect(S, 2, 1499),
      advance(5000), expect(S, 2, 1499)}},
    {"ContinuousPlayCrossesTracksAndStopsBeforeData",
     {play(1, 0, 0, P), advance(10000), expect(P, 2, 0), advance(20000), expect(P, 3, 0), advance(9990),
      expect(P, 3, 749), advance(10), expect(S, 3, 749)}},
    {"PlayFromAPositionInsideTheTrack",
     {play(2, 385, 1, P), expect(P, 2, 385), advance(1000), expect(P, 2, 460)}},
    {"PauseKeepsThePositionAndResumeGoesOn",
     {play(1, 0, 0, P), advance(4000), pause(H), expect(H, 1, 300), advance(60000), expect(H, 1, 300),
      resume(1, 0, P), advance(1000), expect(P, 1, 375)}},
    {"ResumeWhilePlayingMovesTheStoppingPoint",
     {play(1, 0, 0, P), advance(2000), resume(1, 1, P), advance(7990), expect(P, 1, 749), advance(10),
      expect(S, 1, 749)}},
    {"ResumeSingleFollowsTheTrackTheDriveIsIn",
     {play(1, 0, 0, P), advance(12000), expect(P, 2, 150), resume(1, 1, P), advance(17990), expect(P, 2, 1499),
      advance(10), expect(S, 2, 1499)}},
    {"PausedResumeToTheLeadOutPlaysOn",
     {play(1, 0, 1, P), advance(5000), pause(H), resume(1, 0, P), advance(6000), expect(P, 2, 75)}},
    {"StopKeepsThePositionAndRefusesResumeAndPause",
     {play(3, 0, 0, P), advance(2000), stop(S), expect(S, 3, 150), resume(3, 0, S), pause(S), advance(3000),
      expect(S, 3, 150)}},
    {"AFreshDiscIsStoppedAtTrackOne", {expect(S, 1, 0), pause(S), resume(1, 0, S), stop(S), expect(S, 1, 0)}},
    {"ADataTrackIsNotPlayed",
     {play(4, 0, 1, S), expect(S, 1, 0), play(1, 0, 1, P), advance(2000), play(4, 0, 0, P), expect(P, 1, 150)}},
    {"ATrackNotOnTheDiscIsNotPlayed", {play(5, 0, 0, S), play(0, 0, 0, S), play(-1, 0, 0, S), expect(S, 1, 0)}},
    {"APositionPastTheTrackEndPlaysItsLastFrame",
     {play(1, 750, 1, P), expect(P, 1, 749), advance(14), expect(S, 1, 749), play(2, 99 * 4500, 1, P),
      expect(P, 2, 1499)}},
    {"PlayWhilePausedStartsTheNewTrack",
     {play(2, 0, 0, P), advance(1000), pause(H), play(3, 0, 1, P), expect(P, 3, 0), advance(10000), expect(S, 3, 749)}},
    {"PausedDriveStaysPausedUntilStopped",
     {play(2, 0, 1, P), advance(500), pause(H), advance(30000), stop(S), expect(S, 2, 37)}},
};

class TimelineTest : public VirtualDriveTest, public ::testing::WithParamInterface<Script> {};

TEST_P(TimelineTest, FollowsTheScript)
{
    writeText(path("disc.toc"), kFourTrackToc);
    ASSERT_TRUE(openDrive());
    ASSERT_EQ(cd_read_data(handle_), PLATTER_OK);
    int n = 0;
    for (const Step &step : GetParam().steps) {
        SCOPED_TRACE("step " + std::to_string(++n));
        devices::Msf offset = devices::framesToMsf(step.offset);
        switch (step.op) {
        case Op::Play:
            EXPECT_EQ(cd_play(handle_, step.a, offset.minutes, offset.seconds, offset.frames, step.single), step.state);
            break;
        case Op::Pause:
            EXPECT_EQ(cd_pause(handle_), step.state);
            break;
        case Op::Resume:
            EXPECT_EQ(cd_resume(handle_, step.a, step.single), step.state);
            break;
        case Op::Stop:
            EXPECT_EQ(cd_stop(handle_), step.state);
            break;
        case Op::Advance:
            advanceClock(step.a);
            break;
        case Op::Expect: {
            EXPECT_EQ(cd_check_status(handle_), step.state);
            int track = 0, relative = 0, absolute = 0;
            ASSERT_TRUE(currentPosition(handle_, &track, &relative, &absolute));
            EXPECT_EQ(track, step.track);
            EXPECT_EQ(relative, step.relative);
            EXPECT_EQ(absolute, kStarts[step.track] + step.relative);
            break;
        }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scripts, TimelineTest, ::testing::ValuesIn(kScripts),
                         [](const ::testing::TestParamInfo<Script> &info) { return std::string(info.param.name); });

// Positions far outside the track (garbage from a caller) stay inside it.
class PlayPositionTest : public VirtualDriveTest {};

TEST_F(PlayPositionTest, ExtremePositionsAreHeldToTheTrack)
{
    writeText(path("disc.toc"), kFourTrackToc);
    ASSERT_TRUE(openDrive());
    struct Case {
        int m, s, f, relative;
    } cases[] = {{INT_MAX, INT_MAX, INT_MAX, 1499}, {-5, -1, -100, 0}, {0, 0, -1, 0}, {0, 19, 74, 1499}, {0, 1, 80, 155}};
    for (const Case &c : cases) {
        EXPECT_EQ(cd_play(handle_, 2, c.m, c.s, c.f, 1), PlayStatePlaying);
        int track = 0, relative = -1, absolute = -1;
        ASSERT_TRUE(currentPosition(handle_, &track, &relative, &absolute));
        EXPECT_EQ(track, 2);
        EXPECT_EQ(relative, c.relative) << c.m << ":" << c.s << "." << c.f;
    }
}

} // namespace
