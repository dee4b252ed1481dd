// Composing on the back buffer: the clipping rule on every side, copies that must draw
// nothing, DrawRect, the present, and the line-shift effects.
#include <cstdlib>

#include "draw_test_support.h"
#include "shell/shell.h"

using namespace kaDraw;

class DrawBlitTest : public DrawTest {
protected:
    int pattern = 0, stripes = 0;  // 64 x 48 of Pattern; 20 x 200 of Stripe
    static uint32_t Stripe(int, int y) { return uint32_t(y) << 16 | 0x4080; }
    void SetUp() override {
        DrawTest::SetUp();
        pattern = Load("pat.sad", Picture(64, 48, Pattern));
        stripes = Load("stripes.sad", Picture(20, 200, Stripe));
        ASSERT_TRUE(pattern == 4 && stripes == 5);
        WavePhase = 0.0f, WaveSign = 1, Shell.FrameSeconds = 0.0f;
    }
    // Exactly the destination rectangle shows the pattern from (sx, sy).
    void ExpectCopied(int dx, int dy, int sx, int sy, int w, int h) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) ASSERT_EQ(Back(dx + x, dy + y), Pattern(sx + x, sy + y)) << x << "," << y;
        EXPECT_EQ(Written(), w * h);
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

TEST_F(DrawBlitTest, ClippingCutsEachSideAndMovesTheSourceWithIt) {
    struct { int dx, dy, l, t, r, b; int clip[4]; int want[6]; } cases[] = {
        {690, 10, 0, 0, 64, 48, {0, 0, 700, 520}, {690, 10, 0, 0, 10, 48}},
        {-20, -5, 0, 0, 64, 48, {0, 0, 700, 520}, {0, 0, 20, 5, 44, 43}},
        {100, 500, 8, 4, 40, 40, {0, 0, 700, 520}, {100, 500, 8, 4, 32, 20}},
        {90, 95, 0, 0, 64, 48, {100, 100, 130, 120}, {100, 100, 10, 5, 30, 20}},
    };
    for (auto& c : cases) {
        ClearBackBuffer();
        SetClipRect(c.clip[0], c.clip[1], c.clip[2], c.clip[3]);
        BltTransparent(c.dx, c.dy, pattern, c.l, c.t, c.r, c.b);
        ExpectCopied(c.want[0], c.want[1], c.want[2], c.want[3], c.want[4], c.want[5]);
    }
}

