// Building blocks of the sound effects (see synth.h).
#include "tools/sounds/synth.h"

#include <algorithm>
#include <cmath>

namespace sfx {

Samples Silence(double seconds) { return Samples(size_t(std::lround(seconds * Rate)), 0.0); }

double Noise::Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state / 2147483648.0 - 1.0;
}

double Noise::Between(double low, double high) { return low + (high - low) * (Next() + 1) / 2; }

double Filter::Run(double x) {
    double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1, x1 = x, y2 = y1, y1 = y;
    return y;
}

void Filter::Reshape(const Filter& shape) {
    b0 = shape.b0, b1 = shape.b1, b2 = shape.b2, a1 = shape.a1, a2 = shape.a2;
}

// The common form of the two-pole filters, normalised by a0.
static Filter Make(double b0, double b1, double b2, double a0, double a1, double a2) {
    return Filter{b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
}

Filter BandPass(double hz, double q) {
    double w = 2 * M_PI * hz / Rate, alpha = std::sin(w) / (2 * q);
    return Make(alpha, 0, -alpha, 1 + alpha, -2 * std::cos(w), 1 - alpha);
}

Filter LowPass(double hz, double q) {
    double w = 2 * M_PI * hz / Rate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
    return Make((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

Filter HighPass(double hz, double q) {
    double w = 2 * M_PI * hz / Rate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
    return Make((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

void Ring(Samples* s, double at, double hz, double amplitude, double t60) {
    size_t from = size_t(std::max(0.0, at) * Rate);
    size_t to = std::min(s->size(), from + size_t(t60 * Rate));
    double fall = std::log(1000.0) / (t60 * Rate);
    for (size_t i = from; i < to; ++i) {
        double n = double(i - from);
        (*s)[i] += amplitude * std::exp(-fall * n) * std::sin(2 * M_PI * hz * n / Rate);
    }
}

double Strike(double t, double attack, double t60) {
    if (t < 0) return 0;
    if (t < attack) return 0.5 - 0.5 * std::cos(M_PI * t / attack);
    return std::exp(-std::log(1000.0) * (t - attack) / t60);
}

void Click(Samples* s, Noise* noise, double at, double hz, double q, double amplitude, double length) {
    Filter band = BandPass(hz, q);
    size_t from = size_t(std::max(0.0, at) * Rate);
    size_t to = std::min(s->size(), from + size_t(length * 4 * Rate));
    for (size_t i = from; i < to; ++i) {
        double t = double(i - from) / Rate;
        double drive = t < length ? noise->Next() * Strike(t, length / 8, length) : 0.0;
        (*s)[i] += amplitude * band.Run(drive);
    }
}

void FadeEnds(Samples* s, double in, double out) {
    size_t rise = std::min(s->size() / 2, size_t(in * Rate)), fall = std::min(s->size() / 2, size_t(out * Rate));
    for (size_t i = 0; i < rise; ++i) (*s)[i] *= 0.5 - 0.5 * std::cos(M_PI * double(i) / double(rise));
    for (size_t i = 0; i < fall; ++i) (*s)[s->size() - 1 - i] *= 0.5 - 0.5 * std::cos(M_PI * double(i) / double(fall));
}

void Space(Samples* s, double size, double t60, double wet) {
    // Comb delays spread around the size, so their echoes do not pile up; all-passes short.
    const double combs[] = {1.0, 1.137, 1.271, 1.393}, passes[] = {0.0051, 0.0017};
    Samples out(s->size(), 0.0);
    for (double c : combs) {
        size_t delay = std::max<size_t>(1, size_t(size * c * Rate));
        double feedback = std::pow(10.0, -3.0 * double(delay) / Rate / t60);
        Samples line(delay, 0.0);
        double damped = 0;
        for (size_t i = 0; i < s->size(); ++i) {
            double y = line[i % delay];
            damped = 0.7 * y + 0.3 * damped;  // the walls take the highs first
            line[i % delay] = (*s)[i] + feedback * damped;
            out[i] += y / 4;
        }
    }
    for (double p : passes) {
        size_t delay = size_t(p * Rate);
        Samples line(delay, 0.0);
        for (size_t i = 0; i < out.size(); ++i) {
            double held = line[i % delay], x = out[i];
            double y = -0.6 * x + held;
            line[i % delay] = x + 0.6 * y;
            out[i] = y;
        }
    }
    for (size_t i = 0; i < s->size(); ++i) (*s)[i] += wet * out[i];
}

}  // namespace sfx
