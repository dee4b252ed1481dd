// The music tool's checks of the pieces it is about to write, read back from their bytes:
// each piece of music has parts, harmony and a tune of its own, which leaves its theme
// and comes back to it; and every piece, played by FluidSynth as the game plays it (its
// gain, no reverb or chorus, the story's -6 dB), lasts long enough to be rarely heard
// twice, loops without a seam, and sits at its level: the music under the voices yet
// heard, the ambience well under them, neither near the limiter nor falling silent.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct PieceFile {
    std::string file;
    std::vector<uint8_t> bytes;
    bool ambience;  // played under the story's silences; it has no tune
};

// Prints a line "file: what is wrong" for each fault and returns how many there were;
// soundFont is the General MIDI SoundFont the pieces are balanced against.
int CheckPieces(const std::vector<PieceFile>& pieces, const char* soundFont);
