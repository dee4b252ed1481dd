// The BMP decoder: every layout decodes to the right pixels; truncated files and files
// stating impossible sizes, offsets, counts or runs are refused.
#include "draw_test_support.h"

using namespace kaDraw;

using Grid = std::vector<std::vector<uint32_t>>;  // 0x00RRGGBB, top row first
const uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, K = 0;

static Surface* Decode(const std::vector<uint8_t>& f) { return DecodeBmp(f.data(), f.size(), FormatXRGB8888); }
static std::vector<uint8_t> Patched(std::vector<uint8_t> file, size_t at, uint32_t value, int bytes = 4) {
    Put(file, at, value, bytes);
    return file;
}

// RLE8, 4 x 3, from the bottom: a run and a padded absolute stretch; a jump over row 1
// into row 2 (skipped pixels take colour 0); a run; the end of the bitmap.
static const std::vector<uint8_t> Rle8 =
    BmpFile(4, 3, 8, {1, 1, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 1, 3, 3, 0, 1}, {B, R, G, W}, 1);
// RLE4, 5 x 2: a run of alternating nibbles, a line end, an absolute stretch, a run.
static const std::vector<uint8_t> Rle4 =
    BmpFile(5, 2, 4, {5, 0x12, 0, 0, 0, 3, 0x31, 0x20, 2, 0x33, 0, 1}, {B, R, G, W}, 2);
// The file the header lies are written into: 2 x 2 at 8 bits, rows from the bottom.
static const std::vector<uint8_t> Good = BmpFile(2, 2, 8, Rows(8, {{0, 1}, {1, 0}}), {R, G});

TEST(DrawBmp, EveryLayoutDecodesToTheRightPixels) {
    std::vector<uint32_t> sixteen(16, K);
    sixteen[1] = R, sixteen[15] = W;
    std::vector<std::pair<std::vector<uint8_t>, Grid>> cases = {
        {BmpFile(9, 2, 1, Rows(1, {{0, 1, 1, 0, 0, 0, 0, 0, 1}, {1, 0, 0, 0, 0, 0, 0, 1, 0}}), {K, W}),
         {{W, K, K, K, K, K, K, W, K}, {K, W, W, K, K, K, K, K, W}}},
        {BmpFile(5, 1, 4, Rows(4, {{4, 3, 2, 1, 0}}), {K, R, G, B, W}), {{W, B, G, R, K}}},
        // Top-down; an index past the short colour table shows black.
        {BmpFile(5, -2, 8, Rows(8, {{1, 2, 3, 4, 200}, {0, 0, 4, 4, 1}}), {K, R, G, B, W}),
         {{R, G, B, W, K}, {K, K, W, W, R}}},
        {BmpFile(3, 1, 16, Rows(16, {{0x7C00, 0x03E0, 0x001F}})), {{R, G, B}}},
        {BmpFile(3, 1, 16, Rows(16, {{0xF800, 0x07E0, 0xFFFF}}), {}, 3, {0xF800, 0x07E0, 0x1F}), {{R, G, W}}},
        {BmpFile(3, 2, 24, Rows(24, {{0x123456, G, B}, {R, W, 0x010203}})), {{R, W, 0x010203}, {0x123456, G, B}}},
        // The unused top byte is dropped, so keys compare equal with drawn colours.
        {BmpFile(3, -1, 32, Rows(32, {{0xFFFF0000, 0x8000FF00, 0xABCDEF}})), {{R, G, 0xABCDEF}}},
        {BmpFile(2, 1, 32, Rows(32, {{0xFF, 0xFF0000}}), {}, 3, {0xFF, 0xFF00, 0xFF0000}, 108), {{R, B}}},
        {BmpFile(2, 2, 24, Rows(24, {{R, G}, {B, W}}), {}, 0, {}, 124), {{B, W}, {R, G}}},
        {BmpFile(3, 1, 4, Rows(4, {{15, 1, 0}}), sixteen, 0, {}, 12), {{W, R, K}}},
        {Rle8, {{B, W, W, W}, {B, B, B, B}, {R, R, G, W}}},
        {Patched(Rle8, 34, 18), {{B, W, W, W}, {B, B, B, B}, {R, R, G, W}}},  // its size stated
        {Rle4, {{W, R, G, W, W}, {R, G, R, G, R}}}, {Good, {{G, R}, {R, G}}},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        Surface* s = Decode(cases[i].first);
        const Grid& want = cases[i].second;
        ASSERT_TRUE(s && s->width == int(want[0].size()) && s->height == int(want.size())) << i;
        for (size_t y = 0; y < want.size(); ++y)
            for (size_t x = 0; x < want[y].size(); ++x)
                EXPECT_EQ(ReadPixel(s, int(x), int(y)), want[y][x]) << i << ": " << x << "," << y;
        FreeSurface(s);
    }
}

TEST(DrawBmp, MalformedFilesAreRefused) {
    std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
        {"top-down run lengths", BmpFile(2, -2, 8, {2, 1, 0, 1}, {R}, 1)},
        {"bit fields at 24 bits", BmpFile(1, 1, 24, Rows(24, {{R}}), {}, 3, {0xFF0000, 0xFF00, 0xFF})},
        {"overlapping masks", BmpFile(1, 1, 16, Rows(16, {{1}}), {}, 3, {0xF800, 0x0FE0, 0x1F})},
        {"broken mask", BmpFile(1, 1, 16, Rows(16, {{1}}), {}, 3, {0xF800, 0x0520, 0x1F})},
        {"mask wider than the pixel", BmpFile(1, 1, 16, Rows(16, {{1}}), {}, 3, {0xF8000, 0x7E0, 0x1F})},
        {"run past the row", BmpFile(4, 3, 8, {5, 1, 0, 1}, {R}, 1)},
        {"jump past the bitmap", BmpFile(4, 3, 8, {0, 2, 1, 5, 1, 1, 0, 1}, {R}, 1)},
        {"run above the top row", BmpFile(4, 3, 8, {0, 0, 0, 0, 0, 0, 1, 1, 0, 1}, {R}, 1)},
        {"absurd area from a few runs", BmpFile(20000, 20000, 8, {0, 1}, {R}, 1)},
        {"four-bit run past the row", BmpFile(5, 2, 4, {6, 0x12, 0, 1}, {R}, 2)},
        {"short core colour table", BmpFile(2, 2, 8, Rows(8, {{0, 1}, {1, 0}}), {R, G}, 0, {}, 12)},
        {"stated size past the file", Patched(Rle8, 34, 1000)},
        {"not a BMP signature", Patched(Good, 0, 'X', 1)}, {"offset past the end", Patched(Good, 10, 5000)},
        {"offset inside the colour table", Patched(Good, 10, 14 + 40 + 4)},
        {"unknown header size", Patched(Good, 14, 41)}, {"width zero", Patched(Good, 18, 0)},
        {"absurd width", Patched(Good, 18, 40000)}, {"most negative height", Patched(Good, 22, 0x80000000u)},
        {"7 bits per pixel", Patched(Good, 28, 7, 2)}, {"unknown compression", Patched(Good, 30, 4)},
        {"colour count above 256", Patched(Good, 46, 300)}};
    for (const auto& full : {Rle8, Rle4, Picture(3, 2, Pattern)})
        for (size_t n = 0; n < full.size(); ++n)
            cases.push_back({"truncated", std::vector<uint8_t>(full.begin(), full.begin() + long(n))});
    for (const auto& c : cases) EXPECT_EQ(Decode(c.second), nullptr) << c.first << " " << c.second.size();
}
