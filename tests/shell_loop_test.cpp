// The shell's start-up, message loop and window events on the headless backend, with
// the real story engine: click edges, double clicks, focus, the system pointer, the
// music poll, and Shutdown on every route.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "shell/shell.h"
#include "sound/kaMusic.h"
#include "story/story.h"

namespace fs = std::filesystem;

namespace {

using Calls = std::vector<std::string>;

plat::Event Ev(plat::EventType type, int x = 0, int y = 0) {
    plat::Event e{};
    e.type = type;
    e.x = x;
    e.y = y;
    return e;
}
plat::Event Press(int button, int clicks) {
    plat::Event e = Ev(plat::EvButtonDown, 100, 100);
    e.button = button;
    e.clicks = clicks;
    return e;
}
plat::Event Key(plat::Key key) {
    plat::Event e = Ev(plat::EvKeyDown);
    e.key = key;
    return e;
}

int Count(const Calls& calls, const std::string& name) {
    return int(std::count(calls.begin(), calls.end(), name));
}

// The game started as the program starts it, in a temporary program directory holding
// copies of the game's pictures, with set.ini in a temporary XDG_CONFIG_HOME.
class ShellLoop : public ::testing::Test {
protected:
    fs::path dir;

    void SetUp() override {
        headless::Reset();
        dir = fs::path(AKARI_TEST_OUTPUT_DIR) /
              (std::string("shell_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "config");
        for (const auto& entry : fs::directory_iterator(AKARI_GAME_DIR))
            if (entry.path().extension() == ".sad") fs::copy_file(entry.path(), dir / entry.path().filename());
        headless::SetProgramDirectory(dir.string());
        const char* old = getenv("XDG_CONFIG_HOME");
        hadConfig_ = old != nullptr;
        if (old) oldConfig_ = old;
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        cwd_ = fs::current_path();
        ResetStoryState();
        SetGameMode(ModeLogo);
    }

    void TearDown() override {
        if (!Shell.ShutdownDone) Shutdown();
        plat::CloseWindow();
        ResetStoryState();
        SetGameMode(ModeLogo);
        fs::current_path(cwd_);
        if (hadConfig_)
            setenv("XDG_CONFIG_HOME", oldConfig_.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }

    // Opened, active, in the story at its first line, the pointer over the picture.
    void StartInStory() {
        ASSERT_EQ(OpenGame(), 1);
        EXPECT_TRUE(headless::MessageBoxes().empty()) << headless::MessageBoxes()[0].text;
        SetGameMode(ModeTitle);
        headless::PushEvent(Ev(plat::EvFocusGained));
        headless::PushEvent(Ev(plat::EvPointerMove, 100, 100));
        Pass();  // StartGame's click leaves the title: the story's first step
        ASSERT_EQ(GetGameMode(), ModeStory);
    }

    bool Pass(uint32_t ms = 16) {
        headless::AdvanceClock(ms);
        return RunLoopPass();
    }

    std::string oldConfig_;
    bool hadConfig_ = false;
    fs::path cwd_;
};

TEST_F(ShellLoop, StartUpRunsInOrderAndTheStoryBeginsInTheProgramDirectory) {
    ASSERT_EQ(OpenGame(), 1);
    EXPECT_EQ(headless::Calls(), (Calls{"AcquireInstanceLock", "OpenWindow"}));
    EXPECT_EQ(Shell.GameStarted, 1);
    EXPECT_EQ(Shell.AppActive, 0);  // until the window gets the focus
    EXPECT_EQ(fs::current_path(), fs::canonical(dir));
    EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(ShellLoop, ClickEdgesLastOneFrameAndTwoPressesGiveOne) {
    StartInStory();
    int line = CurrentLine;
    Pass();
    EXPECT_EQ(CurrentLine, line) << "no click, no step";

    headless::PushEvent(Press(1, 1));
    headless::PushEvent(Press(1, 1));
    Pass();
    int next = CurrentLine;
    EXPECT_GT(next, line);
    EXPECT_EQ(InputState.LeftClick, 0);
    Pass();
    Pass();
    EXPECT_EQ(CurrentLine, next) << "one step for two presses before one frame";

    headless::PushEvent(Press(1, 1));
    Pass();
    EXPECT_GT(CurrentLine, next);
}

TEST_F(ShellLoop, ADoubleClickAdvancesOnceAndAThirdClickAgain) {
    StartInStory();
    int line = CurrentLine;
    headless::PushEvent(Press(1, 1));
    Pass();
    int afterFirst = CurrentLine;
    EXPECT_GT(afterFirst, line);
    headless::PushEvent(Press(1, 2));
    Pass();
    EXPECT_EQ(CurrentLine, afterFirst) << "the double click's second press";
    headless::PushEvent(Press(1, 3));
    Pass();
    EXPECT_GT(CurrentLine, afterFirst);

    HandleWindowEvent(Press(3, 2));
    EXPECT_EQ(InputState.RightClick, 0);
    HandleWindowEvent(Press(3, 1));
    EXPECT_EQ(InputState.RightClick, 1);
}

TEST_F(ShellLoop, PointerMovesOutsideTheClientAreaKeepTheLastPositionInside) {
    HandleWindowEvent(Ev(plat::EvPointerMove, 639, 473));
    HandleWindowEvent(Ev(plat::EvPointerMove, -5, 20));
    HandleWindowEvent(Ev(plat::EvPointerMove, 700, 20));
    EXPECT_EQ(InputState.MouseX, 639);
    EXPECT_EQ(InputState.MouseY, 473);
}

TEST_F(ShellLoop, NoFramesWhileInactiveAndTheFirstFrameBackSeesOnlyTheTimeSince) {
    StartInStory();
    Pass(20);
    EXPECT_FLOAT_EQ(Shell.FrameSeconds, 0.020f);
    int presented = headless::PresentCount();

    headless::PushEvent(Ev(plat::EvFocusLost));
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(Pass());
    EXPECT_EQ(headless::PresentCount(), presented) << "no frame while inactive";

    // A click that brings the window back counts once it is active again.
    int line = CurrentLine;
    headless::PushEvent(Press(1, 1));
    Pass();
    EXPECT_EQ(CurrentLine, line);
    EXPECT_EQ(InputState.LeftClick, 1);

    headless::PushEvent(Ev(plat::EvFocusGained));
    Pass(7000);
    EXPECT_EQ(headless::PresentCount(), presented + 1);
    EXPECT_FLOAT_EQ(Shell.FrameSeconds, 0.0f) << "the pause is not seen";
    EXPECT_GT(CurrentLine, line);
    Pass(30);
    EXPECT_FLOAT_EQ(Shell.FrameSeconds, 0.030f);
}

TEST_F(ShellLoop, FrameSecondsSurviveTheClockWrap) {
    StartInStory();
    headless::SetClock(0xFFFFFFF0u);
    Pass(0);
    Pass(32);
    EXPECT_FLOAT_EQ(Shell.FrameSeconds, 0.032f);
}

TEST_F(ShellLoop, TheSystemPointerChangesOncePerCrossing) {
    StartInStory();
    headless::PushEvent(Ev(plat::EvWindowMoved, -20, -10));  // partly off the screen
    headless::SetGlobalPointer(-20 + 300, -10 + 200);
    Pass();
    Pass();
    EXPECT_FALSE(headless::SystemPointerShown());
    EXPECT_EQ(Count(headless::Calls(), "ShowSystemPointer"), 1);

    headless::SetGlobalPointer(-20 + 640, 50);  // just right of the client area
    Pass();
    Pass();
    EXPECT_TRUE(headless::SystemPointerShown());
    EXPECT_EQ(Count(headless::Calls(), "ShowSystemPointer"), 2);

    headless::SetGlobalPointer(-20, -10);  // the top-left pixel is inside
    Pass();
    EXPECT_FALSE(headless::SystemPointerShown());
    headless::PushEvent(Ev(plat::EvFocusLost));  // shown at once on losing the focus
    Pass();
    EXPECT_TRUE(headless::SystemPointerShown());
    EXPECT_EQ(Count(headless::Calls(), "ShowSystemPointer"), 4);

    // SetPointerPos is relative to the client area wherever the window is.
    EXPECT_EQ(SetPointerPos(560, 170), 1);
    int x, y;
    plat::GlobalPointer(&x, &y);
    EXPECT_EQ(x, -20 + 560);
    EXPECT_EQ(y, -10 + 170);
}

TEST_F(ShellLoop, ExposedFramesAreShownAgainAndRaiseRequestsRaiseTheWindow) {
    StartInStory();
    int presented = headless::PresentCount();
    headless::PushEvent(Ev(plat::EvFocusLost));
    headless::PushEvent(Ev(plat::EvExposed));
    headless::PushEvent(Ev(plat::EvRaiseRequested));
    Pass();
    Pass();
    EXPECT_EQ(headless::PresentCount(), presented + 1);
    EXPECT_EQ(Count(headless::Calls(), "RaiseWindow"), 1);
}

TEST_F(ShellLoop, TheEndOfMusicIsPolledOnceASecondForPiecesThatDoNotLoop) {
    StartInStory();
    kaMusic::MusicPlaying = 1;
    kaMusic::MusicLoop = 0;
    uint32_t start = plat::Milliseconds();
    Shell.NextMusicPoll = start + 3000;  // as PlayMusic leaves it
    Pass(2000);
    EXPECT_EQ(Shell.NextMusicPoll, start + 3000) << "not due yet";
    kaMusic::MusicPlaying = 1;
    Pass(1000);
    EXPECT_EQ(Shell.NextMusicPoll, start + 3000 + 1000);

    kaMusic::MusicPlaying = 1;
    kaMusic::MusicLoop = 1;
    Pass(5000);
    EXPECT_EQ(Shell.NextMusicPoll, start + 4000) << "a looping piece is not polled";

    // Across the clock's wrap a poll still waits for its time.
    headless::SetClock(0xFFFFFF00u);
    kaMusic::MusicLoop = 0;
    kaMusic::MusicPlaying = 1;
    Shell.NextMusicPoll = 0xFFFFFF00u + 1000;  // wraps to a small number
    Pass(10);
    EXPECT_EQ(Shell.NextMusicPoll, 0xFFFFFF00u + 1000);
    Pass(1000);
    EXPECT_EQ(Shell.NextMusicPoll, 0xFFFFFF00u + 1010 + 1000);
    kaMusic::MusicPlaying = 0;
    kaMusic::MusicLoop = 1;
}

// Every route ends with the media released once and in order, the lock given up, then
// the window closed, and RunGame returning 0.
class ShellEnd : public ShellLoop {
protected:
    void ExpectOrderlyEnd(int status) {
        EXPECT_EQ(status, 0);
        EXPECT_EQ(Shell.ShutdownDone, 1);
        EXPECT_EQ(Shell.CloseState, 2);
        EXPECT_EQ(kaMusic::MusicPlaying, 0);
        Calls calls = headless::Calls();
        calls.erase(std::remove(calls.begin(), calls.end(), "ShowSystemPointer"), calls.end());
        Calls expected = {"AcquireInstanceLock", "OpenWindow"};
        if (Count(calls, "OpenAudio")) expected.insert(expected.end(), {"OpenAudio", "CloseAudio"});
        expected.insert(expected.end(), {"ReleaseInstanceLock", "CloseWindow"});
        EXPECT_EQ(calls, expected);
        EXPECT_FALSE(headless::LockHeld());
        EXPECT_FALSE(headless::WindowOpen());
        int presented = headless::PresentCount();
        EXPECT_EQ(Shutdown(), 1);  // a late call does nothing
        EXPECT_EQ(headless::PresentCount(), presented);
    }
};

TEST_F(ShellEnd, Escape) {
    headless::EnableAudio(true);
    headless::PushEvent(Ev(plat::EvFocusGained));
    headless::PushEvent(Key(plat::KeyReturn));
    headless::PushEvent(Key(plat::KeyEscape));
    headless::PushEvent(Ev(plat::EvCloseRequested));  // after Shutdown: never handled
    ExpectOrderlyEnd(RunGame());
}

TEST_F(ShellEnd, CloseBoxOrSignal) {
    headless::PushEvent(Ev(plat::EvCloseRequested));
    ExpectOrderlyEnd(RunGame());
}

TEST_F(ShellEnd, CloseWhileInactive) {
    ASSERT_EQ(OpenGame(), 1);
    EXPECT_TRUE(Pass());
    headless::PushEvent(Ev(plat::EvCloseRequested));
    EXPECT_FALSE(Pass());
    plat::CloseWindow();
    ExpectOrderlyEnd(0);
}

TEST_F(ShellEnd, EndModeDuringAFrame) {
    SetGameMode(ModeEnd);
    headless::PushEvent(Ev(plat::EvFocusGained));
    headless::PushEvent(Press(1, 1));
    int status = RunGame();
    EXPECT_EQ(InputState.LeftClick, 0) << "the frame still cleared its edges";
    ExpectOrderlyEnd(status);
}

TEST_F(ShellEnd, ASecondCopyOpensNoWindowAndAsksTheFirstToRaise) {
    headless::SetLockHeldElsewhere(true);
    EXPECT_EQ(RunGame(), 0);
    EXPECT_TRUE(headless::Calls().empty());
    EXPECT_EQ(headless::RaiseRequestsSent(), 1);
    EXPECT_EQ(Shell.GameStarted, 0);
}

}  // namespace
