// The BMP decoder: every layout decodes to the right pixels; truncated files and files
// stating impossible sizes, offsets, counts or runs are refused.
#include "draw_test_support.h"

using namespace kaDraw;

using Grid = std::vector<std::vector<uint32_t>>;  // 0x00RRGGBB, top row first
const uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, K = 0;

static Surface* Decode(const std::vector<uint8_t>& f) { return DecodeBmp(f.data(), f.size(), FormatXRGB8888); }

static Bmp Layout(int w, int h, int bpp, std::vector<uint8_t> bits, std::vector<uint32_t> palette = {},
                uint32_t compression = 0, std::vector<uint32_t> masks = {}, int header = 40) {
    Bmp s;
    s.width = w, s.height = h, s.bitsPerPixel = bpp, s.bits = bits, s.palette = palette;
    s.compression = compression, s.masks = masks, s.headerBytes = header;
    return s;
}

// RLE8, 4 x 3, from the bottom: a run and a padded absolute stretch; a jump over row 1
// into row 2 (skipped pixels take colour 0); a run; the end of the bitmap.
static Bmp Rle8() {
    return Layout(4, 3, 8, {1, 1, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 1, 3, 3, 0, 1}, {B, R, G, W}, 1);
}
// RLE4, 5 x 2: a run of alternating nibbles, a line end, an absolute stretch, a run.
static Bmp Rle4() { return Layout(5, 2, 4, {5, 0x12, 0, 0, 0, 3, 0x31, 0x20, 2, 0x33, 0, 1}, {B, R, G, W}, 2); }

TEST(DrawBmp, EveryLayoutDecodesToTheRightPixels) {
    std::vector<uint32_t> sixteen(16, K);
    sixteen[1] = R, sixteen[15] = W;
    std::vector<std::pair<Bmp, Grid>> cases = {
        {Layout(9, 2, 1, Rows(1, {{0, 1, 1, 0, 0, 0, 0, 0, 1}, {1, 0, 0, 0, 0, 0, 0, 1, 0}}), {K, W}),
         {{W, K, K, K, K, K, K, W, K}, {K, W, W, K, K, K, K, K, W}}},
        {Layout(5, 1, 4, Rows(4, {{4, 3, 2, 1, 0}}), {K, R, G, B, W}), {{W, B, G, R, K}}},
        // Top-down; an index past the short colour table shows black.
        {Layout(5, -2, 8, Rows(8, {{1, 2, 3, 4, 200}, {0, 0, 4, 4, 1}}), {K, R, G, B, W}),
         {{R, G, B, W, K}, {K, K, W, W, R}}},
        {Layout(3, 1, 16, Rows(16, {{0x7C00, 0x03E0, 0x001F}})), {{R, G, B}}},
        {Layout(3, 1, 16, Rows(16, {{0xF800, 0x07E0, 0xFFFF}}), {}, 3, {0xF800, 0x07E0, 0x1F}), {{R, G, W}}},
        {Layout(3, 2, 24, Rows(24, {{0x123456, G, B}, {R, W, 0x010203}})), {{R, W, 0x010203}, {0x123456, G, B}}},
        // The unused top byte is dropped, so keys compare equal with drawn colours.
        {Layout(3, -1, 32, Rows(32, {{0xFFFF0000, 0x8000FF00, 0xABCDEF}})), {{R, G, 0xABCDEF}}},
        {Layout(2, 1, 32, Rows(32, {{0xFF, 0xFF0000}}), {}, 3, {0xFF, 0xFF00, 0xFF0000}, 108), {{R, B}}},
        {Layout(2, 2, 24, Rows(24, {{R, G}, {B, W}}), {}, 0, {}, 124), {{B, W}, {R, G}}},
        {Layout(3, 1, 4, Rows(4, {{15, 1, 0}}), sixteen, 0, {}, 12), {{W, R, K}}},
        {Layout(3, 1, 24, Rows(24, {{G, B, R}}), {}, 0, {}, 12), {{G, B, R}}},
        {Rle8(), {{B, W, W, W}, {B, B, B, B}, {R, R, G, W}}},
        {Rle4(), {{W, R, G, W, W}, {R, G, R, G, R}}},
    };
    cases.push_back(cases[11]);
    cases.back().first.sizeImage = 18;
    cases.back().first.blank = false;
    for (size_t i = 0; i < cases.size(); ++i) {
        Surface* s = Decode(Build(cases[i].first));
        const Grid& want = cases[i].second;
        ASSERT_NE(s, nullptr) << i;
        ASSERT_TRUE(s->width == int(want[0].size()) && s->height == int(want.size())) << i;
        for (size_t y = 0; y < want.size(); ++y)
            for (size_t x = 0; x < want[y].size(); ++x)
                EXPECT_EQ(ReadPixel(s, int(x), int(y)), want[y][x]) << i << ": " << x << "," << y;
        FreeSurface(s);
    }
}

