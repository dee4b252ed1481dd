// The narration's clips as the build writes them: Ogg Opus, mono, through libsndfile.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes the samples (at rate, one of Opus's: 8, 12, 16, 24 or 48 kHz) as an Ogg Opus
// file at about 32 kbit/s, the same samples always as the same bytes; it replaces path
// atomically, so that an interrupted build never leaves half a clip. False when it
// could not be written.
bool WriteOpusFile(const std::string& path, const std::vector<int16_t>& samples, int rate);
