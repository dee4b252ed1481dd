// The clips the build made for the story: a voice for every voice clip the shipped
// script plays, speaking at once, 小夜's voice a girl's beside 湊's; every sound effect
// it plays, landing with its line and under the voices; and the narration, a clip for
// every line no voice speaks and every phrase of the screens, in a third voice.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "base/little_endian.h"
#include "draw/sjis.h"
#include "sound/kaSound.h"
#include "sound/sound_state.h"
#include "story/script.h"
#include "tests/sound_test_files.h"

namespace {

// The clip's 16-bit samples, after checking that it is 16-bit mono PCM at 44.1 kHz.
std::vector<int16_t> ReadClip(const std::string& name) {
    std::vector<uint8_t> format, data;
    std::string path = std::string(AKARI_GAME_DIR) + "/" + name;
    EXPECT_EQ(kaSound::ReadWaveFile(path.c_str(), &format, &data), 0) << name;
    const uint8_t pcmMono44k16[] = {1, 0, 1, 0, 0x44, 0xAC, 0, 0, 0x88, 0x58, 1, 0, 2, 0, 16, 0};
    if (format.size() < 16 || !std::equal(pcmMono44k16, pcmMono44k16 + 16, format.begin())) {
        ADD_FAILURE() << name << " is not 16-bit mono PCM at 44.1 kHz";
        return {};
    }
    std::vector<int16_t> samples(data.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = int16_t(data[i * 2] | data[i * 2 + 1] << 8);
    return samples;
}

// A narration clip as the game reads it: its samples at the rate of the stream, mono.
std::vector<float> DecodeNarrationClip(const std::string& name, uint32_t* rate) {
    std::vector<uint8_t> format, data;
    std::string path = std::string(AKARI_GAME_DIR) + "/" + name;
    if (kaSound::ReadOpusFile(path.c_str(), &format, &data) != 0 || Read16(&format[2]) != 1) {
        ADD_FAILURE() << name << " is not a mono clip the game can read";
        return {};
    }
    *rate = Read32(&format[4]);
    std::vector<float> samples(data.size() / sizeof(float));
    std::memcpy(samples.data(), data.data(), samples.size() * sizeof(float));
    return samples;
}

// The same converted to the output rate as the game loads it: its left channel as 16-bit
// samples.
std::vector<int16_t> ReadNarrationClip(const std::string& name) {
    std::vector<uint8_t> format, data;
    std::vector<float> stereo;
    std::string path = std::string(AKARI_GAME_DIR) + "/" + name;
    if (kaSound::ReadOpusFile(path.c_str(), &format, &data) != 0 || !kaSound::ConvertClip(format, data, &stereo)) {
        ADD_FAILURE() << name << " is not a clip the game can load";
        return {};
    }
    std::vector<int16_t> samples(stereo.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = int16_t(std::lround(std::clamp(stereo[i * 2], -1.0f, 1.0f) * 32767));
    return samples;
}

// The first and one past the last frame of the clip's sounding part: of 5 ms windows,
// those within 40 dB of the clip's peak.
std::pair<size_t, size_t> SoundingPart(const std::vector<int16_t>& s) {
    const size_t window = kaSound::OutputRate / 200;
    double peak = 0;
    for (int16_t v : s) peak = std::max(peak, std::fabs(double(v)));
    size_t first = s.size(), last = 0;
    for (size_t at = 0; at + window <= s.size(); at += window / 5) {
        double energy = 0;
        for (size_t n = at; n < at + window; ++n) energy += double(s[n]) * s[n];
        if (std::sqrt(energy / double(window)) < peak / 100) continue;
        first = std::min(first, at);
        last = at + window;
    }
    return {first, last};
}

// RMS in dBFS of samples [from, to).
double Level(const std::vector<int16_t>& s, size_t from, size_t to) {
    to = std::min(to, s.size());
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += double(s[i]) * s[i];
    return 10 * std::log10(sum / double(std::max<size_t>(1, to - from)) / (32768.0 * 32768.0) + 1e-20);
}

// Characters of the prose line that the step of the wave_play: line at index shows.
int ShownCharacters(int index) {
    int line = index + 1;
    while (line < ScriptLineCount && MatchKeyword(ShippedScript[line]) != KwNone) ++line;
    const char* text = ShippedScript[line];
    int n = 0;
    for (size_t at = 0, length = std::strlen(text); at < length; ++n)
        at += size_t(SjisCharLength(text + at, length - at));
    return n;
}

// Each voice clip starts its speech within 50 ms of the step that plays it, since the
// line appears at once. A reader who clicks on at 8 characters a second, as the line is
// read, cuts a voice that is still speaking; few may be cut by more than a second (when
// clips led in with 0.4 s of silence at the voice data's own pace, 89 of 224 were).
TEST(VoiceClips, EveryClipTheScriptPlaysIsThereAtMinus3dBFSAndStartsAtOnce) {
    int clips = 0, cut = 0, cutBySecond = 0;
    double longestLead = 0;
    for (int i = 0; i < ScriptLineCount && ShippedScript[i][0]; ++i) {
        if (MatchKeyword(ShippedScript[i]) != KwWavePlay) continue;
        std::string name = ShippedScript[i] + std::strlen(KeywordText[KwWavePlay]);
        if (IsEffectClip(name.c_str())) continue;
        std::vector<int16_t> s = ReadClip(name);
        if (s.empty()) continue;
        ++clips;
        int peak = 0;
        for (int16_t v : s) peak = std::max(peak, std::abs(int(v)));
        EXPECT_NEAR(20 * std::log10(peak / 32767.0), -3.0, 0.05) << name;
        EXPECT_EQ(s.front(), 0) << name;
        EXPECT_EQ(s.back(), 0) << name;
        EXPECT_GT(s.size(), size_t(kaSound::OutputRate / 10)) << name;
        auto [first, last] = SoundingPart(s);
        double lead = double(first) / kaSound::OutputRate, end = double(last) / kaSound::OutputRate;
        EXPECT_LE(lead, 0.05) << name;
        longestLead = std::max(longestLead, lead);
        double read = ShownCharacters(i) / 8.0;
        cut += end > read;
        cutBySecond += end > read + 1.0;
    }
    std::printf("%d voice clips, speech from %.0f ms at the latest; a reader at 8 characters a "
                "second cuts %d, %d by more than a second\n", clips, longestLead * 1000, cut, cutBySecond);
    EXPECT_GT(clips, 0);
    EXPECT_LE(cutBySecond, clips / 10);
}

// The fundamental frequency of each voiced frame: for each 30 ms frame loud enough to be
// speech, the shortest lag between 2 ms and 16 ms whose normalised autocorrelation comes
// within 10 % of the frame's best (so a lag of two periods is not taken for one). Every
// other sample is enough for the low partials that decide it. The frame's spectral
// centroid up to 5 kHz (bins 50 Hz apart, under a Hann window) follows its envelope: a
// shorter vocal tract moves it up.
struct Voiced {
    std::vector<double> pitches, centroids;
};

void AddVoicedFrames(const std::vector<int16_t>& s, Voiced* voiced) {
    const int frame = 1323, hop = 441, shortest = 88, longest = 706;
    double loudest = 0;
    for (int16_t v : s) loudest = std::max(loudest, std::fabs(double(v)));
    for (size_t at = 0; at + frame + longest < s.size(); at += hop) {
        double energy = 0;
        for (int n = 0; n < frame; n += 2) energy += double(s[at + n]) * s[at + n];
        if (std::sqrt(energy * 2 / frame) < loudest * 0.05) continue;
        std::vector<double> r(longest + 1, 0.0);
        double best = 0;
        for (int lag = shortest; lag <= longest; ++lag) {
            double cross = 0, later = 0;
            for (int n = 0; n < frame; n += 2) {
                cross += double(s[at + n]) * s[at + n + lag];
                later += double(s[at + n + lag]) * s[at + n + lag];
            }
            r[lag] = cross / std::sqrt(energy * later + 1e-9);
            best = std::max(best, r[lag]);
        }
        if (best < 0.6) continue;  // unvoiced
        int lag = shortest;
        while (r[lag] < 0.9 * best || (lag < longest && r[lag + 1] > r[lag])) ++lag;
        voiced->pitches.push_back(double(kaSound::OutputRate) / lag);
        // Bin k is k x 50 Hz: its phase at sample n is a whole multiple of 2 pi / 882.
        static const size_t turn = kaSound::OutputRate / 50;
        static std::vector<double> cosine(turn), sine(turn);
        if (cosine[0] == 0)
            for (size_t m = 0; m < turn; ++m) {
                cosine[m] = std::cos(2 * M_PI * double(m) / double(turn));
                sine[m] = std::sin(2 * M_PI * double(m) / double(turn));
            }
        std::vector<double> windowed(frame);
        for (int n = 0; n < frame; ++n) windowed[n] = s[at + n] * (0.5 - 0.5 * std::cos(2 * M_PI * n / frame));
        double weighted = 0, total = 0;
        for (size_t k = 1; k <= 100; ++k) {
            double re = 0, im = 0;
            for (size_t n = 0; n < size_t(frame); ++n) {
                re += windowed[n] * cosine[k * n % turn];
                im -= windowed[n] * sine[k * n % turn];
            }
            double magnitude = std::sqrt(re * re + im * im);
            weighted += 50.0 * double(k) * magnitude;
            total += magnitude;
        }
        voiced->centroids.push_back(weighted / total);
    }
}

// A speaker's median pitch and mean centroid over some of their clips: one sentence's
// intonation alone can move the pitch by a fifth, and its vowels the centroid by a tenth.
struct SpeakerFigures {
    double pitch = 0, centroid = 0;
};

SpeakerFigures FiguresOfClips(const std::vector<std::vector<int16_t>>& clips) {
    Voiced voiced;
    for (const std::vector<int16_t>& clip : clips) AddVoicedFrames(clip, &voiced);
    SpeakerFigures f;
    if (voiced.pitches.empty()) return f;
    std::vector<double>& p = voiced.pitches;
    std::nth_element(p.begin(), p.begin() + long(p.size() / 2), p.end());
    f.pitch = p[p.size() / 2];
    for (double c : voiced.centroids) f.centroid += c / double(voiced.centroids.size());
    return f;
}

// Over the first eight clips of the voice list the speaker speaks.
SpeakerFigures FiguresOf(const std::string& speaker) {
    std::ifstream list(AKARI_VOICE_LIST);
    std::vector<std::vector<int16_t>> clips;
    for (std::string line; clips.size() < 8 && std::getline(list, line);) {
        std::istringstream fields(line);
        std::string file, who;
        fields >> file >> who;
        if (who == speaker) clips.push_back(ReadClip(file));
    }
    return FiguresOfClips(clips);
}

// 小夜 is a girl of seventeen and 湊 a young man: her pitch at least 1.7 times his, her
// spectral envelope (the centroid of voiced frames) at least 12 % higher, his pitch
// where a young man's lies.
TEST(VoiceClips, SayoSoundsLikeAGirlBesideMinato) {
    SpeakerFigures minato = FiguresOf("minato"), sayo = FiguresOf("sayo");
    std::printf("median pitch: 湊 %.0f Hz, 小夜 %.0f Hz (x %.2f); centroid of voiced frames: "
                "湊 %.0f Hz, 小夜 %.0f Hz (x %.2f)\n", minato.pitch, sayo.pitch, sayo.pitch / minato.pitch,
                minato.centroid, sayo.centroid, sayo.centroid / minato.centroid);
    EXPECT_GT(minato.pitch, 95.0);
    EXPECT_LT(minato.pitch, 150.0);
    EXPECT_GE(sayo.pitch, 1.7 * minato.pitch);
    EXPECT_GE(sayo.centroid, 1.12 * minato.centroid);
}

// The clip names the narration of the shipped script needs, in its order: each prose
// line no voice clip of its step speaks (a step's commands run back to the line before),
// and each choice's options and prompt.
std::vector<std::string> NarratedClips() {
    std::vector<std::string> clips;
    for (int i = 1; i < ScriptLineCount && ShippedScript[i][0]; ++i) {
        Keyword k = MatchKeyword(ShippedScript[i]);
        if (k == KwCommand) {
            int options = ReadNumberIn(ShippedScript[i], ScriptLineBytes, 8);
            for (int o = 1; o <= options; ++o) clips.push_back(kaSound::SpeechClipName(ShippedScript[i + o] + 5));
            clips.push_back(kaSound::SpeechClipName(ShippedScript[i + options + 1]));
            i += options + 1;
            continue;
        }
        if (k != KwNone) continue;
        bool voiced = false;
        for (int back = i - 1; back > 0; --back) {
            Keyword b = MatchKeyword(ShippedScript[back]);
            if (b == KwNone || b == KwCommand || b == KwJump || b == KwEnd) break;
            voiced = voiced || (b == KwWavePlay && !IsEffectClip(ShippedScript[back] + std::strlen(KeywordText[b])));
        }
        if (!voiced) clips.push_back(kaSound::SpeechClipName(ShippedScript[i]));
    }
    return clips;
}

// The phrases' clips, by their ids in the phrase list.
std::vector<std::string> PhraseClips() {
    std::ifstream list(AKARI_PHRASE_LIST);
    std::vector<std::string> clips;
    for (std::string line; std::getline(list, line);) {
        std::istringstream fields(line);
        std::string id;
        if (fields >> id && id[0] != '#') clips.push_back("speech/" + id + ".opus");
    }
    return clips;
}

// Every line the narrator reads and every phrase has a clip the game can load, of a
// sensible length and at the voices' level; the folder holds no clip beside them.
TEST(NarrationClips, EveryLineWithoutAVoiceAndEveryPhraseHasItsClip) {
    std::vector<std::string> lines = NarratedClips(), phrases = PhraseClips();
    std::set<std::string> wanted(lines.begin(), lines.end());
    wanted.insert(phrases.begin(), phrases.end());
    std::vector<double> levels;
    for (const std::string& name : wanted) {
        uint32_t rate = 0;
        std::vector<float> s = DecodeNarrationClip(name, &rate);
        if (s.empty()) continue;
        double seconds = double(s.size()) / rate, peak = 0, sum = 0;
        EXPECT_GT(seconds, 0.2) << name;  // more than the lead and tail the voice tool keeps
        EXPECT_LT(seconds, 20.0) << name;
        for (float v : s) {
            peak = std::max(peak, std::fabs(double(v)));
            sum += double(v) * v;
        }
        EXPECT_NEAR(20 * std::log10(peak), -3.0, 1.5) << name;  // Opus coding moves the peaks of lifted speech
        levels.push_back(10 * std::log10(sum / double(s.size()) + 1e-20));
    }
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(AKARI_GAME_DIR) + "/speech")) {
        ++files;
        EXPECT_TRUE(wanted.count("speech/" + entry.path().filename().string())) << entry.path() << " is no one's";
    }
    ASSERT_FALSE(levels.empty());
    std::nth_element(levels.begin(), levels.begin() + long(levels.size() / 2), levels.end());
    double voices = soundtest::VoicesMedianLevel();
    std::printf("%zu narrated lines, %zu phrases: %zu clips; median level %.1f dBFS, the voices' %.1f dBFS\n",
                lines.size(), phrases.size(), wanted.size(), levels[levels.size() / 2], voices);
    EXPECT_GT(lines.size(), 100u);
    EXPECT_GT(phrases.size(), 30u);
    EXPECT_EQ(files, wanted.size());
    EXPECT_NEAR(levels[levels.size() / 2], voices, 3.0);
}

// The narrator's voice is neither 湊's nor 小夜's: its median pitch at least 15 % from
// each of theirs (over the first eight narrated lines of the story, after the quit
// prompt's three short ones).
TEST(NarrationClips, TheNarratorsPitchIsFarFromBothCharacters) {
    std::vector<std::string> lines = NarratedClips();
    std::vector<std::vector<int16_t>> clips;
    for (size_t i = 3; i < lines.size() && clips.size() < 8; ++i) clips.push_back(ReadNarrationClip(lines[i]));
    SpeakerFigures minato = FiguresOf("minato"), sayo = FiguresOf("sayo"), narrator = FiguresOfClips(clips);
    std::printf("median pitch: 湊 %.0f Hz, narrator %.0f Hz (x %.2f), 小夜 %.0f Hz (x %.2f of the narrator's)\n",
                minato.pitch, narrator.pitch, narrator.pitch / minato.pitch, sayo.pitch, sayo.pitch / narrator.pitch);
    EXPECT_GE(narrator.pitch, 1.15 * minato.pitch);
    EXPECT_GE(sayo.pitch, 1.15 * narrator.pitch);
}

// Each sound effect the script plays is heard within 50 ms, as its line appears; its sounding
// part lies under the voices' median level but within 30 dB of it; and it has ended
// before a reader at 8 characters a second leaves the line that names it, so the next
// step, which stops the last clip played, never cuts it.
TEST(EffectClips, EveryEffectTheScriptPlaysLandsWithItsLineUnderTheVoices) {
    double voices = soundtest::VoicesMedianLevel();
    int effects = 0;
    for (int i = 0; i < ScriptLineCount && ShippedScript[i][0]; ++i) {
        if (MatchKeyword(ShippedScript[i]) != KwWavePlay) continue;
        std::string name = ShippedScript[i] + std::strlen(KeywordText[KwWavePlay]);
        if (!IsEffectClip(name.c_str())) continue;
        std::vector<int16_t> s = ReadClip(name);
        if (s.empty()) continue;
        ++effects;
        EXPECT_EQ(s.front(), 0) << name;
        EXPECT_EQ(s.back(), 0) << name;
        auto [first, last] = SoundingPart(s);
        double level = Level(s, first, last), seconds = double(s.size()) / kaSound::OutputRate;
        std::printf("%s: %.2f s, %.1f dB from the voices\n", name.c_str(), seconds, level - voices);
        EXPECT_LE(first, size_t(kaSound::OutputRate / 20)) << name;
        EXPECT_LT(level, voices) << name;
        EXPECT_GT(level, voices - 30) << name;
        EXPECT_LE(seconds, ShownCharacters(i) / 8.0) << name;
    }
    EXPECT_GT(effects, 0);
}

}  // namespace

double soundtest::VoicesMedianLevel() {
    std::ifstream list(AKARI_VOICE_LIST);
    std::vector<double> levels;
    for (std::string line; std::getline(list, line);) {
        std::istringstream fields(line);
        std::string file;
        std::string who;
        if (!(fields >> file >> who) || file[0] == '#' || who == "narrator") continue;
        std::vector<int16_t> s = ReadClip(file);
        levels.push_back(Level(s, 0, s.size()));
    }
    if (levels.empty()) return 0;
    std::nth_element(levels.begin(), levels.begin() + long(levels.size() / 2), levels.end());
    return levels[levels.size() / 2];
}
