// The build's script tool: the table it writes, and every kind of bad script it refuses
// with the file and line of the fault.
#include <sys/wait.h>

#include "tests/story_test_table.h"

using namespace storytest;

namespace {

class ScriptTool : public ::testing::Test {
protected:
    std::filesystem::path dir;
    std::string errors;

    void SetUp() override {
        dir = TestFolder("script_");
    }

    // The valid head and a closing end:99 around body (UTF-8 lines); body starts at
    // text line 7.
    static std::string Script(const std::string& body) {
        return "sideblack\t\nlabel:back\ncommand:2\n_end:ゲームを終了する\nback:もう少し続ける\n"
               "どうしますか？\n" + body + "label:_end\nend:99\n";
    }

    // Runs the tool on text; its exit status, with its error output kept in errors.
    int Run(const std::string& text) {
        WriteFile(dir / "script.txt", text);
        std::filesystem::remove(dir / "table.cpp");
        std::string command = std::string(AKARI_SCRIPT_TOOL) + " '" + (dir / "script.txt").string() +
                              "' '" + (dir / "table.cpp").string() + "' 2> '" +
                              (dir / "errors.txt").string() + "'";
        int status = std::system(command.c_str());
        errors = ReadFile(dir / "errors.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The tool refused text and named line as the fault's place.
    void ExpectRefused(const std::string& text, int line, const char* why) {
        EXPECT_EQ(Run(text), 1) << why;
        EXPECT_NE(errors.find("script.txt:" + std::to_string(line) + ":"), std::string::npos)
            << why << "\n" << errors;
        EXPECT_FALSE(std::filesystem::exists(dir / "table.cpp")) << why;
    }
};

TEST_F(ScriptTool, AGoodScriptBecomesATableInCp932) {
    ASSERT_EQ(Run(Script("駅員:こんばんは\nflg:001,7\nif:001,7,002,35\nswitch:002,3,6\n"
                         "jump:_end\n")),
              0)
        << errors;
    std::string table = ReadFile(dir / "table.cpp");
    EXPECT_NE(table.find("\"sideblack\\011\""), std::string::npos);
    EXPECT_NE(table.find("\"label:back\""), std::string::npos);
    // 駅 is 0x89 0x77 in CP932.
    EXPECT_NE(table.find("\"\\211w"), std::string::npos);
}

TEST_F(ScriptTool, RefusesLinesThatDoNotFitOrCannotBeEncoded) {
    std::string long_line;
    for (int i = 0; i < 200; ++i) long_line += "あ";  // 400 bytes in CP932
    ExpectRefused(Script("一行\n" + long_line + "\n"), 8, "line over 399 bytes");
    ExpectRefused(Script("絵文字😀\n"), 7, "character CP932 lacks");
}

TEST_F(ScriptTool, RefusesAScriptThatRunsPastTheTable) {
    std::string body;
    for (int i = 0; i < 1494; ++i) body += "文\n";
    ExpectRefused(Script(body), 1500, "no empty line within the table");
    std::string fits;
    for (int i = 0; i < 1491; ++i) fits += "文\n";
    EXPECT_EQ(Run(Script(fits)), 0) << errors;  // 1499 lines end just in time
    ExpectRefused(Script("文\n") + "\nmore\n", 11, "text after the ending empty line");
}

TEST_F(ScriptTool, RefusesLabelsThatAreNotFourBytes) {
    ExpectRefused(Script("label:abc\n"), 7, "three-byte label");
    ExpectRefused(Script("label:abcde\n"), 7, "five-byte label");
    ExpectRefused(Script("command:1\nabc:選ぶ\n問い\n"), 8, "three-byte option label");
}

TEST_F(ScriptTool, RefusesJumpsTheLabelSearchWouldNotDeliver) {
    ExpectRefused(Script("jump:none\n"), 7, "no such label");
    ExpectRefused(Script("jump:scn1\nABCDEFscn1\nlabel:scn1\n"), 7, "captured by an earlier line");
    ExpectRefused(Script("command:1\nzzzz:選ぶ\n問い\n"), 8, "option naming no label");
}

TEST_F(ScriptTool, RefusesFlagFieldsOfTheWrongWidth) {
    ExpectRefused(Script("flg:1,7\n"), 7, "flg index of one digit");
    ExpectRefused(Script("文\nif:001,1,02,35\n"), 8, "if index of two digits");
    ExpectRefused(Script("switch:005,12,9\n"), 7, "switch value of two digits");
    ExpectRefused(Script("flg:001,\n"), 7, "flg without a value");
}

TEST_F(ScriptTool, RefusesASwitchOutOfTheScript) {
    ExpectRefused(Script("switch:005,2,140\n"), 7, "switch past the last line");
}

TEST_F(ScriptTool, RefusesLongFileNames) {
    std::string name31(27, 'a');
    ExpectRefused(Script("file:" + name31 + ".sad\n"), 7, "picture name of 31 characters");
    ExpectRefused(Script("文\nwave_play:" + name31 + ".sad\n"), 8, "voice name of 31");
    EXPECT_EQ(Run(Script("file:" + std::string(26, 'a') + ".sad\n")), 0) << errors;
}

TEST_F(ScriptTool, RefusesAChoiceWithoutItsOptionsAndPrompt) {
    ExpectRefused("sideblack\t\nlabel:back\ncommand:2\n_end:終\nback:続\n", 3, "no prompt");
    ExpectRefused(Script("command:0\n問い\n"), 7, "no options");
}

TEST_F(ScriptTool, RefusesAKeywordWrittenWithoutItsColon) {
    ExpectRefused(Script("endX99\n"), 7, "end without its colon");
}

TEST(ShippedScript, HasTheHeadTheEngineReliesOn) {
    EXPECT_STREQ(ShippedScript[0], "sideblack\t");
    EXPECT_STREQ(ShippedScript[1], "label:back");
    EXPECT_STREQ(ShippedScript[2], "command:2");
    EXPECT_EQ(std::string(ShippedScript[3]), "_end:" + Sjis("ゲームを終了する"));
    EXPECT_EQ(std::string(ShippedScript[4]), "back:" + Sjis("もう少し続ける"));
    EXPECT_EQ(std::string(ShippedScript[5]), Sjis("どうしますか？"));
    EXPECT_EQ(FindLabelIn(ShippedScript, "back"), 1);
    int end = FindLabelIn(ShippedScript, "_end");
    EXPECT_STREQ(ShippedScript[end], "label:_end");
    EXPECT_STREQ(ShippedScript[end + 1], "end:99");
}

}  // namespace
