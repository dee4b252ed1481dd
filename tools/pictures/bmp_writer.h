// Writes finished pictures as picture assets: BMP files whose "BM" signature is blanked
// to two spaces, in 24-bit colour, 8-bit palette (plain or RLE8) or 4-bit palette.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace art {

// A finished picture: 0x00RRGGBB pixels, top row first.
struct Image {
    int width, height;
    std::vector<uint32_t> pixels;
};

enum class Format { Rgb24, Palette8, Rle8, Palette4 };

// The file's bytes. For a keyed picture (`keyed`), the top-left colour keeps a palette
// entry of its own that no other pixel is mapped to, so the key stays exact.
std::vector<uint8_t> EncodeSad(const Image& image, Format format, bool keyed);
// Writes a file's bytes; false when it could not.
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// A plain BMP ("BM" kept), 24-bit, for pictures meant to be looked at.
bool WriteBmp(const std::string& path, const Image& image);

}  // namespace art
