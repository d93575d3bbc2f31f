// Runs the real saver window on the test's thread with its real message
// loop, and lets a test act at chosen points inside that loop: when a frame
// message is taken from the queue, and whenever the queue falls idle.
#ifndef COMET_TEST_SAVER_RUN_H
#define COMET_TEST_SAVER_RUN_H

#include <functional>
#include <windows.h>

struct SaverRun {
    // Called as the n-th frame message (counting from 1) leaves the queue.
    std::function<void(int frame)> onFrame;
    // Called every 50 ms while the queue has nothing else to deliver.
    std::function<void()> onIdle;
    int frames;
    bool watchdogFired;
};

// A fresh process state as the entry leaves it, with the Windows 95 family
// flag given; also removes a class left registered by an earlier run.
void resetSaverHost(bool win95Family);

// runSaverWindow(parent) with the hooks of `run` in place. A run that has
// not ended after 15 s is stopped and marked in `run.watchdogFired`.
int runSaverScript(HWND parent, SaverRun &run);

// Settings that keep the set-up quick: no intro, few stars.
void writeQuickSettings();

int countBufferSwaps();

// Takes a WM_CLOSE posted to the window off the queue; true when there was one.
bool takePostedClose(HWND window);

#endif
