// Build-time music tool: writes the story's five pieces and the two pieces of ambience
// under its silences as Standard MIDI files into the game folder. Each piece is a melody
// on channel 1 over a chord progression with broken chords, held chords and a bass, and
// loops: every part ends with the last bar, which leads back into the first. The pieces
// are checked (tools/music_checks.h) with the SoundFont they are balanced against before
// any is written; a fault stops the build.
// Usage: akari_music_tool game-folder soundfont.sf2
#include <cstdio>
#include <string>
#include <vector>

#include "tools/music_checks.h"
#include "tools/music_score.h"
#include "tools/smf_writer.h"

using namespace score;

// General MIDI programs, counted from 0.
enum Program {
    Piano = 0, Celesta = 8, Glockenspiel = 9, MusicBox = 10, NylonGuitar = 24,
    AcousticBass = 32, Cello = 42, Contrabass = 43, Harp = 46, Strings = 48,
    SlowStrings = 49, ChoirPad = 91, Flute = 73, WarmPad = 89, Seashore = 122,
};

// The percussion channel and the keys of it the ambience uses.
constexpr int Percussion = 9;
enum Drum { Maracas = 70, MuteTriangle = 80 };

// The ambience's own chance: the same on every build (each draw a statement of its own,
// as the order in which a call's arguments are worked out is the compiler's).
struct Chance {
    uint32_t state;
    double Between(double low, double high) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return low + (high - low) * (state % 10000) / 10000.0;
    }
};

// A piece under way: its tempo track and one track per part.
struct Piece {
    int beatsPerBar, bars;
    std::vector<smf::Track> tracks;
    unsigned End() const { return unsigned(beatsPerBar * bars * Division); }
    smf::Track* Part() { return &tracks.emplace_back(); }
};

static Piece Begin(double beatsPerMinute, int beatsPerBar, int bars) {
    Piece piece{beatsPerBar, bars, {}};
    smf::Tempo(piece.Part(), 0, beatsPerMinute);
    return piece;
}

static std::vector<uint8_t> Finish(const Piece& piece) {
    return smf::FileBytes(piece.tracks, Division, piece.End());
}

// Each piece is three sections of equal length, A, B and A': a theme, a contrasting
// middle in a neighbouring key, and the theme again, fuller and with a turned ending
// that leads back into its first bar. Section strings are concatenated, one chord
// or note list for the whole piece.

