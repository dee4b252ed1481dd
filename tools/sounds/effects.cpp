// The story's sound effects (see effects.h): what the text names, made from noise,
// struck resonances and a little space, each from its own seed. Every draw of the noise
// is a statement of its own, so that any compiler makes the same clips.
#include "tools/sounds/effects.h"

#include <cmath>

#include "tools/sounds/synth.h"

namespace sfx {
namespace {

// 「きん」: a rail contracting in the cold rings once, thin and high. A steel bar's
// partials, each a close pair that beats as it fades, after the tick that starts them;
// the cold night gives a faint echo.
Samples RailRing() {
    Samples s = Silence(2.0);
    Noise noise{0x5A11u};
    Click(&s, &noise, 0.0, 5200, 2.0, 0.5, 0.002);
    const struct { double hz, amplitude, t60; } partials[] = {
        {2637, 1.0, 1.7}, {2640, 0.6, 1.6}, {4183, 0.45, 1.2}, {4189, 0.3, 1.1},
        {5921, 0.22, 0.8}, {7903, 0.1, 0.45}, {1421, 0.12, 0.5},
    };
    for (const auto& p : partials) Ring(&s, 0.0005, p.hz, p.amplitude, p.t60);
    Space(&s, 0.11, 1.4, 0.25);
    return s;
}

// 「ちりちり」: the stove's iron body ticking as it heats, in little runs, over the
// fire's low breath, and the coal settling once; in the small wooden waiting room.
Samples Stove() {
    Samples s = Silence(2.8);
    Noise noise{0x570Eu};
    Filter breath1 = LowPass(260), breath2 = LowPass(260);
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / Rate;
        s[i] = 0.5 * breath2.Run(breath1.Run(noise.Next())) * (0.8 + 0.2 * std::sin(2 * M_PI * 0.7 * t));
    }
    for (double t = 0.08; t < 2.5;) {
        int run = 2 + int(noise.Between(0, 4));
        for (int k = 0; k < run; ++k) {
            double hz = noise.Between(2200, 4200), level = noise.Between(0.5, 1.0);
            Click(&s, &noise, t, hz, 12, level, 0.002);
            t += noise.Between(0.03, 0.09);
        }
        t += noise.Between(0.15, 0.45);
    }
    for (int k = 0; k < 7; ++k) {
        double at = 1.35 + 0.035 * k + noise.Between(0, 0.02), hz = noise.Between(500, 1400);
        Click(&s, &noise, at, hz, 1.5, 0.6, 0.005);
    }
    Space(&s, 0.03, 0.35, 0.2);
    FadeEnds(&s, 0.03, 0.25);
    return s;
}

// Steps in fresh snow: the heel's soft thump, then the crunch of many small grains
// breaking, densest at first; four steps, the feet not quite alike.
Samples SnowSteps() {
    Samples s = Silence(2.6);
    Noise noise{0x5E0Du};
    for (int step = 0; step < 4; ++step) {
        double at = 0.04 + 0.62 * step + noise.Between(-0.03, 0.03);
        double loud = step % 2 ? 0.8 : 1.0;
        Filter heel1 = LowPass(170), heel2 = LowPass(170);
        size_t from = size_t(at * Rate);
        for (size_t i = from; i < s.size() && i < from + size_t(0.3 * Rate); ++i)
            s[i] += 3.0 * loud * heel2.Run(heel1.Run(noise.Next() * Strike(double(i - from) / Rate, 0.012, 0.12)));
        for (int grain = 0; grain < 110; ++grain) {
            double t = 0.24 * std::pow((noise.Next() + 1) / 2, 1.6);
            Click(&s, &noise, at + 0.012 + t, noise.Between(700, 3800), 2.5, 0.8 * loud * (1 - t / 0.3),
                  0.0015);
        }
    }
    Space(&s, 0.05, 0.3, 0.08);
    return s;
}

// 「しゅんしゅん」: the kettle on the stove, its steam hissing in breaths, the water
// bubbling under it.
Samples Kettle() {
    Samples s = Silence(3.0);
    Noise noise{0x4E77u};
    Filter high = HighPass(2400), top = LowPass(9000), tone = BandPass(3300, 6);
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / Rate;
        double pulse = std::pow(0.5 + 0.5 * std::sin(2 * M_PI * 2.1 * t - M_PI / 2), 2);
        double steam = top.Run(high.Run(noise.Next()));
        s[i] = (0.35 + 0.65 * pulse) * (0.6 * steam + 0.8 * tone.Run(steam));
    }
    for (int bubble = 0; bubble < 26; ++bubble) {
        double at = noise.Between(0.05, 2.8), hz = noise.Between(180, 420);
        Click(&s, &noise, at, hz, 6, 1.2, 0.012);
    }
    Space(&s, 0.03, 0.35, 0.15);
    FadeEnds(&s, 0.04, 0.4);
    return s;
}

