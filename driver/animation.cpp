// The animation procedure: starts the display and scene with the full-screen
// window, pumps frames with a self-posted message, shuts the display down
// with the window, and paints the still picture in the preview.
#include "driver/animation.h"
#include "display/display.h"
#include "host/saver_host.h"
#include "scene/scene.h"

namespace {

const WORD PREVIEW_PICTURE = 104;
const DWORD FRAME_START_DELAY_MS = 100;

LRESULT createDisplay(HWND window) {
    if (saverHost.isPreview) return 0;
    if (!initDisplayAndScene(saverHost.instance)) {
        MessageBoxA(GetActiveWindow(), "Init Failed", NULL, MB_OK);
        return -1;
    }
    SetTimer(window, FRAME_START_TIMER, FRAME_START_DELAY_MS, NULL);
    return 0;
}

} // namespace

// Input already waiting for the window stops the chain for good; the close
// rules then decide what the input means.
void runFramePump(HWND window) {
    renderFrame();
    MSG scratch;
    if (PeekMessageA(&scratch, window, WM_KEYFIRST, 0x108, PM_NOREMOVE)) return;
    if (PeekMessageA(&scratch, window, WM_MOUSEFIRST, 0x209, PM_NOREMOVE)) return;
    PostMessageA(window, SAVER_MSG_FRAME, 0, 0);
}

// The picture's rows are stored top of the 3-D display first, so as a plain
// bitmap it is upside down. Each full-size copy starting one row lower
// overwrites the rows below it, which leaves client row y holding picture
// row h - 1 - y.
void paintPreviewPicture(HWND window) {
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(window, &paint);
    RECT client = {};
    GetClientRect(window, &client);
    int w = client.right;
    int h = client.bottom;
    HANDLE picture = LoadImageA(saverHost.instance, MAKEINTRESOURCEA(PREVIEW_PICTURE), IMAGE_BITMAP, w, h,
                                LR_DEFAULTCOLOR);
    HDC memory = CreateCompatibleDC(hdc);
    HGDIOBJ replaced = SelectObject(memory, picture);
    for (int i = 0; i < h; ++i)
        BitBlt(hdc, 0, i, w, h, memory, 0, h - 1 - i, SRCCOPY);
    SelectObject(memory, replaced);
    DeleteObject(picture);
    DeleteDC(memory);
    EndPaint(window, &paint);
}

LRESULT animationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return createDisplay(window);
    case WM_TIMER:
        PostMessageA(window, SAVER_MSG_FRAME, 0, 0);
        KillTimer(window, FRAME_START_TIMER);
        return 0;
    case SAVER_MSG_FRAME:
        runFramePump(window);
        return 0;
    case WM_DESTROY:
        if (!saverHost.isPreview) shutdownDisplay();
        return 0;
    case WM_PAINT:
        if (!saverHost.isPreview) break;
        paintPreviewPicture(window);
        return 0;
    default:
        break;
    }
    return closeOnInputProc(window, message, wParam, lParam);
}
