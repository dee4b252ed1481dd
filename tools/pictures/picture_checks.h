// The picture tool's checks of what it is about to write: each file read back by the
// game's own decoder and held against what the screens and the story need of it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/asset_lists.h"

// A picture file as the tool writes it into the game folder.
struct PictureFile {
    std::string file;
    std::vector<uint8_t> bytes;
};

// Prints a line "file: what is wrong" for each fault and returns how many there were:
// a size other than its screen's or its list entry's, the key colour where a keyed
// picture must show, a light left edge under the wave effect, strip bands that cut
// instead of moving, a menu or panel button drawn off the place its clicks are taken,
// and no file left to exercise the decoder's palette, RLE and 4-bit paths.
int CheckPictures(const std::vector<PictureEntry>& list, const std::vector<PictureFile>& files);
