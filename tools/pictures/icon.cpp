// The desktop icon, from the title picture's pieces: the night palette and sky, a
// crescent moon, snowy ridges and cedars, and 灯 lettered as the title is.
#include "tools/pictures/icon.h"

#include <algorithm>

#include "tools/pictures/interface.h"
#include "tools/pictures/style.h"

namespace art {

namespace {

constexpr int Supersample = 4;

// Each pixel the mean of a Supersample x Supersample block of the finished drawing.
Image Reduce(const std::vector<uint32_t>& big, int side) {
    Image image{side, side, std::vector<uint32_t>(size_t(side) * side)};
    const int bigSide = side * Supersample, n = Supersample * Supersample;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            uint32_t r = 0, g = 0, b = 0;
            for (int dy = 0; dy < Supersample; ++dy)
                for (int dx = 0; dx < Supersample; ++dx) {
                    uint32_t p = big[size_t(y * Supersample + dy) * bigSide + x * Supersample + dx];
                    r += p >> 16 & 255, g += p >> 8 & 255, b += p & 255;
                }
            image.pixels[size_t(y) * side + x] = (r + n / 2) / n << 16 | (g + n / 2) / n << 8 | (b + n / 2) / n;
        }
    return image;
}

}  // namespace

Image Icon(int side) {
    const int s = side * Supersample;
    const float u = float(s) / 512;  // the layout is set on a 512-pixel square
    Canvas c = MakeCanvas(s, s, Hex(0));
    Sky(c, Night, 430 * u);
    // A few bright stars that stay visible when small, over the title's fine field.
    Stars(c, 902, 1.0f, 430 * u);
    const Point bright[] = {{70, 70}, {130, 30}, {452, 220}, {40, 250}, {470, 330}};
    for (const Point& p : bright) {
        Dot(c, p.x * u, p.y * u, 3 * u, Hex(0xFFF4E0), 0.9f);
        Glow(c, p.x * u, p.y * u, 9 * u, Hex(0xC8D8FF), 0.25f);
    }
    Moon(c, 436 * u, 70 * u, 36 * u, Hex(0xF4ECD8), 0.55f);
    Mask ridge = MaskOf(c, Ridge(s, 420 * u, 70 * u, 0.008f / u, 903, float(s)));
    Cut(c, ridge, Night.far, 0.3f);
    SnowOnTop(c, ridge, Night.snow * 0.45f, std::max(1, int(4 * u)));
    Mask woods = MaskOf(c, Woods(s, 470 * u, 52 * u, 905, float(s)));
    Cut(c, woods, Night.mid, 0.35f);
    SnowOnTop(c, woods, Night.snow * 0.55f, std::max(1, int(3 * u)));
    // Thin Mincho hairlines vanish at 48 pixels: the smaller the icon, the bolder.
    float weight = side <= 64 ? 14 * u : side <= 160 ? 8 * u : 4 * u;
    Glow(c, 246 * u, 250 * u, 170 * u, Night.light, 0.16f);
    GlowingTitle(c, "灯", 246 * u, 104 * u, 300 * u, weight);
    return Reduce(Finish(c, 3), side);
}

}  // namespace art
