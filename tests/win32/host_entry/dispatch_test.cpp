// Run modes that end without a window, and the platform family, in Wine's
// default mode (the Windows NT family).
#include "host/saver_host.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int dispatch(const char *tail) {
    return dispatchMode(GetModuleHandleA(NULL), NULL, tail, SW_SHOWNORMAL);
}

// The number of a window that existed once and exists no more.
DWORD goneWindowNumber() {
    HWND window = CreateWindowExA(0, "STATIC", "gone", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    DWORD number = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(window));
    DestroyWindow(window);
    return number;
}

TEST(DefaultFamily, DispatchStoresTheInstanceAndFindsNoWin95Family) {
    HINSTANCE instance = GetModuleHandleA(NULL);
    saverHost.isWin95Family = true;
    EXPECT_EQ(dispatchMode(instance, NULL, "/x", SW_SHOWNORMAL), -1);
    EXPECT_EQ(saverHost.instance, instance);
    EXPECT_FALSE(saverHost.isWin95Family);
}

TEST(DefaultFamily, TailsThatNameNoUsableModeGiveMinusOne) {
    const std::string gone = "/p " + std::to_string(goneWindowNumber());
    const char *tails[] = {
        "/x",
        "/1",
        "/\ts",
        "\xe9",
        "/p",
        "/p 0",
        "/p:1234",
        "/l 0",
        "/p 4294967296",
        gone.c_str(),
        // The password change exists only on the Windows 95 family.
        "/a",
        "/A 1234",
    };
    for (const char *tail : tails)
        EXPECT_EQ(dispatch(tail), -1) << "tail: " << tail;
}

bool previewChildSeen;

// Ends the preview the way the display settings do: by destroying its parent.
void CALLBACK closePreviewParent(HWND parent, UINT, UINT_PTR, DWORD) {
    previewChildSeen = FindWindowExA(parent, NULL, "WindowsScreenSaverClass", "Preview") != NULL;
    DestroyWindow(parent);
}

TEST(DefaultFamily, PreviewRunsInsideTheWindowThatAWrappedHandleNames) {
    HWND parent =
        CreateWindowExA(0, "STATIC", "preview parent", WS_POPUP, 0, 0, 160, 120, NULL, NULL, NULL, NULL);
    ASSERT_NE(parent, nullptr);
    // Three times 2^32 above the window's number: the handle wraps back onto it.
    unsigned long long number = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(parent)) + (3ull << 32);
    const std::string tail = "/l " + std::to_string(number);
    previewChildSeen = false;
    SetTimer(parent, 1, 300, closePreviewParent);
    EXPECT_EQ(dispatch(tail.c_str()), 0);
    EXPECT_TRUE(previewChildSeen);
    EXPECT_FALSE(IsWindow(parent));
}

} // namespace
