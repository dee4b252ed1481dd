// Going back to a passed line from the backlog: the frames are those of a run that
// stopped there, a choice passed comes back, the flags and the music as they were.
#include "base/random.h"
#include "sound/music_state.h"
#include "tests/engine_script.h"

using namespace storytest;

namespace {

using Frames = std::vector<std::vector<uint32_t>>;

constexpr unsigned Seed = 1848;
constexpr int FramesPerLine = 12;  // after each step, before the next click
constexpr float FrameTime = 0.02f;
constexpr int StepX = 300, StepY = 420;  // where the steps click: the message window

class GoBack : public StoryTest {
protected:
    Frames shown;  // every frame presented by Run, in order

    void SetUp() override {
        StoryTest::SetUp();
        CopyAssets({"panel.sad", "message.sad", "cursol.sad", "comwin.sad", "v_minato_001.sad",
                    "v_sayo_001.sad", "bgm01.mid", "bgm02.mid"});
        WriteEnginePictures(dir);
        InterfacePicture[PicPanel] = LoadPicture("panel.sad");
        InterfacePicture[PicMessage] = LoadPicture("message.sad");
        InterfacePicture[PicCursol] = LoadPicture("cursol.sad");
        InterfacePicture[PicComwin] = LoadPicture("comwin.sad");
        SeedRandom(Seed);
    }
    void Run(bool click = false) {
        Frame(FrameTime, click);
        shown.push_back(headless::LastFrame()->pixels);
    }
    // Steps to the next line with a click at (x, y), or R there, then lets it come out.
    void StepAt(int x, int y, bool byR = false) {
        PointAt(x, y);
        if (byR) KeyDown(plat::KeyR);
        Run(!byR);
        PointAt(StepX, StepY);
        for (int i = 0; i < FramesPerLine; ++i) Run();
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) StepAt(StepX, StepY);
    }
    void OpenTheBacklog() {
        Wheel(1, FrameTime);
        ASSERT_TRUE(BacklogOpen);
    }
    // The middle of entry index's return mark.
    layout::Point MarkOf(int index) {
        int top = BacklogEntryTopForTest(index);
        EXPECT_GE(top, 0) << "entry " << index << " is on the page";
        return {5, top + 20};
    }
    // A run from the start again: every module reset, the same seed.
    void Restart() {
        TearDown();
        SetUp();
        shown.clear();
    }
    // The same frames from index from on, for as many as expected holds.
    static void ExpectSameFrames(const Frames& got, size_t from, const Frames& expected, const char* what) {
        ASSERT_GE(got.size(), from + expected.size()) << what;
        for (size_t i = 0; i < expected.size(); ++i)
            ASSERT_TRUE(got[from + i] == expected[i]) << what << ": frame " << i << " differs";
    }

    // Six lines on two pictures: an animation that restarts by chance, a flag, a larger
    // text, the wave effect, voices and music that change, a second animation.
    void UseStory() {
        SetScript({"file:sc1.sad", "setscreen:0", "midi_play:bgm01.mid", "speed:70", "anime:4",
                   "loopanime:3", "wave_play:v_minato_001.sad", Sjis("一行目、列車が来る。"),
                   "flg:003,1", "size:36", Sjis("二行目の大きな字"),
                   "swave:", Sjis("三行目は揺れている。"),
                   "file:sc0.sad", "setscreen:1", "midi_play:bgm02.mid", "wave_play:v_sayo_001.sad",
                   Sjis("四行目、声がする。"), "anime:2", "loopanime:1", "speed:50",
                   Sjis("五行目は動いている。"), Sjis("六行目"), "end:99"});
    }
};

