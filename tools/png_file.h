// A PNG writer for pictures held as 0x00RRGGBB pixels: the build's icons and the frames
// the tests keep for a person to look at.
#pragma once
#include <cstdint>
#include <string>

// Writes width x height pixels (row after row, top first) as an 8-bit RGB PNG file.
// False when the file could not be written.
bool WritePngFile(const std::string& path, int width, int height, const uint32_t* pixels);
