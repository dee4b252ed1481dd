// The effect tool's check of one effect.
#include "tools/sounds/effect_checks.h"

#include <cstdio>

#include "tools/clip_checks.h"

int CheckEffect(const std::string& file, const std::vector<double>& mono, int rate,
                const std::map<std::string, int>& shown) {
    auto [first, last] = SoundingPart(mono, rate);
    double level = LevelDb(mono, first, last), seconds = double(mono.size()) / rate;
    auto line = shown.find(file);
    int faults = 0;
    auto fault = [&](const std::string& why) {
        std::fprintf(stderr, "%s: %s\n", file.c_str(), why.c_str());
        ++faults;
    };
    if (first > size_t(rate / 20)) fault("sounds " + std::to_string(first * 1000 / rate) + " ms after its line");
    if (level >= VoicesLevel || level <= VoicesLevel - 30)
        fault("lies at " + std::to_string(level) + " dBFS, not under the voices' " + std::to_string(VoicesLevel) +
              " and within 30 dB of it");
    if (line != shown.end() && seconds > line->second / 8.0)
        fault("lasts " + std::to_string(seconds) + " s, longer than a reader stays on its line of " +
              std::to_string(line->second) + " characters");
    return faults;
}
