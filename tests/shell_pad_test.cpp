// The gamepad on the headless backend with the real story engine: each button does what
// the key or click it stands for does, RB held skips as Ctrl does, the sticks move the
// pointer and turn the wheel only while pushed, and any pad acts as pads come and go.
#include <sstream>

#include "tests/shell_test_game.h"

using namespace shelltest;
using storytest::Sjis;

namespace {

namespace fs = std::filesystem;

// What a run left behind, compared between a pad's button and the input it stands for:
// the mode, line, open pages, auto and skip modes, the quick slot and the last frame.
std::string Outcome(const fs::path& dir) {
    std::ostringstream o;
    o << "mode " << GetGameMode() << ", line " << CurrentScene().line << ", backlog " << BacklogOpen << ", preferences "
      << PreferencesOpen << ", auto " << AutoModeOnForTest() << ", skip " << SkipModeRuns() << ", quick save "
      << fs::exists(dir / "z_quick.sdt") << ", quit prompt " << QuitPromptOpen << ", picture " << std::hex
      << (headless::PresentedHashes().empty() ? 0 : headless::PresentedHashes().back());
    return o.str();
}

constexpr int Pad1 = 11, Pad2 = 22;

class Pad : public ShellGame {
protected:
    static std::vector<std::string> Script() {
        std::vector<std::string> lines;
        for (int i = 1; i <= 30; ++i) lines.push_back(Sjis("駅の灯り") + std::to_string(i));
        return lines;
    }
    // The story at its first line, all out, a pad plugged in.
    void StartStory() {
        OpenStory(Script());
        headless::PlugPad(Pad1);
    }
    // As a new run of the program: the last one closed, and what it wrote (saves, read
    // marks, preferences) gone.
    void StartAgain() {
        Shutdown();
        plat::CloseWindow();
        gametest::ResetAllModules();
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.path().extension() != ".sad" && entry.is_regular_file()) fs::remove(entry);
        fs::remove_all(dir / "config");
        fs::create_directories(dir / "config");
        StartStory();
    }
    static void Tap(plat::PadButton button, int pad = Pad1) {
        headless::PadButton(pad, button, true);
        headless::PadButton(pad, button, false);
    }
    static void Key(plat::Key key) { Push(plat::EvKeyDown, 0, 0, 0, 0, key); }
    static void Click(int button) {
        Push(plat::EvButtonDown, InputState.MouseX, InputState.MouseY, button, 1);
    }
    // A fresh run: the story at its first line, then setUp, then input, then a second of
    // frames.
    std::string Play(const std::function<void()>& setUp, const std::function<void()>& input) {
        StartAgain();
        setUp();
        RunFor(500);
        input();
        RunFor(1000);
        return Outcome(dir);
    }
};

