// playtimeline.h - the play state machine of a virtual drive, on a clock
// of milliseconds: where play began, when, and where it stops. Plain data,
// so that it can live in memory shared between processes; every process
// derives the same position from it. Platform-neutral.
#ifndef LIBPLATTER_DEVICES_PLAYTIMELINE_H
#define LIBPLATTER_DEVICES_PLAYTIMELINE_H

#include <cstdint>

namespace devices {

enum class PlayMode : int32_t { Stopped = 5, Playing = 3, Paused = 4 };

struct PlayTimeline {
    PlayMode mode;
    int32_t position; // absolute frame; while playing, where play was at anchorMs
    int32_t endFrame; // while playing, the first frame not to play
    int32_t reserved;
    uint64_t anchorMs;
};

// Stopped at `frame`.
void timelineReset(PlayTimeline *line, int frame);
// Where the drive is at `nowMs` (a finished play rests on its last frame).
int timelinePosition(const PlayTimeline &line, uint64_t nowMs);
// Turns a play that has reached its end into Stopped.
void timelineSettle(PlayTimeline *line, uint64_t nowMs);
void timelinePlay(PlayTimeline *line, uint64_t nowMs, int from, int end);
// Each of these returns false, changing nothing, where a drive would
// refuse: pause when not playing, resume when stopped.
bool timelinePause(PlayTimeline *line, uint64_t nowMs);
bool timelineResume(PlayTimeline *line, uint64_t nowMs, int end);
void timelineStop(PlayTimeline *line, uint64_t nowMs);

} // namespace devices

#endif
