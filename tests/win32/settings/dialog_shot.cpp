// Writes a picture of the configuration dialog, as the configure switch opens it, to a 24-bit BMP file
// (docs/dialog.png is made from it). Not a test: run it by hand under Wine and Xvfb.
#include "host/saver_host.h"

#include <cstdio>
#include <vector>

namespace {
const char *outputPath;
int result = 1;

bool writeBmp(HDC source, int x, int y, int width, int height) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap =
        CreateDIBSection(source, reinterpret_cast<BITMAPINFO *>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return false;
    HDC memory = CreateCompatibleDC(source);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    DWORD rowBytes = (width * 3 + 3) & ~3;
    DWORD imageSize = rowBytes * height;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + imageSize;
    header.biSizeImage = imageSize;
    bool written = false;
    if (FILE *out = std::fopen(outputPath, "wb")) {
        written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                  std::fwrite(&header, sizeof header, 1, out) == 1 &&
                  std::fwrite(bits, imageSize, 1, out) == 1;
        written = std::fclose(out) == 0 && written;
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return written;
}

void CALLBACK capture(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowA("#32770", "Dialog");
    if (!dialog || !IsWindowVisible(dialog)) return;
    KillTimer(nullptr, timer);
    RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT rect;
    GetWindowRect(dialog, &rect);
    HDC screen = GetDC(nullptr);
    result = writeBmp(screen, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top) ? 0 : 1;
    ReleaseDC(nullptr, screen);
    EndDialog(dialog, 0);
}
} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: settings_dialog_shot OUTPUT.bmp\n");
        return 2;
    }
    outputPath = argv[1];
    SetTimer(nullptr, 0, 300, capture);
    saverHost.instance = GetModuleHandleA(nullptr);
    showConfigDialog(GetForegroundWindow());
    return result;
}
