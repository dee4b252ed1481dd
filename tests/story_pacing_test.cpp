// What moves with the clock: the animation loop modes, the release of characters, and a
// voice clip reaching the output within 50 ms of the frame whose step plays it.
#include <algorithm>

#include "sound/sound_state.h"
#include "tests/sound_test_files.h"
#include "tests/story_test_table.h"

using namespace storytest;

namespace {

class Pacing : public StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        CopyAssets({"v_minato_001.sad"});
    }
};

TEST_F(Pacing, EachLoopModeRunsItsOwnSequenceOfBands) {
    struct Case {
        int loop;
        std::vector<int> seen;  // CurrentScene().animeFrame after each tick (AnimeColumn in mode 4)
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
            seen.push_back(c.loop == 4 ? CurrentScene().animeColumn : CurrentScene().animeFrame);
        }
        EXPECT_EQ(seen, c.seen) << "loop mode " << c.loop;
        EXPECT_EQ(CurrentScene().animeFrames, c.framesAfter) << "loop mode " << c.loop;
        EXPECT_EQ(c.loop == 0 ? CurrentScene().screenFrame : 3, 3) << "mode 0 leaves the last band";
        EXPECT_EQ(c.loop == 4 ? CurrentScene().animeFrame : 0, 0) << "mode 4 keeps the first band";
    }
    int frames = 0;  // mode 3 restarts at random, then plays one ping-pong
    while (CurrentScene().animeFrames == 0 && ++frames < 100000) StoryStep(0.1f, false);
    std::vector<int> seen = {CurrentScene().animeFrame};
    while (CurrentScene().animeFrames != 0) {
        StoryStep(0.1f, false);
        seen.push_back(CurrentScene().animeFrame);
    }
    EXPECT_EQ(seen, (std::vector<int>{2, 3, 2, 1, 0, 1}));
}

TEST_F(Pacing, AtMostOneAnimationTickPerFrameAndTheRestCarriesOver) {
    SetScript({"anime:100", "speed:100", "loopanime:1", Sjis("一"), "speed:1000", Sjis("二")});
    StoryStep(0.0f);
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i) {
        StoryStep(0.05f, false);
        seen.push_back(CurrentScene().animeFrame);
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 1, 2}));
    StoryStep(0.0f);  // speed 1000 would need ten ticks in a frame of 0.1 s
    StoryStep(0.1f, false);
    StoryStep(0.1f, false);
    EXPECT_EQ(CurrentScene().animeFrame, 2);
    EXPECT_GT(CurrentScene().animeClock, 100.0f) << "the time not ticked away is kept";
}

// The first frame of interleaved stereo whose sample is not zero, or -1.
long FirstSound(const std::vector<float>& s) {
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i] != 0.0f) return long(i / 2);
    return -1;
}

TEST_F(Pacing, TheClipStartsWithin50msOfTheFrameThatPlaysIt) {
    SetScript({Sjis("前の行"), "wave_play:v_minato_001.sad", Sjis("声の行"), Sjis("次")});
    std::vector<uint8_t> format, data;
    std::vector<float> clip;
    ASSERT_EQ(kaSound::ReadWaveFile((dir / "v_minato_001.sad").c_str(), &format, &data), 0);
    ASSERT_TRUE(kaSound::ConvertClip(format, data, &clip));
    long clipLead = FirstSound(clip);
    ASSERT_GE(clipLead, 0);

    // 60 frames a second, each followed by its 735 frames of output; the click of frame
    // 30, with the line before shown whole, steps onto the voiced line.
    const int perFrame = kaSound::OutputRate / 60;
    std::vector<float> out;
    long playedAt = -1;
    Frame(0.016f, true);
    for (int frame = 0; frame < 60; ++frame) {
        int before = CurrentScene().line;
        Frame(1.0f / 60, frame == 30);
        if (CurrentScene().line != before && before == 6) playedAt = long(out.size() / 2);
        out.resize(out.size() + 2 * perFrame);
        headless::PullAudio(out.data() + out.size() - 2 * perFrame, perFrame);
    }
    ASSERT_GE(playedAt, 0) << "the click did not step onto the voiced line";
    long heard = FirstSound(out);
    ASSERT_GE(heard, 0) << "the clip never reached the output";
    long start = heard - clipLead;  // where the clip's first frame went
    EXPECT_GE(start, playedAt);
    EXPECT_LE(start - playedAt, kaSound::OutputRate / 20)
        << (start - playedAt) * 1000 / kaSound::OutputRate << " ms late";
    // What follows is the clip itself, at full volume.
    long n = std::min<long>(2 * perFrame, long(out.size()) - 2 * heard);
    for (long i = 0; i < n; ++i)
        ASSERT_FLOAT_EQ(out[2 * heard + i], clip[2 * clipLead + i]) << "sample " << i;
}

// Two clips of one step both sound; the next step stops only the second. A clip is freed
// once silent, never while it sounds, so many such steps never fill the table.
TEST_F(Pacing, TwoClipsOfOneStepBothSoundAndTheNextStepStopsOnlyTheSecond) {
    auto writeClip = [this](const char* name, const soundtest::Bytes& clip) {
        WriteFile(dir / name, std::string(clip.begin(), clip.end()));
    };
    writeClip("a.sad", soundtest::ConstantClip(8192, 44100));  // a second at 0.25
    writeClip("b.sad", soundtest::ConstantClip(4096, 4410));   // a tenth at 0.125
    std::vector<std::string> body = {Sjis("前"), "wave_play:a.sad", "wave_play:b.sad",
                                     Sjis("二つの声"), Sjis("次")};
    for (int i = 0; i < 100; ++i)
        body.insert(body.end(), {"wave_play:a.sad", "wave_play:b.sad", Sjis("声")});
    SetScript(body);
    StoryStep();
    StoryStep();
    int second = VoiceId, first = -1;
    for (int id = 0; id < kaSound::ObjectCount; ++id)
        if (id != second && std::string(kaSound::NameOf(id)) == "a.sad") first = id;
    ASSERT_GE(first, 0) << "the first clip is still loaded";
    EXPECT_EQ(std::string(kaSound::NameOf(second)), "b.sad");
    EXPECT_EQ(soundtest::Render(100)[2 * 99], 0.25f + 0.125f) << "both sound";
    StoryStep();
    EXPECT_EQ(soundtest::Render(1000)[2 * 999], 0.25f) << "only the second stopped";
    EXPECT_EQ(kaSound::InUse(first), 1);

    // Each step's long clip plays on under the next; a step without a pull between gives
    // the clips no time to end.
    for (int i = 0; i < 97; ++i) {
        StoryStep();
        if (i % 3) soundtest::Render(44100);
    }
    EXPECT_TRUE(headless::MessageBoxes().empty()) << headless::MessageBoxes().back().text;
    int inUse = 0;
    for (int id = 0; id < kaSound::ObjectCount; ++id) inUse += kaSound::InUse(id);
    EXPECT_LE(inUse, 6) << "the music's, and the clips of the last few steps";
}

}  // namespace
