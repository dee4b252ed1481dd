// Typeface table, face lookup and the glyph cache with the installed IPA fonts.
#include <cstring>

#include "tests/text_test_support.h"

using namespace kaDraw;

namespace {

std::string FileName(int slot) {
    std::string path = FaceFile(slot);
    return path.substr(path.rfind('/') + 1);
}

int CharSet(const char* name) {
    for (int i = 0; i < FontTableCount; ++i)
        if (std::strcmp(FontTable[i].name, name) == 0) return FontTable[i].charSet;
    return -1;
}

using TextFonts = TextDisplayTest;

}  // namespace

TEST_F(TextFonts, TableFacesAndGlyphCache) {
    CollectInstalledFonts();
    ASSERT_LE(FontTableCount, FontTableSize);
    EXPECT_EQ(CharSet("IPAPGothic"), 128);
    EXPECT_EQ(CharSet("IPA P\x83\x53\x83\x56\x83\x62\x83\x4E"), 128);  // kept in CP932
    EXPECT_NE(CharSet("DejaVu Sans"), 128);
    EXPECT_EQ(FileName(FindFace(gothic)), "ipagp.ttf");
    EXPECT_EQ(FileName(FindFace(EngineText(TextMincho))), "ipamp.ttf");
    // A face installed under the asked name is used as it is (Debian also installs
    // IPAGothic as the default Gothic).
    std::string fixedPitch = FileName(FindFace("IPAGothic"));
    EXPECT_TRUE(fixedPitch == "ipag.ttf" || fixedPitch == "fonts-japanese-gothic.ttf") << fixedPitch;
    int unknown = FindFace("No Such Face");  // still a face with Japanese glyphs
    ASSERT_GE(unknown, 0);
    EXPECT_GT(CachedGlyph(unknown, 40, 0x3042)->runCount, 10);
    // Glyphs are cached per face, size and character.
    int face = FindFace(gothic);
    const Glyph* a = CachedGlyph(face, 56, 0x3042);  // あ
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(CachedGlyph(face, 56, 0x3042), a);
    EXPECT_GT(a->advance, 40);
    EXPECT_LE(a->top + a->height, 56);  // the ink sits inside the 56-pixel cell
    EXPECT_LT(CachedGlyph(face, 40, 0x3042)->advance, a->advance);
    EXPECT_EQ(CachedGlyph(face, 56, ' ')->runCount, 0);  // a space: an advance, no ink
    EXPECT_EQ(CachedGlyph(face, 0, 0x3042), nullptr);
    EXPECT_EQ(CachedGlyph(FaceSlotCount, 56, 0x3042), nullptr);
}
