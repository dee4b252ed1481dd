// The pages of an Ogg stream, as our compressed clips are stored: their checksum, and
// whether a file is made of whole pages to the stream's end.
#include <array>
#include <cstring>

#include "base/little_endian.h"
#include "sound/sound_state.h"

namespace kaSound {

constexpr size_t PageHeaderBytes = 27;
constexpr size_t ChecksumAt = 22;
constexpr uint8_t EndOfStream = 4;

// CRC-32 with polynomial 0x04C11DB7, unreflected, starting at 0.
uint32_t OggPageChecksum(const uint8_t* page, size_t size) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t;
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t r = i << 24;
            for (int bit = 0; bit < 8; ++bit) r = r & 0x80000000u ? r << 1 ^ 0x04C11DB7u : r << 1;
            t[i] = r;
        }
        return t;
    }();
    uint32_t crc = 0;
    for (size_t i = 0; i < size; ++i) {
        uint8_t byte = i >= ChecksumAt && i < ChecksumAt + 4 ? 0 : page[i];
        crc = crc << 8 ^ table[(crc >> 24 ^ byte) & 0xFF];
    }
    return crc;
}

size_t OggPageSize(const uint8_t* page, size_t left) {
    if (left < PageHeaderBytes || std::memcmp(page, "OggS", 4) != 0 || page[4] != 0) return 0;
    size_t segments = page[26];
    if (left < PageHeaderBytes + segments) return 0;
    size_t size = PageHeaderBytes + segments;
    for (size_t i = 0; i < segments; ++i) size += page[PageHeaderBytes + i];
    if (left < size || OggPageChecksum(page, size) != Read32(page + ChecksumAt)) return 0;
    return size;
}

bool WholeOggStream(const std::vector<uint8_t>& file) {
    bool ended = false;
    for (size_t at = 0, size; at < file.size(); at += size) {
        size = ended ? 0 : OggPageSize(file.data() + at, file.size() - at);
        if (size == 0) return false;
        ended = file[at + 5] & EndOfStream;
    }
    return ended;
}

}  // namespace kaSound
