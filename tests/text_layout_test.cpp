// Text layout on the real sprites with the installed fonts: line positions, wrapping,
// hanging characters, line feeds, limits, segments, colours and undecodable bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "draw/sjis.h"
#include "draw/text_engine.h"
#include "story/story.h"
#include "tests/text_test_support.h"

using namespace kaDraw;

namespace {

const char* const PGothic = "\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";
const char* const A = "\x82\xA0";        // あ
const char* const I = "\x82\xA2";        // い
const char* const Maru = "\x81\x42";     // 。 (hangs)
const char* const Comma = "\x81\x41";    // 、 (hangs)
const char* const Geta = "\x81\xAC";     // 〓

std::string Repeat(const char* ch, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += ch;
    return s;
}

std::set<int> Tops() {
    std::set<int> tops;
    for (int i = 1; i < TextRectCount; ++i) tops.insert(TextRects[i].top);
    return tops;
}

class TextLayoutTest : public TextDisplayTest {
protected:
    void SetUp() override {
        TextDisplayTest::SetUp();
        TextRects[0] = {0, 0, 0, 0};
        Select(28);
    }
    void TearDown() override {
        EndTextDrawing();
        TextDisplayTest::TearDown();
    }
    void Select(int size) {
        SelectTextFont(PGothic, size);
        SetTextColours(0xC8C8C8, 0, 1);
    }
    // Client width of a character as the layout advances by it (even double-size width).
    int Half(const char* ch) {
        int n = SjisCharLength(ch, std::strlen(ch));
        const Glyph* g = CachedGlyph(FindFace(PGothic), FontHeight, SjisDecodeChar(ch, n));
        return g ? (g->advance + (g->advance & 1)) / 2 : -1;
    }
};

}  // namespace

TEST_F(TextLayoutTest, MessageWindowLinesAdvanceBy28AndWrapBefore590) {
    RevealCount = 7;
    RevealClock = 0.5f;
    std::string text = Repeat(A, 60);
    LayOutTextBlock(10, 385, 590, 580, text.c_str(), 0);
    ASSERT_EQ(TextRectCount, 61);  // k + 1 rectangles for k characters
    std::set<int> tops = Tops();
    ASSERT_GE(tops.size(), 3u);
    auto top = tops.begin();
    EXPECT_EQ(*top++, 385);
    EXPECT_EQ(*top++, 413);
    EXPECT_EQ(*top++, 441);
    int h = Half(A);
    for (int i = 1; i < TextRectCount; ++i) {
        const TextRect& r = TextRects[i];
        EXPECT_EQ(r.right - r.left, h);
        EXPECT_EQ(r.bottom - r.top, 28);
        EXPECT_LT(r.right, 590);
        // The first character of every line but the first would have reached 590.
        if (i > 1 && r.top != TextRects[i - 1].top) {
            EXPECT_EQ(r.left, 10);
            EXPECT_GE(TextRects[i - 1].right + h, 590);
        }
    }
    EXPECT_EQ(TextRects[0].left, 10);
    EXPECT_EQ(TextRects[0].top, 385);
    EXPECT_EQ(RevealCount, 0);
    EXPECT_EQ(RevealClock, 0.0f);
    // Drawn into the font sprite, not copied to the back buffer.
    EXPECT_GT(Ink(FontSprite, 10, 385, 590, 469), 1000);
        for (int y = 0; y < 520; y += 3)
        for (int x = 0; x < 700; x += 3) ASSERT_EQ(Back(x, y), 0u);
    EXPECT_EQ(BlitWhenDone, 1);
}

