// The message loop's rest: a still page presents once and then nothing; frames run at
// the refresh rate only while something moves; input is answered at once; timed events
// and chances still come on time; and the frames shown are those a frame every refresh
// would show.
#include "sound/kaMusic.h"
#include "sound/music_state.h"
#include "tests/shell_test_game.h"

using namespace shelltest;
using storytest::Sjis;

namespace {

using LoopRest = ShellGame;

const float OneRefresh = float(16666 * 1e-6);  // at the headless display's 60 Hz

TEST_F(LoopRest, AStillPagePresentsOnceThenRestsAndAClickIsShownAtOnce) {
    OpenStory({Sjis("静かな頁"), Sjis("次の頁")});
    int presented = headless::PresentCount();
    EXPECT_EQ(RunFor(10000), 0) << "no frame in ten seconds";
    EXPECT_EQ(headless::PresentCount(), presented);

    uint32_t click = Now() + 345;
    ClickAt(click, 320, 240);
    RunUntil(click + 1);
    EXPECT_EQ(Shell.LastFrameTime, click) << "the click's frame ran when it came";
    EXPECT_FLOAT_EQ(FrameSeconds, OneRefresh) << "and covered one refresh, not the rest";
    EXPECT_EQ(CurrentScene().line, 7);
    EXPECT_EQ(headless::PresentCount(), presented + 1);
}

// The wheel opens the backlog at once out of a rest; auto mode, whose pause is counted in
// frames, keeps them running until it steps, then the page rests again.
TEST_F(LoopRest, TheBacklogAndAutoModeAreServedOutOfARest) {
    OpenStory({Sjis("一"), Sjis("二"), Sjis("三")});
    int line = CurrentScene().line;
    RunFor(5000);
    uint32_t wheel = Now() + 100;
    headless::PushEventAt(wheel, plat::Event{plat::EvWheel, 0, 1, 0, 0, {}});
    RunUntil(wheel + 1);
    EXPECT_TRUE(BacklogOpen);
    EXPECT_EQ(Shell.LastFrameTime, wheel);
    Push(plat::EvKeyDown, 0, 0, 0, 0, plat::KeyEscape);
    RunFor(100);
    EXPECT_FALSE(BacklogOpen);
    EXPECT_EQ(RunFor(5000), 0) << "the story rests again";

    Push(plat::EvKeyDown, 0, 0, 0, 0, plat::KeyA);
    RunFor(1200);  // the pause of a one-character line: 1.05 s
    EXPECT_EQ(CurrentScene().line, line + 1) << "auto mode stepped on time";
    EXPECT_TRUE(AutoModeOnForTest());
}

// A choice and the quit prompt draw their text whole every frame: they rest like a still
// page, and only the pointer moving over a row (its highlight) asks for a frame.
TEST_F(LoopRest, AnOpenChoiceAndTheQuitPromptRestUntilThePointerMoves) {
    struct Case {
        const char* name;
        int x, y;  // the click that opens it
    } cases[] = {{"choice", 320, 240}, {"quit prompt", 580, 336}};
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        OpenStory({Sjis("選ぶ前"), "command:2", "aaaa:" + Sjis("左へ"), "bbbb:" + Sjis("右へ"),
                   Sjis("どちらへ？"), "label:aaaa", Sjis("左"), "label:bbbb", Sjis("右")});
        ClickAt(Now() + 10, c.x, c.y);
        RunFor(200);
        ASSERT_TRUE(CurrentScene().storyState == ChoiceOpen || QuitPromptOpen) << c.name;
        int presented = headless::PresentCount();
        EXPECT_EQ(RunFor(10000), 0) << c.name;
        EXPECT_EQ(headless::PresentCount(), presented) << c.name;

        headless::PushEventAt(Now() + 10, plat::Event{plat::EvPointerMove, 300, 160, 0, 0, {}});
        EXPECT_GE(RunFor(100), 1) << c.name << ": the highlight is drawn";
        EXPECT_EQ(headless::PresentCount(), presented + 1) << c.name;
        EXPECT_EQ(RunFor(5000), 0) << c.name << ": and it rests again";
    }
}

