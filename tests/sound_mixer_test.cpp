// The mixer on rendered output: clips play sample-exact, restart, stop, follow their
// volume, and an object's buffers overlap.
#include "tests/sound_test_files.h"

namespace soundtest {
namespace {

class MixerTest : public SoundTest {
protected:
    // A 44.1 kHz mono saw of frames samples: sample i is (i % 1000 + 1) / 1024.
    int LoadRamp(int frames, int mix) {
        std::vector<int16_t> samples;
        for (int i = 0; i < frames; ++i) samples.push_back(int16_t((i % 1000 + 1) * 32));
        Write("ramp.sad", PcmWave(1, 44100, 16, Samples16(samples)));
        return kaSound::LoadObject("ramp.sad", mix);
    }
    static float RampAt(int i) { return (i % 1000 + 1) * 32 / 32768.0f; }
};

TEST_F(MixerTest, ClipPlaysSampleExactAndEndsOnItsLastFrame) {
    const int frames = 3000;  // longer than one device buffer
    int id = LoadRamp(frames, 1);
    ASSERT_EQ(id, 0);
    EXPECT_EQ(Peak(Render(100)), 0.0) << "nothing plays before Play";
    kaSound::Play(id, -1);
    std::vector<float> out = Render(frames + 100);
    for (int i = 0; i < frames; ++i) {
        ASSERT_EQ(out[2 * i], RampAt(i)) << "frame " << i;
        ASSERT_EQ(out[2 * i + 1], RampAt(i)) << "frame " << i;
    }
    for (int i = frames; i < frames + 100; ++i) ASSERT_EQ(out[2 * i], 0.0f) << "frame " << i;
    EXPECT_EQ(headless::AudioLockDepth(), 0);
}

TEST_F(MixerTest, SecondPlayRestartsAndStopSilences) {
    int id = LoadRamp(2000, 1);
    kaSound::Play(id, -1);
    Render(500);
    kaSound::Play(id, -1);
    std::vector<float> out = Render(10);
    EXPECT_EQ(out[0], RampAt(0)) << "restarted from the beginning";
    EXPECT_EQ(out[18], RampAt(9));
    kaSound::Stop(id, -1);
    EXPECT_EQ(Peak(Render(500)), 0.0);
    kaSound::Play(id, 0);  // a stopped clip starts again from its first frame
    EXPECT_EQ(Render(1)[0], RampAt(0));
}

TEST_F(MixerTest, VolumeScalesTheClip) {
    Write("c.sad", ConstantClip(16384, 1000));
    int id = kaSound::LoadObject("c.sad", 1);
    kaSound::SetVolume(id, -6, -1);
    kaSound::Play(id, -1);
    EXPECT_NEAR(Render(1)[0], 0.5f * 0.50119f, 1e-5) << "-600 is half the amplitude";
    kaSound::SetVolume(id, -100, -1);
    EXPECT_EQ(Peak(Render(100)), 0.0) << "-10000 is silence";
    kaSound::SetVolume(id, 0, 0);
    EXPECT_EQ(Render(1)[0], 0.5f) << "volume changes apply to a sounding clip";
}

TEST_F(MixerTest, BuffersOfOneObjectOverlap) {
    int id = LoadRamp(2000, 2);
    kaSound::Play(id, -1);
    Render(300);
    kaSound::Play(id, -1);  // the second buffer starts while the first still sounds
    std::vector<float> out = Render(10);
    EXPECT_FLOAT_EQ(out[0], RampAt(300) + RampAt(0));
    // The third play takes the first buffer again: the oldest copy is cut.
    kaSound::Play(id, -1);
    out = Render(1);
    EXPECT_FLOAT_EQ(out[0], RampAt(0) + RampAt(10));
    // Stop with selector 1 leaves buffer 0 sounding.
    kaSound::Stop(id, 1);
    EXPECT_FLOAT_EQ(Render(1)[0], RampAt(1));
}

TEST_F(MixerTest, ReleasedObjectFallsSilent) {
    int id = LoadRamp(2000, 1);
    kaSound::Play(id, -1);
    Render(10);
    kaSound::ReleaseObject(id);
    EXPECT_EQ(Peak(Render(100)), 0.0);
    EXPECT_EQ(kaSound::InUse(id), 0);
}

TEST_F(MixerTest, DeviceCallbackKeepsTheSumInRange) {
    Write("loud.sad", ConstantClip(32767, 100));
    int id = kaSound::LoadObject("loud.sad", 3);
    for (int i = 0; i < 3; ++i) kaSound::Play(id, -1);
    std::vector<float> out(200, 0.0f);
    headless::PullAudio(out.data(), 100);
    EXPECT_EQ(out[0], 1.0f);
    for (int i = 0; i < 3; ++i) kaSound::Play(id, -1);
    EXPECT_GT(Render(1)[0], 1.0f) << "the mixer itself does not clip";
}

}  // namespace
}  // namespace soundtest
