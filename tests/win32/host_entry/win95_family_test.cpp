// Run under Wine's Windows 98 mode: the platform family and the running
// state that the exception guard lowers.
#include "host/run_mode.h"
#include "host/saver_host.h"

#include <gtest/gtest.h>

namespace {

const UINT SET_SCREENSAVER_RUNNING = 97;
const UINT GET_SCREENSAVER_RUNNING = 114;

bool systemSaverRunning() {
    BOOL running = FALSE;
    EXPECT_TRUE(SystemParametersInfoA(GET_SCREENSAVER_RUNNING, 0, &running, 0));
    return running != FALSE;
}

LONG WINAPI executeHandler(EXCEPTION_POINTERS *) {
    return EXCEPTION_EXECUTE_HANDLER;
}

volatile int *volatile nowhere = nullptr;

int writesThroughNull(const char *) {
    *nowhere = 1;
    return 3;
}

TEST(Win95Family, DispatchDetectsTheFamily) {
    EXPECT_EQ(dispatchMode(GetModuleHandleA(NULL), NULL, "/x", SW_SHOWNORMAL), -1);
    EXPECT_TRUE(saverHost.isWin95Family);
}

TEST(Win95Family, AFaultInsideTheGuardLowersTheRunningState) {
    ASSERT_EQ(dispatchMode(GetModuleHandleA(NULL), NULL, "/x", SW_SHOWNORMAL), -1);
    UINT former = 0;
    ASSERT_TRUE(SystemParametersInfoA(SET_SCREENSAVER_RUNNING, TRUE, &former, 0));
    ASSERT_TRUE(systemSaverRunning());
    LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(executeHandler);
    EXPECT_EQ(runGuarded(writesThroughNull, nullptr), -1);
    SetUnhandledExceptionFilter(previous);
    EXPECT_FALSE(systemSaverRunning());
}

} // namespace
