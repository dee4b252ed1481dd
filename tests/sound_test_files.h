// Helpers of the sound and music tests: a temporary program directory, WAVE and MIDI
// files built byte by byte, and offline rendering through the mixer.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/headless.h"
#include "sound/kaMusic.h"
#include "sound/kaSound.h"

namespace soundtest {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes* b, unsigned v) {
    b->push_back(uint8_t(v));
    b->push_back(uint8_t(v >> 8));
}
inline void Put32(Bytes* b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b->push_back(uint8_t(v >> (8 * i)));
}
inline void PutId(Bytes* b, const char* id) { b->insert(b->end(), id, id + 4); }

inline Bytes Chunk(const char* id, const Bytes& body) {
    Bytes b;
    PutId(&b, id);
    Put32(&b, uint32_t(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1) b.push_back(0);
    return b;
}

// The 16 PCM fields of a format chunk.
inline Bytes FormatFields(unsigned tag, unsigned channels, uint32_t rate, unsigned bits) {
    Bytes b;
    unsigned align = channels * bits / 8;
    Put16(&b, tag);
    Put16(&b, channels);
    Put32(&b, rate);
    Put32(&b, rate * align);
    Put16(&b, align);
    Put16(&b, bits);
    return b;
}

inline Bytes RiffWave(const std::vector<Bytes>& chunks) {
    Bytes body;
    PutId(&body, "WAVE");
    for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
    Bytes b;
    PutId(&b, "RIFF");
    Put32(&b, uint32_t(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

// A plain PCM file: "fmt " then "data".
inline Bytes PcmWave(unsigned channels, uint32_t rate, unsigned bits, const Bytes& data) {
    return RiffWave({Chunk("fmt ", FormatFields(1, channels, rate, bits)), Chunk("data", data)});
}

// 16-bit samples as bytes.
inline Bytes Samples16(const std::vector<int16_t>& samples) {
    Bytes b;
    for (int16_t s : samples) Put16(&b, uint16_t(s));
    return b;
}

// A constant-level mono 16-bit clip at 44.1 kHz.
inline Bytes ConstantClip(int16_t level, int frames) {
    return PcmWave(1, 44100, 16, Samples16(std::vector<int16_t>(size_t(frames), level)));
}

// A track body: program 19 (an organ, which holds its level) on channel 0, a chord of
// the given notes from tick 0 to ticks, then the end of the track after restTicks more.
// 480 ticks a quarter note at the default 120 beats a minute: 960 ticks are one second.
inline Bytes ChordTrack(const std::vector<int>& notes, uint32_t ticks, uint32_t restTicks = 0) {
    Bytes track;
    auto delta = [&](uint32_t v) {
        uint8_t tmp[4];
        int n = 0;
        do { tmp[n++] = uint8_t(v & 0x7F); v >>= 7; } while (v);
        while (n--) track.push_back(uint8_t(tmp[n] | (n ? 0x80 : 0)));
    };
    delta(0); track.insert(track.end(), {0xC0, 19});
    for (int note : notes) { delta(0); track.insert(track.end(), {0x90, uint8_t(note), 100}); }
    bool first = true;
    for (int note : notes) {
        delta(first ? ticks : 0);
        first = false;
        track.insert(track.end(), {0x80, uint8_t(note), 0});
    }
    delta(restTicks); track.insert(track.end(), {0xFF, 0x2F, 0x00});
    return track;
}

// A Standard MIDI File of the given format holding the given track bodies.
inline Bytes MidiFile(int format, const std::vector<Bytes>& tracks) {
    Bytes b;
    PutId(&b, "MThd");
    b.insert(b.end(), {0, 0, 0, 6, 0, uint8_t(format), 0, uint8_t(tracks.size()), 0x01, 0xE0});
    for (const Bytes& track : tracks) {
        PutId(&b, "MTrk");
        uint32_t n = uint32_t(track.size());
        b.insert(b.end(), {uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)});
        b.insert(b.end(), track.begin(), track.end());
    }
    return b;
}

inline Bytes MidiChord(const std::vector<int>& notes, uint32_t ticks) {
    return MidiFile(0, {ChordTrack(notes, ticks)});
}

// Interleaved stereo output of the mixer for a number of frames.
inline std::vector<float> Render(int frames) {
    std::vector<float> out(size_t(frames) * 2, 0.0f);
    // In device-sized pieces, as the audio thread would ask for them.
    for (int at = 0; at < frames; at += 512) {
        int n = std::min(512, frames - at);
        kaSound::Mix(out.data() + size_t(at) * 2, n);
    }
    return out;
}

inline double Rms(const std::vector<float>& s, size_t firstFrame, size_t frames) {
    double sum = 0;
    for (size_t i = firstFrame * 2; i < (firstFrame + frames) * 2 && i < s.size(); ++i)
        sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(frames * 2));
}

inline double Peak(const std::vector<float>& s) {
    double peak = 0;
    for (float v : s) peak = std::max(peak, double(std::fabs(v)));
    return peak;
}

// A fixture with a fresh headless platform, a temporary program directory and the
// sound module started (with or without a device).
class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/akari-sound-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        Start(true);
    }
    void TearDown() override {
        kaMusic::CloseMusic();
        kaSound::Release();
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    // Starts the module afresh, as the screen set-up does.
    void Start(bool withDevice) {
        kaMusic::CloseMusic();
        kaSound::Release();
        headless::Reset();
        headless::EnableAudio(withDevice);
        headless::SetProgramDirectory(dir_);
        kaSound::Init();
        kaSound::ResetTable();
    }
    std::string Write(const std::string& name, const Bytes& bytes) {
        std::string path = dir_ + "/" + name;
        std::FILE* f = std::fopen(path.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        if (f) {
            if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return path;
    }
    // An error box beeps through the mixer; this plays the tone out.
    void LetBeepEnd() { Render(44100 / 5); }
    size_t Boxes() const { return headless::MessageBoxes().size(); }
    std::string LastBox() const {
        return headless::MessageBoxes().empty() ? "" : headless::MessageBoxes().back().text;
    }
    std::string dir_;
};

}  // namespace soundtest
