// Auto mode: it waits for the whole line, the voice and the pause, steps without
// pressing what lies under the pointer, and ends at a choice or on a click.
#include "tests/story_test_table.h"

using namespace storytest;

namespace {

class Auto : public StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        CopyAssets({"v_minato_001.sad"});
    }
    void PressA() {
        InputState.AutoKey = 1;
        Frame(0.0f);
        InputState.AutoKey = 0;
    }
    // Frames of 50 ms until the story leaves line, at most limit of them; how many ran.
    int FramesOn(int line, int limit) {
        int n = 0;
        for (; CurrentLine == line && n < limit; ++n) Frame(0.05f);
        return n;
    }
};

TEST_F(Auto, WaitsForTheLineTheVoiceAndAPauseThatGrowsWithTheLine) {
    SetScript({"wave_play:v_minato_001.sad", Sjis("十文字ある行です。。"), Sjis("短い"), Sjis("次")});
    Frame(0.016f, true);
    ASSERT_EQ(CurrentLine, 7);
    PressA();
    ASSERT_TRUE(AutoModeOnForTest());
    EXPECT_EQ(FramesOn(7, 100), 100) << "the voice has not ended (no audio pulled)";
    std::vector<float> out(2 * 10 * 44100);
    headless::PullAudio(out.data(), 10 * 44100);  // the clip plays out
    // 1 s + 10 x 50 ms of pause, counted from the first frame that sees the voice ended.
    EXPECT_NEAR(FramesOn(7, 100), 30, 1);
    EXPECT_EQ(CurrentLine, 8);
    EXPECT_TRUE(AutoModeOnForTest());
    // At speed 5 two characters take three frames to come out, then 1.1 s of pause.
    UseSystemSettings("5,0,");
    Frame(0.0f);
    EXPECT_NEAR(FramesOn(8, 100), 3 + 22, 1);
    EXPECT_FLOAT_EQ(AutoPause(8), 1.1f);
}

TEST_F(Auto, StepsWithoutPressingWhatIsUnderThePointerAndStopsAtAChoice) {
    struct Case {
        int x, y;
        const char* under;
    } cases[] = {{570, 270, "menu button"}, {580, 336, "quit button"}, {100, 150, "first option"}};
    for (const Case& c : cases) {
        SetScript({Sjis("一"), "command:2", "aaaa:" + Sjis("甲"), "bbbb:" + Sjis("乙"),
                   Sjis("選ぶ"), "label:aaaa", Sjis("甲の後")});
        ResetStoryState();
        Frame(0.016f, true);
        PressA();
        PointAt(c.x, c.y);
        FramesOn(6, 60);
        EXPECT_EQ(StoryState, ChoiceOpen) << c.under;
        EXPECT_EQ(GetGameMode(), ModeStory) << c.under;
        EXPECT_FALSE(QuitPromptOpen) << c.under;
        EXPECT_FALSE(AutoModeOnForTest()) << "the choice ends auto mode; " << c.under;
        EXPECT_LT(AutoModeSecondsToStep(), 0.0f);
        PointAt(0, 0);
    }
}

TEST_F(Auto, AClickDoesWhatItAlwaysDoesAndEndsAutoMode) {
    SetScript({Sjis("一"), Sjis("二"), Sjis("三")});
    UseSystemSettings("0,0,");  // the line is out at once
    Frame(0.016f, true);
    PressA();
    Frame(0.5f);
    EXPECT_NEAR(AutoModeSecondsToStep(), 0.55f, 0.001f);
    Frame(0.016f, true);
    EXPECT_EQ(CurrentLine, 7) << "the click stepped once";
    EXPECT_FALSE(AutoModeOnForTest());
    EXPECT_EQ(FramesOn(7, 60), 60);
    PressA();
    PressA();
    EXPECT_FALSE(AutoModeOnForTest()) << "A toggles";
}

}  // namespace
