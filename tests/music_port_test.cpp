// The music's report of a missing SoundFont in the real loop: once, during the opening,
// as soon as the deferred read is over, and never while the game closes.
#include <chrono>
#include <thread>

#include "base/error_box.h"
#include "sound/music_state.h"
#include "tests/shell_test_game.h"

using namespace shelltest;

namespace {

class MusicPort : public ShellGame {
protected:
    std::filesystem::path noSoundFonts = dir / "no-soundfonts";

    void SetUp() override {
        ShellGame::SetUp();
        std::filesystem::create_directories(noSoundFonts);
        kaMusic::UseSoundFontFolderForTest(noSoundFonts.c_str());
        headless::EnableAudio(true);
    }
    void TearDown() override {
        ShellGame::TearDown();
        kaMusic::UseSoundFontFolderForTest(nullptr);
    }
    static size_t Boxes() { return headless::MessageBoxes().size(); }
};

TEST_F(MusicPort, NoSoundFontIsReportedOnceDuringTheOpeningWithoutAClick) {
    Open(ModeLogo);
    // The read runs on its own thread: the loop is run until it has been reported.
    auto start = std::chrono::steady_clock::now();
    while (Boxes() == 0 && std::chrono::steady_clock::now() - start < std::chrono::seconds(20)) {
        RunFor(16);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(Boxes(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].text, "kaMusic::Port : MIDIポートが使えません");
    EXPECT_NE(GetGameMode(), ModeStory) << "still in the opening";
    RunFor(2000);
    Shutdown();
    EXPECT_EQ(Boxes(), 1u) << "not again at the end";
}

// The SoundFont's failure came first, so it is reported first: any box waits for the read.
TEST_F(MusicPort, ABoxShownWhileTheReadIsPendingComesAfterTheSoundFontsReport) {
    Open(ModeLogo);  // the read is held until the first frame
    ErrorBox("kaDraw::LoadObject", "BMPファイルを読み込めません");
    ASSERT_EQ(Boxes(), 2u);
    EXPECT_EQ(headless::MessageBoxes()[0].text, "kaMusic::Port : MIDIポートが使えません");
    EXPECT_EQ(headless::MessageBoxes()[1].text, "kaDraw::LoadObject : BMPファイルを読み込めません");
}

TEST_F(MusicPort, AGameClosedBeforeTheReadIsOverClosesWithoutABox) {
    Open(ModeLogo);
    Shutdown();  // before the first frame: the read has not even started
    EXPECT_EQ(Boxes(), 0u);
}

}  // namespace
