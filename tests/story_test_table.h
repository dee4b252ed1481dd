// Test support for the story engine: a script table the test writes itself, a fresh
// engine (with sound) around it in a temporary program directory, frames run by hand.
#pragma once
#include <gtest/gtest.h>

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
#include "story/story.h"
#include "tests/draw_test_support.h"

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

// An emptied folder of the test's own (tests may run side by side).
inline std::filesystem::path TestFolder(const char* prefix) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path dir = std::filesystem::path(AKARI_TEST_OUTPUT_DIR) /
                                (std::string(prefix) + test->test_suite_name() + "." + test->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

inline void PointAt(int x, int y) {
    InputState.MouseX = x;
    InputState.MouseY = y;
}

class StoryTest : public ::testing::Test {
protected:
    std::filesystem::path dir = TestFolder("story_");

    void SetUp() override {
        headless::Reset();
        headless::EnableAudio(true);
        headless::SetProgramDirectory(dir.string());
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);  // set.ini of save:/load:
        ResetShellState();
        ResetStoryState();
        OpenMedia(700, 520, 1);
        SetGameMode(ModeStory);
    }
    void TearDown() override {
        CloseMedia();
        UseScriptTable(nullptr);
        ResetStoryState();
        SetGameMode(ModeLogo);
    }
    // Copies built assets of the game folder into the test's own folder.
    void CopyFromGame(std::initializer_list<const char*> names) {
        for (const char* name : names)
            std::filesystem::copy_file(std::filesystem::path(AKARI_GAME_DIR) / name, dir / name,
                                       std::filesystem::copy_options::overwrite_existing);
    }
    // One story-screen frame as the main loop runs it, the click flags cleared after.
    void StoryStep(float seconds = 0.016f, bool click = true) {
        FrameSeconds = seconds;
        InputState.LeftClick = click;
        StoryFrame();
        InputState.LeftClick = InputState.RightClick = 0;
    }
    // One whole frame through FrameUpdate.
    void Frame(float seconds = 0.016f, bool left = false, bool right = false) {
        FrameSeconds = seconds;
        InputState.LeftClick |= left;
        InputState.RightClick |= right;
        FrameUpdate();
        InputState.LeftClick = InputState.RightClick = 0;
    }
};

}  // namespace storytest
