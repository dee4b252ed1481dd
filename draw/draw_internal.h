// What the graphics module's own files share and nobody else needs.
#pragma once
#include "draw/kaDraw.h"

namespace kaDraw {

// objects.cpp: puts entry id back to free (no surface, empty name, placement 2, key 0,
// size 0), releasing its surface if it has one.
void ResetObjectEntry(int id);
// objects.cpp: the surface of object id, or nullptr when id is outside the table or the
// entry holds no picture.
Surface* ObjectSurface(int id);

// blit.cpp: frees the copy of the picture sent last to the window.
void FreePresentBuffer();

}  // namespace kaDraw
