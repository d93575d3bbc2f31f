// The configuration dialog driven as a user would: trackbar keys, check box clicks, the buttons, Escape,
// the close box and the About box.
#include "dialog_script.h"
#include "registry_values.h"
#include "settings/settings.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {
const int STARS = 1000, STARS_LABEL = 1001, LOGO = 1002, PERCENT = 1003, PERCENT_LABEL = 1004, ABOUT = 1005;

// Moves both trackbars to their far ends and clears the check box, then checks the labels followed.
std::vector<DialogStep> moveEverything() {
    return {
        [](HWND dialog) {
            SetFocus(GetDlgItem(dialog, STARS));
            postKey(GetDlgItem(dialog, STARS), VK_END);
            return true;
        },
        [](HWND dialog) {
            SetFocus(GetDlgItem(dialog, PERCENT));
            postKey(GetDlgItem(dialog, PERCENT), VK_HOME);
            postClick(dialog, LOGO);
            return true;
        },
        [](HWND dialog) {
            finishPainting(dialog);
            EXPECT_EQ(SendDlgItemMessageA(dialog, STARS, TBM_GETPOS, 0, 0), 1000);
            EXPECT_EQ(SendDlgItemMessageA(dialog, PERCENT, TBM_GETPOS, 0, 0), 1);
            EXPECT_EQ(IsDlgButtonChecked(dialog, LOGO), UINT(BST_UNCHECKED));
            EXPECT_EQ(windowText(GetDlgItem(dialog, STARS_LABEL)), "1000");
            EXPECT_EQ(windowText(GetDlgItem(dialog, PERCENT_LABEL)), "1");
            return true;
        },
    };
}

void expectStored(const char *name, LONG value) {
    StoredValue stored = storedValue(name);
    EXPECT_TRUE(stored.present) << name;
    EXPECT_EQ(stored.type, DWORD(REG_DWORD)) << name;
    EXPECT_EQ(stored.data, dwordBytes(value)) << name;
}

class ConfigDialog : public ::testing::Test {
  protected:
    void SetUp() override { deleteSettingsKey(); }
};

TEST_F(ConfigDialog, AnyNotificationRefreshesBothLabelsFromTheTrackbars) {
    std::vector<DialogStep> steps = {[](HWND dialog) {
        EXPECT_EQ(windowText(dialog), "Dialog");
        // A notification from any control refreshes both labels from the trackbars.
        SetDlgItemTextA(dialog, STARS_LABEL, "x");
        SetDlgItemTextA(dialog, PERCENT_LABEL, "y");
        NMHDR header{GetDlgItem(dialog, LOGO), UINT_PTR(LOGO), 0};
        SendMessageA(dialog, WM_NOTIFY, LOGO, reinterpret_cast<LPARAM>(&header));
        EXPECT_EQ(windowText(GetDlgItem(dialog, STARS_LABEL)), "500");
        EXPECT_EQ(windowText(GetDlgItem(dialog, PERCENT_LABEL)), "25");
        postClick(dialog, IDCANCEL);
        return true;
    }};
    EXPECT_EQ(runConfigDialog(steps), 0);
}

TEST_F(ConfigDialog, EnterAfterMovingStoresTheMovedValuesAndReturnsOne) {
    std::vector<DialogStep> steps = moveEverything();
    // Enter goes to the default button, OK, through the dialog's own key handling.
    steps.push_back([](HWND) {
        postKey(GetFocus(), VK_RETURN);
        return true;
    });
    EXPECT_EQ(runConfigDialog(steps), 1);
    expectStored("LogoOn", 0);
    expectStored("NbStars", 1000);
    expectStored("Percent", 1);
}

struct Dismissal {
    const char *label;
    void (*dismiss)(HWND dialog);
};

void PrintTo(const Dismissal &d, std::ostream *os) {
    *os << d.label;
}

const Dismissal DISMISSALS[] = {
    {"Cancel button", [](HWND dialog) { postClick(dialog, IDCANCEL); }},
    {"Escape key", [](HWND) { postKey(GetFocus(), VK_ESCAPE); }},
    {"close box", [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
};

class DismissedDialog : public ::testing::TestWithParam<Dismissal> {
  protected:
    void SetUp() override {
        deleteSettingsKey();
        storeDwordValue("NbStars", 20);
        storeDwordValue("Percent", 95);
    }
};

TEST_P(DismissedDialog, StoresNothingAndReturnsZeroAfterMoves) {
    std::vector<DialogStep> steps = moveEverything();
    steps.push_back([](HWND dialog) {
        GetParam().dismiss(dialog);
        return true;
    });
    EXPECT_EQ(runConfigDialog(steps), 0);
    EXPECT_FALSE(storedValue("LogoOn").present);
    expectStored("NbStars", 20);
    expectStored("Percent", 95);
}

INSTANTIATE_TEST_SUITE_P(Ways, DismissedDialog, ::testing::ValuesIn(DISMISSALS));

struct BoxContents {
    std::vector<std::string> statics;
    std::vector<std::string> visibleButtons;
};

BOOL CALLBACK collectChild(HWND child, LPARAM lParam) {
    BoxContents *contents = reinterpret_cast<BoxContents *>(lParam);
    char className[32];
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0 && !windowText(child).empty())
        contents->statics.push_back(windowText(child));
    if (lstrcmpiA(className, "Button") == 0 && IsWindowVisible(child))
        contents->visibleButtons.push_back(windowText(child));
    return TRUE;
}

TEST_F(ConfigDialog, AboutShowsTheTextOverTheDialogAndStoresNothing) {
    std::vector<DialogStep> steps = moveEverything();
    steps.push_back([](HWND dialog) {
        postClick(dialog, ABOUT);
        return true;
    });
    steps.push_back([](HWND dialog) {
        HWND box = findDialogWindow("About");
        if (!box) return false;
        EXPECT_EQ(GetWindow(box, GW_OWNER), dialog);
        EXPECT_FALSE(IsWindowEnabled(dialog));
        BoxContents contents;
        EnumChildWindows(box, collectChild, reinterpret_cast<LPARAM>(&contents));
        EXPECT_EQ(contents.statics, std::vector<std::string>{aboutText});
        EXPECT_EQ(contents.visibleButtons, std::vector<std::string>{"OK"});
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    steps.push_back([](HWND dialog) {
        if (findDialogWindow("About")) return false;
        EXPECT_TRUE(IsWindowEnabled(dialog));
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(SendDlgItemMessageA(dialog, STARS, TBM_GETPOS, 0, 0), 1000);
        EXPECT_FALSE(settingsKeyExists());
        postClick(dialog, IDCANCEL);
        return true;
    });
    EXPECT_EQ(runConfigDialog(steps), 0);
    EXPECT_FALSE(settingsKeyExists());
}

TEST(AboutText, FiveLinesJoinedByLineFeedsAlone) {
    std::string text = aboutText;
    EXPECT_EQ(text.find('\r'), std::string::npos);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
    size_t lines = 1;
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
        EXPECT_NE(text[at + 1], '\n') << "empty line at " << at;
        ++lines;
    }
    EXPECT_EQ(lines, 5u);
    EXPECT_EQ(text.substr(0, text.find('\n')), "Comet screen saver 1.0");
    EXPECT_EQ(text.substr(text.rfind('\n') + 1), "Stay tuned for next release !");
}
} // namespace
