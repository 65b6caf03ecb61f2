// playclock.cpp - the virtual drives' clock and its test seam.
#include "libplatter/devices/playclock.h"

#include <windows.h>

#include <atomic>

namespace devices {

namespace {
std::atomic<bool> manual{false};
std::atomic<uint64_t> manualNow{0};
} // namespace

uint64_t playClockNow()
{
    if (manual.load())
        return manualNow.load();
    return GetTickCount64();
}

bool playClockIsManual()
{
    return manual.load();
}

void playClockTakeOver(uint64_t startMs)
{
    manualNow.store(startMs);
    manual.store(true);
}

void playClockStep(uint64_t ms)
{
    manualNow.fetch_add(ms);
}

void playClockRelease()
{
    manual.store(false);
}

} // namespace devices
