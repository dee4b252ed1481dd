// Shift-JIS helpers: lead bytes, character length at the end of a text, decoding.
#include <gtest/gtest.h>

#include <cstring>

#include "draw/sjis.h"

TEST(TextSjis, LeadBytesAreTheTwoCp932Ranges) {
    for (int b = 0; b < 256; ++b) {
        bool expected = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        EXPECT_EQ(SjisIsLeadByte(uint8_t(b)), expected) << b;
    }
}

TEST(TextSjis, CharacterLengthNeverReachesPastTheText) {
    const char text[] = "\x82\xA0" "A" "\x82";
    EXPECT_EQ(SjisCharLength(text, 4), 2);
    EXPECT_EQ(SjisCharLength(text + 2, 2), 1);
    // A lead byte with nothing after it is a character of one byte.
    EXPECT_EQ(SjisCharLength(text + 3, 1), 1);
    // Half-width katakana are single bytes.
    EXPECT_EQ(SjisCharLength("\xB1\xB2", 2), 1);
}

TEST(TextSjis, DecodesCp932IncludingItsExtensions) {
    EXPECT_EQ(SjisDecodeChar("A", 1), uint32_t('A'));
    EXPECT_EQ(SjisDecodeChar("\x82\xA0", 2), 0x3042u);  // あ
    EXPECT_EQ(SjisDecodeChar("\x81\x40", 2), 0x3000u);  // ideographic space
    EXPECT_EQ(SjisDecodeChar("\xB1", 1), 0xFF71u);      // half-width ア
    EXPECT_EQ(SjisDecodeChar("\x87\x40", 2), 0x2460u);  // NEC special: circled 1
    EXPECT_EQ(SjisDecodeChar("\xFA\x40", 2), 0x2170u);  // IBM extension: small roman 1
    EXPECT_EQ(SjisDecodeChar("\x81\x60", 2), 0xFF5Eu);  // CP932's full-width tilde
}

TEST(TextSjis, UndecodableCharactersBecomeTheGetaMark) {
    EXPECT_EQ(SjisDecodeChar("\x82", 1), SjisGetaMark);       // lone lead byte
    EXPECT_EQ(SjisDecodeChar("\x81\x0A", 2), SjisGetaMark);   // trail byte out of range
    EXPECT_EQ(SjisDecodeChar("\x85\x40", 2), SjisGetaMark);   // unassigned row
    EXPECT_EQ(SjisDecodeChar("\xFF", 1), SjisGetaMark);
    EXPECT_EQ(SjisDecodeChar("\x81\xAC", 2), SjisGetaMark);   // the geta mark itself
}

TEST(TextSjis, ConvertsNamesBothWays) {
    char utf8[64];
    EXPECT_STREQ(SjisToUtf8("\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E", utf8,
                            sizeof utf8),
                 "ＭＳ Ｐゴシック");
    // A trailing lead byte converts to the geta mark, not to what follows in memory.
    EXPECT_STREQ(SjisToUtf8("a\x82", utf8, sizeof utf8), "a〓");
    // Output is cut at a whole character and always terminated.
    char small[4];
    EXPECT_STREQ(SjisToUtf8("\x82\xA0\x82\xA2", small, sizeof small), "あ");

    char cp932[16];
    ASSERT_TRUE(Utf8ToSjis("IPA Pゴシック", cp932, sizeof cp932));
    EXPECT_STREQ(cp932, "IPA P\x83\x53\x83\x56\x83\x62\x83\x4E");
    EXPECT_FALSE(Utf8ToSjis("한국어", cp932, sizeof cp932));
    EXPECT_STREQ(cp932, "");
    EXPECT_FALSE(Utf8ToSjis("あいうえおかきくけこ", cp932, sizeof cp932));  // does not fit
}
