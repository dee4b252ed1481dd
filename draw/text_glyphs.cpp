// Glyph rendering with FreeType: faces sized by cell height, monochrome glyphs kept in
// a cache per face, cell height and character, painted into a surface.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "draw/text_engine.h"

namespace kaDraw {

// Cell heights beyond this are refused: the font buffer is far smaller anyway.
static constexpr int MaxCellHeight = 4096;

static FT_Library Library = nullptr;

struct OpenFace {
    FT_Face face;
    bool failed;     // opening was tried and did not work
    int ppem;        // pixels per em the face is currently set to, 0: none
    int sizedTo;     // cell height that ppem was chosen for, 0: none (or set directly)
    int ascent;      // pixels from the cell top to the baseline at that size
};
static OpenFace Faces[FaceSlotCount];

struct CacheEntry {
    Glyph glyph;
    std::vector<InkRun> runs;
};
// Nodes of an unordered_map stay put, so the run pointers handed out stay valid until
// the cache is cleared.
static std::unordered_map<uint64_t, CacheEntry> Cache;

static FT_Face FaceOf(int slot) {
    OpenFace& f = Faces[slot];
    if (f.face || f.failed) return f.face;
    if (!Library && FT_Init_FreeType(&Library) != 0) {
        Library = nullptr;
        return nullptr;
    }
    const char* file = FaceFile(slot);
    if (!file[0] || FT_New_Face(Library, file, FaceIndex(slot), &f.face) != 0) {
        f.face = nullptr;
        f.failed = true;
    }
    return f.face;
}

static bool SetPixelsPerEm(int slot, int ppem) {
    OpenFace& f = Faces[slot];
    if (f.ppem == ppem) return true;
    f.ppem = f.sizedTo = 0;
    if (FT_Set_Pixel_Sizes(f.face, 0, FT_UInt(ppem)) != 0) return false;
    f.ppem = ppem;
    return true;
}

// Sizes the face so that its ascent plus descent (the Windows metrics when the font has
// them) spans cellHeight pixels, as a positive height request does.
static bool SizeFace(int slot, int cellHeight) {
    OpenFace& f = Faces[slot];
    if (f.sizedTo == cellHeight) return true;
    FT_Face face = f.face;
    long upem = face->units_per_EM > 0 ? face->units_per_EM : 1000;
    long ascentUnits = face->ascender, cellUnits = long(face->ascender) - face->descender;
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
        ascentUnits = os2->usWinAscent;
        cellUnits = long(os2->usWinAscent) + os2->usWinDescent;
    }
    if (cellUnits <= 0) {
        cellUnits = upem;
        ascentUnits = upem * 7 / 8;
    }
    long ppem = (cellHeight * upem + cellUnits / 2) / cellUnits;
    if (ppem < 1) ppem = 1;
    if (!SetPixelsPerEm(slot, int(ppem))) return false;
    long ascent = (ascentUnits * ppem + upem / 2) / upem;
    f.ascent = int(ascent < 0 ? 0 : ascent > cellHeight ? cellHeight : ascent);
    f.sizedTo = cellHeight;
    return true;
}

// Renders code from the face of slot, its baseline ascent pixels below the cell top.
static bool RenderInto(int slot, uint32_t code, int ascent, CacheEntry* entry) {
    FT_Face face = Faces[slot].face;
    if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0)
        return false;
    const FT_GlyphSlot g = face->glyph;
    const FT_Bitmap& bm = g->bitmap;
    Glyph& out = entry->glyph;
    out.left = g->bitmap_left;
    out.top = ascent - g->bitmap_top;
    out.width = int(bm.width);
    out.height = int(bm.rows);
    out.advance = int((g->advance.x + 32) >> 6);
    entry->runs.clear();
    int pitch = bm.pitch < 0 ? -bm.pitch : bm.pitch;
    for (int r = 0; r < out.height; ++r) {
        const uint8_t* row = bm.buffer + size_t(bm.pitch < 0 ? out.height - 1 - r : r) * pitch;
        int runStart = -1;
        for (int c = 0; c <= out.width; ++c) {
            bool ink = c < out.width && (bm.pixel_mode == FT_PIXEL_MODE_MONO
                                             ? (row[c >> 3] >> (7 - (c & 7))) & 1
                                             : row[c] >= 128);
            if (ink && runStart < 0) runStart = c;
            if (!ink && runStart >= 0) {
                entry->runs.push_back({int16_t(r), int16_t(runStart), int16_t(c - runStart)});
                runStart = -1;
            }
        }
    }
    return true;
}

