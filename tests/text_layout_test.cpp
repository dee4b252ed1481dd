// Text layout with the installed fonts: line positions, wrapping, hanging characters,
// line feeds, limits, segments, colours, flags and undecodable bytes; the build's own
// measure of the message window's rows.
#include <set>

#include "story/script.h"
#include "tests/text_test_support.h"
#include "tools/message_rows.h"

using namespace kaDraw;

namespace {

const std::string A = "\x82\xA0", Maru = "\x81\x42";  // あ, and 。 which hangs

std::string Repeat(const std::string& ch, int n) {
    std::string s;
    while (n--) s += ch;
    return s;
}

std::set<int> Tops() {
    std::set<int> tops;
    for (int i = 1; i < TextRectCount; ++i) tops.insert(TextRects[i].top);
    return tops;
}

class TextLayoutTest : public TextDisplayTest {
protected:
    // Client width of a character: half its double-size advance, rounded up.
    int Half(uint32_t code) {
        return (CachedGlyph(FindFace(gothic), FontRequest.height, code)->advance + 1) / 2;
    }
    void LayOut(const std::string& text, int right = 590, uint32_t flags = 0) {
        LayOutTextBlock(10, 385, right, 580, text.c_str(), flags);
    }
};

}  // namespace

// Laid out into the font sprite only, for the message window to reveal; DrawTextBlock also
// copies the block. (The rows' height, widths and wrapping are the tests below and the
// build's measure of every line of the story.)
TEST_F(TextLayoutTest, ALayoutDrawsIntoTheFontSpriteOnly) {
    LayOut(Repeat(A, 60));
    EXPECT_GT(Ink(FontSprite, 10, 385, 590, 469), 1000);
    EXPECT_EQ(Ink(BackBuffer, 0, 0, 700, 520), 0);
    DrawTextBlock(10, 385, 590, 580, A.c_str(), 0);
    EXPECT_GT(Ink(BackBuffer, 0, 0, 700, 520), 0) << "only the one layout kept its block back";
}

TEST_F(TextLayoutTest, CharacterEndingExactlyAtRightWrapsUnlessItHangs) {
    LayOut(Repeat(A, 2) + "\x82\xA2", 10 + 2 * Half(0x3042) + Half(0x3044));  // あああい
    ASSERT_EQ(TextRectCount, 4);
    EXPECT_EQ(TextRects[3].top, 413);
    EXPECT_EQ(TextRects[3].left, 10);
    int right = 10 + 2 * Half(0x3042) + Half(0x3002);
    LayOut(Repeat(A, 2) + Maru, right);
    ASSERT_EQ(TextRectCount, 3);  // 。 has no rectangle but is drawn on the first line
    EXPECT_GT(Ink(FontSprite, right - Half(0x3002), 385, right, 413), 5);
    EXPECT_EQ(Ink(FontSprite, 0, 413, 700, 520), 0);
}

TEST_F(TextLayoutTest, TwoLineFeedsMakeAnEmptyLine) {
    LayOut(A + "\n\n" + A);
    ASSERT_EQ(TextRectCount, 3);
    EXPECT_EQ(TextRects[2].top, 441);
    EXPECT_EQ(Ink(FontSprite, 0, 413, 700, 441), 0);
    EXPECT_GT(Ink(FontSprite, 10, 441, 590, 469), 50);
    LayOut(A + "\n\n" + A, 590, 8);  // extra height: lines of FontHeight + 8 double pixels
    EXPECT_EQ(TextRects[2].top, 385 + (56 + 8));
}

TEST_F(TextLayoutTest, BottomAboveTheStartEndsAfterTheFirstLine) {
    LayOut(Repeat(A, 40));  // the message window sets the block's bottom
    EXPECT_EQ(TextRects[0].bottom, 441);
    // A long prompt: its first line is cut at the bottom limit, the rest not laid out.
    DrawTextBlock(30, 385, 655, 100, Repeat(A, 40).c_str(), 0);
    EXPECT_EQ(Tops(), std::set<int>{385});
    EXPECT_EQ(Ink(FontSprite, 0, 0, 700, 520), 0);
    // A one-line prompt is reduced at full height by the last-line flush, and shown by
    // the block copy because the block's bottom only grows.
    DrawTextBlock(30, 385, 655, 100, Repeat(A, 5).c_str(), 0);
    EXPECT_EQ(TextRectCount, 6);
    EXPECT_EQ(TextRects[0].bottom, 441);
    EXPECT_GT(Ink(BackBuffer, 30, 385, 300, 413), 100);
}

