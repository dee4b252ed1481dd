// BMP decoding into a surface of the display's layout: 1, 4, 8, 16, 24 and 32 bits per
// pixel, uncompressed, RLE8, RLE4 and bit fields, both row orders, the OS/2 core header
// and the info headers up to V5. Every offset and count the file states is checked
// against the data before it is used; a file that does not add up is refused whole.
#include <cstring>

#include "base/little_endian.h"
#include "draw/kaDraw.h"

namespace kaDraw {

constexpr uint32_t BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3;
constexpr size_t FileHeaderBytes = 14;
constexpr size_t CoreHeaderBytes = 12, InfoHeaderBytes = 40;
// No picture of this program comes near these; larger claims are lies or attacks.
constexpr int64_t MaxSide = 32767;
constexpr int64_t MaxPixels = int64_t(1) << 24;

namespace {
// What the headers say, checked.
struct BmpLayout {
    int width, height;
    bool topDown;
    int bitsPerPixel;
    uint32_t compression;
    uint32_t masks[3];           // red, green, blue, for 16 and 32 bits per pixel
    uint32_t palette[256];       // native values; entries the file lacks are black
    uint32_t channel[3][256];    // native value of each 8-bit red, green, blue level
    size_t bitsOffset, bitsEnd;  // the pixel data, within the file
};
}  // namespace

static bool ValidMasks(const uint32_t* m, int bitsPerPixel) {
    for (int i = 0; i < 3; ++i) {
        if (!m[i]) return false;
        uint32_t run = m[i] >> ChannelShift(m[i]);
        if (run & (run + 1)) return false;  // not one contiguous run of bits
    }
    if ((m[0] & m[1]) | (m[0] & m[2]) | (m[1] & m[2])) return false;
    return bitsPerPixel == 32 || ((m[0] | m[1] | m[2]) >> 16) == 0;
}

static bool CompressionFits(uint32_t compression, int bpp) {
    switch (compression) {
    case BiRgb: return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    case BiRle8: return bpp == 8;
    case BiRle4: return bpp == 4;
    case BiBitfields: return bpp == 16 || bpp == 32;
    default: return false;
    }
}

bool HasBmpSignature(const uint8_t* d, size_t size) {
    return size >= 2 && ((d[0] == 'B' && d[1] == 'M') || (d[0] == ' ' && d[1] == ' '));
}

static bool ReadLayout(const uint8_t* d, size_t size, const PixelFormat& format, BmpLayout* b) {
    if (size < FileHeaderBytes + 4 || !HasBmpSignature(d, size)) return false;
    size_t bitsOffset = Read32(d + 10);
    size_t headerBytes = Read32(d + 14);
    bool core = headerBytes == CoreHeaderBytes;
    if (!core && headerBytes != 40 && headerBytes != 52 && headerBytes != 56 &&
        headerBytes != 108 && headerBytes != 124)
        return false;
    if (FileHeaderBytes + headerBytes > size) return false;
    const uint8_t* h = d + FileHeaderBytes;

    int64_t width, height;
    size_t paletteEntryBytes = core ? 3 : 4;
    size_t tableStart = FileHeaderBytes + headerBytes;
    uint32_t colourCount = 0;
    if (core) {
        width = Read16(h + 4);
        height = Read16(h + 6);
        b->bitsPerPixel = int(Read16(h + 10));
        b->compression = BiRgb;
        if (b->bitsPerPixel == 16 || b->bitsPerPixel == 32) return false;
    } else {
        width = int32_t(Read32(h + 4));
        height = int32_t(Read32(h + 8));
        b->bitsPerPixel = int(Read16(h + 14));
        b->compression = Read32(h + 16);
        colourCount = Read32(h + 32);
    }
    if (!CompressionFits(b->compression, b->bitsPerPixel)) return false;

    b->topDown = height < 0;
    if (height < 0) height = -height;
    if (width < 1 || height < 1 || width > MaxSide || height > MaxSide ||
        width * height > MaxPixels)
        return false;
    b->width = int(width);
    b->height = int(height);
    bool rle = b->compression == BiRle8 || b->compression == BiRle4;
    if (rle && b->topDown) return false;

    if (b->compression == BiBitfields) {
        // A plain info header keeps the masks just after it; later headers inside.
        const uint8_t* m = h + InfoHeaderBytes;
        if (headerBytes == InfoHeaderBytes) {
            tableStart += 12;
            if (tableStart > size) return false;
        }
        for (int i = 0; i < 3; ++i) b->masks[i] = Read32(m + 4 * i);
        if (!ValidMasks(b->masks, b->bitsPerPixel)) return false;
    } else if (b->bitsPerPixel == 16) {
        b->masks[0] = 0x7C00, b->masks[1] = 0x03E0, b->masks[2] = 0x001F;
    } else {
        b->masks[0] = 0xFF0000, b->masks[1] = 0x00FF00, b->masks[2] = 0x0000FF;
    }

    // Colour table: the whole 2^bpp for a core header, else as many as the header says
    // (0 meaning all); none is read for direct colour.
    if (b->bitsPerPixel <= 8) {
        uint32_t full = 1u << b->bitsPerPixel;
        if (core || colourCount == 0) colourCount = full;
        if (colourCount > full) return false;
    } else {
        colourCount = 0;
    }
    size_t tableEnd = tableStart + size_t(colourCount) * paletteEntryBytes;
    if (tableEnd > bitsOffset || bitsOffset >= size) return false;

    for (int c = 0; c < 3; ++c)
        for (uint32_t v = 0; v < 256; ++v) b->channel[c][v] = NativeFromColour(format, v << (8 * c));
    std::memset(b->palette, 0, sizeof b->palette);
    for (uint32_t i = 0; i < colourCount; ++i) {
        const uint8_t* e = d + tableStart + i * paletteEntryBytes;  // blue, green, red
        b->palette[i] = b->channel[0][e[2]] | b->channel[1][e[1]] | b->channel[2][e[0]];
    }

    b->bitsOffset = bitsOffset;
    b->bitsEnd = size;
    if (rle) {
        size_t stated = Read32(h + 20);
        if (stated) {
            if (stated > size - bitsOffset) return false;
            b->bitsEnd = bitsOffset + stated;
        }
    }
    return true;
}

static uint32_t DirectColour(const BmpLayout& b, uint32_t pixel) {
    return b.channel[0][ExpandChannel(pixel, b.masks[0])] |
           b.channel[1][ExpandChannel(pixel, b.masks[1])] |
           b.channel[2][ExpandChannel(pixel, b.masks[2])];
}

static bool DecodeRows(const uint8_t* d, const BmpLayout& b, Surface* s) {
    int bpp = b.bitsPerPixel;
    size_t stride = ((size_t(b.width) * bpp + 31) / 32) * 4;
    size_t lastRowBytes = (size_t(b.width) * bpp + 7) / 8;  // the last row may lack padding
    if (stride * (b.height - 1) + lastRowBytes > b.bitsEnd - b.bitsOffset) return false;
    for (int i = 0; i < b.height; ++i) {
        const uint8_t* row = d + b.bitsOffset + stride * i;
        int y = b.topDown ? i : b.height - 1 - i;
        for (int x = 0; x < b.width; ++x) {
            uint32_t v;
            switch (bpp) {
            case 1: v = b.palette[(row[x >> 3] >> (7 - (x & 7))) & 1]; break;
            case 4: v = b.palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15]; break;
            case 8: v = b.palette[row[x]]; break;
            case 16: v = DirectColour(b, Read16(row + 2 * x)); break;
            case 24: {
                const uint8_t* p = row + 3 * x;
                v = b.channel[0][p[2]] | b.channel[1][p[1]] | b.channel[2][p[0]];
                break;
            }
            default: v = DirectColour(b, Read32(row + 4 * x)); break;
            }
            WritePixel(s, x, y, v);
        }
    }
    return true;
}