// Title and the first evening at the station: wistful and warm, piano over strings; the
// middle turns to D minor, and the theme comes back with a slow counter-line.
static std::vector<uint8_t> OpeningTheme() {
    Piece p = Begin(72, 4, 48);
    const std::string a = "F | C/E | Dm7 | Bbmaj7 | F/A | Gm7 | Bbmaj7 | C7sus4:3 C7:1 | "
                          "Dm | Am7 | Bbmaj7 | F/A | Gm7 | C/E | F:2 Bb:2 | Gm7:2 C7:2 | ";
    const std::string b = "Dm | Bbmaj7 | Gm7 | A7 | Dm | Bbmaj7 | Gm7 | C7sus4:2 C7:2 | "
                          "Bb | F/A | Gm7 | Dm | Bb | F/A | Gm7:2 Am7:2 | Bbmaj7:2 C7:2 | ";
    auto chords = Chords(a + b + a, 4);
    const std::string theme =
        "C5:3 A4:1 G4:2 A4:2 | G4:4 E4:2 G4:2 | A4:3 F4:1 D5:2 C5:2 | C5:4 Bb4:2 A4:2 | "
        "A4:3 G4:1 F4:2 C5:2 | D5:3 C5:1 Bb4:2 A4:2 | G4:2 A4:2 Bb4:2 D5:2 | C5:4 F5:2 E5:2 | "
        "F5:3 E5:1 D5:2 A4:2 | C5:3 A4:1 E5:2 C5:2 | D5:4 C5:2 Bb4:2 | A4:2 C5:2 F5:4 | ";
    const std::string middle =
        "D5:3 E5:1 F5:2 A5:2 | A5:4 G5:2 F5:2 | G5:3 F5:1 D5:2 Bb4:2 | C#5:4 E5:2 A4:2 | "
        "D5:3 E5:1 F5:2 D5:2 | F5:2 A5:2 D6:4 | C6:3 Bb5:1 A5:2 G5:2 | F5:4 E5:2 C5:2 | "
        "D5:3 F5:1 Bb5:2 A5:2 | A5:4 F5:2 C5:2 | Bb4:2 D5:2 G5:2 F5:2 | F5:4 E5:2 D5:2 | "
        "D5:3 F5:1 Bb5:3 A5:1 | A5:2 G5:2 F5:2 C5:2 | Bb4:2 G4:2 C5:2 E5:2 | D5:4 E5:2 G5:2 | ";
    smf::Track* melody = p.Part();
    Voice(melody, 0, Piano, 127, 72);
    Melody(melody, 0, 0,
           theme + "G5:3 F5:1 D5:2 Bb4:2 | C5:3 D5:1 E5:2 G5:2 | A5:4 G5:2 F5:2 | E5:2 D5:2 Bb4:2 E5:2 | " +
               middle + theme +
               "G5:3 F5:1 D5:2 Bb4:2 | C5:3 D5:1 E5:2 G5:2 | A5:3 Bb5:1 A5:2 F5:2 | G5:2 E5:2 C5:2 Bb4:2 |",
           {4, 4, 64, 104}, 1.05);
    smf::Track* hands = p.Part();
    Voice(hands, 1, Piano, 112, 56);
    Broken(hands, 1, chords, 41, "0 2 3 4 5 4 3 2", 3, {4, 4, 50, 70});
    smf::Track* strings = p.Part();
    Voice(strings, 2, Strings, 100, 80);
    Held(strings, 2, chords, 53, {4, 4, 56, 70});
    Swells(strings, 2, p.End(), {4, 4, 0, 0}, 94, 26);
    smf::Track* bass = p.Part();
    Voice(bass, 3, Cello, 106, 50);
    Bass(bass, 3, chords, 36, {4, 4, 58, 72});
    Swells(bass, 3, p.End(), {4, 4, 0, 0}, 84, 24);
    smf::Track* counter = p.Part();
    Voice(counter, 4, SlowStrings, 96, 40);
    Melody(counter, 4, unsigned(32 * 4 * Division),
           "A4:8 | G4:8 | F4:8 | D4:8 | C4:8 | Bb3:8 | D4:8 | E4:6 G4:2 | "
           "F4:8 | E4:8 | D4:8 | C4:8 | D4:8 | E4:8 | F4:4 D4:4 | Bb3:4 C4:4 |",
           {4, 4, 48, 68});
    return Finish(p);
}

