// What the graphics module's own files share and nobody else needs.
#pragma once
#include <string>
#include <vector>

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

// Larger files are not pictures this program shows.
constexpr size_t MaxPictureFileBytes = size_t(256) << 20;
// Longest picture name an entry holds (its field is 32 bytes).
constexpr size_t MaxNameLength = 30;

// read_ahead.cpp: the picture read ahead from path, when the file still holds what it
// was decoded from (its signature may have changed between "BM" and an asset's blanks)
// and format is the layout it was decoded into; nullptr otherwise. What was read ahead
// from path is dropped either way.
Surface* TakeReadAhead(const std::string& path, const PixelFormat& format);
// read_ahead.cpp: waits for a read still under way and frees what was read ahead.
void DropReadAhead();

}  // namespace kaDraw
