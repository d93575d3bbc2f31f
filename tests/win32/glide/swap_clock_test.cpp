// The retrace schedule, driven with made-up counter values.
#include "glide/win32/swap_clock.h"

#include <gtest/gtest.h>

namespace {

const std::int64_t HZ = 6000; // 100 ticks a retrace

TEST(SwapClock, SchedulesFromTheStartNotFromTheLastFrame) {
    struct Step {
        std::int64_t now;
        int swapInterval;
        std::int64_t deadline;
    } steps[] = {
        {10, 1, 1100},   // early: wait for retrace 1
        {1150, 1, 1200}, // shown a little late; the next one keeps the grid
        {1290, 2, 1400}, // two retraces
        {1450, 1, 1500}, // late by half a retrace: shown at once, grid kept
        {1520, 0, 1520}, // no retrace to wait for
        {1530, 1, 1600},
    };
    SwapClock clock;
    swapClockStart(&clock, 1000, HZ);
    for (const Step &step : steps)
        EXPECT_EQ(swapClockNextDeadline(&clock, step.now, step.swapInterval), step.deadline)
            << "at " << step.now;
}

TEST(SwapClock, AFrameLateByMoreThanARetraceStartsANewSchedule) {
    SwapClock clock;
    swapClockStart(&clock, 0, HZ);
    // Retrace 1 was due at 100; at 350 the frames after it would burst
    // through retraces 2 and 3 unpaced.
    EXPECT_EQ(swapClockNextDeadline(&clock, 350, 1), 350);
    EXPECT_EQ(swapClockNextDeadline(&clock, 360, 1), 450);
    EXPECT_EQ(swapClockNextDeadline(&clock, 460, 1), 550);
}

TEST(SwapClock, DoesNotDriftOverALongRun) {
    const std::int64_t frequency = 10000000; // not a multiple of 60
    SwapClock clock;
    swapClockStart(&clock, 0, frequency);
    std::int64_t deadline = 0;
    for (int frame = 1; frame <= 60 * 3600; frame++)
        deadline = swapClockNextDeadline(&clock, deadline, 1);
    EXPECT_EQ(deadline, 3600 * frequency);
}

} // namespace
