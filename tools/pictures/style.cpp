// The palettes and the pieces of landscape, weather and lettering every scene shares.
#include "tools/pictures/style.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/screen_layout.h"

namespace art {

// sky top .. horizon; far, mid, near, front; light; snow; stars
const Palette Dusk = {{Hex(0x1B1E4E), Hex(0x3A3878), Hex(0x8A6AA4), Hex(0xE8A4A4)},
                      Hex(0x4E4678), Hex(0x36305E), Hex(0x231F42), Hex(0x16142C),
                      Hex(0xFFC46A), Hex(0xB4B0D8), 0.25f};
const Palette Night = {{Hex(0x060A20), Hex(0x0C1436), Hex(0x1A2652), Hex(0x2E3A6C)},
                       Hex(0x1F2A52), Hex(0x161E40), Hex(0x0F1530), Hex(0x0A0D22),
                       Hex(0xFFB458), Hex(0x58648E), 1.0f};
const Palette Blizzard = {{Hex(0x4A5880), Hex(0x6A7AA0), Hex(0x8E9EBE), Hex(0xB4C0D6)},
                          Hex(0x7C8CB0), Hex(0x5E6E98), Hex(0x44527C), Hex(0x303C66),
                          Hex(0xFFEAC4), Hex(0xE4EAF6), 0.0f};
const Palette Dawn = {{Hex(0x28306A), Hex(0x6A5A96), Hex(0xD690A2), Hex(0xFFD0A4)},
                      Hex(0x7A6892), Hex(0x5A4A7A), Hex(0x3C3258), Hex(0x261F3C),
                      Hex(0xFFE0B0), Hex(0xEACAD4), 0.15f};
const Palette Morning = {{Hex(0x2E6CB8), Hex(0x5C96D6), Hex(0xA2C8E6), Hex(0xE2EEF4)},
                         Hex(0x86A8CC), Hex(0x6482AC), Hex(0x465C84), Hex(0x2E3E5E),
                         Hex(0xFFF2D4), Hex(0xF4F6FA), 0.0f};
const Palette Summer = {{Hex(0x04121E), Hex(0x08222E), Hex(0x0E3842), Hex(0x1C4E52)},
                        Hex(0x12343C), Hex(0x0C2830), Hex(0x081E24), Hex(0x05151A),
                        Hex(0xDCFF6E), Hex(0x2E6E74), 0.6f};
const Palette Indoor = {{Hex(0x2A1A12), Hex(0x4A2E1C), Hex(0x6A4226), Hex(0x4E301C)},
                        Hex(0x3A2416), Hex(0x2C1A10), Hex(0x1E120A), Hex(0x140C07),
                        Hex(0xFFA648), Hex(0xF2DCB4), 0.0f};
const Palette Paper = {{Hex(0x1E140E), Hex(0x2E1E14), Hex(0x3E2A1A), Hex(0x2A1C12)},
                       Hex(0x4A3220), Hex(0x3A2618), Hex(0x2A1A10), Hex(0x1C1209),
                       Hex(0xFFD690), Hex(0xE6D8B6), 0.0f};

Palette Blend(const Palette& a, const Palette& b, float t) {
    Palette p;
    for (int i = 0; i < 4; ++i) p.sky[i] = Mix(a.sky[i], b.sky[i], t);
    p.far = Mix(a.far, b.far, t), p.mid = Mix(a.mid, b.mid, t);
    p.near = Mix(a.near, b.near, t), p.front = Mix(a.front, b.front, t);
    p.light = Mix(a.light, b.light, t), p.snow = Mix(a.snow, b.snow, t);
    p.stars = a.stars + (b.stars - a.stars) * t;
    return p;
}

Mask MaskOf(const Canvas& c, const Shape& s) {
    Mask m = MakeMask(c.width, c.height);
    Cover(m, s);
    return m;
}

void Cut(Canvas& c, const Mask& m, Rgb colour, float shadow) {
    if (shadow > 0) Shadow(c, m, 2, 3, 6, shadow, Hex(0x07060E));
    Paint(c, m, colour);
}

void Cut(Canvas& c, const Shape& s, Rgb colour, float shadow) { Cut(c, MaskOf(c, s), colour, shadow); }

void Rim(Canvas& c, const Mask& m, int dx, int dy, Rgb light, float strength) {
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            float a = m.At(x, y);
            if (a <= 0) continue;
            int sx = x + dx, sy = y + dy;
            float beyond = (sx < 0 || sy < 0 || sx >= c.width || sy >= c.height) ? 0.f : m.At(sx, sy);
            float edge = std::max(0.f, a - beyond);
            if (edge > 0) c.At(x, y) = Mix(c.At(x, y), light, edge * strength);
        }
}

