// Pictures for a person to look at: the system menu text over a stand-in for its
// background and a prose line in the message window, saved as PNG files. The test also
// reports where the menu's labels land against their button columns.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "draw/sjis.h"
#include "draw/text_engine.h"
#include "tests/text_test_support.h"

using namespace kaDraw;

namespace {

std::string Cp932(const char* utf8) {
    char out[512];
    EXPECT_TRUE(Utf8ToSjis(utf8, out, sizeof out)) << utf8;
    return out;
}

const std::string PGothic = Cp932(u8"ＭＳ Ｐゴシック");

std::string MenuText() {
    const char* numbers = u8"  No.1    No.2    No.3    No.4    No.5";
    const char* lines[17] = {
        u8"セーブ", "", numbers, "", u8"ロード", "", numbers, "", u8"メッセージスピード", "",
        u8"   ０      　１  　    ２      　３　      ４　      ５", "",
        u8"　　　", "", u8"　　　　　　　　", "", u8"ゲームを終了する　　ゲームに戻る"};
    std::string text;
    for (int i = 0; i < 17; ++i) text += (i ? "\n" : "") + Cp932(lines[i]);
    return text;
}

// The characters of the laid-out text with their rectangles, in reading order.
struct Placed {
    std::string ch;
    TextRect rect;
};

std::vector<Placed> PlacedCharacters(const std::string& text) {
    std::vector<Placed> placed;
    int rect = 1;
    for (size_t p = 0; p < text.size() && rect < TextRectCount;) {
        int n = SjisCharLength(text.c_str() + p, text.size() - p);
        if (text[p] != '\n') placed.push_back({text.substr(p, size_t(n)), TextRects[rect++]});
        p += size_t(n);
    }
    return placed;
}

// Centre of the run of characters starting at the first one on line top equal to
// label's first character, after skip earlier matches.
bool LabelCentre(const std::vector<Placed>& placed, int top, const std::string& first,
                 const std::string& last, int skip, int* centre) {
    for (size_t i = 0; i < placed.size(); ++i) {
        if (placed[i].rect.top != top || placed[i].ch != first || skip-- > 0) continue;
        for (size_t j = i; j < placed.size(); ++j)
            if (placed[j].ch == last) {
                *centre = (placed[i].rect.left + placed[j].rect.right) / 2;
                return true;
            }
    }
    return false;
}

void SavePicture(const char* name) {
    std::filesystem::create_directories(AKARI_TEST_OUTPUT_DIR);
    PresentBackBuffer();
    std::string path = std::string(AKARI_TEST_OUTPUT_DIR) + "/" + name;
    EXPECT_TRUE(headless::SaveLastFrameAsPng(path));
    std::printf("picture: %s\n", path.c_str());
}

using TextPictureTest = TextDisplayTest;

}  // namespace

