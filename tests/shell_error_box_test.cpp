// The error box: its text, caption, beep and the 255-byte cut.
#include <gtest/gtest.h>

#include <string>

#include "platform/headless.h"
#include "shell/shell.h"

namespace {

TEST(ErrorBox, ShowsLocationAndMessageUnderTheCaptionAfterABeep) {
    headless::Reset();
    EXPECT_EQ(ErrorBox("kaSound::LoadObject", "オブジェクト数が多過ぎます"), 0);
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].caption, "エラー発生");
    EXPECT_EQ(headless::MessageBoxes()[0].text, "kaSound::LoadObject : オブジェクト数が多過ぎます");
    EXPECT_EQ(headless::BeepCount(), 1);  // no sound device: the system bell
}

TEST(ErrorBox, LongTextIsCutTo255BytesAtAWholeCharacter) {
    // "kaDraw::Screen : " is 17 bytes; each "あ" is 3, so byte 255 falls inside one.
    std::string message;
    for (int i = 0; i < 100; ++i) message += "あ";
    headless::Reset();
    ErrorBox("kaDraw::Screen", message.c_str());
    const std::string& text = headless::MessageBoxes().at(0).text;
    EXPECT_EQ(text.size(), 17u + 3 * 79);  // 254: the 80th character would end at 257
    EXPECT_EQ(text, "kaDraw::Screen : " + message.substr(0, 3 * 79));

    // A cut that falls between characters keeps all 255 bytes.
    std::string ascii(300, 'x');
    headless::Reset();
    ErrorBox("kaDraw::Screen", ascii.c_str());
    EXPECT_EQ(headless::MessageBoxes().at(0).text.size(), 255u);
}

}  // namespace
