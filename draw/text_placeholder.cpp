// Least text module that builds: an empty font table and layouts that draw nothing.
// Replaced by the font engine.
#include "draw/kaDraw.h"
#include "story/story.h"

namespace kaDraw {
TextRect TextRects[TextRectCapacity];
int32_t TextRectCount = 0;
void InitText() {}
void FreeText() {}
void SelectTextFont(const char*, int) {}
void SetTextColours(uint32_t, uint32_t, int) {}
void DrawTextBlock(int x, int y, int, int, const char*, uint32_t) {
    TextRects[0].left = x;
    TextRects[0].top = y;
    TextRectCount = 1;
    RevealCount = 0;
    RevealClock = 0.0f;
}
void LayOutTextBlock(int x, int y, int right, int bottom, const char* text, uint32_t flags) {
    DrawTextBlock(x, y, right, bottom, text, flags);
}
void EndTextDrawing() {}
}  // namespace kaDraw
