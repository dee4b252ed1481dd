// The PNG writer: one zlib-compressed IDAT chunk of unfiltered RGB rows.
#include "platform/png_file.h"

#include <zlib.h>

#include <cstdio>
#include <vector>

static void PutBE32(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(uint8_t(x >> 24));
    v.push_back(uint8_t(x >> 16));
    v.push_back(uint8_t(x >> 8));
    v.push_back(uint8_t(x));
}

static void PutChunk(std::FILE* f, const char* type, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> head;
    PutBE32(head, uint32_t(data.size()));
    head.insert(head.end(), type, type + 4);
    uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    if (!data.empty()) crc = crc32(crc, data.data(), uInt(data.size()));
    std::vector<uint8_t> tail;
    PutBE32(tail, crc);
    std::fwrite(head.data(), 1, head.size(), f);
    if (!data.empty()) std::fwrite(data.data(), 1, data.size(), f);
    std::fwrite(tail.data(), 1, tail.size(), f);
}

bool WritePngFile(const std::string& path, int width, int height, const uint32_t* pixels) {
    if (width <= 0 || height <= 0 || !pixels) return false;
    std::vector<uint8_t> raw;
    raw.reserve(size_t(height) * (size_t(width) * 3 + 1));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < width; ++x) {
            uint32_t p = pixels[size_t(y) * width + x];
            raw.push_back(uint8_t(p >> 16));
            raw.push_back(uint8_t(p >> 8));
            raw.push_back(uint8_t(p));
        }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress(packed.data(), &packedSize, raw.data(), uLong(raw.size())) != Z_OK) return false;
    packed.resize(packedSize);

    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::fwrite(signature, 1, 8, f);
    std::vector<uint8_t> ihdr;
    PutBE32(ihdr, uint32_t(width));
    PutBE32(ihdr, uint32_t(height));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
    PutChunk(f, "IHDR", ihdr);
    PutChunk(f, "IDAT", packed);
    PutChunk(f, "IEND", {});
    return std::fclose(f) == 0;
}
