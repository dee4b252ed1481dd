// The mixer on rendered output: clips play sample-exact, overlap, restart, stop and
// follow their volume; the device's callback clips the sum.
#include "tests/sound_test_files.h"

using namespace soundtest;
using MixerTest = SoundTest;

static float SawAt(int i) { return (i % 1000 + 1) * 32 / 32768.0f; }

TEST_F(MixerTest, VoicesPlaySampleExactOverlapRestartAndStop) {
    std::vector<int16_t> saw;  // longer than a device buffer
    for (int i = 0; i < 3000; ++i) saw.push_back(int16_t((i % 1000 + 1) * 32));
    Write("saw.sad", PcmWave(1, 44100, 16, Samples16(saw)));
    int id = kaSound::LoadObject("saw.sad", 2);
    kaSound::Play(id, 0);
    std::vector<float> out = Render(3100);
    for (int i = 0; i < 6200; ++i) ASSERT_EQ(out[i], i < 6000 ? SawAt(i / 2) : 0.0f) << i;
    kaSound::Play(id, -1);
    Render(300);
    kaSound::Play(id, -1);  // the second buffer joins the first
    EXPECT_FLOAT_EQ(Render(10)[0], SawAt(300) + SawAt(0));
    kaSound::Play(id, -1);  // the first again: its copy starts over
    EXPECT_FLOAT_EQ(Render(1)[0], SawAt(0) + SawAt(10));
    kaSound::Stop(id, 1);
    EXPECT_FLOAT_EQ(Render(1)[0], SawAt(1));
    kaSound::Stop(id, -1);
    EXPECT_EQ(Rms(Render(100)), 0.0);
    kaSound::Play(id, -1);
    kaSound::ReleaseObject(id);
    EXPECT_EQ(Rms(Render(100)), 0.0);
}

TEST_F(MixerTest, VolumeScalesASoundingClipAndTheDeviceClipsTheSum) {
    Write("c.sad", ConstantClip(16384, 1000));
    int id = kaSound::LoadObject("c.sad", 3);
    kaSound::SetVolume(id, -6, -1);
    kaSound::Play(id, 0);
    EXPECT_NEAR(Render(1)[0], 0.5f * 0.50119f, 1e-5) << "-600 halves the amplitude";
    kaSound::SetVolume(id, -2147483647, -1);  // far past -100 dB, without overflowing
    EXPECT_EQ(kaSound::VolumeOf(id, 0), -10000);
    EXPECT_EQ(Rms(Render(100)), 0.0) << "-10000 is silence";
    kaSound::SetVolume(id, 5, -1);
    EXPECT_EQ(Render(1)[0], 0.5f) << "never louder than full";
    kaSound::Play(id, 1);
    kaSound::Play(id, 2);
    float frame[2];
    headless::PullAudio(frame, 1);
    EXPECT_EQ(frame[0], 1.0f) << "three voices clipped by the device callback";
}
