// The BMP decoder: every layout it takes decodes to the right pixels, and files that are
// truncated or state impossible sizes, offsets, counts or runs are refused.
#include <memory>

#include "draw/kaDraw.h"
#include "draw_test_support.h"

using namespace kaDraw;

using Grid = std::vector<std::vector<uint32_t>>;  // expected 0x00RRGGBB, top row first

static void ExpectDecodes(const std::vector<uint8_t>& file, const Grid& want) {
    Surface* s = DecodeBmp(file.data(), file.size(), FormatXRGB8888);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->height, int(want.size()));
    ASSERT_EQ(s->width, int(want[0].size()));
    for (size_t y = 0; y < want.size(); ++y)
        for (size_t x = 0; x < want[y].size(); ++x)
            EXPECT_EQ(ReadPixel(s, int(x), int(y)), want[y][x]) << x << "," << y;
    FreeSurface(s);
}

static bool Refused(const std::vector<uint8_t>& file) {
    Surface* s = DecodeBmp(file.data(), file.size(), FormatXRGB8888);
    FreeSurface(s);
    return s == nullptr;
}

const uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, K = 0;

TEST(DrawBmp, PaletteLayoutsOneFourAndEightBits) {
    BmpSpec one;
    one.width = 9;
    one.height = 2;
    one.bitsPerPixel = 1;
    one.palette = {K, W};
    one.bits = PackRows(1, {{0, 1, 1, 0, 0, 0, 0, 0, 1}, {1, 0, 0, 0, 0, 0, 0, 1, 0}});
    ExpectDecodes(BuildBmp(one), {{W, K, K, K, K, K, K, W, K}, {K, W, W, K, K, K, K, K, W}});

    BmpSpec four;
    four.width = 5;
    four.height = 1;
    four.bitsPerPixel = 4;
    four.palette = {K, R, G, B, W};  // a short table
    four.bits = PackRows(4, {{4, 3, 2, 1, 0}});
    ExpectDecodes(BuildBmp(four), {{W, B, G, R, K}});

    BmpSpec eight = four;
    eight.bitsPerPixel = 8;
    eight.height = -2;  // top-down
    eight.bits = PackRows(8, {{1, 2, 3, 4, 200}, {0, 0, 4, 4, 1}});
    // An index past the table's end shows black.
    ExpectDecodes(BuildBmp(eight), {{R, G, B, W, K}, {K, K, W, W, R}});
}

TEST(DrawBmp, DirectColourLayouts) {
    BmpSpec rgb555;
    rgb555.width = 3;
    rgb555.height = 1;
    rgb555.bitsPerPixel = 16;
    rgb555.bits = PackRows(16, {{0x7C00, 0x03E0, 0x001F}});
    ExpectDecodes(BuildBmp(rgb555), {{R, G, B}});

    BmpSpec rgb565 = rgb555;
    rgb565.compression = 3;
    rgb565.masks[0] = 0xF800, rgb565.masks[1] = 0x07E0, rgb565.masks[2] = 0x001F;
    rgb565.bits = PackRows(16, {{0xF800, 0x07E0, 0xFFFF}});
    ExpectDecodes(BuildBmp(rgb565), {{R, G, W}});

    BmpSpec rgb24;
    rgb24.width = 3;
    rgb24.height = 2;
    rgb24.bits = PackRows(24, {{0x123456, G, B}, {R, W, 0x010203}});
    ExpectDecodes(BuildBmp(rgb24), {{R, W, 0x010203}, {0x123456, G, B}});

    // The unused top byte is dropped, so keys compare equal with drawn colours.
    BmpSpec rgb32 = rgb24;
    rgb32.bitsPerPixel = 32;
    rgb32.height = -1;
    rgb32.bits = PackRows(32, {{0xFFFF0000, 0x8000FF00, 0x00ABCDEF}});
    ExpectDecodes(BuildBmp(rgb32), {{R, G, 0xABCDEF}});
}

