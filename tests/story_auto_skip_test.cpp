// Auto mode waits for the line, the voice and the pause, and ends at a choice. A line is
// read once all out or pressed past; the marks outlive a restart, not damage; S skips
// what was read and stops at the first unread line, a choice, or any input.
#include "tests/story_test_table.h"

using namespace storytest;

namespace {

class AutoSkip : public StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        CopyAssets({"v_minato_001.sad"});
    }
    void PressS() {
        InputState.SkipKey = 1;
        Frame(0.016f);
    }
    // The program closed and started again: the marks written and read back.
    void Restart() {
        EXPECT_TRUE(WriteReadMarks());
        ResetStoryState();
        LoadReadMarks();
        SetGameMode(ModeStory);
    }
    std::filesystem::path MarksFile() const { return dir / "read_marks.txt"; }
    // Frames of 50 ms until the story leaves line, at most limit of them; how many ran.
    int FramesOn(int line, int limit) {
        int n = 0;
        for (; CurrentScene().line == line && n < limit; ++n) Frame(0.05f);
        return n;
    }
};

TEST_F(AutoSkip, WaitsForTheLineTheVoiceAndAPauseThatGrowsWithTheLine) {
    SetScript({"wave_play:v_minato_001.sad", Sjis("十文字ある行です。。"), Sjis("短い"), Sjis("次")});
    Frame(0.016f, true);
    ASSERT_EQ(CurrentScene().line, 7);
    PressA();
    ASSERT_TRUE(AutoModeOnForTest());
    EXPECT_EQ(FramesOn(7, 100), 100) << "the voice has not ended (no audio pulled)";
    std::vector<float> out(2 * 10 * 44100);
    headless::PullAudio(out.data(), 10 * 44100);  // the clip plays out
    // 1 s + 10 x 50 ms of pause, counted from the first frame that sees the voice ended.
    EXPECT_NEAR(FramesOn(7, 100), 30, 1);
    EXPECT_EQ(CurrentScene().line, 8);
    EXPECT_TRUE(AutoModeOnForTest());
}

// The pointer rests on the panel's menu button while auto mode steps to the choice.
TEST_F(AutoSkip, StepsWithoutPressingWhatIsUnderThePointerAndStopsAtAChoice) {
    SetScript({Sjis("一"), "command:2", "aaaa:" + Sjis("甲"), "bbbb:" + Sjis("乙"), Sjis("選ぶ"),
               "label:aaaa", Sjis("甲の後")});
    Frame(0.016f, true);
    PressA();
    PointAt(570, 270);
    FramesOn(6, 60);
    EXPECT_EQ(CurrentScene().storyState, ChoiceOpen);
    EXPECT_EQ(GetGameMode(), ModeStory) << "the menu button was not pressed";
    EXPECT_FALSE(AutoModeOnForTest()) << "the choice ends auto mode";
    EXPECT_LT(AutoModeSecondsToStep(), 0.0f);
}

TEST_F(AutoSkip, AClickDoesWhatItAlwaysDoesAndEndsAutoMode) {
    SetScript({Sjis("一"), Sjis("二"), Sjis("三")});
    UseSystemSettings("0,0,");  // the line is out at once
    Frame(0.016f, true);
    PressA();
    Frame(0.5f);
    EXPECT_NEAR(AutoModeSecondsToStep(), 0.55f, 0.001f);
    Frame(0.016f, true);
    EXPECT_EQ(CurrentScene().line, 7) << "the click stepped once";
    EXPECT_FALSE(AutoModeOnForTest());
    EXPECT_EQ(FramesOn(7, 60), 60);
}

TEST_F(AutoSkip, ALineIsReadWhenAllOutOrPressedPastButNotWhenCtrlSkipsIt) {
    SetScript({Sjis("一行目です"), Sjis("二行目です"), Sjis("三行目です"), Sjis("四行目です")});
    Frame(0.016f, true);
    ASSERT_EQ(CurrentScene().line, 6);
    EXPECT_FALSE(LineWasRead(6)) << "not all out yet";
    for (int i = 0; i < 10; ++i) Frame(0.016f);
    EXPECT_TRUE(LineWasRead(6)) << "every character out";
    Frame(0.016f, true);
    Frame(0.016f, true);  // a press past line 7 before it is out
    EXPECT_EQ(CurrentScene().line, 8);
    EXPECT_TRUE(LineWasRead(7));
    SkipWithCtrl();
    EXPECT_EQ(CurrentScene().line, 9);
    EXPECT_FALSE(LineWasRead(8)) << "Ctrl skipped it unread";
}

