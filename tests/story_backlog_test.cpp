// The backlog: which lines it holds, the clip a click replays, the clicks it swallows,
// and the story it gives back exactly as it found it.
#include "tests/story_test_table.h"

using namespace storytest;

namespace {

class Backlog : public StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        CopyAssets({"sc01.sad", "v_minato_001.sad", "se_rail_ring.sad"});
    }
    // A voiced line, 14 more, then a line half out over a running animation.
    void PlayUpToTheLastLine() {
        std::vector<std::string> body = {"file:sc01.sad", "setscreen:0", "wave_play:v_minato_001.sad",
                                         Sjis("声のある行")};
        for (int i = 0; i < 14; ++i) body.push_back(Sjis("行") + std::to_string(i));
        body.insert(body.end(), {"anime:4", "speed:70", "loopanime:1",
                                 Sjis("雪がゆらゆらと揺れている。遠くから列車の灯りが近づく。"),
                                 "end:99"});
        SetScript(body);
        for (int i = 0; i < 16; ++i) Frame(0.016f, true);
        for (int i = 0; i < 5; ++i) Frame(0.02f);  // half revealed, animation running
    }
    std::vector<uint32_t> Shown() { return headless::LastFrame()->pixels; }
};

// The id of the clip of that name that sounds, or -1.
int NamedVoicePlaying(const char* name) {
    for (int id = 1; id < kaSound::ObjectCount; ++id)
        if (std::string(kaSound::NameOf(id)) == name && kaSound::SecondsLeft(id) > 0.0f) return id;
    return -1;
}

