#include "tests/win32/host_window/saver_run.h"
#include "host/password_lock.h"
#include "host/saver_host.h"
#include "settings/settings.h"
#include "tests/support/glide_recorder.h"

namespace {

SaverRun *activeRun;
HANDLE watchdogStop;
DWORD loopThread;

LRESULT CALLBACK frameHook(int code, WPARAM wParam, LPARAM lParam) {
    const MSG *msg = reinterpret_cast<const MSG *>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == SAVER_MSG_FRAME && activeRun != NULL) {
        ++activeRun->frames;
        if (activeRun->onFrame) activeRun->onFrame(activeRun->frames);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

void CALLBACK idleTick(HWND, UINT, UINT_PTR, DWORD) {
    if (activeRun != NULL && activeRun->onIdle) activeRun->onIdle();
}

DWORD WINAPI watchdog(LPVOID) {
    if (WaitForSingleObject(watchdogStop, 15000) == WAIT_TIMEOUT) {
        activeRun->watchdogFired = true;
        PostThreadMessageA(loopThread, WM_QUIT, 99, 0);
    }
    return 0;
}

} // namespace

void resetSaverHost(bool win95Family) {
    saverHost = SaverHostState{};
    saverHost.instance = GetModuleHandleA(NULL);
    saverHost.isWin95Family = win95Family;
    saverHost.lastCheckTick = NO_CHECK_TICK;
    UnregisterClassA("WindowsScreenSaverClass", saverHost.instance);
    resetGlideRecorder();
}

int runSaverScript(HWND parent, SaverRun &run) {
    run.frames = 0;
    run.watchdogFired = false;
    activeRun = &run;
    loopThread = GetCurrentThreadId();
    watchdogStop = CreateEventA(NULL, TRUE, FALSE, NULL);
    HANDLE guard = CreateThread(NULL, 0, watchdog, NULL, 0, NULL);
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, frameHook, NULL, loopThread);
    UINT_PTR timer = SetTimer(NULL, 0, 50, idleTick);

    int result = runSaverWindow(parent);

    KillTimer(NULL, timer);
    UnhookWindowsHookEx(hook);
    SetEvent(watchdogStop);
    WaitForSingleObject(guard, INFINITE);
    CloseHandle(guard);
    CloseHandle(watchdogStop);
    if (saverHost.saverWindow != NULL && IsWindow(saverHost.saverWindow))
        DestroyWindow(saverHost.saverWindow);
    MSG leftover;
    while (PeekMessageA(&leftover, NULL, 0, 0, PM_REMOVE)) {
    }
    activeRun = NULL;
    return result;
}

void writeQuickSettings() {
    writeSaverSettings(SaverSettings{0, 20, 20});
}

int countBufferSwaps() {
    int swaps = 0;
    for (const GlideCall &call : glideCalls)
        if (call.name == "grBufferSwap") ++swaps;
    return swaps;
}

bool takePostedClose(HWND window) {
    MSG msg;
    return PeekMessageA(&msg, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0;
}