// Night on the platform: quiet, cold and starry; a celesta with a music box's echo over
// a soft pad, a harp and a flute that joins halfway. The middle moves to A minor with
// the flute's own line; the theme returns and turns at its end.
static std::vector<uint8_t> NightPlatform() {
    Piece p = Begin(56, 3, 48);
    const std::string a = "Em9 | Cmaj7 | Am9 | Bm7 | Em9 | Cmaj7 | Am7 | D6 | "
                          "Cmaj7 | Bm7 | Am9 | G/B | Cmaj7 | Am9 | Cmaj7:2 D:1 | B7sus4 | ";
    const std::string b = "Am9 | Fmaj7 | Cmaj7 | G/B | Am9 | Fmaj7 | Dm7 | E7sus4:2 E7:1 | "
                          "Fmaj7 | Em7 | Dm7 | Cmaj7 | Fmaj7 | Em7 | Am7:2 D:1 | B7sus4:2 B7:1 | ";
    auto chords = Chords(a + b + a, 3);
    const std::string theme =
        "B5:2 F#5:2 G5:2 | E5:4 B4:2 | C6:2 B5:2 G5:2 | F#5:4 D5:2 | "
        "B5:2 F#5:2 G5:2 | E6:3 D6:1 B5:2 | C6:2 A5:2 E5:2 | F#5:6 | "
        "G5:2 E5:2 B5:2 | A5:3 F#5:1 D5:2 | E5:2 G5:2 B5:2 | D6:4 B5:2 | ";
    const std::string tune =
        theme + "C6:2 B5:2 G5:2 | E5:2 F#5:2 G5:2 | A5:4 F#5:2 | E5:3 F#5:3 | " +
        "A5:2 E5:2 C6:2 | A5:4 C5:2 | G5:2 E5:2 B5:2 | D6:4 B5:2 | C6:2 A5:2 E5:2 | F5:4 A5:2 | "
        "D6:3 C6:1 A5:2 | B5:4 G#5:2 | A5:2 C6:2 F6:2 | E6:4 B5:2 | D6:2 A5:2 F5:2 | E5:4 G5:2 | "
        "A5:2 C6:2 E6:2 | D6:3 B5:1 G5:2 | E5:2 F#5:2 A5:2 | F#5:4 D#5:2 | " +
        theme + "C6:2 E6:2 D6:2 | B5:2 A5:2 G5:2 | A5:4 F#5:2 | E5:3 F#5:3 |";
    smf::Track* celesta = p.Part();
    Voice(celesta, 0, Celesta, 127, 58);
    Melody(celesta, 0, 0, tune, {3, 4, 58, 98});
    smf::Track* echo = p.Part();
    Voice(echo, 4, MusicBox, 92, 88);
    Melody(echo, 4, 3 * Eighth, tune, {3, 4, 34, 56}, 1.0, 12);
    smf::Track* pad = p.Part();
    Voice(pad, 1, WarmPad, 108, 64);
    Held(pad, 1, chords, 52, {3, 4, 60, 72});
    Swells(pad, 1, p.End(), {3, 4, 0, 0}, 78, 34);
    const std::string flute =
        "r:6 | r:6 | r:6 | r:6 | B4:6 | G4:6 | C5:3 B4:3 | A4:6 | "
        "E5:6 | D5:6 | C5:4 B4:2 | D5:6 | E5:6 | C5:6 | C5:4 A4:2 | B4:6 | ";
    smf::Track* line = p.Part();
    Voice(line, 2, Flute, 96, 40);
    Melody(line, 2, 0,
           flute + "E5:6 | C5:6 | E5:6 | D5:6 | C5:6 | A4:6 | F4:3 A4:3 | A4:4 G#4:2 | "
                   "A4:6 | B4:6 | A4:6 | G4:6 | A4:6 | B4:6 | C5:3 D5:3 | E5:4 D#5:2 | " + flute,
           {3, 4, 46, 70});
    Swells(line, 2, p.End(), {3, 2, 0, 0}, 80, 30);
    smf::Track* harp = p.Part();
    Voice(harp, 3, Harp, 110, 70);
    Broken(harp, 3, chords, 40, "0 . 2 3 4 .", 4, {3, 4, 44, 60});
    return Finish(p);
}

