// The story's sound effects, each made from noise and resonances by its own recipe.
#pragma once
#include <string>
#include <vector>

namespace sfx {

// The effect named file (as data/effects.txt lists it): mono samples at the output
// rate and the level its loudest sample is written at, in dBFS. False when there is no
// recipe for that name.
bool MakeEffect(const std::string& file, std::vector<double>* samples, double* peakDecibels);

}  // namespace sfx
