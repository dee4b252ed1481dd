// The game's random generator: SplitMix64, whose state is a counter stepped by a fixed
// odd number and whose output is that counter well mixed; small, fast, and any state is
// a valid one, so a state read from a file needs no check.
#include "base/random.h"

static const uint64_t Step = 0x9E3779B97F4A7C15ULL;
static uint64_t State = 0;

void SeedRandom(uint32_t seed) { State = seed; }

int RandomNumber() {
    State += Step;
    uint64_t z = State;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return int(z >> 33);  // the high 31 bits
}

uint64_t RandomState() { return State; }
void SetRandomState(uint64_t state) { State = state; }
uint64_t RandomStateAfter(uint32_t seed, uint64_t draws) { return seed + draws * Step; }
