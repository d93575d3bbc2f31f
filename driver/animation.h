// The animation procedure: the middle layer of the saver window's messages.
#ifndef COMET_ANIMATION_H
#define COMET_ANIMATION_H

#include <windows.h>

const UINT_PTR FRAME_START_TIMER = 1;

LRESULT animationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void runFramePump(HWND window);
void paintPreviewPicture(HWND window);

#endif
