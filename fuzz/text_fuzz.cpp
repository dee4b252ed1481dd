// Text layout and drawing on any bytes (lone lead bytes, runs of 0x0A, bytes above
// 0xFC) at any font size and flags, at every display depth, as the message window,
// the choice box and the menu use them: nothing is written outside a surface and the
// character rectangles stay within their table.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "draw/kaDraw.h"
#include "fuzz/fuzz_support.h"
#include "story/frame.h"

static const kaDraw::PixelFormat* const Depths[] = {
    &kaDraw::FormatXRGB8888, &kaDraw::FormatRGB565, &kaDraw::FormatRGB555,
    &kaDraw::FormatRGB888};

// A screen of the given depth, made again only when the depth changes.
static void UseDepth(int depth) {
    static int current = -1;
    if (depth == current) return;
    if (current >= 0) CloseMedia();
    kaDraw::SetDisplayFormat(*Depths[depth]);
    if (OpenMedia(700, 520, 1) != 1) std::abort();
    current = depth;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    fuzz::Folder();
    UseDepth(data[0] % 4);
    int fontSize = int16_t(data[1] | data[2] << 8);
    uint32_t flags = uint32_t(data[3] | data[4] << 8);
    char text[ScriptLineBytes] = {};
    std::memcpy(text, data + 5, std::min(size - 5, sizeof text - 1));

    static kaDraw::TextLayout laid;
    laid.rects[0] = {0, 0, 0, 0};
    kaDraw::SelectTextFont(EngineText(data[0] & 4 ? TextMincho : TextGothic), fontSize);
    kaDraw::SetTextColours(0xC8C8C8, 0x202020, data[0] & 8 ? 1 : 0);
    kaDraw::LayOutTextBlock(&laid, 10, 385, 590, 580, text, flags);
    kaDraw::EndTextDrawing();
    if (laid.count < 0 || laid.count >= kaDraw::TextRectCapacity) std::abort();
    for (int i = 0; i < laid.count; ++i) kaDraw::BltTextRect(laid, i);
    kaDraw::SelectTextFont(EngineText(TextGothic), fontSize);
    kaDraw::DrawTextBlock(80, 140, 800, 600, text, flags);
    kaDraw::EndTextDrawing();
    return 0;
}
