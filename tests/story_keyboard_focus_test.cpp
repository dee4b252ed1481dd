// The keyboard's focus: the order the arrows and Tab walk in each screen, the pointer put
// on the focused item, Return and Space clicking there, and Page Up opening the backlog.
#include <utility>

#include "tests/story_test_table.h"

using namespace storytest;

namespace {

// The keys that walk the focus, short for the walks below.
constexpr plat::Key Up = plat::KeyUp, Down = plat::KeyDown, Left = plat::KeyLeft,
                    Right = plat::KeyRight, Tab = plat::KeyTab, BackTab = plat::KeyShiftTab;

class Focus : public StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        UseSystemSettings("0,0,");  // every line out at once
    }
    // The choice of two after one line, each option to a line of its own.
    void UseChoiceScript() {
        SetScript({Sjis("選ぶ前"), "command:2", "aaaa:" + Sjis("左へ"), "bbbb:" + Sjis("右へ"),
                   Sjis("どうしますか？"), "label:aaaa", Sjis("左の道"), "end:2", "label:bbbb",
                   Sjis("右の道"), "end:2"});
    }
    // The pointer, in the game and on the screen, lies on area.
    static bool PointerOn(const layout::Rect& area) {
        int wx = -1, wy = -1;
        headless::LastWarp(&wx, &wy);
        return PointerIn(area) && wx == InputState.MouseX && wy == InputState.MouseY;
    }
    struct Step {
        plat::Key key;
        int item;           // the focus after the key
        layout::Rect area;  // where the pointer is then
    };
    void Walk(const std::vector<Step>& steps) {
        for (size_t i = 0; i < steps.size(); ++i) {
            Press(steps[i].key);
            EXPECT_EQ(KeyboardFocusForTest(), steps[i].item) << "key " << i;
            EXPECT_TRUE(PointerOn(steps[i].area)) << "key " << i;
        }
    }
};

TEST_F(Focus, WalksThePanelAChoiceAndTheQuitPromptInOrder) {
    UseChoiceScript();
    Frame(0.016f, true);
    ASSERT_EQ(CurrentScene().line, 6);
    EXPECT_EQ(KeyboardFocusForTest(), -1) << "nothing focused until a key";
    const layout::Rect menu = layout::MenuButton, quit = layout::QuitButton;
    Walk({{Down, 0, menu}, {Down, 1, quit}, {Down, 1, quit}, {Up, 0, menu},
          {Up, 0, menu}, {BackTab, 1, quit}, {Tab, 0, menu}, {Right, 0, menu}});
    PointAt(300, 300);  // the mouse takes the pointer away, and the focus with it
    Frame();
    EXPECT_EQ(KeyboardFocusForTest(), -1);
    Walk({{Up, 1, quit}});

    PointAt(300, 300);
    Frame(0.016f, true);
    ASSERT_EQ(CurrentScene().storyState, ChoiceOpen);
    EXPECT_EQ(KeyboardFocusForTest(), -1) << "a choice opening takes the focus away";
    const layout::Rect row0 = layout::ChoiceRowHit(0), row1 = layout::ChoiceRowHit(1);
    Walk({{Down, 0, row0}, {Down, 1, row1}, {Down, 2, menu}, {Down, 3, quit},
          {Tab, 0, row0}, {BackTab, 3, quit}, {Up, 2, menu}});

    ClickOn(quit);
    Frame();
    ASSERT_TRUE(QuitPromptOpen);
    Walk({{Up, 1, row1}, {Up, 0, row0}, {Down, 1, row1},
          {Down, 1, row1} /* the panel answers nothing under the prompt */, {Tab, 0, row0}});
}

TEST_F(Focus, AStepTakesTheFocusAwayAndReturnStepsAgain) {
    SetScript({Sjis("一"), Sjis("二"), Sjis("三"), Sjis("四")});
    Frame(0.016f, true);
    Press(plat::KeyDown);
    ASSERT_EQ(KeyboardFocusForTest(), 0);
    Press(plat::KeyA);  // auto mode steps once the line's pause is over
    for (int i = 0; i < 40 && CurrentScene().line == 6; ++i) Frame(0.1f);
    ASSERT_EQ(CurrentScene().line, 7);
    Frame();
    EXPECT_EQ(KeyboardFocusForTest(), -1) << "the step took the focus away";
    EXPECT_TRUE(PointerOn({layout::PointerAfterChoice.x - 1, layout::PointerAfterChoice.y - 1,
                           layout::PointerAfterChoice.x + 1, layout::PointerAfterChoice.y + 1}))
        << "the pointer left the panel's button";
    Press(plat::KeyA);  // auto mode off
    int line = CurrentScene().line;
    PressAndHold(plat::KeyReturn);
    EXPECT_EQ(GetGameMode(), ModeStory);
    EXPECT_EQ(CurrentScene().line, line + 1) << "nothing focused: Return steps";
    Press(plat::KeySpace);
    EXPECT_EQ(CurrentScene().line, line + 2) << "Space steps as Return does";
    Press(plat::KeyTab);
    Press(plat::KeyTab);
    ASSERT_TRUE(PointerOn(layout::QuitButton));
    Press(plat::KeySpace);
    EXPECT_TRUE(QuitPromptOpen) << "Space on the quit button opens the prompt";
    EXPECT_EQ(CurrentScene().line, line + 2);
}