TEST_F(DrawBlitTest, CopiesThatMustDrawNothing) {
    BltTransparent(700, 0, pattern, 0, 0, 64, 48);  // clipped to an empty source
    BltOpaque(800, 0, pattern, 0, 0, 64, 48);       // clipped right edge left of the left
    BltOpaque(10, 10, pattern, 5, 0, 5, 48);        // right equal to left
    BltOpaque(10, 10, pattern, 0, 0, 65, 48);       // source outside the picture
    BltOpaque(10, 10, pattern, 0, -1, 64, 48);
    BltOpaque(-2000000000, -2000000000, pattern, 0, 0, 2000000000, 2000000000);
    for (int id : {-1, 1024, 5000, 6, 1023}) {  // outside the table, or holding nothing
        BltOpaque(0, 0, id, 0, 0, 64, 48);
        BltTransparent(0, 0, id, 0, 0, 64, 48);
    }
    SetClipRect(0, 0, 800, 600);  // a clip rectangle past the back buffer lets nothing out
    BltOpaque(690, 0, pattern, 0, 0, 64, 48);
    EXPECT_EQ(Written(), 0);
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

TEST_F(DrawBlitTest, PresentShowsTheTopLeftInEveryLayout) {
    BltOpaque(600, 440, pattern, 0, 0, 64, 48);
    PresentBackBuffer();
    const headless::Frame* f = headless::LastFrame();
    ASSERT_TRUE(f && f->width == 640 && f->height == 474);
    EXPECT_EQ(f->Pixel(639, 473), Pattern(39, 33));
    EXPECT_EQ(f->Pixel(599, 440), 0u);

    CloseMedia();
    SetDisplayFormat(FormatRGB565);
    ASSERT_EQ(Screen(700, 520, 1), 1);
    SetKeyFromPixel();
    int id = Load("two.sad", Picture(4, 1, [](int x, int) { return x < 2 ? 0xFF00FFu : 0x00FF00u; }));
    EXPECT_EQ(ObjectTable[id].surface->colourKey, 0xF81Fu);  // magenta in 565
    DrawRect(0, 0, 8, 8, 0x0000FF, 0x0000FF, 1);
    BltTransparent(0, 0, id, 0, 0, 4, 1);
    PresentBackBuffer();
    f = headless::LastFrame();
    EXPECT_TRUE(f->Pixel(0, 0) == 0xFF0000 && f->Pixel(3, 0) == 0x00FF00 && f->Pixel(8, 8) == 0);
}

TEST_F(DrawBlitTest, WaveRowsFollowTheAbsoluteRowAndTruncatedPhase) {
    BltWave(100, 0, 10, 0, 0.0f, stripes, 0, 0, 20, 200, 0);
    // cos 60 lands just above 0.5, cos 90 just above 0; truncation is toward zero.
    int rows[] = {0, 60, 90, 100, 120, 180}, want[] = {10, 5, 0, -1, -4, -10};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Shift(rows[i], 100, rows[i]), want[i]) << rows[i];
    EXPECT_EQ(Back(0, 180), 0u);
    ClearBackBuffer();
    WavePhase = 29.9f;  // row 62 of a band from 60: 62 / 2 + 29 = 60 degrees
    BltWave(100, 0, 10, 2, 0.0f, stripes, 0, 60, 20, 70, 0);
    EXPECT_EQ(Shift(2, 100, 62), 5);
    EXPECT_EQ(Shift(10, 100, 0), -999);
    ClearBackBuffer();
    WavePhase = 0.0f;
    BltWave(0, 0, 10, 0, 0.0f, stripes, 0, 180, 20, 181, 0);  // pushed left: cut
    EXPECT_TRUE(Back(0, 0) == Stripe(0, 180) && Back(9, 0) == Stripe(0, 180) && !Back(10, 0));
}

TEST_F(DrawBlitTest, WavePhaseAndSignCarryBetweenCalls) {
    Shell.FrameSeconds = 0.5f;
    BltWave(0, 0, 10, 2, 150.0f, stripes, 0, 5, 20, 5, 0);  // no rows, still advances
    EXPECT_FLOAT_EQ(WavePhase, 75.0f);
    WavePhase = 350.0f, Shell.FrameSeconds = 0.1f;
    BltWave(0, 0, 10, 2, 150.0f, stripes, 0, 0, 20, 1, 0);
    EXPECT_NEAR(WavePhase, 5.0f, 1e-4);
    BltWave(0, 0, 10, 2, -150.0f, stripes, 0, 0, 20, 1, 0);
    EXPECT_NEAR(WavePhase, -10.0f, 1e-4);  // below zero is left alone
    WavePhase = 0.0f, ClearBackBuffer();
    BltWave(100, 0, 10, 0, 0.0f, stripes, 0, 0, 20, 3, 1);
    EXPECT_TRUE(Shift(0, 100, 0) == 10 && Shift(1, 100, 1) == -9 && Shift(2, 100, 2) == 9);
    BltWave(100, 10, 10, 0, 0.0f, stripes, 0, 0, 20, 1, 1);  // three rows left it flipped
    EXPECT_EQ(Shift(10, 100, 0), -10);
}

TEST_F(DrawBlitTest, JitterTakesOneRandomNumberPerRowWithinItsRange) {
    std::srand(7);
    BltJitter(100, 0, 3, stripes, 0, 0, 20, 200);
    std::srand(7);
    bool seen[6] = {};
    for (int r = 0; r < 200; ++r) {
        int dx = Shift(r, 100, r);
        ASSERT_EQ(dx, std::rand() % 6 - 3) << r;  // so always within -3 .. 2
        seen[dx + 3] = true;
    }
    EXPECT_TRUE(seen[0] && seen[5]);
    ClearBackBuffer();
    std::srand(3);
    int next = std::rand();
    std::srand(3);
    BltJitter(100, 0, 0, stripes, 0, 0, 20, 200);  // one plain keyed blit, no random numbers
    EXPECT_EQ(std::rand(), next);
    EXPECT_TRUE(Shift(0, 100, 0) == 0 && Shift(199, 100, 199) == 0);
}
