// Looks up an export of a module loaded at run time with its real type.
#ifndef COMET_MODULE_ENTRY_H
#define COMET_MODULE_ENTRY_H

#include <windows.h>

// The detour through a plain function pointer tells the compiler that the
// type change is meant: GetProcAddress only knows an untyped entry.
template <typename Entry> Entry moduleEntry(HMODULE module, const char *name) {
    return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

#endif
