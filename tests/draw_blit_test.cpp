// Composing on the back buffer: the clipping rule on every side and the copies it must
// refuse, DrawRect, and the line-shift effects.
#include <set>

#include "base/frame.h"
#include "draw_test_support.h"

using namespace kaDraw;

class DrawBlitTest : public DrawTest {
protected:
    int pattern = 0, stripes = 0;  // 64 x 48 of Pattern; 20 x 200 of Stripe
    static uint32_t Stripe(int, int y) { return uint32_t(y) << 16 | 0x4080; }
    void SetUp() override {
        DrawTest::SetUp();
        pattern = Load("pat.sad", Picture(64, 48, Pattern));
        stripes = Load("stripes.sad", Picture(20, 200, Stripe));
        ResetEffects(), FrameSeconds = 0.0f;
    }
    // How far source row r was moved on back-buffer row y drawn from x0 (-999: absent).
    int Shift(int y, int x0, int r) {
        int x = 0;
        while (x < 700 && !Back(x, y)) ++x;
        if (x == 700) return -999;
        EXPECT_EQ(Back(x, y), Stripe(0, r));
        return x - x0;
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

TEST_F(DrawBlitTest, DrawRectOutlinesTheEdgeAndFillsInside) {
    DrawRect(10, 20, 15, 24, 0x0000FF, 0xFFFFFF, 1);  // red fill, white outline
    for (int y = 18; y < 27; ++y)
        for (int x = 8; x < 18; ++x) {
            bool in = x >= 10 && x < 15 && y >= 20 && y < 24;
            bool edge = x == 10 || x == 14 || y == 20 || y == 23;
            EXPECT_EQ(Back(x, y), !in ? 0 : edge ? 0xFFFFFFu : 0xFF0000u) << x << "," << y;
        }
    DrawRect(690, 510, 710, 530, 0x0000FF, 0xFFFFFF, 1);  // cut by the back buffer
    EXPECT_EQ(Back(699, 519), 0xFF0000u);
    EXPECT_EQ(Written(), 20 + 100);
}

// A save's small picture: each RGB pixel lands at its place in the back buffer's layout,
// cut to the clip rectangle and the back buffer with its rows kept in step; nothing is
// drawn for no pixels or no size.
TEST_F(DrawBlitTest, RgbPixelsLandInPlaceConvertedAndCut) {
    const int w = 6, h = 4;
    std::vector<uint8_t> rgb(w * h * 3);
    for (int i = 0; i < w * h; ++i) rgb[3 * i] = uint8_t(40 * (i % w)), rgb[3 * i + 1] = uint8_t(50 * (i / w)), rgb[3 * i + 2] = 0x33;
    auto at = [&](int x, int y) { return uint32_t(40 * x) << 16 | uint32_t(50 * y) << 8 | 0x33u; };
    BltRgbPixels(100, 200, rgb.data(), w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ASSERT_EQ(Back(100 + x, 200 + y), at(x, y)) << x << "," << y;
    EXPECT_EQ(Written(), w * h);

    ClearBackBuffer();
    BltRgbPixels(-2, 517, rgb.data(), w, h);  // two columns off the left, one row on
    EXPECT_EQ(Back(0, 517), at(2, 0));
    EXPECT_EQ(Back(3, 519), at(5, 2));
    EXPECT_EQ(Written(), 4 * 3);
    ClearBackBuffer();
    SetClipRect(102, 201, 104, 700);
    BltRgbPixels(100, 200, rgb.data(), w, h);
    EXPECT_EQ(Back(102, 201), at(2, 1));
    EXPECT_EQ(Written(), 2 * 3);
    SetClipRect(0, 0, 700, 520);
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

TEST_F(DrawBlitTest, WaveRowsFollowTheAbsoluteRowTheTruncatedPhaseAndTheSign) {
    BltWave(100, 0, 10, 0, 0.0f, stripes, 0, 0, 20, 200, 0);
    // cos 60 lands just above 0.5, cos 90 just above 0; truncation is toward zero.
    int rows[] = {0, 60, 90, 100, 120, 180}, want[] = {10, 5, 0, -1, -4, -10};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Shift(rows[i], 100, rows[i]), want[i]) << rows[i];
    ClearBackBuffer();
    // Row 62 of a band from 60: 62 / 2 + 1469 = 1500 degrees, where (angle x 2 pi) x 1/360
    // puts the cosine just below 0.5.
    SetWavePhaseDegrees(1469.9f);
    BltWave(100, 0, 10, 2, 0.0f, stripes, 0, 60, 20, 70, 0);
    EXPECT_EQ(Shift(2, 100, 62), 4);
    SetWavePhaseDegrees(350.0f), FrameSeconds = 0.1f;
    BltWave(0, 0, 10, 2, 150.0f, stripes, 0, 0, 20, 1, 0);
    EXPECT_NEAR(WavePhaseDegrees(), 5.0f, 1e-4);  // 365 wraps
    SetWavePhaseDegrees(0.0f), ClearBackBuffer();
    BltWave(100, 0, 10, 0, 0.0f, stripes, 0, 0, 20, 3, 1);
    BltWave(100, 3, 10, 0, 0.0f, stripes, 0, 0, 20, 1, 1);  // three rows left the sign flipped
    EXPECT_TRUE(Shift(0, 100, 0) == 10 && Shift(1, 100, 1) == -9 && Shift(2, 100, 2) == 9);
    EXPECT_EQ(Shift(3, 100, 0), -10);
}

// Each row moves by its own amount from -jitter to jitter - 1, every one of those amounts
// turns up, and each row arrives whole; no jitter is one plain keyed blit.
TEST_F(DrawBlitTest, JitterShiftsEachRowByItsOwnAmountWithinItsRange) {
    std::srand(7);
    BltJitter(100, 0, 3, stripes, 0, 0, 20, 200);
    std::set<int> seen;
    for (int r = 0; r < 200; ++r) {
        int shift = Shift(r, 100, r);
        ASSERT_TRUE(shift >= -3 && shift <= 2) << "row " << r << " moved by " << shift;
        EXPECT_TRUE(Back(100 + shift + 19, r) && !Back(100 + shift + 20, r)) << "row " << r;
        seen.insert(shift);
    }
    EXPECT_EQ(seen.size(), 6u) << "every amount from -3 to 2 turns up";
    ClearBackBuffer();
    BltJitter(100, 0, 0, stripes, 0, 0, 20, 200);
    EXPECT_TRUE(Shift(0, 100, 0) == 0 && Shift(199, 100, 199) == 0);
}
