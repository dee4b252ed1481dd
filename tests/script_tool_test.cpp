// The build's script tool refuses each kind of bad script with the file and line of the
// fault; and the head of the shipped script it built.
#include <sys/wait.h>

#include "tests/story_test_table.h"

using namespace storytest;

namespace {

// The valid head and a closing end:99 around body, which starts at text line 7.
std::string Script(const std::string& body) {
    return "sideblack\t\nlabel:back\ncommand:2\n_end:ゲームを終了する\nback:もう少し続ける\n"
           "どうしますか？\n" + body + "label:_end\nend:99\n";
}

TEST(ScriptTool, RefusesEachKindOfBadScriptAtItsLine) {
    std::filesystem::path dir = TestFolder("script_");
    std::string line400, lines1491, name31(27, 'a');
    for (int i = 0; i < 200; ++i) line400 += "あ";
    for (int i = 0; i < 1491; ++i) lines1491 += "文\n";
    struct Case {
        std::string text;
        int line;  // 0: accepted
    } cases[] = {
        {Script("駅員:こんばんは\nflg:001,7\nif:001,7,002,35\nswitch:002,3,6\njump:_end\n"), 0},
        {Script(lines1491), 0},  // 1499 lines end just in time
        {Script("file:" + name31.substr(1) + ".sad\n"), 0},
        {Script("一行\n" + line400 + "\n"), 8},
        {Script("絵文字😀\n"), 7},
        {Script(lines1491 + "文\n文\n文\n"), 1500},
        {Script("文\n") + "\nmore\n", 11},
        {Script("label:abc\n"), 7},
        {Script("label:abcde\n"), 7},
        {Script("command:1\nabc:選ぶ\n問い\n"), 8},
        {Script("jump:none\n"), 7},
        {Script("jump:scn1\nABCDEFscn1\nlabel:scn1\n"), 7},
        {Script("command:1\nzzzz:選ぶ\n問い\n"), 8},
        {Script("flg:1,7\n"), 7},
        {Script("文\nif:001,1,02,35\n"), 8},
        {Script("switch:005,12,9\n"), 7},
        {Script("flg:001,\n"), 7},
        {Script("switch:005,2,140\n"), 7},
        {Script("file:" + name31 + ".sad\n"), 7},
        {Script("文\nwave_play:" + name31 + ".sad\n"), 8},
        {"sideblack\t\nlabel:back\ncommand:2\n_end:終\nback:続\n", 3},
        {Script("command:0\n問い\n"), 7},
        {Script("endX99\n"), 7},
        {Script("size:200\n文\nsize:1073741824\n"), 9},
        {Script("size:0\n"), 7},
    };
    for (const Case& c : cases) {
        WriteFile(dir / "script.txt", c.text);
        std::filesystem::remove(dir / "table.cpp");
        std::string command = std::string(AKARI_SCRIPT_TOOL) + " '" + (dir / "script.txt").string() +
                              "' '" + (dir / "table.cpp").string() + "' 2> '" +
                              (dir / "errors.txt").string() + "'";
        int status = std::system(command.c_str());
        std::string where = "script.txt:" + std::to_string(c.line) + ":";
        std::string errors = ReadFile(dir / "errors.txt");
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, c.line ? 1 : 0) << where << errors;
        EXPECT_TRUE(c.line == 0 || errors.find(where) != std::string::npos) << where << errors;
        EXPECT_EQ(std::filesystem::exists(dir / "table.cpp"), c.line == 0) << where;
    }
}

TEST(ShippedScript, HasTheHeadTheEngineReliesOn) {
    SetScript({});
    for (int i = 0; i < 6; ++i) EXPECT_STREQ(ShippedScript[i], TestTable[i]) << "line " << i;
    int end = FindLabelIn(ShippedScript, "_end");
    EXPECT_STREQ(ShippedScript[end], "label:_end");
    EXPECT_STREQ(ShippedScript[end + 1], "end:99");
    UseScriptTable(nullptr);
}

}  // namespace
