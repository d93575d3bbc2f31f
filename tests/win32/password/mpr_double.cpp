// Stands in for the system's network-provider library: records the
// arguments of each password change it is asked for.
#include <windows.h>

static char provider[32];
static HWND parent;
static DWORD third;
static LPVOID fourth;
static int changes;

extern "C" DWORD WINAPI PwdChangePasswordA(LPCSTR providerName, HWND parentWindow, DWORD reserved,
                                           LPVOID data) {
    ++changes;
    lstrcpynA(provider, providerName != NULL ? providerName : "(null)", sizeof provider);
    parent = parentWindow;
    third = reserved;
    fourth = data;
    return 0;
}

extern "C" int WINAPI TestLastChange(char *providerOut, int size, HWND *parentOut, DWORD *thirdOut,
                                     LPVOID *fourthOut) {
    lstrcpynA(providerOut, provider, size);
    *parentOut = parent;
    *thirdOut = third;
    *fourthOut = fourth;
    return changes;
}
