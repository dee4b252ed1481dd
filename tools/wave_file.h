// The clips the build tools write into the game folder: 16-bit mono PCM RIFF WAVE at the
// mixer's output rate, so the game plays them without converting.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The whole file for these samples.
std::string WaveBytes(const std::vector<int16_t>& samples);

// The samples scaled so that the loudest lies at peakLevel (1.0 is full scale); empty
// when all of them are silent.
std::vector<int16_t> ScaledToPeak(const std::vector<double>& mono, double peakLevel);
