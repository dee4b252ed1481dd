// The game modes before the story and the keys that stand in for a click.
#include "tests/story_test_table.h"

using namespace storytest;

namespace {

class Modes : public StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        SetScript({Head(0), Head(1), Head(2), Head(3), Head(4), Head(5), Sjis("一"), Sjis("二"),
                   Sjis("三"), Sjis("四"), Sjis("五"), Sjis("六"), Sjis("七"), Sjis("八")});
    }
};

TEST_F(Modes, TheLogoTakesTwentyFiveStepsThenShowsTheNotice) {
    SetGameMode(ModeLogo);
    std::vector<int> levels;
    int frames = 0;
    while (GetGameMode() == ModeLogo && frames < 1000) {
        int before = LogoLevel;
        float clock = LogoClock;
        InputState.LeftClick = 1;  // clicks do not hurry the logo
        Frame(0.2f);
        if (clock + 0.2f * 8.0f > 1.0f) levels.push_back(before);
        ++frames;
    }
    std::vector<int> expected = {6, 5, 4, 3, 2, 1};
    for (int level = 1; level <= 19; ++level) expected.push_back(level);
    EXPECT_EQ(levels, expected);
    EXPECT_EQ(GetGameMode(), ModeNotice);
    EXPECT_EQ(LogoLevel, 6);
    EXPECT_FLOAT_EQ(LogoClock, 3.0f);
}

TEST_F(Modes, TheLogoStepsAtMostEveryEighthOfASecond) {
    SetGameMode(ModeLogo);
    Frame(0.0f);  // the clock starts at 3: a step at once
    EXPECT_EQ(LogoLevel, 5);
    Frame(0.1f);  // 0.8: no step
    EXPECT_EQ(LogoLevel, 5);
    Frame(0.1f);  // 1.6: a step
    EXPECT_EQ(LogoLevel, 4);
    EXPECT_EQ(GetCursorVisible(), 0);
}

TEST_F(Modes, NoticeAndTitleEachTakeAClickAndTheTitlesClickIsTheFirstStep) {
    SetGameMode(ModeNotice);
    Frame();
    EXPECT_EQ(GetGameMode(), ModeNotice);
    EXPECT_EQ(GetCursorVisible(), 1);
    Frame(0.016f, true);
    EXPECT_EQ(GetGameMode(), ModeTitle) << "the notice's click is used up";
    Frame(0.016f, false, true);
    EXPECT_EQ(GetGameMode(), ModeTitle) << "a right click on the title does nothing";
    Frame(0.016f, true);
    EXPECT_EQ(GetGameMode(), ModeStory);
    EXPECT_EQ(CurrentLine, 6);
}

TEST_F(Modes, ReturnStepsOncePerPressAndSwallowsClicksWhileHeld) {
    Frame();
    EXPECT_EQ(CurrentLine, 5);
    headless::SetKeyDown(plat::KeyReturn, true);
    Frame();
    EXPECT_EQ(CurrentLine, 6);
    Frame();
    Frame(0.016f, true);  // a click while Return is held is lost
    EXPECT_EQ(CurrentLine, 6);
    headless::SetKeyDown(plat::KeyReturn, false);
    Frame(0.016f, true);  // and in the frame of its release
    EXPECT_EQ(CurrentLine, 6);
    Frame(0.016f, true);
    EXPECT_EQ(CurrentLine, 7);
}

TEST_F(Modes, CtrlHeldStepsEveryFrameFromItsSecondFrame) {
    headless::SetKeyDown(plat::KeyCtrl, true);
    Frame();
    EXPECT_EQ(CurrentLine, 5);
    Frame();
    EXPECT_EQ(CurrentLine, 6);
    Frame();
    Frame();
    EXPECT_EQ(CurrentLine, 8);
    headless::SetKeyDown(plat::KeyCtrl, false);
    Frame();
    EXPECT_EQ(CurrentLine, 8);
    // A press of a single frame does nothing.
    headless::SetKeyDown(plat::KeyCtrl, true);
    Frame();
    headless::SetKeyDown(plat::KeyCtrl, false);
    Frame();
    Frame();
    EXPECT_EQ(CurrentLine, 8);
}

}  // namespace
