// The full-screen saver window on a real message queue: its class and form,
// the single-instance check, what each layer consumes and what closes it.
#include "host/saver_host.h"
#include "tests/support/glide_recorder.h"
#include "tests/win32/host_window/saver_run.h"
#include <gtest/gtest.h>
#include <imm.h>
#include <string>
#include <vector>

namespace {

// Runs the full-screen saver, stops its frame pump with a key release (which
// does not close it), then runs `body` once the queue is quiet and closes
// the window. Returns runSaverWindow's result.
int withQuietSaver(const std::function<void(HWND)> &body) {
    resetSaverHost(false);
    writeQuickSettings();
    bool done = false;
    SaverRun run = {};
    run.onFrame = [](int frame) {
        if (frame == 1) PostMessageA(saverHost.saverWindow, WM_KEYUP, 'A', 0);
    };
    run.onIdle = [&]() {
        if (done || run.frames < 1) return;
        done = true;
        body(saverHost.saverWindow);
        PostMessageA(saverHost.saverWindow, WM_CLOSE, 0, 0);
    };
    int result = runSaverScript(NULL, run);
    EXPECT_TRUE(done);
    EXPECT_FALSE(run.watchdogFired);
    return result;
}

int cbtSystemCommands;

LRESULT CALLBACK countSystemCommands(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_SYSCOMMAND) {
        ++cbtSystemCommands;
        return 1; // seen; keep the system from acting on it
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

TEST(FullScreenWindow, HasTheClassAndFormOfARunningSaver) {
    int result = withQuietSaver([](HWND window) {
        char name[64] = {};
        GetWindowTextA(window, name, sizeof name);
        EXPECT_STREQ("Screen Saver", name);
        char className[64] = {};
        GetClassNameA(window, className, sizeof className);
        EXPECT_STREQ("WindowsScreenSaverClass", className);
        EXPECT_EQ(0x2Bu, GetClassLongPtrA(window, GCL_STYLE));
        EXPECT_EQ(0u, GetClassLongPtrA(window, GCLP_HICON));
        EXPECT_EQ(0u, GetClassLongPtrA(window, GCLP_HCURSOR));
        EXPECT_EQ(reinterpret_cast<ULONG_PTR>(GetStockObject(BLACK_BRUSH)),
                  GetClassLongPtrA(window, GCLP_HBRBACKGROUND));
        EXPECT_EQ(0x96000000u, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)));
        EXPECT_NE(0u, GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(NULL, GetParent(window));
        RECT rect;
        GetWindowRect(window, &rect);
        EXPECT_EQ(0, rect.left);
        EXPECT_EQ(0, rect.top);
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), rect.right);
        EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), rect.bottom);
        EXPECT_EQ(window, GetForegroundWindow());
    });
    EXPECT_EQ(0, result);
    EXPECT_FALSE(IsWindow(saverHost.saverWindow));
}

TEST(FullScreenWindow, SecondStartEndsAtOnceOnlyForAFullScreenSaver) {
    struct Case {
        const char *decoyName;
        bool endsAtOnce;
    };
    const Case cases[] = {{"Screen Saver", true}, {"Preview", false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.decoyName);
        // Another program's window: its class belongs to another module.
        WNDCLASSA decoyClass = {};
        decoyClass.lpfnWndProc = DefWindowProcA;
        decoyClass.hInstance = GetModuleHandleA("kernel32.dll");
        decoyClass.lpszClassName = "WindowsScreenSaverClass";
        ASSERT_NE(0, RegisterClassA(&decoyClass));
        HWND decoy = CreateWindowExA(0, "WindowsScreenSaverClass", c.decoyName, WS_POPUP, 0, 0, 10, 10, NULL,
                                     NULL, decoyClass.hInstance, NULL);
        ASSERT_NE(HWND(NULL), decoy);

        resetSaverHost(false);
        writeQuickSettings();
        SaverRun run = {};
        run.onFrame = [](int) { PostMessageA(saverHost.saverWindow, WM_KEYDOWN, 'A', 0); };
        EXPECT_EQ(0, runSaverScript(NULL, run));
        EXPECT_EQ(c.endsAtOnce, saverHost.saverWindow == NULL);
        EXPECT_EQ(c.endsAtOnce, run.frames == 0);
        EXPECT_TRUE(IsWindow(decoy));
        if (c.endsAtOnce) {
            EXPECT_EQ(decoy, GetForegroundWindow());
        }
        DestroyWindow(decoy);
        UnregisterClassA("WindowsScreenSaverClass", decoyClass.hInstance);
    }
}

TEST(FullScreenWindow, ClosesOnPressesAndLossOfActivationOnly) {
    struct Case {
        const char *name;
        UINT message;
        WPARAM wParam;
        bool closes;
    };
    const Case cases[] = {
        {"key down", WM_KEYDOWN, 'A', true},
        {"system key down", WM_SYSKEYDOWN, 'A', true},
        {"left button down", WM_LBUTTONDOWN, 0, true},
        {"right button down", WM_RBUTTONDOWN, 0, true},
        {"middle button down", WM_MBUTTONDOWN, 0, true},
        {"activation lost", WM_ACTIVATEAPP, 0, true},
        {"activation gained", WM_ACTIVATEAPP, 1, false},
        {"key up", WM_KEYUP, 'A', false},
        {"system key up", WM_SYSKEYUP, 'A', false},
        {"character", WM_CHAR, 'a', false},
        {"left button up", WM_LBUTTONUP, 0, false},
        {"right button up", WM_RBUTTONUP, 0, false},
        {"left double click", WM_LBUTTONDBLCLK, 0, false},
        {"wheel", WM_MOUSEWHEEL, WHEEL_DELTA << 16, false},
        {"mouse move without movement", WM_MOUSEMOVE, 0, false},
    };
    withQuietSaver([&](HWND window) {
        takePostedClose(window);
        for (const Case &c : cases) {
            SendMessageA(window, c.message, c.wParam, 0);
            EXPECT_EQ(c.closes, takePostedClose(window)) << c.name;
        }
    });
}

