// The configuration dialog: the logo check box, the star-count and big-star trackbars, OK, About, Cancel.
#include "settings.h"

#include <commctrl.h>
#include <cstdio>

namespace {
const int ID_STARS_TRACKBAR = 1000;
const int ID_STARS_LABEL = 1001;
const int ID_LOGO_CHECKBOX = 1002;
const int ID_PERCENT_TRACKBAR = 1003;
const int ID_PERCENT_LABEL = 1004;
const int ID_ABOUT_BUTTON = 1005;

LONG trackbarPosition(HWND dialog, int id) {
    return static_cast<LONG>(SendDlgItemMessageA(dialog, id, TBM_GETPOS, 0, 0));
}

void showPosition(HWND dialog, int labelId, LONG position) {
    char text[8];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(position));
    SetDlgItemTextA(dialog, labelId, text);
}

// Each value is read just before its control is set, so the dialog always opens on what is stored now.
void initControls(HWND dialog) {
    CheckDlgButton(dialog, ID_LOGO_CHECKBOX,
                   static_cast<UINT>(readSetting("LogoOn", DIALOG_DEFAULTS.LogoOn)));
    initTrackbar(GetDlgItem(dialog, ID_STARS_TRACKBAR), 50, 1000,
                 readSetting("NbStars", DIALOG_DEFAULTS.NbStars));
    initTrackbar(GetDlgItem(dialog, ID_PERCENT_TRACKBAR), 1, 90,
                 readSetting("Percent", DIALOG_DEFAULTS.Percent));
}

// The labels follow the trackbars through their paint and release notifications.
void refreshLabels(HWND dialog) {
    LONG stars = trackbarPosition(dialog, ID_STARS_TRACKBAR);
    LONG percent = trackbarPosition(dialog, ID_PERCENT_TRACKBAR);
    showPosition(dialog, ID_STARS_LABEL, stars);
    showPosition(dialog, ID_PERCENT_LABEL, percent);
}

void storeControls(HWND dialog) {
    writeSetting("LogoOn", static_cast<LONG>(IsDlgButtonChecked(dialog, ID_LOGO_CHECKBOX)));
    writeSetting("NbStars", trackbarPosition(dialog, ID_STARS_TRACKBAR));
    writeSetting("Percent", trackbarPosition(dialog, ID_PERCENT_TRACKBAR));
}
} // namespace

const char aboutText[] = "Comet screen saver 1.0\n"
                         "Made by Quorlith, 2026\n"
                         "Thanks to everyone who helped with the Windows code\n"
                         "Contact: comet@quorlith.example\n"
                         "Stay tuned for next release !";

BOOL prepareDialogControls(HINSTANCE) {
    InitCommonControls();
    return TRUE;
}

void initTrackbar(HWND trackbar, int minimum, int maximum, int position) {
    SendMessageA(trackbar, TBM_SETRANGE, FALSE, MAKELONG(minimum, maximum));
    SendMessageA(trackbar, TBM_SETPOS, TRUE, position);
}

INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        initControls(dialog);
        // TRUE lets the dialog manager focus the first tab stop, the OK button.
        return TRUE;
    case WM_NOTIFY:
        refreshLabels(dialog);
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            storeControls(dialog);
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        case ID_ABOUT_BUTTON:
            MessageBoxA(GetActiveWindow(), aboutText, "About", MB_OK);
            return FALSE;
        }
        return FALSE;
    }
    return FALSE;
}