// Each button against its key or click, each from a state where that input shows: the
// pad's run must end as the key's run does, and the key's differ from no input at all.
TEST_F(Pad, EachButtonDoesWhatItsKeyOrClickDoes) {
    auto none = [] {};
    // Lines 6 to 9 read, a quick save at line 6, and back there: S has lines to skip.
    auto readAhead = [] {
        Key(plat::KeyF5);
        RunFor(100);
        for (int i = 0; i < 3; ++i) {
            Click(1);
            RunFor(100);
        }
        Key(plat::KeyF9);
    };
    auto savedThenStepped = [] {
        Key(plat::KeyF5);
        RunFor(100);
        Click(1);
        RunFor(100);
        Click(1);
    };
    auto preferences = [] { Key(plat::KeyF1); };
    auto choice = [] {
        Push(plat::EvPointerMove, 580, 336);  // the panel's quit button: the quit prompt
        Click(1);
        RunFor(100);
        Push(plat::EvPointerMove, 200, 190);  // over its second option, to go on
    };
    struct Case {
        const char* name;
        std::function<void()> setUp;
        std::vector<plat::PadButton> buttons;
        std::function<void()> reference;
    };
    const Case cases[] = {
        {"A steps as a left click", none, {plat::PadA}, [] { Click(1); }},
        {"A takes an option under the pointer", choice, {plat::PadA}, [] { Click(1); }},
        {"B opens the system menu as a right click", none, {plat::PadB}, [] { Click(3); }},
        {"Start opens the system menu", none, {plat::PadStart}, [] { Click(3); }},
        {"X switches auto mode as A does", none, {plat::PadX}, [] { Key(plat::KeyA); }},
        {"Y opens the backlog as the wheel up", none, {plat::PadY},
         [] { Push(plat::EvWheel, 0, 1); }},
        {"LB skips what was read as S does", readAhead, {plat::PadLB}, [] { Key(plat::KeyS); }},
        {"LT saves to the quick slot as F5 does", none, {plat::PadLT}, [] { Key(plat::KeyF5); }},
        {"RT loads the quick slot as F9 does", savedThenStepped, {plat::PadRT},
         [] { Key(plat::KeyF9); }},
        {"Back opens the preferences as F1 does", none, {plat::PadBack},
         [] { Key(plat::KeyF1); }},
        {"B leaves the system menu as Backspace does", [] { Click(3); }, {plat::PadB},
         [] { Key(plat::KeyBackspace); }},
        {"B leaves the backlog as Backspace does", [] { Push(plat::EvWheel, 0, 1); }, {plat::PadB},
         [] { Key(plat::KeyBackspace); }},
        {"B leaves the preferences as Backspace does", preferences, {plat::PadB},
         [] { Key(plat::KeyBackspace); }},
        {"the cross moves and changes as the arrows do", preferences,
         {plat::PadDown, plat::PadDown, plat::PadRight, plat::PadUp, plat::PadLeft, plat::PadLeft},
         [] {
             for (plat::Key k : {plat::KeyDown, plat::KeyDown, plat::KeyRight, plat::KeyUp,
                                 plat::KeyLeft, plat::KeyLeft})
                 Key(k);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string idle = Play(c.setUp, none), key = Play(c.setUp, c.reference);
        std::string pad = Play(c.setUp, [&c] {
            for (plat::PadButton b : c.buttons) Tap(b);
        });
        EXPECT_NE(key, idle) << "the key or click changes nothing here";
        EXPECT_EQ(pad, key);
    }
}

// RB held steps every frame as held Ctrl does, and stops when let go.
TEST_F(Pad, RBHeldSkipsLikeCtrlAndStopsWhenLetGo) {
    StartStory();
    int line = CurrentScene().line;
    headless::PadButton(Pad1, plat::PadRB, true);
    RunFor(350);
    int skipped = CurrentScene().line - line;
    EXPECT_GE(skipped, 4) << "a step a frame";
    headless::PadButton(Pad1, plat::PadRB, false);
    RunFor(500);  // the last line comes out
    line = CurrentScene().line;
    EXPECT_EQ(RunFor(2000), 0) << "let go: the page rests";
    EXPECT_EQ(CurrentScene().line, line);

    StartAgain();
    line = CurrentScene().line;
    headless::SetKeyDown(plat::KeyCtrl, true);
    Key(plat::KeyCtrl);
    RunFor(350);
    headless::SetKeyDown(plat::KeyCtrl, false);
    EXPECT_EQ(CurrentScene().line - line, skipped) << "as many steps as held Ctrl in the same time";
}

// The left stick runs a frame every refresh while pushed beyond the dead zone (the real
// window's pad test steers the pointer with it); the right one pushed up turns the wheel
// up (the backlog opens at once and, held, scrolls on), pushed down past the newest line
// closes it. Within the dead zone or at rest the loop rests.
TEST_F(Pad, TheSticksMoveThePointerAndTurnTheWheelOnlyWhilePushed) {
    StartStory();
    for (int i = 0; i < 20; ++i) {
        Tap(plat::PadA);
        RunFor(300);
    }
    headless::PadAxis(Pad1, padstate::AxisLeftX, 5000);  // inside the dead zone
    EXPECT_EQ(RunFor(2000), 0) << "no frames for it";
    headless::PadAxis(Pad1, padstate::AxisLeftX, 32767);
    EXPECT_GE(RunFor(250), 14) << "a frame every refresh while pushed";
    headless::PadAxis(Pad1, padstate::AxisLeftX, 0);
    RunFor(100);
    EXPECT_EQ(RunFor(5000), 0) << "at rest: no frames";

    headless::PadAxis(Pad1, padstate::AxisRightY, -32767);
    RunFor(20);
    ASSERT_TRUE(BacklogOpen);
    uint64_t opened = headless::PresentedHashes().back();
    RunFor(1000);
    EXPECT_NE(headless::PresentedHashes().back(), opened) << "held, it scrolled on";
    headless::PadAxis(Pad1, padstate::AxisRightY, 0);
    RunFor(100);
    EXPECT_EQ(RunFor(3000), 0);
    headless::PadAxis(Pad1, padstate::AxisRightY, 32767);
    RunFor(3000);
    EXPECT_FALSE(BacklogOpen) << "turned down past the newest line";
    headless::PadAxis(Pad1, padstate::AxisRightY, 0);
}

// Any pad acts (the real window's pad test plays on with a second pad): one pad's RB held
// keeps skipping while the other presses and lets go of its own; the first unplugged
// while holding RB and its stick lets go of both, and is no longer listened to.
TEST_F(Pad, UnpluggingAPadLetsGoOfWhatItHeld) {
    StartStory();
    headless::PlugPad(Pad2);
    headless::PadButton(Pad1, plat::PadRB, true);
    headless::PadButton(Pad2, plat::PadRB, true);
    headless::PadButton(Pad2, plat::PadRB, false);
    headless::PadAxis(Pad1, padstate::AxisLeftX, 32767);
    int line = CurrentScene().line;
    RunFor(350);
    EXPECT_GT(CurrentScene().line, line + 2) << "pad 1 still holds RB";
    headless::UnplugPad(Pad1);
    RunFor(500);  // the last line comes out
    line = CurrentScene().line;
    EXPECT_EQ(RunFor(3000), 0) << "nothing held any more: the page rests";
    EXPECT_EQ(CurrentScene().line, line);
    Tap(plat::PadA, Pad1);
    RunFor(100);
    EXPECT_EQ(CurrentScene().line, line) << "an unplugged pad is not listened to";
    Tap(plat::PadA, Pad2);
    RunFor(100);
    EXPECT_EQ(CurrentScene().line, line + 1) << "the second pad goes on";
    headless::UnplugPad(Pad2);
}

}  // namespace
