// The line-shift blits: wave phase bookkeeping, the offset of every row, alternation
// carried between calls, clipping of shifted rows, and the jitter's range and order.
#include <cstdlib>

#include "draw/kaDraw.h"
#include "draw_test_support.h"
#include "shell/shell.h"

using namespace kaDraw;

// Row r of the striped picture: red = r, green 0x40, blue 0x80; 20 pixels wide.
static uint32_t Stripe(int, int y) { return uint32_t(y) << 16 | 0x4080; }

class DrawEffectsTest : public DrawTest {
protected:
    int stripes = 0;
    void SetUp() override {
        DrawTest::SetUp();
        WriteFile("stripes.sad", Picture24(20, 200, Stripe));
        stripes = LoadObject("stripes.sad", 2);
        ASSERT_EQ(stripes, 4);
        WavePhase = 0.0f;
        WaveSign = 1;
        Shell.FrameSeconds = 0.0f;
    }
    // Where source row r landed on back-buffer row y, relative to x0 (-999: nowhere),
    // after checking that the row is one unbroken copy.
    int Shift(int y, int x0, int r) {
        int first = -1, count = 0;
        for (int x = 0; x < 700; ++x)
            if (Back(x, y)) {
                if (first < 0) first = x;
                EXPECT_EQ(Back(x, y), Stripe(0, r));
                ++count;
            }
        if (first < 0) return -999;
        EXPECT_EQ(count, 20);
        return first - x0;
    }
};

TEST_F(DrawEffectsTest, WaveRowOffsetsTruncateTowardZero) {
    BltWave(100, 0, 10, 0, 0.0f, stripes, 0, 0, 20, 200, 0);
    // One degree per row: cos 0 = 1; cos 60 lands just above 0.5; cos 90 just above 0;
    // cos 100 = -0.17 truncates to -1, not -2; cos 120 just above -0.5 gives -4.
    const int rows[] = {0, 60, 90, 100, 120, 180};
    const int want[] = {10, 5, 0, -1, -4, -10};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Shift(rows[i], 100, rows[i]), want[i]) << rows[i];
}

TEST_F(DrawEffectsTest, WaveAngleComesFromTheAbsoluteRowAndTheTruncatedPhase) {
    WavePhase = 29.9f;
    // Rows 60.. of the picture drawn at the top: row 62 is 62 / 2 + 29 = 60 degrees
    // (a rounded phase would give 61 and offset 4, a band-relative row 30 and 8).
    BltWave(100, 0, 10, 2, 0.0f, stripes, 0, 60, 20, 70, 0);
    EXPECT_EQ(Shift(2, 100, 62), 5);
    EXPECT_EQ(Shift(10, 100, 0), -999);  // ten rows only
}

TEST_F(DrawEffectsTest, WavePhaseAdvancesOncePerCallAndWrapsOnce) {
    Shell.FrameSeconds = 0.5f;
    BltWave(0, 0, 10, 2, 150.0f, stripes, 0, 5, 20, 5, 0);  // no rows: still advances
    EXPECT_FLOAT_EQ(WavePhase, 75.0f);
    EXPECT_EQ(Shift(0, 0, 0), -999);
    WavePhase = 350.0f;
    Shell.FrameSeconds = 0.1f;
    BltWave(0, 0, 10, 2, 150.0f, stripes, 0, 0, 20, 10, 0);
    EXPECT_NEAR(WavePhase, 5.0f, 1e-4);
    WavePhase = 10.0f;
    BltWave(0, 0, 10, 2, -150.0f, stripes, 0, 0, 20, 1, 0);
    EXPECT_NEAR(WavePhase, -5.0f, 1e-4);  // below zero is left alone
}

TEST_F(DrawEffectsTest, AlternationFlipsPerRowAndCarriesIntoTheNextCall) {
    BltWave(100, 0, 10, 0, 0.0f, stripes, 0, 0, 20, 3, 1);
    EXPECT_EQ(Shift(0, 100, 0), 10);
    EXPECT_EQ(Shift(1, 100, 1), -9);
    EXPECT_EQ(Shift(2, 100, 2), 9);
    EXPECT_EQ(WaveSign, -1);
    ClearBackBuffer();
    BltWave(100, 0, 10, 0, 0.0f, stripes, 0, 0, 20, 1, 1);
    EXPECT_EQ(Shift(0, 100, 0), -10);
}

TEST_F(DrawEffectsTest, RowsPushedPastTheEdgesAreCutNotWrapped) {
    BltWave(0, 0, 10, 0, 0.0f, stripes, 0, 0, 20, 200, 0);
    EXPECT_EQ(Back(10, 0), Stripe(0, 0));  // row 0 moved right by 10
    EXPECT_EQ(Back(29, 0), Stripe(0, 0));
    EXPECT_EQ(Back(0, 0), 0u);
    EXPECT_EQ(Back(0, 180), Stripe(0, 180));  // row 180 moved left by 10: half is left
    EXPECT_EQ(Back(9, 180), Stripe(0, 180));
    EXPECT_EQ(Back(10, 180), 0u);
    ClearBackBuffer();
    BltWave(680, 0, 10, 0, 0.0f, stripes, 0, 0, 20, 1, 0);
    EXPECT_EQ(Back(690, 0), Stripe(0, 0));
    EXPECT_EQ(Back(699, 0), Stripe(0, 0));
}

TEST_F(DrawEffectsTest, JitterTakesOneRandomNumberPerRowWithinItsRange) {
    std::srand(7);
    BltJitter(100, 0, 3, stripes, 0, 0, 20, 200);
    std::srand(7);
    bool seen[6] = {};
    for (int r = 0; r < 200; ++r) {
        int dx = Shift(r, 100, r);
        EXPECT_EQ(dx, std::rand() % 6 - 3) << r;
        ASSERT_TRUE(dx >= -3 && dx <= 2) << r;
        seen[dx + 3] = true;
    }
    for (bool s : seen) EXPECT_TRUE(s);

    ClearBackBuffer();
    BltJitter(100, 0, 1, stripes, 0, 0, 20, 200);
    int minus = 0;
    for (int r = 0; r < 200; ++r) {
        int dx = Shift(r, 100, r);
        ASSERT_TRUE(dx == -1 || dx == 0) << r;  // never +1
        minus += dx == -1;
    }
    EXPECT_GT(minus, 0);
    EXPECT_LT(minus, 200);
}

TEST_F(DrawEffectsTest, JitterOfZeroOrLessIsOnePlainKeyedBlit) {
    std::srand(3);
    int before = std::rand();
    std::srand(3);
    BltJitter(100, 0, 0, stripes, 0, 0, 20, 200);
    BltJitter(200, 250, -4, stripes, 0, 0, 20, 200);
    EXPECT_EQ(std::rand(), before);  // no random numbers drawn
    for (int r = 0; r < 200; r += 37) EXPECT_EQ(Shift(r, 100, r), 0);
    EXPECT_EQ(Shift(255, 200, 5), 0);
}