TEST(DrawBmp, EveryTruncationIsRefused) {
    for (const Bmp& s : {Rle8(), Rle4(), Layout(3, 2, 24, Rows(24, {{R, G, B}, {W, K, R}}))}) {
        std::vector<uint8_t> full = Build(s);
        size_t needed = full.size() - (s.compression ? 0 : 3);  // the last row's padding may go
        for (size_t n = 0; n <= needed; ++n) {
            Surface* d = Decode(std::vector<uint8_t>(full.begin(), full.begin() + n));
            EXPECT_EQ(d != nullptr, n == needed) << n;
            FreeSurface(d);
        }
    }
}

TEST_F(DrawTest, MalformedFilesAreRefusedWithTheLoadersMessage) {
    Bmp good = Layout(2, 2, 8, Rows(8, {{0, 1}, {1, 0}}), {R, G});
    std::vector<std::pair<const char*, std::vector<uint8_t>>> cases;
    auto patched = [&](const char* what, size_t at, uint32_t value, int bytes = 4) {
        cases.push_back({what, Build(good)});
        Put(cases.back().second, at, value, bytes);
    };
    patched("not a BMP signature", 0, 'X', 1);
    patched("offset past the end", 10, 5000);
    patched("offset inside the colour table", 10, 14 + 40 + 4);
    patched("unknown header size", 14, 41);
    patched("width zero", 18, 0);
    patched("absurd width", 18, 40000);
    patched("most negative height", 22, 0x80000000u);
    patched("7 bits per pixel", 28, 7, 2);
    patched("unknown compression", 30, 4);
    patched("colour count above 256", 46, 300);
    std::vector<std::pair<const char*, Bmp>> layouts = {
        {"top-down run lengths", Layout(2, -2, 8, {2, 1, 0, 1}, {R}, 1)},
        {"bit fields at 24 bits", Layout(1, 1, 24, Rows(24, {{R}}), {}, 3, {0xFF0000, 0xFF00, 0xFF})},
        {"overlapping masks", Layout(1, 1, 16, Rows(16, {{1}}), {}, 3, {0xF800, 0x0FE0, 0x1F})},
        {"broken mask", Layout(1, 1, 16, Rows(16, {{1}}), {}, 3, {0xF800, 0x0520, 0x1F})},
        {"mask wider than the pixel", Layout(1, 1, 16, Rows(16, {{1}}), {}, 3, {0xF8000, 0x7E0, 0x1F})},
        {"run past the row", Layout(4, 3, 8, {5, 1, 0, 1}, {R}, 1)},
        {"jump past the bitmap", Layout(4, 3, 8, {0, 2, 1, 5, 1, 1, 0, 1}, {R}, 1)},
        {"run above the top row", Layout(4, 3, 8, {0, 0, 0, 0, 0, 0, 1, 1, 0, 1}, {R}, 1)},
        {"stretch past the data", Layout(4, 3, 8, {0, 6, 1, 1}, {R}, 1)},
        {"data ends before the bitmap", Layout(4, 3, 8, {2, 1, 0, 0}, {R}, 1)},
        {"absurd area from a few runs", Layout(20000, 20000, 8, {0, 1}, {R}, 1)},
        {"four-bit run past the row", Layout(5, 2, 4, {6, 0x12, 0, 1}, {R}, 2)},
        {"short core colour table", Layout(2, 2, 8, Rows(8, {{0, 1}, {1, 0}}), {R, G}, 0, {}, 12)},
    };
    Bmp lying = Rle8();
    lying.sizeImage = 1000;
    layouts.push_back({"stated size past the file", lying});
    for (auto& s : layouts) cases.push_back({s.first, Build(s.second)});

    ASSERT_EQ(Load("good.sad", Build(good)), 4);
    for (const auto& c : cases) {
        size_t boxes = headless::MessageBoxes().size();
        EXPECT_EQ(Load("bad.sad", c.second), 0) << c.first;
        EXPECT_EQ(headless::MessageBoxes().size(), boxes + 1) << c.first;
        EXPECT_EQ(LastBox(), "kaDraw::LoadObject : BMPファイルを読み込めません") << c.first;
    }
}