TEST_F(TextPictureTest, SystemMenuTextOverItsButtons) {
    // Stand-in for the menu picture: a dark gradient and the button outlines.
    for (int y = 0; y < 520; ++y)
        for (int x = 0; x < 700; ++x) WritePixel(BackBuffer, x, y, uint32_t(0x10 + y / 8) << 8 | 0x30);
    auto Button = [](int left, int top, int width, int bottom) {
        DrawRect(left, top, left + width, bottom, 0x603020, 0xA0A0A0, 1);
    };
    for (int n = 0; n < 5; ++n) Button(170 + 63 * n, 90, 50, 115);
    for (int n = 0; n < 5; ++n) Button(170 + 63 * n, 170, 50, 195);
    for (int n = 0; n < 6; ++n) Button(170 + 63 * n, 250, 50, 275);
    for (int n = 0; n < 2; ++n) Button(170 + 67 * n, 325, 50, 350);
    Button(170, 370, 170, 390);
    Button(320, 370, 170, 390);

    std::string text = MenuText();
    SelectTextFont(PGothic.c_str(), 20);
    SetTextColours(0xFFFFFF, 0, 1);
    DrawTextBlock(170, 50, 635, 500, text.c_str(), 0);
    EndTextDrawing();
    SavePicture("text_system_menu.png");

    std::vector<Placed> placed = PlacedCharacters(text);
    // 16 line feeds and no wrapping: every character has its rectangle.
    EXPECT_EQ(int(placed.size()), TextRectCount - 1);
    // The rows of text meet the rows of buttons: save 90, load 170, speed 250, bottom 370.
    for (int top : {50, 90, 130, 170, 210, 250, 370}) {
        int onLine = 0;
        for (const Placed& p : placed) onLine += p.rect.top == top;
        EXPECT_GT(onLine, 0) << top;
    }
    for (int row : {90, 170}) {
        for (int n = 0; n < 5; ++n) {
            int centre = 0;
            ASSERT_TRUE(LabelCentre(placed, row, "N", std::to_string(n + 1), n, &centre));
            int button = 170 + 63 * n + 25;
            std::printf("row %d No.%d: label centre %d, button centre %d, off by %+d\n", row,
                        n + 1, centre, button, centre - button);
            EXPECT_LT(std::abs(centre - button), 63) << "label under another button";
        }
    }
    for (int n = 0; n < 6; ++n) {
        std::string digit = Cp932(std::string(u8"０").c_str());
        digit[1] = char(digit[1] + n);  // ０..５ are consecutive in CP932
        int centre = 0;
        ASSERT_TRUE(LabelCentre(placed, 250, digit, digit, 0, &centre));
        int button = 170 + 63 * n + 25;
        std::printf("speed %d: label centre %d, button centre %d, off by %+d\n", n, centre,
                    button, centre - button);
        EXPECT_LT(std::abs(centre - button), 63) << "label under another button";
    }
    // Edges are mixed with the picture: the copied text holds other values than white.
    int white = 0, mixed = 0;
    for (int y = 50; y < 70; ++y)
        for (int x = 170; x < 240; ++x) {
            uint32_t v = Back(x, y);
            white += v == 0x00FFFFFF;
            mixed += v != 0x00FFFFFF && ReadPixel(ObjectTable[FontSprite].surface, x, y) != 0;
        }
    EXPECT_GT(white, 20);
    EXPECT_GT(mixed, 20);
}

TEST_F(TextPictureTest, ProseLineInTheMessageWindow) {
    // Stand-in picture: a colour ramp, and a darker band where the message frame lies.
    for (int y = 0; y < 520; ++y)
        for (int x = 0; x < 700; ++x) {
            uint32_t r = uint32_t(x * 255 / 700), g = uint32_t(y * 255 / 520);
            uint32_t v = r << 16 | g << 8 | 0x60;
            if (y >= 375) v = (v >> 2) & 0x3F3F3F;
            WritePixel(BackBuffer, x, y, v);
        }
    std::string line = Cp932(u8"美咲:明日の朝、駅前の古い喫茶店で待っていると彼女は言った。"
                             u8"けれど約束の時間を過ぎても、窓の外に見慣れた姿は現れぬ。");
    ASSERT_EQ(line.size(), 115u);
    SelectTextFont(PGothic.c_str(), 28);
    SetTextColours(0xC8C8C8, 0, 1);
    LayOutTextBlock(10, 385, 590, 580, line.c_str(), 0);
    EndTextDrawing();
    // The message window's whole-block copy.
    const TextRect& block = TextRects[0];
    BltTransparent(block.left, block.top, FontSprite, block.left, block.top, block.right,
                   block.bottom);
    SavePicture("text_prose_line.png");
    EXPECT_EQ(TextRectCount, 59);  // 58 characters, none hanging at a line end
    int lines = 0, lastTop = -1;
    for (int i = 1; i < TextRectCount; ++i)
        if (TextRects[i].top != lastTop) lastTop = TextRects[i].top, ++lines;
    EXPECT_EQ(lines, 3);
}
