// Direct access to the settings key for tests, independent of the code under test.
#ifndef COMET_TESTS_REGISTRY_VALUES_H
#define COMET_TESTS_REGISTRY_VALUES_H

#include <windows.h>

#include <vector>

struct StoredValue {
    bool present;
    DWORD type;
    std::vector<BYTE> data;
};

void deleteSettingsKey();
void storeRawValue(const char *name, DWORD type, const std::vector<BYTE> &data);
void storeDwordValue(const char *name, LONG value);
StoredValue storedValue(const char *name);
bool settingsKeyExists();
std::vector<BYTE> dwordBytes(LONG value);

#endif
