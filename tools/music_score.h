// Writing music by hand for the MIDI writer: melodies in note names, chord symbols,
// and the parts drawn from them (broken chords, held chords, a bass), each with its own
// phrasing. Used by the music tool; a mistake in a score stops the build with a message.
#pragma once
#include <string>
#include <vector>

#include "tools/smf_writer.h"

namespace score {

constexpr int Division = 480;   // ticks to the beat
constexpr int Eighth = Division / 2;

// A chord held from tick for length: the pitch class of its bass and of its tones.
struct Chord {
    unsigned tick, length;
    int bass;
    std::vector<int> tones;
};

// "Fmaj7 C/E Dm7:2 G7:2 ...": one chord a bar unless ":beats" is given, the first at
// tick start.
std::vector<Chord> Chords(const std::string& symbols, int beatsPerBar, unsigned start = 0);

// Velocity of a note at tick: a rise and fall over every phrase of phraseBars bars
// between soft and loud, never quite down to soft where one phrase hands over to the
// next, and a little more on the bar's first beat.
struct Phrasing {
    int beatsPerBar, phraseBars, soft, loud;
    int At(unsigned tick) const;
};

// A melody "C5:3 A4:1 r:2 | ...": note names with octave and lengths in eighths, bars
// marked by '|' (checked). legato stretches each note (1 = its written length).
void Melody(smf::Track* track, int channel, unsigned start, const std::string& notes,
            const Phrasing& phrasing, double legato = 1.0, int transpose = 0);

// Broken chords: pattern lists, per eighth, an index into the chord's keys from the
// bass up over two octaves above low ('.' rests); each note rings for ring eighths.
void Broken(smf::Track* track, int channel, const std::vector<Chord>& chords, int low,
            const std::string& pattern, int ring, const Phrasing& phrasing);

// Held chords voiced between low and low + 12, for each chord's whole length.
void Held(smf::Track* track, int channel, const std::vector<Chord>& chords, int low,
          const Phrasing& phrasing);

// The bass: each chord's bass key between low and low + 12, for its whole length, or
// struck again every beats beats when beats > 0.
void Bass(smf::Track* track, int channel, const std::vector<Chord>& chords, int low,
          const Phrasing& phrasing, int beats = 0);

// Expression (controller 11) swelling from base to base + swell and back over every
// phrase, written every eighth from 0 to end.
void Swells(smf::Track* track, int channel, unsigned end, const Phrasing& phrasing, int base,
            int swell);

// Expression (controller 11) at base plus slow sines, each of which completes a whole
// number of cycles between 0 and end, so that the level at the end is the level at the
// start and the piece loops without a jump; written every eighth.
struct Wave {
    int cycles, depth;
    double phase;
};
void Waves(smf::Track* track, int channel, unsigned end, int base, const std::vector<Wave>& waves);

// A channel's instrument, volume (controller 7) and pan (controller 10) at tick 0.
void Voice(smf::Track* track, int channel, int program, int volume, int pan);

}  // namespace score
