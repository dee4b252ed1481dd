// Reduction of a double-size text line to final size, mixing the edges of the
// characters with the picture on the back buffer.
#include <cstring>

#include "draw/text_engine.h"

namespace kaDraw {

// Pixel access for the three layouts: channels read and written through fixed shifts,
// emptiness tested on the whole pixel.
struct Layout16 {
    static constexpr int Bytes = 2;
    static constexpr uint32_t Max = 31;
    const int* shift;
    uint32_t Load(const uint8_t* p) const {
        uint16_t v;
        std::memcpy(&v, p, 2);
        return v;
    }
    void Split(uint32_t v, uint32_t c[3]) const {
        for (int k = 0; k < 3; ++k) c[k] = (v >> shift[k]) & Max;
    }
    void Store(uint8_t* p, const uint32_t c[3]) const {
        uint16_t v = uint16_t(c[0] << shift[0] | c[1] << shift[1] | c[2] << shift[2]);
        std::memcpy(p, &v, 2);
    }
};

struct Layout32 {
    static constexpr int Bytes = 4;
    static constexpr uint32_t Max = 255;
    const int* shift;
    uint32_t Load(const uint8_t* p) const {
        uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    void Split(uint32_t v, uint32_t c[3]) const {
        for (int k = 0; k < 3; ++k) c[k] = (v >> shift[k]) & Max;
    }
    void Store(uint8_t* p, const uint32_t c[3]) const {
        uint32_t v = c[0] << shift[0] | c[1] << shift[1] | c[2] << shift[2];
        std::memcpy(p, &v, 4);
    }
};

struct Layout24 {
    static constexpr int Bytes = 3;
    static constexpr uint32_t Max = 255;
    const int* shift;  // unused: bytes 0, 1, 2 are the channels
    uint32_t Load(const uint8_t* p) const {
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    }
    void Split(uint32_t v, uint32_t c[3]) const {
        for (int k = 0; k < 3; ++k) c[k] = (v >> (8 * k)) & Max;
    }
    void Store(uint8_t* p, const uint32_t c[3]) const {
        for (int k = 0; k < 3; ++k) p[k] = uint8_t(c[k]);
    }
};

template <class L>
static void ReduceRows(const L& layout, const ReduceTarget& t, int destX, int destY, int srcLeft,
                       int srcTop, int iStart, int jStart, int w, int h) {
    const Surface* src = t.fontBuffer;
    for (int j = jStart; j < h; ++j) {
        int cy = srcTop + 2 * j;
        uint8_t* out = t.font->pixels + size_t(destY + j) * t.font->pitch;
        const uint8_t* under = t.background->pixels + size_t(destY + j) * t.background->pitch;
        for (int i = iStart; i < w; ++i) {
            int cx = srcLeft + 2 * i;
            uint32_t n = 0, sum[3] = {0, 0, 0};
            for (int sy = j == 0 ? cy : cy - 1; sy <= cy + 1; ++sy) {
                // Samples outside the font buffer count as empty.
                if (sy < 0 || sy >= src->height) continue;
                const uint8_t* row = src->pixels + size_t(sy) * src->pitch;
                for (int sx = i == 0 ? cx : cx - 1; sx <= cx + 1; ++sx) {
                    if (sx < 0 || sx >= src->width) continue;
                    uint32_t v = layout.Load(row + size_t(sx) * L::Bytes);
                    if (v == 0) continue;
                    uint32_t c[3];
                    layout.Split(v, c);
                    ++n;
                    for (int k = 0; k < 3; ++k) sum[k] += c[k];
                }
            }
            if (n == 0) continue;
            uint32_t back[3];
            layout.Split(layout.Load(under + size_t(destX + i) * L::Bytes), back);
            uint32_t c[3];
            for (int k = 0; k < 3; ++k) {
                uint32_t total = sum[k] + L::Max;
                if (n < 8) total += (8 - n) * back[k];
                c[k] = total >> 3 > L::Max ? L::Max : total >> 3;
            }
            layout.Store(out + size_t(destX + i) * L::Bytes, c);
        }
    }
}

static int Smaller(int a, int b) {
    return a < b ? a : b;
}

int ReduceTextLineOn(const ReduceTarget& t, int destX, int destY, int srcLeft, int srcTop,
                     int srcRight, int srcBottom) {
    int w = (srcRight - srcLeft) >> 1;
    int h = (srcBottom - srcTop) >> 1;
    // The clip rectangle, narrowed to the written and read surfaces so that no access
    // leaves them whatever the clip rectangle says.
    int right = t.clipRight, bottom = t.clipBottom;
    if (t.font && t.background) {
        right = Smaller(right, Smaller(t.font->width, t.background->width));
        bottom = Smaller(bottom, Smaller(t.font->height, t.background->height));
    }
    if (destX + w > right) w = right - destX;
    if (destY + h > bottom) h = bottom - destY;
    if (w < 0 || h < 0) return 1;
    if (!t.fontBuffer || !t.font || !t.background) return 0;
    // Columns and rows left of or above the clip rectangle are skipped; the ones kept
    // are computed exactly as if nothing had been cut.
    int left = t.clipLeft > 0 ? t.clipLeft : 0, top = t.clipTop > 0 ? t.clipTop : 0;
    int iStart = destX < left ? left - destX : 0;
    int jStart = destY < top ? top - destY : 0;
    if (t.depth == 16)
        ReduceRows(Layout16{t.shift5}, t, destX, destY, srcLeft, srcTop, iStart, jStart, w, h);
    else if (t.depth == 32)
        ReduceRows(Layout32{t.shift}, t, destX, destY, srcLeft, srcTop, iStart, jStart, w, h);
    else
        ReduceRows(Layout24{t.shift}, t, destX, destY, srcLeft, srcTop, iStart, jStart, w, h);
    return 1;
}

int ReduceTextLine(int destX, int destY, int srcLeft, int srcTop, int srcRight, int srcBottom) {
    const ReduceTarget t = {
        ObjectTable[FontBufferSprite].surface,
        ObjectTable[FontSprite].surface,
        BackBuffer,
        DisplayBitDepth(),
        {RedShift, GreenShift, BlueShift},
        {Red5Shift, Green5Shift, Blue5Shift},
        ClipLeft, ClipTop, ClipRight, ClipBottom,
    };
    return ReduceTextLineOn(t, destX, destY, srcLeft, srcTop, srcRight, srcBottom);
}

}  // namespace kaDraw
