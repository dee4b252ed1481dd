// Real-time factor of the mixer: two voices and the music, rendered for 10 seconds of
// audio in device-sized slices through the device's callback (mixer and limiter). The
// "realtime" counter is seconds of audio per second of processor time on the one thread
// that mixes. And the time a step takes with self-voicing on to load the longest
// narration clip of the game folder (decoded and resampled): held Ctrl pays it a frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "sound/kaMusic.h"
#include "sound/kaSound.h"

namespace {

using Bytes = std::vector<uint8_t>;

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

void PutLe(Bytes* b, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b->push_back(uint8_t(v >> (8 * i)));
}

// Ten seconds of a 22.05 kHz mono 16-bit saw: resampled at load like most voice clips.
Bytes VoiceClip() {
    const uint32_t rate = 22050, frames = rate * 10;
    Bytes b = {'R', 'I', 'F', 'F'};
    PutLe(&b, 36 + frames * 2, 4);
    for (char c : std::string("WAVEfmt ")) b.push_back(uint8_t(c));
    PutLe(&b, 16, 4);
    PutLe(&b, 1, 2);
    PutLe(&b, 1, 2);
    PutLe(&b, rate, 4);
    PutLe(&b, rate * 2, 4);
    PutLe(&b, 2, 2);
    PutLe(&b, 16, 2);
    for (char c : std::string("data")) b.push_back(uint8_t(c));
    PutLe(&b, frames * 2, 4);
    for (uint32_t i = 0; i < frames; ++i) PutLe(&b, uint32_t(int16_t((i % 200) * 100 - 10000)), 2);
    return b;
}

// Four bars of four instruments on four channels, a note each on every beat, looped.
Bytes Song() {
    Bytes track;
    auto event = [&](uint8_t delta, std::initializer_list<uint8_t> bytes) {
        track.push_back(delta);  // every delta here fits in one byte, or is 480 below
        track.insert(track.end(), bytes);
    };
    const uint8_t programs[4] = {0, 48, 33, 19};
    const uint8_t roots[4] = {60, 67, 36, 52};
    for (uint8_t ch = 0; ch < 4; ++ch) event(0, {uint8_t(0xC0 | ch), programs[ch]});
    for (int beat = 0; beat < 16; ++beat) {
        for (uint8_t ch = 0; ch < 4; ++ch)
            event(0, {uint8_t(0x90 | ch), uint8_t(roots[ch] + beat % 5), 90});
        for (uint8_t ch = 0; ch < 4; ++ch) {
            if (ch == 0) track.push_back(0x83);  // 480 ticks, a quarter note: 0x83 0x60
            event(ch == 0 ? 0x60 : 0, {uint8_t(0x80 | ch), uint8_t(roots[ch] + beat % 5), 0});
        }
    }
    event(0, {0xFF, 0x2F, 0});
    Bytes b = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k'};
    uint32_t n = uint32_t(track.size());
    b.insert(b.end(), {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)});
    b.insert(b.end(), track.begin(), track.end());
    return b;
}

void MixTwoVoicesAndMusic(benchmark::State& state) {
    char pattern[] = "/tmp/akari-bench-XXXXXX";
    if (!mkdtemp(pattern)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    std::string dir = pattern;
    WriteFile(dir + "/voice.sad", VoiceClip());
    WriteFile(dir + "/song.mid", Song());
    headless::Reset();
    headless::EnableAudio(true);
    headless::SetProgramDirectory(dir);
    kaSound::Init();
    kaSound::ResetTable();
    kaMusic::Init();
    int first = kaSound::LoadObject("voice.sad", 1);
    int second = kaSound::LoadObject("voice.sad", 1);
    kaMusic::PlayMusic("song.mid", 1);
    kaMusic::SetMusicVolume(-6);
    if (first < 0 || second < 0 || !headless::MessageBoxes().empty()) {
        state.SkipWithError("set-up failed");
        return;
    }

    const int slice = 1024, seconds = 10;
    std::vector<float> out(slice * 2);
    // A benchmark of silence would prove nothing: the song must be heard.
    float peak = 0.0f;
    for (int done = 0; done < kaSound::OutputRate; done += slice) {
        std::fill(out.begin(), out.end(), 0.0f);
        kaSound::Mix(out.data(), slice);
        for (float v : out) peak = std::max(peak, std::fabs(v));
    }
    if (peak < 0.01f) {
        state.SkipWithError("the music is silent");
        return;
    }
    for (auto _ : state) {
        kaSound::Play(first, -1);
        kaSound::Play(second, -1);
        for (int done = 0; done < kaSound::OutputRate * seconds; done += slice)
            headless::PullAudio(out.data(), slice);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["realtime"] =
        benchmark::Counter(double(seconds) * state.iterations(), benchmark::Counter::kIsRate);

    kaMusic::CloseMusic();
    kaSound::Release();
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}
BENCHMARK(MixTwoVoicesAndMusic)->Unit(benchmark::kMillisecond);

void LoadLongestNarrationClip(benchmark::State& state) {
    std::string longest;
    uintmax_t longestBytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(AKARI_GAME_DIR) + "/speech"))
        if (entry.file_size() > longestBytes) {
            longestBytes = entry.file_size();
            longest = "speech/" + entry.path().filename().string();
        }
    headless::Reset();
    headless::EnableAudio(true);
    headless::SetProgramDirectory(AKARI_GAME_DIR);
    kaSound::Init();
    kaSound::ResetTable();
    for (auto _ : state) {
        int id = kaSound::LoadOpusObject(longest.c_str(), 1);
        if (id < 0) {
            state.SkipWithError("the clip did not load");
            break;
        }
        kaSound::Play(id, -1);
        state.counters["seconds"] = kaSound::SecondsLeft(id);
        kaSound::ReleaseObject(id);
    }
    kaSound::Release();
}
BENCHMARK(LoadLongestNarrationClip)->Unit(benchmark::kMillisecond);

}  // namespace
