// The display window under a real window manager stand-in (Wine): where it
// is, what it shows, and that the program's own window keeps focus, mouse
// and top place only as long as the display lets it.
#include "glide/glide.h"
#include "glide/platform_display.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct AppWindowRecord {
    HWND window;
    int buttonDowns;
};

AppWindowRecord app;

LRESULT CALLBACK appWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) app.buttonDowns++;
    return DefWindowProcA(window, message, wParam, lParam);
}

// Stands in for the program's own full-screen window: same thread, below
// the display until it is shown topmost.
HWND createAppWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = appWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = "GlideTestAppWindow";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "GlideTestAppWindow", "app", WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                           GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

void showAndActivate(HWND window, bool topmost) {
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(window);
    SetFocus(window);
}

// Lets the app window's queue run for a while, as the program's loop would.
void pumpFor(DWORD milliseconds) {
    DWORD end = GetTickCount() + milliseconds;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

bool openDisplay() {
    grGlideInit();
    return grSstWinOpen(0, GR_RESOLUTION_640x480, GR_REFRESH_60Hz, GR_COLORFORMAT_ARGB, GR_ORIGIN_UPPER_LEFT,
                        2, 0) != FXFALSE;
}

void swapBlack() {
    grBufferClear(0, 0, 0);
    grBufferSwap(1);
}

HWND findDisplayWindow() {
    return FindWindowA("CometGlideDisplay", nullptr);
}

// Four coloured quadrants, so placement and orientation both show.
void drawQuadrants() {
    const int w = DISPLAY_WIDTH / 2, h = DISPLAY_HEIGHT / 2;
    struct Quadrant {
        int x, y;
        GrColor_t colour;
    } quadrants[] = {{0, 0, 0xFFFF0000}, {w, 0, 0xFF00FF00}, {0, h, 0xFF0000FF}, {w, h, 0xFFFFFFFF}};
    for (const Quadrant &q : quadrants) {
        grClipWindow(q.x, q.y, q.x + w, q.y + h);
        grBufferClear(q.colour, 0xFF, 0);
    }
    grClipWindow(0, 0, DISPLAY_WIDTH, DISPLAY_HEIGHT);
}

// What the screen shows, as 0x00RRGGBB, read back through GDI.
struct ScreenShot {
    int width, height;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[y * width + x] & 0xFFFFFF; }
};

ScreenShot takeScreenShot() {
    ScreenShot shot;
    shot.width = GetSystemMetrics(SM_CXSCREEN);
    shot.height = GetSystemMetrics(SM_CYSCREEN);
    shot.pixels.resize(shot.width * shot.height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    std::memcpy(shot.pixels.data(), bits, shot.pixels.size() * 4);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

bool isTopVisibleWindow(HWND window) {
    HWND top = GetTopWindow(nullptr);
    while (top && !IsWindowVisible(top))
        top = GetWindow(top, GW_HWNDNEXT);
    return top == window;
}

// One app window for the whole suite: under Wine without a window manager,
// destroying an active full-screen window waits seconds for the X server.
class DisplayWindow : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { app.window = createAppWindow(); }
    static void TearDownTestSuite() { DestroyWindow(app.window); }
    void SetUp() override {
        SetEnvironmentVariableA("COMET_GLIDE_NO_PACING", "1");
        ASSERT_NE(app.window, nullptr);
        showAndActivate(app.window, false);
        pumpFor(100);
        app.buttonDowns = 0;
    }
    void TearDown() override {
        grGlideShutdown();
        pumpFor(50);
    }
};

TEST_F(DisplayWindow, CoversThePrimaryMonitorWithoutTakingTheFocus) {
    ASSERT_EQ(GetForegroundWindow(), app.window);

    ASSERT_TRUE(openDisplay());
    HWND display = findDisplayWindow();
    ASSERT_NE(display, nullptr);
    swapBlack();
    pumpFor(100);

    EXPECT_TRUE(IsWindowVisible(display));
    RECT rect;
    GetWindowRect(display, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
    LONG exStyle = GetWindowLongA(display, GWL_EXSTYLE);
    EXPECT_EQ(exStyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE),
              WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
    EXPECT_TRUE(isTopVisibleWindow(display));
    EXPECT_EQ(GetForegroundWindow(), app.window);
    EXPECT_EQ(GetActiveWindow(), app.window);
    EXPECT_EQ(GetFocus(), app.window);

    grGlideShutdown();
    EXPECT_FALSE(IsWindow(display));
    EXPECT_EQ(findDisplayWindow(), nullptr);
}

TEST_F(DisplayWindow, ClicksFallThroughToTheProgramsWindow) {
    ASSERT_TRUE(openDisplay());
    swapBlack();
    pumpFor(100);
    ASSERT_TRUE(isTopVisibleWindow(findDisplayWindow()));

    INPUT inputs[3] = {};
    for (INPUT &input : inputs)
        input.type = INPUT_MOUSE;
    inputs[0].mi.dx = inputs[0].mi.dy = 32768;
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(3, inputs, sizeof(INPUT)), 3u);
    pumpFor(300);

    EXPECT_EQ(app.buttonDowns, 1);
    EXPECT_EQ(GetForegroundWindow(), app.window);
}

TEST_F(DisplayWindow, GoesBackOnTopAtTheNextSwapWithoutActivating) {
    ASSERT_TRUE(openDisplay());
    HWND display = findDisplayWindow();
    swapBlack();

    // The program's window comes up topmost and active after the display.
    showAndActivate(app.window, true);
    pumpFor(100);
    ASSERT_TRUE(isTopVisibleWindow(app.window));

    swapBlack();
    pumpFor(100);
    EXPECT_TRUE(isTopVisibleWindow(display));
    EXPECT_EQ(GetForegroundWindow(), app.window);
    EXPECT_EQ(GetFocus(), app.window);
}

TEST_F(DisplayWindow, LeavesOtherWindowsMessagesQueued) {
    ASSERT_TRUE(openDisplay());
    PostMessageA(app.window, WM_KEYDOWN, VK_SPACE, 1);
    PostMessageA(app.window, WM_USER + 1, 0, 0);

    swapBlack();

    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, app.window, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE));
    EXPECT_TRUE(PeekMessageA(&message, app.window, WM_USER + 1, WM_USER + 1, PM_NOREMOVE));
}

