// The build's script tool refuses each kind of bad script with the file and line of the
// fault, and checks the story against its lists of pictures, music and voices and against
// the message window; the voice tool, which speaks the lines the script plays clips
// before, again only where they change; and the picture and music tools, which refuse
// what they cannot make.
#include <sys/wait.h>

#include <array>
#include <map>
#include <sstream>

#include "tests/story_test_table.h"

using namespace storytest;

namespace {

// The valid head and a closing end:99 around body, which starts at text line 7.
std::string Script(const std::string& body) {
    return "sideblack\t\nlabel:back\ncommand:2\n_end:ゲームを終了する\nback:もう少し続ける\n"
           "どうしますか？\n" + body + "label:_end\nend:99\n";
}

// A path quoted for the shell, after a space.
std::string Arg(const std::filesystem::path& path) { return " '" + path.string() + "'"; }

// Runs command with its output in dir/out.txt and its complaints in dir/errors.txt; its
// exit status.
int RunIn(const std::filesystem::path& dir, const std::string& command) {
    int status = std::system((command + " >" + Arg(dir / "out.txt") + " 2>" + Arg(dir / "errors.txt")).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The tool on text: refused with where among its complaints and no table written, or,
// where is "", accepted with its table.
void Verdict(const std::filesystem::path& dir, const std::string& text, const std::string& where) {
    WriteFile(dir / "script.txt", text);
    std::filesystem::remove(dir / "table.cpp");
    int code = RunIn(dir, AKARI_SCRIPT_TOOL + Arg(dir / "script.txt") + Arg(dir / "table.cpp"));
    std::string errors = ReadFile(dir / "errors.txt");
    EXPECT_EQ(code, where.empty() ? 0 : 1) << where << "\n" << text << errors;
    EXPECT_NE(errors.find(where), std::string::npos) << where << "\n" << errors;
    EXPECT_EQ(std::filesystem::exists(dir / "table.cpp"), where.empty()) << where;
}

// The story with one change made to it, inside the valid head and end.
struct Change {
    std::string from, to, where;  // where: "" when accepted
};
std::string Changed(std::string story, const Change& c) {
    if (!c.from.empty()) story.replace(story.find(c.from), c.from.size(), c.to);
    return Script(story);
}

// The list files, "# none" where not given.
std::filesystem::path ListsIn(const char* prefix, const std::map<std::string, std::string>& given) {
    std::filesystem::path dir = TestFolder(prefix);
    for (const char* list : {"pictures.txt", "picture_cast.txt", "music.txt", "voices.txt", "effects.txt"})
        WriteFile(dir / list, given.count(list) ? given.at(list) : "# none\n");
    return dir;
}

TEST(ScriptTool, RefusesEachKindOfBadScriptAtItsLine) {
    std::filesystem::path dir = ListsIn("script_", {});
    std::string line400, lines1491, name31(27, 'a');
    for (int i = 0; i < 200; ++i) line400 += "あ";
    for (int i = 0; i < 1491; ++i) lines1491 += "文\n";
    const std::pair<std::string, int> cases[] = {  // the text, and the line refused (0: none)
        {Script("こんばんは\nflg:001,7\nif:001,7,002,35\nswitch:002,3,6\njump:_end\n"), 0},
        {Script("一行\n" + line400 + "\n"), 8},
        {Script("絵文字😀\n"), 7},
        {Script(lines1491 + "文\n文\n文\n"), 1500},
        {Script("文\n") + "\nmore\n", 11},
        {Script("label:abc\n"), 7},
        {Script("command:1\nabc:選ぶ\n問い\n"), 8},
        {Script("jump:none\n"), 7},
        {Script("jump:scn1\nABCDEFscn1\nlabel:scn1\n"), 7},
        {Script("command:1\nzzzz:選ぶ\n問い\n"), 8},
        {Script("flg:1,7\n"), 7},
        {Script("switch:005,12,9\n"), 7},
        {Script("flg:001,\n"), 7},
        {Script("file:" + name31 + ".sad\n"), 7},
        {Script("文\nwave_play:" + name31 + ".sad\n"), 8},
        {"sideblack\t\nlabel:back\ncommand:2\n_end:終\nback:続\n", 3},
        {Script("command:0\n問い\n"), 7},
        {Script("endX99\n"), 7},
        {Script("size:200\n文\nsize:1073741824\n"), 9},
        {Script("size:0\n"), 7},
    };
    for (auto& [text, line] : cases) Verdict(dir, text, line ? "script.txt:" + std::to_string(line) + ":" : "");
}

// Runs the voice tool in dir on script.txt, voices.txt and phrases.txt (and, speaking,
// readings.txt, and with english, english.txt and english_phrases.txt); its exit
// status, and its standard output and complaints.
std::pair<int, std::string> RunVoiceTool(const std::filesystem::path& dir, bool list, bool english = false) {
    std::string command = std::string(AKARI_VOICE_TOOL) + (list ? " --list" : "");
    for (const char* file : {"script.txt", "voices.txt", "phrases.txt"}) command += Arg(dir / file);
    if (!list)
        command += Arg(dir / "readings.txt") + Arg(dir / "game") + Arg(dir / "cache") +
                   " " AKARI_OPEN_JTALK " " AKARI_JTALK_DICTIONARY " " AKARI_JTALK_VOICE;
    if (english)
        command += Arg(dir / "english.txt") + Arg(dir / "english_phrases.txt") + " " AKARI_FLITE +
                   Arg(dir / "words.txt");
    int code = RunIn(dir, command);
    return {code, ReadFile(dir / "out.txt") + ReadFile(dir / "errors.txt")};
}

// The listing's lines of the narrator, or of every speaker but the narrator.
std::string ListedFor(const std::string& listing, bool narrator) {
    std::istringstream lines(listing);
    std::string kept;
    for (std::string line; std::getline(lines, line);)
        if ((line.find("\tnarrator\t") != std::string::npos) == narrator) kept += line + "\n";
    return kept;
}

std::string ClipOf(const std::string& text) {
    char sjis[400];
    EXPECT_TRUE(Utf8ToSjis(text.c_str(), sjis, sizeof sjis)) << text;
    return kaSound::SpeechClipName(sjis);
}

// The speakers speak the prose line after each of their clips; speech is set without its
// last full stop, which the voice is given back. The narrator reads every line that has
// no voice clip of its own (a sound effect is no voice), the choices' options and
// prompts, and the phrases; a clip named by the line's CP932 text, which the game
// computes the same way. The voice list may give a reading; a list or phrase list that
// does not fit is refused at its line.
TEST(VoiceTool, ListsWhoSpeaksEachLineOrRefusesAListThatDoesNotFit) {
    std::filesystem::path dir = TestFolder("voice_");
    const std::string played = "wave_play:a.sad\nsize:24\nswave:\n湊「寒いな」\n"
                               "wave_play:b.sad\ncommand:1\nxxxx:選ぶ\n小夜「『切符を』と、駅員さんが？」\n"
                               "wave_play:c.sad\nまもなく「最終」が発車します:三番線\n";
    const std::string spoken = "a.sad\tminato\t寒いな。\nb.sad\tsayo\t『切符を』と、駅員さんが？\n"
                               "c.sad\tannounce\tまもなく「最終」が発車します:三番線\n";
    // A note for the tools between a clip and its line is not read, nor ends the step.
    const std::string narrated = "wave_play:a.sad\n#present 小夜\n湊「寒いな」\n地の文だ。\nwave_play:se_bell.sad\n"
                                 "鐘が鳴った。\ncommand:2\nxxxx:行く\nyyyy:残る\n「どうする？」\nlabel:xxxx\n地の文だ。\n";
    std::string narration;
    for (auto [text, words, line] : std::initializer_list<std::array<std::string, 3>>{
             {"ゲームを終了する", "ゲームを終了する", "4"}, {"もう少し続ける", "もう少し続ける", "5"},
             {"どうしますか？", "どうしますか？", "6"}, {"地の文だ。", "ちのぶんだ。", "10"},
             {"鐘が鳴った。", "鐘が鳴った。", "12"}, {"行く", "行く", "14"}, {"残る", "残る", "15"},
             {"「どうする？」", "「どうする？」", "16"}})
        narration += ClipOf(text) + "\tnarrator\t" + words + "\t" + (dir / "script.txt").string() + ":" + line + "\n";
    narration += "speech/menu_save_1.opus\tnarrator\tセーブ、１\t" + (dir / "phrases.txt").string() + ":2\n";
    const std::string reading = ClipOf("地の文だ。") + " narrator ちのぶんだ。\n", menu = "menu_save_1 セーブ、１\n";
    struct Case {
        std::string script, voices, phrases;
        bool narrator;         // the narrator's lines listed, or the speakers'
        std::string expected;  // those lines, or the refusal
    } cases[] = {
        {played, "# comment\na.sad minato\nb.sad sayo\n\nc.sad announce\n", "", false, spoken},
        {played + "wave_play:a.sad\n湊「寒いな」\n", "a.sad minato さむいな\nb.sad sayo\nc.sad minato\n", "", false,
         "a.sad\tminato\tさむいな\nb.sad\tsayo\t『切符を』と、駅員さんが？\nc.sad\tminato\tまもなく「最終」が発車します:三番線\n"},
        {played, "a.sad minato\nb.sad yoru\nc.sad minato\n", "", false, "voices.txt:2: unknown speaker"},
        {played, "a.sad minato\nb.sad sayo\n", "", false, "\"c.sad\" is played by the script but not listed"},
        {played, "a.sad minato\nb.sad sayo\nc.sad sayo\nd.sad sayo\n", "", false,
         "voices.txt:4: \"d.sad\" is never played"},
        {played + "wave_play:a.sad\n湊「暑いな」\n", "a.sad minato\nb.sad sayo\nc.sad sayo\n", "", false,
         "script.txt:17: \"a.sad\" is played before two different lines"},
        {played + "wave_play:d.sad\n", "a.sad minato\nb.sad sayo\nc.sad sayo\nd.sad sayo\n", "", false,
         "script.txt:17: no prose line follows"},
        {narrated, "a.sad minato\n" + reading, "# the menu\n" + menu, true, narration},
        {narrated, "a.sad minato\n" + ClipOf("雪") + " narrator ゆき\n", menu, true,
         "voices.txt:2: \"" + ClipOf("雪") + "\" is no narrated line's nor phrase's clip"},
        {narrated, "a.sad narrator\n", menu, true, "the narrator speaks the clips in speech/ and no others"},
        {narrated, "a.sad minato\n", "0123456789abcdef セーブ\n", true, "phrases.txt:1: \"0123456789abcdef\" is not an id"},
    };
    for (const Case& c : cases) {
        WriteFile(dir / "script.txt", Script(c.script));
        WriteFile(dir / "voices.txt", c.voices);
        WriteFile(dir / "phrases.txt", c.phrases.empty() ? "# none\n" : c.phrases);
        auto [code, out] = RunVoiceTool(dir, true);
        bool listing = c.expected.find('\t') != std::string::npos;
        EXPECT_EQ(code, listing ? 0 : 1) << out;
        if (listing) EXPECT_EQ(ListedFor(out, c.narrator), c.expected);
        else EXPECT_NE(out.find(c.expected), std::string::npos) << c.expected << " / " << out;
    }
}

// Only the clips whose words or voice changed are spoken again, the rest come from the
// cache; the narration's folder keeps this build's clips and no others; a word Open JTalk
// is known to misread stops the build until the line has its reading, cached or not.
TEST(VoiceTool, SpeaksAgainOnlyTheClipsWhoseWordsOrVoiceChanged) {
    std::filesystem::path dir = TestFolder("voice_");
    std::filesystem::create_directory(dir / "game");
    const std::string voices = "a.sad minato\nb.sad sayo\n";
    WriteFile(dir / "phrases.txt", "menu_return ゲームに戻る\n");
    WriteFile(dir / "readings.txt", "# word reading\n何の ナンノ\n");
    // The script's head has three lines the narrator reads, the phrase a fourth.
    struct Step {
        std::string script, voices, expected, narration;
    } steps[] = {
        {"wave_play:a.sad\n湊「寒いな」\n地の文\nwave_play:b.sad\n小夜「はい」\n", voices, "2 spoken, 0 from",
         "5 clips (4 lines, 1 phrases), 5 spoken, 0 from"},
        {"wave_play:a.sad\n湊「寒いな」\n地の文だ\nwave_play:b.sad\n小夜「いいえ」\n", voices, "1 spoken, 1 from",
         "5 clips (4 lines, 1 phrases), 1 spoken, 4 from"},
        {"wave_play:a.sad\n湊「寒いな」\n地の文だ\nwave_play:b.sad\n小夜「いいえ」\n",
         "a.sad announce\nb.sad sayo\n", "1 spoken, 1 from", "5 clips (4 lines, 1 phrases), 0 spoken, 5 from"},
    };
    for (const Step& s : steps) {
        WriteFile(dir / "script.txt", Script(s.script));
        WriteFile(dir / "voices.txt", s.voices);
        auto [code, out] = RunVoiceTool(dir, false);
        EXPECT_EQ(code, 0) << out;
        EXPECT_NE(out.find("voices: 2 clips, " + s.expected), std::string::npos) << s.expected << " / " << out;
        EXPECT_NE(out.find("narration: " + s.narration), std::string::npos) << s.narration << " / " << out;
    }
    const std::filesystem::directory_iterator speech(dir / "game" / "speech");
    EXPECT_EQ(std::distance(speech, std::filesystem::directory_iterator()), 5);
    EXPECT_FALSE(std::filesystem::exists(dir / "game" / ClipOf("地の文"))) << "edited away";
    WriteFile(dir / "script.txt", Script("wave_play:a.sad\n湊「寒いな」\nwave_play:b.sad\n小夜「何のために」\n"));
    for (int again = 0; again < 2; ++again) {
        auto [code, out] = RunVoiceTool(dir, false);
        EXPECT_EQ(code, 1) << out;
        EXPECT_NE(out.find("voices.txt:2: Open JTalk reads 何の as ナニノ, not ナンノ"), std::string::npos) << out;
    }
    WriteFile(dir / "voices.txt", "a.sad minato\nb.sad sayo なんのために。\n");
    EXPECT_EQ(RunVoiceTool(dir, false).first, 0);
}

// The key of a Japanese text in english.txt: the hex digits of its narration clip's name.
std::string KeyOf(const std::string& text) { return ClipOf(text).substr(7, 16); }

// The English of the script's head and of a body of one narrated line and one line of
// dialogue, and of a phrase.
std::string HeadEnglish() {
    return KeyOf("ゲームを終了する") + " Quit the game\n" + KeyOf("もう少し続ける") + " Stay a little longer\n" +
           KeyOf("どうしますか？") + " What will you do?\n";
}

// The English tool joins each line the reader sees to its English by the Japanese text,
// names what is missing or stale, and refuses an English that is not ASCII, a dialogue
// not set as dialogue, or a line that does not fit; a phrase needs its English too.
TEST(EnglishTool, JoinsByTheJapaneseTextAndRefusesWhatIsMissingStaleOrDoesNotFit) {
    std::filesystem::path dir = TestFolder("english_");
    WriteFile(dir / "script.txt", Script("wave_play:v.sad\n湊「寒いな」\n雪が降る。\n"));
    const std::string good = HeadEnglish() + KeyOf("湊「寒いな」") + " Minato: \"Cold.\"\n" + KeyOf("雪が降る。") +
                             " Snow falls.\n";
    WriteFile(dir / "phrases.txt", "menu_return ゲームに戻る\n");
    struct Case {
        std::string english, phrases, where;
    } cases[] = {
        {good, "menu_return Back to the game\n", ""},
        {HeadEnglish() + KeyOf("湊「寒いな」") + " Minato: \"Cold.\"\n", "menu_return Back\n",
         "script.txt:9: no English for 「雪が降る。」"},
        {good + KeyOf("雨が降る。") + " Rain falls.\n", "menu_return Back\n", "english.txt:6: stale"},
        {good, "", "phrases.txt:1: no English for the phrase menu_return"},
        {good, "menu_return Back\nmenu_gone Gone\n", "english_phrases.txt:2: stale"},
        {good + "0123 Short key\n", "menu_return Back\n", "english.txt:6: an entry is 16 hex digits"},
        {HeadEnglish() + KeyOf("湊「寒いな」") + " Minato: \"Cold.\"\n" + KeyOf("雪が降る。") + " Snow – falls.\n",
         "menu_return Back\n", "english.txt:5: the English must be printable ASCII"},
        {HeadEnglish() + KeyOf("湊「寒いな」") + " Cold, said Minato.\n" + KeyOf("雪が降る。") + " Snow falls.\n",
         "menu_return Back\n", "english.txt:4: dialogue is set as Minato"},
        {HeadEnglish() + KeyOf("湊「寒いな」") + " Minato: \"Cold.\"\n" + KeyOf("雪が降る。") + " " +
             "Snow falls and falls and falls over the platform, the rails, the roof and the lamp, all night long, "
             "and it does not stop until the morning comes, and then it falls again, softly, over everything "
             "the station ever was.\n",
         "menu_return Back\n", "english.txt:5: at size 28 the English needs 5 rows"},
        {good, "menu_return Back\n", ""},  // the table looked at below
    };
    for (const Case& c : cases) {
        WriteFile(dir / "english.txt", c.english);
        WriteFile(dir / "english_phrases.txt", c.phrases);
        std::filesystem::remove(dir / "table.cpp");
        int code = RunIn(dir, AKARI_ENGLISH_TOOL + Arg(dir / "script.txt") + Arg(dir / "english.txt") +
                                  Arg(dir / "phrases.txt") + Arg(dir / "english_phrases.txt") + Arg(dir / "table.cpp"));
        std::string errors = ReadFile(dir / "errors.txt");
        EXPECT_EQ(code, c.where.empty() ? 0 : 1) << c.where << "\n" << errors;
        EXPECT_NE(errors.find(c.where), std::string::npos) << c.where << "\n" << errors;
    }
    // The table holds each line's English, an option with its label.
    const std::string table = ReadFile(dir / "table.cpp");
    EXPECT_NE(table.find("\"_end:Quit the game\""), std::string::npos) << table;
    EXPECT_NE(table.find("\"Snow falls.\""), std::string::npos) << table;
}

// With the English edition, flite speaks the English of every narrated line and of every
// phrase into en/, named by the English text and the phrase's id; a line without English
// is refused. The glossary's readings are narrated as lines are.
TEST(VoiceTool, SpeaksTheEnglishNarrationIntoItsOwnFolder) {
    std::filesystem::path dir = TestFolder("voice_");
    std::filesystem::create_directory(dir / "game");
    WriteFile(dir / "script.txt", Script("wave_play:a.sad\n湊「寒いな」\n雪が降る。\n"));
    WriteFile(dir / "voices.txt", "a.sad minato\n");
    WriteFile(dir / "phrases.txt", "menu_return ゲームに戻る\n");
    WriteFile(dir / "readings.txt", "# none\n");
    WriteFile(dir / "english_phrases.txt", "menu_return Back to the game\n");
    WriteFile(dir / "words.txt", "ゆき\n");
    WriteFile(dir / "english.txt", HeadEnglish());
    auto [refused, complaint] = RunVoiceTool(dir, false, true);
    EXPECT_EQ(refused, 1);
    EXPECT_NE(complaint.find("script.txt:9: no English"), std::string::npos) << complaint;
    WriteFile(dir / "english.txt", HeadEnglish() + KeyOf("雪が降る。") + " Snow falls.\n");
    auto [code, out] = RunVoiceTool(dir, false, true);
    ASSERT_EQ(code, 0) << out;
    EXPECT_NE(out.find("English narration: 5 clips, 5 spoken"), std::string::npos) << out;
    for (const char* english : {"Snow falls.", "Quit the game", "What will you do?"})
        EXPECT_TRUE(std::filesystem::exists(dir / "game" / kaSound::SpeechClipName(english, true))) << english;
    EXPECT_TRUE(std::filesystem::exists(dir / "game" / "en" / "menu_return.opus"));
    EXPECT_TRUE(std::filesystem::exists(dir / "game" / ClipOf("ゆき")));
}

TEST(ScriptTool, ChecksTheStoryAgainstItsListsAndTheMessageWindow) {
    std::filesystem::path dir = ListsIn(
        "script_", {{"pictures.txt", "# file size keyed what\na.sad 2 - two bands\nw.sad w600 - wide\n"
                                     "k.sad 1 swave - keyed\n"},
                    {"picture_cast.txt", "a.sad place - snow\nw.sad sight - still\nk.sad memory - -\n"},
                    {"music.txt", "m.mid calm, 60 bpm, everywhere\n"},
                    {"voices.txt", "v_minato_001.sad minato\nv_sayo_001.sad sayo\nv_announce_001.sad announce\n"}});
    // Text lines 7 to 23; every entry of the lists used once.
    const std::string story =
        "file:a.sad\nsetscreen:1\nanime:1\nloopanime:2\nmidi_play:m.mid\nwave_play:v_minato_001.sad\n"
        "湊「一」\nfile:w.sad\nanime:100\nloopanime:4\nwave_play:v_sayo_001.sad\n小夜「二」\nfile:k.sad\n"
        "setscreen:0\nswave:\nwave_play:v_announce_001.sad\n「三」\n";
    auto Chars = [](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += "あ";
        return s;
    };
    const Change cases[] = {
        {"", "", ""},
        {"setscreen:1", "setscreen:2", "script.txt:8:"},
        {"anime:1\n", "anime:2\n", "script.txt:9:"},  // loop mode 2 shows band N too
        {"anime:100", "anime:101", "script.txt:15:"},
        {"file:k.sad", "file:a.sad", "script.txt:21:"},  // swave: on a picture not keyed for it
        {"file:k.sad", "file:x.sad", "script.txt:19:"},
        {"midi_play:m.mid", "midi_play:x.mid", "script.txt:11:"},
        {"midi_play:m.mid\n", "", "music.txt: m.mid is never used"},
        {"v_sayo_001", "v_minato_001", "script.txt:17: v_minato_001.sad is played twice"},
        {"湊「一」", "小夜「一」", "script.txt:13: spoken in the voice of minato"},
        {"湊「一」", "駅員「一」", "script.txt:13: a speaker with no voice"},
        {"湊「一」", "湊:一", "script.txt:13: a speaker's name and a colon"},
        {"湊「一」", "湊「一。」", "script.txt:13: a full stop before the closing 」"},
        {"wave_play:v_minato_001.sad\n", "", "script.txt:12: dialogue without"},
        {"「三」", "「" + Chars(54) + "」", "script.txt:23:"},
        {"「三」", "size:36\n" + Chars(33), "script.txt:24:"},
        {"「三」", Chars(24) + "？", "script.txt:23: row 2 of the message window begins with 「？」"},  // 24 fill a row
        {"「三」", "「三」\ncommand:1\n_end:" + Chars(16) + "\n問い", "script.txt:25:"},
        {"「三」", "「三」\ncommand:1\n_end:一\n" + Chars(23), "script.txt:26:"},
        {"file:a.sad", "switch:001,1,kabc\nfile:a.sad", "script.txt:7:"},
        // Loop modes 3 and 5 restart the last anime: at random on a later picture too.
        {"file:k.sad\n", "loopanime:3\nfile:k.sad\n", "script.txt:24: k.sad is shown while loop mode 3"},
    };
    for (const Change& c : cases) Verdict(dir, Changed(story, c), c.where);
}

// The pictures against who each scene has in view and whether snow falls, as the
// script's notes for the tools say (left out of the table, the refusals still name the
// text's lines): a place shows everyone in view, no picture shows someone not in view,
// a line's acting person is shown, the sky agrees; a picture reached through a switch:
// is checked as well as the one that falls through.
TEST(ScriptTool, ChecksThePicturesAgainstWhoTheScenesHaveInView) {
    std::filesystem::path dir =
        ListsIn("script_", {{"pictures.txt", "p.sad 1 - her place\ne.sad 1 - an empty place\nt.sad 1 - a thing close\n"},
                            {"picture_cast.txt", "p.sad place 小夜 snow\ne.sad place - still\nt.sad sight - -\n"}});
    // Text lines 7 to 16.
    const std::string story = "#present 小夜\n#sky snow\nfile:p.sad\n小夜は座っていた。\nfile:t.sad\n鐘が鳴った。\n"
                              "#present -\n#sky still\nfile:e.sad\n誰もいない。\n";
    const Change cases[] = {
        {"", "", ""},
        {"#present 小夜\n", "#present -\n", "script.txt:10: p.sad shows 小夜, whom the scene does not have in view"},
        {"#present 小夜\n", "#present 小夜 湊\n", "script.txt:10: p.sad does not show 湊, whom the scene has in view"},
        {"#sky snow", "#sky still", "script.txt:10: p.sad shows snow falling where the scene has it stopped"},
        {"鐘が鳴った。", "小夜は立った。", "script.txt:12: 小夜 acts in this line over t.sad"},
        {"file:e.sad\n", "file:p.sad\nswitch:001,1,wxyz\nfile:e.sad\nlabel:wxyz\n", "script.txt:19: p.sad shows 小夜"},
        {"#present 小夜\n", "#present 小夜子\n", "script.txt:7: #present names 小夜子"},
        {"#sky snow", "#sky rain", "script.txt:8: #sky is followed by snow or still"},
        {"鐘が鳴った。\n", "command:1\n_end:終える\n# why\n問い\n", "a note for the tools between a command: line"},
    };
    for (const Change& c : cases) Verdict(dir, Changed(story, c), c.where);
    WriteFile(dir / "picture_cast.txt", "p.sad place 小夜 snow\ne.sad place - still\n");
    Verdict(dir, Script(story), "picture_cast.txt: t.sad is not in it");
}

// Sound effects are listed apart from the voices: each wave_play: names a listed voice
// or effect; an effect plays before the voice of its step (the next step stops only the
// clip played last), may play again, and is no voice for the dialogue after it.
TEST(ScriptTool, KnowsTheSoundEffectsApartFromTheVoices) {
    std::filesystem::path dir =
        ListsIn("script_", {{"voices.txt", "v_minato_001.sad minato\n"}, {"effects.txt", "se_bell.sad a bell\n"}});
    const std::string story = "wave_play:se_bell.sad\nwave_play:v_minato_001.sad\n湊「一」\n"
                              "wave_play:se_bell.sad\n鐘が鳴った。\n";
    const Change cases[] = {
        {"wave_play:se_bell.sad\nwave_play:v_minato_001.sad", "wave_play:v_minato_001.sad\nwave_play:se_bell.sad",
         "script.txt:8: se_bell.sad plays after the voice of its step"},
        {"se_bell.sad\n鐘", "se_gong.sad\n鐘", "script.txt:10: se_gong.sad is not in effects.txt"},
        {"se_bell.sad\n鐘", "v_bell.sad\n鐘", "script.txt:10: v_bell.sad is not in voices.txt"},
        {"", "", ""},
    };
    for (const Change& c : cases) Verdict(dir, Changed(story, c), c.where);
    WriteFile(dir / "effects.txt", "se_bell.sad a bell\nse_gong.sad a gong\n");
    Verdict(dir, Script(story), "effects.txt: se_gong.sad is never used");
    WriteFile(dir / "effects.txt", "bell.sad a bell\n");
    Verdict(dir, Script(story), "effects.txt:1: an effect is named se_");
}

// The picture and music tools refuse an input they cannot make the game's files from,
// or make files that fail their checks, and write nothing.
TEST(ContentTools, RefuseWhatTheyCannotMakeAndWriteNothing) {
    std::filesystem::path dir = TestFolder("content_");
    const std::string pictures = AKARI_PICTURE_TOOL + Arg(dir / "input") + Arg(dir) + Arg(dir);
    const std::string music = AKARI_MUSIC_TOOL + Arg(dir) + Arg(dir / "input");
    struct Case {
        const std::string& command;
        const char *input, *says, *made;
    } cases[] = {
        {pictures, "sc01.sad 1 - fine\nnothing.sad 1 - a picture nobody drew\n", "nothing.sad has no drawing recipe",
         "sc01.sad"},
        {pictures, "sc01.sad two - bands not a number\n", ":1: bad band count", "sc01.sad"},
        {pictures, "sc01.sad 1 wave - a keyed column that is neither swave nor -\n", ":1: keyed is swave or -",
         "sc01.sad"},
        {pictures, "sc01.sad w300 - a panorama narrower than a band\n", ":1: a width is w500 or more", "sc01.sad"},
        {pictures, "sc01.sad 2 - a still picture listed as a strip of two bands\n",
         "sc01.sad: bands 0 and 1 differ by 0", "tit.sad"},
        {music, "RIFF", "input: not a SoundFont", "bgm01.mid"},
    };
    for (const Case& c : cases) {
        WriteFile(dir / "input", c.input);
        EXPECT_NE(RunIn(dir, c.command), 0) << c.input;
        std::string said = ReadFile(dir / "errors.txt");
        EXPECT_NE(said.find(c.says), std::string::npos) << c.input << said;
        EXPECT_FALSE(std::filesystem::exists(dir / c.made)) << c.input;
    }
}

}  // namespace
