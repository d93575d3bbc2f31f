// The steady 60 Hz retrace clock that buffer swaps wait on.
#ifndef COMET_GLIDE_WIN32_SWAP_CLOCK_H
#define COMET_GLIDE_WIN32_SWAP_CLOCK_H

#include <cstdint>

const int RETRACE_HZ = 60;

// Retrace k falls at start + k / 60 s, in performance-counter ticks.
struct SwapClock {
    std::int64_t start;
    std::int64_t frequency;
    std::int64_t retraces;
};

void swapClockStart(SwapClock *clock, std::int64_t now, std::int64_t frequency);
// Advances the clock by swapInterval retraces and returns the tick to show
// the frame at (at or before now: show at once).
std::int64_t swapClockNextDeadline(SwapClock *clock, std::int64_t now, int swapInterval);
// Blocks until the performance counter reaches deadline, mostly asleep.
void swapClockWaitUntil(const SwapClock *clock, std::int64_t deadline);
std::int64_t swapClockNow();

#endif
