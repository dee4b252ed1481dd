// Test support for the shell: the game opened as the program opens it, on the headless
// backend in a program directory of the test's own, and the message loop run on the
// virtual clock with events timed on it.
#pragma once
#include "base/random.h"
#include "tests/engine_script.h"

namespace shelltest {

class ShellGame : public gametest::GameTest {
protected:
    ShellGame() : GameTest("shell_") {}

    void SetUp() override {
        GameTest::SetUp();
        gametest::CopyGameAssets(
            dir, [](const std::string& name) { return std::filesystem::path(name).extension() == ".sad"; });
        storytest::WriteEnginePictures(dir);  // sc0.sad and sc1.sad of plain bands
    }
    // Opened and active in the given mode, the pointer off the picture's middle.
    void Open(int mode) {
        ASSERT_EQ(OpenGame(), 1);
        SeedRandom(7);  // the same chances in every run
        SetGameMode(mode);
        Push(plat::EvFocusGained);
        Push(plat::EvPointerMove, 639, 473);
    }
    // The story's first line of the given script body shown, its text fully out.
    void OpenStory(const std::vector<std::string>& body) {
        storytest::SetScript(body);
        Open(ModeTitle);  // the click the game starts with takes the title away
        RunFor(2000);
    }
    static uint32_t Now() { return plat::Milliseconds(); }
    static void Push(plat::EventType type, int x = 0, int y = 0, int button = 0, int clicks = 0,
                     plat::Key key = {}) {
        headless::PushEvent(plat::Event{type, x, y, button, clicks, key});
    }
    static void ClickAt(uint32_t ms, int x, int y, int button = 1) {
        headless::PushEventAt(ms, plat::Event{plat::EvButtonDown, x, y, button, 1, {}});
    }
    // Runs the loop until the clock reaches until; returns the frames run meanwhile.
    static int RunUntil(uint32_t until) {
        int frames = 0;
        while (int32_t(Now() - until) < 0) {
            uint32_t last = Shell.LastFrameTime;
            if (!RunLoopPass()) break;
            frames += Shell.LastFrameTime != last;
        }
        return frames;
    }
    static int RunFor(uint32_t ms) { return RunUntil(Now() + ms); }
};

}  // namespace shelltest