// A sound effect sounds with its line but is no one's voice: a line keeps the voice
// played after the effect in its step, and a line with only an effect has none.
TEST_F(Backlog, HoldsTheShownLinesInOrderAcrossAChoiceAndOnlyThoseSinceALoad) {
    SetScript({"wave_play:se_rail_ring.sad", "wave_play:v_minato_001.sad", Sjis("一"), "wave_play:se_rail_ring.sad",
               Sjis("二"), "command:2", "aaaa:" + Sjis("甲"), "bbbb:" + Sjis("乙"), Sjis("選ぶ"), "label:aaaa",
               Sjis("甲の後"), Sjis("終わり")});
    Frame(0.016f, true);
    Frame(0.016f, true);
    Frame(0.016f, true);
    ASSERT_EQ(CurrentScene().storyState, ChoiceOpen);
    PointAt(100, 150);
    Frame(0.016f, true);
    EXPECT_EQ(CurrentScene().line, 16);
    const int shown[] = {8, 10, 16};
    ASSERT_EQ(BacklogCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(BacklogLine(i), shown[i]) << i;
    EXPECT_EQ(BacklogVoiceLine(0), 7);
    EXPECT_EQ(BacklogVoiceLine(1), -1);

    ASSERT_TRUE(SaveSlot(0));
    Frame(0.016f, true);
    MenuClick(layout::LoadRow.Button(0).left, layout::LoadRow.Button(0).top);
    EXPECT_EQ(BacklogCount(), 0) << "a load starts the backlog afresh";
    Frame(0.016f, true);  // the notice closes on the loaded line
    Frame(0.016f, true);
    ASSERT_EQ(BacklogCount(), 1);
    EXPECT_EQ(BacklogLine(0), 17);
}

// After the backlog is scrolled, clicked and closed (each of three ways), the engine and
// the picture are those of a run that never opened it.
TEST_F(Backlog, ClosesBackToExactlyTheStoryItOpenedOn) {
    PlayUpToTheLastLine();
    Frame(0.02f);
    Frame(0.0f);
    const std::vector<uint32_t> expected = Shown();
    const int line = CurrentScene().line, reveal = RevealCount, frame = CurrentScene().animeFrame;
    const float clock = CurrentScene().animeClock;
    ASSERT_LT(RevealCount, MessageLayout().count) << "the line is still coming out";

    enum Close { RightClick, Escape, WheelDown };
    for (Close how : {RightClick, Escape, WheelDown}) {
        TearDown();
        SetUp();
        PlayUpToTheLastLine();
        Wheel(1, 0.02f);
        ASSERT_TRUE(BacklogOpen);
        Wheel(3, 0.5f);
        PointAt(300, 445);
        Frame(0.5f, true);  // a click on an unvoiced line: swallowed
        PointAt(0, 0);
        Wheel(-3, 0.5f);  // back to the newest line
        ASSERT_TRUE(BacklogOpen) << how;
        EXPECT_EQ(CurrentScene().line, line) << "no click reached the story";
        if (how == RightClick) Frame(0.5f, false, true);
        if (how == Escape) {
            HandleWindowEvent(plat::Event{plat::EvKeyDown, 0, 0, 0, 0, plat::KeyEscape});
            Frame(0.5f);
            InputState.EscapeKey = 0;
            EXPECT_EQ(Shell.ShutdownDone, 0) << "Escape closes the backlog, not the game";
        }
        if (how == WheelDown) Wheel(-1, 0.5f);
        EXPECT_FALSE(BacklogOpen) << how;
        EXPECT_EQ(GetGameMode(), ModeStory) << "a right click does not open the menu";
        EXPECT_EQ(CurrentScene().line, line) << how;
        EXPECT_EQ(RevealCount, reveal) << how;
        EXPECT_EQ(CurrentScene().animeFrame, frame) << how;
        EXPECT_EQ(CurrentScene().animeClock, clock) << how;
        EXPECT_TRUE(Shown() == expected) << "the story's picture, close " << how;
    }
}

TEST_F(Backlog, AClickOnAVoicedLineReplaysItsClipAndAnOpenChoiceSurvives) {
    SetScript({Sjis("前"), "wave_play:v_minato_001.sad", Sjis("声"), "command:2", "aaaa:" + Sjis("甲"),
               "bbbb:" + Sjis("乙"), Sjis("選ぶ"), "label:aaaa", Sjis("甲の後")});
    Frame(0.016f, true);
    Frame(0.016f, true);
    int story = VoiceId;
    ASSERT_EQ(NamedVoicePlaying("v_minato_001.sad"), story);
    Wheel(1);
    ASSERT_TRUE(BacklogOpen);
    PointAt(300, 300);  // above both lines: nothing
    Frame(0.016f, true);
    EXPECT_EQ(NamedVoicePlaying("v_minato_001.sad"), story) << "only the story's clip sounds";
    PointAt(300, 445);  // the newest line, at the page's foot
    Frame(0.016f, true);
    int replay = NamedVoicePlaying("v_minato_001.sad");
    EXPECT_GE(replay, 0);
    EXPECT_NE(replay, story) << "its own copy plays";
    EXPECT_EQ(kaSound::SecondsLeft(story), 0.0f) << "the story's clip gave way";
    Frame(0.016f, false, true);
    EXPECT_FALSE(BacklogOpen);
    EXPECT_FALSE(kaSound::InUse(replay)) << "the replay ends with the backlog";

    Frame(0.016f, true);
    ASSERT_EQ(CurrentScene().storyState, ChoiceOpen);
    Wheel(1);
    ASSERT_TRUE(BacklogOpen);
    Frame(0.016f, false, true);
    PointAt(100, 150);
    Frame(0.016f, true);
    EXPECT_EQ(CurrentScene().line, 14) << "the choice was still open and takes the click";
}

// Each mark of a line answers in a box of 17 pixels a side or more, left of the line:
// the voice square replays the clip, the return arrow goes back to the line.
TEST_F(Backlog, ItsMarksAnswerInBoxesAFingerFinds) {
    SetScript({"wave_play:v_minato_001.sad", Sjis("声のある行"), Sjis("次の行"), "end:99"});
    Frame(0.016f, true);
    Frame(0.016f, true);
    const struct { int x, y; bool back; } corners[] = {{0, -5, false}, {18, 11, false}, {0, 12, true}, {18, 28, true}};
    for (auto c : corners) {
        if (VoiceId >= 0) kaSound::Stop(VoiceId, -1);
        Wheel(1);
        ASSERT_TRUE(BacklogOpen);
        PointAt(c.x, BacklogEntryTopForTest(0) + c.y);
        Frame(0.016f, true);
        EXPECT_EQ(BacklogOpen, !c.back) << c.x << "," << c.y;
        EXPECT_EQ(CurrentScene().line, c.back ? 7 : 8) << c.x << "," << c.y;
        EXPECT_TRUE(c.back || NamedVoicePlaying("v_minato_001.sad") >= 0) << c.x << "," << c.y;
        Frame(0.016f, c.back, !c.back);  // back to the line after, or the page closed
    }
}

}  // namespace
