// Test support for the story engine: a script table the test writes itself, and a fresh
// engine (with sound) around it in the story mode, without the opening.
#pragma once
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "base/frame.h"
#include "draw/kaDraw.h"
#include "draw/sjis.h"
#include "platform/headless.h"
#include "shell/shell.h"
#include "sound/kaSound.h"
#include "story/frame.h"
#include "tests/draw_test_support.h"
#include "tests/game_test.h"

namespace storytest {

inline ScriptLine TestTable[ScriptLineCount];

inline std::string Sjis(const char* utf8) {
    char out[ScriptLineBytes];
    EXPECT_TRUE(Utf8ToSjis(utf8, out, sizeof out)) << utf8;
    return out;
}

// The head every script starts with (marker, quit confirmation on lines 1 to 5), then
// body from line 6; CP932 lines (ASCII here, or through Sjis).
inline void SetScript(const std::vector<std::string>& body) {
    std::vector<std::string> lines = {"sideblack\t", "label:back", "command:2",
                                      "_end:" + Sjis("ゲームを終了する"),
                                      "back:" + Sjis("もう少し続ける"), Sjis("どうしますか？")};
    lines.insert(lines.end(), body.begin(), body.end());
    std::memset(TestTable, 0, sizeof TestTable);
    for (size_t i = 0; i < lines.size(); ++i)
        std::strncpy(TestTable[i], lines[i].c_str(), ScriptLineBytes - 1);
    UseScriptTable(TestTable);
}

inline std::string ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteFile(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

// The state a save wrote beside the save file of stem (z_save0, z_quick), or "".
inline std::filesystem::path StateBeside(const std::filesystem::path& dir, const std::string& stem) {
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::string name = entry.path().filename().string();
        if (name.compare(0, stem.size() + 1, stem + ".") == 0 && entry.path().extension() == ".state")
            return entry.path();
    }
    return {};
}

using gametest::CountPixels;
using gametest::TestFolder;

inline void PointAt(int x, int y) {
    InputState.MouseX = x;
    InputState.MouseY = y;
}

// A key pressed, as the window's event gives it.
inline void KeyDown(plat::Key key) { HandleWindowEvent({plat::EvKeyDown, 0, 0, 0, 0, key}); }

// The clips sounding, by name, each followed by a space (the music's object never is).
inline std::string Sounding() {
    std::string names;
    for (int id = 0; id < kaSound::ObjectCount; ++id)
        if (kaSound::SecondsLeft(id) > 0.0f) names += std::string(kaSound::NameOf(id)) + " ";
    return names;
}
// Seconds left of the clip of that name; -1 when none sounds.
inline float SecondsLeftOf(const std::string& name) {
    for (int id = 0; id < kaSound::ObjectCount; ++id)
        if (kaSound::SecondsLeft(id) > 0.0f && name == kaSound::NameOf(id)) return kaSound::SecondsLeft(id);
    return -1.0f;
}

inline void SetChangedAt(const std::filesystem::path& p, time_t seconds) {
    const timespec t[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, p.c_str(), t, 0), 0) << p;
}

class StoryTest : public gametest::GameTest {
protected:
    StoryTest() : GameTest("story_") {}

    // The media started as StartGame starts them, no interface picture loaded.
    void SetUp() override {
        GameTest::SetUp();
        headless::EnableAudio(true);
        OpenMedia(layout::BackBufferWidth, layout::BackBufferHeight, 1);
        MarkGameStartedForTest();  // what StartGame leaves: RunFrame runs FrameUpdate
        SetGameMode(ModeStory);
    }
    // The settings as the engine reads them from owlsys.ini ("speed,musicOff,").
    void UseSystemSettings(const char* text) {
        WriteFile(dir / "owlsys.ini", text);
        ReadSystemSettings();
    }
    // One story-screen frame as the main loop runs it, the click flags cleared after.
    void StoryStep(float seconds = 0.016f, bool click = true) {
        FrameSeconds = seconds;
        InputState.LeftClick = click;
        BeginFrameInput();
        StoryFrame();
        InputState.LeftClick = InputState.RightClick = 0;
    }
    // The file of save slot n, the quick slot or the resume point.
    std::filesystem::path Slot(int n) {
        return dir / (n == ResumePoint ? std::string("z_resume.state")
                      : n == QuickSlot ? std::string("z_quick.sdt")
                                       : "z_save" + std::to_string(n) + ".sdt");
    }
    std::filesystem::path State(int n) { return StateBeside(dir, "z_save" + std::to_string(n)); }
    void Click() { Frame(0.016f, true); }
    // Opens the menu and clicks the button whose top-left corner is (left, top).
    void MenuClick(int left, int top) {
        Frame(0.016f, false, true);
        ClickAt(left + 10, top + 10);
        PointAt(300, 400);
    }
    void ClickAt(int x, int y) {
        PointAt(x, y);
        Frame(0.016f, true);
    }
    // The pointer put in the middle of r, and a frame; with a click there.
    void Hover(const layout::Rect& r) {
        PointAt(layout::Centre(r).x, layout::Centre(r).y);
        Frame();
    }
    void ClickOn(const layout::Rect& r) { ClickAt(layout::Centre(r).x, layout::Centre(r).y); }
    // A key pressed, and the frame that reads it.
    void Press(plat::Key key) {
        KeyDown(key);
        Frame();
    }
    // A key's event, then the key held for a frame (Return is read by the frame's poll).
    void PressAndHold(plat::Key key) {
        KeyDown(key);
        headless::SetKeyDown(key, true);
        Frame();
        headless::SetKeyDown(key, false);
        Frame();
    }
    void Frame(float seconds = 0.016f, bool left = false, bool right = false) {
        InputState.LeftClick |= left;
        InputState.RightClick |= right;
        RunFrameAfterSeconds(seconds);
    }
    // The wheel turned by notches (up opens the backlog), and the frame that reads it.
    void Wheel(int notches, float seconds = 0.016f) {
        InputState.WheelSteps = notches;
        Frame(seconds);
        InputState.WheelSteps = 0;
    }
    // The A key, read in a frame of no time.
    void PressA() {
        InputState.AutoKey = 1;
        Frame(0.0f);
        InputState.AutoKey = 0;
    }
    // Ctrl held a quarter of a second and one frame more (it steps from the frame after
    // its wait), then let go.
    void SkipWithCtrl() {
        headless::SetKeyDown(plat::KeyCtrl, true);
        Frame(0.25f);  // held long enough to skip
        Frame();
        headless::SetKeyDown(plat::KeyCtrl, false);
        Frame();
    }
};

}  // namespace storytest