// The picture is scaled to the screen with its 4:3 kept, black around it;
// it must be visible even though no message loop runs between swaps.
TEST_F(DisplayWindow, ShowsThePictureScaledWithItsAspectKept) {
    ASSERT_TRUE(openDisplay());
    for (int frame = 0; frame < 3; frame++) {
        drawQuadrants();
        grBufferSwap(1);
    }
    Sleep(200);
    ScreenShot shot = takeScreenShot();

    int scaledWidth = shot.width, scaledHeight = shot.height;
    if (shot.width * 3 > shot.height * 4)
        scaledWidth = shot.height * 4 / 3;
    else
        scaledHeight = shot.width * 3 / 4;
    int left = (shot.width - scaledWidth) / 2, top = (shot.height - scaledHeight) / 2;
    int right = left + scaledWidth - 1, bottom = top + scaledHeight - 1;
    int midX = left + scaledWidth / 2, midY = top + scaledHeight / 2;

    struct Probe {
        int x, y;
        std::uint32_t colour;
    } probes[] = {
        {left, top, 0xFF0000},     {right, top, 0x00FF00},         {left, bottom, 0x0000FF},
        {right, bottom, 0xFFFFFF}, {midX - 2, midY - 2, 0xFF0000}, {midX + 2, midY + 2, 0xFFFFFF},
    };
    for (const Probe &probe : probes)
        EXPECT_EQ(shot.at(probe.x, probe.y), probe.colour) << "at " << probe.x << "," << probe.y;
    if (left > 0) {
        EXPECT_EQ(shot.at(0, midY), 0u);
        EXPECT_EQ(shot.at(left - 1, midY), 0u);
        EXPECT_EQ(shot.at(right + 1, midY), 0u);
        EXPECT_EQ(shot.at(shot.width - 1, midY), 0u);
    }
    if (top > 0) {
        EXPECT_EQ(shot.at(midX, top - 1), 0u);
        EXPECT_EQ(shot.at(midX, bottom + 1), 0u);
    }
}

TEST_F(DisplayWindow, SwapsWaitForTheRetraceClock) {
    SetEnvironmentVariableA("COMET_GLIDE_NO_PACING", nullptr);
    struct Case {
        int swapInterval, swaps;
    } cases[] = {{1, 30}, {2, 15}};
    for (const Case &c : cases) {
        ASSERT_TRUE(openDisplay());
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        for (int swap = 0; swap < c.swaps; swap++)
            grBufferSwap(c.swapInterval);
        QueryPerformanceCounter(&end);
        grGlideShutdown();
        double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
        // Every swap waits for its retrace: 30 retraces are half a second.
        EXPECT_GE(seconds, 0.49) << "interval " << c.swapInterval;
    }
}

} // namespace
