// Build-time icon tool: draws the desktop icons from the title picture as the picture tool
// drew it, so that they follow the title art. The square at the middle of the title is
// scaled down by area averaging. Usage: akari_icon_tool tit.sad out-folder; writes
// akari-48.png, akari-128.png and akari-256.png.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "draw/kaDraw.h"
#include "platform/png_file.h"

static bool ReadFile(const char* path, std::vector<uint8_t>* bytes) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    uint8_t buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        bytes->insert(bytes->end(), buffer, buffer + n);
    return std::fclose(f) == 0 && !bytes->empty();
}

// The side x side square at (left, top) of the picture, as size x size pixels: each
// one the mean of the source pixels its area covers (whole pixels, for sharp edges).
static std::vector<uint32_t> Shrink(const kaDraw::Surface* s, int left, int top, int side,
                                    int size) {
    std::vector<uint32_t> out(size_t(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int x0 = left + x * side / size, x1 = std::max(x0 + 1, left + (x + 1) * side / size);
            int y0 = top + y * side / size, y1 = std::max(y0 + 1, top + (y + 1) * side / size);
            uint64_t r = 0, g = 0, b = 0, n = 0;
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx, ++n) {
                    uint32_t p = kaDraw::ReadPixel(s, sx, sy);
                    r += (p >> 16) & 0xFF;
                    g += (p >> 8) & 0xFF;
                    b += p & 0xFF;
                }
            out[size_t(y) * size + x] = uint32_t((r / n) << 16 | (g / n) << 8 | (b / n));
        }
    return out;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s tit.sad out-folder\n", argv[0]);
        return 2;
    }
    std::vector<uint8_t> bytes;
    kaDraw::Surface* title = nullptr;
    if (ReadFile(argv[1], &bytes))
        title = kaDraw::DecodeBmp(bytes.data(), bytes.size(), kaDraw::FormatXRGB8888);
    if (!title) {
        std::fprintf(stderr, "%s: not a picture the game reads\n", argv[1]);
        return 1;
    }
    int side = std::min(title->width, title->height);
    int left = (title->width - side) / 2, top = (title->height - side) / 2;
    for (int size : {48, 128, 256}) {
        std::string path = std::string(argv[2]) + "/akari-" + std::to_string(size) + ".png";
        if (!WritePngFile(path, size, size, Shrink(title, left, top, side, size).data())) {
            std::fprintf(stderr, "%s: cannot write\n", path.c_str());
            return 1;
        }
    }
    kaDraw::FreeSurface(title);
    return 0;
}