void Sky(Canvas& c, const Palette& p, float horizon) {
    float h = std::max(1.f, horizon / float(c.height));
    SkyGradient(c, {{0, p.sky[0]}, {0.42f * h, p.sky[1]}, {0.8f * h, p.sky[2]}, {h, p.sky[3]}});
}

void Stars(Canvas& c, int seed, float amount, float horizon, int frame) {
    int count = int(amount * float(c.width) * horizon / 260.f);
    for (int i = 0; i < count; ++i) {
        float x = Hash(i, 1, seed) * float(c.width), y = Hash(i, 2, seed) * horizon;
        float b = Hash(i, 3, seed);
        b = b * b * b;
        float fade = std::clamp(1.f - y / horizon, 0.f, 1.f);
        float twinkle = 0.75f + 0.25f * std::sin(float(frame) * 1.9f + Hash(i, 4, seed) * 6.28f);
        Rgb tint = Mix(Hex(0xFFF4E0), Hex(0xC8D8FF), Hash(i, 5, seed));
        float k = (0.25f + b) * fade * twinkle;
        Dot(c, x, y, 0.45f + b * 0.6f, tint, std::min(1.f, k));
        if (b > 0.5f) Glow(c, x, y, 1.6f + b * 1.5f, tint, 0.18f * k);
    }
}

void Moon(Canvas& c, float x, float y, float r, Rgb colour, float crescent) {
    Glow(c, x, y, r * 2.5f, colour * 0.6f, 0.25f);
    Mask m = MaskOf(c, {Ellipse(x, y, r, r)});
    if (crescent > 0) Subtract(m, MaskOf(c, {Ellipse(x + r * crescent, y - r * 0.25f * crescent, r, r)}));
    Paint(c, m, colour);
}

Shape Ridge(int width, float base, float amplitude, float roughness, int seed, float bottom) {
    Contour c{{-2, bottom}};
    for (int x = -2; x <= width + 4; x += 3) {
        float n = Fbm1(float(x) * roughness, seed, 5);
        c.push_back({float(x), base - amplitude * n});
    }
    c.push_back({float(width + 4), bottom});
    return {c};
}

Contour Cedar(float x, float base, float height, int seed) {
    // Tiers of drooping branches, widening downward, on a short trunk.
    constexpr int Tiers = 7;
    float half = height * 0.22f;
    Contour left, right;
    for (int t = 0; t <= Tiers; ++t) {
        float f = float(t) / Tiers;
        float y = base - height + f * height * 0.88f;
        float w = half * (0.12f + 0.88f * f) * (0.8f + 0.4f * Hash(t, seed, 7));
        float inner = w * 0.55f;
        left.push_back({x - inner, y});
        left.push_back({x - w, y + height * 0.05f});
        right.push_back({x + inner, y});
        right.push_back({x + w * (0.85f + 0.3f * Hash(t, seed, 9)), y + height * 0.05f});
    }
    Contour c{{x, base - height * 1.02f}};
    c.insert(c.end(), right.begin(), right.end());
    c.push_back({x + height * 0.03f, base - height * 0.02f});
    c.push_back({x + height * 0.03f, base});
    c.push_back({x - height * 0.03f, base});
    c.push_back({x - height * 0.03f, base - height * 0.02f});
    c.insert(c.end(), left.rbegin(), left.rend());
    return c;
}

