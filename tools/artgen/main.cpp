// Writes the saver's five bitmaps. Usage: artgen OUTPUT_FOLDER [FONT_FOLDER]
#include "tools/artgen/bitmap8.h"
#include "tools/artgen/flares.h"
#include "tools/artgen/logo.h"

#include <cstdio>
#include <string>

int main(int argc, char **argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: artgen OUTPUT_FOLDER [FONT_FOLDER]\n");
        return 2;
    }
    const std::string out = argv[1];
    const std::string fonts = argc == 3 ? argv[2] : "/usr/share/fonts/truetype/dejavu";

    Bitmap8 logo;
    if (!makeLogo(fonts, logo)) {
        std::fprintf(stderr, "artgen: cannot read the DejaVu fonts in %s\n", fonts.c_str());
        return 1;
    }
    const FlarePair white = makeWhiteFlare();
    const FlarePair red = makeRedFlare();
    const struct {
        const char *name;
        const Bitmap8 &bitmap;
    } files[] = {{"logo.bmp", logo},
                 {"flare_white_alpha.bmp", white.alpha},
                 {"flare_red_alpha.bmp", red.alpha},
                 {"flare_white.bmp", white.color},
                 {"flare_red.bmp", red.color}};
    for (const auto &file : files) {
        const std::string path = out + "/" + file.name;
        if (!writeBitmap8File(path, file.bitmap)) {
            std::fprintf(stderr, "artgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
