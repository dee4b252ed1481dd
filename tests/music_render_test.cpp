// Music rendered offline through the mixer: pieces sound, loop without a gap, stop,
// follow object 0's volume and replace each other; missing files stay silent.
#include "shell/shell.h"
#include "tests/sound_test_files.h"

namespace soundtest {
namespace {

constexpr int Second = 44100;

class MusicTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        ASSERT_EQ(kaMusic::Init(), 1);
    }
};

// Longest run of 5 ms blocks whose level is below a whisper, in milliseconds.
int LongestSilenceMs(const std::vector<float>& s, size_t firstFrame, size_t lastFrame) {
    const size_t block = Second / 200;
    int run = 0, longest = 0;
    for (size_t at = firstFrame; at + block <= lastFrame; at += block) {
        run = Rms(s, at, block) < 1e-4 ? run + 5 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

TEST_F(MusicTest, SynthesizerHoldsObjectZeroAndVoicesStartAtOne) {
    EXPECT_EQ(kaSound::InUse(0), 1);
    EXPECT_EQ(kaSound::MixCountOf(0), 1);
    EXPECT_STREQ(kaSound::NameOf(0), "DirectMusic");
    Write("v.sad", ConstantClip(1000, 100));
    EXPECT_EQ(kaSound::LoadObject("v.sad", 1), 1);
    kaSound::ReleaseObject(0);
    EXPECT_EQ(kaSound::InUse(0), 1) << "object 0 belongs to the music";
    EXPECT_EQ(Boxes(), 0u);
}

TEST_F(MusicTest, PieceSoundsAndLoopsWithoutAGap) {
    Write("loop.mid", MidiChord({60, 64, 67}, 960));  // one second
    kaMusic::PlayMusic("loop.mid", 1);
    EXPECT_EQ(kaMusic::MusicPlaying, 1);
    std::vector<float> out = Render(3 * Second);
    EXPECT_GT(Rms(out, Second / 10, Second / 2), 0.01) << "the piece sounds";
    EXPECT_GT(Rms(out, Second * 3 / 2, Second / 2), 0.01) << "still sounds after its end";
    EXPECT_LT(LongestSilenceMs(out, Second / 10, 3 * Second), 100) << "gap at the loop point";
    EXPECT_EQ(kaMusic::PollMusicEnd(), 1) << "a looping piece never ends";
}

TEST_F(MusicTest, LoopRestartsAtTheEndOfTheLongestTrack) {
    // Format 1: a conductor track with a tempo of 60 beats a minute, and a half-second
    // note followed by a half-second rest. The piece lasts one second and starts again.
    Bytes conductor = {0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0x00, 0xFF, 0x2F, 0x00};
    Write("rest.mid", MidiFile(1, {conductor, ChordTrack({60, 67}, 240, 240)}));
    kaMusic::PlayMusic("rest.mid", 1);
    std::vector<float> out = Render(3 * Second);
    EXPECT_GT(Rms(out, Second / 10, Second / 5), 0.005) << "the piece sounds";
    EXPECT_LT(Rms(out, Second * 8 / 10, Second / 10), 0.002) << "the rest is heard";
    EXPECT_GT(Rms(out, Second * 21 / 20, Second / 5), 0.005) << "restarted after one second";
    EXPECT_GT(Rms(out, Second * 41 / 20, Second / 5), 0.005) << "and again";
}

TEST_F(MusicTest, NonLoopingPieceEndsAndThePollStopsIt) {
    Write("once.mid", MidiChord({60}, 480));
    kaMusic::PlayMusic("once.mid", 0);
    Render(Second / 4);
    EXPECT_EQ(kaMusic::PollMusicEnd(), 1);
    std::vector<float> out = Render(3 * Second);
    EXPECT_LT(Rms(out, 2 * Second, Second), 1e-4) << "silent after its end";
    EXPECT_EQ(kaMusic::PollMusicEnd(), 0);
    EXPECT_EQ(kaMusic::MusicPlaying, 0);
}

TEST_F(MusicTest, FirstEndPollComesThreeSecondsAfterTheStart) {
    Write("once.mid", MidiChord({60}, 480));
    headless::SetClock(5000);
    kaMusic::PlayMusic("once.mid", 0);
    EXPECT_EQ(Shell.NextMusicPoll, 8000u);
}

TEST_F(MusicTest, StopMusicSilencesAtOnce) {
    Write("loop.mid", MidiChord({60, 64}, 960));
    kaMusic::PlayMusic("loop.mid", 1);
    Render(Second / 2);
    kaMusic::StopMusic();
    EXPECT_EQ(kaMusic::MusicPlaying, 0);
    EXPECT_EQ(headless::AudioLockDepth(), 0);
    EXPECT_EQ(Peak(Render(Second / 2)), 0.0);
    kaMusic::StopMusic();  // nothing playing: nothing happens
    EXPECT_EQ(kaMusic::MusicPlaying, 0);
}

TEST_F(MusicTest, MinusSixDecibelsHalvesTheMusic) {
    Write("loop.mid", MidiChord({60, 64, 67}, 960));
    kaMusic::PlayMusic("loop.mid", 1);
    double full = Rms(Render(Second / 2), Second / 10, Second * 4 / 10);
    kaMusic::PlayMusic("loop.mid", 1);
    kaMusic::SetMusicVolume(-6);
    EXPECT_EQ(kaSound::VolumeOf(0, 0), -600);
    double quieter = Rms(Render(Second / 2), Second / 10, Second * 4 / 10);
    ASSERT_GT(full, 0.01);
    EXPECT_NEAR(quieter / full, 0.501, 0.01);
}

TEST_F(MusicTest, SecondPieceReplacesTheFirst) {
    // A long low piece, then a short high one: after the second ends, nothing of the
    // first may still sound.
    Write("low.mid", MidiChord({36}, 960 * 10));
    Write("high.mid", MidiChord({84}, 480));
    kaMusic::PlayMusic("low.mid", 1);
    Render(Second / 2);
    kaMusic::PlayMusic("high.mid", 0);
    std::vector<float> out = Render(3 * Second);
    EXPECT_GT(Rms(out, Second / 10, Second / 5), 0.005) << "the second piece sounds";
    EXPECT_LT(Rms(out, 2 * Second, Second), 1e-4) << "the first piece was stopped";
}

TEST_F(MusicTest, MissingOrBrokenFileIsSilentWithoutABox) {
    // Each broken file would leave a looping player spinning on the audio thread.
    Bytes good = MidiChord({60}, 960);
    Bytes truncated(good.begin(), good.end() - 6);
    Bytes tooManyTracks = good;
    tooManyTracks[11] = 2;
    Bytes noLength = MidiChord({60}, 0);
    Bytes runningStatusFirst = good;
    runningStatusFirst[22 + 1] = 0x40;  // the program change's status byte
    Write("header.mid", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 1, 0xE0, 'M'});
    Write("truncated.mid", truncated);
    Write("tracks.mid", tooManyTracks);
    Write("empty.mid", noLength);
    Write("running.mid", runningStatusFirst);
    Write("noise.mid", Bytes(200, 0x90));
    for (const char* name : {"absent.mid", "header.mid", "truncated.mid", "tracks.mid",
                             "empty.mid", "running.mid", "noise.mid"}) {
        kaMusic::PlayMusic(name, 1);
        EXPECT_EQ(kaMusic::MusicPlaying, 1) << name;
        EXPECT_EQ(Peak(Render(Second / 4)), 0.0) << name;
    }
    EXPECT_EQ(Boxes(), 0u);
}

TEST_F(MusicTest, BrokenSoundFontBesideTheProgramFallsBackToTheSystemOne) {
    kaMusic::CloseMusic();
    Write("aaa.sf2", Bytes(64, 0x55));
    testing::internal::CaptureStderr();
    ASSERT_EQ(kaMusic::Init(), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "the synthesizer's log stays quiet";
    EXPECT_STREQ(kaSound::NameOf(0), "DirectMusic");
    Write("loop.mid", MidiChord({60}, 960));
    kaMusic::PlayMusic("loop.mid", 1);
    EXPECT_GT(Rms(Render(Second / 2), Second / 10, Second / 4), 0.005);
    EXPECT_EQ(Boxes(), 0u);
}

TEST_F(MusicTest, WithoutASoundDeviceMusicIsSilentAndQuiet) {
    Start(false);
    EXPECT_EQ(kaMusic::Init(), 0);
    EXPECT_EQ(kaSound::InUse(0), 0);
    Write("loop.mid", MidiChord({60}, 960));
    kaMusic::PlayMusic("loop.mid", 1);
    kaMusic::SetMusicVolume(-6);
    EXPECT_EQ(kaMusic::MusicPlaying, 1);
    EXPECT_EQ(kaSound::VolumeOf(0, 0), 0);
    EXPECT_EQ(Boxes(), 0u);
}

TEST_F(MusicTest, CloseMusicGivesObjectZeroBack) {
    Write("loop.mid", MidiChord({60}, 960));
    kaMusic::PlayMusic("loop.mid", 1);
    Render(1000);
    kaMusic::CloseMusic();
    EXPECT_EQ(kaMusic::MusicPlaying, 0);
    EXPECT_EQ(kaSound::InUse(0), 0);
    EXPECT_EQ(Peak(Render(1000)), 0.0);
}

}  // namespace
}  // namespace soundtest
