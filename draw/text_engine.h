// Internals of the text layer shared by its files and its tests: the typeface table,
// face lookup, the glyph cache and the line reduction over explicit surfaces.
#pragma once
#include <cstdint>

#include "draw/kaDraw.h"

namespace kaDraw {

// ---- Typefaces (text_fonts.cpp) -------------------------------------------------

// An installed family as the font request sees it: its name in CP932 when it has a
// CP932 form (else its UTF-8 bytes, cut to fit), and character set 128 when the family
// covers Japanese, else 0.
struct FontEntry {
    char name[36];
    uint8_t charSet;
};
constexpr int FontTableSize = 200;
extern FontEntry FontTable[FontTableSize];
extern int FontTableCount;

// What SelectTextFont asked for last.
struct FontRequestBlock {
    char faceName[32];  // CP932
    int32_t height;     // cell height in pixels (FontHeight)
    uint8_t charSet;
};
extern FontRequestBlock FontRequest;

// Fills FontTable from the families fontconfig knows, in its order, at most 200.
void CollectInstalledFonts();
// The same as a start-up task (base/start_up_task.h); AwaitInstalledFonts waits until
// it is done (FindFace and CollectInstalledFonts wait themselves).
void StartCollectingFonts();
void AwaitInstalledFonts();

// Face slot (0 .. NamedFaceSlots - 1) for a CP932 face name, opening the font file on
// first use; -1 when no file at all can be found. Names with a font installed under
// them use it; the two proportional Japanese faces the game asks for map to IPAPGothic
// and IPAPMincho; everything falls back to fontconfig's Japanese sans-serif or serif.
constexpr int NamedFaceSlots = 8;
int FindFace(const char* faceCp932);
// Face slot (NamedFaceSlots .. FaceSlotCount - 1) of an installed face that has a
// character the face of faceSlot lacks, the nearest to that face's kind (sans-serif or
// serif); -1 when none has it, and always for controls and the private use area, whose
// codes mean nothing outside the fonts that define them. Looked up once per face and
// character.
constexpr int FallbackFaceSlots = 8;
constexpr int FaceSlotCount = NamedFaceSlots + FallbackFaceSlots;
int FallbackFace(int faceSlot, uint32_t code);
// The font file and face index behind a slot, which the glyph renderer opens.
const char* FaceFile(int slot);
int FaceIndex(int slot);
// Forgets every slot and the table of installed families, which the next InitText
// fills again (the glyph cache must be freed first).
void ReleaseFaces();

// ---- Glyphs (text_glyphs.cpp) ---------------------------------------------------

// A horizontal run of ink in a glyph: row and first column relative to the glyph's
// placement, and its length in pixels.
struct InkRun {
    int16_t row, column, length;
};

// A rendered monochrome glyph: its ink as runs, placed at (pen x + left, cell top +
// top) within a box of width x height; advance is the integer advance width in pixels.
struct Glyph {
    int left, top, width, height;
    int advance;
    const InkRun* runs;
    int runCount;
};

// The glyph of a code point in a face at a cell height, from the cache or rendered
// into it. A code point the face lacks comes from its fallback face at the same pixel
// size, on the face's baseline; with none, it renders the face's missing-glyph shape.
// nullptr only when the face cannot be used.
const Glyph* CachedGlyph(int faceSlot, int cellHeight, uint32_t code);
// Paints a glyph's ink in a native pixel value with the cell's top-left at (x, y),
// skipping whatever falls outside the surface.
void PaintGlyph(Surface* s, int x, int y, const Glyph& g, uint32_t native);
// Empties the glyph cache (the faces stay open).
void ClearGlyphCache();
// Empties the cache and closes every face and the font engine.
void CloseGlyphEngine();

// ---- Reduction (reduce_text_line.cpp) -------------------------------------------

// Everything ReduceTextLine takes from the module, passed explicitly so the reduction
// can run over any three surfaces of one layout.
struct ReduceTarget {
    const Surface* fontBuffer;  // double-size text, read
    Surface* font;              // final-size text, written
    const Surface* background;  // picture under the text, read
    int depth;                  // 16, 32, else three bytes per pixel
    int shift[3];               // lowest bit of red, green, blue in a 32-bit pixel
    int shift5[3];              // where a 5-bit red, green, blue sits in a 16-bit pixel
    int clipLeft, clipTop, clipRight, clipBottom;
    int fontX = 0, fontY = 0;   // the client pixel of the font surface's top-left
};
int ReduceTextLineOn(const ReduceTarget& t, int destX, int destY, int srcLeft, int srcTop,
                     int srcRight, int srcBottom);

}  // namespace kaDraw
