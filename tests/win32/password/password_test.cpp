// The password lock in the Windows 95 family mode of Wine, with our
// PASSWORD.CPL and MPR.DLL doubles from the test's folder.
#include "host/module_entry.h"
#include "host/password_lock.h"
#include "host/saver_host.h"
#include "tests/win32/host_window/saver_run.h"
#include <gtest/gtest.h>
#include <string>

namespace {

typedef void(WINAPI *VerifyHook)(HWND);
typedef void(WINAPI *SetVerifyEntry)(BOOL, VerifyHook);
typedef int(WINAPI *VerificationsEntry)();
typedef int(WINAPI *LastChangeEntry)(char *, int, HWND *, DWORD *, LPVOID *);

// Kept loaded for the whole test program so that the double's answer and
// count survive the saver freeing its own reference.
HMODULE passwordDouble;
SetVerifyEntry setVerify;
VerificationsEntry verifications;

void setUsePassword(DWORD on) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key));
    RegSetValueExA(key, "ScreenSaveUsePassword", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&on),
                   sizeof on);
    RegCloseKey(key);
}

bool systemSaverRunning() {
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running != FALSE;
}

class PasswordLock : public testing::Test {
  protected:
    void SetUp() override {
        if (passwordDouble == NULL) {
            passwordDouble = LoadLibraryA("PASSWORD.CPL");
            ASSERT_NE(HMODULE(NULL), passwordDouble);
            setVerify = moduleEntry<SetVerifyEntry>(passwordDouble, "TestSetVerify");
            verifications = moduleEntry<VerificationsEntry>(passwordDouble, "TestVerifications");
            ASSERT_NE(SetVerifyEntry(NULL), setVerify);
        }
        setVerify(FALSE, NULL);
        setUsePassword(1);
        resetSaverHost(true);
        writeQuickSettings();
    }
    void TearDown() override { setUsePassword(0); }
};

// Runs the full-screen saver with its pump stopped by a key release, and
// hands each quiet tick to `tick` until it returns false.
int runQuietSaver(const std::function<bool(HWND, int tick)> &tick, SaverRun &run) {
    int ticks = 0;
    run.onFrame = [](int frame) {
        if (frame == 1) PostMessageA(saverHost.saverWindow, WM_KEYUP, 'A', 0);
    };
    bool going = true;
    run.onIdle = [&]() {
        if (going && run.frames >= 1 && IsWindow(saverHost.saverWindow))
            going = tick(saverHost.saverWindow, ++ticks);
    };
    return runSaverScript(NULL, run);
}

TEST(PasswordPlatform, TestRunsInTheWindows95FamilyMode) {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(GetVersionExA(&version));
    EXPECT_EQ(DWORD(VER_PLATFORM_WIN32_WINDOWS), version.dwPlatformId);
}

