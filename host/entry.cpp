// Process entry: one run mode per process, its result the exit code.
#include "host/run_mode.h"
#include "host/saver_host.h"
#include "settings/settings.h"

SaverHostState saverHost = {
    NULL, false, NULL, false, false, false, NULL, NULL, 0xFFFFFFFF, NULL, NULL, NULL, {0, 0},
};

namespace {

const int NO_MODE_RESULT = -1;
const WORD CONFIG_DIALOG_ID = 2003;

// Window handles are significant in their low 32 bits on every Windows, so
// a parsed number names the same window in 32-bit and 64-bit processes.
HWND windowFromHandle(DWORD value) {
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(value));
}

bool detectWin95Family() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

} // namespace

static_assert(sizeof(OSVERSIONINFOA) == 148, "GetVersionExA expects the basic version record");

int runPreview(const char *text) {
    HWND parent = windowFromHandle(parseHandle(text));
    if (parent == NULL || !IsWindow(parent)) return NO_MODE_RESULT;
    return runSaverWindow(parent);
}

int showConfigDialog(HWND parent) {
    if (!prepareDialogControls(saverHost.instance)) return 0;
    return static_cast<int>(
        DialogBoxParamA(saverHost.instance, MAKEINTRESOURCEA(CONFIG_DIALOG_ID), parent, configDialogProc, 0));
}

int runPasswordChangeMode(const char *text) {
    HWND owner = windowFromHandle(parseHandle(text));
    if (owner == NULL || !IsWindow(owner)) owner = GetForegroundWindow();
    changePassword(owner);
    return 0;
}

int runModeOfTail(const char *tail) {
    const char *rest = NULL;
    switch (parseSaverMode(tail, &rest)) {
    case SAVER_MODE_CONFIG:
        return showConfigDialog(NULL);
    case SAVER_MODE_CONFIG_FOREGROUND:
        return showConfigDialog(GetForegroundWindow());
    case SAVER_MODE_FULL_SCREEN:
        return runSaverWindow(NULL);
    case SAVER_MODE_PREVIEW:
        return runPreview(rest);
    case SAVER_MODE_PASSWORD_CHANGE:
        if (!saverHost.isWin95Family) return NO_MODE_RESULT;
        return runPasswordChangeMode(rest);
    case SAVER_MODE_NONE:
        break;
    }
    return NO_MODE_RESULT;
}

int dispatchMode(HINSTANCE instance, HINSTANCE, const char *commandTail, int) {
    saverHost.instance = instance;
    saverHost.isWin95Family = detectWin95Family();
    return runGuarded(runModeOfTail, commandTail);
}

void saverEntry() {
    const char *tail = extractCommandTail(GetCommandLineA());
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    int showCommand = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    int result = dispatchMode(GetModuleHandleA(NULL), NULL, tail, showCommand);
    // Straight to the system: no exit processing of the runtime runs after a
    // mode.
    ExitProcess(static_cast<UINT>(result));
}