// The uncanny turn: slow and unresolved; low strings and a double bass under a distant
// choir, a piano touching single notes far above them. The middle drifts further from
// home; when the theme returns a harp ripples under it and its last phrase turns back.
static std::vector<uint8_t> UncannyTurn() {
    Piece p = Begin(52, 4, 36);
    const std::string a = "Dmadd9 | Bbmaj7#11 | Gm6 | A7sus4 | Dmadd9 | Ebmaj7#11 | C#dim | A7sus4 | "
                          "Bbmaj7 | Gm6 | Ebmaj7#11 | A7b9 | ";
    const std::string b = "Gm6 | Em7b5 | Bbmaj7#11 | A7sus4 | Gm6 | Em7b5 | Fmaj7 | C#dim | "
                          "Dmmaj7 | Bbmaj7 | Gm6 | A7b9 | ";
    auto chords = Chords(a + b + a, 4);
    const std::string theme =
        "r:2 A5:2 r:1 E5:3 | r:4 D5:2 E5:2 | F5:6 r:2 | r:2 E5:2 D5:4 | "
        "r:2 A5:2 r:1 F5:3 | r:4 G5:2 A5:2 | Bb5:6 r:2 | r:2 A5:2 G5:4 | ";
    smf::Track* piano = p.Part();
    Voice(piano, 0, Piano, 112, 80);
    Melody(piano, 0, 0,
           theme + "r:2 F5:2 D5:2 C5:2 | E5:6 r:2 | r:2 D5:2 Bb4:2 G4:2 | C#5:4 Bb4:4 | " +
               "r:2 G5:2 r:1 Bb5:3 | r:4 E5:2 D5:2 | E5:6 r:2 | r:2 D5:2 E5:4 | "
               "r:2 D6:2 r:1 Bb5:3 | r:4 G5:2 Bb5:2 | A5:6 r:2 | r:2 G5:2 E5:4 | "
               "r:2 C#6:2 r:1 A5:3 | r:4 F5:2 D5:2 | E5:6 r:2 | r:2 Bb4:2 C#5:4 | " +
               theme + "r:2 F5:2 D5:2 A4:2 | E5:6 r:2 | r:2 D5:2 Bb4:2 G4:2 | C#5:4 E5:4 |",
           {4, 2, 48, 84}, 1.6);
    smf::Track* strings = p.Part();
    Voice(strings, 1, Strings, 112, 52);
    Held(strings, 1, chords, 45, {4, 2, 62, 76});
    Swells(strings, 1, p.End(), {4, 2, 0, 0}, 76, 40);
    smf::Track* bass = p.Part();
    Voice(bass, 2, Contrabass, 112, 60);
    Bass(bass, 2, chords, 28, {4, 2, 66, 80});
    Swells(bass, 2, p.End(), {4, 2, 0, 0}, 86, 30);
    smf::Track* choir = p.Part();
    Voice(choir, 3, ChoirPad, 76, 76);
    Held(choir, 3, chords, 57, {4, 4, 50, 62});
    smf::Track* harp = p.Part();
    Voice(harp, 4, Harp, 96, 30);
    Broken(harp, 4, Chords(a, 4, unsigned(24 * 4 * Division)), 50, "0 1 2 3 4 3 2 1", 3, {4, 2, 30, 48});
    return Finish(p);
}

