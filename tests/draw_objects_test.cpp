// Display set-up and image objects: a layout without channels, colour keys and the
// present, the table filling up, names, releases and asset headers.
#include "draw_test_support.h"

using namespace kaDraw;

static const std::vector<uint8_t> Tiny = Picture(1, 1, [](int, int) { return 0x123456u; });

TEST(DrawScreen, ALayoutWithoutChannelsIsRefused) {
    headless::Reset();
    SetDisplayFormat(PixelFormat{32, 0, 0, 0});
    EXPECT_EQ(OpenMedia(700, 520, 1), 0);
    SetDisplayFormat(FormatXRGB8888);
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].text, "kaDraw::Screen : ピクセル情報が取得できません");
    // Nothing of the failed set-up stays for later calls to meet.
    EXPECT_TRUE(BackBuffer == nullptr && ObjectTable[0].surface == nullptr);
    DrawRect(10, 10, 100, 100, 0x0000FF, 0, 1);
    PresentBackBuffer();
    EXPECT_EQ(headless::PresentCount(), 0);
}

// In both layouts: keys leave out the top-left colour or, once a key colour is set again,
// black and not the top-left colour; callers' colours come as 0x00BBGGRR, and the window
// shows the top-left 640 x 474 of the back buffer.
TEST_F(DrawTest, ColourKeysAndThePresentInEveryLayout) {
    const uint32_t B = 0x0000FF, W = 0xFFFFFF, M = 0xFF00FF;
    for (PixelFormat format : {FormatXRGB8888, FormatRGB565}) {
        CloseMedia();
        SetDisplayFormat(format);
        ASSERT_EQ(OpenMedia(700, 520, 1), 1);
        SetKeyFromPixel();  // magenta top row and left column around white
        int magenta = Load("m.sad", Picture(4, 4, [=](int x, int y) { return x && y ? W : M; }));
        SetKeyColour(0);
        int black = Load("k.sad", Picture(2, 1, [=](int x, int) { return x ? 0u : W; }));
        DrawRect(0, 0, 20, 20, 0xFF0000, 0xFF0000, 1);
        BltTransparent(0, 0, magenta, 0, 0, 4, 4);
        BltTransparent(10, 0, black, 0, 0, 2, 1);
        BltOpaque(10, 10, magenta, 0, 0, 4, 4);
        BltOpaque(638, 472, magenta, 0, 0, 4, 4);
        PresentBackBuffer();
        const headless::Frame* f = headless::LastFrame();
        ASSERT_TRUE(f && f->width == 640 && f->height == 474);
        uint32_t want[][3] = {{0, 0, B}, {3, 0, B}, {0, 3, B}, {1, 1, W}, {10, 0, W}, {11, 0, B},
                              {10, 10, M}, {638, 472, M}, {639, 473, W}};
        for (auto& w : want) EXPECT_EQ(f->Pixel(int(w[0]), int(w[1])), w[2]) << w[0] << "," << w[1];
    }
}

TEST_F(DrawTest, TableFillsAtTenTwentyAndReleasesFreeTheLowestEntriesFirst) {
    ASSERT_EQ(Load("p.sad", Tiny), 4);
    for (int i = 5; i < 1024; ++i) ASSERT_EQ(LoadObject("p.sad", 2), i);
    EXPECT_EQ(LoadObject("p.sad", 2), 0);
    EXPECT_EQ(LastBox(), "kaDraw::LoadObject : オブジェクト数が多過ぎます");
    for (int id : {-1, 0, 1, 2, 3, 1024, 900, 17}) ReleaseObject(id);  // the internal sprites stay
    for (int id = 0; id < 4; ++id) EXPECT_NE(ObjectTable[id].surface, nullptr);
    EXPECT_EQ(LoadObject("p.sad", 2), 17);
    EXPECT_EQ(LoadObject("p.sad", 2), 900);
    EXPECT_EQ(LoadObject("p.sad", 2), 0);
}

TEST_F(DrawTest, RefusedLoadsReportAndLeaveTheTableAsItWas) {
    std::string thirty = std::string(26, 'a') + ".sad";
    EXPECT_EQ(Load("b" + thirty, Tiny), 0);
    EXPECT_EQ(LastBox(), "kaDraw::LoadObject : ファイル名またはリソース名が長すぎます");
    EXPECT_EQ(Load("junk.sad", std::vector<uint8_t>(100, 'x')) + LoadObject("missing.sad", 2), 0);
    EXPECT_EQ(LastBox(), "kaDraw::LoadObject : BMPファイルを読み込めません");
    EXPECT_EQ(Load(thirty, Tiny), 4);  // the failed loads freed their entry
    EXPECT_EQ(SwapObject(thirty.c_str(), 4, 2), 1);
    EXPECT_EQ(SwapObject("missing.sad", 4, 2) + SwapObject(thirty.c_str(), 3, 2), 0);
    EXPECT_EQ(SwapObject(thirty.c_str(), 1024, 2), 0);
}

TEST_F(DrawTest, AssetHeaderIsRestoredForTheLoadAndBlankedAfterIt) {
    std::string path = dir + "tit.sad";
    auto start = [&] { char two[3] = {}; std::ifstream(path).read(two, 2); return std::string(two); };
    ASSERT_EQ(Load("tit.sad", Tiny), 4);  // blanked, as a read-only install leaves it: it loads
    RestoreAssetHeader(path.c_str());
    EXPECT_EQ(start(), "BM");
    EXPECT_EQ(LoadObject("tit.sad", 2), 5);
    BlankAssetHeader(path.c_str());
    EXPECT_EQ(start(), "  ");
    // Any other file a file: line names keeps its first bytes.
    std::ofstream(path, std::ios::binary) << "MThd";
    RestoreAssetHeader(path.c_str());
    BlankAssetHeader(path.c_str());
    EXPECT_EQ(start(), "MT");
}
