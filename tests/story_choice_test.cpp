// Choices, the quit prompt and the keys that stand in for a click.
#include "tests/story_test_table.h"

using namespace storytest;

namespace {

class Choice : public StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        SetScript({Sjis("選ぶ前"), "command:2", "aaaa:" + Sjis("左へ"), "bbbb:" + Sjis("右へ"),
                   Sjis("どうしますか？"), "label:aaaa", Sjis("左の道"), Sjis("続き"), "end:2", "label:bbbb",
                   Sjis("右の道"), "label:_end", "end:99"});
        PointAt(RowX, 300);
    }
    static constexpr int Row0Y = 160, Row1Y = 200, RowX = 300;
    void StepAt(int x, int y) {
        PointAt(x, y);
        StoryStep();
    }
};

TEST_F(Choice, TheClickThatOpensAChoiceTakesTheOptionUnderThePointer) {
    StoryStep();
    StepAt(RowX, Row1Y);
    EXPECT_EQ(CurrentLine, 16) << "option bbbb taken in the same frame, its label stepped past";
    int x = 0, y = 0;
    headless::LastWarp(&x, &y);
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(560, 170)) << "the pointer goes to the panel";
}

TEST_F(Choice, QuitPromptBackStepsOnAndEndQuits) {
    StoryStep();
    StepAt(580, 336);  // the quit button
    StepAt(580, 100);
    EXPECT_EQ(QuitPromptOpen, 1);
    EXPECT_EQ(CurrentLine, 6) << "no step from the button nor while the prompt is open";
    StepAt(RowX, Row1Y);  // back
    EXPECT_EQ(QuitPromptOpen, 0);
    EXPECT_EQ(StoryState, ChoiceOpen) << "back made one ordinary step, onto the choice";
    StepAt(580, 336);
    StepAt(RowX, Row0Y);  // the story's choice is tested first
    EXPECT_EQ(CurrentLine, 11);
    EXPECT_EQ(QuitPromptOpen, 1) << "the prompt stays open over the story";
    StepAt(RowX, Row0Y);  // now _end
    EXPECT_EQ(GetGameMode(), ModeEnd);
}

TEST_F(Choice, CtrlHeldStepsEveryFrameFromItsSecond) {
    headless::SetKeyDown(plat::KeyCtrl, true);
    Frame();
    EXPECT_EQ(CurrentLine, 5) << "a press of one frame does nothing";
    Frame();
    EXPECT_EQ(CurrentLine, 6);
    for (int i = 0; i < 5; ++i) Frame();
    EXPECT_EQ(StoryState, ChoiceOpen) << "the choice waits for an option row";
    PointAt(RowX, Row0Y);
    Frame();
    EXPECT_EQ(CurrentLine, 12);
}

TEST_F(Choice, ReturnStepsOncePerPressAndSwallowsClicksWhileHeld) {
    Frame();
    headless::SetKeyDown(plat::KeyReturn, true);
    Frame();
    Frame();
    Frame(0.016f, true);
    EXPECT_EQ(StoryState, ShowingProse) << "one step per press; clicks while held are lost";
    headless::SetKeyDown(plat::KeyReturn, false);
    Frame(0.016f, true);  // and in the frame of its release
    EXPECT_EQ(StoryState, ShowingProse);
    Frame(0.016f, true);
    EXPECT_EQ(StoryState, ChoiceOpen);
}

}  // namespace
