// The Windows display of our Glide device: a window of its own that covers
// the primary monitor like a card taking the monitor over, while the
// program's own window keeps the keyboard focus and the mouse.
#include "glide/platform_display.h"
#include "glide/win32/frame_placement.h"
#include "glide/win32/swap_clock.h"

#include <windows.h>

#include <cstring>

namespace {

const char DISPLAY_CLASS_NAME[] = "CometGlideDisplay";

struct DisplayWindowState {
    HWND window;
    HWND lastForeground;
    bool paced;
    bool hasFrame;
    SwapClock clock;
    BITMAPINFO bitmapInfo;
    // The last picture shown, kept for repainting.
    std::uint32_t lastFrame[DISPLAY_WIDTH * DISPLAY_HEIGHT];
};

DisplayWindowState displayState;

void initBitmapInfo(BITMAPINFO *info) {
    std::memset(info, 0, sizeof(*info));
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = DISPLAY_WIDTH;
    // Negative height: rows top down, as the device hands them over.
    info->bmiHeader.biHeight = -DISPLAY_HEIGHT;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 32;
    info->bmiHeader.biCompression = BI_RGB;
}

// Stretching from 32 bits a pixel costs the system less than from 565 (about
// a third less CPU a frame measured under Wine at 1920 x 1080), more than
// paying for this pass.
void keepFrame(const std::uint16_t *pixels) {
    for (int i = 0; i < DISPLAY_WIDTH * DISPLAY_HEIGHT; i++) {
        std::uint32_t p = pixels[i];
        std::uint32_t r = p >> 11, g = (p >> 5) & 63, b = p & 31;
        displayState.lastFrame[i] = (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
    }
    displayState.hasFrame = true;
}

void fillBorders(HDC dc, int areaWidth, int areaHeight, const FramePlacement &frame) {
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RECT parts[4] = {
        {0, 0, areaWidth, frame.y},
        {0, frame.y + frame.height, areaWidth, areaHeight},
        {0, frame.y, frame.x, frame.y + frame.height},
        {frame.x + frame.width, frame.y, areaWidth, frame.y + frame.height},
    };
    for (const RECT &part : parts)
        if (part.right > part.left && part.bottom > part.top) FillRect(dc, &part, black);
}

void drawFrame(HDC dc) {
    RECT client;
    GetClientRect(displayState.window, &client);
    FramePlacement frame = placeFrame(client.right, client.bottom);
    fillBorders(dc, client.right, client.bottom, frame);
    if (!displayState.hasFrame) {
        RECT inner = {frame.x, frame.y, frame.x + frame.width, frame.y + frame.height};
        FillRect(dc, &inner, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return;
    }
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, frame.x, frame.y, frame.width, frame.height, 0, 0, DISPLAY_WIDTH, DISPLAY_HEIGHT,
                  displayState.lastFrame, &displayState.bitmapInfo, DIB_RGB_COLORS, SRCCOPY);
}

LRESULT CALLBACK displayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        // The mouse belongs to the window underneath.
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        // WM_PAINT covers every pixel; erasing first would only flicker.
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (displayState.window == window) drawFrame(dc);
        EndPaint(window, &paint);
        return 0;
    }
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool registerDisplayClass(HINSTANCE instance) {
    WNDCLASSA existing;
    if (GetClassInfoA(instance, DISPLAY_CLASS_NAME, &existing)) return true;
    WNDCLASSA windowClass;
    std::memset(&windowClass, 0, sizeof(windowClass));
    windowClass.lpfnWndProc = displayWindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = DISPLAY_CLASS_NAME;
    return RegisterClassA(&windowClass) != 0;
}

// An entry point that older systems may lack; the caller casts it to its
// real type.
void (*systemProcedure(HMODULE module, const char *name))() {
    return reinterpret_cast<void (*)()>(GetProcAddress(module, name));
}

// The program may hold the thread for seconds without reading messages (the
// logo intro); the system must not replace our window with a ghost then.
// Looked up at run time: older systems lack it.
void disableGhosting() {
    typedef void(WINAPI * DisableGhostingFn)();
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32) return;
    DisableGhostingFn disable =
        reinterpret_cast<DisableGhostingFn>(systemProcedure(user32, "DisableProcessWindowsGhosting"));
    if (disable) disable();
}

