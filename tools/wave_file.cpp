// Writing the game folder's clips (see wave_file.h).
#include "tools/wave_file.h"

#include <cmath>
#include <cstdio>

#include "base/files.h"
#include "base/little_endian.h"
#include "sound/kaSound.h"
#include "sound/sound_state.h"

std::string WaveBytes(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> b = {'R', 'I', 'F', 'F'};
    uint32_t dataBytes = uint32_t(samples.size() * 2);
    Put32(b, 36 + dataBytes);
    for (char c : std::string("WAVEfmt ")) b.push_back(uint8_t(c));
    Put32(b, 16);
    Put16(b, 1);  // PCM
    Put16(b, 1);  // mono
    Put32(b, kaSound::OutputRate);
    Put32(b, kaSound::OutputRate * 2);
    Put16(b, 2);
    Put16(b, 16);
    for (char c : std::string("data")) b.push_back(uint8_t(c));
    Put32(b, dataBytes);
    for (int16_t s : samples) Put16(b, uint16_t(s));
    return std::string(b.begin(), b.end());
}

// True when the game loads the file at path as exactly these samples, on both channels.
static bool PlayedAsWritten(const std::string& path, const std::vector<int16_t>& samples) {
    std::vector<uint8_t> format, data;
    std::vector<float> clip;
    if (kaSound::ReadWaveFile(path.c_str(), &format, &data) != 0 ||
        !kaSound::ConvertClip(format, data, &clip) || clip.size() != samples.size() * 2)
        return false;
    for (size_t i = 0; i < samples.size(); ++i) {
        float heard = samples[i] / 32768.0f;
        if (clip[2 * i] != heard || clip[2 * i + 1] != heard) return false;
    }
    return true;
}

bool WriteWaveFile(const std::string& path, const std::vector<int16_t>& samples) {
    if (!ReplaceFile(path.c_str(), WaveBytes(samples))) {
        std::fprintf(stderr, "%s: cannot write\n", path.c_str());
        return false;
    }
    if (PlayedAsWritten(path, samples)) return true;
    std::remove(path.c_str());
    std::fprintf(stderr, "%s: not written as the game plays it\n", path.c_str());
    return false;
}

std::vector<int16_t> ScaledToPeak(const std::vector<double>& mono, double peakLevel) {
    double peak = 0;
    for (double v : mono) peak = std::max(peak, std::fabs(v));
    if (peak <= 0) return {};
    std::vector<int16_t> samples(mono.size());
    for (size_t i = 0; i < mono.size(); ++i)
        samples[i] = int16_t(std::lround(mono[i] * peakLevel / peak * 32767.0));
    return samples;
}
