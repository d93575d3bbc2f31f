#include "registry_values.h"

#include <gtest/gtest.h>

namespace {
const char KEY[] = "SOFTWARE\\Quorlith";
}

void deleteSettingsKey() {
    LONG status = RegDeleteKeyA(HKEY_LOCAL_MACHINE, KEY);
    ASSERT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) << status;
}

void storeRawValue(const char *name, DWORD type, const std::vector<BYTE> &data) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, KEY, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, data.data(), static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

std::vector<BYTE> dwordBytes(LONG value) {
    DWORD bits = static_cast<DWORD>(value);
    return {BYTE(bits), BYTE(bits >> 8), BYTE(bits >> 16), BYTE(bits >> 24)};
}

void storeDwordValue(const char *name, LONG value) {
    storeRawValue(name, REG_DWORD, dwordBytes(value));
}

StoredValue storedValue(const char *name) {
    StoredValue value{false, 0, {}};
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return value;
    BYTE data[64];
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, nullptr, &value.type, data, &size) == ERROR_SUCCESS) {
        value.present = true;
        value.data.assign(data, data + size);
    }
    RegCloseKey(key);
    return value;
}

bool settingsKeyExists() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}
