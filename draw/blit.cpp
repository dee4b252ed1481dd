// Composing the frame: clipped copies of image objects onto the back buffer, clearing,
// the menus' rectangle, a save's small picture, and handing the visible part of the
// back buffer to the window.
// Our surfaces live in ordinary memory and are never lost, so no copy ever has to bring
// surfaces back or reload pictures.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "base/screen_layout.h"
#include "draw/draw_internal.h"
#include "platform/platform.h"

namespace kaDraw {

int ClipLeft = 0, ClipTop = 0, ClipRight = 0, ClipBottom = 0;

// The picture last sent to the window: the back buffer's visible part as 0x00RRGGBB
// words, rows of ShownWidth pixels; allocated by the first present.
static uint32_t* Shown = nullptr;
static int ShownWidth = 0, ShownHeight = 0;
static bool NewPictureShown = false;

void SetClipRect(int left, int top, int right, int bottom) {
    ClipLeft = left;
    ClipTop = top;
    ClipRight = right;
    ClipBottom = bottom;
}

namespace {
// One rectangle copy after clipping: rows of width pixels from src at (srcX, srcY) to the
// back buffer at (destX, destY).
struct Copy {
    const Surface* src;
    int destX, destY, srcX, srcY, width, height;
};
}  // namespace

// Cuts a copy to the clip rectangle: first the right and bottom edges, then the left and
// top ones, each moving the source rectangle with it. What is left must lie inside both
// the picture and the back buffer, or nothing is drawn. The sums are taken in 64 bits so
// that no coordinate a caller passes can overflow them.
static bool ClipCopy(int destX, int destY, const Surface* s, int srcLeft, int srcTop, int srcRight,
                     int srcBottom, Copy* c) {
    if (!BackBuffer || !s || s->format.bitsPerPixel != BackBuffer->format.bitsPerPixel)
        return false;
    int64_t dx = destX, dy = destY, l = srcLeft, t = srcTop, r = srcRight, b = srcBottom;
    if (dx + (r - l) > ClipRight) r = ClipRight - dx + l;
    if (dy + (b - t) > ClipBottom) b = ClipBottom - dy + t;
    if (dx < ClipLeft) {
        l += ClipLeft - dx;
        dx = ClipLeft;
    }
    if (dy < ClipTop) {
        t += ClipTop - dy;
        dy = ClipTop;
    }
    if (r <= l || b <= t) return false;
    if (l < 0 || t < 0 || r > s->width || b > s->height) return false;
    if (dx < 0 || dy < 0 || dx + (r - l) > BackBuffer->width || dy + (b - t) > BackBuffer->height)
        return false;
    *c = Copy{s, int(dx), int(dy), int(l), int(t), int(r - l), int(b - t)};
    return true;
}

static uint8_t* DestRow(const Copy& c, int row) {
    int bytes = BackBuffer->format.bitsPerPixel / 8;
    return BackBuffer->pixels + size_t(c.destY + row) * BackBuffer->pitch + size_t(c.destX) * bytes;
}

static const uint8_t* SourceRow(const Copy& c, int row) {
    int bytes = c.src->format.bitsPerPixel / 8;
    return c.src->pixels + size_t(c.srcY + row) * c.src->pitch + size_t(c.srcX) * bytes;
}

void BltOpaque(int destX, int destY, int id, int srcLeft, int srcTop, int srcRight, int srcBottom) {
    Copy c;
    if (!ClipCopy(destX, destY, ObjectSurface(id), srcLeft, srcTop, srcRight, srcBottom, &c)) return;
    size_t rowBytes = size_t(c.width) * (c.src->format.bitsPerPixel / 8);
    for (int y = 0; y < c.height; ++y) std::memcpy(DestRow(c, y), SourceRow(c, y), rowBytes);
}

// Keyed rows, one loop per pixel size. Writing back the destination's own value where
// the key matches keeps the loop free of branches, so the compiler vectorises it.
template <typename Pixel>
static void KeyedRows(const Copy& c, Pixel key) {
    for (int y = 0; y < c.height; ++y) {
        const Pixel* src = reinterpret_cast<const Pixel*>(SourceRow(c, y));
        Pixel* dest = reinterpret_cast<Pixel*>(DestRow(c, y));
        for (int x = 0; x < c.width; ++x) dest[x] = src[x] != key ? src[x] : dest[x];
    }
}

static void KeyedRows24(const Copy& c, uint32_t key) {
    for (int y = 0; y < c.height; ++y) {
        const uint8_t* src = SourceRow(c, y);
        uint8_t* dest = DestRow(c, y);
        for (int x = 0; x < c.width; ++x, src += 3, dest += 3) {
            uint32_t v = uint32_t(src[0]) | uint32_t(src[1]) << 8 | uint32_t(src[2]) << 16;
            if (v != key) std::memcpy(dest, src, 3);
        }
    }
}

static void KeyedCopy(int destX, int destY, const Surface* s, int srcLeft, int srcTop, int srcRight,
                      int srcBottom) {
    Copy c;
    if (!ClipCopy(destX, destY, s, srcLeft, srcTop, srcRight, srcBottom, &c)) return;
    uint32_t key = c.src->colourKey;
    switch (c.src->format.bitsPerPixel) {
    case 32: KeyedRows<uint32_t>(c, key); break;
    case 16: KeyedRows<uint16_t>(c, uint16_t(key)); break;
    default: KeyedRows24(c, key); break;
    }
}

void BltTransparent(int destX, int destY, int id, int srcLeft, int srcTop, int srcRight,
                    int srcBottom) {
    KeyedCopy(destX, destY, ObjectSurface(id), srcLeft, srcTop, srcRight, srcBottom);
}

void BltTextRect(const TextLayout& layout, int i) {
    if (i < 0 || i >= layout.count) return;
    const TextRect& r = layout.rects[i];
    const int x = layout.spriteX, y = layout.spriteY;
    KeyedCopy(r.left, r.top, layout.sprite, r.left - x, r.top - y, r.right - x, r.bottom - y);
}

static int ClearSurface(Surface* s) {
    if (!s) return 0;
    std::memset(s->pixels, 0, size_t(s->pitch) * s->height);
    return 1;
}

int ClearBackBuffer() { return ClearSurface(BackBuffer); }
int ClearObject(int id) { return ClearSurface(ObjectSurface(id)); }

// Fills a rectangle of the back buffer, cut to the back buffer.
static void FillRect(int left, int top, int right, int bottom, uint32_t value) {
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    if (right > BackBuffer->width) right = BackBuffer->width;
    if (bottom > BackBuffer->height) bottom = BackBuffer->height;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) WritePixel(BackBuffer, x, y, value);
}

