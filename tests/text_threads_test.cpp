// The text layer with the font table's own thread: the Shift-JIS conversions used from
// two threads at once, and the table filled on its thread while the game converts.
#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "base/start_up_task.h"
#include "draw/sjis.h"
#include "draw/text_engine.h"
#include "story/frame.h"

namespace {

// A name converted to CP932 and back, and one character decoded, as one thread alone
// gets them.
struct Conversion {
    const char* utf8;
    const char* bytes;  // one two-byte character
    uint32_t code;
};

// How many of rounds conversions came out other than on one thread alone.
int WrongConversions(const Conversion& c, int rounds) {
    char alone[128], cp932[128], utf8[128];
    if (!Utf8ToSjis(c.utf8, alone, sizeof alone)) return rounds;
    int wrong = 0;
    for (int i = 0; i < rounds; ++i) {
        wrong += !Utf8ToSjis(c.utf8, cp932, sizeof cp932) || std::string(cp932) != alone;
        wrong += std::string(SjisToUtf8(alone, utf8, sizeof utf8)) != c.utf8;
        wrong += SjisDecodeChar(c.bytes, 2) != c.code;
    }
    return wrong;
}

const Conversion GameSide = {"ＭＳ Ｐゴシック", "\x82\xA0", 0x3042};      // あ
const Conversion TableSide = {"IPA P明朝 and DejaVu Sans", "\x88\xEA", 0x4E00};  // 一

// A converter shared between threads gave a few wrong results in every few hundred
// thousand calls, and now and then a crash.
TEST(TextThreads, BothConversionsStayRightOnTwoThreadsAtOnce) {
    constexpr int Rounds = 400000;
    std::future<int> other = std::async(std::launch::async, WrongConversions, TableSide, Rounds);
    int wrong = WrongConversions(GameSide, Rounds);
    EXPECT_EQ(wrong + other.get(), 0);
}

// As in the game: the table is filled on its thread once the first frame is out, and
// the game converts its own texts meanwhile; the table comes out as one thread alone
// fills it.
TEST(TextThreads, TheFontTableIsFilledOnItsThreadWhileTheGameConverts) {
    using namespace kaDraw;
    CollectInstalledFonts();
    const std::vector<FontEntry> alone(FontTable, FontTable + FontTableCount);
    ASSERT_GT(alone.size(), 1u);

    HoldStartUpTasks();
    InitText();
    ReleaseStartUpTasks();
    EXPECT_EQ(WrongConversions(GameSide, 20000), 0);
    SelectTextFont(EngineText(TextGothic), 28);  // waits for the table
    EndTextDrawing();
    HoldStartUpTasks();

    ASSERT_EQ(size_t(FontTableCount), alone.size());
    for (size_t i = 0; i < alone.size(); ++i) {
        EXPECT_STREQ(FontTable[i].name, alone[i].name) << i;
        EXPECT_EQ(FontTable[i].charSet, alone[i].charSet) << i;
    }
    EXPECT_EQ(FontRequest.charSet, 128);
    FreeText();
}

}  // namespace
