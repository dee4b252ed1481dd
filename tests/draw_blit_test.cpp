// Composing on the back buffer: the clipping rule on every side and the copies it must
// refuse, and a save's small picture cut to the back buffer and converted to its layout.
#include "draw_test_support.h"

using namespace kaDraw;

class DrawBlitTest : public DrawTest {
protected:
    int pattern = 0;  // 64 x 48 of Pattern
    void SetUp() override {
        DrawTest::SetUp();
        pattern = Load("pat.sad", Picture(64, 48, Pattern));
    }
};

// Copies clipped to nothing, outside the picture, outside the table, from an empty entry,
// or under a clip rectangle larger than the back buffer draw nothing at all.
TEST_F(DrawBlitTest, ClippingCutsEachSideAndMovesTheSourceWithItOrDrawsNothing) {
    const int p = pattern, big = 2000000000, all[4] = {0, 0, 700, 520};
    // Object, destination, source rectangle, clip; where the copy shows, from where, its size.
    struct { int id, dx, dy, l, t, r, b; std::vector<int> clip; int want[6]; } cases[] = {
        {p, 690, 10, 0, 0, 64, 48, {}, {690, 10, 0, 0, 10, 48}},
        {p, -20, -5, 0, 0, 64, 48, {}, {0, 0, 20, 5, 44, 43}},
        {p, 100, 500, 8, 4, 40, 40, {}, {100, 500, 8, 4, 32, 20}},
        {p, 90, 95, 0, 0, 64, 48, {100, 100, 130, 120}, {100, 100, 10, 5, 30, 20}},
        {p, 700, 0, 0, 0, 64, 48, {}, {}}, {p, 800, 0, 0, 0, 64, 48, {}, {}},
        {p, 10, 10, 5, 0, 5, 48, {}, {}}, {p, 10, 10, 0, 0, 65, 48, {}, {}}, {p, 10, 10, 0, -1, 64, 48, {}, {}},
        {p, -big, -big, 0, 0, big, big, {}, {}}, {-1, 0, 0, 0, 0, 64, 48, {}, {}},
        {1024, 0, 0, 0, 0, 64, 48, {}, {}}, {6, 0, 0, 0, 0, 64, 48, {}, {}},
        {p, 690, 0, 0, 0, 64, 48, {0, 0, 800, 600}, {}}};
    for (auto& c : cases)
        for (auto blt : {BltOpaque, BltTransparent}) {
            const int *w = c.want, *clip = c.clip.empty() ? all : c.clip.data();
            ClearBackBuffer();
            SetClipRect(clip[0], clip[1], clip[2], clip[3]);
            blt(c.dx, c.dy, c.id, c.l, c.t, c.r, c.b);
            for (int y = 0; y < w[5]; ++y)
                for (int x = 0; x < w[4]; ++x)
                    ASSERT_EQ(Back(w[0] + x, w[1] + y), Pattern(w[2] + x, w[3] + y)) << c.dx << "," << c.dy;
            EXPECT_EQ(Written(), w[4] * w[5]) << c.id << " " << c.dx << "," << c.dy;
        }
}

// A save's small picture: cut to the back buffer with its rows kept in step (the menu
// draws it whole, in the frames kept of the shipped story); nothing is drawn for no
// pixels or no size; converted to a 16-bit layout.
TEST_F(DrawBlitTest, RgbPixelsAreCutAndConverted) {
    const int w = 6, h = 4;
    std::vector<uint8_t> rgb(w * h * 3);
    for (int i = 0; i < w * h; ++i) rgb[3 * i] = uint8_t(40 * (i % w)), rgb[3 * i + 1] = uint8_t(50 * (i / w)), rgb[3 * i + 2] = 0x33;
    auto at = [&](int x, int y) { return uint32_t(40 * x) << 16 | uint32_t(50 * y) << 8 | 0x33u; };
    BltRgbPixels(-2, 517, rgb.data(), w, h);  // two columns off the left, one row on
    EXPECT_EQ(Back(0, 517), at(2, 0));
    EXPECT_EQ(Back(3, 519), at(5, 2));
    EXPECT_EQ(Written(), 4 * 3);
    ClearBackBuffer();
    BltRgbPixels(0, 0, nullptr, w, h);
    BltRgbPixels(0, 0, rgb.data(), 0, h);
    BltRgbPixels(0, 0, rgb.data(), w, -1);
    BltRgbPixels(2000000000, 2000000000, rgb.data(), w, h);
    EXPECT_EQ(Written(), 0);

    CloseMedia();
    SetDisplayFormat(FormatRGB565);
    ASSERT_EQ(OpenMedia(700, 520, 1), 1);
    BltRgbPixels(10, 10, rgb.data(), w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = &rgb[3 * (y * w + x)];
            ASSERT_EQ(Back(10 + x, 10 + y), NativeFromColour(FormatRGB565, p[0] | p[1] << 8 | p[2] << 16));
        }
}
