// Measures of the clips the voice and effect tools make.
#include "tools/clip_checks.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "story/records/script.h"

std::pair<size_t, size_t> SoundingPart(const std::vector<double>& mono, int rate) {
    const size_t window = size_t(rate / 200);
    double peak = 0;
    for (double v : mono) peak = std::max(peak, std::fabs(v));
    size_t first = mono.size(), last = 0;
    for (size_t at = 0; at + window <= mono.size(); at += window / 5) {
        double energy = 0;
        for (size_t n = at; n < at + window; ++n) energy += mono[n] * mono[n];
        if (std::sqrt(energy / double(window)) < peak / 100) continue;
        first = std::min(first, at);
        last = at + window;
    }
    return {first, last};
}

double LevelDb(const std::vector<double>& mono, size_t from, size_t to) {
    to = std::min(to, mono.size());
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += mono[i] * mono[i];
    return 10 * std::log10(sum / double(std::max<size_t>(1, to - from)) + 1e-20);
}

std::map<std::string, int> ShownCharacters(const std::vector<std::string>& script) {
    std::map<std::string, int> shown;
    std::vector<std::string> waiting;
    for (const std::string& line : script) {
        if (line.empty()) break;
        if (IsToolNote(line.c_str())) continue;
        Keyword k = MatchKeyword(line.c_str());
        if (k == KwWavePlay) waiting.push_back(line.substr(std::strlen(KeywordText[KwWavePlay])));
        if (k != KwNone) continue;
        int characters = int(std::count_if(line.begin(), line.end(), [](char c) { return (c & 0xC0) != 0x80; }));
        for (const std::string& clip : waiting)
            shown[clip] = shown.count(clip) ? std::min(shown[clip], characters) : characters;
        waiting.clear();
    }
    return shown;
}
