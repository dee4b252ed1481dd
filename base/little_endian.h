// Little-endian fields of the files the program reads: BMP pictures and WAVE clips.
#pragma once
#include <cstdint>

inline uint16_t Read16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t Read32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