// Ending A, waiting with her for the last train: bittersweet and luminous; slow strings
// join the piano's tune in its second half. The middle sings in B minor; the theme
// returns with the strings beneath it all the way, and rises before it begins again.
static std::vector<uint8_t> LastTrain() {
    Piece p = Begin(66, 4, 48);
    const std::string a = "D | A/C# | Bm7 | Gmaj7 | D/F# | Em7 | Gmaj7 | A7sus4:2 A:2 | "
                          "Bm | F#m7 | Gmaj7 | D/F# | Em9 | A/C# | Gmaj7 | Em7:2 A7:2 | ";
    const std::string b = "Bm | G | D/F# | A | Bm | Em7 | F#7sus4:2 F#7:2 | Bm | "
                          "G | A/G | F#m7 | Bm7 | Em9 | A/C# | Dmaj7 | Em7:2 A7:2 | ";
    auto chords = Chords(a + b + a, 4);
    const std::string first =
        "F#5:3 E5:1 D5:2 A4:2 | E5:4 C#5:2 A4:2 | D5:3 C#5:1 B4:2 F#5:2 | F#5:4 E5:2 D5:2 | "
        "A5:3 G5:1 F#5:2 D5:2 | G5:3 F#5:1 E5:2 B4:2 | D5:2 E5:2 F#5:2 B5:2 | A5:4 G5:2 E5:2 | ";
    const std::string second =
        "F#5:3 D5:1 B4:2 F#5:2 | A5:3 F#5:1 E5:2 C#5:2 | D5:3 E5:1 F#5:2 B5:2 | A5:4 F#5:2 D5:2 | "
        "G5:3 F#5:1 E5:2 D5:2 | E5:4 A5:2 C#6:2 | D6:4 B5:2 A5:2 | G5:2 F#5:2 E5:2 C#5:2 | ";
    const std::string risen =
        "F#5:3 D5:1 B4:2 F#5:2 | A5:3 F#5:1 E5:2 C#5:2 | D5:3 E5:1 F#5:2 B5:2 | A5:4 F#5:2 D5:2 | "
        "B5:3 A5:1 G5:2 E5:2 | A5:4 C#6:2 E6:2 | D6:4 B5:2 A5:2 | G5:2 F#5:2 E5:2 C#5:2 | ";
    smf::Track* melody = p.Part();
    Voice(melody, 0, Piano, 127, 70);
    Melody(melody, 0, 0,
           first + second +
               "B4:3 C#5:1 D5:2 F#5:2 | G5:4 F#5:2 D5:2 | A5:3 F#5:1 D5:2 A4:2 | C#5:4 E5:2 A5:2 | "
               "B5:3 A5:1 F#5:2 D5:2 | E5:3 G5:1 B5:2 D6:2 | C#6:4 A#5:2 F#5:2 | B5:6 r:2 | "
               "D5:3 E5:1 G5:2 B5:2 | A5:4 E5:2 C#5:2 | C#5:3 E5:1 A5:2 F#5:2 | D5:4 B4:2 F#5:2 | "
               "G5:3 F#5:1 E5:2 B4:2 | E5:3 C#5:1 A4:2 E5:2 | F#5:3 E5:1 D5:2 A5:2 | G5:2 B5:2 A5:2 C#6:2 | " +
               first + risen,
           {4, 4, 64, 104}, 1.05);
    smf::Track* hands = p.Part();
    Voice(hands, 1, Piano, 112, 58);
    Broken(hands, 1, chords, 38, "0 2 3 4 2 3 4 5", 3, {4, 8, 48, 70});
    smf::Track* pad = p.Part();
    Voice(pad, 2, Strings, 100, 84);
    Held(pad, 2, chords, 54, {4, 4, 52, 64});
    Swells(pad, 2, p.End(), {4, 8, 0, 0}, 64, 50);
    smf::Track* bass = p.Part();
    Voice(bass, 3, Cello, 106, 48);
    Bass(bass, 3, chords, 36, {4, 4, 56, 70});
    smf::Track* strings = p.Part();
    Voice(strings, 4, SlowStrings, 104, 36);
    Melody(strings, 4, unsigned(8 * 4 * Division), second, {4, 8, 50, 72}, 1.0, -12);
    Melody(strings, 4, unsigned(32 * 4 * Division), first + risen, {4, 8, 50, 72}, 1.0, -12);
    Swells(strings, 4, p.End(), {4, 8, 0, 0}, 70, 40);
    return Finish(p);
}