// Run-length data: runs, absolute stretches, line ends and jumps, each kept inside the
// bitmap; pixels the data skips take colour 0. Rows count from the bottom.
static bool DecodeRunLengths(const uint8_t* d, const BmpLayout& b, Surface* s) {
    bool four = b.compression == BiRle4;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) WritePixel(s, x, y, b.palette[0]);
    size_t p = b.bitsOffset, end = b.bitsEnd;
    int x = 0, y = 0;
    for (;;) {
        if (end - p < 2) return y >= b.height;  // data ran out: fine only when complete
        uint32_t count = d[p], code = d[p + 1];
        p += 2;
        if (count > 0) {
            if (y >= b.height || x + int(count) > b.width) return false;
            for (uint32_t k = 0; k < count; ++k) {
                uint32_t index = four ? ((k & 1) ? code & 15 : code >> 4) : code;
                WritePixel(s, x + int(k), b.height - 1 - y, b.palette[index]);
            }
            x += int(count);
        } else if (code == 0) {
            x = 0;
            ++y;
        } else if (code == 1) {
            return true;
        } else if (code == 2) {
            if (end - p < 2) return false;
            x += d[p];
            y += d[p + 1];
            p += 2;
            if (x > b.width || y > b.height) return false;
        } else {
            size_t bytes = four ? (code + 1) / 2 : code;
            if (end - p < bytes || y >= b.height || x + int(code) > b.width) return false;
            for (uint32_t k = 0; k < code; ++k) {
                uint32_t index = four ? ((k & 1) ? d[p + k / 2] & 15 : d[p + k / 2] >> 4) : d[p + k];
                WritePixel(s, x + int(k), b.height - 1 - y, b.palette[index]);
            }
            x += int(code);
            p += bytes + (bytes & 1);  // stretches are padded to whole words
            if (p > end) p = end;
        }
    }
}

Surface* DecodeBmp(const uint8_t* data, size_t size, const PixelFormat& format) {
    BmpLayout b;
    if (!data || !ReadLayout(data, size, format, &b)) return nullptr;
    Surface* s = CreateSurface(b.width, b.height, format);
    bool rle = b.compression == BiRle8 || b.compression == BiRle4;
    if (s && !(rle ? DecodeRunLengths(data, b, s) : DecodeRows(data, b, s))) {
        FreeSurface(s);
        s = nullptr;
    }
    return s;
}

}  // namespace kaDraw
