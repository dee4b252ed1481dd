// Test support for the story engine: a script table the test writes itself, a fresh
// engine and shell around it, a temporary program directory, and frames run by hand.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

#include "draw/kaDraw.h"
#include "platform/headless.h"
#include "shell/shell.h"
#include "story/story.h"

namespace storytest {

// Lines in CP932 bytes (ASCII here, or converted from UTF-8 by Sjis).
inline ScriptLine TestTable[ScriptLineCount];

inline void SetScript(std::initializer_list<std::string> lines) {
    std::memset(TestTable, 0, sizeof TestTable);
    int i = 0;
    for (const std::string& line : lines) {
        std::strncpy(TestTable[i], line.c_str(), ScriptLineBytes - 1);
        ++i;
    }
    UseScriptTable(TestTable);
}

inline std::string Sjis(const char* utf8) {
    char out[ScriptLineBytes];
    EXPECT_TRUE(Utf8ToCp932(utf8, out, sizeof out)) << utf8;
    return out;
}

// The head every script starts with: marker, and the quit confirmation on 1 to 5.
inline std::string Head(int i) {
    switch (i) {
    case 0: return "sideblack\t";
    case 1: return "label:back";
    case 2: return "command:2";
    case 3: return "_end:" + Sjis("ゲームを終了する");
    case 4: return "back:" + Sjis("もう少し続ける");
    default: return Sjis("どうしますか？");
    }
}

inline std::string ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

// A folder of the test's own (tests may run side by side), emptied.
inline std::filesystem::path TestFolder(const char* prefix) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path dir = std::filesystem::path(AKARI_TEST_OUTPUT_DIR) /
                                (std::string(prefix) + test->test_suite_name() + "." + test->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// A fresh engine on a test table, with the program directory in a temporary folder.
class StoryTest : public ::testing::Test {
protected:
    std::filesystem::path dir;

    void SetUp() override {
        headless::Reset();
        dir = TestFolder("story_");
        headless::SetProgramDirectory(dir.string());
        ResetShellState();
        ResetStoryState();
        kaDraw::Screen(700, 520, 1);
        SetGameMode(ModeStory);
    }

    void TearDown() override {
        kaDraw::CloseScreen();
        UseScriptTable(nullptr);
        ResetStoryState();
        SetGameMode(ModeLogo);
    }

    // One frame of the story as the main loop runs it: the frame's time and input,
    // the story screen, then the one-frame click flags cleared.
    void StoryStep(float seconds = 0.016f, bool click = true) {
        Shell.FrameSeconds = seconds;
        InputState.LeftClick = click ? 1 : 0;
        StoryFrame();
        InputState.LeftClick = 0;
        InputState.RightClick = 0;
    }

    // One whole frame through FrameUpdate.
    void Frame(float seconds = 0.016f, bool leftClick = false, bool rightClick = false) {
        Shell.FrameSeconds = seconds;
        if (leftClick) InputState.LeftClick = 1;
        if (rightClick) InputState.RightClick = 1;
        FrameUpdate();
        InputState.LeftClick = 0;
        InputState.RightClick = 0;
    }

    void PointAt(int x, int y) {
        InputState.MouseX = x;
        InputState.MouseY = y;
    }
};

}  // namespace storytest
