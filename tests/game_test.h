// The harness of the tests that run the game: every module reset, a program directory of
// the test's own with the assets it asks for, frames of the main loop on the virtual clock.
#pragma once
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>

#include "draw/kaDraw.h"
#include "platform/headless.h"
#include "shell/shell.h"
#include "story/frame.h"

namespace gametest {

// An emptied folder of the test's own (tests may run side by side).
inline std::filesystem::path TestFolder(const char* prefix) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path dir = std::filesystem::path(AKARI_TEST_OUTPUT_DIR) /
                                (std::string(prefix) + test->test_suite_name() + "." + test->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// Puts into dir the built game folder's files (never the program) that wanted accepts:
// clips and music, only read, as hard links; the rest copied, as the game writes to it.
inline void CopyGameAssets(const std::filesystem::path& dir,
                           const std::function<bool(const std::string&)>& wanted) {
    for (const auto& entry : std::filesystem::directory_iterator(AKARI_GAME_DIR)) {
        std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name == "akari" || !wanted(name)) continue;
        char start[4] = {};
        std::ifstream(entry.path(), std::ios::binary).read(start, 4);
        bool onlyRead = std::string(start, 4) == "RIFF" || std::string(start, 4) == "MThd";
        std::filesystem::remove(dir / name);
        std::error_code notLinked;
        if (onlyRead) std::filesystem::create_hard_link(entry.path(), dir / name, notLinked);
        if (!onlyRead || notLinked) std::filesystem::copy_file(entry.path(), dir / name);
    }
}

// Every module back to the state the program starts in, with the shipped script.
inline void ResetAllModules() {
    headless::Reset();
    UseScriptTable(nullptr);
    ResetShellState();
    ResetStoryState();
    kaDraw::ResetEffects();
}

class GameTest : public ::testing::Test {
protected:
    std::filesystem::path dir;
    std::filesystem::path cwd = std::filesystem::current_path();

    explicit GameTest(const char* prefix) : dir(TestFolder(prefix)) {}

    // The program directory, the config and the data folders are under dir.
    void SetUp() override {
        ResetAllModules();
        std::filesystem::create_directories(dir / "config");
        std::filesystem::create_directories(dir / "data");
        headless::SetProgramDirectory(dir.string());
        setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    }
    // Closes what the test started, as the program does, and resets every module.
    void TearDown() override {
        Shutdown();
        plat::CloseWindow();
        ResetAllModules();
        std::filesystem::current_path(cwd);
    }
    // The folder outlives a TearDown and SetUp within the test; it stays when it failed.
    ~GameTest() override {
        if (HasFailure())
            std::printf("The test's folder is kept: %s\n", dir.c_str());
        else
            std::filesystem::remove_all(dir);
    }

    // The game's assets a test needs: those named, or all.
    void CopyAssets(std::initializer_list<const char*> names) {
        CopyGameAssets(dir, [names](const std::string& name) {
            for (const char* wanted : names)
                if (name == wanted) return true;
            return false;
        });
    }
    void CopyAllAssets() {
        CopyGameAssets(dir, [](const std::string&) { return true; });
    }

    // One frame of the main loop, seconds (to the millisecond) after the last.
    static void RunFrameAfterSeconds(float seconds) {
        headless::AdvanceClock(uint32_t(std::lround(double(seconds) * 1000.0)));
        RunFrame();
    }
};

// Pixel (x, y) of a picture of the game folder dir, decoded as the game decodes it.
inline uint32_t PicturePixel(const std::filesystem::path& file, int x, int y) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    kaDraw::Surface* s = kaDraw::DecodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                           kaDraw::FormatXRGB8888);
    EXPECT_NE(s, nullptr) << file;
    uint32_t p = s ? kaDraw::ReadPixel(s, x, y) & 0xFFFFFF : 0;
    kaDraw::FreeSurface(s);
    return p;
}

// Pixels of colour (or, with colour 0, light ones) in a rectangle of the last frame.
inline int CountPixels(int x0, int y0, int x1, int y1, uint32_t colour = 0) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            uint32_t p = headless::LastFrame()->Pixel(x, y);
            n += colour ? p == colour : (p & 0xFF) > 0x80 && ((p >> 8) & 0xFF) > 0x80 && (p >> 16) > 0x80;
        }
    return n;
}
// The light pixels of the message window's first row: some once a line is out.
inline int TextPixels() { return CountPixels(10, 385, 590, 413); }

}  // namespace gametest