// The outline takes the outermost penWidth columns and rows of the rectangle (right and
// bottom exclusive); the fill takes what lies inside it.
void DrawRect(int left, int top, int right, int bottom, uint32_t fillColour, uint32_t penColour,
              int penWidth) {
    if (!BackBuffer) return;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    int w = penWidth < 1 ? 1 : penWidth;
    uint32_t pen = NativeFromColour(BackBuffer->format, penColour);
    FillRect(left + w, top + w, right - w, bottom - w,
             NativeFromColour(BackBuffer->format, fillColour));
    FillRect(left, top, right, top + w, pen);
    FillRect(left, bottom - w, right, bottom, pen);
    FillRect(left, top, left + w, bottom, pen);
    FillRect(right - w, top, right, bottom, pen);
}

// Bounds are taken in 64 bits, so that no place or size a caller passes can overflow.
void BltRgbPixels(int destX, int destY, const uint8_t* rgb, int width, int height) {
    if (!BackBuffer || !rgb || width < 1 || height < 1) return;
    const int64_t x0 = destX, y0 = destY;
    int64_t left = std::max<int64_t>({x0, ClipLeft, 0}), top = std::max<int64_t>({y0, ClipTop, 0});
    int64_t right = std::min<int64_t>({x0 + width, ClipRight, BackBuffer->width});
    int64_t bottom = std::min<int64_t>({y0 + height, ClipBottom, BackBuffer->height});
    for (int64_t y = top; y < bottom; ++y) {
        const uint8_t* p = rgb + (size_t(y - y0) * size_t(width) + size_t(left - x0)) * 3;
        for (int64_t x = left; x < right; ++x, p += 3) {
            uint32_t colour = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
            WritePixel(BackBuffer, int(x), int(y), NativeFromColour(BackBuffer->format, colour));
        }
    }
}

static bool IsXrgb8888(const PixelFormat& f) {
    return f.bitsPerPixel == 32 && f.redMask == FormatXRGB8888.redMask &&
           f.greenMask == FormatXRGB8888.greenMask && f.blueMask == FormatXRGB8888.blueMask;
}

// Row y of the back buffer's visible part into row of the shown picture; true when a
// pixel differed.
static bool TakeRow(int y, int width, uint32_t* row) {
    const uint8_t* src = BackBuffer->pixels + size_t(y) * BackBuffer->pitch;
    const PixelFormat& f = BackBuffer->format;
    if (IsXrgb8888(f)) {
        if (std::memcmp(row, src, size_t(width) * 4) == 0) return false;
        std::memcpy(row, src, size_t(width) * 4);
        return true;
    }
    bool differed = false;
    for (int x = 0; x < width; ++x) {
        uint32_t p = ReadPixel(BackBuffer, x, y);
        uint32_t v = ExpandChannel(p, f.redMask) << 16 | ExpandChannel(p, f.greenMask) << 8 |
                     ExpandChannel(p, f.blueMask);
        differed |= row[x] != v;
        row[x] = v;
    }
    return differed;
}

// The comparison row by row costs a read of the visible part, far less than sending it:
// a still page sends nothing at all.
void PresentBackBuffer() {
    NewPictureShown = false;
    if (!BackBuffer) return;
    // The window shows the top-left client-sized part of the back buffer.
    int w = std::min(BackBuffer->width, layout::ClientWidth);
    int h = std::min(BackBuffer->height, layout::ClientHeight);
    if (!Shown) {
        Shown = static_cast<uint32_t*>(std::malloc(size_t(layout::ClientWidth) * layout::ClientHeight * 4));
        if (!Shown) return;
        ShownWidth = ShownHeight = 0;
    }
    bool changed = w != ShownWidth || h != ShownHeight;
    for (int y = 0; y < h; ++y) changed |= TakeRow(y, w, Shown + size_t(y) * w);
    if (!changed) return;
    ShownWidth = w;
    ShownHeight = h;
    NewPictureShown = true;
    plat::Present(Shown, w * 4, w, h);
}

void PresentAgain() {
    if (Shown && ShownWidth > 0) plat::Present(Shown, ShownWidth * 4, ShownWidth, ShownHeight);
}

bool PresentedNewPicture() { return NewPictureShown; }

void FreePresentBuffer() {
    std::free(Shown);
    Shown = nullptr;
    ShownWidth = ShownHeight = 0;
}

}  // namespace kaDraw
