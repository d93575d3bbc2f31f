// Stands in for the system's password component: answers what the test
// told it, counts the verifications, and runs the test's hook inside each
// one so the test can act while a check is under way.
#include <windows.h>

typedef void(WINAPI *VerifyHook)(HWND);

static BOOL answer;
static int verifications;
static VerifyHook hook;

extern "C" BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    ++verifications;
    if (hook != NULL) hook(window);
    return answer;
}

extern "C" void WINAPI TestSetVerify(BOOL newAnswer, VerifyHook newHook) {
    answer = newAnswer;
    hook = newHook;
    verifications = 0;
}

extern "C" int WINAPI TestVerifications() {
    return verifications;
}