TEST_F(TextLayoutTest, RightAtOrLeftOfTheStartEndsByTheBottomLimit) {
    for (int right : {10, 5}) {
        LayOut(Repeat(A, 2), right);
        EXPECT_EQ(TextRectCount, 1);
        EXPECT_EQ(Ink(FontSprite, 0, 0, 700, 520), 0);
    }
    LayOut("\x81\x41" + A, 10);  // a hanging 、 stays, alone on its line
    EXPECT_EQ(TextRectCount, 1);
    EXPECT_GT(Ink(FontSprite, 10, 385, 40, 413), 3);
    EXPECT_EQ(Ink(FontSprite, 0, 413, 700, 520), 0);
    // Size 0 (lines of no height) and a character wider than the whole font buffer
    // (kept alone on its segment, its line cut at the buffer) still end.
    SelectTextFont(gothic, 0);
    LayOut(Repeat(A, 2), 5);
    EXPECT_EQ(TextRectCount, 1);
    SelectTextFont(gothic, 450);
    DrawTextBlock(80, 140, 800, 600, Repeat(A, 2).c_str(), 0);
    EXPECT_EQ(TextRectCount, 1);
    EXPECT_GT(Ink(FontSprite, 80, 140, 700, 520), 1000);
}

TEST_F(TextLayoutTest, DarkColoursAreLiftedTo101010) {
    const uint32_t Shadow = 0x100;
    SetTextColours(0x0F0F0F, 0x00000A, 1);
    LayOut(A, 590, Shadow);
    // The font buffer still holds the line and its shadow, in the lifted colour only.
    EXPECT_GT(Ink(FontBufferSprite, 0, 0, 60, 56, [](uint32_t v) { return v == 0x101010; }), 100);
    EXPECT_EQ(Ink(FontBufferSprite, 0, 0, 60, 56, [](uint32_t v) { return v && v != 0x101010; }), 0);
    SetTextColours(0x000010, 0x100000, 1);  // one channel at 16 keeps the colour
    LayOut(A, 590, Shadow);
    // Red 16 for the face and blue 16 for the shadow, in the buffer's 0x00RRGGBB words.
    EXPECT_GT(Ink(FontBufferSprite, 0, 0, 60, 56, [](uint32_t v) { return v == 0x100000; }), 100);
    EXPECT_GT(Ink(FontBufferSprite, 0, 0, 60, 56, [](uint32_t v) { return v == 0x000010; }), 10);
    EXPECT_EQ(Ink(FontBufferSprite, 0, 0, 60, 56,
                  [](uint32_t v) { return v && v != 0x100000 && v != 0x000010; }),
              0);
}

TEST_F(TextLayoutTest, AFullFontBufferContinuesTheLineInSegments) {
    // 20 double-size characters pass the 700-pixel buffer before the right limit.
    DrawTextBlock(80, 140, 800, 600, Repeat(A, 20).c_str(), 0);
    ASSERT_EQ(TextRectCount, 21);
    for (int i = 2; i < TextRectCount; ++i) EXPECT_EQ(TextRects[i].left, TextRects[i - 1].right);
    int h = Half(0x3042), end = 80 + 20 * h;
    EXPECT_EQ(Tops(), std::set<int>{140});
    EXPECT_EQ(TextRects[0].right, end);
    EXPECT_GT(Ink(FontSprite, end - 4 * h, 140, end, 168), 200);  // drawn by the second segment
}

TEST_F(TextLayoutTest, ShadowFlagWidensTheCellsAndDrawsTheShadow) {
    int h = Half(0x3042);
    SetTextColours(0xFFFFFF, 0x0000FF, 1);
    LayOut(Repeat(A, 2), 590, 0x100);
    ASSERT_EQ(TextRectCount, 3);
    EXPECT_EQ(TextRects[1].right - TextRects[1].left, h + 1);
    EXPECT_EQ(TextRects[1].bottom - TextRects[1].top, 29);
    // Shadow red (0x00BBGGRR) beside the white text in the font buffer.
    EXPECT_GT(Ink(FontBufferSprite, 0, 0, 2 * h + 4, 60, [](uint32_t v) { return v == 0xFF0000; }), 20);
}

// The script tool warns of a paragraph's short last row from rows it measures itself:
// they are the rows the message window lays every line of the story out in (a character
// hanging past the limit keeps no rectangle of its own).
TEST_F(TextLayoutTest, TheBuildsRowsAreTheMessageWindowsForEveryLineOfTheStory) {
    for (int i = 0; i < ScriptLineCount && ShippedScript[i][0]; ++i) {
        const char* line = ShippedScript[i];
        if (MatchKeyword(line) != KwNone) continue;
        LayOut(line);
        std::vector<int> rows = MessageRows(line, 28, 10, 590), laidOut;
        for (int r = 1; r < TextRectCount; ++r) {
            if (r == 1 || TextRects[r].top != TextRects[r - 1].top) laidOut.push_back(0);
            ++laidOut.back();
        }
        ASSERT_EQ(rows.size(), laidOut.size()) << "line " << i;
        for (size_t k = 0; k < rows.size(); ++k)
            EXPECT_TRUE(laidOut[k] == rows[k] || laidOut[k] == rows[k] - 1) << "line " << i << ", row " << k;
    }
}

class TextLayout565Test : public TextLayoutTest {
    PixelFormat DisplayFormat() const override { return FormatRGB565; }
};

TEST_F(TextLayout565Test, SixteenBitDisplayKeepsGreensLowBitClear) {
    LayOut(Repeat(A, 5));
    EXPECT_GT(Ink(FontSprite, 10, 385, 200, 413), 200);
    EXPECT_EQ(Ink(FontSprite, 10, 385, 200, 413, [](uint32_t v) { return (v & 0x20) != 0; }), 0);
}