TEST(DrawBmp, NewerAndOlderHeaders) {
    BmpSpec v4;  // bit fields inside a V4 header, channels in reversed order
    v4.headerBytes = 108;
    v4.width = 2;
    v4.height = 1;
    v4.bitsPerPixel = 32;
    v4.compression = 3;
    v4.masks[0] = 0x000000FF, v4.masks[1] = 0x0000FF00, v4.masks[2] = 0x00FF0000;
    v4.bits = PackRows(32, {{0x0000FF, 0xFF0000}});
    ExpectDecodes(BuildBmp(v4), {{R, B}});

    BmpSpec v5;
    v5.headerBytes = 124;
    v5.width = 2;
    v5.height = 2;
    v5.bits = PackRows(24, {{R, G}, {B, W}});
    ExpectDecodes(BuildBmp(v5), {{B, W}, {R, G}});

    BmpSpec core;  // OS/2: 12-byte header, three-byte colour table of the full size
    core.headerBytes = 12;
    core.width = 3;
    core.height = 1;
    core.bitsPerPixel = 4;
    core.palette.assign(16, K);
    core.palette[1] = R, core.palette[15] = W;
    core.bits = PackRows(4, {{15, 1, 0}});
    ExpectDecodes(BuildBmp(core), {{W, R, K}});

    BmpSpec core24 = core;
    core24.bitsPerPixel = 24;
    core24.palette.clear();
    core24.bits = PackRows(24, {{G, B, R}});
    ExpectDecodes(BuildBmp(core24), {{G, B, R}});
}

// RLE8 over 4 x 3: row 0 (bottom) a run and an absolute stretch, row 1 skipped by a
// delta, row 2 a single run ended by the end of the bitmap.
static BmpSpec Rle8() {
    BmpSpec s;
    s.width = 4;
    s.height = 3;
    s.bitsPerPixel = 8;
    s.compression = 1;
    s.palette = {B, R, G, W};
    s.bits = {1, 1,              // one red
              0, 3, 1, 2, 3, 0,  // absolute: red, green, white, pad
              0, 0,           // end of line
              0, 2, 1, 1,     // delta: one right, one up (to row 2, x 1)
              3, 3,           // three white
              0, 1};          // end of bitmap
    return s;
}

static BmpSpec Rle4() {
    BmpSpec s;
    s.width = 5;
    s.height = 2;
    s.bitsPerPixel = 4;
    s.compression = 2;
    s.palette = {B, R, G, W};
    s.bits = {5, 0x12,        // red, green, red, green, red
              0, 0,
              0, 3, 0x31, 0x20, // absolute: white, red, green (two bytes, already even)
              2, 0x33,        // two white
              0, 1};
    return s;
}

TEST(DrawBmp, RunLengthEncodings) {
    ExpectDecodes(BuildBmp(Rle8()), {{B, W, W, W}, {B, B, B, B}, {R, R, G, W}});
    BmpSpec rle8 = Rle8();
    rle8.sizeImage = uint32_t(rle8.bits.size());
    ExpectDecodes(BuildBmp(rle8), {{B, W, W, W}, {B, B, B, B}, {R, R, G, W}});
    ExpectDecodes(BuildBmp(Rle4()), {{W, R, G, W, W}, {R, G, R, G, R}});
}

TEST(DrawBmp, BlankedSignatureIsTakenAnythingElseIsNot) {
    BmpSpec s = Rle8();
    s.blank = true;
    ExpectDecodes(BuildBmp(s), {{B, W, W, W}, {B, B, B, B}, {R, R, G, W}});
    std::vector<uint8_t> f = BuildBmp(s);
    f[0] = 'X';
    EXPECT_TRUE(Refused(f));
}

TEST(DrawBmp, EveryTruncationIsRefused) {
    BmpSpec rgb24;
    rgb24.width = 3;
    rgb24.height = 2;
    rgb24.bits = PackRows(24, {{R, G, B}, {W, K, R}});
    std::vector<BmpSpec> specs = {Rle8(), Rle4(), rgb24};
    for (const BmpSpec& s : specs) {
        std::vector<uint8_t> full = BuildBmp(s);
        // The last row's padding may be missing; nothing that holds a pixel may.
        size_t needed = full.size() - (s.compression ? 0 : 3);
        for (size_t n = 0; n < needed; ++n)
            ASSERT_TRUE(Refused(std::vector<uint8_t>(full.begin(), full.begin() + n))) << n;
        EXPECT_FALSE(Refused(std::vector<uint8_t>(full.begin(), full.begin() + needed)));
    }
}

