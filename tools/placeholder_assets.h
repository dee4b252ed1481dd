// Placeholders for the story's pictures, music and voice clips, written until the
// generators of the real ones land: one plain file of the right size and kind for each
// entry of data/pictures.txt, data/music.txt and data/voices.txt.
#pragma once
#include <string>
#include <vector>

struct Placeholder {
    enum Kind { Picture, Music, Voice } kind;
    std::string file;
    int width = 0, height = 0;  // pictures only
};

// The placeholders for the lists in dataFolder; "" or the first list's fault in *error.
std::vector<Placeholder> StoryPlaceholders(const std::string& dataFolder, std::string* error);