Shape Woods(int width, float base, float height, int seed, float bottom, float density) {
    Shape s;
    float step = height * 0.32f / density;
    int i = 0;
    for (float x = -height * 0.2f; x < float(width) + height * 0.2f; x += step * (0.6f + 0.8f * Hash(i, 0, seed)), ++i) {
        float h = height * (0.55f + 0.45f * Hash(i, 1, seed));
        float b = base + height * 0.08f * Hash(i, 2, seed);
        s.push_back(Cedar(x, b, h, seed * 31 + i));
    }
    s.push_back(Rect(-2, base, float(width + 2), bottom));
    return s;
}

void SnowOnTop(Canvas& c, const Mask& m, Rgb snow, int depth) {
    Mask cap = MakeMask(c.width, c.height);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            float above = y - depth >= 0 ? m.At(x, y - depth) : 0.f;
            cap.a[size_t(y) * c.width + x] = std::max(0.f, m.At(x, y) - above);
        }
    Paint(c, cap, snow, 0.9f);
}

void Snowfall(Canvas& c, int seed, int frame, int frames, int count, Rgb colour, float fall) {
    // Every flake repeats down the picture every `period` rows and moves one period (far
    // flakes) or two (near ones) over the loop, so band `frames` would equal band 0: the
    // loop has no seam. Sideways sway follows the height, so the repeats do not line up.
    float period = fall > 0 ? fall * float(frames) : float(c.height) + 40;
    int repeats = int(float(c.height) / period) + 2;
    int perPeriod = std::max(1, int(float(count) * period / float(c.height)));
    for (int i = 0; i < perPeriod; ++i) {
        float depth = Hash(i, 3, seed);  // 0 far .. 1 near
        float speed = (depth > 0.7f ? 2 : 1) * period / float(std::max(1, frames));
        float y0 = std::fmod(Hash(i, 2, seed) * period + speed * float(frame), period);
        float r = 0.6f + depth * depth * 2.4f;
        float sway = 6 + 10 * Hash(i, 4, seed), phase = Hash(i, 5, seed) * 6.28f;
        for (int k = -1; k < repeats; ++k) {
            float y = y0 + float(k) * period;
            float x = Hash(i, 1, seed) * float(c.width) + sway * std::sin(y * 6.2832f / period + phase);
            Dot(c, x, y, r, colour, 0.45f + 0.45f * depth);
        }
    }
}

void Fireflies(Canvas& c, int seed, int count, float top, float bottom) {
    for (int i = 0; i < count; ++i) {
        float x = Hash(i, 1, seed) * float(c.width), y = top + Hash(i, 2, seed) * (bottom - top);
        float k = 0.4f + 0.6f * Hash(i, 3, seed);
        Glow(c, x, y, 5.f * k + 2.f, Hex(0xB8F050), 0.35f * k);
        Dot(c, x, y, 0.9f + k * 0.6f, Hex(0xF4FFB0), 0.9f);
    }
}

void Steam(Canvas& c, float x, float y, float height, float sway, float phase, Rgb colour, float amount) {
    Mask m = MakeMask(c.width, c.height);
    Shape puffs;
    for (int i = 0; i < 40; ++i) {
        float s = float(i) / 40.f;
        float px = x + std::sin(s * 7.f + phase) * sway * s + std::sin(s * 3.f + phase * 0.5f) * sway * 0.4f;
        float py = y - s * height;
        float r = 2.f + s * height * 0.12f;
        puffs.push_back(Ellipse(px, py, r, r * 0.8f, 16));
    }
    Cover(m, puffs);
    Blur(m, 8);
    for (int yy = 0; yy < c.height; ++yy) {
        float fade = std::clamp(1.f - (y - float(yy)) / height, 0.f, 1.f);
        for (int xx = 0; xx < c.width; ++xx) m.a[size_t(yy) * c.width + xx] *= fade;
    }
    Paint(c, m, colour, amount);
}

