// The screen-saver password of the Windows 95 family: the system's password
// component decides whether the saver may close, and the system is told
// that a saver runs while that component is in force.
#include "host/password_lock.h"
#include "host/module_entry.h"
#include "host/saver_host.h"

bool insideRecheckGuard(DWORD now, DWORD lastCheckTick) {
    return lastCheckTick != NO_CHECK_TICK && now - lastCheckTick < PASSWORD_RECHECK_GUARD;
}

void loadPasswordModule() {
    if (!saverHost.isWin95Family) return;
    if (saverHost.passwordModule != NULL) unloadPasswordModule();

    HKEY key;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key) != ERROR_SUCCESS) return;
    DWORD usePassword = 0;
    DWORD size = sizeof usePassword;
    if (RegQueryValueExA(key, "ScreenSaveUsePassword", NULL, NULL, reinterpret_cast<BYTE *>(&usePassword),
                         &size) == ERROR_SUCCESS &&
        usePassword != 0) {
        saverHost.passwordModule = LoadLibraryA("PASSWORD.CPL");
        if (saverHost.passwordModule != NULL) {
            saverHost.pwdVerifyEntry =
                moduleEntry<PwdVerifyEntry>(saverHost.passwordModule, "VerifyScreenSavePwd");
            if (saverHost.pwdVerifyEntry != NULL)
                setSaverRunning(true);
            else
                unloadPasswordModule();
        }
    }
    RegCloseKey(key);
}

void unloadPasswordModule() {
    if (!saverHost.isWin95Family || saverHost.passwordModule == NULL) return;
    FreeLibrary(saverHost.passwordModule);
    saverHost.passwordModule = NULL;
    // The running state was raised exactly when the entry was found.
    if (saverHost.pwdVerifyEntry != NULL) {
        saverHost.pwdVerifyEntry = NULL;
        setSaverRunning(false);
    }
}

BOOL setSaverRunning(bool on) {
    if (!saverHost.isWin95Family) return FALSE;
    UINT formerState = 0;
    return SystemParametersInfoA(SPI_SCREENSAVERRUNNING, on ? 1 : 0, &formerState, 0);
}

bool verifyBeforeClose(HWND window) {
    if (saverHost.passwordCheckActive || saverHost.closeApproved) return false;
    if (saverHost.pwdVerifyEntry == NULL) {
        saverHost.closeApproved = true;
        return true;
    }
    // A refused check that has only just ended must not start another at
    // once: the same input that closed the dialog would reopen it.
    if (insideRecheckGuard(GetTickCount(), saverHost.lastCheckTick)) return false;

    saverHost.passwordCheckActive = true;
    MSG pending;
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    LRESULT answer = SendMessageA(window, SAVER_MSG_VERIFY, 0, 0);
    saverHost.closeApproved = answer != 0;
    saverHost.passwordCheckActive = false;
    if (answer == 0) SetCursor(NULL);
    saverHost.lastCheckTick = GetTickCount();
    return saverHost.closeApproved;
}

void changePassword(HWND parent) {
    HMODULE library = LoadLibraryA("MPR.DLL");
    if (library == NULL) return;
    typedef DWORD(WINAPI * PwdChangePasswordEntry)(LPCSTR, HWND, DWORD, LPVOID);
    PwdChangePasswordEntry change = moduleEntry<PwdChangePasswordEntry>(library, "PwdChangePasswordA");
    if (change != NULL) change("SCRSAVE", parent, 0, 0);
    FreeLibrary(library);
}