// Ending B, walking her down to the town at dawn: gentle and hopeful; a flute over a
// nylon guitar, strings and an acoustic bass. The middle walks through E minor, a
// bridge climbs back, and the theme returns brighter with a piano sparkling above it.
static std::vector<uint8_t> DawnWalk() {
    Piece p = Begin(76, 4, 52);
    const std::string a = "G | D/F# | Em7 | Cmaj7 | G/B | Am7 | Csus2:2 D:2 | G | "
                          "Em | Bm7 | Cmaj7 | G/B | Am7 | D/F# | Cadd9:2 D:2 | Am7:2 D7sus4:2 | ";
    const std::string b = "Em | C | G | D | Em | Am7 | D7sus4:2 D7:2 | G | "
                          "C | G/B | Am7 | D | Em | C | Am7:2 Bm7:2 | Cmaj7:2 D:2 | ";
    const std::string bridge = "Cmaj7 | Bm7 | Am7 | D7sus4:2 D7:2 | ";
    auto chords = Chords(a + b + bridge + a, 4);
    const std::string opening =
        "D5:2 G5:2 B5:3 A5:1 | A5:4 F#5:2 D5:2 | E5:2 G5:2 B5:2 D6:2 | C6:3 B5:1 G5:4 | "
        "B5:2 A5:2 G5:2 D5:2 | E5:3 G5:1 C6:4 | B5:2 A5:2 F#5:2 A5:2 | G5:6 r:2 | "
        "G5:2 B5:2 E6:3 D6:1 | D6:4 B5:2 A5:2 | G5:2 E5:2 G5:2 C6:2 | B5:4 G5:2 D5:2 | ";
    smf::Track* flute = p.Part();
    Voice(flute, 0, Flute, 118, 70);
    Melody(flute, 0, 0,
           opening + "C5:2 E5:2 A5:3 G5:1 | F#5:4 A5:2 D6:2 | C6:3 B5:1 A5:2 F#5:2 | G5:4 F#5:2 A5:2 | " +
               "B5:3 G5:1 E5:2 B4:2 | C5:2 E5:2 G5:3 E5:1 | D5:4 B4:2 D5:2 | F#5:4 A5:2 D6:2 | "
               "E6:2 B5:2 G5:3 B5:1 | A5:2 C6:2 E6:2 C6:2 | G5:4 F#5:2 A5:2 | G5:6 r:2 | "
               "E5:2 G5:2 C6:3 B5:1 | B5:4 G5:2 D5:2 | C6:3 B5:1 A5:2 E5:2 | F#5:4 D5:2 A5:2 | "
               "B5:3 C6:1 B5:2 G5:2 | E6:4 C6:2 G5:2 | A5:2 C6:2 B5:2 D6:2 | E6:4 F#6:2 D6:2 | "
               "E6:2 D6:2 B5:2 G5:2 | F#5:4 D5:2 B4:2 | C5:2 E5:2 A5:2 G5:2 | A5:4 F#5:2 C6:2 | " +
               opening + "C6:2 E6:2 A6:3 G6:1 | F#6:4 D6:2 A5:2 | C6:3 B5:1 A5:2 F#5:2 | G5:4 F#5:2 A5:2 |",
           {4, 2, 56, 92}, 0.95);
    Swells(flute, 0, p.End(), {4, 2, 0, 0}, 84, 30);
    smf::Track* guitar = p.Part();
    Voice(guitar, 1, NylonGuitar, 120, 52);
    Broken(guitar, 1, chords, 40, "0 3 2 4 1 3 2 4", 2, {4, 4, 50, 68});
    smf::Track* strings = p.Part();
    Voice(strings, 2, SlowStrings, 94, 84);
    Held(strings, 2, chords, 55, {4, 4, 50, 62});
    Swells(strings, 2, p.End(), {4, 4, 0, 0}, 70, 40);
    smf::Track* bass = p.Part();
    Voice(bass, 3, AcousticBass, 110, 60);
    Bass(bass, 3, chords, 31, {4, 4, 60, 76}, 2);
    smf::Track* sparkle = p.Part();
    Voice(sparkle, 4, Piano, 84, 96);
    Broken(sparkle, 4, Chords(a, 4, unsigned(36 * 4 * Division)), 67, "2 . 3 . 4 . 3 .", 2, {4, 4, 36, 54});
    return Finish(p);
}

// The ambience under the story's silences is written far under the music: its channels'
// volumes and velocities keep it about 20 dB under the voices at the story's -6 dB.
// Sea-shore noise, low, is a wind; higher and steady, a far stream. A note held to the
// end starts again at the loop at once, so the loop has no gap.