TEST_F(LoopRest, TheMusicPollWakesARestOnTimeAcrossTheClocksWrap) {
    OpenStory({Sjis("静かな頁")});
    const uint32_t start = 0xFFFFF000u;
    headless::SetClock(start + 4000);
    kaMusic::PretendMusicForTest(true, false);  // the poll due at start + 7000, past the wrap
    EXPECT_EQ(RunUntil(start + 6990), 0) << "not due yet";
    EXPECT_EQ(RunUntil(start + 7010), 1);
    EXPECT_EQ(Shell.LastFrameTime, start + 7000) << "polled when due";
    EXPECT_EQ(kaMusic::MusicPlaying, 0) << "nothing was playing: stopped";
    kaMusic::PretendMusicForTest(true, true);
    EXPECT_EQ(RunFor(5000), 0) << "a looping piece is not polled";
    kaMusic::PretendMusicForTest(false, true);
}

TEST_F(LoopRest, ALoopWaitingForItsChanceOfARestartKeepsItsFrameRate) {
    OpenStory({"file:sc1.sad", "setscreen:0", "anime:3", "speed:1000", "loopanime:5",
               Sjis("待つ")});
    ASSERT_EQ(CurrentScene().animeFrames, 0) << "played once, waiting";
    int frames = 0;
    while (CurrentScene().animeFrames == 0 && frames < 100000) frames += RunFor(1000 / 60 + 1);
    EXPECT_NE(CurrentScene().animeFrames, 0) << "a restart came";
    EXPECT_GE(RunFor(1000), 59) << "frames kept running";
}

// The engine's whole story, with input on the ticks of a 50 Hz display: the loop that rests shows
// exactly the pictures a loop composing every refresh shows, in fewer frames.
TEST_F(LoopRest, TheStoryShowsTheSamePicturesAsAFrameEveryRefresh) {
    struct Input {
        uint32_t at;
        plat::EventType type;
        int x, y, button;
    };
    const std::vector<Input> inputs = {
        {4000, plat::EvButtonDown, 320, 240, 1},  // the notice
        {4600, plat::EvButtonDown, 320, 240, 1},  // the title: the story's first line
        {6000, plat::EvButtonDown, 320, 240, 1},  {7000, plat::EvButtonDown, 320, 240, 1},
        {8000, plat::EvPointerMove, 400, 300, 0}, {8500, plat::EvButtonDown, 400, 300, 1},
        {9500, plat::EvButtonDown, 400, 300, 1},  // the wave, then the animation
        {11000, plat::EvButtonDown, 400, 380, 3},  // the system menu ...
        {11500, plat::EvPointerMove, 400, 380, 0},
        {12000, plat::EvButtonDown, 400, 380, 1},  // ... and back
        {13000, plat::EvButtonDown, 400, 380, 1}, {14000, plat::EvButtonDown, 400, 380, 1},
        {15000, plat::EvButtonDown, 400, 380, 1}, {16000, plat::EvPointerMove, 300, 160, 0},
        {16500, plat::EvButtonDown, 300, 160, 1},  // the choice's first branch
        {18000, plat::EvButtonDown, 300, 160, 1}, {19000, plat::EvButtonDown, 300, 160, 1},
    };
    const uint32_t end = 21000, tick = 20;
    std::vector<uint64_t> shown[2];
    int frames[2] = {0, 0};
    for (int run = 0; run < 2; ++run) {
        TearDown();
        SetUp();
        headless::SetRefreshRate(1000 / tick);
        storytest::UseEngineScript(dir);
        Open(ModeLogo);
        for (const Input& in : inputs)
            headless::PushEventAt(in.at, plat::Event{in.type, in.x, in.y, in.button, 1, {}});
        if (run == 0) {
            for (uint32_t t = 0; t < end; t += tick, ++frames[0]) {
                headless::SetClock(t);
                plat::Event ev;
                while (plat::PollEvent(&ev)) HandleWindowEvent(ev);
                RunFrame();
            }
        } else {
            frames[1] = RunUntil(end);
        }
        shown[run] = headless::PresentedHashes();
        EXPECT_EQ(GetGameMode(), ModeEnd) << "run " << run << " reached the end";
    }
    EXPECT_GT(shown[0].size(), 100u);
    EXPECT_EQ(shown[1], shown[0]);
    EXPECT_LT(frames[1], frames[0] * 3 / 4);
}

}  // namespace