TEST_F(Focus, WalksTheMenuByRowsAndSavesByReturnAsAClickDoes) {
    SetScript({Sjis("一"), Sjis("二")});
    Frame(0.016f, true);
    Frame(0.016f, false, true);
    ASSERT_EQ(GetGameMode(), ModeSystemMenu);
    auto save = [](int n) { return layout::SaveRow.Button(n); };
    const layout::Rect quit = layout::QuitGameButton, back = layout::ReturnButton;
    Walk({{Right, 0, save(0)}, {Right, 1, save(1)}, {Right, 2, save(2)},
          {Right, 3, save(3)}, {Right, 4, save(4)}, {Right, 4, save(4)},
          {Down, 9, layout::LoadRow.Button(4)}, {Down, 14, layout::SpeedRow.Button(4)},
          {Right, 15, layout::SpeedRow.Button(5)}, {Down, 17, layout::MusicRow.Button(1)},
          {Left, 16, layout::MusicRow.Button(0)}, {Down, 18, quit}, {Right, 19, back},
          {Down, 19, back}, {Tab, 0, save(0)}, {BackTab, 19, back},
          {Up, 17, layout::MusicRow.Button(1)}, {Up, 11, layout::SpeedRow.Button(1)},
          {Up, 6, layout::LoadRow.Button(1)}, {Up, 1, save(1)}, {Up, 1, save(1)}});

    PressAndHold(plat::KeyReturn);
    EXPECT_EQ(MenuNoticeForTest(), MenuSaved);
    const std::string byKeys = ReadFile(dir / "z_save1.sdt");
    EXPECT_EQ(byKeys, "01,040,001,001,001,6\r\n");
    Press(plat::KeyBackspace);

    Frame(0.016f, false, true);
    ClickOn(save(1));
    Frame();
    EXPECT_EQ(ReadFile(dir / "z_save1.sdt"), byKeys) << "a click writes the same";
    Press(plat::KeyDown);
    EXPECT_EQ(KeyboardFocusForTest(), -1) << "no focus on a notice";
    PressAndHold(plat::KeyReturn);
    EXPECT_EQ(GetGameMode(), ModeStory) << "Return closes the notice as a click does";
    EXPECT_EQ(CurrentScene().line, 7) << "and steps";
}

TEST_F(Focus, PageUpOpensTheBacklogAndTheKeysWalkItsLines) {
    std::vector<std::string> body;
    for (int i = 0; i < 42; ++i) body.push_back(Sjis("行") + std::to_string(i));
    SetScript(body);
    for (int i = 0; i < 42; ++i) Frame(0.016f, true);
    ASSERT_EQ(BacklogCount(), 42);
    Press(plat::KeyPageUp);
    ASSERT_TRUE(BacklogOpen) << "Page Up opens the backlog";
    EXPECT_EQ(KeyboardFocusForTest(), -1);
    const layout::Rect page = layout::BacklogPage;
    const layout::Rect foot = {0, page.bottom - 40, 640, page.bottom + 10};
    Walk({{Down, 41, foot}, {Down, 41, foot}, {Up, 40, {0, page.top, 640, page.bottom}}});
    for (int i = 0; i < 40; ++i) Press(plat::KeyUp);
    EXPECT_EQ(KeyboardFocusForTest(), 0) << "up to the oldest line";
    EXPECT_TRUE(PointerOn({0, page.top - 5, 640, page.bottom})) << "scrolled onto the page";
    EXPECT_EQ(CurrentScene().line, 47) << "the story did not step";
    Press(plat::KeyBackspace);

    SetGameMode(ModeTitle);
    Press(plat::KeyPageUp);
    EXPECT_FALSE(BacklogOpen) << "only over the story";
}

TEST_F(Focus, WalksThePreferencesRowsAndReturnClosesOnTheCloseButton) {
    SetScript({Sjis("一"), Sjis("二")});
    Frame(0.016f, true);
    Press(plat::KeyF1);
    ASSERT_TRUE(PreferencesOpen);
    const int last = layout::PreferenceRowCount - 1;
    Walk({{Down, 1, layout::PreferenceLabelArea(1)}, {Up, 0, layout::PreferenceLabelArea(0)},
          {Up, 0, layout::PreferenceLabelArea(0)}, {Tab, 1, layout::PreferenceLabelArea(1)}});
    EXPECT_EQ(PreferencesRow(), 1);
    Walk({{BackTab, 0, layout::PreferenceLabelArea(0)},
          {BackTab, last, PreferencesRowTarget(last)}});
    PressAndHold(plat::KeyReturn);
    EXPECT_FALSE(PreferencesOpen) << "Return on the close button closes";
    EXPECT_EQ(CurrentScene().line, 6);

    Press(plat::KeyF1);
    ASSERT_TRUE(PreferencesOpen);
    PointAt(100, 100);
    Press(plat::KeyDown);
    EXPECT_EQ(KeyboardFocusForTest(), last) << "down from the row marked last";
}

}  // namespace
