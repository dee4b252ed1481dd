// The message window's rows, as the text layout breaks them: the pen moves by each
// glyph's advance at twice the size, rounded up to even; a character that ends at or
// past the right limit begins the next row, unless it may hang past the limit. The
// layout draws a row in pieces of at most a screen's width at twice the size: a piece
// that ends with the screen's width moves on along the same row, or to the next if the
// character that ended it reaches the limit there (then without hanging). The screen is
// the game's back buffer.
#include "tools/message_rows.h"

#include <cstring>

#include "base/screen_layout.h"
#include "draw/sjis.h"
#include "draw/text_engine.h"
#include "story/engine/engine.h"

std::vector<int> MessageRows(const char* line, int size, int left, int right) {
    static const int face = kaDraw::FindFace(EngineText(TextGothic));
    const int pieceWidth = layout::BackBufferWidth;
    std::vector<int> rows(1, 0);
    int x0 = left, penX = 0;
    for (size_t p = 0, length = std::strlen(line); p < length;) {
        char ch[3] = {};
        int n = SjisCharLength(line + p, length - p);
        std::memcpy(ch, line + p, size_t(n));
        const kaDraw::Glyph* g = kaDraw::CachedGlyph(face, 2 * size, SjisDecodeChar(ch, n));
        if (!g) return {};
        int w = g->advance + (g->advance & 1);
        penX += w;
        ++rows.back();
        p += size_t(n);
        int end = x0 + penX / 2;
        if (end < right && penX < pieceWidth) continue;
        bool hanging = end >= right && SjisCharHangs(ch);
        bool pieceFullOnly = end < right;
        if (!hanging && !(pieceFullOnly && penX == w)) {
            penX -= w;
            --rows.back();
            p -= size_t(n);
        }
        x0 += penX / 2;
        if (x0 + w / 2 >= right) {
            if (rows.back() == 0) return {};  // a character wider than the row
            x0 = left;
            rows.push_back(0);
        }
        penX = 0;
    }
    if (rows.back() == 0 && rows.size() > 1) rows.pop_back();
    return rows;
}
