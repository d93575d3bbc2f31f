// The screen-saver host: process entry, run modes, the saver window and its
// message layers, the password lock. Shared state of one process.
#ifndef COMET_SAVER_HOST_H
#define COMET_SAVER_HOST_H

#include <windows.h>

const UINT SAVER_MSG_FRAME = 0x401;
const UINT SAVER_MSG_VERIFY = 0x8000;
const int MOUSE_MOVE_THRESHOLD = 4;
const DWORD PASSWORD_RECHECK_GUARD = 200;

typedef BOOL(WINAPI *PwdVerifyEntry)(HWND);
typedef HIMC(WINAPI *AssociateContextEntry)(HWND, HIMC);

struct SaverHostState {
    HINSTANCE instance;
    bool isWin95Family;
    HWND saverWindow;
    bool isPreview;
    bool closeApproved;
    bool passwordCheckActive;
    HMODULE passwordModule;
    PwdVerifyEntry pwdVerifyEntry;
    DWORD lastCheckTick;
    HMODULE imeModule;
    AssociateContextEntry associateContextEntry;
    HIMC savedInputContext;
    POINT referenceCursor;
};

extern SaverHostState saverHost;

void saverEntry();
int dispatchMode(HINSTANCE instance, HINSTANCE previousInstance, const char *commandTail, int showCommand);
const char *extractCommandTail(const char *commandLine);
DWORD parseHandle(const char *text);
int runPreview(const char *text);
int showConfigDialog(HWND parent);
int runPasswordChangeMode(const char *text);

int runSaverWindow(HWND parent);
LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT closeOnInputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void loadPasswordModule();
void unloadPasswordModule();
BOOL setSaverRunning(bool on);
bool verifyBeforeClose(HWND window);
void changePassword(HWND parent);

#endif