// Entry t of five, gone back to by its mark (entry 2 by R over its text): the frames are
// those of a run that stepped to that line with a click at the same place; stepping on
// shows the first run's frames again. R over no line, or outside the backlog, does nothing.
TEST_F(GoBack, TheFramesAreThoseOfARunThatStoppedThereAndStepOnAsTheFirstDid) {
    for (int target : {1, 2, 3}) {
        const bool byR = target == 2;
        Restart();
        UseStory();
        Steps(5);
        ASSERT_EQ(BacklogCount(), 5);
        const Frames first = shown;
        OpenTheBacklog();
        if (byR) {
            PointAt(StepX, 2);  // above every line
            KeyDown(plat::KeyR);
            Frame(FrameTime);
            ASSERT_TRUE(BacklogOpen);
            ASSERT_EQ(BacklogCount(), 5);
        }
        const layout::Point mark = byR ? layout::Point{200, BacklogEntryTopForTest(target) + 8} : MarkOf(target);
        const size_t from = shown.size();
        StepAt(mark.x, mark.y, byR);
        ASSERT_FALSE(BacklogOpen);
        EXPECT_EQ(BacklogCount(), target + 1) << "the lines after it are dropped";
        const Frames back(shown.begin() + long(from), shown.end());
        const size_t again = shown.size();
        Steps(4 - target);
        // From the click that left the line gone back to, the first run's frames.
        const long next = long(target + 1) * (FramesPerLine + 1);  // the click to the next line
        ExpectSameFrames(shown, again, Frames(first.begin() + next, first.end()),
                         "stepping on after going back");
        EXPECT_EQ(BacklogCount(), 5);
        KeyDown(plat::KeyR);
        Frame(FrameTime);
        EXPECT_EQ(BacklogCount(), 5) << "R in the story goes nowhere";

        Restart();
        UseStory();
        Steps(target);
        StepAt(mark.x, mark.y);
        ExpectSameFrames(shown, shown.size() - back.size(), back, "a run that stopped there");
    }
}

// Going back to before a choice shows the choice again, the flag as it was before it.
// The lines read stay read, and auto mode stops.
TEST_F(GoBack, BeforeAChoiceTheChoiceComesAgainWithTheFlagsAsTheyWere) {
    SetScript({"flg:001,5", Sjis("前の行"), "command:2", "aaaa:" + Sjis("甲"), "bbbb:" + Sjis("乙"),
               Sjis("選ぶ"), "label:aaaa", "flg:001,1", Sjis("甲の後"), Sjis("甲の次"), "end:99",
               "label:bbbb", "flg:001,2", Sjis("乙の後"), Sjis("乙の次"), "end:99"});
    Steps(1);
    ASSERT_EQ(CurrentScene().line, 7);
    Steps(1);
    ASSERT_EQ(CurrentScene().storyState, ChoiceOpen);
    StepAt(100, 150);  // the first option
    ASSERT_EQ(CurrentScene().line, 14);
    ASSERT_EQ(FlagForTest(1), 1);
    Steps(1);
    ASSERT_EQ(CurrentScene().line, 15);
    EXPECT_TRUE(LineWasRead(14));
    PressA();
    ASSERT_TRUE(AutoModeOnForTest());

    OpenTheBacklog();
    ASSERT_EQ(BacklogCount(), 3);
    const layout::Point mark = MarkOf(0);
    StepAt(mark.x, mark.y);
    EXPECT_FALSE(AutoModeOnForTest()) << "going back stops auto mode";
    EXPECT_EQ(CurrentScene().line, 7);
    EXPECT_EQ(CurrentScene().storyState, ShowingProse);
    EXPECT_EQ(FlagForTest(1), 5) << "the flags as the line was shown";
    EXPECT_EQ(BacklogCount(), 1);
    EXPECT_TRUE(LineWasRead(14)) << "a line read stays read";

    Steps(1);
    ASSERT_EQ(CurrentScene().storyState, ChoiceOpen) << "the choice again";
    // Gone back to from the open choice itself: it closes, and opens again at the step.
    OpenTheBacklog();
    const layout::Point again = MarkOf(0);
    StepAt(again.x, again.y);
    EXPECT_EQ(CurrentScene().storyState, ShowingProse);
    Steps(1);
    EXPECT_EQ(CurrentScene().storyState, ChoiceOpen);
}

