// The message loop and window events on the headless backend with the real story engine:
// click edges, double clicks, focus, the system pointer, the music poll, Shutdown's routes.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "shell/shell.h"
#include "story/story.h"

namespace fs = std::filesystem;

namespace {

void Push(plat::EventType type, int x = 0, int y = 0, int button = 0, int clicks = 0,
          plat::Key key = {}) {
    headless::PushEvent(plat::Event{type, x, y, button, clicks, key});
}
void Click(int clicks = 1) { Push(plat::EvButtonDown, 100, 100, 1, clicks); }
int Count(const std::vector<std::string>& calls, const char* name) {
    return int(std::count(calls.begin(), calls.end(), name));
}

// The game as the program starts it, from a program directory of its own holding the
// game's pictures, with set.ini under it.
class ShellLoop : public ::testing::Test {
protected:
    fs::path dir = fs::path(AKARI_TEST_OUTPUT_DIR) /
                   (std::string("shell_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::path cwd = fs::current_path();

    void SetUp() override {
        headless::Reset();
        headless::EnableAudio(true);
        fs::remove_all(dir);
        fs::create_directories(dir / "config");
        for (const auto& entry : fs::directory_iterator(AKARI_GAME_DIR))
            if (entry.path().extension() == ".sad") fs::copy_file(entry.path(), dir / entry.path().filename());
        headless::SetProgramDirectory(dir.string());
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        ResetStoryState();
        SetGameMode(ModeLogo);
    }
    void TearDown() override {
        Shutdown();
        plat::CloseWindow();
        fs::current_path(cwd);
    }

    // Opened, active, at the story's first line, the pointer over the picture.
    void StartInStory() {
        ASSERT_EQ(OpenGame(), 1);
        EXPECT_EQ(fs::current_path(), fs::canonical(dir));
        SetGameMode(ModeTitle);
        Push(plat::EvFocusGained);
        Push(plat::EvPointerMove, 100, 100);
        Pass();  // the title's click, left by StartGame, starts the story
        ASSERT_EQ(GetGameMode(), ModeStory);
    }
    bool Pass(uint32_t ms = 16) {
        headless::AdvanceClock(ms);
        return RunLoopPass();
    }
};

TEST_F(ShellLoop, ClickEdgesLastOneFrameAndADoubleClickAdvancesOnce) {
    StartInStory();
    int line = CurrentLine;
    Pass();
    EXPECT_EQ(CurrentLine, line) << "no click, no step";
    Click();
    Click();
    Pass();
    EXPECT_GT(CurrentLine, line);
    EXPECT_EQ(InputState.LeftClick, 0);
    line = CurrentLine;
    Pass();
    EXPECT_EQ(CurrentLine, line) << "one step for two presses before one frame";

    Click(2);  // the second press of a double click
    Pass();
    EXPECT_EQ(CurrentLine, line);
    Click(3);
    Pass();
    EXPECT_GT(CurrentLine, line);
    HandleWindowEvent({plat::EvButtonDown, 0, 0, 3, 1, {}});
    EXPECT_EQ(InputState.RightClick, 1);
}

TEST_F(ShellLoop, NoFramesWhileInactiveAndTheFirstFrameBackSeesOnlyTheTimeSince) {
    StartInStory();
    Pass(20);
    EXPECT_FLOAT_EQ(Shell.FrameSeconds, 0.020f);
    int presented = headless::PresentCount(), line = CurrentLine;
    Push(plat::EvFocusLost);
    Click();  // the click that brings the window back counts once it is active
    uint32_t lastFrame = Shell.LastFrameTime;
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(Pass());
    EXPECT_EQ(Shell.LastFrameTime, lastFrame) << "no frame ran";
    EXPECT_EQ(CurrentLine, line);
    Push(plat::EvExposed);  // the last frame shown again
    Push(plat::EvRaiseRequested);  // a second copy's request
    Pass();
    EXPECT_EQ(headless::PresentCount(), presented + 1);
    EXPECT_EQ(Count(headless::Calls(), "RaiseWindow"), 1);

    Push(plat::EvFocusGained);
    Pass(7000);
    EXPECT_EQ(Shell.LastFrameTime, plat::Milliseconds()) << "a frame ran at once";
    EXPECT_FLOAT_EQ(Shell.FrameSeconds, 0.0f) << "the pause is not seen";
    EXPECT_GT(CurrentLine, line);
}

TEST_F(ShellLoop, TheSystemPointerChangesOncePerCrossing) {
    StartInStory();
    Push(plat::EvWindowMoved, -20, -10);  // partly off the screen
    struct { int x, y; bool shown; } steps[] = {{280, 190, false}, {620, 50, true}, {-20, -10, false}};
    for (auto step : steps) {  // inside, just right of the client area, its top-left pixel
        headless::SetGlobalPointer(step.x, step.y);
        Pass();
        Pass();
        EXPECT_EQ(headless::SystemPointerShown(), step.shown) << step.x << "," << step.y;
    }
    Push(plat::EvFocusLost);  // shown at once on losing the focus
    Pass();
    EXPECT_TRUE(headless::SystemPointerShown());
    EXPECT_EQ(Count(headless::Calls(), "ShowSystemPointer"), 4);

    SetPointerPos(560, 170);  // relative to the client area
    int x, y;
    plat::GlobalPointer(&x, &y);
    EXPECT_EQ(x, -20 + 560);
    EXPECT_EQ(y, -10 + 170);
    HandleWindowEvent({plat::EvPointerMove, 639, 473, 0, 0, {}});
    HandleWindowEvent({plat::EvPointerMove, -5, 20, 0, 0, {}});  // a drag out keeps the last inside
    HandleWindowEvent({plat::EvPointerMove, 700, 20, 0, 0, {}});
    EXPECT_EQ(InputState.MouseX, 639);
    EXPECT_EQ(InputState.MouseY, 473);
}

// Escape, a close request (the close box, Alt+F4 or a signal) and the story's end each
// make RunGame return 0 after one Shutdown: media released, the lock given up, then the
// window closed.
TEST_F(ShellLoop, EveryRouteRunsShutdownOnceAndInOrder) {
    struct { int mode; plat::Event last; } routes[] = {
        {ModeLogo, {plat::EvKeyDown, 0, 0, 0, 0, plat::KeyEscape}},
        {ModeLogo, {plat::EvCloseRequested, 0, 0, 0, 0, {}}},
        {ModeEnd, {plat::EvButtonDown, 100, 100, 1, 1, {}}},  // the end's frame ends the game
    };
    for (auto route : routes) {
        headless::Reset();
        headless::EnableAudio(true);
        SetGameMode(route.mode);
        Push(plat::EvFocusGained);
        headless::PushEvent(route.last);
        EXPECT_EQ(RunGame(), 0);
        EXPECT_TRUE(route.mode != ModeEnd || InputState.LeftClick == 0) << "the frame cleared its edges";
        Shutdown();  // a late call does nothing
        std::vector<std::string> calls = headless::Calls();
        calls.erase(std::remove(calls.begin(), calls.end(), "ShowSystemPointer"), calls.end());
        EXPECT_EQ(calls, (std::vector<std::string>{"AcquireInstanceLock", "OpenWindow", "OpenAudio",
                                                   "CloseAudio", "ReleaseInstanceLock", "CloseWindow"}));
    }
}

TEST_F(ShellLoop, ASecondCopyOpensNoWindowAndAsksTheFirstToRaise) {
    headless::SetLockHeldElsewhere(true);
    EXPECT_EQ(RunGame(), 0);
    EXPECT_TRUE(headless::Calls().empty());
    EXPECT_EQ(headless::RaiseRequestsSent(), 1);
}

TEST_F(ShellLoop, NoWindowIsAFailureAndGivesTheLockBack) {
    headless::SetNoDisplay(true);
    EXPECT_EQ(RunGame(), 1);
    EXPECT_EQ(headless::Calls(), (std::vector<std::string>{"AcquireInstanceLock",
                                                            "ReleaseInstanceLock"}));
}

}  // namespace
