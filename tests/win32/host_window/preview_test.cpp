// The preview window inside a host window of the test: no display work, no
// closing on input, help forwarded to the host, the picture upright.
#include "host/saver_host.h"
#include "tests/support/glide_recorder.h"
#include "tests/win32/host_window/saver_run.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

struct HostMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<HostMessage> hostMessages;

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HELP || message == WM_CONTEXTMENU) {
        hostMessages.push_back(HostMessage{message, wParam, lParam});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND makeHost() {
    WNDCLASSA hostClass = {};
    hostClass.lpfnWndProc = hostProc;
    hostClass.hInstance = GetModuleHandleA(NULL);
    hostClass.lpszClassName = "PreviewTestHost";
    RegisterClassA(&hostClass);
    return CreateWindowExA(0, "PreviewTestHost", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 30, 200, 170,
                           NULL, NULL, hostClass.hInstance, NULL);
}

// Runs the preview in a fresh host, runs `body` once the queue is quiet,
// then `after` on the next quiet tick, and ends the way the preview host
// ends it: by destroying the parent.
int withPreview(const std::function<void(HWND host, HWND preview)> &body,
                const std::function<void(HWND host, HWND preview)> &after) {
    resetSaverHost(false);
    writeQuickSettings();
    HWND host = makeHost();
    EXPECT_NE(HWND(NULL), host);
    int ticks = 0;
    SaverRun run = {};
    run.onIdle = [&]() {
        ++ticks;
        if (ticks == 1) body(host, saverHost.saverWindow);
        if (ticks == 2) {
            after(host, saverHost.saverWindow);
            DestroyWindow(host);
        }
    };
    int result = runSaverScript(host, run);
    EXPECT_FALSE(run.watchdogFired);
    EXPECT_EQ(0, run.frames);
    EXPECT_TRUE(glideCalls.empty());
    EXPECT_FALSE(IsWindow(saverHost.saverWindow));
    return result;
}

int cbtSystemCommands;

LRESULT CALLBACK countSystemCommands(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_SYSCOMMAND) {
        ++cbtSystemCommands;
        return 1;
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

// Client row y must hold row h - 1 - y of the picture loaded at the client
// size; also shows that the picture is not its own mirror image, so the
// comparison can tell upright from upside down.
void expectMirroredPicture(HWND preview) {
    RedrawWindow(preview, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT client;
    GetClientRect(preview, &client);
    int w = client.right, h = client.bottom;
    HBITMAP picture = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(104), IMAGE_BITMAP, w, h, LR_DEFAULTCOLOR));
    ASSERT_NE(HBITMAP(NULL), picture);
    HDC screen = GetDC(preview);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, picture);
    int mismatches = 0, unmirroredMismatches = 0, samples = 0;
    for (int y = 0; y < h; y += 3)
        for (int x = 0; x < w; x += 5) {
            ++samples;
            COLORREF shown = GetPixel(screen, x, y);
            if (shown != GetPixel(memory, x, h - 1 - y)) ++mismatches;
            if (shown != GetPixel(memory, x, y)) ++unmirroredMismatches;
        }
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(preview, screen);
    DeleteObject(picture);
    EXPECT_EQ(0, mismatches) << "of " << samples << " samples at " << w << "x" << h;
    EXPECT_GT(unmirroredMismatches, samples / 10);
}

TEST(PreviewWindow, IsAChildOfTheHostWithItsClientSize) {
    int result = withPreview(
        [](HWND host, HWND preview) {
            EXPECT_EQ(host, GetParent(preview));
            char name[64] = {};
            GetWindowTextA(preview, name, sizeof name);
            EXPECT_STREQ("Preview", name);
            EXPECT_EQ(0x52000000u, static_cast<DWORD>(GetWindowLongA(preview, GWL_STYLE)));
            EXPECT_EQ(0, GetWindowLongA(preview, GWL_EXSTYLE) & WS_EX_TOPMOST);
            RECT hostClient, client;
            GetClientRect(host, &hostClient);
            GetClientRect(preview, &client);
            EXPECT_EQ(hostClient.right, client.right);
            EXPECT_EQ(hostClient.bottom, client.bottom);
            EXPECT_TRUE(saverHost.isPreview);
        },
        [](HWND, HWND) {});
    EXPECT_EQ(0, result);
}

TEST(PreviewWindow, InputNeverClosesAndSystemCommandsPassThrough) {
    withPreview(
        [](HWND, HWND preview) {
            const UINT closers[] = {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN,
                                    WM_MBUTTONDOWN};
            for (UINT message : closers)
                SendMessageA(preview, message, 0, 0);
            SendMessageA(preview, WM_ACTIVATEAPP, 0, 0);
            POINT cursor;
            GetCursorPos(&cursor);
            SetCursorPos(cursor.x + 50, cursor.y + 50);
            SendMessageA(preview, WM_MOUSEMOVE, 0, 0);
            EXPECT_FALSE(takePostedClose(preview));

            HHOOK hook = SetWindowsHookExA(WH_CBT, countSystemCommands, NULL, GetCurrentThreadId());
            cbtSystemCommands = 0;
            SendMessageA(preview, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
            SendMessageA(preview, WM_SYSCOMMAND, SC_NEXTWINDOW, 0);
            EXPECT_EQ(2, cbtSystemCommands);
            UnhookWindowsHookEx(hook);

            SetWindowTextA(preview, "Changed");
            char name[64] = {};
            GetWindowTextA(preview, name, sizeof name);
            EXPECT_STREQ("Preview", name);
        },
        [](HWND, HWND preview) { EXPECT_TRUE(IsWindow(preview)); });
}

HELPINFO helpRequest;

TEST(PreviewWindow, HelpRequestsGoToTheHostWithItsOwnHandle) {
    hostMessages.clear();
    withPreview(
        [](HWND, HWND preview) {
            helpRequest.cbSize = sizeof helpRequest;
            helpRequest.iCtrlId = 77;
            EXPECT_EQ(1, SendMessageA(preview, WM_HELP, 0, reinterpret_cast<LPARAM>(&helpRequest)));
            EXPECT_EQ(1,
                      SendMessageA(preview, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(preview), 0x00500040));
        },
        [](HWND host, HWND) {
            ASSERT_EQ(2u, hostMessages.size());
            EXPECT_EQ(UINT(WM_HELP), hostMessages[0].message);
            EXPECT_EQ(reinterpret_cast<WPARAM>(host), hostMessages[0].wParam);
            EXPECT_EQ(reinterpret_cast<LPARAM>(&helpRequest), hostMessages[0].lParam);
            EXPECT_EQ(UINT(WM_CONTEXTMENU), hostMessages[1].message);
            EXPECT_EQ(reinterpret_cast<WPARAM>(host), hostMessages[1].wParam);
            EXPECT_EQ(0x00500040, hostMessages[1].lParam);
        });
}

TEST(PreviewWindow, PaintsThePictureUprightAtTheCurrentSize) {
    withPreview([](HWND, HWND preview) { expectMirroredPicture(preview); },
                [](HWND, HWND preview) {
                    MoveWindow(preview, 0, 0, 97, 61, FALSE);
                    expectMirroredPicture(preview);
                });
}

} // namespace
