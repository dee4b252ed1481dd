// The clips the build tools write into the game folder: 16-bit mono PCM RIFF WAVE at the
// mixer's output rate, so the game plays them without converting.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The whole file for these samples.
std::string WaveBytes(const std::vector<int16_t>& samples);

// Writes the file for these samples to path, then loads it back as the game loads a clip
// (its WAVE reader, then the conversion to the mixer's format). A file the game would
// refuse, or would play as other samples than these, is removed, and the tool says
// "<path>: not written as the game plays it". False on that or on a failed write.
bool WriteWaveFile(const std::string& path, const std::vector<int16_t>& samples);

// The samples scaled so that the loudest lies at peakLevel (1.0 is full scale); empty
// when all of them are silent.
std::vector<int16_t> ScaledToPeak(const std::vector<double>& mono, double peakLevel);
