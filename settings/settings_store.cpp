// The three settings in the registry of the local machine, read and written value by value.
#include "settings.h"

#include <cstring>

namespace {
const char SETTINGS_KEY[] = "SOFTWARE\\Quorlith";
}

LONG readSetting(const char *name, LONG defaultValue) {
    HKEY key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, &key) != ERROR_SUCCESS) return defaultValue;
    LONG result = defaultValue;
    // A separate buffer and an exact size check: a shorter value must not leave default bytes mixed with
    // stored ones. The type is not asked for, so any 4 bytes are taken.
    BYTE data[4];
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, nullptr, nullptr, data, &size) == ERROR_SUCCESS && size == sizeof data)
        std::memcpy(&result, data, sizeof result);
    RegCloseKey(key);
    return result;
}

SaverSettings readSaverSettings(const SaverSettings &defaults) {
    SaverSettings settings;
    settings.LogoOn = readSetting("LogoOn", defaults.LogoOn);
    settings.NbStars = readSetting("NbStars", defaults.NbStars);
    settings.Percent = readSetting("Percent", defaults.Percent);
    return settings;
}

void writeSetting(const char *name, LONG value) {
    HKEY key;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, SETTINGS_KEY, &key) != ERROR_SUCCESS) return;
    DWORD data = static_cast<DWORD>(value);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&data), sizeof data);
    RegCloseKey(key);
}

void writeSaverSettings(const SaverSettings &settings) {
    writeSetting("LogoOn", settings.LogoOn);
    writeSetting("NbStars", settings.NbStars);
    writeSetting("Percent", settings.Percent);
}