TEST_F(TextLayoutTest, CharacterEndingExactlyAtRightWrapsUnlessItHangs) {
    int right = 10 + 2 * Half(A) + Half(I);
    std::string wraps = std::string(A) + A + I;
    LayOutTextBlock(10, 385, right, 580, wraps.c_str(), 0);
    ASSERT_EQ(TextRectCount, 4);
    EXPECT_EQ(TextRects[3].top, 413);
    EXPECT_EQ(TextRects[3].left, 10);

    right = 10 + 2 * Half(A) + Half(Maru);
    std::string hangs = std::string(A) + A + Maru;
    LayOutTextBlock(10, 385, right, 580, hangs.c_str(), 0);
    // The hanging 。 keeps no rectangle but is drawn at the end of the first line.
    ASSERT_EQ(TextRectCount, 3);
    EXPECT_EQ(TextRects[2].top, 385);
    int maruLeft = 10 + 2 * Half(A);
    EXPECT_GT(Ink(FontSprite, maruLeft, 385, right, 413), 5);
    EXPECT_EQ(Ink(FontSprite, 0, 413, 700, 520), 0);
}

TEST_F(TextLayoutTest, TwoLineFeedsMakeAnEmptyLine) {
    std::string text = std::string(A) + "\n\n" + I;
    LayOutTextBlock(10, 385, 590, 580, text.c_str(), 0);
    ASSERT_EQ(TextRectCount, 3);
    EXPECT_EQ(TextRects[1].top, 385);
    EXPECT_EQ(TextRects[2].top, 441);
    EXPECT_EQ(TextRects[2].left, 10);
    EXPECT_EQ(Ink(FontSprite, 0, 413, 700, 441), 0);
    EXPECT_GT(Ink(FontSprite, 10, 441, 590, 469), 50);
    // With extra line height in the flags an empty line is FontHeight + extra high.
    LayOutTextBlock(10, 385, 590, 580, text.c_str(), 8);
    EXPECT_EQ(TextRects[2].top, 385 + 2 * (56 + 8) / 2);
}

TEST_F(TextLayoutTest, BottomAboveTheStartEndsAfterTheFirstLine) {
    // The message window's layout first, as in the game: it sets the block's bottom.
    LayOutTextBlock(10, 385, 590, 580, Repeat(A, 40).c_str(), 0);
    int blockBottom = TextRects[0].bottom;
    EXPECT_EQ(blockBottom, 441);

    Select(28);
    SetTextColours(0xFFFFFF, 0, 1);
    // A long prompt: its first line is flushed before the end, cut at the bottom limit,
    // so nothing is drawn; the rest is not laid out.
    DrawTextBlock(30, 385, 655, 100, Repeat(A, 40).c_str(), 0);
    std::set<int> tops = Tops();
    ASSERT_EQ(tops.size(), 1u);
    EXPECT_EQ(*tops.begin(), 385);
    EXPECT_LT(TextRectCount, 41);
    EXPECT_EQ(Ink(FontSprite, 0, 0, 700, 520), 0);

    // A one-line prompt is reduced at its full height by the last-line flush, and the
    // block copy shows it because the block's bottom is the largest ever reached.
    DrawTextBlock(30, 385, 655, 100, "\x82\xA8\x8B\x43\x82\xC9\x93\xFC\x82\xE8", 0);
    EXPECT_EQ(TextRectCount, 6);
    EXPECT_EQ(TextRects[0].bottom, blockBottom);
    EXPECT_GT(Ink(FontSprite, 30, 385, 655, 413), 100);
    int onBack = 0;
    for (int y = 385; y < 413; ++y)
        for (int x = 30; x < 300; ++x) onBack += Back(x, y) != 0;
    EXPECT_GT(onBack, 100);
}

TEST_F(TextLayoutTest, RightAtOrLeftOfTheStartEndsByTheBottomLimit) {
    for (int right : {10, 5}) {
        LayOutTextBlock(10, 385, right, 580, "\x82\xA0\x82\xA2", 0);
        EXPECT_EQ(TextRectCount, 1);
        EXPECT_EQ(Ink(FontSprite, 0, 0, 700, 520), 0);
    }
    // A hanging character stays, alone on its line.
    std::string text = std::string(Comma) + A;
    LayOutTextBlock(10, 385, 10, 580, text.c_str(), 0);
    EXPECT_EQ(TextRectCount, 1);
    EXPECT_GT(Ink(FontSprite, 10, 385, 40, 413), 3);
    EXPECT_EQ(Ink(FontSprite, 0, 413, 700, 520), 0);
}

