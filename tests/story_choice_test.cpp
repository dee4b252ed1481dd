// Choices, the quit prompt and the panel's buttons on the story screen.
#include "tests/story_test_table.h"

using namespace storytest;

namespace {

class Choice : public StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        SetScript({Head(0), Head(1), Head(2), Head(3), Head(4), Head(5),
                   Sjis("選ぶ前"),              // 6
                   "command:2",                 // 7
                   "aaaa:" + Sjis("左へ"),      // 8
                   "bbbb:" + Sjis("右へ"),      // 9
                   Sjis("どうしますか？"),      // 10
                   "label:aaaa",                // 11
                   Sjis("左の道"),              // 12
                   "end:2",                     // 13
                   "label:bbbb",                // 14
                   Sjis("右の道"),              // 15
                   "label:_end",                // 16
                   "end:99"});                  // 17
    }
    static constexpr int Row0Y = 160, Row1Y = 200, RowX = 300;
};

TEST_F(Choice, TheClickThatOpensAChoiceTakesTheOptionUnderThePointer) {
    StoryStep();
    ASSERT_EQ(CurrentLine, 6);
    PointAt(RowX, Row1Y);
    StoryStep();
    EXPECT_EQ(CurrentLine, 15) << "option bbbb taken in the same frame, its label stepped past";
    EXPECT_EQ(StoryState, ShowingProse);
    EXPECT_EQ(InputState.MouseY, 5);
    int x = 0, y = 0;
    headless::LastWarp(&x, &y);
    EXPECT_EQ(x, 560);
    EXPECT_EQ(y, 170);
}

TEST_F(Choice, AChoiceWaitsForAClickOnAnOptionRow) {
    StoryStep();
    PointAt(RowX, 300);
    StoryStep();
    EXPECT_EQ(StoryState, ChoiceOpen);
    EXPECT_EQ(CurrentLine, 6) << "an open choice sits one line before its command";
    StoryStep();
    StoryStep();
    EXPECT_EQ(CurrentLine, 6);
    PointAt(60, Row0Y);  // left of the rows
    StoryStep();
    EXPECT_EQ(StoryState, ChoiceOpen);
    PointAt(RowX, Row0Y);
    StoryStep();
    EXPECT_EQ(CurrentLine, 12);
    StoryStep();
    EXPECT_EQ(GetGameMode(), 2);
}

TEST_F(Choice, CtrlHeldRunsToTheChoiceButDoesNotChoose) {
    PointAt(RowX, 300);
    headless::SetKeyDown(plat::KeyCtrl, true);
    for (int i = 0; i < 10; ++i) Frame();
    EXPECT_EQ(StoryState, ChoiceOpen);
    PointAt(RowX, Row0Y);
    Frame();
    EXPECT_EQ(CurrentLine, 12);
}

TEST_F(Choice, QuitPromptBackStepsOnAndEndQuits) {
    StoryStep();
    PointAt(580, 336);  // the quit button
    StoryStep();
    EXPECT_EQ(QuitPromptOpen, 1);
    EXPECT_EQ(CurrentLine, 6) << "the click on the quit button makes no step";
    PointAt(580, 100);
    StoryStep();
    EXPECT_EQ(CurrentLine, 6) << "no step while the prompt is open";
    PointAt(RowX, Row1Y);  // back
    StoryStep();
    EXPECT_EQ(QuitPromptOpen, 0);
    EXPECT_EQ(StoryState, ChoiceOpen) << "back made one ordinary step, onto the choice";
    PointAt(580, 336);
    StoryStep();
    PointAt(RowX, Row0Y);  // the story choice is tested first
    StoryStep();
    EXPECT_EQ(CurrentLine, 11) << "the option's label; the open prompt holds the step back";
    EXPECT_EQ(StoryState, ShowingProse);
    EXPECT_EQ(QuitPromptOpen, 1) << "the quit prompt is still open over the story";
    PointAt(RowX, Row0Y);  // now _end
    StoryStep();
    EXPECT_EQ(GetGameMode(), ModeEnd);
    EXPECT_EQ(CurrentLine, 17);
}

TEST_F(Choice, TheMenuButtonOpensTheSystemMenuInTheNextFrame) {
    StoryStep();
    PointAt(560, 270);
    InputState.LeftClick = 1;
    Frame();
    EXPECT_EQ(SystemMenuOpen, 1);
    EXPECT_EQ(GetGameMode(), ModeStory);
    EXPECT_EQ(CurrentLine, 6);
    Frame();
    EXPECT_EQ(GetGameMode(), ModeSystemMenu);
}

}  // namespace
