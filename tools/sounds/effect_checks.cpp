// The effect tool's check of one effect.
#include "tools/sounds/effect_checks.h"

#include <cstdio>

#include "tools/clip_checks.h"

int CheckEffect(const std::string& file, const std::vector<double>& mono, int rate,
                const std::map<std::string, int>& shown) {
    auto [first, last] = SoundingPart(mono, rate);
    double level = LevelDb(mono, first, last), seconds = double(mono.size()) / rate;
    auto line = shown.find(file);
    bool late = first > size_t(rate / 20), placed = level < VoicesLevel && level > VoicesLevel - 30,
         cut = line != shown.end() && seconds > line->second / 8.0;
    if (late) std::fprintf(stderr, "%s: sounds %.0f ms after its line\n", file.c_str(), 1000.0 * first / rate);
    if (!placed)
        std::fprintf(stderr, "%s: lies at %.1f dBFS, not under the voices' %.1f and within 30 dB of it\n",
                     file.c_str(), level, VoicesLevel);
    if (cut)
        std::fprintf(stderr, "%s: lasts %.2f s, longer than a reader stays on its line of %d characters\n",
                     file.c_str(), seconds, line->second);
    return late + !placed + cut;
}