TEST_F(AutoSkip, SkipRunsThroughReadLinesAndStopsAtTheFirstUnreadOneOrAnyInput) {
    SetScript({Sjis("一"), "wave_play:v_minato_001.sad", Sjis("二"), Sjis("三"), Sjis("四"),
               Sjis("五")});
    UseSystemSettings("0,0,");  // whole lines at once: each shown line is read
    for (int i = 0; i < 3; ++i) Click();
    ASSERT_EQ(CurrentScene().line, 9);  // 6, 8 and 9 read
    Restart();
    Frame(0.016f, true);
    ASSERT_EQ(CurrentScene().line, 6);
    PressS();
    EXPECT_TRUE(SkipModeRuns());
    EXPECT_EQ(CurrentScene().line, 8) << "one line a frame";
    EXPECT_EQ(kaSound::SecondsLeft(VoiceId), 0.0f) << "the skipped line's voice is stopped";
    Frame(0.016f);
    Frame(0.016f);
    EXPECT_EQ(CurrentScene().line, 10) << "9 was read, 10 was not";
    EXPECT_FALSE(SkipModeRuns());
    Frame(0.016f);
    EXPECT_EQ(CurrentScene().line, 10);

    // A click ends it (stepping once, as always), and so does any other key.
    for (bool click : {true, false}) {
        Restart();
        Frame(0.016f, true);
        PressS();
        InputState.OtherKey = !click;
        Frame(0.016f, click);
        EXPECT_FALSE(SkipModeRuns()) << click;
        EXPECT_EQ(CurrentScene().line, click ? 9 : 8) << click;
    }
    PressS();
    PressS();
    EXPECT_FALSE(SkipModeRuns()) << "S toggles";
}

TEST_F(AutoSkip, SkipStopsAtAChoiceAndSkipsEverythingWhenThePreferencesSaySo) {
    SetScript({Sjis("一"), Sjis("二"), Sjis("三"), "command:2", "aaaa:" + Sjis("甲"),
               "bbbb:" + Sjis("乙"), Sjis("選ぶ"), "label:aaaa", Sjis("甲の後")});
    Frame(0.016f, true);
    PressS();
    EXPECT_FALSE(SkipModeRuns()) << "line 6 is not read";
    EXPECT_EQ(CurrentScene().line, 6);
    Preferences.SkipEverything = true;
    PointAt(100, 150);  // over the first option: skip takes none
    PressS();
    for (int i = 0; i < 5; ++i) Frame(0.016f);
    EXPECT_EQ(CurrentScene().storyState, ChoiceOpen);
    EXPECT_FALSE(SkipModeRuns());
    EXPECT_FALSE(LineWasRead(7)) << "skipping everything reads nothing";
}

TEST_F(AutoSkip, MarksSurviveARestartAndADamagedOrForeignFileHoldsNone) {
    SetScript({Sjis("一"), Sjis("二"), Sjis("三")});
    UseSystemSettings("0,0,");
    Frame(0.016f, true);
    Frame(0.016f, true);
    Restart();
    EXPECT_TRUE(LineWasRead(6));
    EXPECT_TRUE(LineWasRead(7));
    EXPECT_FALSE(LineWasRead(8));
    const std::string good = ReadFile(MarksFile());
    ASSERT_FALSE(good.empty());

    std::string flipped = good;
    flipped[flipped.size() - 10] = 'x';
    const std::string damaged[] = {good.substr(0, good.size() - 5), flipped, good + "1",
                                   "", std::string(good.size(), '1')};
    for (const std::string& bytes : damaged) {
        WriteFile(MarksFile(), bytes);
        LoadReadMarks();
        EXPECT_FALSE(LineWasRead(6)) << bytes.size();
        EXPECT_FALSE(LineWasRead(7)) << bytes.size();
    }
    EXPECT_TRUE(headless::MessageBoxes().empty()) << "no box for a file of ours";

    WriteFile(MarksFile(), good);
    SetScript({Sjis("一"), Sjis("二が変わった"), Sjis("三")});
    LoadReadMarks();
    EXPECT_FALSE(LineWasRead(6)) << "marks made against another script";
    SetScript({Sjis("一"), Sjis("二"), Sjis("三")});
    LoadReadMarks();
    EXPECT_TRUE(LineWasRead(7));
}

}  // namespace
