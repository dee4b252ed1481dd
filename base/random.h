// The one random generator of the game: a small generator of our own whose whole state is
// one number, so that a save can keep it and a load put it back as it stood.
#pragma once
#include <cstdint>

// Called by StartGame with the time of day.
void SeedRandom(uint32_t seed);
// The next number, 0 to 2^31 - 1 (the range of the C library's rand here).
int RandomNumber();
// The generator's state: any value is one it can stand at.
uint64_t RandomState();
void SetRandomState(uint64_t state);
// The state that seeding with seed and drawing draws numbers leads to.
uint64_t RandomStateAfter(uint32_t seed, uint64_t draws);