// The slot whose face draws code for the face of faceSlot (sized already): itself when
// it has the character, else its fallback face at the same pixels per em, else itself
// again for its missing-glyph shape.
static int GlyphSource(int faceSlot, uint32_t code) {
    FT_Face face = Faces[faceSlot].face;
    if (FT_Get_Char_Index(face, code) != 0) return faceSlot;
    int other = FallbackFace(faceSlot, code);
    if (other < 0 || !FaceOf(other) ||
        FT_Get_Char_Index(Faces[other].face, code) == 0 ||
        !SetPixelsPerEm(other, Faces[faceSlot].ppem))
        return faceSlot;
    return other;
}

const Glyph* CachedGlyph(int faceSlot, int cellHeight, uint32_t code) {
    if (faceSlot < 0 || faceSlot >= FaceSlotCount || cellHeight < 1 || cellHeight > MaxCellHeight)
        return nullptr;
    uint64_t key = uint64_t(faceSlot) << 48 | uint64_t(cellHeight) << 32 | code;
    auto found = Cache.find(key);
    if (found != Cache.end()) return &found->second.glyph;
    if (!FaceOf(faceSlot) || !SizeFace(faceSlot, cellHeight)) return nullptr;
    CacheEntry entry{};
    const int ascent = Faces[faceSlot].ascent;
    const int drawn = GlyphSource(faceSlot, code);
    if (!RenderInto(drawn, code, ascent, &entry)) return nullptr;
    CacheEntry& stored = Cache.emplace(key, std::move(entry)).first->second;
    stored.glyph.runs = stored.runs.data();
    stored.glyph.runCount = int(stored.runs.size());
    return &stored.glyph;
}

template <int Bytes>
static void PaintRuns(Surface* s, int x, int y, const Glyph& g, uint32_t native) {
    for (int k = 0; k < g.runCount; ++k) {
        const InkRun& run = g.runs[k];
        int py = y + g.top + run.row;
        if (py < 0 || py >= s->height) continue;
        int from = std::max(0, x + g.left + run.column);
        int to = std::min(s->width, x + g.left + run.column + run.length);
        if (from >= to) continue;
        uint8_t* p = s->pixels + size_t(py) * s->pitch + size_t(from) * Bytes;
        for (int px = from; px < to; ++px, p += Bytes) {
            if (Bytes == 3) {
                p[0] = uint8_t(native);
                p[1] = uint8_t(native >> 8);
                p[2] = uint8_t(native >> 16);
            } else if (Bytes == 2) {
                uint16_t v = uint16_t(native);
                std::memcpy(p, &v, 2);
            } else {
                std::memcpy(p, &native, 4);
            }
        }
    }
}

void PaintGlyph(Surface* s, int x, int y, const Glyph& g, uint32_t native) {
    if (!s) return;
    switch (s->format.bitsPerPixel) {
    case 16: PaintRuns<2>(s, x, y, g, native); break;
    case 24: PaintRuns<3>(s, x, y, g, native); break;
    default: PaintRuns<4>(s, x, y, g, native); break;
    }
}

void ClearGlyphCache() {
    Cache.clear();
}

void CloseGlyphEngine() {
    Cache.clear();
    for (OpenFace& f : Faces) {
        if (f.face) FT_Done_Face(f.face);
        f = OpenFace{};
    }
    if (Library) FT_Done_FreeType(Library);
    Library = nullptr;
}

}  // namespace kaDraw
