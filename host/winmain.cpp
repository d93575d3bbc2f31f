// The executable's entry: the saver reads its own command line.
#include "host/saver_host.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    saverEntry();
    return 0;
}
