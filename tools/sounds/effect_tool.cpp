// Build-time effect tool: makes every sound effect that the effect list names, by its
// recipe, into the game folder as a clip the game plays without converting.
// Usage: akari_effect_tool effects.txt script.txt game-folder
// A list entry without a recipe, a line that does not read, or an effect that fails its
// check (tools/sounds/effect_checks.h) against the lines the script plays it with stops
// the build, and nothing is written.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "base/files.h"
#include "tools/asset_lists.h"
#include "tools/clip_checks.h"
#include "tools/sounds/effect_checks.h"
#include "tools/sounds/effects.h"
#include "tools/sounds/synth.h"
#include "tools/spoken_lines.h"
#include "tools/wave_file.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s effects.txt script.txt game-folder\n", argv[0]);
        return 2;
    }
    std::vector<EffectEntry> list;
    std::string fault = ReadEffectList(argv[1], &list);
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        return 1;
    }
    Refusals unreadable;
    std::map<std::string, int> shown = ShownCharacters(ReadLines(argv[2], &unreadable));
    for (const std::string& why : unreadable) std::fprintf(stderr, "%s\n", why.c_str());
    int errors = int(unreadable.size());
    std::vector<std::vector<int16_t>> made;
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
        made.push_back(ScaledToPeak(mono, std::pow(10.0, peak / 20)));
        std::vector<double> written(made.back().begin(), made.back().end());
        for (double& v : written) v /= 32768;
        errors += CheckEffect(e.file, written, int(sfx::Rate), shown);
    }
    if (errors) {
        std::fprintf(stderr, "%s: %d faults in the effects; none written\n", argv[1], errors);
        return 1;
    }
    for (size_t i = 0; i < list.size(); ++i) {
        std::string path = std::string(argv[3]) + "/" + list[i].file;
        if (made[i].empty()) {
            std::fprintf(stderr, "%s: cannot write\n", path.c_str());
            return 1;
        }
        if (!WriteWaveFile(path, made[i])) return 1;
    }
    return 0;
}
