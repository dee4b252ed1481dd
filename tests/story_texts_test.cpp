// The engine's own texts reach the text module as CP932, the menu laid out line by line.
#include <sstream>
#include <vector>

#include "tests/story_test_table.h"

using namespace storytest;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(EngineTexts, TheMenuHasSeventeenLinesWithItsSpacesCountedExactly) {
    std::vector<std::string> lines = Lines(EngineText(TextMenu));
    ASSERT_EQ(lines.size(), 17u);
    for (int i = 1; i < 17; i += 2) EXPECT_EQ(lines[i], "") << "line " << i + 1;
    const std::string ideographic = "\x81\x40";
    EXPECT_EQ(lines[0], Sjis("セーブ"));
    EXPECT_EQ(lines[2], "  No.1    No.2    No.3    No.4    No.5");
    EXPECT_EQ(lines[6], lines[2]);
    EXPECT_EQ(lines[10], "   " + Sjis("０") + "      " + ideographic + Sjis("１") + "  " +
                             ideographic + "    " + Sjis("２") + "      " + ideographic +
                             Sjis("３") + ideographic + "      " + Sjis("４") + ideographic +
                             "      " + Sjis("５"));
    EXPECT_EQ(lines[12], ideographic + ideographic + ideographic);
    std::string eight;
    for (int i = 0; i < 8; ++i) eight += ideographic;
    EXPECT_EQ(lines[14], eight);
    EXPECT_EQ(lines[16], Sjis("ゲームを終了する") + ideographic + ideographic + Sjis("ゲームに戻る"));
}

}  // namespace
