// The voice clips the build spoke: one for every clip the shipped script plays, in the
// format the story engine loads, and 小夜's voice clearly higher than 湊's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <cstring>

#include "sound/kaSound.h"
#include "story/script.h"

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

TEST(VoiceClips, EveryClipTheScriptPlaysIsThereAtMinus3dBFSWithSilentEnds) {
    int clips = 0;
    for (int i = 0; i < ScriptLineCount && ShippedScript[i][0]; ++i) {
        if (MatchKeyword(ShippedScript[i]) != KwWavePlay) continue;
        std::string name = ShippedScript[i] + std::strlen(KeywordText[KwWavePlay]);
        std::vector<int16_t> s = ReadClip(name);
        if (s.empty()) continue;
        ++clips;
        int peak = 0;
        for (int16_t v : s) peak = std::max(peak, std::abs(int(v)));
        EXPECT_NEAR(20 * std::log10(peak / 32767.0), -3.0, 0.05) << name;
        EXPECT_EQ(s.front(), 0) << name;
        EXPECT_EQ(s.back(), 0) << name;
        EXPECT_GT(s.size(), size_t(kaSound::OutputRate / 4)) << name;
    }
    EXPECT_GT(clips, 0);
}

// The fundamental frequency of each voiced frame: for each 30 ms frame loud enough to be
// speech, the shortest lag between 2 ms and 16 ms whose normalised autocorrelation comes
// within 10 % of the frame's best (so a lag of two periods is not taken for one). Every
// other sample is enough for the low partials that decide it.
void AddPitches(const std::vector<int16_t>& s, std::vector<double>* pitches) {
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
        pitches->push_back(double(kaSound::OutputRate) / lag);
    }
}

// The median pitch of a speaker's first few clips in the voice list: one sentence's
// intonation alone can move it by a fifth.
double MedianPitchOf(const std::string& speaker) {
    std::ifstream list(AKARI_VOICE_LIST);
    std::vector<double> pitches;
    int clips = 0;
    for (std::string line; clips < 4 && std::getline(list, line);) {
        std::istringstream fields(line);
        std::string file, who;
        fields >> file >> who;
        if (who != speaker) continue;
        AddPitches(ReadClip(file), &pitches);
        ++clips;
    }
    if (pitches.empty()) return 0;
    std::nth_element(pitches.begin(), pitches.begin() + pitches.size() / 2, pitches.end());
    return pitches[pitches.size() / 2];
}

TEST(VoiceClips, SayoSpeaksAtLeastFourTenthsHigherThanMinato) {
    double minato = MedianPitchOf("minato"), sayo = MedianPitchOf("sayo");
    EXPECT_GT(minato, 70.0) << "no voiced 湊 clip";
    EXPECT_GE(sayo, 1.4 * minato) << "小夜 " << sayo << " Hz, 湊 " << minato << " Hz";
}

}  // namespace
