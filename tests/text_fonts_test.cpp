// Typeface table, face lookup and the glyph cache with the installed IPA fonts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "draw/sjis.h"
#include "draw/text_engine.h"

using namespace kaDraw;

namespace {

const char* const PGothicCp932 = "\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";
const char* const PMinchoCp932 = "\x82\x6C\x82\x72 \x82\x6F\x96\xBE\x92\xA9";

std::string FileName(int slot) {
    std::string path = FaceFile(slot);
    return path.substr(path.rfind('/') + 1);
}

const FontEntry* Entry(const char* name) {
    for (int i = 0; i < FontTableCount; ++i)
        if (std::strcmp(FontTable[i].name, name) == 0) return &FontTable[i];
    return nullptr;
}

}  // namespace

TEST(TextFonts, TableListsFamiliesWithTheirCharacterSet) {
    CollectInstalledFonts();
    ASSERT_GT(FontTableCount, 0);
    ASSERT_LE(FontTableCount, FontTableSize);
    const FontEntry* gothic = Entry("IPAPGothic");
    ASSERT_NE(gothic, nullptr);
    EXPECT_EQ(gothic->charSet, 128);
    // The Japanese name is kept in CP932, as the font request compares it.
    const FontEntry* japaneseName = Entry("IPA P\x83\x53\x83\x56\x83\x62\x83\x4E");
    ASSERT_NE(japaneseName, nullptr);
    EXPECT_EQ(japaneseName->charSet, 128);
    const FontEntry* latin = Entry("DejaVu Sans");
    if (latin) {
        EXPECT_EQ(latin->charSet, 0);
    }
    for (int i = 0; i < FontTableCount; ++i) EXPECT_LT(std::strlen(FontTable[i].name), 36u);
}

TEST(TextFonts, GameFacesMapToIpaProportionalFaces) {
    EXPECT_EQ(FileName(FindFace(PGothicCp932)), "ipagp.ttf");
    EXPECT_EQ(FileName(FindFace(PMinchoCp932)), "ipamp.ttf");
    // The same name finds the same slot again.
    EXPECT_EQ(FindFace(PGothicCp932), FindFace(PGothicCp932));
    // A face installed under the asked name is used as it is.
    // (Debian installs IPAGothic twice, under its own name and as the default Gothic.)
    std::string fixedPitch = FileName(FindFace("IPAGothic"));
    EXPECT_TRUE(fixedPitch == "ipag.ttf" || fixedPitch == "fonts-japanese-gothic.ttf")
        << fixedPitch;
    // An unknown name still gets a face with Japanese glyphs.
    int unknown = FindFace("No Such Face");
    ASSERT_GE(unknown, 0);
    const Glyph* a = CachedGlyph(unknown, 40, 0x3042);
    ASSERT_NE(a, nullptr);
    EXPECT_GT(a->runCount, 10);
}

TEST(TextGlyphs, GlyphsSitInTheirCellAndAreCached) {
    int face = FindFace(PGothicCp932);
    ASSERT_GE(face, 0);
    ClearGlyphCache();
    const Glyph* a = CachedGlyph(face, 56, 0x3042);  // あ
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(CachedGlyph(face, 56, 0x3042), a);
    EXPECT_GT(a->advance, 40);
    EXPECT_LE(a->advance, 56);
    // Ink lies within the glyph's box, and the box within the 56-pixel cell.
    EXPECT_GE(a->top, 0);
    EXPECT_LE(a->top + a->height, 56);
    int ink = 0;
    for (int k = 0; k < a->runCount; ++k) {
        const InkRun& run = a->runs[k];
        EXPECT_GE(run.row, 0);
        EXPECT_LT(run.row, a->height);
        EXPECT_GE(run.column, 0);
        EXPECT_GT(run.length, 0);
        EXPECT_LE(run.column + run.length, a->width);
        ink += run.length;
    }
    EXPECT_GT(ink, 100);
    // Another size is another glyph; a space has an advance and no ink.
    const Glyph* small = CachedGlyph(face, 40, 0x3042);
    ASSERT_NE(small, nullptr);
    EXPECT_LT(small->advance, a->advance);
    const Glyph* space = CachedGlyph(face, 56, ' ');
    ASSERT_NE(space, nullptr);
    EXPECT_GT(space->advance, 0);
    EXPECT_EQ(space->runCount, 0);
    EXPECT_EQ(CachedGlyph(face, 0, 0x3042), nullptr);
    EXPECT_EQ(CachedGlyph(FaceSlotCount, 56, 0x3042), nullptr);
}

TEST(TextGlyphs, PaintingClipsToTheSurface) {
    int face = FindFace(PGothicCp932);
    const Glyph* g = CachedGlyph(face, 56, 0x6F22);  // 漢
    ASSERT_NE(g, nullptr);
    Surface* s = CreateSurface(40, 30, FormatRGB565);
    // Half outside on every side: only inside pixels are written, no crash.
    PaintGlyph(s, -20, -25, *g, 0x1234);
    PaintGlyph(s, 20, 10, *g, 0x1234);
    int painted = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            uint32_t v = ReadPixel(s, x, y);
            EXPECT_TRUE(v == 0 || v == 0x1234);
            painted += v != 0;
        }
    EXPECT_GT(painted, 20);
    FreeSurface(s);
}
