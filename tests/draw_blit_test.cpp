// Blits onto the back buffer: the clipping rule on every side, copies that must draw
// nothing, ids outside the table, DrawRect geometry, clearing and the present.
#include "draw/kaDraw.h"
#include "draw_test_support.h"
#include "platform/headless.h"

using namespace kaDraw;

class DrawBlitTest : public DrawTest {
protected:
    int pattern = 0;  // a 64 x 48 picture of Pattern colours
    void SetUp() override {
        DrawTest::SetUp();
        WriteFile("pat.sad", Picture24(64, 48, Pattern));
        pattern = LoadObject("pat.sad", 2);
        ASSERT_EQ(pattern, 4);
    }
    int WrittenPixels() {
        int n = 0;
        for (int y = 0; y < 520; ++y)
            for (int x = 0; x < 700; ++x) n += Back(x, y) != 0;
        return n;
    }
    // Checks that exactly the destination rectangle shows the source from (sx, sy).
    void ExpectCopied(int dx, int dy, int sx, int sy, int w, int h) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(Back(dx + x, dy + y), Pattern(sx + x, sy + y)) << x << "," << y;
        EXPECT_EQ(WrittenPixels(), w * h);
    }
};

TEST_F(DrawBlitTest, RightEdgeCutsTheSourceRectangle) {
    BltOpaque(690, 10, pattern, 0, 0, 64, 48);
    ExpectCopied(690, 10, 0, 0, 10, 48);
}

TEST_F(DrawBlitTest, LeftAndTopEdgesMoveTheSourceCorner) {
    BltOpaque(-20, -5, pattern, 0, 0, 64, 48);
    ExpectCopied(0, 0, 20, 5, 44, 43);
}

TEST_F(DrawBlitTest, BottomEdgeCutsTheSourceRectangle) {
    BltTransparent(100, 500, pattern, 8, 4, 40, 40);
    ExpectCopied(100, 500, 8, 4, 32, 20);
}

TEST_F(DrawBlitTest, NarrowerClipRectBoundsEverySide) {
    SetClipRect(100, 100, 130, 120);
    BltOpaque(90, 95, pattern, 0, 0, 64, 48);
    ExpectCopied(100, 100, 10, 5, 30, 20);
}

TEST_F(DrawBlitTest, CopiesThatMustDrawNothing) {
    BltTransparent(700, 0, pattern, 0, 0, 64, 48);  // clipped to an empty source
    BltOpaque(800, 0, pattern, 0, 0, 64, 48);       // right edge ends left of the left
    BltOpaque(0, 600, pattern, 0, 0, 64, 48);
    BltOpaque(10, 10, pattern, 5, 0, 5, 48);        // right equal to left
    BltOpaque(10, 10, pattern, 0, 0, 65, 48);       // source wider than the picture
    BltOpaque(10, 10, pattern, 0, -1, 64, 48);      // source above the picture
    BltOpaque(10, 10, pattern, 0, 0, 64, 49);
    BltOpaque(-2000000000, -2000000000, pattern, 0, 0, 2000000000, 2000000000);
    for (int id : {-1, 1024, 5000, 5, 1023}) {  // outside the table, or holding nothing
        BltOpaque(0, 0, id, 0, 0, 64, 48);
        BltTransparent(0, 0, id, 0, 0, 64, 48);
        ClearObject(id);
    }
    EXPECT_EQ(WrittenPixels(), 0);
    // A clip rectangle reaching past the back buffer does not let a copy out of it.
    SetClipRect(0, 0, 800, 600);
    BltOpaque(690, 0, pattern, 0, 0, 64, 48);
    EXPECT_EQ(WrittenPixels(), 0);
}

TEST_F(DrawBlitTest, DrawRectOutlinesTheEdgeAndFillsInside) {
    DrawRect(10, 20, 15, 24, 0x0000FF, 0xFFFFFF, 1);  // fill red, outline white
    for (int y = 18; y < 27; ++y)
        for (int x = 8; x < 18; ++x) {
            bool inside = x >= 10 && x < 15 && y >= 20 && y < 24;
            bool edge = inside && (x == 10 || x == 14 || y == 20 || y == 23);
            uint32_t want = !inside ? 0 : edge ? 0xFFFFFF : 0xFF0000;
            EXPECT_EQ(Back(x, y), want) << x << "," << y;
        }
    ClearBackBuffer();
    DrawRect(690, 510, 710, 530, 0x0000FF, 0xFFFFFF, 1);  // cut by the back buffer
    EXPECT_EQ(Back(690, 510), 0xFFFFFFu);
    EXPECT_EQ(Back(699, 519), 0xFF0000u);
    EXPECT_EQ(WrittenPixels(), 100);
}

TEST_F(DrawBlitTest, ClearsFillWithBlack) {
    BltOpaque(0, 0, pattern, 0, 0, 64, 48);
    EXPECT_EQ(ClearBackBuffer(), 1);
    EXPECT_EQ(WrittenPixels(), 0);
    EXPECT_EQ(ClearObject(pattern), 1);
    BltOpaque(0, 0, pattern, 0, 0, 64, 48);
    EXPECT_EQ(WrittenPixels(), 0);
}

TEST_F(DrawBlitTest, PresentShowsTheTopLeftOfTheBackBuffer) {
    BltOpaque(600, 440, pattern, 0, 0, 64, 48);
    PresentBackBuffer();
    ASSERT_EQ(headless::PresentCount(), 1);
    const headless::Frame* f = headless::LastFrame();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->width, 640);
    EXPECT_EQ(f->height, 474);
    EXPECT_EQ(f->Pixel(600, 440), Pattern(0, 0));
    EXPECT_EQ(f->Pixel(639, 473), Pattern(39, 33));
    EXPECT_EQ(f->Pixel(599, 440), 0u);
}

class Draw565Test : public DrawTest {
protected:
    PixelFormat DisplayFormat() const override { return FormatRGB565; }
};

TEST_F(Draw565Test, PicturesAndPresentWorkIn16Bits) {
    WriteFile("pic.sad", Picture24(4, 4, [](int x, int y) { return x < 2 ? 0xFF00FFu : 0x00FF00u; }));
    SetKeyFromPixel();
    int id = LoadObject("pic.sad", 2);
    ASSERT_EQ(id, 4);
    EXPECT_EQ(ObjectTable[id].surface->colourKey, 0xF81Fu);  // magenta in 565
    DrawRect(0, 0, 8, 8, 0x0000FF, 0x0000FF, 1);
    BltTransparent(0, 0, id, 0, 0, 4, 4);
    EXPECT_EQ(Back(0, 0), 0xF800u);  // the keyed magenta left the red
    EXPECT_EQ(Back(3, 0), 0x07E0u);
    PresentBackBuffer();
    const headless::Frame* f = headless::LastFrame();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(f->Pixel(3, 3), 0x00FF00u);
    EXPECT_EQ(f->Pixel(8, 8), 0u);
}
