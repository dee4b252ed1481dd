// The rows the message window lays a prose line out in, measured with the game's own
// face and glyph advances and its rule for where a row ends.
#pragma once
#include <vector>

#include "story/engine/engine.h"

// The characters on each row of a CP932 line at a font size, from the text area's left
// edge to its right limit; empty when the game's face cannot be found.
std::vector<int> MessageRows(const char* line, int size, int left, int right);
// The same for an English line in the English form of a face, wrapped at spaces (a
// space that ends a row counts on none).
std::vector<int> EnglishRows(const char* line, EngineTextId face, int size, int left, int right);
