// Typeface table, face lookup, the glyph cache and the faces that stand in for
// characters a face lacks, with the installed IPA and DejaVu fonts.
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
    EXPECT_EQ(FileName(FindFace(EngineText(TextMincho))), "ipamp.ttf");
    int unknown = FindFace("No Such Face");  // still a face with Japanese glyphs
    ASSERT_GE(unknown, 0);
    EXPECT_GT(CachedGlyph(unknown, 40, 0x3042)->runCount, 10);
    // (The glyphs the story draws are in the shipped story's frames.)
    EXPECT_EQ(CachedGlyph(FindFace(gothic), 0, 0x3042), nullptr);
    EXPECT_EQ(CachedGlyph(FaceSlotCount, 56, 0x3042), nullptr);
}

namespace {

bool SameInk(const Glyph& a, const Glyph& b) {
    if (a.left != b.left || a.top != b.top || a.runCount != b.runCount) return false;
    for (int k = 0; k < a.runCount; ++k)
        if (a.runs[k].row != b.runs[k].row || a.runs[k].column != b.runs[k].column ||
            a.runs[k].length != b.runs[k].length)
            return false;
    return true;
}

uint32_t Decode(const char* bytes) { return SjisDecodeChar(bytes, 2); }

}  // namespace

// ∑ (0x8794) is in neither IPA face; DejaVu, which fontconfig brings, has it. The
// user-defined codes have no meaning outside the fonts that define them: they keep the box.
TEST_F(TextFonts, ACharacterTheFaceLacksComesFromAnotherFaceButUserCodesKeepTheBox) {
    for (const char* name : {gothic, EngineText(TextMincho)}) {
        const int face = FindFace(name);
        const Glyph* box = CachedGlyph(face, 56, Decode("\xF0\x40"));
        ASSERT_NE(box, nullptr);
        for (const char* user : {"\xF5\x9E", "\xF9\xFC"})
            EXPECT_TRUE(SameInk(*CachedGlyph(face, 56, Decode(user)), *box)) << user;
        EXPECT_EQ(FallbackFace(face, Decode("\xF0\x40")), -1);

        const Glyph* sum = CachedGlyph(face, 56, Decode("\x87\x94"));
        ASSERT_FALSE(SameInk(*sum, *box)) << "no box for a character another face has";
        const int other = FallbackFace(face, 0x2211);
        ASSERT_GE(other, NamedFaceSlots);
        EXPECT_EQ(CachedGlyph(face, 56, 0x2211), sum) << "looked up once";
        // As tall as the face's own characters, inside the same cell.
        const Glyph* kanji = CachedGlyph(face, 56, 0x5408);  // 合
        EXPECT_GE(sum->top, 0);
        EXPECT_LE(sum->top + sum->height, 56);
        EXPECT_NEAR(double(sum->height) / kanji->height, 1.0, 0.25);
        // On the face's baseline (where its E stands), as far below it as the other face
        // puts it below its own E.
        const Glyph* e = CachedGlyph(face, 56, 'E');
        const Glyph* otherSum = CachedGlyph(other, 56, 0x2211);
        const Glyph* otherE = CachedGlyph(other, 56, 'E');
        const double below = sum->top + sum->height - (e->top + e->height);
        const double otherBelow = otherSum->top + otherSum->height - (otherE->top + otherE->height);
        EXPECT_NEAR(below, otherBelow * sum->height / otherSum->height, 2.0);
    }
}
