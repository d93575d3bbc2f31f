#include "tests/win32/display/saver_registry.h"

#include <initializer_list>

static const char SAVER_KEY[] = "SOFTWARE\\Quorlith";

void storeSaverSetting(const char *name, DWORD value) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, SAVER_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value);
    RegCloseKey(key);
}

void removeSaverSettings() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SAVER_KEY, 0, KEY_WRITE, &key) != ERROR_SUCCESS) return;
    for (const char *name : {"LogoOn", "NbStars", "Percent"})
        RegDeleteValueA(key, name);
    RegCloseKey(key);
}
