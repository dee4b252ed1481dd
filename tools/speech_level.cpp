// Lifting speech under its own peak (see speech_level.h).
#include "tools/speech_level.h"

#include <algorithm>
#include <cmath>
#include <deque>

std::vector<double> Lifted(const std::vector<double>& mono, int rate, double lift) {
    double peak = 0;
    for (double v : mono) peak = std::max(peak, std::fabs(v));
    const size_t n = mono.size(), ahead = size_t(rate / 500);
    if (peak <= 0 || n == 0) return mono;
    // The gain each sample needs to stay within the old peak.
    std::vector<double> need(n);
    for (size_t i = 0; i < n; ++i) need[i] = std::min(1.0, peak / (std::fabs(mono[i]) * lift + 1e-300));
    // Each sample's gain is no more than what the samples of its look-ahead need, and
    // comes back towards 1 slowly once they need less.
    std::vector<double> gain(n);
    std::deque<size_t> lowest;  // indices of rising needs in [i, i + ahead]: the front is the least
    const double release = 1.0 - std::exp(-1.0 / (0.05 * rate));
    double g = 1.0;
    for (size_t i = 0, next = 0; i < n; ++i) {
        for (; next < n && next <= i + ahead; ++next) {
            while (!lowest.empty() && need[lowest.back()] >= need[next]) lowest.pop_back();
            lowest.push_back(next);
        }
        while (lowest.front() < i) lowest.pop_front();
        g = std::min(need[lowest.front()], g + (1.0 - g) * release);
        gain[i] = g;
    }
    // Averaged over the look-ahead behind each sample, the gain falls smoothly and is
    // still never more than that sample needs (every gain averaged looked ahead to it).
    std::vector<double> out(n);
    double sum = 0;
    for (size_t i = 0; i < n; ++i) {
        sum += gain[i];
        if (i > ahead) sum -= gain[i - ahead - 1];
        out[i] = mono[i] * lift * sum / double(std::min(i, ahead) + 1);
    }
    return out;
}
