// Music rendered offline through the mixer: pieces sound, loop without a gap, end, stop,
// follow object 0's volume and replace each other; broken files stay silent.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

#include "sound/music_state.h"
#include "story/story.h"
#include "tests/sound_test_files.h"
#include "tools/smf_writer.h"

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
    EXPECT_EQ(kaMusic::NextMusicPoll, 8000u) << "the first poll comes three seconds in";
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
    EXPECT_EQ(Rms(Render(Second / 2), Second / 50), 0.0) << "silent once it has faded out";
}

// The reader's music volume lies over the script's: the -6 dB of midi_play: stays 6 dB
// under the chosen level, and the voice volume leaves the music alone.
TEST_F(MusicTest, TheMusicVolumeScalesItByItsDecibelsUnderTheScriptsLevel) {
    Play(60, 960, 1);
    kaMusic::SetMusicVolume(-6);
    Render(Second / 10);
    double scripted = Rms(Render(Second / 2), Second / 10);
    ASSERT_GT(scripted, 0.005);
    Play(60, 960, 1);
    Preferences.MusicVolume = 25;
    Preferences.VoiceVolume = 0;
    ApplyVolumes();
    Render(Second / 10);
    double quieter = Rms(Render(Second / 2), Second / 10);
    EXPECT_NEAR(20.0 * std::log10(quieter / scripted), -12.041, 0.05);
    EXPECT_EQ(kaSound::VolumeOf(0, 0), -600) << "the script's level is kept as it set it";
    Preferences.MusicVolume = 0;
    ApplyVolumes();
    Render(Second / 10);
    EXPECT_EQ(Rms(Render(Second / 4)), 0.0) << "0 % is silence";
    ResetPreferences();
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

static Bytes Hex(const std::string& text) {
    Bytes bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        if (text[i] == ' ') { --i; continue; }
        bytes.push_back(uint8_t(std::stoi(text.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

// Files that the synthesizer's loader refuses, or that end at once as it reads them; a
// looping player used to reload each for ever inside the audio callback. The program
// change and the one-second organ note of Note(60, 960) are their common body. Each is
// also written to test-output/midi-seeds as a seed for fuzzing.
#define KA_NOTE "00c013 00903c64 8740803c00"
static const struct { const char* what; const char* hex; } FilesThePlayerRefuses[] = {
    {"smpte", "4d546864 00000006 0000 0001 84e0 4d54726b 00000005 00c360 6000"},
    {"header8", "4d546864 00000008 0000 0001 01e0 0000 4d54726b 00000010 " KA_NOTE " 00ff2f00"},
    {"format3", "4d546864 00000006 0003 0001 01e0 4d54726b 00000010 " KA_NOTE " 00ff2f00"},
    {"format64", "4d546864 00000006 0040 0001 01e0 4d54726b 00000010 " KA_NOTE " 00ff2f00"},
    {"tempo0", "4d546864 00000006 0000 0001 01e0 4d54726b 00000014 00ff5100 " KA_NOTE " 00ff2f00"},
    {"timesig2",
     "4d546864 00000006 0000 0001 01e0 4d54726b 00000016 00ff58020402 " KA_NOTE " 00ff2f00"},
    {"keysig1", "4d546864 00000006 0000 0001 01e0 4d54726b 00000015 00ff590100 " KA_NOTE " 00ff2f00"},
    {"sysex-running",
     "4d546864 00000006 0000 0001 01e0 4d54726b 00000017 00f001f7003c00 " KA_NOTE " 00ff2f00"},
    {"meta-running-no-eot",
     "4d546864 00000006 0000 0001 01e0 4d54726b 00000010 00c013 00903c64 00ff010141 87403c00"},
    {"unknown-chunk", "4d546864 00000006 0000 0001 01e0 58594e43 00000000 4d54726b 00000010 " KA_NOTE
                      " 00ff2f00"},
    {"128-tracks", ""},  // built below
};
#undef KA_NOTE

static Bytes RefusedFile(size_t i) {
    if (FilesThePlayerRefuses[i].hex[0]) return Hex(FilesThePlayerRefuses[i].hex);
    Bytes file = Note(60, 960), track(file.begin() + 14, file.end());
    file.resize(14);
    file[10] = 0, file[11] = 128;
    for (int n = 0; n < 128; ++n) file.insert(file.end(), track.begin(), track.end());
    return file;
}

TEST_F(MusicTest, FilesThePlayerRefusesAreRefusedBeforeItSeesThem) {
    std::string seeds = std::string(AKARI_TEST_OUTPUT_DIR) + "/midi-seeds/";
    std::filesystem::create_directories(seeds);
    for (size_t i = 0; i < std::size(FilesThePlayerRefuses); ++i) {
        Bytes file = RefusedFile(i);
        std::ofstream(seeds + FilesThePlayerRefuses[i].what + ".mid", std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
        EXPECT_FALSE(kaMusic::IsPlayableMidi(file)) << FilesThePlayerRefuses[i].what;
        Write("refused.mid", file);
        kaMusic::PlayMusic("refused.mid", 1);
        EXPECT_EQ(Rms(Render(Second / 4)), 0.0) << FilesThePlayerRefuses[i].what;
    }
    Bytes formats = Note(60, 960);
    for (uint8_t format : {0, 1, 2, 4, 8, 32, 61}) {
        formats[9] = format;
        EXPECT_EQ(kaMusic::IsPlayableMidi(formats), format <= 2) << "format " << int(format);
    }
    EXPECT_EQ(Boxes(), 0u);
}

// A track whose stated length runs past the file's end: the player reads it as far as
// the file goes, and plays it when its end of track is there. The check agrees with the
// player on each, measured by handing the file to the player unchecked.
TEST_F(MusicTest, ATrackLongerThanTheFilePlaysWhenItsEndOfTrackIsThere) {
    Bytes one = Note(60, 960), two = one;
    two[11] = 2;
    two.insert(two.end(), one.begin() + 14, one.end());
    auto statingLength = [](Bytes file, size_t at, uint32_t length) {
        for (int i = 0; i < 4; ++i) file[at + i] = uint8_t(length >> (24 - 8 * i));
        return file;
    };
    const struct { const char* what; Bytes file; bool plays; } cases[] = {
        {"12 bytes short", statingLength(one, 18, 16 + 12), true},  // as in a real file
        {"the last of two tracks", statingLength(two, 42, 100), true},
        {"cut before its end of track", Bytes(one.begin(), one.end() - 3), false},
        {"the first of two tracks", statingLength(two, 18, 100), false},
        {"reaching 2^31 - 1", statingLength(one, 18, 0x7FFFFFFFu - 22), true},
        {"reaching 2^31", statingLength(one, 18, 0x7FFFFFFFu - 21), false},
        {"of negative length", statingLength(one, 18, 0x80000010u), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kaMusic::IsPlayableMidi(c.file), c.plays) << c.what;
        kaMusic::DropPlayer();
        kaMusic::StartPlayer(c.file, 0);
        // From past the fade of the piece before.
        EXPECT_EQ(Rms(Render(Second / 2), Second / 50) > 1e-3, c.plays) << c.what << ", unchecked";
    }
}

// Handed to the player unchecked, none of them may hold the audio callback: the mixer
// returns well within its buffer's time, the player gives up after one pass, and the
// same-sized good file still plays and loops. A hang ends the test through the alarm.
TEST_F(MusicTest, APieceThatFailsOrPlaysNothingIsNeverLoopedAgain) {
    constexpr int Buffer = 1024, Buffers = 3 * Second / Buffer;
    std::vector<float> out(Buffer * 2);
    alarm(60);
    for (size_t i = 0; i <= std::size(FilesThePlayerRefuses); ++i) {
        bool good = i == std::size(FilesThePlayerRefuses);
        const char* what = good ? "good" : FilesThePlayerRefuses[i].what;
        kaMusic::DropPlayer();
        kaMusic::StartPlayer(good ? Note(60, 960) : RefusedFile(i), 1);
        auto start = std::chrono::steady_clock::now();
        for (int n = 0; n < Buffers; ++n) kaSound::Mix(out.data(), Buffer);
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        EXPECT_LT(took.count(), double(Buffers) * Buffer / Second) << what;
        EXPECT_EQ(Rms(Render(Second / 4)) > 0.0, good) << what << ": sounding after 3 s";
    }
    // Events that last a second but sound no note: one pass, then silence.
    kaMusic::DropPlayer();
    kaMusic::StartPlayer(Hex("4d546864 00000006 0000 0001 01e0 4d54726b 0000000b "
                             "00b00740 8740b00740 00ff2f00"), 1);
    for (int n = 0; n < 2 * Buffers; ++n) kaSound::Mix(out.data(), Buffer);
    EXPECT_EQ(fluid_player_get_status(kaMusic::Player), FLUID_PLAYER_DONE);
    alarm(0);
}

static double Decibels(double level) { return 20 * std::log10(level); }

static double Peak(const std::vector<float>& s) {
    double peak = 0;
    for (float v : s) peak = std::max(peak, double(std::fabs(v)));
    return peak;
}

// Four voices at velocity 100: a piano melody over three-voice string chords, four
// seconds at 120 beats a minute, played at the story's -6 dB. Its level is absolute:
// loud enough to be heard under voices, with headroom left for a clip over it.
TEST_F(MusicTest, AnOrdinaryPieceSoundsAtANormalLevel) {
    smf::Track piano, strings;
    smf::Program(&strings, 1, 0, 48);
    const int chords[4][3] = {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}};
    const int melody[8] = {76, 74, 72, 74, 76, 79, 77, 74};
    for (int bar = 0; bar < 2; ++bar)
        for (int half = 0; half < 2; ++half) {
            uint32_t at = uint32_t(bar * 1920 + half * 960);
            for (int key : chords[bar * 2 + half]) smf::Note(&strings, 1, at, 960, key, 100);
            for (int n = 0; n < 2; ++n)
                smf::Note(&piano, 0, at + 480 * n, 480, melody[(bar * 2 + half) * 2 + n], 100);
        }
    Write("level.mid", smf::FileBytes({piano, strings}, 480, 3840));
    kaMusic::PlayMusic("level.mid", 0);
    kaMusic::SetMusicVolume(-6);
    std::vector<float> out = Render(4 * Second);
    std::printf("four voices at velocity 100: %.1f dBFS RMS, peak %.1f dBFS\n",
                Decibels(Rms(out)), Decibels(Peak(out)));
    EXPECT_GT(Decibels(Rms(out)), -32.0);
    EXPECT_LT(Decibels(Rms(out)), -20.0);
    EXPECT_LT(Decibels(Peak(out)), -6.0);
}

// Music stopped while a note sounds fades out within 10 ms, the wave leaving where it
// was without a jump larger than the music's own largest step.
TEST_F(MusicTest, StoppedMusicFadesOutWithoutAJump) {
    Play(60, 960 * 4, 1);
    std::vector<float> sounding = Render(Second / 2);
    double ownStep = LargestStep(sounding, Second / 4), peak = Peak(sounding);
    std::vector<float> last = Render(1);  // on to a sample far from zero
    for (int i = 0; i < 2000 && std::fabs(last[0]) < 0.7 * peak; ++i) last = Render(1);
    ASSERT_GE(std::fabs(last[0]), 0.7 * peak);
    kaMusic::StopMusic();
    std::vector<float> after = Render(Second / 10);
    after.insert(after.begin(), last.begin(), last.end());
    EXPECT_LE(LargestStep(after), ownStep);
    EXPECT_EQ(Rms(after, 442), 0.0) << "silent 10 ms after the stop";
    // Nothing of it is left in the synthesizer to sound when the next piece starts.
    smf::Track later;
    smf::Note(&later, 0, 192, 960, 67, 100);  // after a rest of 0.2 s
    Write("later.mid", smf::FileBytes({later}, 480, 1152));
    kaMusic::PlayMusic("later.mid", 1);
    EXPECT_EQ(Rms(Render(Second / 10)), 0.0) << "the next piece starts from silence";
}

// ---- The story's pieces, as the music tool writes them into the game folder ----------

static const char* const Pieces[] = {"bgm01.mid", "bgm02.mid", "bgm03.mid", "bgm04.mid",
                                     "bgm05.mid"};

struct PieceNote {
    int channel, key, velocity;
    uint32_t start, end;
};

// What the tool's files hold: their notes, their length and their one tempo.
struct PieceScore {
    std::vector<PieceNote> notes;
    uint32_t endTick = 0;
    double secondsPerTick = 0;
};

static uint32_t Quantity(const Bytes& b, size_t* at) {
    uint32_t value = 0;
    while (*at < b.size()) {
        uint8_t c = b[(*at)++];
        value = value << 7 | (c & 0x7F);
        if (!(c & 0x80)) break;
    }
    return value;
}

static PieceScore ReadPiece(const Bytes& b) {
    PieceScore score;
    uint32_t division = uint32_t(b.at(12) << 8 | b.at(13));
    for (size_t chunk = 14; chunk + 8 <= b.size();) {
        size_t at = chunk + 8, end = at + (uint32_t(b[chunk + 4]) << 24 | b[chunk + 5] << 16 |
                                           b[chunk + 6] << 8 | b[chunk + 7]);
        uint32_t tick = 0;
        uint8_t status = 0;
        std::map<int, size_t> sounding;  // channel * 128 + key -> note
        while (at < end) {
            tick += Quantity(b, &at);
            if (b[at] & 0x80) status = b[at++];
            if (status == 0xFF) {
                uint8_t type = b[at++];
                uint32_t length = Quantity(b, &at);
                if (type == 0x51)
                    score.secondsPerTick = (b[at] << 16 | b[at + 1] << 8 | b[at + 2]) / 1e6 / division;
                if (type == 0x2F) score.endTick = std::max(score.endTick, tick);
                at += length;
                continue;
            }
            int kind = status & 0xF0, channel = status & 15, key = b[at], velocity = b[at + 1];
            at += kind == 0xC0 || kind == 0xD0 ? 1 : 2;
            if (kind == 0x90 && velocity > 0) {
                sounding[channel * 128 + key] = score.notes.size();
                score.notes.push_back({channel, key, velocity, tick, tick});
            } else if ((kind == 0x80 || kind == 0x90) && sounding.count(channel * 128 + key)) {
                score.notes[sounding[channel * 128 + key]].end = tick;
            }
        }
        chunk = end;
    }
    return score;
}

static Bytes GameFile(const char* name) {
    std::ifstream in(std::string(AKARI_GAME_DIR) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

class StoryPiece : public MusicTest, public testing::WithParamInterface<const char*> {};

// Each piece plays through the game's own path at the story's -6 dB and starts again
// without a seam: the same level on both sides of the loop point, and no second across
// it more than 6 dB under the piece's median second (a fade at the end, or a slow start,
// would dip there). A piece of music lasts at least two and a half minutes, so a scene
// rarely hears it twice, at a level clearly under the voices yet heard; the ambience
// under the silences lies at least 18 dB under the voices' median level; and no 50 ms of
// either falls 30 dB under its median second, as a silence would.
TEST_P(StoryPiece, LoopsWithoutASeamAtItsLevel) {
    const char* name = GetParam();
    bool ambience = std::string(name).rfind("amb_", 0) == 0;
    Bytes file = GameFile(name);
    PieceScore score = ReadPiece(file);
    double seconds = score.endTick * score.secondsPerTick;
    EXPECT_GE(seconds, ambience ? 60.0 : 150.0);
    Write(name, file);
    kaMusic::PlayMusic(name, 1);
    kaMusic::SetMusicVolume(-6);
    int length = int(seconds * Second), window = Second * 2 / 5;
    std::vector<float> out = Render(length + Second);
    std::vector<float> once(out.begin(), out.begin() + 2 * length);
    double rms = Decibels(Rms(once)), peak = Decibels(Peak(once));
    double before = Decibels(Rms(out, length - window, window));
    double after = Decibels(Rms(out, length, window));
    std::vector<double> seconds1;
    for (int at = 0; at + Second <= length; at += Second / 4) seconds1.push_back(Decibels(Rms(out, at, Second)));
    std::nth_element(seconds1.begin(), seconds1.begin() + long(seconds1.size() / 2), seconds1.end());
    double median = seconds1[seconds1.size() / 2], lowest = 0;
    for (int at = length - Second; at <= length; at += Second / 20)
        lowest = std::min(lowest, Decibels(Rms(out, at, Second)) - median);
    std::printf("%s: %.1f s, %.1f dBFS RMS, peak %.1f dBFS, loop point %.1f -> %.1f dB, "
                "a second across it at least %.1f dB from the median %.1f dBFS\n",
                name, seconds, rms, peak, before, after, lowest, median);
    EXPECT_LT(std::fabs(after - before), 6.0);
    EXPECT_GE(lowest, -6.0);
    if (ambience) {
        double voices = VoicesMedianLevel();
        std::printf("%s: %.1f dB under the voices' median level %.1f dBFS\n", name, voices - rms, voices);
        EXPECT_LE(rms, voices - 18.0);
        EXPECT_GT(rms, voices - 36.0) << "too quiet to be heard";
    } else {
        EXPECT_GT(rms, -29.0);
        EXPECT_LT(rms, -21.0);
    }
    EXPECT_LT(peak, -7.0);
    for (int at = 0; at + Second / 20 <= length + Second; at += Second / 100)
        ASSERT_GT(Decibels(Rms(out, at, Second / 20)), median - 30.0) << "silent at " << at;
}

INSTANTIATE_TEST_SUITE_P(Game, StoryPiece,
                         testing::Values("bgm01.mid", "bgm02.mid", "bgm03.mid", "bgm04.mid", "bgm05.mid",
                                         "amb_night.mid", "amb_stove.mid"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param).substr(0, std::strlen(info.param) - 4);
                         });

// Each piece is music and not a test tone: at least three parts, four chords and ten
// pitches in its tune (channel 1), dynamics spanning 30 velocity steps, and a tune of
// its own: no run of eight intervals is shared with another piece's.
TEST_F(MusicTest, ThePiecesAreMusicEachWithItsOwnTune) {
    std::map<std::vector<int>, const char*> runs;
    for (const char* name : Pieces) {
        PieceScore score = ReadPiece(GameFile(name));
        std::set<int> channels, tunePitches;
        std::set<std::set<int>> chords;
        std::vector<int> tune;
        int softest = 127, loudest = 0;
        for (const PieceNote& note : score.notes) {
            channels.insert(note.channel);
            softest = std::min(softest, note.velocity);
            loudest = std::max(loudest, note.velocity);
            if (note.channel == 0) {
                tunePitches.insert(note.key);
                tune.push_back(note.key);
                continue;
            }
            std::set<int> chord;  // what the other parts sound as this note starts
            for (const PieceNote& other : score.notes)
                if (other.channel != 0 && other.start <= note.start && note.start < other.end)
                    chord.insert(other.key % 12);
            if (chord.size() >= 3) chords.insert(chord);
        }
        EXPECT_GE(channels.size(), 3u) << name;
        EXPECT_GE(chords.size(), 4u) << name;
        EXPECT_GE(tunePitches.size(), 10u) << name;
        EXPECT_GE(loudest - softest, 30) << name;
        for (size_t i = 0; i + 9 <= tune.size(); ++i) {
            std::vector<int> run;
            for (size_t j = i; j < i + 8; ++j) run.push_back(tune[j + 1] - tune[j]);
            auto found = runs.emplace(run, name);
            EXPECT_TRUE(found.second || found.first->second == name)
                << name << " shares a phrase with " << found.first->second;
        }
    }
}

static void PrintLevels(const char* what, const std::vector<float>& mixed,
                        const std::vector<float>& heard) {
    std::printf("%s: mix %.2f dBFS RMS, peak %.2f dBFS; out %.2f dBFS RMS, peak %.2f dBFS\n",
                what, Decibels(Rms(mixed)), Decibels(Peak(mixed)), Decibels(Rms(heard)),
                Decibels(Peak(heard)));
}

// A piece at velocity 127 with 32 notes at once goes over full scale in the mix at
// the story's -6 dB, yet what the device plays never passes -1 dBFS, and is turned down
// only by a few decibels. The game's own pieces, and a voice clip over one of them, come
// out as they were mixed.
TEST_F(MusicTest, LoudMusicIsLimitedUnderTheCeilingAndTheGamesOwnPassesUnchanged) {
    smf::Track loud;
    const int programs[8] = {61, 19, 48, 30, 62, 16, 49, 29};  // brass, organs, strings, guitars
    const int chords[2][4] = {{48, 55, 60, 64}, {50, 57, 62, 65}};
    for (int channel = 0; channel < 8; ++channel) {
        smf::Program(&loud, channel, 0, programs[channel]);
        smf::Control(&loud, channel, 0, 7, 127);  // the channel's volume all the way up
        for (int beat = 0; beat < 8; ++beat)
            for (int key : chords[beat % 2])
                smf::Note(&loud, channel, uint32_t(beat * 480), 480, key + 12 * (channel % 3), 127);
    }
    Write("loud.mid", smf::FileBytes({loud}, 480, 8 * 480));
    // Each piece is measured from silence, and the limiter has come back to rest.
    auto play = [](const char* name) {
        kaMusic::StopMusic();
        PullFromDevice(2 * Second);
        kaMusic::PlayMusic(name, 0);
        kaMusic::SetMusicVolume(-6);
    };
    play("loud.mid");
    std::vector<float> mixed = Render(4 * Second);
    play("loud.mid");
    std::vector<float> heard = PullFromDevice(4 * Second);
    PrintLevels("velocity 127, 32 notes", mixed, heard);
    EXPECT_GT(Peak(mixed), 1.0) << "the piece is loud enough to test the limiter";
    EXPECT_LE(Peak(heard), 0.891251) << "-1 dBFS";
    EXPECT_GT(Decibels(Rms(heard)), Decibels(Rms(mixed)) - 7.0);

    Write("v_minato_001.sad", GameFile("v_minato_001.sad"));
    for (const char* name : Pieces) {
        Write(name, GameFile(name));
        bool voiced = name == Pieces[0];
        std::vector<float> levels[2];
        for (int device = 0; device < 2; ++device) {
            play(name);
            int voice = voiced ? kaSound::LoadObject("v_minato_001.sad", 1) : -1;
            kaSound::Play(voice, -1);
            levels[device] = device ? PullFromDevice(10 * Second) : Render(10 * Second);
            kaSound::ReleaseObject(voice);
        }
        PrintLevels(voiced ? "bgm01.mid with a voice" : name, levels[0], levels[1]);
        EXPECT_NEAR(Decibels(Rms(levels[1])), Decibels(Rms(levels[0])), 0.1) << name;
        EXPECT_NEAR(Decibels(Peak(levels[1])), Decibels(Peak(levels[0])), 0.1) << name;
    }
}

// Each piece leaves its theme and comes back to it: most runs of eight intervals in the
// middle third of its tune are not heard in its first third, and the run that opens the
// tune is heard again in its last third.
TEST_F(MusicTest, ThePiecesTurnAwayFromTheirThemeAndComeBack) {
    for (const char* name : Pieces) {
        PieceScore score = ReadPiece(GameFile(name));
        std::vector<int> thirds[3];
        for (const PieceNote& note : score.notes)
            if (note.channel == 0) thirds[std::min<uint32_t>(2, note.start * 3 / score.endTick)].push_back(note.key);
        auto Runs = [](const std::vector<int>& tune) {
            std::vector<std::vector<int>> runs;
            for (size_t i = 0; i + 9 <= tune.size(); ++i) {
                std::vector<int> run;
                for (size_t j = i; j < i + 8; ++j) run.push_back(tune[j + 1] - tune[j]);
                runs.push_back(run);
            }
            return runs;
        };
        std::vector<std::vector<int>> first = Runs(thirds[0]), middle = Runs(thirds[1]), last = Runs(thirds[2]);
        ASSERT_FALSE(first.empty() || middle.empty()) << name;
        size_t fresh = 0;
        for (const auto& run : middle) fresh += std::find(first.begin(), first.end(), run) == first.end();
        EXPECT_GT(fresh * 2, middle.size()) << name << ": the middle repeats the theme";
        EXPECT_NE(std::find(last.begin(), last.end(), first[0]), last.end()) << name << ": the theme never returns";
    }
}
