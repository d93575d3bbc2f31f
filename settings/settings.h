// The three registry settings of the saver and the configuration dialog.
#ifndef COMET_SETTINGS_H
#define COMET_SETTINGS_H

#include <windows.h>

struct SaverSettings {
    LONG LogoOn;
    LONG NbStars;
    LONG Percent;
};

const SaverSettings SAVER_DEFAULTS = {1, 500, 20};
const SaverSettings DIALOG_DEFAULTS = {1, 500, 25};

LONG readSetting(const char *name, LONG defaultValue);
SaverSettings readSaverSettings(const SaverSettings &defaults);
void writeSetting(const char *name, LONG value);
void writeSaverSettings(const SaverSettings &settings);

BOOL prepareDialogControls(HINSTANCE instance);
INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void initTrackbar(HWND trackbar, int minimum, int maximum, int position);
extern const char aboutText[];

#endif
