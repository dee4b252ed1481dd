// Start-up work held until the first frame is out: until then whoever needs it does it
// on the game thread, afterwards it runs on a thread of its own; either way it is done
// once and its result is there for the one who waited.
#include <fluidsynth.h>

#include <thread>

#include "base/start_up_task.h"
#include "draw/text_engine.h"
#include "sound/music_state.h"
#include "tests/shell_test_game.h"

using namespace shelltest;

namespace {

using StartUp = ShellGame;

struct Work {
    StartUpTask task;
    std::thread::id ranOn;
    int runs = 0;
};

void Give(Work* work) {
    StartTask(&work->task, [work] {
        work->ranOn = std::this_thread::get_id();
        ++work->runs;
    });
}

TEST_F(StartUp, HeldWorkIsDoneByWhoeverNeedsItUntilTheFirstFrameLetsItGo) {
    Open(ModeLogo);
    Work held, released, late;
    Give(&held);
    Give(&released);
    EXPECT_EQ(held.runs, 0) << "nothing runs before it is needed or a frame is out";
    EXPECT_TRUE(AwaitTask(&held.task));
    EXPECT_EQ(held.runs, 1);
    EXPECT_EQ(held.ranOn, std::this_thread::get_id());
    EXPECT_FALSE(AwaitTask(&held.task)) << "done once";

    EXPECT_EQ(headless::PresentCount(), 0);
    RunFor(20);
    ASSERT_GE(headless::PresentCount(), 1);
    EXPECT_TRUE(AwaitTask(&released.task));
    EXPECT_EQ(released.runs, 1);
    EXPECT_NE(released.ranOn, std::this_thread::get_id()) << "started by the frame";

    Give(&late);
    EXPECT_TRUE(AwaitTask(&late.task));
    EXPECT_NE(late.ranOn, std::this_thread::get_id()) << "once let go, work starts at once";
}

// The synthesizer with its SoundFont and the table of installed faces are made only after the
// logo's first frame, and are there for the first one to use them.
TEST_F(StartUp, TheSynthesizerAndTheFontTableAreMadeAfterTheFirstFrame) {
    headless::EnableAudio(true);
    Open(ModeLogo);
    EXPECT_EQ(kaMusic::Synth, nullptr);
    EXPECT_EQ(kaDraw::FontTableCount, 0);
    RunFor(20);
    EXPECT_GE(headless::PresentCount(), 1);
    kaMusic::AwaitSoundFont();
    ASSERT_NE(kaMusic::Synth, nullptr);
    EXPECT_EQ(fluid_synth_sfcount(kaMusic::Synth), 1);
    kaDraw::AwaitInstalledFonts();
    EXPECT_GT(kaDraw::FontTableCount, 0);
}

}  // namespace
