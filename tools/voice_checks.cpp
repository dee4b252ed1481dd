// The voice tool's checks, on the clips read back as they were written.
#include "tools/voice_checks.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <map>

#include "tools/clip_checks.h"

namespace {

int Faults = 0;

__attribute__((format(printf, 2, 3))) void Fault(const std::string& clip, const char* format, ...) {
    std::fprintf(stderr, "%s: ", clip.c_str());
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    std::fprintf(stderr, "\n");
    ++Faults;
}

struct Samples {
    std::vector<double> mono;
    int rate = 0;
    double Seconds(size_t frames) const { return double(frames) / rate; }
};

Samples Read(const SpokenClip& clip) {
    Samples s;
    SF_INFO info = {};
    SNDFILE* file = sf_open(clip.path.c_str(), SFM_READ, &info);
    if (file && info.channels == 1) {
        s.mono.resize(size_t(info.frames));
        s.mono.resize(size_t(std::max<sf_count_t>(0, sf_readf_double(file, s.mono.data(), info.frames))));
        s.rate = info.samplerate;
    }
    if (file) sf_close(file);
    if (s.mono.empty()) Fault(clip.file, "cannot be read back");
    return s;
}

double PeakDb(const std::vector<double>& mono) {
    double peak = 0;
    for (double v : mono) peak = std::max(peak, std::fabs(v));
    return 20 * std::log10(peak + 1e-12);
}

double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + long(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// A voice's figures: the median pitch of its voiced frames and the mean of their spectral
// centroids up to 5 kHz, which a shorter vocal tract moves up. Over several clips: one
// sentence's intonation alone can move the pitch by a fifth, its vowels the centroid by a
// tenth.
struct Figures {
    double pitch = 0, centroid = 0;
};

// For each 30 ms frame loud enough to be speech, its fundamental: the shortest lag
// between 2 and 16 ms whose normalised autocorrelation comes within 10 % of the frame's
// best (a lag of two periods is not taken for one), every other sample being enough for
// the low partials that decide it; and its centroid, over bins 50 Hz apart under a Hann
// window.
void AddVoicedFrames(const Samples& s, std::vector<double>* pitches, std::vector<double>* centroids) {
    const int rate = s.rate, frame = rate * 3 / 100, hop = rate / 100, shortest = rate / 500, longest = rate * 2 / 125;
    const size_t turn = size_t(rate / 50);  // the phase of bin k at sample n is k n / turn turns
    std::vector<double> cosine(turn), sine(turn), windowed(static_cast<size_t>(frame)), r(size_t(longest) + 1);
    for (size_t m = 0; m < turn; ++m) {
        cosine[m] = std::cos(2 * M_PI * double(m) / double(turn));
        sine[m] = std::sin(2 * M_PI * double(m) / double(turn));
    }
    const std::vector<double>& x = s.mono;
    double loudest = 0;
    for (double v : x) loudest = std::max(loudest, std::fabs(v));
    for (size_t at = 0; at + size_t(frame + longest) < x.size(); at += size_t(hop)) {
        double energy = 0, best = 0;
        for (int n = 0; n < frame; n += 2) energy += x[at + n] * x[at + n];
        if (std::sqrt(energy * 2 / frame) < loudest * 0.05) continue;
        for (int lag = shortest; lag <= longest; ++lag) {
            double cross = 0, later = 0;
            for (int n = 0; n < frame; n += 2) {
                cross += x[at + n] * x[at + n + lag];
                later += x[at + n + lag] * x[at + n + lag];
            }
            r[size_t(lag)] = cross / std::sqrt(energy * later + 1e-30);
            best = std::max(best, r[size_t(lag)]);
        }
        if (best < 0.6) continue;  // unvoiced
        int lag = shortest;
        while (r[size_t(lag)] < 0.9 * best || (lag < longest && r[size_t(lag) + 1] > r[size_t(lag)])) ++lag;
        pitches->push_back(double(rate) / lag);
        for (int n = 0; n < frame; ++n) windowed[size_t(n)] = x[at + n] * (0.5 - 0.5 * std::cos(2 * M_PI * n / frame));
        double weighted = 0, total = 0;
        for (size_t k = 1; k <= 100; ++k) {
            double re = 0, im = 0;
            for (size_t n = 0; n < size_t(frame); ++n) {
                re += windowed[n] * cosine[k * n % turn];
                im -= windowed[n] * sine[k * n % turn];
            }
            weighted += 50.0 * double(k) * std::hypot(re, im);
            total += std::hypot(re, im);
        }
        centroids->push_back(weighted / total);
    }
}

Figures FiguresOf(const std::vector<const Samples*>& clips) {
    std::vector<double> pitches, centroids;
    for (const Samples* clip : clips) AddVoicedFrames(*clip, &pitches, &centroids);
    Figures f;
    if (pitches.empty()) return f;
    f.pitch = Median(pitches);
    for (double c : centroids) f.centroid += c / double(centroids.size());
    return f;
}

}  // namespace

int CheckSpokenClips(const std::vector<SpokenClip>& voices, const std::vector<SpokenClip>& narration,
                     const std::vector<std::string>& script) {
    Faults = 0;
    std::map<std::string, int> shown = ShownCharacters(script);
    std::map<std::string, std::vector<Samples>> bySpeaker;  // the first eight of each voice
    std::vector<double> voiceLevels, narrationLevels;
    int cutBySecond = 0;
    // Each voice speaks with its line, which appears at once, and stops soon enough: a
    // reader who clicks on at 8 characters a second cuts few by more than a second.
    for (const SpokenClip& clip : voices) {
        Samples s = Read(clip);
        if (s.mono.empty()) continue;
        auto [first, last] = SoundingPart(s.mono, s.rate);
        if (std::fabs(PeakDb(s.mono) + 3) > 0.05) Fault(clip.file, "peaks at %.2f dBFS, not -3", PeakDb(s.mono));
        if (s.mono.front() != 0 || s.mono.back() != 0 || s.Seconds(s.mono.size()) < 0.1)
            Fault(clip.file, "is %.2f s long, or does not begin and end in silence", s.Seconds(s.mono.size()));
        if (s.Seconds(first) > 0.05) Fault(clip.file, "speaks %.0f ms after its line appears", 1000 * s.Seconds(first));
        cutBySecond += shown.count(clip.file) && s.Seconds(last) > shown[clip.file] / 8.0 + 1;
        voiceLevels.push_back(LevelDb(s.mono, 0, s.mono.size()));
        std::vector<Samples>& kept = bySpeaker[clip.speaker];
        if (kept.size() < 8) kept.push_back(std::move(s));
    }
    if (cutBySecond * 10 > int(voices.size()))
        Fault("the voices", "%d of %zu go on more than a second after a reader leaves their line", cutBySecond,
              voices.size());
    // The narrator reads lines and phrases at the voices' level.
    for (size_t i = 0; i < narration.size(); ++i) {
        Samples s = Read(narration[i]);
        if (s.mono.empty()) continue;
        double seconds = s.Seconds(s.mono.size());
        if (seconds < 0.2 || seconds > 20) Fault(narration[i].file, "is %.2f s long", seconds);
        if (std::fabs(PeakDb(s.mono) + 3) > 1) Fault(narration[i].file, "peaks at %.2f dBFS, not -3", PeakDb(s.mono));
        narrationLevels.push_back(LevelDb(s.mono, 0, s.mono.size()));
        if (i >= 3 && bySpeaker["narrator"].size() < 8)  // after the quit prompt's three short lines
            bySpeaker["narrator"].push_back(std::move(s));
    }
    // The story's figures are taken over eight clips of each voice; the tools' tests
    // speak too few to judge by.
    for (const char* speaker : {"minato", "sayo", "narrator"})
        if (bySpeaker[speaker].size() < 8) return Faults;
    double voicesLevel = Median(voiceLevels), narrationLevel = Median(narrationLevels);
    if (std::fabs(voicesLevel - VoicesLevel) > VoicesLevelTolerance)
        Fault("the voices", "lie at %.1f dBFS (the median clip), not the %.1f dBFS of tools/clip_checks.h",
              voicesLevel, VoicesLevel);
    if (std::fabs(narrationLevel - voicesLevel) > 3)
        Fault("the narration", "lies at %.1f dBFS, not within 3 dB of the voices' %.1f dBFS", narrationLevel,
              voicesLevel);
    Figures figures[3];
    const char* const names[3] = {"minato", "sayo", "narrator"};
    for (int i = 0; i < 3; ++i) {
        std::vector<const Samples*> clips;
        for (const Samples& s : bySpeaker[names[i]]) clips.push_back(&s);
        figures[i] = FiguresOf(clips);
    }
    const Figures &minato = figures[0], &sayo = figures[1], &narrator = figures[2];
    std::printf("voices at %.1f dBFS (%d of %zu outlast a reader's line by a second), narration at %.1f dBFS; "
                "median pitch 湊 %.0f Hz, narrator %.0f Hz, 小夜 %.0f Hz; centroid of voiced frames 湊 %.0f Hz, "
                "小夜 %.0f Hz\n",
                voicesLevel, cutBySecond, voices.size(), narrationLevel, minato.pitch, narrator.pitch, sayo.pitch,
                minato.centroid, sayo.centroid);
    // 小夜 is a girl of seventeen and 湊 a young man: her pitch at least 1.7 times his, her
    // envelope at least 12 % higher; the narrator's pitch at least 15 % from each.
    if (minato.pitch < 95 || minato.pitch > 150)
        Fault("湊", "speaks at %.0f Hz, not where a young man's voice lies (95 to 150 Hz)", minato.pitch);
    if (sayo.pitch < 1.7 * minato.pitch || sayo.centroid < 1.12 * minato.centroid)
        Fault("小夜", "speaks at x %.2f 湊's pitch and x %.3f his envelope, not at least 1.7 and 1.12",
              sayo.pitch / minato.pitch, sayo.centroid / minato.centroid);
    if (narrator.pitch < 1.15 * minato.pitch || sayo.pitch < 1.15 * narrator.pitch)
        Fault("the narrator", "speaks at x %.2f 湊's pitch and x %.2f under 小夜's, not 1.15 from both",
              narrator.pitch / minato.pitch, sayo.pitch / narrator.pitch);
    return Faults;
}
