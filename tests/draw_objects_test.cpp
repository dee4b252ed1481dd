// Image objects: colour keys, the table filling up and being reused, name lengths,
// blanked asset headers, failed loads, and the internal sprites' protection.
#include <sys/stat.h>

#include <string>

#include "draw/kaDraw.h"
#include "draw_test_support.h"
#include "platform/headless.h"

using namespace kaDraw;

static std::vector<uint8_t> TinyPicture() {
    return Picture24(1, 1, [](int, int) { return 0x123456u; });
}

TEST_F(DrawTest, MagentaTopLeftPixelKeysThePictureOut) {
    // Magenta frame around a green centre on a blue background already drawn.
    WriteFile("key.sad", Picture24(4, 4, [](int x, int y) {
        return (x == 0 || y == 0) ? 0xFF00FFu : 0x00FF00u;
    }));
    SetKeyFromPixel();
    int id = LoadObject("key.sad", 2);
    ASSERT_EQ(id, 4);
    EXPECT_EQ(ObjectTable[id].key, -1);
    EXPECT_EQ(PhysicalColour(ObjectTable[id].surface, -1), 0xFF00FFu);
    DrawRect(0, 0, 10, 10, 0xFF0000, 0xFF0000, 1);
    BltTransparent(0, 0, id, 0, 0, 4, 4);
    EXPECT_EQ(Back(0, 0), 0x0000FFu);
    EXPECT_EQ(Back(3, 0), 0x0000FFu);
    EXPECT_EQ(Back(0, 3), 0x0000FFu);
    EXPECT_EQ(Back(1, 1), 0x00FF00u);
    EXPECT_EQ(Back(3, 3), 0x00FF00u);
    BltOpaque(5, 5, id, 0, 0, 4, 4);
    EXPECT_EQ(Back(5, 5), 0xFF00FFu);
}

TEST_F(DrawTest, KeyColourBlackLeavesBlackOutAndPersistsBetweenLoads) {
    WriteFile("dark.sad", Picture24(2, 1, [](int x, int) { return x ? 0xFFFFFFu : 0u; }));
    SetKeyFromPixel();
    SetKeyColour(0);
    int a = LoadObject("dark.sad", 2);
    int b = LoadObject("dark.sad", 2);
    EXPECT_EQ(a, 4);
    EXPECT_EQ(b, 5);  // the same file twice takes two entries
    EXPECT_EQ(ObjectTable[b].key, 0);
    EXPECT_EQ(ObjectTable[b].surface->colourKey, 0u);
    DrawRect(0, 0, 4, 4, 0x0000FF, 0x0000FF, 1);
    BltTransparent(0, 0, b, 0, 0, 2, 1);
    EXPECT_EQ(Back(0, 0), 0xFF0000u);
    EXPECT_EQ(Back(1, 0), 0xFFFFFFu);
    EXPECT_EQ(PhysicalColour(ObjectTable[b].surface, 0x0000FF), 0xFF0000u);
    EXPECT_EQ(PhysicalColour(nullptr, 0), 0xFFFFFFFFu);
}

TEST_F(DrawTest, TableFillsAtTenTwentyAndReusesTheLowestFreeEntry) {
    WriteFile("p.sad", TinyPicture());
    for (int i = 0; i < 1020; ++i) ASSERT_EQ(LoadObject("p.sad", 2), 4 + i);
    EXPECT_EQ(BoxCount(), 0);
    EXPECT_EQ(LoadObject("p.sad", 2), 0);
    EXPECT_EQ(LastBoxText(), "kaDraw::LoadObject : オブジェクト数が多過ぎます");
    ReleaseObject(900);
    ReleaseObject(17);
    EXPECT_EQ(ObjectTable[17].name[0], 0);
    EXPECT_EQ(ObjectTable[17].surface, nullptr);
    EXPECT_EQ(LoadObject("p.sad", 2), 17);
    EXPECT_EQ(LoadObject("p.sad", 2), 900);
    EXPECT_EQ(LoadObject("p.sad", 2), 0);
}

