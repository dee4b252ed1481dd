// Cost of laying out and reducing one prose line (warm and cold glyph cache), against
// one full-screen opaque blit measured in the same run.
#include <benchmark/benchmark.h>

#include <string>

#include "draw/sjis.h"
#include "draw/text_engine.h"
#include "platform/headless.h"
#include "story/frame.h"

using namespace kaDraw;

namespace {

std::string ProseLine, PGothic;

// A display of its own (the other benchmarks may have left one with other pictures),
// with a picture on the back buffer to smooth against.
void EnsureDisplay() {
    if (!ProseLine.empty()) return;
    headless::Reset();
    OpenMedia(700, 520, 1);
    for (int y = 0; y < 520; ++y)
        for (int x = 0; x < 700; ++x) WritePixel(BackBuffer, x, y, uint32_t(x * 37 + y * 11) & 0x7F7F7F);
    char buf[256];
    // A two-character speaker name, a colon and 55 double-byte characters: 115 bytes.
    Utf8ToSjis(u8"美咲:明日の朝、駅前の古い喫茶店で待っていると彼女は言った。"
               u8"けれど約束の時間を過ぎても、窓の外に見慣れた姿は現れぬ。",
               buf, sizeof buf);
    ProseLine = buf;
    Utf8ToSjis(u8"ＭＳ Ｐゴシック", buf, sizeof buf);
    PGothic = buf;
}

TextLayout Laid;

void LayOutProseLine() {
    SelectTextFont(PGothic.c_str(), 28);
    SetTextColours(0xC8C8C8, 0, 1);
    LayOutTextBlock(&Laid, 10, 385, 590, 580, ProseLine.c_str(), 0);
    EndTextDrawing();
}

void BM_ProseLineWarmCache(benchmark::State& state) {
    EnsureDisplay();
    LayOutProseLine();
    for (auto _ : state) LayOutProseLine();
    state.counters["bytes"] = double(ProseLine.size());
    state.counters["rects"] = Laid.count;
}
BENCHMARK(BM_ProseLineWarmCache)->Unit(benchmark::kMicrosecond);

void BM_ProseLineColdCache(benchmark::State& state) {
    EnsureDisplay();
    LayOutProseLine();  // the face file is open; only the glyphs are rendered again
    for (auto _ : state) {
        ClearGlyphCache();
        LayOutProseLine();
    }
}
BENCHMARK(BM_ProseLineColdCache)->Unit(benchmark::kMicrosecond);

void BM_ProseLineColdFontEngine(benchmark::State& state) {
    EnsureDisplay();
    for (auto _ : state) {
        CloseGlyphEngine();  // face files opened and glyphs rendered again
        LayOutProseLine();
    }
}
BENCHMARK(BM_ProseLineColdFontEngine)->Unit(benchmark::kMicrosecond);

void BM_FullScreenOpaqueBlit(benchmark::State& state) {
    EnsureDisplay();
    for (auto _ : state) BltOpaque(0, 0, BufferSprite, 0, 0, 700, 520);
}
BENCHMARK(BM_FullScreenOpaqueBlit)->Unit(benchmark::kMicrosecond);

}  // namespace
