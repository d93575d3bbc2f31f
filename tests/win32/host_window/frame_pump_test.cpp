// The frame pump on a real queue, frames counted as buffer swaps of the
// recording Glide device.
#include "host/saver_host.h"
#include "tests/win32/host_window/saver_run.h"
#include <gtest/gtest.h>

namespace {

TEST(FramePump, StopsForGoodOnlyWhenInputForTheSaverWindowWaits) {
    struct Case {
        const char *name;
        int atFrame;
        UINT message;
        bool forSaverWindow;
        bool stops;
    };
    const Case cases[] = {
        {"key down", 3, WM_KEYDOWN, true, true},
        {"key up, waiting at the first frame", 1, WM_KEYUP, true, true},
        {"system key up", 3, WM_SYSKEYUP, true, true},
        {"last keyboard message", 3, 0x108, true, true},
        {"mouse move", 3, WM_MOUSEMOVE, true, true},
        {"left button up", 3, WM_LBUTTONUP, true, true},
        {"middle double click", 3, WM_MBUTTONDBLCLK, true, true},
        {"wheel", 3, WM_MOUSEWHEEL, true, false},
        {"past the keyboard range", 3, 0x109, true, false},
        {"key down for another window", 3, WM_KEYDOWN, false, false},
    };
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    ASSERT_NE(HWND(NULL), other);
    const int runningFrames = 12;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        resetSaverHost(false);
        writeQuickSettings();
        int idleTicks = 0;
        int swapsAtFirstIdle = -1;
        SaverRun run = {};
        run.onFrame = [&](int frame) {
            // The system moves the pointer into the new window in its own
            // time; that stray movement is not part of the case.
            MSG stray;
            while (PeekMessageA(&stray, saverHost.saverWindow, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
            }
            if (frame == c.atFrame)
                PostMessageA(c.forSaverWindow ? saverHost.saverWindow : other, c.message, 0, 0);
            if (frame == runningFrames) PostMessageA(saverHost.saverWindow, WM_CLOSE, 0, 0);
        };
        // Past the start, idle ticks come only once no frame message is queued
        // any more.
        run.onIdle = [&]() {
            if (run.frames < c.atFrame) return;
            if (++idleTicks == 1) swapsAtFirstIdle = countBufferSwaps();
            if (idleTicks == 4) PostMessageA(saverHost.saverWindow, WM_CLOSE, 0, 0);
        };
        EXPECT_EQ(0, runSaverScript(NULL, run));
        EXPECT_FALSE(run.watchdogFired);
        if (c.stops) {
            EXPECT_EQ(c.atFrame, run.frames);
            EXPECT_EQ(c.atFrame, countBufferSwaps());
            // A key press closes by itself before the queue falls idle.
            if (c.message != WM_KEYDOWN) {
                EXPECT_EQ(c.atFrame, swapsAtFirstIdle);
            }
        } else {
            EXPECT_GE(run.frames, runningFrames);
            EXPECT_EQ(run.frames, countBufferSwaps());
        }
    }
    DestroyWindow(other);
}

} // namespace
