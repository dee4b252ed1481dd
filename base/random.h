// The one random generator of the game (the C library's rand), with what it takes to put
// it back where it stood: the seed it was last given and the draws made since.
#pragma once
#include <cstdint>

// Where the generator stands: seeding with seed and drawing draws numbers leads there.
struct RandomPosition {
    uint32_t seed;
    uint64_t draws;
};

// Called by StartGame with the time of day: seeds the C library's rand.
void SeedRandom(uint32_t seed);
// The next number of rand (0 to RAND_MAX), counted.
int RandomNumber();
RandomPosition CurrentRandomPosition();
// Called by a load: seeds again and draws until the generator stands at position.
void RestoreRandomPosition(const RandomPosition& position);
