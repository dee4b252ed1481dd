// The lists in data/ that name the story's pictures, music, voice clips and sound
// effects: read by the script tool (to check the script against them), by the picture
// tool (to draw each picture) and by the effect tool (to make each effect).
#pragma once
#include <string>
#include <vector>

#include "base/screen_layout.h"

struct PictureEntry {
    std::string file;
    int bands = 1;                    // bands of the story screen stacked downwards
    int width = layout::Band.width;   // wider only for the sideways slide, with one band
    bool waved = false;  // drawn through swave:, keyed on its top-left pixel
};

struct MusicEntry {
    std::string file;
};

struct VoiceEntry {
    std::string file;
    std::string speaker;  // minato, sayo or announce
    std::string reading;  // spoken instead of the line when not empty
};

struct EffectEntry {
    std::string file;  // se_<name>.sad
};

// Each reader appends the entries of one list and returns "" or, for the first bad
// line, "path:line: why". Lines that are empty or begin with '#' are skipped.
std::string ReadPictureList(const std::string& path, std::vector<PictureEntry>* out);
std::string ReadMusicList(const std::string& path, std::vector<MusicEntry>* out);
std::string ReadVoiceList(const std::string& path, std::vector<VoiceEntry>* out);
std::string ReadEffectList(const std::string& path, std::vector<EffectEntry>* out);
