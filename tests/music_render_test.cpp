// Music rendered offline through the mixer: pieces sound, loop without a gap, end, stop,
// follow object 0's volume and replace each other; broken files stay silent.
#include "shell/shell.h"
#include "tests/sound_test_files.h"

using namespace soundtest;

constexpr int Second = 44100;

// A format 0 file: an organ (which holds its level) sounding one note for ticks, written
// as a two-byte delta time. At 480 ticks a beat and 120 beats a minute, 960 ticks are a second.
static Bytes Note(int note, uint32_t ticks) {
    return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 1, 0xE0, 'M', 'T', 'r', 'k', 0, 0, 0, 16,
            0, 0xC0, 19, 0, 0x90, uint8_t(note), 100, uint8_t(0x80 | ticks >> 7),
            uint8_t(ticks & 0x7F), 0x80, uint8_t(note), 0, 0, 0xFF, 0x2F, 0};
}

class MusicTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        Write("aaa.sf2", Bytes(64, 0x55));  // a broken SoundFont, passed over for the system's
        testing::internal::CaptureStderr();
        ASSERT_EQ(kaMusic::Init(), 1);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "the synthesizer stays quiet";
    }
    void Play(int note, uint32_t ticks, int loop) {
        Write("m.mid", Note(note, ticks));
        kaMusic::PlayMusic("m.mid", loop);
    }
};

TEST_F(MusicTest, PieceSoundsAndLoopsWithoutAGap) {
    Play(60, 960, 1);  // one second
    std::vector<float> out = Render(3 * Second);
    for (int at = Second / 10; at + Second / 10 <= 3 * Second; at += Second / 200)
        ASSERT_GT(Rms(out, at, Second / 10), 1e-4) << "100 ms of silence at frame " << at;
    EXPECT_EQ(kaMusic::PollMusicEnd(), 1) << "a looping piece never ends";
}

TEST_F(MusicTest, NonLoopingPieceEndsAndThePollStopsIt) {
    headless::SetClock(5000);
    Play(60, 480, 0);
    EXPECT_EQ(Shell.NextMusicPoll, 8000u) << "the first poll comes three seconds in";
    Render(Second / 4);
    EXPECT_EQ(kaMusic::PollMusicEnd(), 1);
    EXPECT_LT(Rms(Render(3 * Second), 2 * Second), 1e-4) << "silent after its end";
    EXPECT_EQ(kaMusic::PollMusicEnd(), 0);
    EXPECT_EQ(kaMusic::MusicPlaying, 0);
}

TEST_F(MusicTest, SecondPieceReplacesTheFirstVolumeAndStop) {
    Play(36, 960 * 10, 1);
    Render(Second / 2);
    Play(84, 480, 0);
    std::vector<float> out = Render(3 * Second);
    EXPECT_GT(Rms(out, Second / 10, Second / 5), 0.005) << "the second piece sounds";
    EXPECT_LT(Rms(out, 2 * Second), 1e-4) << "nothing of the first after the second ends";
    Play(60, 960, 1);
    double full = Rms(Render(Second / 2), Second / 10);
    Play(60, 960, 1);
    kaMusic::SetMusicVolume(-6);
    EXPECT_EQ(kaSound::VolumeOf(0, 0), -600);
    EXPECT_NEAR(Rms(Render(Second / 2), Second / 10) / full, 0.501, 0.01);
    kaMusic::StopMusic();
    EXPECT_EQ(kaMusic::MusicPlaying, 0);
    EXPECT_EQ(Rms(Render(Second / 2)), 0.0);
}

TEST_F(MusicTest, MissingOrBrokenFileIsSilentWithoutABox) {
    // Each of these would leave a looping player spinning on the audio thread.
    Bytes good = Note(60, 960), tracks = good, runningFirst = good;
    tracks[11] = 2;
    runningFirst[23] = 0x40;  // the program change's status byte
    const Bytes broken[] = {Bytes(good.begin(), good.begin() + 15), tracks, runningFirst,
                            Bytes(good.begin(), good.end() - 6), Note(60, 0), Bytes(200, 0x90)};
    for (size_t i = 0; i < std::size(broken); ++i) {
        Write("broken.mid", broken[i]);
        kaMusic::PlayMusic("broken.mid", 1);
        EXPECT_EQ(Rms(Render(Second / 4)), 0.0) << "case " << i;
    }
    kaMusic::PlayMusic("absent.mid", 1);
    EXPECT_EQ(kaMusic::MusicPlaying, 1);
    EXPECT_EQ(Rms(Render(Second / 4)), 0.0);
    EXPECT_EQ(Boxes(), 0u);
}