TEST_F(DrawTest, NamesUpToThirtyCharactersLoad) {
    std::string thirty(26, 'a'), thirtyOne(27, 'a');
    thirty += ".sad";
    thirtyOne += ".sad";
    WriteFile(thirty, TinyPicture());
    WriteFile(thirtyOne, TinyPicture());
    EXPECT_EQ(LoadObject(thirty.c_str(), 2), 4);
    EXPECT_EQ(ObjectTable[4].name, thirty);
    EXPECT_EQ(LoadObject(thirtyOne.c_str(), 2), 0);
    EXPECT_EQ(LastBoxText(), "kaDraw::LoadObject : ファイル名またはリソース名が長すぎます");
    EXPECT_EQ(ObjectTable[5].name[0], 0);
    EXPECT_EQ(SwapObject(thirtyOne.c_str(), 4, 2), 0);
    EXPECT_EQ(LastBoxText(), "kaDraw::SwapObject : ファイル名またはリソース名が長すぎます");
}

TEST_F(DrawTest, AssetHeaderIsWrittenBackForTheLoadAndBlankedAfterIt) {
    WriteFile("tit.sad", Picture24(2, 2, Pattern));
    std::string path = dir + "tit.sad";
    EXPECT_EQ(FileStart("tit.sad"), "  ");
    RestoreAssetHeader(path.c_str());
    EXPECT_EQ(FileStart("tit.sad"), "BM");
    EXPECT_EQ(LoadObject("tit.sad", 2), 4);
    BlankAssetHeader(path.c_str());
    EXPECT_EQ(FileStart("tit.sad"), "  ");
    RestoreAssetHeader((dir + "missing.sad").c_str());  // nothing to open: nothing made
    EXPECT_EQ(FileStart("missing.sad"), "");
}

TEST_F(DrawTest, ReadOnlyBlankedAssetStillLoads) {
    WriteFile("ro.sad", Picture24(3, 2, Pattern));
    std::string path = dir + "ro.sad";
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    RestoreAssetHeader(path.c_str());  // refused where permissions hold
    int id = LoadObject("ro.sad", 2);
    ASSERT_EQ(id, 4);
    BltOpaque(0, 0, id, 0, 0, 3, 2);
    EXPECT_EQ(Back(2, 1), Pattern(2, 1));
    BlankAssetHeader(path.c_str());
    EXPECT_EQ(FileStart("ro.sad"), "  ");
}

TEST_F(DrawTest, FailedLoadReportsAndFreesItsEntry) {
    WriteFile("junk.sad", std::vector<uint8_t>(100, 'x'));
    WriteFile("ok.sad", TinyPicture());
    for (const char* name : {"junk.sad", "nothere.sad"}) {
        EXPECT_EQ(LoadObject(name, 2), 0);
        EXPECT_EQ(LastBoxText(), "kaDraw::LoadObject : BMPファイルを読み込めません");
        EXPECT_EQ(ObjectTable[4].name[0], 0);
    }
    EXPECT_EQ(LoadObject("ok.sad", 2), 4);
}

TEST_F(DrawTest, SwapObjectReplacesThePictureInPlace) {
    WriteFile("a.sad", TinyPicture());
    WriteFile("b.sad", Picture24(5, 3, Pattern));
    ASSERT_EQ(LoadObject("a.sad", 2), 4);
    SetKeyColour(0x0000FF);
    EXPECT_EQ(SwapObject("b.sad", 4, 2), 1);
    EXPECT_STREQ(ObjectTable[4].name, "b.sad");
    EXPECT_EQ(ObjectTable[4].width, 5);
    EXPECT_EQ(ObjectTable[4].key, 0x0000FF);
    EXPECT_EQ(SwapObject("gone.sad", 4, 2), 0);
    EXPECT_EQ(LastBoxText(), "kaDraw::SwapObject : BMPファイルを読み込めません");
    EXPECT_EQ(ObjectTable[4].surface, nullptr);
    EXPECT_EQ(SwapObject("b.sad", 2, 2), 0);  // internal sprites are not loaded from files
    EXPECT_EQ(SwapObject("b.sad", 1024, 2), 0);
}

TEST_F(DrawTest, ReleaseSparesInternalSpritesAndIgnoresOtherIds) {
    for (int id : {-1, 0, 1, 2, 3, 4, 1023, 1024}) ReleaseObject(id);
    for (int id = 0; id < 4; ++id) EXPECT_NE(ObjectTable[id].surface, nullptr);
    WriteFile("a.sad", TinyPicture());
    ASSERT_EQ(LoadObject("a.sad", 2), 4);
    ObjectTable[4].placement = 7;  // release keeps the placement as it was
    ReleaseObject(4);
    EXPECT_EQ(ObjectTable[4].surface, nullptr);
    EXPECT_EQ(ObjectTable[4].placement, 7u);
    EXPECT_EQ(ObjectTable[4].width, 0);
    ReleaseObject(4);
    EXPECT_EQ(ObjectTable[4].placement, 7u);
}