TEST_F(TextLayoutTest, DarkColoursAreLiftedTo101010) {
    SetTextColours(0x0F0F0F, 0x00000A, 1);
    LayOutTextBlock(10, 385, 590, 580, A, 0);
    EXPECT_EQ(TextColour, 0x101010u);
    EXPECT_EQ(ShadowColour, 0x101010u);
    // The font buffer still holds the last line, drawn in the lifted colour.
    EXPECT_GT(Ink(FontBufferSprite, 0, 0, 60, 56), 100);
    for (int y = 0; y < 56; ++y)
        for (int x = 0; x < 60; ++x) {
            uint32_t v = ReadPixel(ObjectTable[FontBufferSprite].surface, x, y);
            ASSERT_TRUE(v == 0 || v == 0x101010u) << std::hex << v;
        }
    // One channel at 16 or more keeps the colour.
    SetTextColours(0x000010, 0x100000, 1);
    LayOutTextBlock(10, 385, 590, 580, A, 0);
    EXPECT_EQ(TextColour, 0x000010u);
    EXPECT_EQ(ShadowColour, 0x100000u);
}

TEST_F(TextLayoutTest, AFullFontBufferContinuesTheSameLineInSegments) {
    SetTextColours(0xFFFFFF, 0, 1);
    // 20 characters: the double-size pen passes the 700-pixel buffer well before the
    // right limit, and the line goes on in a second segment.
    DrawTextBlock(80, 140, 800, 600, Repeat(A, 20).c_str(), 0);
    ASSERT_EQ(TextRectCount, 21);
    for (int i = 1; i < TextRectCount; ++i) {
        EXPECT_EQ(TextRects[i].top, 140);
        if (i > 1) {
            EXPECT_EQ(TextRects[i].left, TextRects[i - 1].right);
        }
    }
    int h = Half(A);
    int firstSegmentChars = (700 + 2 * h - 1) / (2 * h) - 1;
    ASSERT_LT(firstSegmentChars, 20);
    int secondSegment = 80 + firstSegmentChars * h;
    EXPECT_GT(Ink(FontSprite, 80, 140, secondSegment, 168), 500);
    EXPECT_GT(Ink(FontSprite, secondSegment, 140, 80 + 20 * h, 168), 200);
    EXPECT_EQ(TextRects[0].right, 80 + 20 * h);
}

TEST_F(TextLayoutTest, UndecodableBytesAndATrailingLeadByteDrawTheGetaMark) {
    auto Snapshot = [] {
        const Surface* s = ObjectTable[FontSprite].surface;
        return std::string(reinterpret_cast<const char*>(s->pixels), size_t(s->pitch) * s->height);
    };
    LayOutTextBlock(10, 385, 590, 580, (std::string(A) + Geta).c_str(), 0);
    std::string expected = Snapshot();
    ASSERT_EQ(TextRectCount, 3);
    TextRect last = TextRects[2];

    LayOutTextBlock(10, 385, 590, 580, (std::string(A) + "\x85\x40").c_str(), 0);
    EXPECT_EQ(TextRectCount, 3);
    EXPECT_TRUE(Snapshot() == expected);

    // The lead byte is the text's last: one character, read no further.
    char text[3] = {'\x82', '\xA0', '\x82'};
    std::string owned(text, 3);
    LayOutTextBlock(10, 385, 590, 580, owned.c_str(), 0);
    EXPECT_EQ(TextRectCount, 3);
    EXPECT_EQ(TextRects[2].right, last.right);
    EXPECT_TRUE(Snapshot() == expected);
}

TEST_F(TextLayoutTest, BlockCopyOnlyForDrawTextBlock) {
    SetTextColours(0xFFFFFF, 0, 1);
    DrawTextBlock(170, 50, 635, 500, "No.1", 0);
    EXPECT_EQ(TextRectCount, 5);
    int onBack = 0;
    for (int y = 50; y < 70; ++y)
        for (int x = 170; x < 250; ++x) onBack += Back(x, y) != 0;
    EXPECT_GT(onBack, 30);
    EXPECT_EQ(BlitWhenDone, 1);
    // An empty text draws nothing and leaves one rectangle, the block.
    DrawTextBlock(170, 50, 635, 500, "", 0);
    EXPECT_EQ(TextRectCount, 1);
    EXPECT_EQ(Ink(FontSprite, 0, 0, 700, 520), 0);
}

