// Display set-up and image objects: internal sprites, channel shifts, a layout without
// channels, colour keys, the table filling up, names, asset headers and refusals.
#include <sys/stat.h>

#include "draw_test_support.h"

using namespace kaDraw;

static const std::vector<uint8_t> Tiny = Picture(1, 1, [](int, int) { return 0x123456u; });

TEST_F(DrawTest, ScreenMakesFourInternalSpritesAndTheFirstLoadGetsFour) {
    const char* names[4] = {"内部用１", "内部用２", "内部用３", "内部用４"};
    for (int id = 0; id < 4; ++id) {
        const ImageObject& o = ObjectTable[id];
        EXPECT_STREQ(o.name, names[id]);
        EXPECT_TRUE(o.surface && o.placement == 2 && o.key == 0 && o.width == 700 && o.height == 520);
    }
    EXPECT_EQ(Load("a.sad", Tiny), 4);
}

TEST(DrawScreen, ChannelShiftsPerLayoutAndALayoutWithoutChannelsIsRefused) {
    struct { PixelFormat format; uint16_t want[6]; } cases[] = {
        {FormatRGB565, {11, 5, 0, 11, 6, 0}}, {FormatRGB555, {10, 5, 0, 10, 5, 0}},
        {FormatRGB888, {16, 8, 0, 16, 8, 0}}, {FormatXRGB8888, {16, 8, 0, 16, 8, 0}}};
    headless::Reset();
    CloseScreen();  // harmless before any set-up
    for (auto& c : cases) {
        SetDisplayFormat(c.format);
        ASSERT_EQ(Screen(700, 520, 1), 1);
        uint16_t got[6] = {RedShift, GreenShift, BlueShift, Red5Shift, Green5Shift, Blue5Shift};
        for (int i = 0; i < 6; ++i) EXPECT_EQ(got[i], c.want[i]) << c.format.bitsPerPixel << " " << i;
        CloseMedia();
    }
    SetDisplayFormat(PixelFormat{32, 0, 0, 0});
    EXPECT_EQ(Screen(700, 520, 1), 0);
    SetDisplayFormat(FormatXRGB8888);
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].caption, "エラー発生");
    EXPECT_EQ(headless::MessageBoxes()[0].text, "kaDraw::Screen : ピクセル情報が取得できません");
    // Nothing of the failed set-up stays, and nothing touches a surface or complains.
    EXPECT_TRUE(BackBuffer == nullptr && ObjectTable[0].surface == nullptr);
    EXPECT_EQ(LoadObject("tit.sad", 2), 0);
    BltWave(0, 0, 10, 2, 150.0f, 0, 0, 0, 500, 375, 0);
    DrawRect(10, 10, 100, 100, 0x0000FF, 0, 1);
    EXPECT_EQ(ClearBackBuffer() + ClearObject(2), 0);
    PresentBackBuffer();
    EXPECT_EQ(headless::PresentCount(), 0);
    EXPECT_EQ(headless::MessageBoxes().size(), 1u);
    CloseScreen();
    CloseScreen();
}

TEST_F(DrawTest, ColourKeysLeaveOutTheTopLeftColourOrBlack) {
    // Magenta top row and left column around white; the second picture black and white.
    SetKeyFromPixel();
    int magenta = Load("m.sad", Picture(4, 4, [](int x, int y) { return x && y ? 0xFFFFFFu : 0xFF00FFu; }));
    SetKeyColour(0);
    int black = Load("k.sad", Picture(2, 1, [](int x, int) { return x ? 0xFFFFFFu : 0u; }));
    EXPECT_EQ(ObjectTable[magenta].key, -1);
    EXPECT_EQ(ObjectTable[black].key, 0);
    DrawRect(0, 0, 20, 20, 0xFF0000, 0xFF0000, 1);  // blue ground
    BltTransparent(0, 0, magenta, 0, 0, 4, 4);
    BltTransparent(10, 0, black, 0, 0, 2, 1);
    BltOpaque(10, 10, magenta, 0, 0, 4, 4);
    uint32_t want[][3] = {{0, 0, 0x0000FF}, {3, 0, 0x0000FF}, {0, 3, 0x0000FF}, {1, 1, 0xFFFFFF},
                          {10, 0, 0x0000FF}, {11, 0, 0xFFFFFF}, {10, 10, 0xFF00FF}};
    for (auto& w : want) EXPECT_EQ(Back(int(w[0]), int(w[1])), w[2]) << w[0] << "," << w[1];
    EXPECT_EQ(PhysicalColour(ObjectTable[black].surface, 0x0000FF), 0xFF0000u);
}

