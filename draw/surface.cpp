// Software surfaces: pixel memory with a pitch, a pixel layout and a source colour key.
#include <cstdlib>
#include <cstring>

#include "draw/kaDraw.h"

namespace kaDraw {

const PixelFormat FormatXRGB8888 = {32, 0x00FF0000, 0x0000FF00, 0x000000FF};
const PixelFormat FormatRGB565 = {16, 0xF800, 0x07E0, 0x001F};
const PixelFormat FormatRGB555 = {16, 0x7C00, 0x03E0, 0x001F};
const PixelFormat FormatRGB888 = {24, 0x00FF0000, 0x0000FF00, 0x000000FF};

Surface* CreateSurface(int width, int height, const PixelFormat& format) {
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767) return nullptr;
    int bytes = format.bitsPerPixel / 8;
    if (bytes < 2 || bytes > 4) return nullptr;
    int pitch = (width * bytes + 3) & ~3;
    uint8_t* pixels = static_cast<uint8_t*>(std::calloc(size_t(pitch) * height, 1));
    if (!pixels) return nullptr;
    Surface* s = new Surface{pixels, width, height, pitch, format, 0};
    return s;
}

void FreeSurface(Surface* s) {
    if (!s) return;
    std::free(s->pixels);
    delete s;
}

int ChannelShift(uint32_t mask) { return __builtin_ctz(mask); }

// Scales an 8-bit channel into a mask's bits.
static uint32_t PlaceChannel(uint32_t value8, uint32_t mask) {
    if (!mask) return 0;
    int shift = ChannelShift(mask);
    uint64_t max = mask >> shift;
    return uint32_t((value8 * max + 127) / 255) << shift;
}

uint32_t ExpandChannel(uint32_t pixel, uint32_t mask) {
    if (!mask) return 0;
    int shift = ChannelShift(mask);
    uint64_t max = mask >> shift;
    return uint32_t((((pixel & mask) >> shift) * 255 + max / 2) / max);
}

uint32_t NativeFromColour(const PixelFormat& f, uint32_t bbggrr) {
    uint32_t r = bbggrr & 0xFF, g = (bbggrr >> 8) & 0xFF, b = (bbggrr >> 16) & 0xFF;
    return PlaceChannel(r, f.redMask) | PlaceChannel(g, f.greenMask) |
           PlaceChannel(b, f.blueMask);
}

uint32_t ReadPixel(const Surface* s, int x, int y) {
    const uint8_t* p = s->pixels + size_t(y) * s->pitch;
    switch (s->format.bitsPerPixel) {
    case 16: { uint16_t v; std::memcpy(&v, p + x * 2, 2); return v; }
    case 24: p += x * 3; return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    default: { uint32_t v; std::memcpy(&v, p + x * 4, 4); return v; }
    }
}

void WritePixel(Surface* s, int x, int y, uint32_t value) {
    uint8_t* p = s->pixels + size_t(y) * s->pitch;
    switch (s->format.bitsPerPixel) {
    case 16: { uint16_t v = uint16_t(value); std::memcpy(p + x * 2, &v, 2); break; }
    case 24:
        p += x * 3;
        p[0] = uint8_t(value);
        p[1] = uint8_t(value >> 8);
        p[2] = uint8_t(value >> 16);
        break;
    default: std::memcpy(p + x * 4, &value, 4); break;
    }
}

}  // namespace kaDraw
