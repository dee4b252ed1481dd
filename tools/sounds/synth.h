// Building blocks of the sound effects: seeded noise, two-pole filters, struck
// resonances, envelopes and a small space, on mono samples at the game's output rate.
#pragma once
#include <cstdint>
#include <vector>

namespace sfx {

constexpr double Rate = 44100;
using Samples = std::vector<double>;

// Silence of the given length, to be filled.
Samples Silence(double seconds);

// White noise in -1..1, the same for the same seed on every build.
struct Noise {
    uint32_t state;
    double Next();
    double Between(double low, double high);
};

// A two-pole filter (band-pass with a peak gain of 1, low-pass or high-pass).
struct Filter {
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double Run(double x);
    // Takes another filter's response and keeps its own state, for a filter that moves.
    void Reshape(const Filter& shape);
};
Filter BandPass(double hz, double q);
Filter LowPass(double hz, double q = 0.707);
Filter HighPass(double hz, double q = 0.707);

// Adds a struck resonance at `at` seconds: a sine of hz whose level falls by 60 dB in
// t60 seconds, starting at amplitude.
void Ring(Samples* s, double at, double hz, double amplitude, double t60);

// A burst's shape at t seconds from its start: rising over attack, then falling by
// 60 dB in t60.
double Strike(double t, double attack, double t60);

// A short click of noise through a band-pass, added at `at` seconds: the contact of a
// blow, a crackle or a grain of snow breaking.
void Click(Samples* s, Noise* noise, double at, double hz, double q, double amplitude, double length);

// Fades the first `in` and the last `out` seconds in and out along a half cosine.
void FadeEnds(Samples* s, double in, double out);

// The sound in a space of the given size (about its echo's spacing in seconds): a few
// feedback combs and all-passes whose tail falls by 60 dB in t60, mixed in at wet.
void Space(Samples* s, double size, double t60, double wet);

}  // namespace sfx
