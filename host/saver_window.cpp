// The saver window: its two forms, the single-instance check, the message
// loop, and the host's two layers of message handling around the animation
// procedure.
#include "driver/animation.h"
#include "host/module_entry.h"
#include "host/saver_host.h"

namespace {

const char SAVER_CLASS_NAME[] = "WindowsScreenSaverClass";
const char FULL_SCREEN_NAME[] = "Screen Saver";
const char PREVIEW_NAME[] = "Preview";

// Only a module that is already in the process is used; loading IMM32 here
// would drag the input-method machinery into a saver that never takes text.
void detachInputMethod(HWND window) {
    saverHost.imeModule = GetModuleHandleA("IMM32.DLL");
    if (saverHost.imeModule == NULL) return;
    saverHost.associateContextEntry =
        moduleEntry<AssociateContextEntry>(saverHost.imeModule, "ImmAssociateContext");
    if (saverHost.associateContextEntry == NULL) return;
    saverHost.savedInputContext = saverHost.associateContextEntry(window, NULL);
}

void restoreInputMethod(HWND window) {
    if (saverHost.imeModule != NULL && saverHost.associateContextEntry != NULL &&
        saverHost.savedInputContext != NULL)
        saverHost.associateContextEntry(window, saverHost.savedInputContext);
}

DWORD axisDistance(LONG a, LONG b) {
    return a >= b ? static_cast<DWORD>(a) - static_cast<DWORD>(b)
                  : static_cast<DWORD>(b) - static_cast<DWORD>(a);
}

// The message's own position is not used: small movements are measured
// against a fixed reference so that they add up until they pass the
// threshold.
void applyMouseRule(HWND window) {
    POINT cursor;
    GetCursorPos(&cursor);
    DWORD distance = axisDistance(cursor.x, saverHost.referenceCursor.x) +
                     axisDistance(cursor.y, saverHost.referenceCursor.y);
    if (distance > static_cast<DWORD>(MOUSE_MOVE_THRESHOLD)) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        saverHost.referenceCursor = cursor;
    }
}

// A help request carries a pointer to its HELPINFO, which the system only
// carries to the parent (usually in another process) when it is sent; a
// posted one is refused. The context menu carries only a position.
LRESULT forwardHelpToParent(HWND window, UINT message, LPARAM lParam) {
    HWND parent = GetParent(window);
    if (parent == NULL || !IsWindow(parent)) return 1;
    if (message == WM_HELP)
        SendMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
    else
        PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
    return 1;
}

bool isSwitchingCommand(WPARAM command) {
    return command == SC_NEXTWINDOW || command == SC_PREVWINDOW || command == SC_SCREENSAVE;
}

} // namespace

int runSaverWindow(HWND parent) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = saverWindowProc;
    windowClass.hInstance = saverHost.instance;
    windowClass.hIcon = LoadIconA(saverHost.instance, MAKEINTRESOURCEA(100));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = SAVER_CLASS_NAME;

    const char *name;
    DWORD style;
    DWORD extendedStyle;
    int width;
    int height;
    if (parent != NULL) {
        RECT client = {};
        GetClientRect(parent, &client);
        width = client.right;
        height = client.bottom;
        name = PREVIEW_NAME;
        style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
        extendedStyle = 0;
        saverHost.isPreview = true;
    } else {
        width = GetSystemMetrics(SM_CXSCREEN);
        height = GetSystemMetrics(SM_CYSCREEN);
        name = FULL_SCREEN_NAME;
        style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        extendedStyle = WS_EX_TOPMOST;
        HWND running = FindWindowA(SAVER_CLASS_NAME, FULL_SCREEN_NAME);
        if (running != NULL && IsWindow(running)) {
            SetForegroundWindow(running);
            return 0;
        }
        loadPasswordModule();
    }

    if (RegisterClassA(&windowClass) != 0)
        saverHost.saverWindow = CreateWindowExA(extendedStyle, SAVER_CLASS_NAME, name, style, 0, 0, width,
                                                height, parent, NULL, saverHost.instance, NULL);

    // No quit code exists when the window was never made; report it as a
    // failure rather than as a normal end.
    int result = -1;
    if (saverHost.saverWindow != NULL) {
        if (parent == NULL) SetForegroundWindow(saverHost.saverWindow);
        MSG msg = {};
        while (GetMessageA(&msg, NULL, 0, 0)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        result = static_cast<int>(msg.wParam);
    }
    unloadPasswordModule();
    return result;
}

LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        detachInputMethod(window);
        GetCursorPos(&saverHost.referenceCursor);
        if (!saverHost.isPreview) SetCursor(NULL);
        break;
    case WM_DESTROY:
        restoreInputMethod(window);
        PostQuitMessage(0);
        break;
    case WM_SETTEXT:
        return 0;
    case WM_PAINT:
        if (saverHost.closeApproved) return DefWindowProcA(window, message, wParam, lParam);
        if (!saverHost.isPreview) SetCursor(NULL);
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        if (saverHost.isPreview) return forwardHelpToParent(window, message, lParam);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (saverHost.closeApproved) return DefWindowProcA(window, message, wParam, lParam);
        break;
    case WM_SYSCOMMAND:
        if (!saverHost.isPreview && isSwitchingCommand(wParam)) return 0;
        break;
    case WM_TIMER:
        if (saverHost.closeApproved) return 0;
        Sleep(0);
        break;
    default:
        break;
    }
    return animationProc(window, message, wParam, lParam);
}

LRESULT closeOnInputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (saverHost.isPreview || saverHost.closeApproved)
        return DefWindowProcA(window, message, wParam, lParam);

    if (message == WM_CLOSE) {
        if (saverHost.isWin95Family && !verifyBeforeClose(window)) {
            GetCursorPos(&saverHost.referenceCursor);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == SAVER_MSG_VERIFY) {
        if (!saverHost.isWin95Family) return DefWindowProcA(window, message, wParam, lParam);
        return saverHost.pwdVerifyEntry != NULL ? saverHost.pwdVerifyEntry(window) : 1;
    }
    if (saverHost.passwordCheckActive) return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam != 0) SetCursor(NULL);
        break;
    case WM_ACTIVATEAPP:
        if (wParam == 0) PostMessageA(window, WM_CLOSE, 0, 0);
        break;
    case WM_SETCURSOR:
        SetCursor(NULL);
        return 1;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        PostMessageA(window, WM_CLOSE, 0, 0);
        break;
    case WM_MOUSEMOVE:
        applyMouseRule(window);
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