// Malformed files, each refused by LoadObject with the loader's message.
TEST_F(DrawTest, MalformedFilesAreRefused) {
    BmpSpec good;
    good.width = 2;
    good.height = 2;
    good.bitsPerPixel = 8;
    good.palette = {R, G};
    good.bits = PackRows(8, {{0, 1}, {1, 0}});
    ASSERT_FALSE(Refused(BuildBmp(good)));

    std::vector<std::pair<const char*, std::vector<uint8_t>>> cases;
    auto add = [&](const char* what, BmpSpec s) { cases.push_back({what, BuildBmp(s)}); };
    auto patched = [&](const char* what, size_t at, uint32_t value) {
        std::vector<uint8_t> f = BuildBmp(good);
        Put32(f, at, value);
        cases.push_back({what, f});
    };
    patched("offset past the end", 10, 5000);
    patched("offset inside the colour table", 10, 14 + 40 + 4);
    patched("unknown header size", 14, 41);
    patched("width zero", 18, 0);
    patched("width negative", 18, uint32_t(-2));
    patched("height zero", 22, 0);
    patched("absurd width", 18, 40000);
    patched("most negative height", 22, 0x80000000u);
    patched("colour count above 256", 46, 300);
    patched("unknown compression", 30, 4);
    {
        std::vector<uint8_t> f = BuildBmp(good);
        Put16(f, 28, 7);
        cases.push_back({"7 bits per pixel", f});
    }
    BmpSpec s = good;
    s.compression = 1;  // run lengths need 8 bits and bottom-up rows
    s.height = -2;
    s.bits = {2, 1, 0, 1};
    add("top-down run lengths", s);
    s = good;
    s.bitsPerPixel = 24;
    s.compression = 1;
    s.palette.clear();
    s.bits = {2, 1, 0, 1};
    add("run lengths at 24 bits", s);
    s = good;
    s.bitsPerPixel = 24;
    s.compression = 3;
    s.palette.clear();
    s.masks[0] = 0xFF0000, s.masks[1] = 0xFF00, s.masks[2] = 0xFF;
    s.bits = PackRows(24, {{R, G}, {B, W}});
    add("bit fields at 24 bits", s);
    s.bitsPerPixel = 16;
    s.masks[0] = 0xF800, s.masks[1] = 0x0FE0, s.masks[2] = 0x1F;
    s.bits = PackRows(16, {{1, 2}, {3, 4}});
    add("overlapping masks", s);
    s.masks[1] = 0;
    add("missing mask", s);
    s.masks[1] = 0x0520;
    add("broken mask", s);
    s.masks[0] = 0xF8000, s.masks[1] = 0x07E0;
    add("mask wider than the pixel", s);
    s = Rle8();
    s.bits = {5, 1, 0, 1};
    add("run past the row", s);
    s.bits = {0, 2, 1, 5, 1, 1, 0, 1};
    add("delta past the bitmap", s);
    s.bits = {0, 0, 0, 0, 0, 0, 1, 1, 0, 1};
    add("run above the top row", s);
    s.bits = {0, 6, 1, 1};
    add("absolute stretch past the data", s);
    s.bits = {2, 1, 0, 0};
    add("data ends before the bitmap does", s);
    s = Rle8();
    s.width = s.height = 20000;  // a few bytes of runs may claim any size
    add("absurd area", s);
    s = Rle8();
    s.sizeImage = 1000;
    add("stated size past the file", s);
    s = Rle4();
    s.bits = {6, 0x12, 0, 1};
    add("four-bit run past the row", s);
    s = good;
    s.headerBytes = 12;
    s.palette = {R, G};  // a core header needs all 256 entries at 8 bits
    add("short core colour table", s);

    int boxes = BoxCount();
    for (const auto& c : cases) {
        WriteFile("bad.sad", c.second);
        EXPECT_EQ(LoadObject("bad.sad", 2), 0) << c.first;
        EXPECT_EQ(BoxCount(), ++boxes) << c.first;
        EXPECT_EQ(LastBoxText(), "kaDraw::LoadObject : BMPファイルを読み込めません") << c.first;
    }
    EXPECT_EQ(ObjectTable[4].name[0], 0);
}
