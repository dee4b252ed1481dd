// Reduction of double-size text lines: channel mixing, the cap, edges, clipping and the
// bounds of the font buffer, at 16 (565 and 555), 32 and 24 bits.
#include <gtest/gtest.h>

#include <cstdlib>

#include "draw/text_engine.h"

using namespace kaDraw;

namespace {

// A font buffer filled with text, a 64 x 48 font sprite and picture, and the target.
struct Line {
    Surface *buffer, *font, *back;
    ReduceTarget target;
    Line(const PixelFormat& f, int bufferW, int bufferH, uint32_t text, uint32_t picture) {
        buffer = CreateSurface(bufferW, bufferH, f);
        font = CreateSurface(64, 48, f);
        back = CreateSurface(64, 48, f);
        target = {buffer, font, back, f.bitsPerPixel, {16, 8, 0}, {11, 6, 0}, 0, 0, 64, 48};
        if (f.greenMask == FormatRGB555.greenMask) target.shift5[0] = 10, target.shift5[1] = 5;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) {
                if (x < bufferW && y < bufferH) WritePixel(buffer, x, y, text);
                WritePixel(back, x, y, picture);
            }
    }
    ~Line() { FreeSurface(buffer), FreeSurface(font), FreeSurface(back); }
    int Reduce(int dx, int dy, int l, int t, int r, int b) {
        return ReduceTextLineOn(target, dx, dy, l, t, r, b);
    }
    uint32_t At(int x, int y) const { return ReadPixel(font, x, y); }
};

uint16_t Rgb565(int r5, int g5, int b5) { return uint16_t(r5 << 11 | g5 << 6 | b5); }

}  // namespace

TEST(TextReduce, WorkedExampleAtDepth16AndTheCap) {
    Line line(FormatRGB565, 64, 32, 0, Rgb565(0, 0, 8));
    // Three white samples around centre (2, 2) of final pixel (1, 1), over blue 8.
    for (int k = 1; k <= 3; ++k) WritePixel(line.buffer, k, k, 0xFFFF);
    // Only green's lowest bit: every 5-bit channel reads 0, yet it is a character pixel.
    WritePixel(line.buffer, 0, 0, 0x0020);
    EXPECT_EQ(line.Reduce(10, 5, 0, 0, 4, 4), 1);
    // blue (3*31 + 31 + 5*8) >> 3 = 20; red and green (3*31 + 31) >> 3 = 15.
    EXPECT_EQ(line.At(11, 6), Rgb565(15, 15, 20));
    EXPECT_EQ(line.At(10, 5), Rgb565(62 >> 3, 62 >> 3, (62 + 6 * 8) >> 3));  // n = 2
    // Full coverage in 200 grey: n = 9 gives (9*200 + 255) >> 3 = 256, capped; n = 8 231.
    Line full(FormatXRGB8888, 16, 16, 0x00C8C8C8, 0x00400000);
    WritePixel(full.buffer, 3, 3, 0);
    full.Reduce(0, 0, 0, 0, 16, 16);
    EXPECT_EQ(full.At(3, 3), 0x00FFFFFFu);
    EXPECT_EQ(full.At(1, 1), 0x00E7E7E7u);
}

// The reduction written the plain way, pixel by pixel, as an oracle: random text over a
// random picture, a line at odd offsets reaching past the font buffer (the left and top
// neighbourhood rule; samples outside the buffer empty) and cut by the clip rectangle,
// every layout. Exact equality also shows that nothing is written outside the clip, that
// written pixels are never 0 and that green's lowest bit stays 0 at 565.
TEST(TextReduce, MatchesAPlainPerPixelReduction) {
    for (const PixelFormat* f : {&FormatRGB565, &FormatRGB555, &FormatXRGB8888, &FormatRGB888}) {
        Line line(*f, 50, 30, 0, 0);
        std::srand(11);
        const bool s16 = f->bitsPerPixel == 16;
        const uint32_t mask = s16 ? 0xFFFF : 0xFFFFFF, max = s16 ? 31 : 255;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) {
                if (x < 50 && y < 30 && std::rand() % 3 == 0)
                    WritePixel(line.buffer, x, y, uint32_t(std::rand()) & mask);
                WritePixel(line.back, x, y, uint32_t(std::rand()) & mask);
            }
        const int destX = 5, destY = 7, srcLeft = 3, srcTop = 1;
        line.target.clipLeft = 8, line.target.clipTop = 9, line.target.clipRight = 30;
        EXPECT_EQ(line.Reduce(destX, destY, srcLeft, srcTop, 61, 35), 1);
        auto Shift = [&](int k) {
            return s16 ? line.target.shift5[k] : f->bitsPerPixel == 32 ? line.target.shift[k] : 8 * k;
        };
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) {
                int i = x - destX, j = y - destY;  // the final pixel of the line
                uint32_t n = 0, sum[3] = {max, max, max}, expected = 0;
                bool written = i >= 0 && j >= 0 && i < 29 && j < 17 && x >= 8 && x < 30 && y >= 9;
                for (int dy = j ? -1 : 0; written && dy <= 1; ++dy)
                    for (int dx = i ? -1 : 0; dx <= 1; ++dx) {
                        int sx = srcLeft + 2 * i + dx, sy = srcTop + 2 * j + dy;
                        uint32_t v = sx < 50 && sy < 30 ? ReadPixel(line.buffer, sx, sy) : 0;
                        n += v != 0;
                        for (int k = 0; k < 3 && v; ++k) sum[k] += (v >> Shift(k)) & max;
                    }
                uint32_t b = ReadPixel(line.back, x, y);
                for (int k = 0; k < 3 && n; ++k) {
                    uint32_t c = (sum[k] + (n < 8 ? (8 - n) * ((b >> Shift(k)) & max) : 0)) >> 3;
                    expected |= (c > max ? max : c) << Shift(k);
                }
                ASSERT_EQ(line.At(x, y), expected) << f->bitsPerPixel << " bits at " << x << "," << y;
            }
    }
}
