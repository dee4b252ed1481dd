// Build-time icon tool: draws the desktop icons with the picture tool's drawing code,
// from the title picture's pieces, checks them, and writes them as PNG files.
// Usage: akari_icon_tool out-folder; writes akari-48.png, akari-128.png, akari-256.png.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/pictures/icon.h"
#include "tools/png_file.h"

static double Channel(uint32_t pixel, int shift) { return double(pixel >> shift & 255) / 255.0; }
static double Grey(uint32_t p) {
    return 0.299 * Channel(p, 16) + 0.587 * Channel(p, 8) + 0.114 * Channel(p, 0);
}

// What an icon must not be: nearly flat (its grey's deviation under 0.08), without its
// light pixels (the cream lettering and the moon) or swamped by them (outside 3 to 30 %),
// or another picture than the largest icon made small (each pixel against the mean of
// the largest's pixels it covers, an RMS difference over 0.12). "" when it is none.
static std::string IconFault(const art::Image& icon, const art::Image& largest) {
    const int side = icon.width, big = largest.width;
    double sum = 0, squares = 0, light = 0, difference = 0;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const uint32_t p = icon.pixels[size_t(y * side + x)];
            const double grey = Grey(p);
            sum += grey;
            squares += grey * grey;
            light += grey > 0.7;
            double mean[3] = {}, count = 0;
            for (int sy = y * big / side; sy < (y + 1) * big / side; ++sy)
                for (int sx = x * big / side; sx < (x + 1) * big / side; ++sx, ++count)
                    for (int c = 0; c < 3; ++c)
                        mean[c] += Channel(largest.pixels[size_t(sy * big + sx)], 16 - 8 * c);
            for (int c = 0; c < 3; ++c) difference += std::pow(mean[c] / count - Channel(p, 16 - 8 * c), 2);
        }
    }
    const double n = double(side) * side, deviation = std::sqrt(squares / n - (sum / n) * (sum / n));
    if (deviation < 0.08) return "nearly flat (deviation " + std::to_string(deviation) + ")";
    if (light / n < 0.03 || light / n > 0.3) return "light pixels " + std::to_string(light / n) + " of it";
    if (std::sqrt(difference / (3 * n)) > 0.12) return "not the largest icon made small";
    return "";
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s out-folder\n", argv[0]);
        return 2;
    }
    const std::vector<int> sides = {48, 128, 256};
    const art::Image largest = art::Icon(sides.back());
    for (int side : sides) {
        art::Image icon = art::Icon(side);
        std::string path = std::string(argv[1]) + "/akari-" + std::to_string(side) + ".png";
        const std::string fault = IconFault(icon, largest);
        if (!fault.empty()) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), fault.c_str());
            return 1;
        }
        if (!WritePngFile(path, side, side, icon.pixels.data())) {
            std::fprintf(stderr, "%s: cannot write\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
