#include "glide/win32/swap_clock.h"

#include <windows.h>

void swapClockStart(SwapClock *clock, std::int64_t now, std::int64_t frequency) {
    clock->start = now;
    clock->frequency = frequency;
    clock->retraces = 0;
}

std::int64_t swapClockNextDeadline(SwapClock *clock, std::int64_t now, int swapInterval) {
    if (swapInterval <= 0) return now;
    std::int64_t target = clock->retraces + swapInterval;
    std::int64_t deadline = clock->start + target * clock->frequency / RETRACE_HZ;
    // A frame more than one retrace late would otherwise let the frames after
    // it run unpaced until the schedule is caught up: start a new one instead.
    if (now - deadline > clock->frequency / RETRACE_HZ) {
        swapClockStart(clock, now, clock->frequency);
        return now;
    }
    clock->retraces = target;
    return deadline;
}

std::int64_t swapClockNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

void swapClockWaitUntil(const SwapClock *clock, std::int64_t deadline) {
    for (;;) {
        std::int64_t remaining = deadline - swapClockNow();
        if (remaining <= 0) return;
        DWORD milliseconds = static_cast<DWORD>(remaining * 1000 / clock->frequency);
        // Asleep all the way, rounded up: waking up to a timer period late
        // delays only this frame, since the next deadline comes from the
        // schedule, while spinning out the last fraction cost a fifth more
        // CPU for no steadier a rate.
        Sleep(milliseconds + 1);
    }
}