TEST(FullScreenWindow, LayersAnswerTextCursorAndSystemCommands) {
    withQuietSaver([](HWND window) {
        EXPECT_EQ(0, SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Changed")));
        SetWindowTextA(window, "Changed");
        char name[64] = {};
        GetWindowTextA(window, name, sizeof name);
        EXPECT_STREQ("Screen Saver", name);

        EXPECT_EQ(1, SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), HTCLIENT));
        EXPECT_EQ(HCURSOR(NULL), GetCursor());

        // Only the exact commands are swallowed; anything else reaches the
        // system's default handling.
        HHOOK hook = SetWindowsHookExA(WH_CBT, countSystemCommands, NULL, GetCurrentThreadId());
        const WPARAM swallowed[] = {SC_NEXTWINDOW, SC_PREVWINDOW, SC_SCREENSAVE};
        for (WPARAM command : swallowed) {
            cbtSystemCommands = 0;
            EXPECT_EQ(0, SendMessageA(window, WM_SYSCOMMAND, command, 0));
            EXPECT_EQ(0, cbtSystemCommands) << std::hex << command;
        }
        cbtSystemCommands = 0;
        SendMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE | 1, 0);
        EXPECT_EQ(1, cbtSystemCommands);
        UnhookWindowsHookEx(hook);
        EXPECT_TRUE(IsWindow(window));
    });
}

TEST(FullScreenWindow, MouseMovementsAddUpAgainstTheReferencePoint) {
    struct Step {
        int dx, dy;
        bool closes;
    };
    struct Case {
        const char *name;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"2 right 2 down stays", {{2, 2, false}}},
        {"3 right 2 down closes", {{3, 2, true}}},
        {"3 left 2 up closes", {{-3, -2, true}}},
        {"single pixels close past 4, then count from there",
         {{1, 0, false},
          {2, 0, false},
          {3, 0, false},
          {4, 0, false},
          {5, 0, true},
          {6, 0, false},
          {10, 0, true}}},
        {"back and forth stays within 4", {{0, 4, false}, {0, -4, false}, {-4, 0, false}}},
    };
    const POINT start = {200, 150};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SetCursorPos(start.x, start.y);
        withQuietSaver([&](HWND window) {
            takePostedClose(window);
            for (const Step &step : c.steps) {
                SetCursorPos(start.x + step.dx, start.y + step.dy);
                SendMessageA(window, WM_MOUSEMOVE, 0, 0);
                EXPECT_EQ(step.closes, takePostedClose(window)) << step.dx << "," << step.dy;
            }
        });
    }
}

HIMC contextAtDestroy;

// Runs after the window procedure has handled WM_DESTROY, while the window
// still exists.
LRESULT CALLBACK seeContextAtDestroy(int code, WPARAM wParam, LPARAM lParam) {
    const CWPRETSTRUCT *sent = reinterpret_cast<const CWPRETSTRUCT *>(lParam);
    if (code == HC_ACTION && sent->message == WM_DESTROY && sent->hwnd == saverHost.saverWindow) {
        contextAtDestroy = ImmGetContext(sent->hwnd);
        ImmReleaseContext(sent->hwnd, contextAtDestroy);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

TEST(FullScreenWindow, InputMethodIsDetachedWhileTheWindowLives) {
    ASSERT_NE(HMODULE(NULL), GetModuleHandleA("IMM32.DLL"));
    contextAtDestroy = NULL;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, seeContextAtDestroy, NULL, GetCurrentThreadId());
    HIMC saved = NULL;
    withQuietSaver([&](HWND window) {
        saved = saverHost.savedInputContext;
        EXPECT_NE(HIMC(NULL), saved);
        EXPECT_EQ(HIMC(NULL), ImmGetContext(window));
    });
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(saved, contextAtDestroy);
}

TEST(FullScreenWindow, InitFailureShowsTheMessageAndMakesNoWindow) {
    resetSaverHost(false);
    writeQuickSettings();
    recorderOpenSucceeds = false;
    std::string shownText;
    SaverRun run = {};
    // The message box runs its own loop, which still delivers the idle ticks.
    run.onIdle = [&]() {
        HWND box = FindWindowA("#32770", NULL);
        if (box == NULL) return;
        char text[64] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        shownText = text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    };
    EXPECT_EQ(-1, runSaverScript(NULL, run));
    EXPECT_EQ("Init Failed", shownText);
    EXPECT_EQ(HWND(NULL), saverHost.saverWindow);
    EXPECT_EQ(0, run.frames);
    EXPECT_FALSE(run.watchdogFired);
}

} // namespace