// The line's piece starts again, even one that plays already; after midi_stop: none
// plays; with the music off nothing plays, but the piece is kept for when it comes on.
TEST_F(GoBack, TheMusicAskedForAtTheLineStartsAgain) {
    SetScript({"midi_play:bgm01.mid", Sjis("一"), Sjis("二"), "midi_play:bgm02.mid", Sjis("三"),
               "midi_stop:", Sjis("四"), "midi_play:bgm01.mid", Sjis("五"), "end:99"});
    Steps(5);
    ASSERT_EQ(kaMusic::MusicPlaying, 1);
    // Goes back to entry; the clock's time in the frame of the click.
    auto goBackTo = [this](int entry) {
        OpenTheBacklog();
        const layout::Point mark = MarkOf(entry);
        const uint32_t clicked = plat::Milliseconds() + uint32_t(std::lround(FrameTime * 1000));
        StepAt(mark.x, mark.y);
        EXPECT_EQ(BacklogCount(), entry + 1);
        return clicked;
    };
    goBackTo(3);
    EXPECT_EQ(kaMusic::MusicPlaying, 0) << "none was asked for at that line";
    EXPECT_STREQ(CurrentScene().music, "");
    for (int entry : {2, 2, 0}) {
        const uint32_t clicked = goBackTo(entry);
        EXPECT_STREQ(CurrentScene().music, entry ? "bgm02.mid" : "bgm01.mid");
        EXPECT_EQ(kaMusic::MusicPlaying, 1);
        EXPECT_EQ(kaMusic::NextPollForTest(), clicked + 3000) << "started from the click on, entry " << entry;
    }
    Steps(2);
    SwitchMusic(1);
    goBackTo(2);
    EXPECT_EQ(kaMusic::MusicPlaying, 0) << "music is off";
    EXPECT_STREQ(CurrentScene().music, "bgm02.mid");
}

// Loop mode 4's sideways scroll comes back with its line, as the other animations do.
TEST_F(GoBack, ASidewaysAnimationComesBackToItsColumn) {
    SetScript({"file:sc0.sad", "speed:500", "anime:40", "loopanime:4", Sjis("一"), Sjis("二"), Sjis("三"),
               "end:99"});
    Steps(2);  // 二 shown with the scroll under way
    const int column = CurrentScene().animeColumn;
    Steps(1);
    OpenTheBacklog();
    StepAt(MarkOf(1).x, MarkOf(1).y);
    EXPECT_EQ(CurrentScene().animeColumn, column);
}

// The flags of 330 lines, changed every 20 lines: as the backlog wraps and is gone back
// into, each entry gives back its own flags.
TEST_F(GoBack, EachEntryGivesBackItsFlagsAsTheBacklogWraps) {
    std::vector<std::string> body;
    for (int i = 0; i < 330; ++i) {
        if (i % 20 == 0) body.push_back("flg:002," + std::to_string(i / 20 + 1));
        body.push_back(Sjis("行") + std::to_string(i));
    }
    body.push_back("end:99");
    SetScript(body);
    PointAt(StepX, StepY);
    for (int i = 0; i < 330; ++i) Frame(0.016f, true);
    ASSERT_EQ(BacklogCount(), BacklogCapacity);
    // Lines 30 to 329 are held (entry e is line e + 30): flags 2 (30 to 39) to 17.
    EXPECT_EQ(std::string(LineText(BacklogLine(0))), Sjis("行") + "30");

    struct Case {
        int entry, flag;
    };
    // Newest first: each goes back further, so the later entries are gone each time.
    for (Case c : {Case{250, 15}, Case{90, 7}, Case{10, 3}, Case{9, 2}, Case{0, 2}}) {
        const int line = BacklogLine(c.entry);
        OpenTheBacklog();
        for (int n = 0; n < BacklogCapacity && BacklogEntryTopForTest(c.entry) < 0; ++n) Wheel(1);
        StepAt(MarkOf(c.entry).x, MarkOf(c.entry).y);
        EXPECT_EQ(CurrentScene().line, line) << c.entry;
        EXPECT_EQ(FlagForTest(2), c.flag) << c.entry;
        EXPECT_EQ(BacklogCount(), c.entry + 1) << c.entry;
    }
    // Stepping on to the last line again fills the backlog as the first run did.
    for (int i = 0; i < 299; ++i) Frame(0.016f, true);
    EXPECT_EQ(BacklogCount(), BacklogCapacity);
    EXPECT_EQ(std::string(LineText(CurrentScene().line)), Sjis("行") + "329");
}

}  // namespace