TEST_F(DrawTest, TableFillsAtTenTwentyAndReusesTheLowestFreeEntry) {
    for (int i = 0; i < 1020; ++i) ASSERT_EQ(Load("p.sad", Tiny), 4 + i);
    EXPECT_EQ(LoadObject("p.sad", 2), 0);
    EXPECT_EQ(LastBox(), "kaDraw::LoadObject : オブジェクト数が多過ぎます");
    ReleaseObject(900);
    ReleaseObject(17);
    EXPECT_EQ(LoadObject("p.sad", 2), 17);
    EXPECT_EQ(LoadObject("p.sad", 2), 900);
    EXPECT_EQ(headless::MessageBoxes().size(), 1u);
}

TEST_F(DrawTest, RefusedLoadsReportAndLeaveTheTableAsItWas) {
    std::string thirty = std::string(26, 'a') + ".sad", thirtyOne = "b" + thirty;
    EXPECT_EQ(Load(thirty, Tiny), 4);
    EXPECT_EQ(Load(thirtyOne, Tiny), 0);
    EXPECT_EQ(LastBox(), "kaDraw::LoadObject : ファイル名またはリソース名が長すぎます");
    for (int i = 0; i < 3; ++i) {  // failed loads do not use entries up
        EXPECT_EQ(Load("junk.sad", std::vector<uint8_t>(100, 'x')), 0);
        EXPECT_EQ(LoadObject("missing.sad", 2), 0);
        EXPECT_EQ(LastBox(), "kaDraw::LoadObject : BMPファイルを読み込めません");
    }
    EXPECT_EQ(Load("b.sad", Picture(5, 3, Pattern)), 5);
    EXPECT_EQ(SwapObject("b.sad", 4, 2), 1);
    EXPECT_TRUE(ObjectTable[4].width == 5 && std::string(ObjectTable[4].name) == "b.sad");
    EXPECT_EQ(SwapObject("missing.sad", 4, 2), 0);
    EXPECT_EQ(LastBox(), "kaDraw::SwapObject : BMPファイルを読み込めません");
    EXPECT_EQ(SwapObject("b.sad", 2, 2) + SwapObject("b.sad", 1024, 2), 0);
}

TEST_F(DrawTest, ReleaseSparesInternalSpritesAndIdsOutsideTheTable) {
    for (int id : {-1, 0, 1, 2, 3, 1023, 1024}) ReleaseObject(id);
    for (int id = 0; id < 4; ++id) EXPECT_NE(ObjectTable[id].surface, nullptr);
    ASSERT_EQ(Load("a.sad", Tiny), 4);
    ObjectTable[4].placement = 7;
    ReleaseObject(4);
    EXPECT_TRUE(!ObjectTable[4].surface && !ObjectTable[4].name[0] && ObjectTable[4].width == 0);
    EXPECT_EQ(ObjectTable[4].placement, 7u);  // left as it was
}

TEST_F(DrawTest, AssetHeaderIsRestoredForTheLoadAndBlankedAfterIt) {
    std::string path = dir + "tit.sad";
    ASSERT_EQ(Load("tit.sad", Tiny), 4);  // a blanked file loads as it is
    EXPECT_EQ(FileStart("tit.sad"), "  ");
    RestoreAssetHeader(path.c_str());
    EXPECT_EQ(FileStart("tit.sad"), "BM");
    EXPECT_EQ(LoadObject("tit.sad", 2), 5);
    BlankAssetHeader(path.c_str());
    EXPECT_EQ(FileStart("tit.sad"), "  ");
    // Read-only: the header cannot be written back (except by root), the load works.
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    RestoreAssetHeader(path.c_str());
    EXPECT_EQ(LoadObject("tit.sad", 2), 6);
    BlankAssetHeader(path.c_str());
    EXPECT_EQ(FileStart("tit.sad"), "  ");
}