TEST_F(TextLayoutTest, ShadowAndWidenFlagsWidenTheCharacterCells) {
    int h = Half(A);
    SetTextColours(0xFFFFFF, 0x0000FF, 1);
    LayOutTextBlock(10, 385, 590, 580, (std::string(A) + A).c_str(), 0x100);
    ASSERT_EQ(TextRectCount, 3);
    EXPECT_EQ(TextRects[1].right - TextRects[1].left, h + 1);
    EXPECT_EQ(TextRects[1].bottom - TextRects[1].top, 29);
    EXPECT_EQ(TextRects[2].left, 10 + h + 1);
    // Shadow pixels (red in 0x00BBGGRR) appear in the font buffer next to white ones.
    int red = 0, white = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 2 * h + 4; ++x) {
            uint32_t v = ReadPixel(ObjectTable[FontBufferSprite].surface, x, y);
            red += v == 0x00FF0000u;
            white += v == 0x00FFFFFFu;
        }
    EXPECT_GT(red, 20);
    EXPECT_GT(white, 100);
}

TEST_F(TextLayoutTest, DrawGlyphTextNeedsADrawingSequence) {
    ClearObject(FontBufferSprite);
    EXPECT_EQ(DrawGlyphText(0, 0, A), 1);
    EXPECT_GT(Ink(FontBufferSprite, 0, 0, 60, 56), 100);
    EndTextDrawing();
    EXPECT_EQ(DrawGlyphText(0, 0, A), 0);
    Select(28);
}

TEST_F(TextLayoutTest, FontRequestTakesTheCharacterSetOfAnInstalledFamily) {
    SelectTextFont("DejaVu Sans", 20);
    EXPECT_EQ(FontRequest.charSet, 0);
    SelectTextFont("IPAPGothic", 20);
    EXPECT_EQ(FontRequest.charSet, 128);
    EXPECT_EQ(FontRequest.height, 40);
    SelectTextFont(PGothic, 28);  // not installed under that name: Shift-JIS stays
    EXPECT_EQ(FontRequest.charSet, 128);
    EXPECT_STREQ(FontRequest.faceName, PGothic);
}

TEST_F(TextLayoutTest, DegenerateSizesStillEnd) {
    // Size 0: lines of height 0 would never reach the bottom limit.
    SelectTextFont(PGothic, 0);
    LayOutTextBlock(10, 385, 5, 400, "\x82\xA0\x82\xA2", 0);
    EXPECT_EQ(TextRectCount, 1);
    // A character wider than the whole font buffer is kept alone on its segment instead
    // of being taken back for ever; its line, taller than the buffer, is cut at it.
    SelectTextFont(PGothic, 450);
    SetTextColours(0xFFFFFF, 0, 1);
    DrawTextBlock(80, 140, 800, 600, "\x82\xA0\x82\xA0", 0);
    EXPECT_EQ(TextRectCount, 1);
    EXPECT_GT(Ink(FontSprite, 80, 140, 700, 520), 1000);
    Select(28);
}

namespace {
class TextLayout565Test : public TextLayoutTest {
protected:
    PixelFormat DisplayFormat() const override { return FormatRGB565; }
};
}  // namespace

TEST_F(TextLayout565Test, SixteenBitDisplayReducesWithGreensLowBitClear) {
    ASSERT_EQ(DisplayBitDepth(), 16);
    for (int y = 380; y < 420; ++y)
        for (int x = 0; x < 300; ++x) WritePixel(BackBuffer, x, y, 0x001F);  // blue picture
    LayOutTextBlock(10, 385, 590, 580, Repeat(A, 5).c_str(), 0);
    int written = 0;
    for (int y = 385; y < 413; ++y)
        for (int x = 10; x < 200; ++x) {
            uint32_t v = ReadPixel(ObjectTable[FontSprite].surface, x, y);
            EXPECT_EQ(v & 0x20, 0u);
            written += v != 0;
        }
    EXPECT_GT(written, 200);
}
