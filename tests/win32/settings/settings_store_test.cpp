// Writing the three settings and reading them back, straight through the store.
#include "registry_values.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

namespace {
class SettingsStore : public ::testing::Test {
  protected:
    void SetUp() override { deleteSettingsKey(); }
};

TEST_F(SettingsStore, WritesCreateTheKeyAndStoreLittleEndianDwords) {
    writeSaverSettings({0, -5, 0x01020304});
    const std::pair<const char *, std::vector<BYTE>> expected[] = {
        {"LogoOn", {0, 0, 0, 0}}, {"NbStars", {0xFB, 0xFF, 0xFF, 0xFF}}, {"Percent", {4, 3, 2, 1}}};
    for (const auto &value : expected) {
        StoredValue stored = storedValue(value.first);
        EXPECT_TRUE(stored.present) << value.first;
        EXPECT_EQ(stored.type, DWORD(REG_DWORD)) << value.first;
        EXPECT_EQ(stored.data, value.second) << value.first;
    }
    SaverSettings read = readSaverSettings(SAVER_DEFAULTS);
    EXPECT_EQ(read.LogoOn, 0);
    EXPECT_EQ(read.NbStars, -5);
    EXPECT_EQ(read.Percent, 0x01020304);
}

TEST_F(SettingsStore, AWriteReplacesOnlyItsOwnValueWhateverItsOldType) {
    storeDwordValue("NbStars", 700);
    storeRawValue("Percent", REG_SZ, {'4', '0', 0});
    writeSetting("Percent", 40);
    EXPECT_EQ(readSetting("NbStars", 1), 700);
    EXPECT_EQ(readSetting("Percent", 1), 40);
    EXPECT_EQ(storedValue("Percent").type, DWORD(REG_DWORD));
    EXPECT_FALSE(storedValue("LogoOn").present);
}

TEST_F(SettingsStore, EachReadKeepsItsOwnDefaultWhenTheKeyIsMissing) {
    EXPECT_EQ(readSetting("NbStars", -123), -123);
    SaverSettings read = readSaverSettings(DIALOG_DEFAULTS);
    EXPECT_EQ(read.LogoOn, DIALOG_DEFAULTS.LogoOn);
    EXPECT_EQ(read.NbStars, DIALOG_DEFAULTS.NbStars);
    EXPECT_EQ(read.Percent, DIALOG_DEFAULTS.Percent);
    EXPECT_FALSE(settingsKeyExists()) << "reading must not create the key";
}
} // namespace
