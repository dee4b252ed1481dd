// Reduction of double-size text lines: channel mixing, caps, edges, clipping and the
// bounds of the font buffer, at 16 (565 and 555), 32 and 24 bits.
#include <gtest/gtest.h>

#include <cstdlib>

#include "draw/text_engine.h"

using namespace kaDraw;

namespace {

// Three surfaces of one layout and the target over them.
struct Line {
    Surface* buffer;
    Surface* font;
    Surface* back;
    ReduceTarget target;

    Line(const PixelFormat& f, int bufferW, int bufferH, int w = 64, int h = 48) {
        buffer = CreateSurface(bufferW, bufferH, f);
        font = CreateSurface(w, h, f);
        back = CreateSurface(w, h, f);
        target = {buffer, font, back, f.bitsPerPixel, {16, 8, 0}, {11, 6, 0}, 0, 0, w, h};
        if (f.greenMask == FormatRGB555.greenMask) target.shift5[0] = 10, target.shift5[1] = 5;
    }
    ~Line() {
        FreeSurface(buffer);
        FreeSurface(font);
        FreeSurface(back);
    }
    int Reduce(int dx, int dy, int l, int t, int r, int b) {
        return ReduceTextLineOn(target, dx, dy, l, t, r, b);
    }
};

uint16_t Rgb565(int r5, int g6, int b5) {
    return uint16_t(r5 << 11 | g6 << 5 | b5);
}

}  // namespace

TEST(TextReduce, WorkedExampleAtDepth16) {
    Line line(FormatRGB565, 64, 32);
    // Three white samples in the neighbourhood of final pixel (1, 1), centre (2, 2).
    WritePixel(line.buffer, 1, 1, 0xFFFF);
    WritePixel(line.buffer, 2, 2, 0xFFFF);
    WritePixel(line.buffer, 3, 3, 0xFFFF);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) WritePixel(line.back, x, y, Rgb565(0, 0, 8));
    EXPECT_EQ(line.Reduce(10, 5, 0, 0, 4, 4), 1);
    // blue (3*31 + 31 + 5*8) >> 3 = 20; red and green (3*31 + 31) >> 3 = 15.
    EXPECT_EQ(ReadPixel(line.font, 11, 6), Rgb565(15, 15 << 1, 20));
}

TEST(TextReduce, SixteenBitEmptinessIsTheWholeWord) {
    Line line(FormatRGB565, 64, 32);
    // Only the lowest green bit: every 5-bit channel reads 0, yet it is a character pixel.
    WritePixel(line.buffer, 0, 0, Rgb565(0, 1, 0));
    ASSERT_EQ(line.Reduce(0, 0, 0, 0, 4, 4), 1);
    // n = 1 over black: each channel (0 + 31) >> 3 = 3.
    EXPECT_EQ(ReadPixel(line.font, 0, 0), Rgb565(3, 3 << 1, 3));
}

TEST(TextReduce, FullCoverageIgnoresTheBackgroundAndIsCapped) {
    Line line(FormatXRGB8888, 16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) WritePixel(line.buffer, x, y, 0x00C8C8C8);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) WritePixel(line.back, x, y, 0x00400000);
    line.Reduce(0, 0, 0, 0, 16, 16);
    // Final (0, 0): 4 samples, half background: (4*200 + 255 + 4*64) >> 3 for red.
    EXPECT_EQ(ReadPixel(line.font, 0, 0), uint32_t((4 * 200 + 255 + 4 * 64) >> 3) << 16 |
                                              uint32_t((4 * 200 + 255) >> 3) << 8 |
                                              uint32_t((4 * 200 + 255) >> 3));
    // Final (1, 1): n = 9, (9*200 + 255) >> 3 = 256, capped; n = 8 would not be.
    EXPECT_EQ(ReadPixel(line.font, 1, 1), 0x00FFFFFFu);
    WritePixel(line.buffer, 3, 3, 0);
    line.Reduce(0, 0, 0, 0, 16, 16);
    EXPECT_EQ(ReadPixel(line.font, 1, 1), 0x00E7E7E7u);  // (8*200 + 255) >> 3 = 231
}

TEST(TextReduce, TwentyFourBitPixelsAreThreeBytes) {
    Line line(FormatRGB888, 16, 16);
    WritePixel(line.buffer, 0, 0, 0x000000FF);  // byte 0 only
    WritePixel(line.back, 0, 0, 0x00080000);     // byte 2 = 8
    line.Reduce(0, 0, 0, 0, 2, 2);
    // byte 0: (255 + 255) >> 3 = 63; byte 1: 255 >> 3 = 31; byte 2: (255 + 7*8) >> 3 = 38.
    EXPECT_EQ(ReadPixel(line.font, 0, 0), uint32_t(38 << 16 | 31 << 8 | 63));
}

TEST(TextReduce, NeighbourhoodStopsAtTheSourceLeftAndTop) {
    Line line(FormatXRGB8888, 32, 32);
    WritePixel(line.buffer, 3, 4, 0x00FFFFFF);  // left of srcLeft 4
    WritePixel(line.buffer, 5, 3, 0x00FFFFFF);  // above srcTop 4
    line.Reduce(0, 0, 4, 4, 8, 8);
    EXPECT_EQ(ReadPixel(line.font, 0, 0), 0u);
    // Seen from final pixel (1, 0) the left neighbour at column 5 is taken.
    WritePixel(line.buffer, 5, 4, 0x00FFFFFF);
    line.Reduce(0, 0, 4, 4, 8, 8);
    EXPECT_NE(ReadPixel(line.font, 1, 0), 0u);
}

