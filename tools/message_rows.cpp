// The message window's rows, as the text layout breaks them: the pen moves by each
// glyph's advance at twice the size, rounded up to even; a character that ends at or
// past the right limit begins the next row, unless it may hang past the limit. The
// layout draws a row in pieces of at most a screen's width at twice the size: a piece
// that ends with the screen's width moves on along the same row, or to the next if the
// character that ended it reaches the limit there (then without hanging). The screen is
// the game's back buffer. English wraps at spaces: a space before a word that would
// reach the limit ends the row and is on none.
#include "tools/message_rows.h"

#include <cstring>

#include "base/screen_layout.h"
#include "draw/sjis.h"
#include "draw/text_engine.h"
#include "story/engine/engine.h"

// The advance of a character at twice the size, rounded up to even; -1 without a glyph.
static int Advance(int face, int size, const char* ch, int n) {
    const kaDraw::Glyph* g = kaDraw::CachedGlyph(face, 2 * size, SjisDecodeChar(ch, n));
    return g ? g->advance + (g->advance & 1) : -1;
}

// The width at twice the size of the word from line[p] to the next space or the end.
static int WordWidth(int face, int size, const char* line, size_t p, size_t length) {
    int width = 0;
    while (p < length && line[p] != ' ') {
        int n = SjisCharLength(line + p, length - p), w = Advance(face, size, line + p, n);
        if (w < 0) return -1;
        width += w;
        p += size_t(n);
    }
    return width;
}

static std::vector<int> Rows(int face, bool wrapWords, const char* line, int size, int left, int right) {
    const int pieceWidth = layout::BackBufferWidth;
    std::vector<int> rows(1, 0);
    int x0 = left, penX = 0;
    for (size_t p = 0, length = std::strlen(line); p < length;) {
        char ch[3] = {};
        int n = SjisCharLength(line + p, length - p);
        std::memcpy(ch, line + p, size_t(n));
        int w = Advance(face, size, ch, n);
        if (w < 0) return {};
        if (wrapWords && ch[0] == ' ') {
            int word = WordWidth(face, size, line, p + 1, length);
            if (word < 0) return {};
            if (word > 0 && x0 + (penX + w + word) / 2 >= right) {
                p += 1;
                x0 = left;
                penX = 0;
                rows.push_back(0);
                continue;
            }
        }
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

std::vector<int> MessageRows(const char* line, int size, int left, int right) {
    static const int face = kaDraw::FindFace(EngineTextIn(TextGothic, false));
    return Rows(face, false, line, size, left, right);
}

std::vector<int> EnglishRows(const char* line, EngineTextId face, int size, int left, int right) {
    return Rows(kaDraw::FindFace(EngineTextIn(face, true)), true, line, size, left, right);
}
