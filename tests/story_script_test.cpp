// The interpreter's reading of script lines: keyword prefixes, fixed-width fields, the
// label search, jumps and the end of the script.
#include "tests/story_test_table.h"

using namespace storytest;

namespace {

class ScriptReading : public StoryTest {};

std::string Prose(const char* utf8) { return Sjis(utf8); }

TEST_F(ScriptReading, KeywordsAreRecognisedByTheirStemWithoutTheColon) {
    EXPECT_EQ(MatchKeyword("labelXabcd"), KwLabel);
    EXPECT_EQ(MatchKeyword("endX5"), KwEnd);
    EXPECT_EQ(MatchKeyword("end:99"), KwEnd);
    EXPECT_EQ(MatchKeyword("midi_stopped"), KwMidiStop);
    EXPECT_EQ(MatchKeyword("lab"), KwNone);
    EXPECT_EQ(MatchKeyword(Prose("駅員:こんばんは").c_str()), KwNone);
    // setscreen: is tested before setchar:, loopanime: before anime:.
    EXPECT_EQ(MatchKeyword("setscreen:3"), KwSetscreen);
    EXPECT_EQ(MatchKeyword("setchar:3"), KwSetchar);
    EXPECT_EQ(MatchKeyword("loopanime:3"), KwLoopanime);
}

TEST_F(ScriptReading, AnEndWithAnyFourthByteChangesTheModeAndALabelXIsSkipped) {
    SetScript({Head(0), Head(1), Head(2), Head(3), Head(4), Head(5), "labelXabcd",
               Prose("一行目"), "endX2", Prose("届かない")});
    StoryStep();
    EXPECT_EQ(CurrentLine, 7);
    StoryStep();
    EXPECT_EQ(GetGameMode(), 2);
    EXPECT_EQ(CurrentLine, 8);
    EXPECT_EQ(InputState.LeftClick, 0);
}

TEST_F(ScriptReading, FlagCommandsUseFixedWidthFields) {
    SetScript({Head(0), Head(1), Head(2), Head(3), Head(4), Head(5),
               "flg:001,7",          // flag 1 = 7
               "flg:1,7",            // index 1 from byte 4, value from byte 8 (past the end): 0
               "flg:003,1",
               "if:003,1,002,35",    // flag 3 is 1: flag 2 = 35
               "if:003,2,004,9",     // flag 3 is not 2: flag 4 stays 0
               "flg:005,2",
               "switch:005,2,15",    // flag 5 is 2: on at line 15, which is executed
               Prose("飛ばされる"),
               "flg:999,4",
               Prose("十五行目"),
               "switch:005,3,19",    // flag 5 is not 3: the next line
               Prose("十七行目")});
    StoryStep();
    EXPECT_EQ(CurrentLine, 15);
    EXPECT_EQ(FlagTable[1], 0);
    EXPECT_EQ(FlagTable[2], 35);
    EXPECT_EQ(FlagTable[3], 1);
    EXPECT_EQ(FlagTable[4], 0);
    EXPECT_EQ(FlagTable[5], 2);
    EXPECT_EQ(FlagTable[999], 0) << "line 14 was jumped over";
    StoryStep();
    EXPECT_EQ(CurrentLine, 17);
}

TEST_F(ScriptReading, FlgWithAShortIndexReadsItsValuePastTheLineEnd) {
    SetScript({Head(0), Head(1), Head(2), Head(3), Head(4), Head(5), "flg:001,7", Prose("文"),
               "flg:1,7", Prose("文")});
    StoryStep();
    EXPECT_EQ(FlagTable[1], 7);
    StoryStep();
    EXPECT_EQ(FlagTable[1], 0);
}

TEST_F(ScriptReading, FlagIndicesOutsideTheTableAreNeitherReadNorWritten) {
    SetScript({Head(0), Head(1), Head(2), Head(3), Head(4), Head(5), "flg:-01,7", "flg:1000,5",
               "if:-01,0,002,3", "switch:-05,0,2", Prose("文")});
    int32_t before[FlagCount];
    std::memcpy(before, FlagTable, sizeof before);
    StoryStep();
    EXPECT_EQ(std::memcmp(before, FlagTable, sizeof before), 0);
    EXPECT_EQ(CurrentLine, 10);
}

TEST_F(ScriptReading, AnEarlierLineSpellingTheLabelAtBytesSixToNineCapturesTheJump) {
    // Bytes 6 to 9 of "ABCDEFscn1" spell scn1.
    SetScript({Head(0), Head(1), Head(2), Head(3), Head(4), Head(5), "jump:scn1",
               Prose("飛ばされる"), "ABCDEFscn1", Prose("捕まえた側"), "label:scn1",
               Prose("ラベルの側")});
    EXPECT_EQ(FindLabel("scn1"), 8);
    StoryStep();
    // The jump lands on the capturing line, which is prose and is shown.
    EXPECT_EQ(CurrentLine, 8);
}

TEST_F(ScriptReading, AJumpToAMissingLabelStopsAtTheEndOfTheScript) {
    SetScript({Head(0), Head(1), Head(2), Head(3), Head(4), Head(5), "jump:none",
               Prose("飛ばされる")});
    EXPECT_EQ(FindLabel("none"), 8);
    StoryStep();
    EXPECT_EQ(CurrentLine, 8);
    EXPECT_EQ(GetGameMode(), ModeStory);
}

TEST_F(ScriptReading, SteppingOntoTheEmptyLineStopsThereAndGoesNoFurther) {
    SetScript({Head(0), Head(1), Head(2), Head(3), Head(4), Head(5), Prose("最後の行")});
    StoryStep();
    EXPECT_EQ(CurrentLine, 6);
    for (int i = 0; i < 5; ++i) StoryStep();
    EXPECT_EQ(CurrentLine, 7);
    EXPECT_EQ(GetGameMode(), ModeStory);
    // The system menu still opens from there.
    Frame(0.016f, false, true);
    EXPECT_EQ(GetGameMode(), ModeSystemMenu);
}

TEST_F(ScriptReading, AScriptFillingTheWholeTableNeverReadsPastItsLastLine) {
    std::memset(TestTable, 0, sizeof TestTable);
    for (int i = 0; i < ScriptLineCount; ++i) std::strcpy(TestTable[i], "speed:5");
    std::strcpy(TestTable[1497], "jump:zzzz");  // no such label and no empty line
    UseScriptTable(TestTable);
    StoryStep();
    EXPECT_EQ(CurrentLine, ScriptLineCount - 1);
    StoryStep();
    EXPECT_EQ(CurrentLine, ScriptLineCount - 1);
}

TEST_F(ScriptReading, ALabelDirectlyAfterALabelIsShownAsProse) {
    SetScript({Head(0), Head(1), Head(2), Head(3), Head(4), Head(5), "label:aaaa", "label:bbbb",
               Prose("文")});
    StoryStep();
    EXPECT_EQ(CurrentLine, 7);
}

TEST_F(ScriptReading, AScriptThatLoopsWithoutProseStillEndsItsStep) {
    SetScript({Head(0), Head(1), Head(2), Head(3), Head(4), Head(5), "label:loop", "jump:loop"});
    StoryStep();
    EXPECT_EQ(GetGameMode(), ModeStory);
}

}  // namespace

