// Speed of the per-frame drawing, each result also given as "memcpys": its time divided
// by the time of one memcpy of the whole 700 x 520 back buffer, measured just before it
// in the same run. Both are thread CPU times, so other work on the machine counts less.
#include <benchmark/benchmark.h>

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/frame.h"
#include "draw/kaDraw.h"
#include "platform/headless.h"
#include "story/frame.h"

using namespace kaDraw;
static const size_t BackBufferBytes = size_t(700) * 520 * 4;

static double CpuSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + t.tv_nsec * 1e-9;
}

// Seconds of one memcpy of the back buffer's size, the mean of many after a warm-up.
static double MemcpySeconds() {
    static std::vector<uint8_t> from(BackBufferBytes, 1), to(BackBufferBytes);
    const int runs = 1000;
    for (int i = 0; i < 50; ++i) std::memcpy(to.data(), from.data(), BackBufferBytes);
    double start = CpuSeconds();
    for (int i = 0; i < runs; ++i) {
        std::memcpy(to.data(), from.data(), BackBufferBytes);
        benchmark::ClobberMemory();
    }
    return (CpuSeconds() - start) / runs;
}

// Writes a bottom-up 24-bit BMP whose pixel (x, y) is colour(x, y) (0x00RRGGBB).
template <typename Colour>
static void WritePicture(const std::string& path, int w, int h, Colour colour) {
    size_t stride = (size_t(w) * 3 + 3) & ~size_t(3);
    std::vector<uint8_t> f(54 + stride * h, 0);
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&f[at], &v, 4); };
    f[0] = 'B', f[1] = 'M';
    put32(2, uint32_t(f.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(w));
    put32(22, uint32_t(h));
    f[26] = 1, f[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t c = colour(x, y);
            uint8_t* p = &f[54 + stride * (h - 1 - y) + 3 * x];
            p[0] = uint8_t(c), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c >> 16);
        }
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return;
    std::fwrite(f.data(), 1, f.size(), out);
    std::fclose(out);
}

// The pictures of a story frame, loaded once: the story picture (three 500 x 375
// bands), the panel, the message frame and the pointer, the last three keyed on a
// magenta top-left pixel that also fills their transparent parts.
static int Story, Panel, Frame, Pointer;

static void SetUpPictures() {
    if (Story) return;
    char pattern[] = "/tmp/akari-bench-XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    std::string dir = std::string(pattern) + "/";
    headless::Reset();
    headless::SetProgramDirectory(dir);
    if (!OpenMedia(700, 520, 1)) std::abort();
    const uint32_t magenta = 0xFF00FF;
    WritePicture(dir + "story.bmp", 500, 1125, [](int x, int y) { return uint32_t(x * 7 + y * 13) | 0x010101; });
    WritePicture(dir + "panel.bmp", 168, 377, [&](int x, int y) {
        return (x < 20 || (x + y) % 5 == 0) ? magenta : 0x336699u;
    });
    WritePicture(dir + "frame.bmp", 650, 100, [&](int x, int y) {
        return (y < 10 || x < 10 || x >= 640) ? magenta : 0x202020u;
    });
    WritePicture(dir + "pointer.bmp", 32, 32, [&](int x, int y) { return x + y < 32 && x && y ? 0xFFFFFFu : magenta; });
    SetKeyColour(0);
    Story = LoadObject("story.bmp", 2);
    SetKeyFromPixel();
    Panel = LoadObject("panel.bmp", 2);
    Frame = LoadObject("frame.bmp", 2);
    Pointer = LoadObject("pointer.bmp", 2);
    if (!Story || !Panel || !Frame || !Pointer) std::abort();
    std::filesystem::remove_all(dir);
    FrameSeconds = 1.0f / 60;
}

// Runs body once per iteration and reports its time in memcpys of the back buffer.
template <typename Body>
static void Measure(benchmark::State& state, Body body) {
    SetUpPictures();
    double baseline = MemcpySeconds();
    double start = CpuSeconds();
    for (auto _ : state) {
        body();
        benchmark::ClobberMemory();
    }
    double seconds = CpuSeconds() - start;
    state.counters["memcpys"] = seconds / double(state.iterations()) / baseline;
    state.counters["memcpy_us"] = baseline * 1e6;
}

static void MemcpyBackBuffer(benchmark::State& state) {
    SetUpPictures();
    std::vector<uint8_t> from(BackBufferBytes, 1);
    Measure(state, [&] { std::memcpy(BackBuffer->pixels, from.data(), BackBufferBytes); });
}

static void OpaquePicture500x375(benchmark::State& state) {
    Measure(state, [] { BltOpaque(0, 0, Story, 0, 375, 500, 750); });
}

static void KeyedPanel168x377(benchmark::State& state) {
    Measure(state, [] { BltTransparent(474, 0, Panel, 0, 0, 168, 377); });
}

static void WaveBand500x375(benchmark::State& state) {
    Measure(state, [] { BltWave(0, 0, 10, 2, 150.0f, Story, 0, 375, 500, 750, 0); });
}

static void StoryFrame(benchmark::State& state) {
    Measure(state, [] {
        BltWave(0, 0, 10, 2, 150.0f, Story, 0, 375, 500, 750, 0);
        BltTransparent(474, 0, Panel, 0, 0, 168, 377);
        BltTransparent(-7, 375, Frame, 0, 0, 650, 100);
        BltTransparent(300, 200, Pointer, 0, 0, 32, 32);
    });
}

BENCHMARK(MemcpyBackBuffer);
BENCHMARK(OpaquePicture500x375);
BENCHMARK(KeyedPanel168x377);
BENCHMARK(WaveBand500x375);
BENCHMARK(StoryFrame);
