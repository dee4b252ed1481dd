// The whole game on the headless backend with the real modules, driven by scripted
// clicks on a virtual clock, on the engine's small script of its own.
#include "sound/kaMusic.h"
#include "tests/engine_script.h"

using namespace storytest;

namespace {

class EndToEnd : public gametest::GameTest {
protected:
    EndToEnd() : GameTest("story_") {}

    void SetUp() override {
        GameTest::SetUp();
        CopyAllAssets();
        PointAt(639, 473);  // the pointer sprite stays out of the way
        StartGame();
        ResetFrameTimer();
    }
    // One frame of the main loop, ms after the last on the virtual clock.
    void Frame(uint32_t ms = 16) { RunFrameAfter(ms); }
    void Click(int x, int y) {
        PointAt(x, y);
        InputState.LeftClick = 1;
        Frame();
        PointAt(639, 473);
    }
    void RightClick() { InputState.RightClick = 1, Frame(); }
    uint32_t Pixel(int x, int y) { return headless::LastFrame()->Pixel(x, y); }
    std::string File(const char* name) { return ReadFile(dir / name); }
    uint32_t Shown(const char* name, int x, int y) { return PicturePixel(dir / name, x, y); }
};

TEST_F(EndToEnd, ThePlayerReadsEveryKindOfLineToTheEnd) {
    UseEngineScript(dir);
    EXPECT_TRUE(GameStarted());
    for (int i = 0; i < InterfacePictureCount; ++i) EXPECT_GE(InterfacePicture[i], 4) << i;
    EXPECT_EQ(File("tit.sad").substr(0, 2), "  ") << "the asset's blanked header is put back";

    // The logo: 25 steps of a shaking picture, released after, then the notice.
    int frames = 0, logoSeen = 0, logoId = InterfacePicture[PicAcross];
    for (; GetGameMode() == ModeLogo && frames < 1000; ++frames) {
        Frame(130);
        logoSeen += CountPixels(157, 179, 482, 294);  // the light of the logo where it is drawn
    }
    EXPECT_EQ(frames, 25);
    EXPECT_GT(logoSeen, 0);
    EXPECT_EQ(kaDraw::ObjectTable[logoId].surface, nullptr);
    EXPECT_EQ(InterfacePicture[PicAcross], 0);
    Frame();
    EXPECT_EQ(Pixel(290, 230), Shown("expr.sad", 200, 80)) << "the notice picture";
    Click(320, 240);
    Frame();
    EXPECT_EQ(GetGameMode(), ModeTitle);
    EXPECT_EQ(Pixel(300, 220), Shown("tit.sad", 300, 220)) << "the title picture";

    Click(320, 240);  // the title's click is the story's first step
    EXPECT_EQ(CurrentLine, 9);
    Frame();
    EXPECT_EQ(Pixel(10, 10), SceneZeroBand(0)) << "band 0 of sc0.sad";
    EXPECT_EQ(Pixel(490, 10), Shown("panel.sad", 16, 10)) << "the side panel";
    EXPECT_EQ(Pixel(600, 460), Shown("message.sad", 607, 85)) << "the message frame";
    EXPECT_EQ(kaMusic::MusicPlaying, 1);

    Click(320, 240);
    EXPECT_EQ(CurrentLine, 11);
    Click(320, 240);
    EXPECT_EQ(CurrentLine, 18) << "flags set, switch jumped over line 16";
    EXPECT_EQ(FlagForTest(2), 5);
    Click(320, 240);
    EXPECT_TRUE(WaveEffect);

    int firstPicture = StoryPictureForTest();
    Click(320, 240);
    EXPECT_EQ(CurrentLine, 26);
    EXPECT_EQ(kaDraw::ObjectTable[firstPicture].surface, nullptr) << "the last file: picture released";
    for (int i = 0; i < 5 && Pixel(10, 10) == SceneOneBand(0); ++i) Frame(50);
    EXPECT_EQ(Pixel(10, 10), SceneOneBand(1)) << "the animation's next band";

    Click(320, 240);
    Click(320, 240);
    EXPECT_EQ(CurrentLine, 33) << "save: recorded the label that load: went on after";

    Click(320, 240);
    EXPECT_EQ(StoryState, ChoiceOpen);
    Frame();
    EXPECT_EQ(Pixel(70, 100), Shown("comwin.sad", 12, 10)) << "the choice box";
    Click(300, 200);  // the second branch, on sc0.sad's second band
    EXPECT_EQ(CurrentLine, 47);
    EXPECT_EQ(kaMusic::MusicPlaying, 0) << "midi_stop:";
    Frame();
    EXPECT_EQ(Pixel(10, 10), SceneZeroBand(1));
    Click(320, 240);
    Click(320, 240);
    EXPECT_EQ(GetGameMode(), ModeEnd);
    EXPECT_EQ(Shell.ShutdownDone, 1);
    EXPECT_TRUE(headless::MessageBoxes().empty());
}

// The menu's bottom row (where quit and return overlap, return wins) and its quit; the
// speed chosen in the menu is kept for the next start.
TEST_F(EndToEnd, TheMenusBottomRowLeadsWhereItSaysAndTheSpeedIsKept) {
    for (int i = 0; i < 1000 && GetGameMode() == ModeLogo; ++i) Frame(130);
    Click(320, 240);
    Click(320, 240);
    ASSERT_EQ(GetGameMode(), ModeStory);
    RightClick();
    Click(170 + 63 * 3 + 10, 262);
    EXPECT_EQ(File("owlsys.ini"), "3,0,\r\n");
    struct Bottom {
        int x, mode;
    } bottoms[] = {{330, ModeStory}, {480, ModeStory}, {200, ModeEnd}};  // overlap, return, quit
    for (const Bottom& b : bottoms) {
        RightClick();
        ASSERT_EQ(GetGameMode(), ModeSystemMenu);
        Click(b.x, 380);
        EXPECT_EQ(GetGameMode(), b.mode) << b.x;
        EXPECT_EQ(Shell.ShutdownDone, b.mode == ModeEnd) << b.x;
    }
    ResetShellState();
    ResetStoryState();
    StartGame();
    EXPECT_EQ(MessageSpeed, 3.0f);
}

}  // namespace
