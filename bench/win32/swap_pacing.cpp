// Frames per second and CPU use of the Windows display with swaps paced at
// one retrace, on whatever screen the program finds.
#include "glide/glide.h"

#include <windows.h>

#include <cstdio>

namespace {

const double RUN_SECONDS = 5.0;

double seconds(const LARGE_INTEGER &from, const LARGE_INTEGER &to, const LARGE_INTEGER &frequency) {
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

double processCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime;
    k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime;
    u.HighPart = user.dwHighDateTime;
    return double(k.QuadPart + u.QuadPart) / 1e7;
}

} // namespace

int main() {
    grGlideInit();
    if (!grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ARGB, GR_ORIGIN_UPPER_LEFT, 2,
                      0)) {
        std::fprintf(stderr, "swap_pacing: the display did not open\n");
        return 1;
    }
    // Timed from the first swap on, so the set-up before it does not count.
    grBufferClear(0, 0, 0);
    grBufferSwap(1);
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    double cpuStart = processCpuSeconds();
    long frames = 0;
    do {
        // A changing picture, so nothing can skip an unchanged frame.
        grBufferClear(0xFF000000u | ((frames * 4) & 0xFF) << 16 | 0x40, 0xFF, 0);
        grBufferSwap(1);
        frames++;
        QueryPerformanceCounter(&now);
    } while (seconds(start, now, frequency) < RUN_SECONDS);
    double elapsed = seconds(start, now, frequency);
    double cpu = processCpuSeconds() - cpuStart;
    grGlideShutdown();
    std::printf("swap_pacing: screen %dx%d, %ld frames in %.3f s: %.2f frames per second, "
                "%.3f CPU seconds per second\n",
                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), frames, elapsed,
                frames / elapsed, cpu / elapsed);
    return 0;
}
