// Shift-JIS helpers: lead bytes, character length at the end of a text, decoding and
// conversion of names.
#include <gtest/gtest.h>

#include "draw/sjis.h"

TEST(TextSjis, LeadBytesAndLengthsNeverReachPastTheText) {
    for (int b : {0x80, 0xA0, 0xDF, 0xFD}) EXPECT_FALSE(SjisIsLeadByte(uint8_t(b))) << b;
    for (int b : {0x81, 0x9F, 0xE0, 0xFC}) EXPECT_TRUE(SjisIsLeadByte(uint8_t(b))) << b;
    EXPECT_EQ(SjisCharLength("\x82\xA0", 2), 2);
    EXPECT_EQ(SjisCharLength("\x82\xA0", 1), 1);  // a lead byte with nothing after it
    EXPECT_EQ(SjisCharLength("\xB1\xB2", 2), 1);  // half-width katakana
}

// A start cut to fit never ends in half a character, even where a trail byte looks like
// a lead byte (0x82 0x9F: the second byte is no lead here).
TEST(TextSjis, AStartCutToFitEndsAtACharacterBoundary) {
    const char* text = "a\x82\x9F\x82\xA0" "b";  // a, ぁ, あ, b
    const size_t want[] = {0, 1, 1, 3, 3, 5, 6, 6};
    for (size_t most = 0; most < 8; ++most) EXPECT_EQ(SjisFittingBytes(text, most), want[most]) << most;
    EXPECT_EQ(SjisFittingBytes("\x9F\x9F\x9F", 1), 0u);
    EXPECT_EQ(SjisFittingBytes("\x9F\x9F\x9F", 2), 2u);
    EXPECT_EQ(SjisFittingBytes("\x9F\x9F\x9F", 3), 3u) << "a lone lead byte at the end is one character";
    EXPECT_EQ(SjisFittingBytes("", 5), 0u);
}

TEST(TextSjis, DecodesCp932WithItsExtensionsElseTheGetaMark) {
    const struct { const char* bytes; int length; uint32_t code; } cases[] = {
        {"A", 1, 'A'}, {"\x82\xA0", 2, 0x3042}, {"\x81\x40", 2, 0x3000}, {"\xB1", 1, 0xFF71},
        {"\x87\x40", 2, 0x2460},  // NEC special: circled 1
        {"\xFA\x40", 2, 0x2170},  // IBM extension: small roman 1
        {"\x81\x60", 2, 0xFF5E},  // CP932's full-width tilde
        {"\x82", 1, SjisGetaMark}, {"\x81\x0A", 2, SjisGetaMark}, {"\x85\x40", 2, SjisGetaMark},
        {"\xFF", 1, SjisGetaMark}, {"\x81\xAC", 2, SjisGetaMark}};
    for (const auto& c : cases) EXPECT_EQ(SjisDecodeChar(c.bytes, c.length), c.code) << c.bytes;
}

TEST(TextSjis, ConvertsNamesBothWays) {
    char utf8[64], small[4], cp932[16];
    EXPECT_STREQ(SjisToUtf8("\x82\x6C\x82\x72 \x82\x6F\x83\x53", utf8, sizeof utf8), "ＭＳ Ｐゴ");
    EXPECT_STREQ(SjisToUtf8("a\x82", utf8, sizeof utf8), "a〓");  // nothing read past the end
    EXPECT_STREQ(SjisToUtf8("\x82\xA0\x82\xA2", small, sizeof small), "あ");  // whole characters
    EXPECT_FALSE(Utf8ToSjis("한국어", cp932, sizeof cp932));
    EXPECT_STREQ(cp932, "");
    EXPECT_FALSE(Utf8ToSjis("あいうえおかきくけこ", cp932, sizeof cp932));  // does not fit
}
