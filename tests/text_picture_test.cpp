// Pictures for a person to look at: the system menu text over a stand-in for its
// background and a prose line in the message window, saved as PNG files. The test also
// checks that each of the menu's labels is centred over its own button (x 170 + 63n, 50
// wide), where the player clicks it.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "tests/text_test_support.h"

using namespace kaDraw;

namespace {

constexpr int ButtonHalfWidth = 25;

void SavePicture(const char* name) {
    std::filesystem::create_directories(AKARI_TEST_OUTPUT_DIR);
    PresentBackBuffer();
    std::string path = std::string(AKARI_TEST_OUTPUT_DIR) + "/" + name;
    EXPECT_TRUE(headless::SaveLastFrameAsPng(path));
    std::printf("picture: %s\n", path.c_str());
}

// Centre of the label that starts with the skip-th `first` on the line at top and ends
// with the next `last`, found by walking the text alongside its character rectangles.
int LabelCentre(const std::string& text, int top, const std::string& first,
                const std::string& last, int skip) {
    int rect = 1, start = -1;
    for (size_t p = 0; p < text.size() && rect < TextRectCount;) {
        size_t n = size_t(SjisCharLength(text.c_str() + p, text.size() - p));
        std::string ch = text.substr(p, n);
        p += n;
        if (ch == "\n") continue;
        const TextRect& r = TextRects[rect++];
        if (start < 0 && r.top == top && ch == first && skip-- == 0) start = r.left;
        if (start >= 0 && ch == last) return (start + r.right) / 2;
    }
    return -1000;
}

}  // namespace

TEST_F(TextDisplayTest, PictureOfTheSystemMenuText) {
    for (int y = 0; y < 520; ++y)  // a dark gradient and the button outlines
        for (int x = 0; x < 700; ++x) WritePixel(BackBuffer, x, y, uint32_t(0x10 + y / 8) << 8 | 0x30);
    for (int row : {90, 170, 250})
        for (int n = 0; n < (row == 250 ? 6 : 5); ++n)
            DrawRect(170 + 63 * n, row, 220 + 63 * n, row + 25, 0x603020, 0xA0A0A0, 1);
    for (int n = 0; n < 2; ++n) {
        DrawRect(170 + 67 * n, 325, 220 + 67 * n, 350, 0x603020, 0xA0A0A0, 1);
        DrawRect(170 + 150 * n, 370, 340 + 150 * n, 390, 0x603020, 0xA0A0A0, 1);
    }
    std::string text = EngineText(TextMenu);
    SelectTextFont(gothic, 20);
    SetTextColours(0xFFFFFF, 0, 1);
    DrawTextBlock(170, 50, 635, 500, text.c_str(), 0);
    SavePicture("text_system_menu.png");
    EXPECT_EQ(TextRects[TextRectCount - 1].top, 370);  // 17 lines of 20 pixels
    for (int n = 0; n < 16; ++n) {  // No.1..No.5 twice, then ０..５
        int row = n < 5 ? 90 : n < 10 ? 170 : 250, k = n < 10 ? n % 5 : n - 10;
        std::string digit = {'\x82', char(0x4F + k)};  // ０..５ in CP932
        int centre = row == 250 ? LabelCentre(text, row, digit, digit, 0)
                                : LabelCentre(text, row, "N", std::to_string(k + 1), k);
        int button = 170 + 63 * k + 25;
        std::printf("row %d label %d: centre %d, button centre %d, off by %+d\n", row, k,
                    centre, button, centre - button);
        EXPECT_LT(std::abs(centre - button), ButtonHalfWidth) << "label off its button";
    }
    // White cores were copied, and the edges were mixed with the picture.
    EXPECT_GT(Ink(BackBuffer, 170, 50, 240, 70, [](uint32_t v) { return v == 0xFFFFFF; }), 20);
    EXPECT_GT(Ink(FontSprite, 170, 50, 240, 70, [](uint32_t v) { return v && v != 0xFFFFFF; }), 20);
}

TEST_F(TextDisplayTest, PictureOfAProseLineInTheMessageWindow) {
    for (int y = 0; y < 520; ++y)  // a colour ramp, darker where the message frame lies
        for (int x = 0; x < 700; ++x) {
            uint32_t v = uint32_t(x * 255 / 700) << 16 | uint32_t(y * 255 / 520) << 8 | 0x60;
            WritePixel(BackBuffer, x, y, y >= 375 ? (v >> 2) & 0x3F3F3F : v);
        }
    char line[200];
    ASSERT_TRUE(Utf8ToSjis(u8"美咲:明日の朝、駅前の古い喫茶店で待っていると彼女は言った。"
                           u8"けれど約束の時間を過ぎても、窓の外に見慣れた姿は現れぬ。",
                           line, sizeof line));
    ASSERT_EQ(std::strlen(line), 115u);
    LayOutTextBlock(10, 385, 590, 580, line, 0);
    EndTextDrawing();
    const TextRect& block = TextRects[0];  // the message window's whole-block copy
    BltTransparent(block.left, block.top, FontSprite, block.left, block.top, block.right,
                   block.bottom);
    SavePicture("text_prose_line.png");
    EXPECT_EQ(TextRectCount, 59);  // 58 characters, none hanging at a line end
    EXPECT_EQ(TextRects[58].top, 441);
}
