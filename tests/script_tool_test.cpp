// The build's script tool refuses each kind of bad script with the file and line of the
// fault; the head of the shipped script it built; and the voice tool, which speaks the
// lines the script plays clips before, again only where they change.
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

// Runs the voice tool in dir on script.txt and voices.txt; its standard output.
std::string RunVoiceTool(const std::filesystem::path& dir, bool list, int* exitCode) {
    std::string quoted = " '" + (dir / "script.txt").string() + "' '" +
                         (dir / "voices.txt").string() + "'";
    std::string command = std::string(AKARI_VOICE_TOOL) + (list ? " --list" + quoted : quoted) +
                          (list ? "" : " '" + (dir / "game").string() + "' '" +
                                           (dir / "cache").string() + "' " AKARI_OPEN_JTALK
                                           " " AKARI_JTALK_DICTIONARY " " AKARI_JTALK_VOICE) +
                          " > '" + (dir / "out.txt").string() + "' 2> '" +
                          (dir / "errors.txt").string() + "'";
    int status = std::system(command.c_str());
    *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return ReadFile(dir / "out.txt") + ReadFile(dir / "errors.txt");
}

TEST(VoiceTool, SpeaksTheProseLineAfterEachClipOrRefusesAMismatchedList) {
    std::filesystem::path dir = TestFolder("voice_");
    const std::string played = "wave_play:a.sad\nsize:24\nswave:\n湊:寒いな。\n"
                               "wave_play:b.sad\ncommand:1\nxxxx:選ぶ\n小夜:はい、参ります。\n"
                               "wave_play:c.sad\nまもなく発車します:三番線\n";
    struct Case {
        std::string script, voices, expected;  // expected: the listing, or the refusal
    } cases[] = {
        {played, "# comment\na.sad minato\nb.sad sayo\n\nc.sad announce\n",
         "a.sad\tminato\t寒いな。\nb.sad\tsayo\tはい、参ります。\n"
         "c.sad\tannounce\tまもなく発車します:三番線\n"},
        {played + "wave_play:a.sad\n湊:寒いな。\n", "a.sad minato さむいな\nb.sad sayo\nc.sad minato\n",
         "a.sad\tminato\tさむいな\nb.sad\tsayo\tはい、参ります。\n"
         "c.sad\tminato\tまもなく発車します:三番線\n"},
        {played, "a.sad minato\nb.sad yoru\nc.sad minato\n", "voices.txt:2: unknown speaker"},
        {played, "a.sad minato\nb.sad sayo\n", "\"c.sad\" is played by the script but not listed"},
        {played, "a.sad minato\nb.sad sayo\nc.sad sayo\nd.sad sayo\n",
         "voices.txt:4: \"d.sad\" is never played"},
        {played, "a.sad minato\nb.sad sayo\nc.sad sayo\na.sad sayo\n", "voices.txt:4: \"a.sad\" listed twice"},
        {played + "wave_play:a.sad\n湊:暑いな。\n", "a.sad minato\nb.sad sayo\nc.sad sayo\n",
         "script.txt:17: \"a.sad\" is played before two different lines"},
        {played + "wave_play:d.sad\n", "a.sad minato\nb.sad sayo\nc.sad sayo\nd.sad sayo\n",
         "script.txt:17: no prose line follows"},
    };
    for (const Case& c : cases) {
        WriteFile(dir / "script.txt", Script(c.script));
        WriteFile(dir / "voices.txt", c.voices);
        int exitCode;
        std::string out = RunVoiceTool(dir, true, &exitCode);
        bool listing = c.expected.find('\t') != std::string::npos;
        EXPECT_EQ(exitCode, listing ? 0 : 1) << out;
        EXPECT_TRUE(listing ? out == c.expected : out.find(c.expected) != std::string::npos)
            << c.expected << " / " << out;
    }
}

TEST(VoiceTool, SpeaksAgainOnlyTheClipsWhoseWordsOrVoiceChanged) {
    std::filesystem::path dir = TestFolder("voice_");
    std::filesystem::create_directory(dir / "game");
    const std::string voices = "a.sad minato\nb.sad sayo\n";
    struct Step {
        std::string script, voices, expected;
    } steps[] = {
        {"wave_play:a.sad\n湊:寒いな。\nwave_play:b.sad\n小夜:はい。\n", voices, "2 spoken, 0 from"},
        {"wave_play:a.sad\n湊:寒いな。\nwave_play:b.sad\n小夜:はい。\n", voices, "0 spoken, 2 from"},
        {"wave_play:a.sad\n湊:寒いな。\n地の文\nwave_play:b.sad\n小夜:はい。\n", voices,
         "0 spoken, 2 from"},
        {"wave_play:a.sad\n湊:寒いな。\nwave_play:b.sad\n小夜:いいえ。\n", voices, "1 spoken, 1 from"},
        {"wave_play:a.sad\n湊:寒いな。\nwave_play:b.sad\n小夜:いいえ。\n",
         "a.sad announce\nb.sad sayo\n", "1 spoken, 1 from"},
    };
    for (const Step& s : steps) {
        WriteFile(dir / "script.txt", Script(s.script));
        WriteFile(dir / "voices.txt", s.voices);
        int exitCode;
        std::string out = RunVoiceTool(dir, false, &exitCode);
        EXPECT_EQ(exitCode, 0) << out;
        EXPECT_NE(out.find(s.expected), std::string::npos) << s.expected << " / " << out;
    }
    std::vector<uint8_t> format, data;
    for (const char* clip : {"a.sad", "b.sad"}) {
        ASSERT_EQ(kaSound::ReadWaveFile((dir / "game" / clip).c_str(), &format, &data), 0);
        EXPECT_EQ(ReadFile(dir / "game" / clip).size(), 44 + data.size()) << clip;
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
