// The English of the line shown, in a box over the message window while the reader
// holds T with Japanese in force, for a reader of Japanese who wants to check a line.
// The story does not move; let go, the box goes with the next frame.
#include <algorithm>

#include "base/screen_layout.h"
#include "draw/kaDraw.h"
#include "story/screens/screens.h"

void DrawBoxOverWindow(const char* faceCp932, int size, const char* text) {
    using namespace layout;
    const int left = TranslationLeft + TranslationInset, right = TranslationRight - TranslationInset;
    kaDraw::SelectTextFont(faceCp932, size);
    kaDraw::SetTextColours(0xFFFFFF, 0, 1);
    const kaDraw::TextLayout& measured =
        kaDraw::MeasureTextBlock(left, 0, right, ClientHeight, text, kaDraw::TextWrapWords);
    int height = 0;
    for (int i = 1; i < measured.count; ++i) height = std::max(height, measured.rects[i].bottom);
    const int top = TranslationBottom - height - 2 * TranslationInset;
    kaDraw::DrawRect(TranslationLeft, top, TranslationRight, TranslationBottom, 0x301808, 0xC8C8C8, 1);
    kaDraw::DrawTextBlock(left, top + TranslationInset, right, ClientHeight, text, kaDraw::TextWrapWords);
    kaDraw::EndTextDrawing();
}

void DrawHeldTranslation() {
    if (!FrameInput().TranslationHeld || EnglishInForce() || !MessageWindowShowsLine()) return;
    const char* english = EnglishLineText(CurrentScene().line);
    if (english) DrawBoxOverWindow(EngineTextIn(TextGothic, true), layout::TranslationTextSize, english);
}
