// The voice tool's checks of the clips it is about to deliver: each voice at -3 dBFS,
// speaking at once and ending where its line is still read; the narration of a sensible
// length at the voices' level; the voices at the level the music and effects are held
// under; and, over the story's clips, 小夜 a girl beside 湊 and the narrator apart from both.
#pragma once
#include <string>
#include <vector>

struct SpokenClip {
    std::string file;     // in the game folder
    std::string path;     // where it is read from
    std::string speaker;  // minato, sayo, announce or narrator
};

// Prints a line "clip: what is wrong" for each fault and returns how many there were.
// voices are the WAVE clips the script plays, narration the narrator's Ogg Opus clips
// (the narrated lines in the script's order, then the phrases); script is its lines.
int CheckSpokenClips(const std::vector<SpokenClip>& voices, const std::vector<SpokenClip>& narration,
                     const std::vector<std::string>& script);
