// Runs the configuration dialog modally while a thread timer plays a script against it from inside the
// dialog's own message loop, one step per tick.
#ifndef COMET_TESTS_DIALOG_SCRIPT_H
#define COMET_TESTS_DIALOG_SCRIPT_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A step returns false to be retried on the next tick (it waits for something), true to move on.
typedef std::function<bool(HWND dialog)> DialogStep;

INT_PTR runConfigDialog(const std::vector<DialogStep> &steps);

HWND findDialogWindow(const char *caption);
std::string windowText(HWND window);
void finishPainting(HWND dialog);
// Posted, so the dialog's own loop (and IsDialogMessage) handles them as it would real input.
void postKey(HWND target, UINT virtualKey);
void postClick(HWND dialog, int id);

#endif
