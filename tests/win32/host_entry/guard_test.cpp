// The exception guard around a run mode: the process's unhandled-exception
// filter decides, as it does for any unhandled exception.
#include "host/run_mode.h"
#include "host/saver_host.h"

#include <gtest/gtest.h>

namespace {

const DWORD TEST_EXCEPTION = 0xE0C0FFEE;

struct FilterRecord {
    LONG answer;
    int calls;
    DWORD lastCode;
    bool hadContext;
};

FilterRecord filterRecord;
volatile bool pastTheFault;

LONG WINAPI testFilter(EXCEPTION_POINTERS *pointers) {
    ++filterRecord.calls;
    filterRecord.lastCode = pointers->ExceptionRecord->ExceptionCode;
    filterRecord.hadContext = pointers->ContextRecord != nullptr;
    return filterRecord.answer;
}

class ExceptionGuard : public ::testing::Test {
  protected:
    void SetUp() override {
        filterRecord = {EXCEPTION_EXECUTE_HANDLER, 0, 0, false};
        pastTheFault = false;
        previous = SetUnhandledExceptionFilter(testFilter);
    }
    void TearDown() override { SetUnhandledExceptionFilter(previous); }
    LPTOP_LEVEL_EXCEPTION_FILTER previous = nullptr;
};

int returnsSeven(const char *) {
    return 7;
}

// Volatile so that the faulting write happens, and happens before the mark
// that would show the mode went on past it.
volatile int *volatile nowhere = nullptr;

int writesThroughNull(const char *) {
    *nowhere = 1;
    pastTheFault = true;
    return 3;
}

int raisesContinuable(const char *) {
    RaiseException(TEST_EXCEPTION, 0, 0, nullptr);
    pastTheFault = true;
    return 42;
}

__attribute__((noinline)) int faultsDeeper(int depth) {
    if (depth == 0) return writesThroughNull(nullptr);
    return faultsDeeper(depth - 1) + 1;
}

int faultsSeveralFramesDown(const char *) {
    return faultsDeeper(5);
}

int innerGuardResult;

int runsAFaultingInnerGuard(const char *) {
    innerGuardResult = runGuarded(writesThroughNull, nullptr);
    return 5;
}

LRESULT CALLBACK faultingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) *nowhere = 2;
    return DefWindowProcA(window, message, wParam, lParam);
}

const char FAULTING_CLASS[] = "GuardTestFaultingWindow";

// A message loop whose window procedure faults on the first message. It ends
// when the queue is empty, so that nothing is left behind for later tests.
int faultsInsideAMessageLoop(const char *) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = faultingWindowProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = FAULTING_CLASS;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, FAULTING_CLASS, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                  windowClass.hInstance, NULL);
    PostMessageA(window, WM_APP, 0, 0);
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    pastTheFault = true;
    return 9;
}

TEST_F(ExceptionGuard, PassesTheResultOfAModeThatEndsNormally) {
    EXPECT_EQ(runGuarded(returnsSeven, nullptr), 7);
    EXPECT_EQ(filterRecord.calls, 0);
}

TEST_F(ExceptionGuard, AFaultEndsTheModeWithMinusOneWhenTheFilterSelectsTheHandler) {
    const GuardedMode faulting[] = {writesThroughNull, faultsSeveralFramesDown};
    for (GuardedMode mode : faulting) {
        filterRecord.calls = 0;
        EXPECT_EQ(runGuarded(mode, nullptr), -1);
        EXPECT_FALSE(pastTheFault);
        EXPECT_EQ(filterRecord.calls, 1);
        EXPECT_EQ(filterRecord.lastCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
        EXPECT_TRUE(filterRecord.hadContext);
    }
    // The frame is unlinked on the way out: a later mode runs unguarded by
    // stale records and ends normally.
    EXPECT_EQ(runGuarded(returnsSeven, nullptr), 7);
}

TEST_F(ExceptionGuard, ContinueExecutionResumesTheMode) {
    filterRecord.answer = EXCEPTION_CONTINUE_EXECUTION;
    EXPECT_EQ(runGuarded(raisesContinuable, nullptr), 42);
    EXPECT_TRUE(pastTheFault);
    EXPECT_EQ(filterRecord.calls, 1);
    EXPECT_EQ(filterRecord.lastCode, TEST_EXCEPTION);
}

TEST_F(ExceptionGuard, TheInnermostGuardHandlesTheFault) {
    innerGuardResult = 0;
    EXPECT_EQ(runGuarded(runsAFaultingInnerGuard, nullptr), 5);
    EXPECT_EQ(innerGuardResult, -1);
    EXPECT_EQ(filterRecord.calls, 1);
}

TEST_F(ExceptionGuard, CoversTheWindowProceduresOfAMessageLoopInsideTheMode) {
    EXPECT_EQ(runGuarded(faultsInsideAMessageLoop, nullptr), -1);
    EXPECT_FALSE(pastTheFault);
    EXPECT_EQ(filterRecord.lastCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    DestroyWindow(FindWindowA(FAULTING_CLASS, NULL));
}

} // namespace
