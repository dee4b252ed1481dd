// Writing music by hand for the MIDI writer (see music_score.h).
#include "tools/music_score.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace score {

[[noreturn]] static void Fail(const std::string& what, const std::string& where) {
    std::fprintf(stderr, "music score: %s in \"%s\"\n", what.c_str(), where.c_str());
    std::exit(1);
}

static std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// A note name's pitch class ("C", "F#", "Bb"), reading from *at on.
static int PitchClass(const std::string& text, size_t* at) {
    static const int Naturals[7] = {9, 11, 0, 2, 4, 5, 7};  // A to G
    char letter = *at < text.size() ? text[*at] : 0;
    if (letter < 'A' || letter > 'G') Fail("no note name", text);
    int pc = Naturals[letter - 'A'];
    ++*at;
    if (*at < text.size() && text[*at] == '#') ++pc, ++*at;
    else if (*at < text.size() && text[*at] == 'b') pc += 11, ++*at;
    return pc % 12;
}

static std::vector<int> Intervals(const std::string& quality, const std::string& where) {
    static const struct { const char* name; std::vector<int> steps; } Qualities[] = {
        {"", {0, 4, 7}},           {"m", {0, 3, 7}},           {"7", {0, 4, 7, 10}},
        {"maj7", {0, 4, 7, 11}},   {"m7", {0, 3, 7, 10}},      {"6", {0, 4, 7, 9}},
        {"m6", {0, 3, 7, 9}},      {"sus2", {0, 2, 7}},        {"sus4", {0, 5, 7}},
        {"7sus4", {0, 5, 7, 10}},  {"add9", {0, 4, 7, 2}},     {"madd9", {0, 3, 7, 2}},
        {"m9", {0, 3, 7, 10, 2}},  {"maj9", {0, 4, 7, 11, 2}}, {"9", {0, 4, 7, 10, 2}},
        {"dim", {0, 3, 6}},        {"m7b5", {0, 3, 6, 10}},    {"mmaj7", {0, 3, 7, 11}},
        {"maj7#11", {0, 4, 7, 11, 6}}, {"aug", {0, 4, 8}},     {"7b9", {0, 4, 7, 10, 1}},
    };
    for (const auto& q : Qualities)
        if (quality == q.name) return q.steps;
    Fail("unknown chord quality '" + quality + "'", where);
}

std::vector<Chord> Chords(const std::string& symbols, int beatsPerBar, unsigned start) {
    std::vector<Chord> chords;
    unsigned tick = start;
    for (const std::string& word : Words(symbols)) {
        if (word == "|") {
            if ((tick - start) % unsigned(beatsPerBar * Division)) Fail("bar line inside a bar", symbols);
            continue;
        }
        size_t at = 0;
        int root = PitchClass(word, &at);
        size_t slash = word.find('/'), colon = word.find(':');
        std::string quality = word.substr(at, std::min(slash, colon) - at);
        Chord chord{tick, unsigned(beatsPerBar * Division), root, {}};
        for (int step : Intervals(quality, word)) chord.tones.push_back((root + step) % 12);
        if (slash != std::string::npos) {
            size_t bassAt = slash + 1;
            chord.bass = PitchClass(word, &bassAt);
        }
        if (colon != std::string::npos) chord.length = unsigned(std::atoi(word.c_str() + colon + 1) * Division);
        chords.push_back(chord);
        tick += chord.length;
    }
    return chords;
}

int Phrasing::At(unsigned tick) const {
    unsigned bar = unsigned(beatsPerBar * Division), phrase = bar * unsigned(phraseBars);
    double t = double(tick % phrase) / phrase;
    double level = soft + (loud - soft) * (0.3 + 0.7 * std::sin(M_PI * t));
    if (tick % bar == 0) level += 4;
    return int(std::lround(level));
}

// The lowest key of a pitch class at or above low.
static int KeyAbove(int pitchClass, int low) { return low + ((pitchClass - low) % 12 + 12) % 12; }