// 「ざざっ」: the dead loudspeaker on its pillar crackles twice, the second cut short,
// through a horn's narrow band, with its amplifier's hum beneath.
Samples SpeakerNoise() {
    Samples s = Silence(0.9);
    Noise noise{0x2A2Au};
    Filter low = HighPass(450), high = LowPass(3200), horn = BandPass(1400, 1.2);
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / Rate;
        double first = t < 0.3 ? Strike(t, 0.02, 0.6) * std::min(1.0, (0.3 - t) / 0.03) : 0.0;
        double second = t >= 0.36 && t < 0.62 ? 1.1 * Strike(t - 0.36, 0.01, 2.0) * std::min(1.0, (0.62 - t) / 0.015) : 0.0;
        double crackle = noise.Next() > 0.992 ? 4.0 * noise.Next() : 0.0;
        double burst = std::tanh(2.5 * (first + second) * (noise.Next() + crackle));
        double hum = 0.06 * Strike(t, 0.05, 1.5) *
                     (std::sin(2 * M_PI * 50 * t) + 0.5 * std::sin(2 * M_PI * 150 * t) + 0.3 * std::sin(2 * M_PI * 250 * t));
        s[i] = high.Run(low.Run(burst)) + 0.8 * horn.Run(burst) + hum;
    }
    Space(&s, 0.09, 0.8, 0.15);
    return s;
}

// 「山が鳴るような、大きな音」: the avalanche, as she remembers it: a roar that swells
// out of the mountain with dull blows inside it, muffled by the snow.
Samples MountainRoar() {
    Samples s = Silence(3.6);
    Noise noise{0xAA1Au};
    Filter roar1 = LowPass(100, 0.9), roar2 = LowPass(100, 0.9), body = BandPass(60, 1.5);
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / Rate;
        if (i % 256 == 0) {
            double hz = 90 + 320 * Strike(t - 0.3, 1.0, 3.0);
            roar1.Reshape(LowPass(hz, 0.9));
            roar2.Reshape(LowPass(hz, 0.9));
        }
        double swell = std::max(0.35 * Strike(t, 0.03, 3.0), Strike(t, 1.2, 4.0));
        double low = roar2.Run(roar1.Run(noise.Next())), deep = body.Run(noise.Next());
        s[i] = swell * (low + 0.6 * deep);
    }
    for (double at : {0.7, 1.15, 1.5, 2.2}) Ring(&s, at, noise.Between(40, 55), 0.25, 0.6);
    FadeEnds(&s, 0.0, 0.6);
    return s;
}

// 「ごとん、ごとん」: old wheels coming out of the tunnel, each pair of a bogie over
// the rail joint, a heavier blow on the second, over a rumble that grows.
Samples TrainWheels() {
    Samples s = Silence(2.6);
    Noise noise{0x6070u};
    Filter rumble1 = LowPass(140), rumble2 = LowPass(140);
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / Rate;
        s[i] = 0.6 * (0.3 + 0.7 * t / 2.6) * rumble2.Run(rumble1.Run(noise.Next()));
    }
    const double joints[] = {0.02, 1.1};
    for (int j = 0; j < 2; ++j) {
        for (int wheel = 0; wheel < 2; ++wheel) {
            double hit = joints[j] + 0.17 * wheel, a = (0.7 + 0.3 * j) * (wheel ? 1.0 : 0.75);
            Ring(&s, hit, 62 + 8 * wheel, a, 0.35);         // the blow through the rail bed
            Ring(&s, hit, 118, 0.4 * a, 0.25);
            Click(&s, &noise, hit, 700, 2, 2.0 * a, 0.012);  // steel on steel
            Ring(&s, hit, 870 + 40 * wheel, 0.1 * a, 0.25);
            Ring(&s, hit, 1390, 0.05 * a, 0.18);
        }
    }
    Space(&s, 0.12, 1.2, 0.3);
    FadeEnds(&s, 0.0, 0.2);
    return s;
}

