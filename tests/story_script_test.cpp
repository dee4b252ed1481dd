// The interpreter's reading of script lines: keyword prefixes, fixed-width fields, the
// label search, the end of the script, and what file: and wave_play: release.
#include "draw/text_engine.h"
#include "tests/story_test_table.h"

using namespace storytest;

namespace {

using ScriptReading = StoryTest;

TEST_F(ScriptReading, KeywordsMatchByPrefixInOrder) {
    EXPECT_EQ(MatchKeyword("midi_stopped"), KwMidiStop);
    EXPECT_EQ(MatchKeyword("lab"), KwNone);
    EXPECT_EQ(MatchKeyword("setscreen:3"), KwSetscreen);
    EXPECT_EQ(MatchKeyword("loopanime:3"), KwLoopanime);
    SetScript({"labelXabcd", Sjis("一行目"), "endX2", Sjis("届かない")});
    StoryStep();
    EXPECT_EQ(CurrentScene().line, 7) << "labelX skipped like label:";
    StoryStep();
    EXPECT_EQ(GetGameMode(), 2) << "endX ends like end:";
}

TEST_F(ScriptReading, FlagCommandsUseFixedWidthFieldsWithinTheTable) {
    SetScript({"flg:001,7", Sjis("文"),
               "flg:1,7",            // index 1 from byte 4, value from byte 8 (past the end): 0
               "flg:003,1",
               "if:003,1,002,35",    // flag 3 is 1: flag 2 = 35
               "if:003,2,004,9",     // flag 3 is not 2: flag 4 stays 0
               "flg:005,2",
               "switch:005,2,15",    // flag 5 is 2: on at line 15
               "flg:999,4", "flg:-01,7",
               // Flag 1000, one past the table, set to 0 (its value field holds the
               // comma) and compared with 0: were either done, flag 2 would become 3.
               "flg:1000,5", "if:1000,x002,3",
               "if:-01,0,002,3", "switch:-05,0,2", Sjis("二十行目")});
    StoryStep();
    EXPECT_EQ(FlagForTest(1), 7);
    StoryStep();
    EXPECT_EQ(CurrentScene().line, 20) << "indices outside 000 to 999 neither read nor written";
    EXPECT_EQ((std::vector<int>{FlagForTest(0), FlagForTest(1), FlagForTest(2), FlagForTest(3), FlagForTest(4), FlagForTest(5)}),
              (std::vector<int>{0, 0, 35, 1, 0, 2}));
    EXPECT_EQ(FlagForTest(999), 0) << "line 14 was jumped over";
}

TEST_F(ScriptReading, AnEarlierLineSpellingTheLabelCapturesTheJump) {
    SetScript({"jump:scn1", Sjis("飛ばされる"), "ABCDEFscn1", Sjis("捕まえた側"), "label:scn1"});
    StoryStep();
    EXPECT_EQ(CurrentScene().line, 8);
    EXPECT_EQ(FindLabel("none"), 11) << "a missing label is the ending empty line";
}

TEST_F(ScriptReading, LoadGoesOnAfterTheSavedLabelOrWithTheNextLine) {
    SetScript({"load:", Sjis("記録なし"), "save:mark", "load:", Sjis("飛ばされる"),
               "label:mark", Sjis("記録の後")});
    StoryStep();
    EXPECT_EQ(CurrentScene().line, 7) << "nothing recorded yet";
    StoryStep();
    EXPECT_EQ(CurrentScene().line, 12);
}

TEST_F(ScriptReading, TheStoryNeverStepsPastTheEndOfTheScript) {
    SetScript({Sjis("最後の行")});
    for (int i = 0; i < 6; ++i) StoryStep();
    EXPECT_EQ(CurrentScene().line, 7);
    Frame(0.016f, false, true);
    EXPECT_EQ(GetGameMode(), ModeSystemMenu) << "the menu still opens there";
    SetScript({"label:loop", "jump:loop"});
    SetGameMode(ModeStory);
    GoToLineForTest(5);
    StoryStep();
    EXPECT_EQ(GetGameMode(), ModeStory) << "a loop without prose still ends its step";
    for (int i = 0; i < ScriptLineCount; ++i) std::strcpy(TestTable[i], "speed:5");
    std::strcpy(TestTable[1497], "jump:zzzz");  // no such label and no empty line
    StoryStep();
    StoryStep();
    EXPECT_EQ(CurrentScene().line, ScriptLineCount - 1);
}

TEST_F(ScriptReading, APictureOrVoiceIsReleasedWhenTheNextIsAskedFor) {
    CopyAssets({"sc01.sad", "v_minato_001.sad", "v_sayo_001.sad"});
    SetScript({"file:sc01.sad", Sjis("一"), "file:missing.sad", Sjis("二")});
    StoryStep();
    int first = StoryPictureForTest();
    ASSERT_GT(first, kaDraw::FontBufferSprite);
    StoryStep();
    EXPECT_EQ(StoryPictureForTest(), 0) << "a failed load gives 0";
    EXPECT_EQ(kaDraw::ObjectTable[first].surface, nullptr) << "and the picture it replaced goes";
    EXPECT_EQ(VoiceId, -1) << "no clip before the first wave_play:";
    std::vector<std::string> body;
    for (int i = 0; i < 200; ++i)
        body.insert(body.end(), {i % 2 ? "wave_play:v_minato_001.sad" : "wave_play:v_sayo_001.sad", Sjis("声")});
    SetScript(body);
    GoToLineForTest(5);
    for (int i = 0, previous = -1; i < 200; ++i, previous = VoiceId) {
        StoryStep();
        ASSERT_GE(VoiceId, 0) << "clip " << i;
        EXPECT_TRUE(previous < 0 || previous == VoiceId || !kaSound::InUse(previous)) << i;
    }
}

TEST_F(ScriptReading, ASizeLineIsHeldToTheFontSizes) {
    struct Case {
        const char* size;
        int height;  // FontHeight of the layout: twice the size used
    } cases[] = {{"40", 80}, {"1073741824", 400}, {"0", 2}, {"-2147483648", 2}};
    for (const Case& c : cases) {
        SetScript({std::string("size:") + c.size, Sjis("大きさ")});
        GoToLineForTest(5);
        ForgetLayout();  // each case's step lays line 7 out anew
        StoryStep();
        EXPECT_EQ(kaDraw::FontRequest.height, c.height) << c.size;
    }
}

TEST_F(ScriptReading, BandsBeyondAnyPictureDrawNothing) {
    SetScript({"setscreen:2147483647", "setchar:-2147483648", Sjis("一")});
    StoryStep();
    kaDraw::PresentBackBuffer();
    ASSERT_NE(headless::LastFrame(), nullptr);
    EXPECT_EQ(headless::LastFrame()->Pixel(100, 100), 0u);
}

}  // namespace
