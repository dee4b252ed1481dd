// The level of spoken clips: speech has a few short peaks far above its body, so a clip
// scaled by its peak alone sounds quieter than music of the same peak.
#pragma once
#include <vector>

// The clip made lift times louder against its peak: scaled so that its peak would lie
// lift over the old one, with the peaks that would pass the old peak pressed smoothly
// under it. The gain falls over 2 ms before such a peak and comes back over 50 ms.
std::vector<double> Lifted(const std::vector<double>& mono, int rate, double lift);
