// What is stored, as the saver reads it and as the dialog shows it; OK then stores what the dialog shows.
#include "dialog_script.h"
#include "registry_values.h"
#include "settings/settings.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {
struct RawValue {
    const char *name;
    DWORD type;
    std::vector<BYTE> data;
};

struct DialogView {
    UINT logoCheck;
    LONG stars;
    LONG percent;
};

struct StoredCase {
    const char *label;
    std::vector<RawValue> stored;
    SaverSettings saver;
    DialogView dialog;
};

void PrintTo(const StoredCase &c, std::ostream *os) {
    *os << c.label;
}

RawValue dword(const char *name, LONG value) {
    return {name, REG_DWORD, dwordBytes(value)};
}

const StoredCase CASES[] = {
    {"nothing stored", {}, {1, 500, 20}, {BST_CHECKED, 500, 25}},
    {"only Percent 40", {dword("Percent", 40)}, {1, 500, 40}, {BST_CHECKED, 500, 40}},
    {"LogoOn 0", {dword("LogoOn", 0)}, {0, 500, 20}, {BST_UNCHECKED, 500, 25}},
    // The check box gets 2 unchanged; a two-state check box shows it as checked.
    {"LogoOn 2", {dword("LogoOn", 2)}, {2, 500, 20}, {BST_CHECKED, 500, 25}},
    {"NbStars 5000", {dword("NbStars", 5000)}, {1, 5000, 20}, {BST_CHECKED, 1000, 25}},
    {"NbStars 0", {dword("NbStars", 0)}, {1, 0, 20}, {BST_CHECKED, 50, 25}},
    {"NbStars 7, Percent 90", {dword("NbStars", 7), dword("Percent", 90)}, {1, 7, 90}, {BST_CHECKED, 50, 90}},
    {"NbStars 20, Percent 95",
     {dword("NbStars", 20), dword("Percent", 95)},
     {1, 20, 95},
     {BST_CHECKED, 50, 90}},
    {"Percent as 4 raw bytes of binary type",
     {{"Percent", REG_BINARY, {0x1E, 0x00, 0x00, 0x00}}},
     {1, 500, 30},
     {BST_CHECKED, 500, 30}},
    // Too short counts as absent: no mix of the stored bytes with the default's.
    {"Percent of 2 bytes", {{"Percent", REG_BINARY, {0xFF, 0xFF}}}, {1, 500, 20}, {BST_CHECKED, 500, 25}},
    {"NbStars of 8 bytes",
     {{"NbStars", REG_QWORD, {0x58, 0x02, 0, 0, 0, 0, 0, 0}}},
     {1, 500, 20},
     {BST_CHECKED, 500, 25}},
    {"all three stored, Percent empty",
     {dword("LogoOn", 0), dword("NbStars", 300), {"Percent", REG_BINARY, {}}},
     {0, 300, 20},
     {BST_UNCHECKED, 300, 25}},
};

class StoredSettings : public ::testing::TestWithParam<StoredCase> {
  protected:
    void SetUp() override {
        deleteSettingsKey();
        for (const RawValue &value : GetParam().stored)
            storeRawValue(value.name, value.type, value.data);
    }
};

TEST_P(StoredSettings, SaverReadsThemAndDialogShowsThemThenOkStoresWhatItShows) {
    const StoredCase &c = GetParam();
    SaverSettings saver = readSaverSettings(SAVER_DEFAULTS);
    EXPECT_EQ(saver.LogoOn, c.saver.LogoOn);
    EXPECT_EQ(saver.NbStars, c.saver.NbStars);
    EXPECT_EQ(saver.Percent, c.saver.Percent);

    std::vector<DialogStep> steps = {
        [&](HWND dialog) {
            finishPainting(dialog);
            HWND stars = GetDlgItem(dialog, 1000);
            HWND percent = GetDlgItem(dialog, 1003);
            EXPECT_EQ(SendMessageA(stars, TBM_GETRANGEMIN, 0, 0), 50);
            EXPECT_EQ(SendMessageA(stars, TBM_GETRANGEMAX, 0, 0), 1000);
            EXPECT_EQ(SendMessageA(percent, TBM_GETRANGEMIN, 0, 0), 1);
            EXPECT_EQ(SendMessageA(percent, TBM_GETRANGEMAX, 0, 0), 90);
            EXPECT_EQ(IsDlgButtonChecked(dialog, 1002), c.dialog.logoCheck);
            EXPECT_EQ(SendMessageA(stars, TBM_GETPOS, 0, 0), c.dialog.stars);
            EXPECT_EQ(SendMessageA(percent, TBM_GETPOS, 0, 0), c.dialog.percent);
            EXPECT_EQ(windowText(GetDlgItem(dialog, 1001)), std::to_string(c.dialog.stars));
            EXPECT_EQ(windowText(GetDlgItem(dialog, 1004)), std::to_string(c.dialog.percent));
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK));
            postClick(dialog, IDOK);
            return true;
        },
    };
    EXPECT_EQ(runConfigDialog(steps), 1);

    const std::pair<const char *, LONG> expected[] = {{"LogoOn", static_cast<LONG>(c.dialog.logoCheck)},
                                                      {"NbStars", c.dialog.stars},
                                                      {"Percent", c.dialog.percent}};
    for (const auto &value : expected) {
        StoredValue stored = storedValue(value.first);
        EXPECT_TRUE(stored.present) << value.first;
        EXPECT_EQ(stored.type, DWORD(REG_DWORD)) << value.first;
        EXPECT_EQ(stored.data, dwordBytes(value.second)) << value.first;
    }
    // The saver then reads what the dialog stored.
    SaverSettings after = readSaverSettings(SAVER_DEFAULTS);
    EXPECT_EQ(after.NbStars, c.dialog.stars);
    EXPECT_EQ(after.Percent, c.dialog.percent);
}

INSTANTIATE_TEST_SUITE_P(Cases, StoredSettings, ::testing::ValuesIn(CASES));
} // namespace
