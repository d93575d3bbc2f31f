// The run modes of the command tail and the exception guard around one mode.
#ifndef COMET_RUN_MODE_H
#define COMET_RUN_MODE_H

enum SaverMode {
    SAVER_MODE_NONE,
    SAVER_MODE_CONFIG,
    SAVER_MODE_CONFIG_FOREGROUND,
    SAVER_MODE_FULL_SCREEN,
    SAVER_MODE_PREVIEW,
    SAVER_MODE_PASSWORD_CHANGE,
};

// Reads the switch at the start of a command tail. `rest` receives the text
// that follows the switch (blanks after it passed over) for the modes that
// read a window handle, and the end of the tail otherwise.
SaverMode parseSaverMode(const char *tail, const char **rest);

// Runs the mode a command tail selects and returns its result.
int runModeOfTail(const char *tail);

typedef int (*GuardedMode)(const char *text);

// Runs mode(text) inside a structured-exception frame whose filter lets the
// system's unhandled-exception filter decide. When that answer selects the
// handler, the saver's running state is lowered and the result is
// GUARD_FAULT_RESULT.
int runGuarded(GuardedMode mode, const char *text);

const int GUARD_FAULT_RESULT = -1;

#endif
