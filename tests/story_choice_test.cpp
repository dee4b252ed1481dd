// Choices, the quit prompt and the keys that stand in for a click.
#include <functional>

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

// Neither the click that opens the choice nor the one that takes the save notice away
// (which lies on option bbbb's row) picks an option; a click of the player's own does.
TEST_F(Choice, AChoiceTakesNoClickMeantForSomethingElse) {
    StoryStep();
    StepAt(RowX, Row1Y);
    EXPECT_EQ(CurrentScene().storyState, ChoiceOpen);
    EXPECT_EQ(CurrentScene().line, 6);
    Frame(0.016f, false, true);
    PointAt(180, 100);
    Frame(0.016f, true);
    ASSERT_EQ(MenuNoticeForTest(), MenuSaved);
    PointAt(RowX, Row1Y);
    Frame(0.016f, true);
    EXPECT_EQ(GetGameMode(), ModeStory);
    EXPECT_EQ(CurrentScene().storyState, ChoiceOpen) << "the notice's click took no option";
    StepAt(RowX, Row1Y);
    EXPECT_EQ(CurrentScene().line, 16) << "option bbbb taken, its label stepped past";
    int x = 0, y = 0;
    EXPECT_TRUE(TakePointerMove(&x, &y)) << "the main loop moves the pointer after the frame";
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(560, 170)) << "the pointer goes to the panel";
}

// The menu left by its return button while a choice is open: its text does not flash
// over the story.
TEST_F(Choice, NothingOfTheMenuStaysOnTheStoryScreen) {
    auto menuText = [] { return CountPixels(170, 50, 470, 88, 0xFFFFFF); };
    StoryStep();
    StoryStep();
    ASSERT_EQ(CurrentScene().storyState, ChoiceOpen);
    Frame(0.016f, false, true);
    ASSERT_GT(menuText(), 0);
    PointAt(400, 380);
    Frame(0.016f, true);
    EXPECT_EQ(GetGameMode(), ModeStory);
    EXPECT_EQ(menuText(), 0);
}

// Leaving the quit prompt or the menu leaves the line shown whole, its voice playing on.
// Over an open choice the choice's rows come first; the prompt's other option ends the game.
TEST_F(Choice, LeavingThePromptOrTheMenuKeepsTheLineAsItWas) {
    CopyAssets({"v_minato_001.sad"});
    SetScript({"wave_play:v_minato_001.sad", Sjis("声のある長めの行です"), Sjis("次の行"), "command:2",
               "aaaa:" + Sjis("左へ"), "bbbb:" + Sjis("右へ"), Sjis("どうしますか？"), "label:aaaa",
               Sjis("左の道"), "label:bbbb", Sjis("右の道"), "label:_end", "end:99"});
    auto menu = [this] { Frame(0.016f, false, true); };
    const struct {
        const char* what;
        std::function<void()> leave;
    } routes[] = {
        {"back by a click", [&] { ClickAt(580, 336), ClickAt(RowX, Row1Y); }},
        {"return by a click", [&] { menu(), ClickAt(330, 380); }},  // where quit lies under it too
        {"Backspace", [&] { menu(), PressAndHold(plat::KeyBackspace); }},
    };
    for (const auto& r : routes) {
        ResetStoryState();
        kaSound::ResetTable();
        SetGameMode(ModeStory);
        ClickAt(RowX, 300);
        Frame();
        const int voice = VoiceId;
        ASSERT_EQ(CurrentScene().line, 7);
        ASSERT_LT(RevealCount, MessageLayout().count) << "the line is coming out";
        r.leave();
        Frame();
        EXPECT_FALSE(QuitPromptOpen || SystemMenuOpen) << r.what;
        EXPECT_EQ(CurrentScene().line, 7) << r.what;
        EXPECT_EQ(LaidOutLine, 7) << r.what;
        EXPECT_GT(RevealCount, MessageLayout().count) << r.what << ": shown whole";
        EXPECT_EQ(VoiceId, voice) << r.what << ": not played again";
        EXPECT_GT(kaSound::SecondsLeft(voice), 0.0f) << r.what << ": its voice plays on";
    }
    ClickAt(RowX, 300);
    ClickAt(RowX, 300);
    ASSERT_EQ(CurrentScene().storyState, ChoiceOpen);
    ClickAt(580, 336);
    ClickAt(RowX, Row0Y);  // the story's choice is tested first
    EXPECT_EQ(CurrentScene().line, 13) << "its label";
    EXPECT_TRUE(QuitPromptOpen) << "the prompt stays open over the story";
    ClickAt(RowX, Row0Y);  // now _end
    EXPECT_EQ(GetGameMode(), ModeEnd);
}

// An ending that returns to the title (end:2) stops a reader skipping with Ctrl held:
// only a press leaves the title.
TEST_F(Choice, HeldCtrlSkipsToTheTitleAndStopsThere) {
    StoryStep();
    StoryStep();
    StepAt(RowX, Row0Y);
    ASSERT_EQ(CurrentScene().line, 12) << "option aaaa taken";
    headless::SetKeyDown(plat::KeyCtrl, true);
    for (int i = 0; i < 30; ++i) Frame();
    EXPECT_EQ(GetGameMode(), ModeTitle) << "the ending's end:2 reached";
    EXPECT_EQ(CurrentScene().line, 14);
    PointAt(RowX, 300);
    Frame(0.016f, true);
    EXPECT_EQ(GetGameMode(), ModeStory) << "a click while Ctrl is held leaves it";
    SetGameMode(ModeTitle);
    Frame();
    headless::SetKeyDown(plat::KeyCtrl, false);
    Frame();
    EXPECT_EQ(GetGameMode(), ModeTitle) << "nor does letting Ctrl go";
}

}  // namespace