void Melody(smf::Track* track, int channel, unsigned start, const std::string& notes,
            const Phrasing& phrasing, double legato, int transpose) {
    unsigned tick = start;
    for (const std::string& word : Words(notes)) {
        if (word == "|") {
            if ((tick - start) % unsigned(phrasing.beatsPerBar * Division))
                Fail("bar line inside a bar at tick " + std::to_string(tick), notes);
            continue;
        }
        size_t colon = word.find(':');
        if (colon == std::string::npos) Fail("no length in '" + word + "'", notes);
        unsigned length = unsigned(std::atof(word.c_str() + colon + 1) * Eighth);
        if (word[0] != 'r') {
            size_t at = 0;
            int pc = PitchClass(word, &at);
            int octave = std::atoi(word.c_str() + at);
            int key = 12 * (octave + 1) + pc + transpose;
            smf::Note(track, channel, tick, unsigned(length * legato), key, phrasing.At(tick));
        }
        tick += length;
    }
}

// The chord's keys from its bass up over about two and a half octaves.
static std::vector<int> Keys(const Chord& chord, int low) {
    int bass = KeyAbove(chord.bass, low);
    std::vector<int> keys = {bass};
    for (int key = bass + 1; key < bass + 31; ++key)
        for (int pc : chord.tones)
            if (key % 12 == pc) keys.push_back(key);
    return keys;
}

void Broken(smf::Track* track, int channel, const std::vector<Chord>& chords, int low,
            const std::string& pattern, int ring, const Phrasing& phrasing) {
    std::vector<std::string> steps = Words(pattern);
    for (const Chord& chord : chords) {
        std::vector<int> keys = Keys(chord, low);
        unsigned end = chord.tick + chord.length;
        for (unsigned tick = chord.tick, n = 0; tick < end; tick += Eighth, ++n) {
            const std::string& step = steps[((tick / Eighth) % steps.size())];
            if (step == ".") continue;
            size_t index = std::min(size_t(std::atoi(step.c_str())), keys.size() - 1);
            unsigned length = std::min(unsigned(ring * Eighth), end - tick);
            smf::Note(track, channel, tick, length, keys[index], phrasing.At(tick) - int(n % 2) * 6);
        }
    }
}

void Held(smf::Track* track, int channel, const std::vector<Chord>& chords, int low,
          const Phrasing& phrasing) {
    for (const Chord& chord : chords)
        for (int pc : chord.tones)
            smf::Note(track, channel, chord.tick, chord.length, KeyAbove(pc, low),
                      phrasing.At(chord.tick));
}

void Bass(smf::Track* track, int channel, const std::vector<Chord>& chords, int low,
          const Phrasing& phrasing, int beats) {
    for (const Chord& chord : chords) {
        unsigned step = beats > 0 ? unsigned(beats * Division) : chord.length;
        for (unsigned tick = chord.tick; tick < chord.tick + chord.length; tick += step)
            smf::Note(track, channel, tick, std::min(step, chord.tick + chord.length - tick),
                      KeyAbove(chord.bass, low), phrasing.At(tick));
    }
}

void Swells(smf::Track* track, int channel, unsigned end, const Phrasing& phrasing, int base,
            int swell) {
    unsigned phrase = unsigned(phrasing.beatsPerBar * Division * phrasing.phraseBars);
    for (unsigned tick = 0; tick < end; tick += Eighth)
        smf::Control(track, channel, tick, 11,
                     int(std::lround(base + swell * std::sin(M_PI * double(tick % phrase) / phrase))));
}

void Waves(smf::Track* track, int channel, unsigned end, int base, const std::vector<Wave>& waves) {
    for (unsigned tick = 0; tick < end; tick += Eighth) {
        double level = base;
        for (const Wave& w : waves) level += w.depth * std::sin(2 * M_PI * w.cycles * double(tick) / end + w.phase);
        smf::Control(track, channel, tick, 11, int(std::lround(level)));
    }
}

void Voice(smf::Track* track, int channel, int program, int volume, int pan) {
    smf::Program(track, channel, 0, program);
    smf::Control(track, channel, 0, 7, volume);
    smf::Control(track, channel, 0, 10, pan);
}

}  // namespace score
