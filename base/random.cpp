// The game's random generator and its position, counted so that a save can keep it.
#include "base/random.h"

#include <cstdlib>

static RandomPosition Position = {1, 0};  // rand's own start: seeded with 1

void SeedRandom(uint32_t seed) {
    std::srand(seed);
    Position = {seed, 0};
}

int RandomNumber() {
    ++Position.draws;
    return std::rand();
}

RandomPosition CurrentRandomPosition() { return Position; }

// rand's state cannot be read, but it follows from its seed and the draws since: those
// are replayed (a few million a second; a long session draws one a frame at most).
void RestoreRandomPosition(const RandomPosition& position) {
    SeedRandom(position.seed);
    for (uint64_t i = 0; i < position.draws; ++i) RandomNumber();
}
