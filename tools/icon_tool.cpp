// Build-time icon tool: draws the desktop icons with the picture tool's drawing code,
// from the title picture's pieces, and writes them as PNG files.
// Usage: akari_icon_tool out-folder; writes akari-48.png, akari-128.png, akari-256.png.
#include <cstdio>
#include <string>

#include "tools/png_file.h"
#include "tools/pictures/icon.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s out-folder\n", argv[0]);
        return 2;
    }
    for (int side : {48, 128, 256}) {
        art::Image icon = art::Icon(side);
        std::string path = std::string(argv[1]) + "/akari-" + std::to_string(side) + ".png";
        if (!WritePngFile(path, side, side, icon.pixels.data())) {
            std::fprintf(stderr, "%s: cannot write\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
