// The mixer on rendered output: clips play sample-exact, overlap, restart and stop; clips
// and the music follow the script's level and the reader's volume, and fade out when cut;
// the device's callback limits the sum.
#include <functional>
#include <utility>

#include "story/frame.h"
#include "tests/sound_test_files.h"
#include "tools/smf_writer.h"

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
}

// The script's level and the reader's volume add their decibels, on a clip's output and
// on the music's: p % is 20 log10(p / 100) dB more, 0 % is silence; the script's level
// is kept as it set it, held to -100 dB (silence) and 0 dB; and each volume leaves the
// other's sound alone.
TEST_F(MusicTest, TheScriptsLevelAndTheReadersVolumeAddUp) {
    Write("c.sad", ConstantClip(16384, 20 * Second));
    const int voice = kaSound::LoadObject("c.sad", 1), music = 0;
    const double silent = -1000;
    struct Case {
        int id, scriptDb, voicePercent, musicPercent;
        double db;
    } cases[] = {
        {voice, 0, 100, 100, 0},         {voice, -6, 100, 100, -6.0206}, {voice, 5, 100, 100, 0},
        {voice, -2147483647, 100, 100, silent}, {voice, 0, 50, 10, -6.0206}, {voice, 0, 5, 10, -26.0206},
        {voice, -6, 95, 10, -6.4455},    {voice, 0, 0, 100, silent},     {music, 0, 100, 100, 0},
        {music, -6, 100, 100, -6.0206},  {music, -6, 0, 25, -18.0618},   {music, 0, 100, 0, silent},
    };
    double full[2] = {0, 0};
    for (const Case& c : cases) {
        Preferences.VoiceVolume = c.voicePercent;
        Preferences.MusicVolume = c.musicPercent;
        ApplyVolumes();
        if (c.id == music) {
            kaSound::Stop(voice, -1);
            Play(60, 960, 1);
            kaMusic::SetMusicVolume(c.scriptDb);
        } else {
            kaSound::Play(voice, 0);
            kaSound::SetVolume(voice, c.scriptDb, -1);
        }
        Render(Second / 10);
        double level = Rms(Render(Second / 2), Second / 10);
        if (!full[c.id == music]) full[c.id == music] = level;
        std::string what = std::to_string(c.scriptDb) + " dB at " + std::to_string(c.voicePercent) + " % and " +
                           std::to_string(c.musicPercent) + " %";
        EXPECT_EQ(kaSound::VolumeOf(c.id, 0), 100 * std::clamp(c.scriptDb, -100, 0)) << what;
        if (c.db == silent) EXPECT_EQ(level, 0.0) << what;
        else EXPECT_NEAR(20 * std::log10(level / full[c.id == music]), c.db, 0.05) << what;
    }
    EXPECT_NEAR(full[0], 0.5, 1e-6) << "a clip at full volume comes out as it was recorded";
    ResetPreferences();
}

// Stopping, restarting or freeing a sounding voice, and stopping or replacing the music,
// fades it out within 10 ms: across the cut no sample moves further from the last than
// the sound's own largest step does, and nothing of it sounds after.
TEST_F(MusicTest, ACutSoundFadesOutWithoutAJump) {
    const int lead = 882;  // 20 ms of silence first: a restarted clip starts silent
    Write("sine.sad", PcmWave(1, 44100, 16, Samples16(Sine(0.5, 440, Second, Second, lead))));
    smf::Track later;
    smf::Note(&later, 0, 192, 960, 67, 100);  // after a rest of 0.2 s: it starts silent
    Write("later.mid", smf::FileBytes({later}, 480, 1152));
    int id = -1;
    struct Case {
        const char* what;
        bool music;
        std::function<void()> cut;
    } cases[] = {
        {"a voice stopped", false, [&] { kaSound::Stop(id, -1); }},
        {"a voice restarted", false, [&] { kaSound::Play(id, -1); }},
        {"a voice freed", false, [&] { kaSound::ReleaseObject(std::exchange(id, -1)); }},
        {"the music stopped", true, [] { kaMusic::StopMusic(); }},
        {"the music replaced", true, [] { kaMusic::PlayMusic("later.mid", 1); }},
    };
    for (const Case& c : cases) {
        if (c.music) {
            Play(60, 960 * 4, 1);
        } else {
            if (id < 0) id = kaSound::LoadObject("sine.sad", 1);
            kaSound::Play(id, -1);
        }
        std::vector<float> sounding = Render(Second / 2);
        double ownStep = LargestStep(sounding, Second / 4), peak = Peak(sounding);
        ASSERT_GT(ownStep, 0.0) << c.what;
        std::vector<float> last = Render(1);  // on to a sample far from zero
        for (int i = 0; i < 2000 && std::fabs(last[0]) < 0.7 * peak; ++i) last = Render(1);
        ASSERT_GE(std::fabs(last[0]), 0.7 * peak) << c.what;
        c.cut();
        std::vector<float> after = Render(lead - 2);
        after.insert(after.begin(), last.begin(), last.end());
        EXPECT_LE(LargestStep(after), ownStep) << c.what;
        EXPECT_EQ(Rms(after, 442), 0.0) << c.what << ": silent 10 ms after";
        kaMusic::StopMusic();
        if (id >= 0) kaSound::Stop(id, -1);
        Render(500);
    }
}

// Peaks over -2 dBFS are turned down smoothly, never past -1 dBFS, and never clipped:
// the output is the mix times a gain that moves by at most a 64th a frame. The mix
// under the threshold comes out unchanged, sample for sample, after a short delay.
TEST_F(MixerTest, TheDeviceLimitsLoudSumsSmoothlyAndPassesTheRestUnchanged) {
    // Left a sine, right the same at half its size and turned over: one gain for both.
    std::vector<int16_t> sine = Sine(0.6, 440, Second, Second / 2), stereo;
    for (int16_t v : sine) stereo.insert(stereo.end(), {v, int16_t(-v / 2)});
    auto right = [&](size_t i) { return stereo[2 * i + 1] / 32768.0f; };
    Write("sine.sad", PcmWave(2, 44100, 16, Samples16(stereo)));
    int id = kaSound::LoadObject("sine.sad", 3);
    for (int round = 0; round < 2; ++round) {  // the second after a loud sum
        kaSound::Play(id, 0);
        std::vector<float> quiet = PullFromDevice(44100);
        size_t delay = 0, lead = 0;
        while (delay < quiet.size() / 2 && quiet[delay * 2] == 0.0f) ++delay;
        while (sine[lead] == 0) ++lead;
        delay -= lead;
        ASSERT_LT(delay, size_t(100)) << "at most a few milliseconds late";
        for (size_t i = 0; i < sine.size(); ++i) {
            ASSERT_EQ(quiet[(delay + i) * 2], sine[i] / 32768.0f) << "round " << round << ", " << i;
            ASSERT_EQ(quiet[(delay + i) * 2 + 1], right(i)) << "round " << round << ", " << i;
        }
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
            ASSERT_NEAR(loud[(delay + i) * 2 + 1], gain * 3 * right(i), 1e-5) << i;
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
