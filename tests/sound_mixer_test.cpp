// The mixer on rendered output: clips play sample-exact, overlap, restart, stop and
// follow their volume; a cut voice fades out; the device's callback limits the sum.
#include "story/story.h"
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
    kaSound::Play(id, -1);  // the first again: its copy starts over, the old one fading
    EXPECT_FLOAT_EQ(Render(300)[2 * 299], SawAt(299) + SawAt(309));
    kaSound::Stop(id, 1);
    EXPECT_FLOAT_EQ(Render(300)[2 * 299], SawAt(599));
    kaSound::Stop(id, -1);
    Render(300);
    EXPECT_EQ(Rms(Render(100)), 0.0);
    kaSound::Play(id, -1);
    kaSound::ReleaseObject(id);
    Render(300);
    EXPECT_EQ(Rms(Render(100)), 0.0);
}

TEST_F(MixerTest, VolumeScalesASoundingClip) {
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
}

static double Decibels(double ratio) { return 20.0 * std::log10(ratio); }

// The reader's voice volume lies over the level the script sets: p % is 20 log10(p / 100)
// dB more on the output, 0 % is silence, and the music's volume leaves the voices alone.
TEST_F(MixerTest, TheVoiceVolumeScalesTheOutputByItsDecibelsOverTheScriptsLevel) {
    Write("c.sad", ConstantClip(16384, 100000));
    int id = kaSound::LoadObject("c.sad", 1);
    kaSound::Play(id, 0);
    const double full = Render(1)[0];
    ASSERT_FLOAT_EQ(full, 0.5f);
    struct Case {
        int percent, scriptDb;
        double db;
    } cases[] = {{50, 0, -6.0206}, {5, 0, -26.0206}, {95, -6, -6.4455}, {100, -6, -6.0}};
    for (const Case& c : cases) {
        Preferences.VoiceVolume = c.percent;
        Preferences.MusicVolume = 10;
        ApplyVolumes();
        kaSound::SetVolume(id, c.scriptDb, -1);
        EXPECT_NEAR(Decibels(Render(1)[0] / full), c.db, 0.01)
            << c.percent << " %";
    }
    Preferences.VoiceVolume = 0;
    ApplyVolumes();
    EXPECT_EQ(Rms(Render(100), 10), 0.0) << "0 % is silence";
    ResetPreferences();
}

// A sine of amplitude a at 440 Hz after lead frames of silence, as 16-bit samples.
static std::vector<int16_t> Sine(double amplitude, int lead, int frames) {
    std::vector<int16_t> s(size_t(lead + frames), 0);
    for (int i = 0; i < frames; ++i)
        s[size_t(lead + i)] = int16_t(
            std::lround(32767 * amplitude * std::sin(2 * M_PI * 440 * i / 44100)));
    return s;
}

// Stopping, restarting or freeing a sounding voice fades it out within 10 ms: across the
// cut no sample moves further from the last than the clip's own largest step does.
TEST_F(MixerTest, ACutVoiceFadesOutWithoutAJump) {
    const int lead = 882;  // 20 ms of silence first, so a restart starts silent
    Write("sine.sad", PcmWave(1, 44100, 16, Samples16(Sine(0.5, lead, 44100))));
    int id = kaSound::LoadObject("sine.sad", 1);
    kaSound::Play(id, -1);
    double ownStep = LargestStep(Render(lead + 44100));
    ASSERT_GT(ownStep, 0.02);
    const char* const cuts[] = {"stop", "restart", "release"};
    for (int cut = 0; cut < 3; ++cut) {
        if (id < 0) id = kaSound::LoadObject("sine.sad", 1);
        kaSound::Play(id, -1);
        std::vector<float> before = Render(lead + 1028 + 100 * cut);  // at a crest
        ASSERT_GT(std::fabs(before.back()), 0.3) << cuts[cut];
        if (cut == 0) kaSound::Stop(id, -1);
        if (cut == 1) kaSound::Play(id, -1);
        if (cut == 2) {
            kaSound::ReleaseObject(id);
            id = -1;
        }
        std::vector<float> after = Render(lead - 2);  // a restarted copy is still silent
        after.insert(after.begin(), before.end() - 2, before.end());
        EXPECT_LE(LargestStep(after), ownStep) << cuts[cut];
        EXPECT_EQ(Rms(after, 442, lead - 443), 0.0) << cuts[cut] << ": silent after 10 ms";
        if (id >= 0) kaSound::Stop(id, -1);
        Render(500);
    }
}

// Peaks over -2 dBFS are turned down smoothly, never past -1 dBFS, and never clipped:
// the output is the mix times a gain that moves by at most a 64th a frame. The mix
// under the threshold comes out unchanged, sample for sample, after a short delay.
TEST_F(MixerTest, TheDeviceLimitsLoudSumsSmoothlyAndPassesTheRestUnchanged) {
    std::vector<int16_t> sine = Sine(0.6, 0, 44100 / 2);
    Write("sine.sad", PcmWave(1, 44100, 16, Samples16(sine)));
    int id = kaSound::LoadObject("sine.sad", 3);
    for (int round = 0; round < 2; ++round) {  // the second after a loud sum
        kaSound::Play(id, 0);
        std::vector<float> quiet = PullFromDevice(44100);
        size_t delay = 0, lead = 0;
        while (delay < quiet.size() / 2 && quiet[delay * 2] == 0.0f) ++delay;
        while (sine[lead] == 0) ++lead;
        delay -= lead;
        ASSERT_LT(delay, size_t(100)) << "at most a few milliseconds late";
        for (size_t i = 0; i < sine.size(); ++i)
            ASSERT_EQ(quiet[(delay + i) * 2], sine[i] / 32768.0f) << "round " << round << ", " << i;
        if (round) break;

        for (int j = 0; j < 3; ++j) kaSound::Play(id, j);  // 1.8 at its crests
        std::vector<float> loud = PullFromDevice(44100);
        double peak = 0, lastGain = 0;
        size_t last = 0;
        for (size_t i = 0; i < sine.size(); ++i) {
            double in = 3 * (sine[i] / 32768.0), out = loud[(delay + i) * 2];
            peak = std::max(peak, std::fabs(out));
            ASSERT_LE(std::fabs(out), 0.891251) << i;
            if (std::fabs(in) < 0.2) continue;
            double gain = out / in;
            ASSERT_GT(gain, 0.0) << i;
            if (lastGain > 0) {
                EXPECT_LE(std::fabs(gain - lastGain), double(i - last) / 64 + 1e-5) << i;
            }
            lastGain = gain;
            last = i;
        }
        EXPECT_GT(peak, 0.85) << "the peaks are brought to the ceiling, not far under it";
        PullFromDevice(2 * 44100);  // the gain comes back within a second or so
    }
}
