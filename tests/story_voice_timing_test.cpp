// A voice clip reaches the output with its line: the mixer's output, pulled a frame's
// worth at a time as the device pulls it, holds the clip from within 50 ms of the frame
// whose step runs its wave_play: line.
#include <algorithm>

#include "sound/sound_state.h"
#include "tests/story_test_table.h"

using namespace storytest;

namespace {

class VoiceTiming : public StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        CopyFromGame({"v_minato_001.sad"});
    }
};

// The first frame of interleaved stereo whose sample is not zero, or -1.
long FirstSound(const std::vector<float>& s) {
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i] != 0.0f) return long(i / 2);
    return -1;
}

TEST_F(VoiceTiming, TheClipStartsWithin50msOfTheFrameThatPlaysIt) {
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
        int before = CurrentLine;
        Frame(1.0f / 60, frame == 30);
        if (CurrentLine != before && before == 6) playedAt = long(out.size() / 2);
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

}  // namespace