// The night outside: a far stream that hardly changes, and a wind in the cedars that
// rises and falls in long gusts.
static std::vector<uint8_t> NightAmbience() {
    Piece p = Begin(60, 4, 32);
    smf::Track* stream = p.Part();
    Voice(stream, 0, Seashore, 100, 88);
    // A held note of this noise fades within seconds: the stream is struck again every
    // six to ten seconds, unevenly, so that it never beats like surf, and the wind's gusts
    // are a bar or two each. The loop starts on the stream alone and softer, as the notes
    // that sound at the end are old and have faded.
    Chance chance{0x31D7u};
    for (unsigned tick = 0; tick < p.End();) {
        int key = int(chance.Between(62, 67));
        smf::Note(stream, 0, tick, 12 * Division, key, tick ? 80 : 70);
        tick += unsigned(chance.Between(6, 10)) * Division;
    }
    Waves(stream, 0, p.End(), 96, {{8, 6, 0.0}});
    smf::Track* wind = p.Part();
    Voice(wind, 1, Seashore, 84, 40);
    for (unsigned tick = Division; tick < p.End();) {
        unsigned length = unsigned(chance.Between(1, 3)) * 4 * Division;
        int key = int(chance.Between(45, 54)), velocity = int(chance.Between(60, 96));
        smf::Note(wind, 1, tick, length + 4 * Division, key, velocity);
        tick += length;
    }
    Waves(wind, 1, p.End(), 90, {{5, 18, 0.0}, {13, 8, 1.0}});
    return Finish(p);
}

// The waiting room when the music stops: the coal fire breathing low in the stove, and
// the iron body ticking now and then in little runs, a coal settling once in a while.
static std::vector<uint8_t> StoveAmbience() {
    Piece p = Begin(60, 4, 24);
    smf::Track* fire = p.Part();
    Voice(fire, 0, Seashore, 84, 64);
    Chance chance{0x57F0u};
    for (unsigned tick = 0; tick < p.End();) {  // struck again unevenly, as the night's stream
        int key = int(chance.Between(36, 40));
        smf::Note(fire, 0, tick, 16 * Division, key, tick ? 80 : 64);
        tick += unsigned(chance.Between(6, 10)) * Division;
    }
    Waves(fire, 0, p.End(), 92, {{16, 14, 0.0}, {5, 8, 2.0}});
    smf::Track* iron = p.Part();
    smf::Control(iron, Percussion, 0, 7, 100);
    for (unsigned tick = Division; tick + 4 * Division < p.End();) {
        int run = int(chance.Between(2, 5));
        for (int k = 0; k < run; ++k) {
            smf::Note(iron, Percussion, tick, Eighth, MuteTriangle, int(chance.Between(20, 44)));
            tick += unsigned(chance.Between(0.12, 0.35) * Division);
        }
        if (chance.Between(0, 1) < 0.3)
            smf::Note(iron, Percussion, tick + Division, Eighth, Maracas, int(chance.Between(24, 48)));
        tick += unsigned(chance.Between(3, 9) * Division);
    }
    return Finish(p);
}

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s game-folder soundfont.sf2\n", argv[0]);
        return 2;
    }
    const struct { const char* name; std::vector<uint8_t> (*write)(); } Pieces[] = {
        {"bgm01.mid", OpeningTheme}, {"bgm02.mid", NightPlatform}, {"bgm03.mid", UncannyTurn},
        {"bgm04.mid", LastTrain},    {"bgm05.mid", DawnWalk},
        {"amb_night.mid", NightAmbience}, {"amb_stove.mid", StoveAmbience},
    };
    std::vector<PieceFile> pieces;
    for (const auto& piece : Pieces)
        pieces.push_back({piece.name, piece.write(), std::string(piece.name).rfind("amb_", 0) == 0});
    if (int faults = CheckPieces(pieces, argv[2])) {
        std::fprintf(stderr, "%d faults in the music; none written\n", faults);
        return 1;
    }
    for (const PieceFile& piece : pieces) {
        const std::vector<uint8_t>& bytes = piece.bytes;
        std::string path = std::string(argv[1]) + "/" + piece.file;
        std::FILE* file = std::fopen(path.c_str(), "wb");
        bool ok = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        if (!file || std::fclose(file) != 0 || !ok) {
            std::fprintf(stderr, "%s: cannot write\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
