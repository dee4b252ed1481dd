// Reduction of a double-size text line to final size, mixing the edges of the
// characters with the picture on the back buffer.
#include <algorithm>
#include <cstring>
#include <vector>

#include "draw/text_engine.h"

namespace kaDraw {

// Pixel access for the three layouts: channels read and written through fixed shifts,
// emptiness tested on the whole pixel.
template <typename Word, uint32_t ChannelMax>
struct ShiftedLayout {
    static constexpr int Bytes = sizeof(Word);
    static constexpr uint32_t Max = ChannelMax;
    int shift[3];
    uint32_t Load(const uint8_t* p) const {
        Word v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    void Split(uint32_t v, uint32_t c[3]) const {
        for (int k = 0; k < 3; ++k) c[k] = (v >> shift[k]) & Max;
    }
    void Store(uint8_t* p, const uint32_t c[3]) const {
        Word v = Word(c[0] << shift[0] | c[1] << shift[1] | c[2] << shift[2]);
        std::memcpy(p, &v, sizeof v);
    }
};
using Layout16 = ShiftedLayout<uint16_t, 31>;
using Layout32 = ShiftedLayout<uint32_t, 255>;

struct Layout24 {
    static constexpr int Bytes = 3;
    static constexpr uint32_t Max = 255;
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

// Ink of the source columns over the (up to) three source rows of one final row: the
// count of character pixels and the three channel sums, one array each. Kept between
// calls so that a line costs no allocation once the widest line was seen.
static std::vector<uint32_t> ColumnCount, ColumnSum[3];

// Adds (or with first, stores) one source row's columns inFirst .. inLast into the
// column arrays, which are indexed from column `first`. An empty pixel has all channels
// 0, so it goes into the sums without a test.
template <class L>
static void GatherRow(const L& layout, const uint8_t* row, int first, int inFirst, int inLast,
                      bool firstRow) {
    uint32_t* n = ColumnCount.data();
    uint32_t* s0 = ColumnSum[0].data();
    uint32_t* s1 = ColumnSum[1].data();
    uint32_t* s2 = ColumnSum[2].data();
    const L local = layout;  // a copy the stores below cannot alias
    for (int sx = inFirst; sx <= inLast; ++sx) {
        const size_t k = size_t(sx - first);
        uint32_t v = local.Load(row + size_t(sx) * L::Bytes);
        uint32_t c[3];
        local.Split(v, c);
        if (firstRow) {
            n[k] = v != 0;
            s0[k] = c[0];
            s1[k] = c[1];
            s2[k] = c[2];
        } else {
            n[k] += v != 0;
            s0[k] += c[0];
            s1[k] += c[1];
            s2[k] += c[2];
        }
    }
}

template <class L>
static void ReduceRows(const L& layout, const ReduceTarget& t, int destX, int destY, int srcLeft,
                       int srcTop, int iStart, int jStart, int w, int h) {
    const Surface* src = t.fontBuffer;
    // Source columns the final columns iStart .. w - 1 look at, and the part of them
    // inside the font buffer; columns outside count as empty.
    const int first = srcLeft + 2 * iStart - 1, last = srcLeft + 2 * (w - 1) + 1;
    if (last < first) return;
    const int inFirst = first < 0 ? 0 : first;
    const int inLast = last >= src->width ? src->width - 1 : last;
    const size_t count = size_t(last - first + 1);
    ColumnCount.assign(count, 0);
    for (auto& sums : ColumnSum) sums.assign(count, 0);
    const uint32_t* n = ColumnCount.data();
    const uint32_t* sum[3] = {ColumnSum[0].data(), ColumnSum[1].data(), ColumnSum[2].data()};
    for (int j = jStart; j < h; ++j) {
        const int cy = srcTop + 2 * j;
        bool gathered = false;
        for (int sy = j == 0 ? cy : cy - 1; sy <= cy + 1; ++sy) {
            if (sy < 0 || sy >= src->height || inFirst > inLast) continue;
            GatherRow(layout, src->pixels + size_t(sy) * src->pitch, first, inFirst, inLast,
                      !gathered);
            gathered = true;
        }
        if (!gathered) continue;
        uint8_t* out = t.font->pixels + size_t(destY + j - t.fontY) * t.font->pitch;
        const uint8_t* under = t.background->pixels + size_t(destY + j) * t.background->pitch;
        for (int i = iStart; i < w; ++i) {
            // Columns cx - 1 (not for i = 0), cx and cx + 1 around the centre cx.
            const int cx = srcLeft + 2 * i - first, left = i == 0 ? cx : cx - 1;
            uint32_t total = 0;
            for (int k = left; k <= cx + 1; ++k) total += n[k];
            if (total == 0) continue;
            uint32_t back[3];
            layout.Split(layout.Load(under + size_t(destX + i) * L::Bytes), back);
            uint32_t c[3];
            for (int ch = 0; ch < 3; ++ch) {
                uint32_t channel = L::Max;
                for (int k = left; k <= cx + 1; ++k) channel += sum[ch][k];
                if (total < 8) channel += (8 - total) * back[ch];
                c[ch] = channel >> 3 > L::Max ? L::Max : channel >> 3;
            }
            layout.Store(out + size_t(destX + i - t.fontX) * L::Bytes, c);
        }
    }
}

int ReduceTextLineOn(const ReduceTarget& t, int destX, int destY, int srcLeft, int srcTop,
                     int srcRight, int srcBottom) {
    int w = (srcRight - srcLeft) >> 1;
    int h = (srcBottom - srcTop) >> 1;
    // The clip rectangle, narrowed to the written and read surfaces so that no access
    // leaves them whatever the clip rectangle says.
    int right = t.clipRight, bottom = t.clipBottom;
    if (t.font && t.background) {
        right = std::min({right, t.fontX + t.font->width, t.background->width});
        bottom = std::min({bottom, t.fontY + t.font->height, t.background->height});
    }
    if (destX + w > right) w = right - destX;
    if (destY + h > bottom) h = bottom - destY;
    if (w < 0 || h < 0) return 1;
    if (!t.fontBuffer || !t.font || !t.background) return 0;
    // Columns and rows left of or above the clip rectangle are skipped; the ones kept
    // are computed exactly as if nothing had been cut.
    int left = std::max({t.clipLeft, t.fontX, 0}), top = std::max({t.clipTop, t.fontY, 0});
    int iStart = destX < left ? left - destX : 0;
    int jStart = destY < top ? top - destY : 0;
    if (t.depth == 16) {
        const Layout16 layout = {{t.shift5[0], t.shift5[1], t.shift5[2]}};
        ReduceRows(layout, t, destX, destY, srcLeft, srcTop, iStart, jStart, w, h);
    } else if (t.depth == 32) {
        const Layout32 layout = {{t.shift[0], t.shift[1], t.shift[2]}};
        ReduceRows(layout, t, destX, destY, srcLeft, srcTop, iStart, jStart, w, h);
    } else {
        ReduceRows(Layout24{}, t, destX, destY, srcLeft, srcTop, iStart, jStart, w, h);
    }
    return 1;
}

int ReduceTextLine(Surface* into, int intoX, int intoY, int destX, int destY, int srcLeft, int srcTop,
                   int srcRight, int srcBottom) {
    ReduceTarget t = {
        ObjectTable[FontBufferSprite].surface,
        into,
        BackBuffer,
        DisplayBitDepth(),
        {RedShift, GreenShift, BlueShift},
        {Red5Shift, Green5Shift, Blue5Shift},
        ClipLeft, ClipTop, ClipRight, ClipBottom,
    };
    t.fontX = intoX;
    t.fontY = intoY;
    return ReduceTextLineOn(t, destX, destY, srcLeft, srcTop, srcRight, srcBottom);
}

}  // namespace kaDraw