void WaveEdge(Canvas& c) {
    // A row moved the wave's reach left shows the column twice that far in where a row
    // moved right shows the screen's black: dark to that column, then a soft rise.
    constexpr float Dark = 2 * layout::WaveReach, Clear = 100;
    for (int x = 0; x < std::min(c.width, int(Clear)); ++x) {
        float t = std::clamp((float(x) - Dark) / (Clear - Dark), 0.f, 1.f);
        float keep = 0.04f + 0.96f * t * (2 - t);
        for (int y = 0; y < c.height; ++y) c.At(x, y) = c.At(x, y) * keep;
    }
}

// The installed face for the family, found once through fontconfig.
static FT_Face Face(bool mincho) {
    static FT_Library library = nullptr;
    static FT_Face faces[2] = {nullptr, nullptr};
    FT_Face& face = faces[mincho ? 1 : 0];
    if (face) return face;
    if (!library && FT_Init_FreeType(&library)) {
        std::fprintf(stderr, "picture tool: FreeType does not start\n");
        std::exit(1);
    }
    FcInit();
    FcPattern* want = FcNameParse(reinterpret_cast<const FcChar8*>(mincho ? "IPAMincho" : "IPAGothic"));
    FcConfigSubstitute(nullptr, want, FcMatchPattern);
    FcDefaultSubstitute(want);
    FcResult result;
    FcPattern* found = FcFontMatch(nullptr, want, &result);
    FcChar8* file = nullptr;
    if (!found || FcPatternGetString(found, FC_FILE, 0, &file) != FcResultMatch ||
        FT_New_Face(library, reinterpret_cast<const char*>(file), 0, &face)) {
        std::fprintf(stderr, "picture tool: no %s face (install fonts-ipafont-%s)\n",
                     mincho ? "Mincho" : "Gothic", mincho ? "mincho" : "gothic");
        std::exit(1);
    }
    FcPatternDestroy(found);
    FcPatternDestroy(want);
    return face;
}

// The next character of UTF-8 text, advancing i.
static uint32_t NextChar(const std::string& s, size_t& i) {
    uint8_t b = uint8_t(s[i++]);
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    uint32_t c = extra ? b & (0x3F >> extra) : b;
    while (extra-- > 0 && i < s.size()) c = c << 6 | (uint8_t(s[i++]) & 0x3F);
    return c;
}

float LetteringWidth(const std::string& utf8, float size, bool mincho) {
    FT_Face face = Face(mincho);
    FT_Set_Pixel_Sizes(face, 0, FT_UInt(size));
    float w = 0;
    for (size_t i = 0; i < utf8.size();) {
        if (FT_Load_Char(face, NextChar(utf8, i), FT_LOAD_DEFAULT)) continue;
        w += float(face->glyph->advance.x) / 64.f;
    }
    return w;
}

void Lettering(Mask& m, const std::string& utf8, float x, float y, float size, bool mincho, bool vertical) {
    FT_Face face = Face(mincho);
    FT_Set_Pixel_Sizes(face, 0, FT_UInt(size));
    float ascent = float(face->size->metrics.ascender) / 64.f;
    float pen = 0;
    for (size_t i = 0; i < utf8.size();) {
        if (FT_Load_Char(face, NextChar(utf8, i), FT_LOAD_RENDER)) continue;
        FT_GlyphSlot g = face->glyph;
        int ox = int(std::lround(x + (vertical ? (size - float(g->bitmap.width)) / 2 - g->bitmap_left : pen))) +
                 g->bitmap_left;
        int oy = int(std::lround(y + (vertical ? pen : 0) + ascent)) - g->bitmap_top;
        for (unsigned r = 0; r < g->bitmap.rows; ++r)
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                int px = ox + int(col), py = oy + int(r);
                if (px < 0 || py < 0 || px >= m.width || py >= m.height) continue;
                float a = float(g->bitmap.buffer[r * unsigned(g->bitmap.pitch) + col]) / 255.f;
                float& v = m.a[size_t(py) * m.width + px];
                v = v + a - v * a;
            }
        pen += vertical ? size * 1.05f : float(g->advance.x) / 64.f;
    }
}

}  // namespace art
