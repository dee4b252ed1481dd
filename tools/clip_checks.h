// What the build's checks of its sounds share: the level the voices are made to, which
// the music, the ambience and the sound effects are held under, where a clip sounds,
// its level, and how long the line it plays with stays on the screen.
#pragma once
#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The median over the voice clips of each clip's RMS, in dBFS; the voice tool holds the
// voices within VoicesLevelTolerance of it.
constexpr double VoicesLevel = -19.0;
constexpr double VoicesLevelTolerance = 1.5;

// The first and one past the last sample of the clip's sounding part: of 5 ms windows,
// those within 40 dB of its peak.
std::pair<size_t, size_t> SoundingPart(const std::vector<double>& mono, int rate);

// RMS of samples [from, to) in dBFS (1 is full scale).
double LevelDb(const std::vector<double>& mono, size_t from, size_t to);

// For each clip that a wave_play: of the UTF-8 script plays, the characters of the
// shortest prose line it plays with: a reader at 8 characters a second leaves that line
// (and the next step stops the clip) after a time in proportion.
std::map<std::string, int> ShownCharacters(const std::vector<std::string>& script);
