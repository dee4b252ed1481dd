// The lists in data/ that name the story's pictures, music, voice clips and sound
// effects: read by the script tool (to check the script against them), by the picture
// tool (to draw each picture) and by the effect tool (to make each effect); and the
// table of who each picture shows, which the script tool checks the scenes against.
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

// What a picture is to the scene over which it is shown: the place where it happens (it
// shows everyone the scene has in view), a sight (what they look at: a thing close, the
// sky, the train), a memory, or the end card (neither of them of that night's time).
enum class Shot { Place, Sight, Memory, Card };
// Whether snow falls in the picture's sky; None for a picture with no sky.
enum class Sky { Snow, Still, None };

struct CastEntry {
    std::string file;
    Shot shot = Shot::Place;
    std::vector<std::string> people;  // who is shown: 小夜, 湊
    Sky sky = Sky::None;
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
std::string ReadCastList(const std::string& path, std::vector<CastEntry>* out);
std::string ReadMusicList(const std::string& path, std::vector<MusicEntry>* out);
std::string ReadVoiceList(const std::string& path, std::vector<VoiceEntry>* out);
std::string ReadEffectList(const std::string& path, std::vector<EffectEntry>* out);
