// playtimeline.cpp - the virtual drive's play state machine.
#include "libplatter/devices/playtimeline.h"
#include "libplatter/devices/disctoc.h"

namespace devices {

void timelineReset(PlayTimeline *line, int frame)
{
    line->mode = PlayMode::Stopped;
    line->position = frame;
    line->endFrame = frame;
    line->reserved = 0;
    line->anchorMs = 0;
}

int timelinePosition(const PlayTimeline &line, uint64_t nowMs)
{
    if (line.mode != PlayMode::Playing)
        return line.position;
    // A clock that reads earlier than the anchor (another process's) counts as no time.
    uint64_t elapsedMs = nowMs > line.anchorMs ? nowMs - line.anchorMs : 0;
    uint64_t frames = elapsedMs * kFramesPerSecond / 1000;
    uint64_t length = line.endFrame > line.position ? (uint64_t)(line.endFrame - line.position) : 0;
    if (frames >= length)
        return line.endFrame > line.position ? line.endFrame - 1 : line.position;
    return line.position + (int)frames;
}

void timelineSettle(PlayTimeline *line, uint64_t nowMs)
{
    if (line->mode != PlayMode::Playing)
        return;
    uint64_t elapsedMs = nowMs > line->anchorMs ? nowMs - line->anchorMs : 0;
    uint64_t frames = elapsedMs * kFramesPerSecond / 1000;
    uint64_t length = line->endFrame > line->position ? (uint64_t)(line->endFrame - line->position) : 0;
    if (frames >= length) {
        int last = timelinePosition(*line, nowMs);
        timelineReset(line, last);
    }
}

void timelinePlay(PlayTimeline *line, uint64_t nowMs, int from, int end)
{
    line->mode = PlayMode::Playing;
    line->position = from;
    line->endFrame = end;
    line->anchorMs = nowMs;
}

bool timelinePause(PlayTimeline *line, uint64_t nowMs)
{
    timelineSettle(line, nowMs);
    if (line->mode != PlayMode::Playing)
        return false;
    int at = timelinePosition(*line, nowMs);
    line->mode = PlayMode::Paused;
    line->position = at;
    line->anchorMs = 0;
    return true;
}

bool timelineResume(PlayTimeline *line, uint64_t nowMs, int end)
{
    timelineSettle(line, nowMs);
    if (line->mode == PlayMode::Stopped)
        return false;
    int at = timelinePosition(*line, nowMs);
    if (end <= at)
        end = at + 1;
    timelinePlay(line, nowMs, at, end);
    return true;
}

void timelineStop(PlayTimeline *line, uint64_t nowMs)
{
    timelineSettle(line, nowMs);
    int at = timelinePosition(*line, nowMs);
    timelineReset(line, at);
}

} // namespace devices
