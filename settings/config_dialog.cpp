// The configuration dialog: number of stars, comet speed, logo on or off.
#include "settings.h"

#include <commctrl.h>

const char aboutText[] = "Comet screen saver 1.0\n"
                         "Made by Quorlith, 2026\n"
                         "Thanks to everyone who helped with the Windows code\n"
                         "Contact: comet@quorlith.example\n"
                         "Stay tuned for next release !";

BOOL prepareDialogControls(HINSTANCE) {
    InitCommonControls();
    return TRUE;
}

INT_PTR CALLBACK configDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