// 「ぱちん」: the ticket punch's jaws meet through the card: a dry snap, a short ring
// of the steel.
Samples TicketPunch() {
    Samples s = Silence(0.4);
    Noise noise{0x9A7Cu};
    Click(&s, &noise, 0.0, 4500, 1.5, 1.0, 0.004);
    Click(&s, &noise, 0.0, 1800, 3, 0.6, 0.006);
    const struct { double hz, amplitude, t60; } partials[] = {
        {3150, 0.3, 0.09}, {4720, 0.18, 0.06}, {6930, 0.08, 0.04}, {820, 0.15, 0.05}};
    for (const auto& p : partials) Ring(&s, 0.002, p.hz, p.amplitude, p.t60);
    Space(&s, 0.06, 0.5, 0.12);
    return s;
}

// The departure bell, 「聞いたことのない、澄んだ音」: a hand bell rung from somewhere,
// each swing a strike of its clear partials (the fundamental and its twelfth above
// all), the tail left to ring.
Samples DepartureBell() {
    Samples s = Silence(3.8);
    Noise noise{0xBE11u};
    const struct { double ratio, amplitude, t60; } partials[] = {
        {1.0, 1.0, 2.6}, {1.0017, 0.5, 2.4}, {3.0, 0.4, 1.5}, {4.24, 0.12, 0.8}, {5.43, 0.1, 0.6}, {6.79, 0.05, 0.4}};
    const double fundamental = 1175;
    for (int swing = 0; swing < 10; ++swing) {
        double at = 0.01 + 0.22 * swing + noise.Between(0, 0.015), a = swing % 2 ? 0.6 : 1.0;
        Click(&s, &noise, at, 3000, 2, 0.3 * a, 0.002);
        for (const auto& p : partials) Ring(&s, at, fundamental * p.ratio, a * p.amplitude, p.t60);
    }
    Space(&s, 0.13, 1.8, 0.35);
    FadeEnds(&s, 0.0, 0.3);
    return s;
}

// 「どさり」: snow slides off a cedar branch and lands: a rush, a soft heavy blow, the
// powder settling.
Samples SnowFall() {
    Samples s = Silence(1.3);
    Noise noise{0xD05Au};
    Filter rush = BandPass(900, 0.8), land1 = LowPass(220), land2 = LowPass(220), powder = HighPass(1800);
    for (size_t i = 0; i < s.size(); ++i) {
        double t = double(i) / Rate;
        double slide = rush.Run(noise.Next()), blow = land2.Run(land1.Run(noise.Next()));
        double dust = powder.Run(noise.Next());
        s[i] = 0.6 * Strike(t, 0.12, 0.25) * slide + 3.0 * Strike(t - 0.16, 0.008, 0.22) * blow +
               0.25 * Strike(t - 0.2, 0.05, 0.9) * dust;
    }
    Ring(&s, 0.16, 58, 0.5, 0.25);
    FadeEnds(&s, 0.0, 0.15);
    return s;
}

}  // namespace

bool MakeEffect(const std::string& file, std::vector<double>* samples, double* peakDecibels) {
    static const struct {
        const char* file;
        double peak;
        Samples (*make)();
    } Recipes[] = {
        {"se_rail_ring.sad", -15, RailRing},       {"se_stove.sad", -17, Stove},
        {"se_snow_steps.sad", -13, SnowSteps},     {"se_kettle.sad", -18, Kettle},
        {"se_speaker_noise.sad", -10, SpeakerNoise}, {"se_mountain_roar.sad", -9, MountainRoar},
        {"se_train_wheels.sad", -8, TrainWheels},  {"se_ticket_punch.sad", -9, TicketPunch},
        {"se_departure_bell.sad", -11, DepartureBell}, {"se_snow_fall.sad", -11, SnowFall},
    };
    for (const auto& r : Recipes)
        if (file == r.file) {
            *samples = r.make();
            *peakDecibels = r.peak;
            return true;
        }
    return false;
}

}  // namespace sfx