TEST(PasswordRecheckGuard, CountsTicksModuloTheWrap) {
    struct Case {
        DWORD now, last;
        bool inside;
    };
    const Case cases[] = {
        {1000, NO_CHECK_TICK, false}, // no check yet, even where the difference would be small
        {0, NO_CHECK_TICK, false},    {1000, 1000, true},
        {1199, 1000, true},           {1200, 1000, false},
        {900, 1000, false},           {50, 0xFFFFFFF0u, true}, // 66 ms across the wrap
        {100, 0xFFFFFF00u, false},    {0xFFFFFFFEu, 0xFFFFFF40u, true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.inside, insideRecheckGuard(c.now, c.last)) << c.now << " after " << c.last;
}

TEST_F(PasswordLock, PasswordOffClosesAtOnceWithoutRaisingTheRunningState) {
    setUsePassword(0);
    SaverRun run = {};
    bool raised = true;
    int result = runQuietSaver(
        [&](HWND window, int) {
            raised = systemSaverRunning();
            EXPECT_EQ(HMODULE(NULL), saverHost.passwordModule);
            PostMessageA(window, WM_KEYDOWN, 'A', 0);
            return false;
        },
        run);
    EXPECT_EQ(0, result);
    EXPECT_FALSE(raised);
    EXPECT_TRUE(saverHost.closeApproved);
    EXPECT_FALSE(IsWindow(saverHost.saverWindow));
    EXPECT_EQ(0, verifications());
    EXPECT_FALSE(run.watchdogFired);
}

TEST_F(PasswordLock, OutsideTheFamilyNothingIsLoadedAndCloseIsPlain) {
    resetSaverHost(false);
    SaverRun run = {};
    int result = runQuietSaver(
        [&](HWND window, int) {
            EXPECT_EQ(HMODULE(NULL), saverHost.passwordModule);
            EXPECT_FALSE(systemSaverRunning());
            SendMessageA(window, WM_CLOSE, 0, 0);
            return false;
        },
        run);
    EXPECT_EQ(0, result);
    EXPECT_FALSE(saverHost.closeApproved);
    EXPECT_EQ(0, verifications());
}

void WINAPI showArrowCursor(HWND) {
    SetCursor(LoadCursorA(NULL, MAKEINTRESOURCEA(32512)));
}

TEST_F(PasswordLock, RefusalKeepsTheSaverUntilAVerificationAfterTheGuardApproves) {
    setVerify(FALSE, showArrowCursor);
    SaverRun run = {};
    int result = runQuietSaver(
        [&](HWND window, int) {
            EXPECT_NE(HMODULE(NULL), saverHost.passwordModule);
            EXPECT_TRUE(systemSaverRunning());
            // The first request after start is never held back by the guard.
            SetCursorPos(321, 222);
            EXPECT_EQ(0, SendMessageA(window, WM_CLOSE, 0, 0));
            EXPECT_EQ(1, verifications());
            EXPECT_TRUE(IsWindow(window));
            EXPECT_FALSE(saverHost.closeApproved);
            EXPECT_EQ(HCURSOR(NULL), GetCursor());
            EXPECT_EQ(321, saverHost.referenceCursor.x);
            EXPECT_EQ(222, saverHost.referenceCursor.y);

            SetCursorPos(300, 200);
            EXPECT_EQ(0, SendMessageA(window, WM_CLOSE, 0, 0));
            EXPECT_EQ(1, verifications()) << "within the guard: no verification";
            EXPECT_EQ(300, saverHost.referenceCursor.x);

            Sleep(PASSWORD_RECHECK_GUARD + 50);
            EXPECT_EQ(0, SendMessageA(window, WM_CLOSE, 0, 0));
            EXPECT_EQ(2, verifications());

            setVerify(TRUE, NULL);
            Sleep(PASSWORD_RECHECK_GUARD + 50);
            SendMessageA(window, WM_CLOSE, 0, 0);
            EXPECT_EQ(1, verifications());
            EXPECT_TRUE(saverHost.closeApproved);
            EXPECT_FALSE(IsWindow(window));
            return false;
        },
        run);
    EXPECT_EQ(0, result);
    EXPECT_EQ(1, run.frames) << "a pump stopped by input stays stopped";
    EXPECT_FALSE(run.watchdogFired);
    EXPECT_EQ(HMODULE(NULL), saverHost.passwordModule);
    EXPECT_FALSE(systemSaverRunning());
}

int pendingTimersSeen;
LRESULT closeDuringCheck;
bool closePostedDuringCheck;

void WINAPI actDuringCheck(HWND window) {
    pendingTimersSeen = 0;
    MSG msg;
    while (PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE))
        ++pendingTimersSeen;
    SetCursorPos(111, 99);
    closeDuringCheck = SendMessageA(window, WM_CLOSE, 0, 0);
    // Input meets the check and goes straight to the default handling.
    SendMessageA(window, WM_KEYDOWN, 'A', 0);
    closePostedDuringCheck = PeekMessageA(&msg, window, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0;
}

TEST_F(PasswordLock, DuringACheckCloseIsRefusedAndTwoTimerMessagesAreDropped) {
    setVerify(FALSE, actDuringCheck);
    closeDuringCheck = -1;
    closePostedDuringCheck = true;
    SaverRun run = {};
    runQuietSaver(
        [&](HWND window, int) {
            for (int i = 0; i < 3; ++i)
                PostMessageA(window, WM_TIMER, 7, 0);
            EXPECT_EQ(0, SendMessageA(window, WM_CLOSE, 0, 0));
            EXPECT_EQ(1, verifications()) << "no second verification from inside the first";
            EXPECT_EQ(0, closeDuringCheck);
            EXPECT_FALSE(closePostedDuringCheck);
            EXPECT_EQ(1, pendingTimersSeen);
            EXPECT_EQ(111, saverHost.referenceCursor.x);
            EXPECT_EQ(99, saverHost.referenceCursor.y);
            EXPECT_FALSE(saverHost.passwordCheckActive);
            setVerify(TRUE, NULL);
            Sleep(PASSWORD_RECHECK_GUARD + 50);
            PostMessageA(window, WM_LBUTTONDOWN, 0, 0);
            return false;
        },
        run);
    EXPECT_TRUE(saverHost.closeApproved);
    EXPECT_FALSE(run.watchdogFired);
}

TEST_F(PasswordLock, ReloadAndUnloadKeepTheRunningStateInStep) {
    loadPasswordModule();
    ASSERT_NE(HMODULE(NULL), saverHost.passwordModule);
    EXPECT_NE(PwdVerifyEntry(NULL), saverHost.pwdVerifyEntry);
    EXPECT_TRUE(systemSaverRunning());
    loadPasswordModule();
    EXPECT_NE(HMODULE(NULL), saverHost.passwordModule);
    EXPECT_TRUE(systemSaverRunning());
    unloadPasswordModule();
    EXPECT_EQ(HMODULE(NULL), saverHost.passwordModule);
    EXPECT_EQ(PwdVerifyEntry(NULL), saverHost.pwdVerifyEntry);
    EXPECT_FALSE(systemSaverRunning());
    // Raised by someone else: a second unload must not lower it.
    setSaverRunning(true);
    unloadPasswordModule();
    EXPECT_TRUE(systemSaverRunning());
    setSaverRunning(false);
}

TEST_F(PasswordLock, PreviewNeverLoadsThePasswordComponent) {
    HWND host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 160, 120, NULL,
                                NULL, NULL, NULL);
    SaverRun run = {};
    run.onIdle = [&]() {
        if (!IsWindow(host)) return;
        EXPECT_EQ(HMODULE(NULL), saverHost.passwordModule);
        EXPECT_FALSE(systemSaverRunning());
        SendMessageA(saverHost.saverWindow, WM_CLOSE, 0, 0);
        DestroyWindow(host);
    };
    EXPECT_EQ(0, runSaverScript(host, run));
    EXPECT_EQ(0, verifications());
}

TEST(PasswordChange, PassesTheProviderAndTheChosenParent) {
    HMODULE mpr = LoadLibraryA("MPR.DLL");
    ASSERT_NE(HMODULE(NULL), mpr);
    LastChangeEntry lastChange = moduleEntry<LastChangeEntry>(mpr, "TestLastChange");
    ASSERT_NE(LastChangeEntry(NULL), lastChange) << "the system's MPR.DLL was loaded, not the double";
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);

    const std::string tail = "/a " + std::to_string(reinterpret_cast<ULONG_PTR>(owner));
    EXPECT_EQ(0, dispatchMode(GetModuleHandleA(NULL), NULL, tail.c_str(), SW_SHOWDEFAULT));

    char provider[32] = {};
    HWND parent = NULL;
    DWORD third = 1;
    LPVOID fourth = &third;
    EXPECT_EQ(1, lastChange(provider, sizeof provider, &parent, &third, &fourth));
    EXPECT_STREQ("SCRSAVE", provider);
    EXPECT_EQ(owner, parent);
    EXPECT_EQ(0u, third);
    EXPECT_EQ(nullptr, fourth);
    DestroyWindow(owner);
    FreeLibrary(mpr);
}

} // namespace
