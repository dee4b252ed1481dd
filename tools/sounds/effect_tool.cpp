// Build-time effect tool: makes every sound effect that the effect list names, by its
// recipe, into the game folder as a clip the game plays without converting.
// Usage: akari_effect_tool effects.txt game-folder
// A list entry without a recipe, or a line that does not read, stops the build.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "base/files.h"
#include "tools/asset_lists.h"
#include "tools/sounds/effects.h"
#include "tools/sounds/synth.h"
#include "tools/wave_file.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s effects.txt game-folder\n", argv[0]);
        return 2;
    }
    std::vector<EffectEntry> list;
    std::string fault = ReadEffectList(argv[1], &list);
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        return 1;
    }
    int errors = 0;
    for (const EffectEntry& e : list) {
        std::vector<double> mono;
        double peak = 0;
        if (!sfx::MakeEffect(e.file, &mono, &peak)) {
            std::fprintf(stderr, "%s: %s has no recipe in tools/sounds/effects.cpp\n", argv[1], e.file.c_str());
            ++errors;
            continue;
        }
        // Both ends meet silence without a click: 2 ms in, 20 ms out.
        for (size_t i = 0; i < mono.size(); ++i) {
            double in = double(i) / (0.002 * sfx::Rate), out = double(mono.size() - 1 - i) / (0.02 * sfx::Rate);
            mono[i] *= std::min({1.0, in, out});
        }
        std::vector<int16_t> samples = ScaledToPeak(mono, std::pow(10.0, peak / 20));
        std::string path = std::string(argv[2]) + "/" + e.file;
        if (samples.empty() || !ReplaceFile(path.c_str(), WaveBytes(samples))) {
            std::fprintf(stderr, "%s: cannot write\n", path.c_str());
            ++errors;
        }
    }
    return errors ? 1 : 0;
}