// HTTRANSPARENT passes the mouse only to windows of the same thread, and
// not every system honours it for a full-screen window; a layered window
// that is transparent to input passes it on everywhere. Looked up at run
// time: systems before layered windows lack it, and there HTTRANSPARENT
// does the work alone.
void makeTransparentToInput(HWND window) {
    typedef BOOL(WINAPI * SetLayeredAttributesFn)(HWND, COLORREF, BYTE, DWORD);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32) return;
    SetLayeredAttributesFn setAttributes =
        reinterpret_cast<SetLayeredAttributesFn>(systemProcedure(user32, "SetLayeredWindowAttributes"));
    if (!setAttributes) return;
    LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    SetWindowLongA(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED | WS_EX_TRANSPARENT);
    setAttributes(window, 0, 255, LWA_ALPHA);
}

bool pacingDisabledByEnvironment() {
    char value[8];
    DWORD length = GetEnvironmentVariableA("COMET_GLIDE_NO_PACING", value, sizeof(value));
    return length > 0 && length < sizeof(value) && std::strcmp(value, "1") == 0;
}

// Another window shown above ours (the program's own topmost window comes
// up after the display opened) would hide the picture: go back on top,
// without taking the activation. Invisible windows above do not count.
void keepOnTop() {
    HWND above = GetWindow(displayState.window, GW_HWNDPREV);
    while (above && !IsWindowVisible(above))
        above = GetWindow(above, GW_HWNDPREV);
    HWND foreground = GetForegroundWindow();
    bool newForeground = foreground != displayState.lastForeground;
    displayState.lastForeground = foreground;
    if (above) {
        SetWindowPos(displayState.window, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOOWNERZORDER);
    } else if (newForeground && foreground && foreground != displayState.window) {
        // A window shown after we were created can end up above us on the
        // screen while the system's order still lists us first (Wine: a
        // window mapped after ours): step down and back up, so the order is
        // applied to the screen again.
        SetWindowPos(displayState.window, HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOOWNERZORDER);
        SetWindowPos(displayState.window, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOOWNERZORDER);
    }
}

// Only our own window's messages: input and everything else queued for the
// program's windows must stay queued for the program to read.
void pumpOwnMessages() {
    MSG message;
    while (PeekMessageA(&message, displayState.window, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

} // namespace

bool platformDisplayOpen() {
    if (displayState.window) return true;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!registerDisplayClass(instance)) return false;
    disableGhosting();
    initBitmapInfo(&displayState.bitmapInfo);
    displayState.hasFrame = false;
    displayState.paced = !pacingDisabledByEnvironment();
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    HWND window =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, DISPLAY_CLASS_NAME, "Comet",
                        WS_POPUP, 0, 0, width, height, nullptr, nullptr, instance, nullptr);
    if (!window) return false;
    displayState.window = window;
    displayState.lastForeground = GetForegroundWindow();
    makeTransparentToInput(window);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    HDC dc = GetDC(window);
    drawFrame(dc);
    ReleaseDC(window, dc);
    if (displayState.paced) timeBeginPeriod(1);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    swapClockStart(&displayState.clock, swapClockNow(), frequency.QuadPart);
    return true;
}

void platformDisplayPresent(const std::uint16_t *pixels, int swapInterval) {
    if (!displayState.window) return;
    keepFrame(pixels);
    if (displayState.paced) {
        std::int64_t deadline = swapClockNextDeadline(&displayState.clock, swapClockNow(), swapInterval);
        swapClockWaitUntil(&displayState.clock, deadline);
    }
    keepOnTop();
    HDC dc = GetDC(displayState.window);
    drawFrame(dc);
    ReleaseDC(displayState.window, dc);
    pumpOwnMessages();
}

void platformDisplayClose() {
    if (!displayState.window) return;
    HWND window = displayState.window;
    displayState.window = nullptr;
    DestroyWindow(window);
    if (displayState.paced) timeEndPeriod(1);
    displayState.hasFrame = false;
}
