#include "dialog_script.h"

#include "host/saver_host.h"

#include <gtest/gtest.h>

namespace {
const UINT TICK_MS = 15;
const int TICK_LIMIT = 600;
const INT_PTR STUCK_RESULT = -99;

struct ScriptState {
    const std::vector<DialogStep> *steps;
    size_t next;
    int ticks;
    bool gaveUp;
};
ScriptState script;

struct WindowSearch {
    const char *caption;
    HWND found;
};

BOOL CALLBACK matchDialog(HWND window, LPARAM lParam) {
    WindowSearch *search = reinterpret_cast<WindowSearch *>(lParam);
    char className[32];
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770" && windowText(window) == search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

void giveUp(HWND dialog) {
    script.gaveUp = true;
    ADD_FAILURE() << "dialog script stuck at step " << script.next;
    if (HWND box = findDialogWindow("About")) EndDialog(box, IDOK);
    EndDialog(dialog, STUCK_RESULT);
}

void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = findDialogWindow("Dialog");
    // The dialog manager shows the dialog only once its queue first runs empty; a user acts on what is shown.
    if (!dialog || script.gaveUp || !IsWindowVisible(dialog)) return;
    if (++script.ticks > TICK_LIMIT) {
        giveUp(dialog);
        return;
    }
    if (script.next < script.steps->size() && (*script.steps)[script.next](dialog)) ++script.next;
}
} // namespace

HWND findDialogWindow(const char *caption) {
    WindowSearch search{caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), matchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string windowText(HWND window) {
    char text[512];
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void finishPainting(HWND dialog) {
    RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void postKey(HWND target, UINT virtualKey) {
    PostMessageA(target, WM_KEYDOWN, virtualKey, 1);
    PostMessageA(target, WM_KEYUP, virtualKey, 0xC0000001);
}

void postClick(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

INT_PTR runConfigDialog(const std::vector<DialogStep> &steps) {
    script = ScriptState{&steps, 0, 0, false};
    UINT_PTR timer = SetTimer(nullptr, 0, TICK_MS, tick);
    // The same path as the configure switch: owned by the foreground window.
    saverHost.instance = GetModuleHandleA(nullptr);
    INT_PTR result = showConfigDialog(GetForegroundWindow());
    KillTimer(nullptr, timer);
    EXPECT_EQ(script.next, steps.size()) << "the dialog ended before its script did";
    return result;
}
