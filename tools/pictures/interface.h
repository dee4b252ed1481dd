// The nine interface pictures the game loads at start-up, with the sizes and button
// boxes its screens use.
#pragma once
#include <string>

#include "tools/pictures/bmp_writer.h"
#include "tools/pictures/raster.h"

namespace art {

struct InterfacePicture {
    const char* file;
    Image (*draw)();
    Format format;
    bool keyed;  // drawn with its top-left colour left out
};
extern const InterfacePicture InterfacePictures[9];

// The colour of the top-left pixel of keyed pictures; it is kept out of everything the
// pictures must show.
constexpr uint32_t KeyColour = 0xFF00FF;
// The title's lettering: Mincho, centred on cx, cream on a warm glow with a soft shadow
// below right; `weight` (pixels) thickens its strokes for pictures seen small.
void GlowingTitle(Canvas& c, const std::string& text, float cx, float top, float size, float weight = 0);
// Makes the top-left pixel the key and nudges every other pixel of that colour.
void SetKey(Image& image);

}  // namespace art
