// What moves with the clock on the story screen: the six animation loop modes and the
// message window's release of characters at speeds 0 to 5.
#include <vector>

#include "tests/story_test_table.h"

using namespace storytest;

namespace {

class Animation : public StoryTest {
protected:
    // Starts an animation of frames bands at speed with loop mode, then runs count frames
    // of seconds each, recording the position after every frame.
    void Start(int frames, int speed, int loop) {
        SetScript({Head(0), Head(1), Head(2), Head(3), Head(4), Head(5),
                   "anime:" + std::to_string(frames), "speed:" + std::to_string(speed),
                   "loopanime:" + std::to_string(loop), Sjis("動く")});
        StoryStep(0.0f);
    }
    std::vector<int> Run(int count, float seconds, const int* position = &AnimeFrame) {
        std::vector<int> seen;
        for (int i = 0; i < count; ++i) {
            StoryStep(seconds, false);
            seen.push_back(*position);
        }
        return seen;
    }
};

TEST_F(Animation, ModeZeroPlaysOnceAndLeavesTheLastBand) {
    Start(3, 100, 0);
    EXPECT_EQ(Run(2, 0.1f), (std::vector<int>{1, 2}));
    StoryStep(0.1f, false);
    EXPECT_EQ(AnimeFrames, 0);
    EXPECT_EQ(ScreenFrame, 3);
    EXPECT_EQ(AnimeFramesSaved, 3);
}

TEST_F(Animation, ModeOneLoopsOverTheBands) {
    Start(3, 100, 1);
    EXPECT_EQ(Run(7, 0.1f), (std::vector<int>{1, 2, 0, 1, 2, 0, 1}));
    EXPECT_EQ(AnimeFrames, 3);
}

TEST_F(Animation, ModeTwoGoesBackAndForthBetweenZeroAndN) {
    Start(3, 100, 2);
    EXPECT_EQ(Run(10, 0.1f), (std::vector<int>{1, 2, 3, 2, 1, 0, 1, 2, 3, 2}));
}

TEST_F(Animation, ModeThreeStopsAtOnceThenPlaysOnePingPongAfterARandomRestart) {
    Start(3, 100, 3);
    StoryStep(0.1f, false);
    EXPECT_EQ(AnimeFrames, 0) << "the first tick finds the frame at 0 and stops";
    EXPECT_EQ(AnimeFrame, 1);
    int frames = 0;
    while (AnimeFrames == 0 && frames < 100000) {
        StoryStep(0.1f, false);
        ++frames;
    }
    ASSERT_NE(AnimeFrames, 0) << "no random restart in " << frames << " frames";
    std::vector<int> seen = {AnimeFrame};
    while (AnimeFrames != 0) {
        StoryStep(0.1f, false);
        seen.push_back(AnimeFrame);
    }
    EXPECT_EQ(seen, (std::vector<int>{2, 3, 2, 1, 0, 1}));
}

TEST_F(Animation, ModeFourSlidesTheColumnAndKeepsTheFirstBand) {
    Start(3, 100, 4);
    EXPECT_EQ(Run(7, 0.1f, &AnimeColumn), (std::vector<int>{1, 2, 3, 2, 1, 0, 1}));
    EXPECT_EQ(AnimeFrame, 0);
}

TEST_F(Animation, ModeFiveRunsForwardOnceThenWaitsForARestart) {
    Start(3, 100, 5);
    EXPECT_EQ(Run(3, 0.1f), (std::vector<int>{1, 2, 3}));
    StoryStep(0.1f, false);
    EXPECT_EQ(AnimeFrames, 0);
    EXPECT_EQ(AnimeFrame, 1);
    EXPECT_EQ(AnimeBackward, 1);
}

TEST_F(Animation, AtMostOneTickPerFrameAndTheRestCarriesOver) {
    Start(100, 100, 1);
    // Speed 100: ten ticks a second, so a tick every other frame of 0.05 s.
    EXPECT_EQ(Run(4, 0.05f), (std::vector<int>{0, 1, 1, 2}));
    // Speed 1000 would need ten ticks in a 0.1 s frame: it gets one.
    SetScript({Head(0), Head(1), Head(2), Head(3), Head(4), Head(5), "anime:100", "speed:1000",
               "loopanime:1", Sjis("速い")});
    CurrentLine = 5;
    StoryStep(0.0f);
    EXPECT_EQ(Run(3, 0.1f), (std::vector<int>{1, 2, 3}));
    EXPECT_GT(AnimeClock, 100.0f) << "the time not ticked away is kept";
}

TEST_F(Animation, SpeedAndLoopanimeResetTheFrameButNotTheClockAndAnimeZeroStops) {
    SetScript({Head(0), Head(1), Head(2), Head(3), Head(4), Head(5), "anime:4", "speed:100",
               "loopanime:1", Sjis("一"), "speed:50", Sjis("二"), "loopanime:1", Sjis("三"),
               "anime:0", Sjis("四")});
    StoryStep(0.0f);
    StoryStep(0.1f, false);
    StoryStep(0.05f, false);
    EXPECT_EQ(AnimeFrame, 1);
    EXPECT_FLOAT_EQ(AnimeClock, 5.0f);
    StoryStep(0.0f);
    EXPECT_EQ(AnimeFrame, 0);
    EXPECT_FLOAT_EQ(AnimeClock, 5.0f);
    StoryStep(0.1f, false);  // 5 + 50 x 0.1 = 10: one tick
    EXPECT_EQ(AnimeFrame, 1);
    StoryStep(0.0f);
    EXPECT_EQ(AnimeFrame, 0);
    StoryStep(0.0f);
    EXPECT_EQ(AnimeFrames, 0);
    EXPECT_EQ(AnimeFramesSaved, 4);
}

class Reveal : public StoryTest {
protected:
    // Frames of 16 ms until the whole block of characters is out.
    int FramesUntilWhole(float speed, int characters) {
        kaDraw::TextRectCount = characters + 1;
        for (int i = 0; i <= characters; ++i)
            kaDraw::TextRects[i] = {10 + 28 * i, 385, 38 + 28 * i, 413};
        RevealCount = 0;
        RevealClock = 0.0f;
        Shell.FrameSeconds = 0.016f;
        float delay = speed == 0.0f ? 0.0f : speed * 0.01f;
        int frames = 0;
        while (RevealText(delay) == 0 && frames < 10000) ++frames;
        return frames;
    }
};

TEST_F(Reveal, SpeedZeroShowsTheWholeLineAtOnce) {
    EXPECT_EQ(FramesUntilWhole(0.0f, 6), 0);
    EXPECT_EQ(RevealCount, 8);
}

TEST_F(Reveal, EachSpeedReleasesOneCharacterPerItsDelay) {
    // Six characters: RevealCount climbs from 0 past 7, eight releases in all.
    EXPECT_EQ(FramesUntilWhole(1.0f, 6), 8 * 1);  // 16 ms >= 10 ms
    EXPECT_EQ(FramesUntilWhole(2.0f, 6), 8 * 2);  // 32 ms >= 20 ms
    EXPECT_EQ(FramesUntilWhole(3.0f, 6), 8 * 2);  // 32 ms >= 30 ms
    EXPECT_EQ(FramesUntilWhole(4.0f, 6), 8 * 3);  // 48 ms >= 40 ms
    EXPECT_EQ(FramesUntilWhole(5.0f, 6), 8 * 4);  // 64 ms >= 50 ms
}

TEST_F(Reveal, LongFramesStillReleaseOnlyOneCharacterEach) {
    kaDraw::TextRectCount = 11;
    RevealCount = 0;
    RevealClock = 0.0f;
    Shell.FrameSeconds = 0.2f;
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(RevealText(0.01f), 0);
        EXPECT_EQ(RevealCount, i);
    }
}

}  // namespace

namespace {

TEST_F(Animation, BandsBeyondAnyPictureDrawNothingWhateverTheScriptSays) {
    SetScript({Head(0), Head(1), Head(2), Head(3), Head(4), Head(5), "setscreen:2147483647",
               "setchar:-2147483648", Sjis("一"), "swave:", Sjis("二")});
    StoryStep();
    StoryStep();
    EXPECT_EQ(ScreenFrame, 2147483647);
    kaDraw::PresentBackBuffer();
    const headless::Frame* f = headless::LastFrame();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Pixel(100, 100), 0u) << "nothing drawn over the cleared picture area";
}

}  // namespace