namespace {

// Pictures named by file: lines, copied from the game folder into the test's folder.
class ScenePictures : public StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        for (const char* name : {"sc0.sad", "sc1.sad"})
            std::filesystem::copy_file(std::filesystem::path(AKARI_GAME_DIR) / name, dir / name);
    }
};

TEST_F(ScenePictures, APictureIsReleasedOnceTheNextHasLoaded) {
    SetScript({Head(0), Head(1), Head(2), Head(3), Head(4), Head(5), "file:sc0.sad",
               Sjis("一"), "file:sc1.sad", Sjis("二"), "file:missing.sad", Sjis("三"),
               "file:sc0.sad", Sjis("四")});
    StoryStep();
    int first = BackgroundId;
    ASSERT_GE(first, 4);
    StoryStep();
    int second = BackgroundId;
    ASSERT_GE(second, 4);
    EXPECT_EQ(kaDraw::ObjectTable[first].surface, nullptr);
    EXPECT_NE(kaDraw::ObjectTable[second].surface, nullptr);
    // A load that fails gives 0 and releases nothing: the internal sprites stay.
    StoryStep();
    EXPECT_EQ(BackgroundId, 0);
    EXPECT_NE(kaDraw::ObjectTable[second].surface, nullptr);
    EXPECT_NE(kaDraw::ObjectTable[0].surface, nullptr);
    StoryStep();
    EXPECT_GE(BackgroundId, 4);
    EXPECT_NE(kaDraw::ObjectTable[0].surface, nullptr);
}

}  // namespace
