// The command tail: what follows the program name, and the switch in it.
#include "host/run_mode.h"
#include "host/saver_host.h"

#include <cstring>

namespace {

unsigned char byteAt(const char *p) {
    return static_cast<unsigned char>(*p);
}

} // namespace

const char *extractCommandTail(const char *commandLine) {
    const char *p = commandLine;
    if (byteAt(p) == '"') {
        p = CharNextA(p);
        while (byteAt(p) != 0 && byteAt(p) != '"')
            p = CharNextA(p);
        if (byteAt(p) == '"') p = CharNextA(p);
    } else if (byteAt(p) > ' ') {
        // Bytes above 0x7F belong to the name too: only a blank or a
        // control byte ends it.
        while (byteAt(p) > ' ')
            p = CharNextA(p);
    }
    while (byteAt(p) != 0 && byteAt(p) <= ' ')
        p = CharNextA(p);
    return p;
}

DWORD parseHandle(const char *text) {
    DWORD value = 0;
    for (const char *p = text; byteAt(p) >= '0' && byteAt(p) <= '9'; ++p)
        value = value * 10 + (byteAt(p) - '0');
    return value;
}

SaverMode parseSaverMode(const char *tail, const char **rest) {
    const char *p = tail;
    while (*p == ' ' || *p == '-' || *p == '/')
        ++p;
    SaverMode mode = SAVER_MODE_NONE;
    switch (*p) {
    case '\0':
        mode = SAVER_MODE_CONFIG;
        break;
    case 'C':
    case 'c':
        mode = SAVER_MODE_CONFIG_FOREGROUND;
        break;
    case 'S':
    case 's':
        mode = SAVER_MODE_FULL_SCREEN;
        break;
    case 'P':
    case 'p':
    case 'L':
    case 'l':
        mode = SAVER_MODE_PREVIEW;
        break;
    case 'A':
    case 'a':
        mode = SAVER_MODE_PASSWORD_CHANGE;
        break;
    default:
        break;
    }
    if (mode == SAVER_MODE_PREVIEW || mode == SAVER_MODE_PASSWORD_CHANGE) {
        ++p;
        // Only blanks: a tab before the number stops the handle at once.
        while (*p == ' ')
            ++p;
        *rest = p;
    } else {
        *rest = p + strlen(p);
    }
    return mode;
}
