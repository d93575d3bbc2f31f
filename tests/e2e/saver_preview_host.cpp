// Plays the display settings dialog for the preview: a plain window whose
// handle goes to the saver's /p switch. It writes "shoot.now" in its working
// folder once the preview has had time to paint, waits for "shot.done",
// destroys its window and exits with the saver's exit code (200 when the
// saver did not end, 201 when it could not be started, 203 when no preview
// window of the host's client size was made inside the host).
#include <string>
#include <windows.h>

static void pumpFor(DWORD milliseconds, const char *untilFile) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        if (untilFile != NULL && GetFileAttributesA(untilFile) != INVALID_FILE_ATTRIBUTES) return;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

int main(int argc, char **argv) {
    if (argc < 2) return 202;
    WNDCLASSA hostClass = {};
    hostClass.lpfnWndProc = DefWindowProcA;
    hostClass.hInstance = GetModuleHandleA(NULL);
    hostClass.hbrBackground = CreateSolidBrush(RGB(0, 255, 0));
    hostClass.lpszClassName = "PreviewHost";
    RegisterClassA(&hostClass);
    // A pop-up has no frame, so its client area starts at (100, 100).
    HWND host = CreateWindowExA(0, "PreviewHost", "Preview Host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                100, 100, 320, 240, NULL, NULL, hostClass.hInstance, NULL);
    pumpFor(300, NULL);

    std::string command =
        "\"" + std::string(argv[1]) + "\" /p " + std::to_string(reinterpret_cast<ULONG_PTR>(host));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) return 201;

    pumpFor(3000, NULL);
    HWND preview = FindWindowExA(host, NULL, "WindowsScreenSaverClass", "Preview");
    RECT client = {};
    bool previewFits =
        preview && GetClientRect(preview, &client) && client.right == 320 && client.bottom == 240;
    CloseHandle(CreateFileA("shoot.now", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    pumpFor(20000, "shot.done");
    DestroyWindow(host);
    pumpFor(200, NULL);

    DWORD code = 200;
    if (WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return previewFits ? static_cast<int>(code) : 203;
}
