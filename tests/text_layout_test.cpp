// Text layout with the installed fonts where the shipped story's frames do not reach:
// wrapping exactly at the limit, hanging characters, a 16-bit display; and
// the build's own measure of the message window's rows against the layout's.
#include "story/records/script.h"
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

class TextLayoutTest : public TextDisplayTest {
protected:
    // Client width of a character: half its double-size advance, rounded up.
    int Half(uint32_t code) {
        return (CachedGlyph(FindFace(gothic), FontRequest.height, code)->advance + 1) / 2;
    }
    // The message window's place, laid out in the shared layout, whose sprite is FontSprite.
    const TextLayout& LayOut(const std::string& text, int right = 590) {
        return MeasureTextBlock(10, 385, right, 580, text.c_str(), 0);
    }
};

}  // namespace

TEST_F(TextLayoutTest, CharacterEndingExactlyAtRightWrapsUnlessItHangs) {
    const TextLayout& wrapped = LayOut(Repeat(A, 2) + "\x82\xA2", 10 + 2 * Half(0x3042) + Half(0x3044));
    ASSERT_EQ(wrapped.count, 4);  // あああい
    EXPECT_EQ(wrapped.rects[3].top, 413);
    EXPECT_EQ(wrapped.rects[3].left, 10);
    int right = 10 + 2 * Half(0x3042) + Half(0x3002);
    ASSERT_EQ(LayOut(Repeat(A, 2) + Maru, right).count, 3);  // 。 has no rectangle but is drawn on the first line
    EXPECT_GT(Ink(FontSprite, right - Half(0x3002), 385, right, 413), 5);
    EXPECT_EQ(Ink(FontSprite, 0, 413, 700, 520), 0);
}

// The script tool warns of a paragraph's short last row from rows it measures itself:
// they are the rows the message window lays every line of the story out in (a character
// hanging past the limit keeps no rectangle of its own).
TEST_F(TextLayoutTest, TheBuildsRowsAreTheMessageWindowsForEveryLineOfTheStory) {
    for (int i = 0; i < ScriptLineCount && ShippedScript[i][0]; ++i) {
        const char* line = ShippedScript[i];
        if (MatchKeyword(line) != KwNone) continue;
        const TextLayout& laid = LayOut(line);
        std::vector<int> rows = MessageRows(line, 28, 10, 590), laidOut;
        for (int r = 1; r < laid.count; ++r) {
            if (r == 1 || laid.rects[r].top != laid.rects[r - 1].top) laidOut.push_back(0);
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
