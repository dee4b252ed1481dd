// Text layout: the font selection sequence, and the drawing of Shift-JIS text at double
// size into the font buffer, line by line reduced into a layout's sprite, with one
// rectangle per character for the message window.
#include <algorithm>
#include <cstring>

#include "draw/sjis.h"
#include "draw/text_engine.h"

namespace kaDraw {

FontRequestBlock FontRequest;
// The selected font's cell height in the font buffer's pixels (twice its size) and the
// colours of the next text.
static int32_t FontHeight = 0;
static uint32_t TextColour = 0, ShadowColour = 0;
// The layout every text drawn at once shares, its sprite the internal FontSprite; and the
// layouts of their own that were given a sprite, which CloseScreen frees.
static TextLayout Shared;
static TextLayout* Owned[4];

// The font held between SelectTextFont and EndTextDrawing: its face slot, -1 when none.
static int HeldFace = -1;
// The colour DrawGlyphText paints in (the drawing context's text colour).
static uint32_t PenColour = 0;
// How far right and down glyphs were painted into the font buffer since the layout last
// cleared it: clearing only that area leaves the buffer as clean as a full clear.
static int InkRight = 0, InkBottom = 0;

static constexpr uint32_t FlagShadow = 0x100, FlagWiden = 0x200, FlagThicken = 0x400;
static void (*Watcher)(const char*) = nullptr;

// The shared layout starts empty, as at the program's start: a layout's block keeps its
// right and bottom edges from one text to the next, and they only grow.
void InitText() {
    std::memset(&FontRequest, 0, sizeof FontRequest);
    Shared.rects[0] = {};
    Shared.count = 0;
    StartCollectingFonts();
}

void FreeTextLayouts() {
    for (TextLayout*& layout : Owned) {
        if (!layout) continue;
        FreeSurface(layout->sprite);
        layout->sprite = nullptr;
        layout->rects[0] = {};
        layout->count = 0;
        layout = nullptr;
    }
    Shared.rects[0] = {};
    Shared.count = 0;
}

// The layout's sprite for a text from client pixel (x, y): made (or made again) in the
// back buffer's format, reaching from there to the back buffer's bottom-right, which is
// as far as text can be reduced.
static Surface* LayoutSprite(TextLayout* layout, int x, int y) {
    if (layout == &Shared) return Shared.sprite = ObjectTable[FontSprite].surface;
    Surface*& s = layout->sprite;
    if (!BackBuffer) return nullptr;
    x = std::clamp(x, 0, BackBuffer->width - 1);
    y = std::clamp(y, 0, BackBuffer->height - 1);
    const int width = BackBuffer->width - x, height = BackBuffer->height - y;
    if (s && s->width == width && s->height == height && layout->spriteX == x && layout->spriteY == y &&
        s->format.bitsPerPixel == BackBuffer->format.bitsPerPixel)
        return s;
    FreeSurface(s);
    layout->spriteX = x;
    layout->spriteY = y;
    s = CreateSurface(width, height, BackBuffer->format);
    if (!s) return nullptr;
    ApplyColourKey(s, 0);
    for (TextLayout*& owned : Owned)
        if (owned == layout) return s;
    for (TextLayout*& owned : Owned)
        if (!owned) {
            owned = layout;
            break;
        }
    return s;
}

void FreeText() {
    AwaitInstalledFonts();
    CloseGlyphEngine();
    ReleaseFaces();
    std::memset(&FontRequest, 0, sizeof FontRequest);
    HeldFace = -1;
}

void SelectTextFont(const char* faceCp932, int size) {
    if (!faceCp932) faceCp932 = "";
    std::memset(FontRequest.faceName, 0, sizeof FontRequest.faceName);
    std::strncpy(FontRequest.faceName, faceCp932, sizeof FontRequest.faceName - 1);
    FontHeight = 2 * size;
    FontRequest.height = FontHeight;
    FontRequest.charSet = 128;
    AwaitInstalledFonts();
    for (const FontEntry& entry : FontTable) {
        if (std::strcmp(entry.name, FontRequest.faceName) == 0) {
            FontRequest.charSet = entry.charSet;
            break;
        }
    }
    HeldFace = FindFace(FontRequest.faceName);
}

void SetTextColours(uint32_t text, uint32_t shadow, int transparent) {
    // Characters are always drawn over a transparent background, whatever the flag.
    TextColour = text;
    ShadowColour = shadow;
    PenColour = text;
}

void EndTextDrawing() {
    HeldFace = -1;
}

int DrawGlyphText(int x, int y, const char* textCp932) {
    Surface* target = ObjectTable[FontBufferSprite].surface;
    if (HeldFace < 0 || !target || !textCp932) return 0;
    uint32_t native = NativeFromColour(target->format, PenColour);
    size_t length = std::strlen(textCp932);
    for (size_t p = 0; p < length;) {
        int n = SjisCharLength(textCp932 + p, length - p);
        const Glyph* g = CachedGlyph(HeldFace, FontHeight, SjisDecodeChar(textCp932 + p, n));
        if (g) {
            PaintGlyph(target, x, y, *g, native);
            if (x + g->left + g->width > InkRight) InkRight = x + g->left + g->width;
            if (y + g->top + g->height > InkBottom) InkBottom = y + g->top + g->height;
            x += g->advance;
        }
        p += size_t(n);
    }
    return 1;
}

// Clears the font buffer for the next line: whole at the start of a layout, afterwards
// only where glyphs were painted since.
static void ClearFontBuffer(bool whole) {
    Surface* s = ObjectTable[FontBufferSprite].surface;
    if (whole) {
        ClearObject(FontBufferSprite);
    } else if (s && InkRight > 0 && InkBottom > 0) {
        int right = std::min(InkRight, s->width);
        int bottom = std::min(InkBottom, s->height);
        for (int y = 0; y < bottom; ++y)
            std::memset(s->pixels + size_t(y) * s->pitch, 0, size_t(right) * (s->format.bitsPerPixel / 8));
    }
    InkRight = InkBottom = 0;
}

// Width and height of one character's cell at twice the size: the integer advance and
// the cell height, rounded up to even, with the room the shadow, widening and
// thickening passes take.
static void MeasureChar(const char* bytes, int n, uint32_t flags, int* w, int* h) {
    const Glyph* g = CachedGlyph(HeldFace, FontHeight, SjisDecodeChar(bytes, n));
    *w = g ? g->advance : 0;
    *h = g ? FontHeight : 0;
    *w += *w & 1;
    *h += *h & 1;
    if (flags & FlagShadow) *w += 2, *h += 2;
    if (flags & FlagWiden) *w += 1;
    if (flags & FlagThicken) *h += 1;
}

// The width at twice the size of the word that begins at text[p]: up to the next space,
// line feed or the text's end.
static int WordWidth(const char* text, long p, long length, uint32_t flags) {
    int width = 0;
    while (p < length && text[p] != ' ' && text[p] != 0x0A) {
        int n = SjisCharLength(text + p, size_t(length - p)), w = 0, h = 0;
        MeasureChar(text + p, n, flags, &w, &h);
        width += w;
        p += n;
    }
    return width;
}

// Colours whose three channels are all below 16 become 0x101010, so that no drawn
// pixel can be mistaken for the empty (0) background of the font buffer.
static uint32_t FloorColour(uint32_t colour) {
    bool dark = (colour & 0xFF) < 16 && ((colour >> 8) & 0xFF) < 16 && ((colour >> 16) & 0xFF) < 16;
    return dark ? 0x101010 : colour;
}

// The passes of one character at PenX on the font buffer: shadow, face, widened and
// thickened copies as the flags ask.
static void DrawCharPasses(const char* ch, int penX, uint32_t flags) {
    if (flags & FlagShadow) {
        PenColour = ShadowColour;
        DrawGlyphText(penX + (flags & FlagWiden ? 3 : 2), flags & FlagThicken ? 3 : 2, ch);
    }
    PenColour = TextColour;
    DrawGlyphText(penX, 0, ch);
    if (flags & FlagWiden) {
        DrawGlyphText(penX + 1, 0, ch);
        if (flags & FlagThicken) DrawGlyphText(penX + 1, 1, ch);
    }
    if (flags & FlagThicken) DrawGlyphText(penX, 1, ch);
}

// Reduces the line drawn so far into the layout's sprite and raises the block rectangle to
// the line's edges cut at the bottom limit. A line flushed before the end of the text is
// reduced at that cut height; the last line at its full height.
static void FlushLine(TextLayout* into, Surface* sprite, int x0, int top, int bottom, int penX,
                      int lineHeight, bool cutAtBottom) {
    int hgt = lineHeight;
    if (top + (hgt >> 1) > bottom) hgt = 2 * (bottom - top) + (lineHeight & 1);
    TextRect& block = into->rects[0];
    block.right = std::max(block.right, x0 + (penX >> 1));
    block.bottom = std::max(block.bottom, top + (hgt >> 1));
    ReduceTextLine(sprite, into->spriteX, into->spriteY, x0, top, 0, 0, penX, cutAtBottom ? hgt : lineHeight);
}

void LayOutTextBlock(TextLayout* into, int x, int y, int right, int bottom, const char* textCp932,
                     uint32_t flags) {
    if (Watcher) Watcher(textCp932 ? textCp932 : "");
    Surface* sprite = LayoutSprite(into, x, y);
    if (sprite) std::memset(sprite->pixels, 0, size_t(sprite->pitch) * sprite->height);
    ClearFontBuffer(true);
    TextRect* const rects = into->rects;
    int32_t& count = into->count;
    const char* text = textCp932 ? textCp932 : "";
    const int extra = int(flags & 0xFF);
    int lineHeight = FontHeight + extra;
    int x0 = x, top = y, penX = 0;
    TextColour = FloorColour(TextColour);
    ShadowColour = FloorColour(ShadowColour);
    rects[0].left = x;
    rects[0].top = y;
    count = 1;

    const long length = long(std::strlen(text));
    bool stopped = false;
    for (long p = 0; p < length && !stopped && count < TextRectCapacity; ++p) {
        char ch[3] = {0, 0, 0};
        int n = SjisCharLength(text + p, size_t(length - p));
        int w = 0, h = 0;
        // Wrapping words, a space before a word that would reach right ends the line
        // as a line feed does.
        bool lineFeed = n == 1 && text[p] == 0x0A;
        if (n == 1 && text[p] == ' ' && (flags & TextWrapWords)) {
            int word = WordWidth(text, p + 1, length, flags), space = 0;
            MeasureChar(text + p, 1, flags, &space, &h);
            h = 0;
            lineFeed = word > 0 && x0 + ((penX + space + word) >> 1) >= right;
        }
        if (!lineFeed) {
            std::memcpy(ch, text + p, size_t(n));
            DrawCharPasses(ch, penX, flags);
            MeasureChar(ch, n, flags, &w, &h);
        }
        into->offsets[count] = int32_t(p);
        p += n - 1;
        rects[count++] = {x0 + (penX >> 1), top, x0 + (penX >> 1) + (w >> 1),
                                      top + (h >> 1)};
        penX += w;
        if (h > lineHeight) lineHeight = h;

        const int end = x0 + (penX >> 1);
        if (end < right && penX < ScreenWidth && !lineFeed) continue;
        // The line ends here; its last character keeps no rectangle of its own on it.
        --count;
        const bool hanging = end >= right && SjisCharHangs(ch);
        // Taken back to start the next segment, unless it hangs, or it is alone on a
        // segment that only ended because the font buffer was full: taking that one
        // back would flush the same empty segment for ever.
        const bool bufferFullOnly = end < right && !lineFeed;
        if (!lineFeed && !hanging && !(bufferFullOnly && penX == w)) {
            penX -= w;
            p -= n;
        }
        FlushLine(into, sprite, x0, top, bottom, penX, lineHeight, true);
        ClearFontBuffer(false);
        x0 += penX >> 1;
        if (x0 + (w >> 1) >= right || lineFeed) {
            x0 = x;
            // A new line always moves down, even for a line height below 2.
            top += std::max(1, lineHeight >> 1);
        }
        lineHeight = FontHeight + extra;
        penX = 0;
        stopped = top >= bottom;
    }
    if (!stopped && penX != 0) FlushLine(into, sprite, x0, top, bottom, penX, lineHeight, false);
}

void WatchLaidOutText(void (*watcher)(const char* textCp932)) { Watcher = watcher; }

const TextLayout& MeasureTextBlock(int x, int y, int right, int bottom, const char* textCp932,
                                   uint32_t flags) {
    LayOutTextBlock(&Shared, x, y, right, bottom, textCp932, flags);
    return Shared;
}

const TextLayout& DrawTextBlock(int x, int y, int right, int bottom, const char* textCp932,
                                uint32_t flags) {
    LayOutTextBlock(&Shared, x, y, right, bottom, textCp932, flags);
    BltTextRect(Shared, 0);
    return Shared;
}

}  // namespace kaDraw
