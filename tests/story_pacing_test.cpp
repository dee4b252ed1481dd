// What moves with the clock: the logo, the six animation loop modes and the message
// window's release of characters at speeds 0 to 5.
#include "tests/story_test_table.h"

using namespace storytest;

namespace {

using Pacing = StoryTest;

TEST_F(Pacing, TheLogoStepsAtMostEveryEighthOfASecond) {
    SetGameMode(ModeLogo);
    Frame(0.0f);  // the clock starts at 3: a step at once
    Frame(0.1f, true);  // 0.8: no step, and clicks do not hurry it
    EXPECT_EQ(LogoLevelForTest(), 5);
    Frame(0.1f);
    EXPECT_EQ(LogoLevelForTest(), 4);
}

TEST_F(Pacing, EachLoopModeRunsItsOwnSequenceOfBands) {
    struct Case {
        int loop;
        std::vector<int> seen;  // AnimeFrame after each tick (AnimeColumn in mode 4)
        int framesAfter;
    } cases[] = {
        {0, {1, 2, 3}, 0},  // plays once
        {1, {1, 2, 0, 1, 2, 0, 1}, 3},
        {2, {1, 2, 3, 2, 1, 0, 1, 2, 3, 2}, 3},
        {4, {1, 2, 3, 2, 1, 0, 1}, 3},
        {5, {1, 2, 3, 1}, 0},  // forward once, then waits for a restart
        {3, {1}, 0},  // finds the frame at 0 and stops at once
    };
    for (const Case& c : cases) {
        SetScript({"anime:3", "speed:100", "loopanime:" + std::to_string(c.loop), Sjis("動く")});
        GoToLineForTest(5);
        StoryStep(0.0f);
        std::vector<int> seen;
        for (size_t i = 0; i < c.seen.size(); ++i) {
            StoryStep(0.1f, false);
            seen.push_back(c.loop == 4 ? AnimeColumnForTest() : AnimeFrame);
        }
        EXPECT_EQ(seen, c.seen) << "loop mode " << c.loop;
        EXPECT_EQ(AnimeFrames, c.framesAfter) << "loop mode " << c.loop;
        EXPECT_EQ(c.loop == 0 ? ScreenFrame : 3, 3) << "mode 0 leaves the last band";
        EXPECT_EQ(c.loop == 4 ? AnimeFrame : 0, 0) << "mode 4 keeps the first band";
    }
    int frames = 0;  // mode 3 restarts at random, then plays one ping-pong
    while (AnimeFrames == 0 && ++frames < 100000) StoryStep(0.1f, false);
    std::vector<int> seen = {AnimeFrame};
    while (AnimeFrames != 0) {
        StoryStep(0.1f, false);
        seen.push_back(AnimeFrame);
    }
    EXPECT_EQ(seen, (std::vector<int>{2, 3, 2, 1, 0, 1}));
}

TEST_F(Pacing, AtMostOneAnimationTickPerFrameAndTheRestCarriesOver) {
    SetScript({"anime:100", "speed:100", "loopanime:1", Sjis("一"), "speed:1000", Sjis("二")});
    StoryStep(0.0f);
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i) {
        StoryStep(0.05f, false);
        seen.push_back(AnimeFrame);
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 1, 2}));
    StoryStep(0.0f);  // speed 1000 would need ten ticks in a frame of 0.1 s
    StoryStep(0.1f, false);
    StoryStep(0.1f, false);
    EXPECT_EQ(AnimeFrame, 2);
    EXPECT_GT(AnimeClockForTest(), 100.0f) << "the time not ticked away is kept";
}

TEST_F(Pacing, EachSpeedReleasesOneCharacterPerItsDelayAndNoMorePerFrame) {
    // Six characters: eight releases in all. Each speed lays out a line afresh.
    SetScript({Sjis("あいうえおか"), Sjis("あいうえおか")});
    int expected[] = {0, 8, 16, 16, 24, 32};  // frames of 16 ms against delays of 0 to 50 ms
    for (int speed = 0; speed <= 5; ++speed) {
        ShowLine(6 + speed % 2, 0, 28);
        ASSERT_EQ(kaDraw::TextRectCount, 7);
        FrameSeconds = 0.016f;
        int frames = 0;
        while (!RevealText(speed * 0.01f) && frames < 10000) ++frames;
        EXPECT_EQ(frames, expected[speed]) << "speed " << speed;
    }
    ShowLine(6, 0, 28);
    FrameSeconds = 0.2f;
    for (int i = 1; i <= 3; ++i) {
        EXPECT_FALSE(RevealText(0.01f));
        EXPECT_EQ(RevealCount, i) << "a long frame releases one character";
    }
}

}  // namespace
