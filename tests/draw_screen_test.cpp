// Display set-up: internal sprites, channel shifts per pixel layout, a layout without
// channels refused, and every operation harmless while no display is set up.
#include <cstring>

#include "draw/kaDraw.h"
#include "draw_test_support.h"
#include "platform/headless.h"

using namespace kaDraw;

TEST_F(DrawTest, ScreenCreatesFourKeyedInternalSpritesAndLeavesTheRestFree) {
    const char* names[4] = {"内部用１", "内部用２", "内部用３", "内部用４"};
    for (int id = 0; id < 4; ++id) {
        const ImageObject& o = ObjectTable[id];
        ASSERT_NE(o.surface, nullptr);
        EXPECT_STREQ(o.name, names[id]);
        EXPECT_EQ(o.placement, 2u);
        EXPECT_EQ(o.key, 0);
        EXPECT_EQ(o.width, 700);
        EXPECT_EQ(o.height, 520);
        EXPECT_EQ(o.surface->colourKey, 0u);
    }
    for (int id = 4; id < ObjectCount; ++id) {
        EXPECT_EQ(ObjectTable[id].surface, nullptr);
        EXPECT_EQ(ObjectTable[id].name[0], 0);
    }
    EXPECT_EQ(BackBuffer->width, 700);
    EXPECT_EQ(BackBuffer->height, 520);
    EXPECT_EQ(DisplayBitDepth(), 32);
    EXPECT_EQ(ClipRight, 700);
    EXPECT_EQ(ClipBottom, 520);
    EXPECT_EQ(BoxCount(), 0);
}

struct ShiftCase {
    const PixelFormat* format;
    int depth;
    uint16_t shifts[3], shifts5[3];
};

TEST(DrawScreen, ChannelShiftsFollowTheDisplayLayout) {
    const ShiftCase cases[] = {
        {&FormatRGB565, 16, {11, 5, 0}, {11, 6, 0}},
        {&FormatRGB555, 16, {10, 5, 0}, {10, 5, 0}},
        {&FormatRGB888, 24, {16, 8, 0}, {16, 8, 0}},
        {&FormatXRGB8888, 32, {16, 8, 0}, {16, 8, 0}},
    };
    for (const ShiftCase& c : cases) {
        headless::Reset();
        SetDisplayFormat(*c.format);
        ASSERT_EQ(Screen(700, 520, 1), 1);
        EXPECT_EQ(DisplayBitDepth(), c.depth);
        EXPECT_EQ(BackBuffer->format.bitsPerPixel, c.depth);
        EXPECT_EQ(RedShift, c.shifts[0]);
        EXPECT_EQ(GreenShift, c.shifts[1]);
        EXPECT_EQ(BlueShift, c.shifts[2]);
        EXPECT_EQ(Red5Shift, c.shifts5[0]);
        EXPECT_EQ(Green5Shift, c.shifts5[1]);
        EXPECT_EQ(Blue5Shift, c.shifts5[2]);
        CloseScreen();
    }
    SetDisplayFormat(FormatXRGB8888);
}

TEST(DrawScreen, LayoutWithoutChannelsIsRefusedAndLeavesNothingToDraw) {
    headless::Reset();
    SetDisplayFormat(PixelFormat{32, 0, 0, 0});
    EXPECT_EQ(Screen(700, 520, 1), 0);
    SetDisplayFormat(FormatXRGB8888);
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].caption, "エラー発生");
    EXPECT_EQ(headless::MessageBoxes()[0].text, "kaDraw::Screen : ピクセル情報が取得できません");
    EXPECT_EQ(BackBuffer, nullptr);
    for (int id = 0; id < 4; ++id) EXPECT_EQ(ObjectTable[id].surface, nullptr);

    // Nothing below may touch a surface or report anything.
    EXPECT_EQ(LoadObject("tit.sad", 2), 0);
    BltOpaque(0, 0, 0, 0, 0, 64, 48);
    BltTransparent(0, 0, 3, 0, 0, 64, 48);
    BltWave(0, 0, 10, 2, 150.0f, 0, 0, 0, 500, 375, 0);
    BltJitter(0, 0, 3, 0, 0, 0, 325, 115);
    DrawRect(10, 10, 100, 100, 0x0000FF, 0, 1);
    EXPECT_EQ(ClearBackBuffer(), 0);
    EXPECT_EQ(ClearObject(2), 0);
    PresentBackBuffer();
    EXPECT_EQ(headless::PresentCount(), 0);
    EXPECT_EQ(headless::MessageBoxes().size(), 1u);
    CloseScreen();
    CloseScreen();
}

TEST(DrawScreen, ScreenAfterCloseStartsAgainFromAnEmptyTable) {
    headless::Reset();
    CloseScreen();  // before any set-up
    ASSERT_EQ(Screen(700, 520, 1), 1);
    ASSERT_EQ(Screen(640, 480, 1), 1);  // a second set-up replaces the first
    EXPECT_EQ(ObjectTable[0].width, 640);
    EXPECT_EQ(ClipRight, 640);
    CloseScreen();
    CloseScreen();
    EXPECT_EQ(BackBuffer, nullptr);
    EXPECT_EQ(ObjectTable[1].surface, nullptr);
    EXPECT_EQ(ObjectTable[1].name[0], 0);
}
