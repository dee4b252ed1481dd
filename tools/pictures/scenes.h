// The story pictures: a drawing recipe for each file that data/pictures.txt lists.
#pragma once
#include "tools/pictures/raster.h"

namespace art {

// Draws one band (frame `band` of `bands`) of the named picture onto a canvas of the
// band's size. Returns false when no recipe has that name.
bool DrawScene(const char* file, Canvas& c, int band, int bands);

}  // namespace art
