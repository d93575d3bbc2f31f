// Stored saver settings for display tests: written before a run, removed
// after it so that every test starts from the defaults.
#ifndef COMET_TESTS_SAVER_REGISTRY_H
#define COMET_TESTS_SAVER_REGISTRY_H

#include <windows.h>

void storeSaverSetting(const char *name, DWORD value);
void removeSaverSettings();

#endif