TEST(TextReduce, NothingIsWrittenOutsideTheClipRectangle) {
    Line line(FormatXRGB8888, 64, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) WritePixel(line.buffer, x, y, 0x00FFFFFF);
    line.target.clipLeft = 4;
    line.target.clipTop = 3;
    line.target.clipRight = 20;
    line.target.clipBottom = 10;
    EXPECT_EQ(line.Reduce(2, 2, 0, 0, 64, 32), 1);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            bool inside = x >= 4 && x < 20 && y >= 3 && y < 10;
            EXPECT_EQ(ReadPixel(line.font, x, y) != 0, inside) << x << "," << y;
        }
    // Cut at the left and top, the kept pixels are those of the uncut line: final (2, 1)
    // of the line lands on (4, 3) and has a full neighbourhood.
    EXPECT_EQ(ReadPixel(line.font, 4, 3), 0x00FFFFFFu);
}

TEST(TextReduce, ReadsStayInsideTheFontBuffer) {
    // A 4 x 4 font buffer and a line that claims 8 x 8 (a pen past its width, a line
    // taller than it): samples outside count as empty, so the far half stays unwritten.
    Line line(FormatXRGB8888, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) WritePixel(line.buffer, x, y, 0x00FFFFFF);
    line.Reduce(0, 0, 0, 0, 8, 8);
    EXPECT_EQ(ReadPixel(line.font, 1, 1), 0x00FFFFFFu);  // n = 9
    EXPECT_EQ(ReadPixel(line.font, 3, 3), 0u);           // centre (6, 6): n = 0
    EXPECT_EQ(ReadPixel(line.font, 3, 0), 0u);
    EXPECT_EQ(ReadPixel(line.font, 2, 2) & 0xFF, uint32_t((255 + 255) >> 3));  // n = 1
    // Final (2, 1): centre (4, 2), only column 3 of rows 1..3 lies inside: n = 3.
    EXPECT_EQ(ReadPixel(line.font, 2, 1) & 0xFF, uint32_t((3 * 255 + 255) >> 3));
}

TEST(TextReduce, EmptyAndNegativeLines) {
    Line line(FormatXRGB8888, 16, 16);
    WritePixel(line.buffer, 0, 0, 0x00FFFFFF);
    EXPECT_EQ(line.Reduce(0, 0, 0, 0, 0, 16), 1);   // width 0
    EXPECT_EQ(line.Reduce(0, 0, 0, 0, 16, -4), 1);  // bottom limit above the top
    EXPECT_EQ(line.Reduce(70, 0, 0, 0, 16, 16), 1); // wholly right of the clip
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) ASSERT_EQ(ReadPixel(line.font, x, y), 0u);
    // A missing surface is a failure to lock.
    line.target.background = nullptr;
    EXPECT_EQ(line.Reduce(0, 0, 0, 0, 16, 16), 0);
}

// The reduction written the plain way, pixel by pixel, as an oracle for the optimised
// one: random text over a random picture, a line at odd offsets reaching past the font
// buffer, every layout. Exact equality also shows that written pixels are never 0 and
// that green's lowest bit stays 0 at 565.
TEST(TextReduce, MatchesAPlainPerPixelReduction) {
    for (const PixelFormat* f : {&FormatRGB565, &FormatRGB555, &FormatXRGB8888, &FormatRGB888}) {
        Line line(*f, 50, 30);
        std::srand(11);
        uint32_t valueMask = f->bitsPerPixel == 16 ? 0xFFFF : 0xFFFFFF;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 50; ++x)
                if (std::rand() % 3 == 0) WritePixel(line.buffer, x, y, uint32_t(std::rand()) & valueMask);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) WritePixel(line.back, x, y, uint32_t(std::rand()) & valueMask);
        const int destX = 5, destY = 7, srcLeft = 3, srcTop = 1, srcRight = 61, srcBottom = 35;
        line.Reduce(destX, destY, srcLeft, srcTop, srcRight, srcBottom);

        const uint32_t max = f->bitsPerPixel == 16 ? 31 : 255;
        auto Channels = [&](uint32_t v, uint32_t c[3]) {
            for (int k = 0; k < 3; ++k) {
                int shift = f->bitsPerPixel == 16 ? line.target.shift5[k]
                            : f->bitsPerPixel == 32 ? line.target.shift[k] : 8 * k;
                c[k] = (v >> shift) & max;
            }
        };
        for (int j = 0; j < (srcBottom - srcTop) / 2; ++j)
            for (int i = 0; i < (srcRight - srcLeft) / 2; ++i) {
                uint32_t n = 0, sum[3] = {max, max, max};
                for (int dy = j ? -1 : 0; dy <= 1; ++dy)
                    for (int dx = i ? -1 : 0; dx <= 1; ++dx) {
                        int sx = srcLeft + 2 * i + dx, sy = srcTop + 2 * j + dy;
                        if (sx >= 50 || sy >= 30) continue;
                        uint32_t v = ReadPixel(line.buffer, sx, sy), c[3];
                        if (!v) continue;
                        Channels(v, c);
                        ++n;
                        for (int k = 0; k < 3; ++k) sum[k] += c[k];
                    }
                uint32_t expected = 0;
                if (n) {
                    uint32_t b[3];
                    Channels(ReadPixel(line.back, destX + i, destY + j), b);
                    for (int k = 0; k < 3; ++k) {
                        uint32_t c = (sum[k] + (n < 8 ? (8 - n) * b[k] : 0)) >> 3;
                        int shift = f->bitsPerPixel == 16 ? line.target.shift5[k]
                                    : f->bitsPerPixel == 32 ? line.target.shift[k] : 8 * k;
                        expected |= (c > max ? max : c) << shift;
                    }
                }
                ASSERT_EQ(ReadPixel(line.font, destX + i, destY + j), expected)
                    << f->bitsPerPixel << " bits at " << i << "," << j;
            }
    }
}
