// Helpers of the sound and music tests: WAVE and MIDI files built byte by byte, a
// temporary program directory, and offline rendering through the mixer.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/little_endian.h"
#include "platform/headless.h"
#include "sound/kaMusic.h"
#include "sound/kaSound.h"

namespace soundtest {

using Bytes = std::vector<uint8_t>;

// A chunk: id, size, body, and a pad byte after an odd body.
inline Bytes Chunk(const char* id, const Bytes& body) {
    Bytes b(id, id + 4);
    Put32(b, uint32_t(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1) b.push_back(0);
    return b;
}

// The 16 PCM fields of a format chunk.
inline Bytes FormatFields(unsigned tag, unsigned channels, uint32_t rate, unsigned bits) {
    Bytes b;
    for (unsigned v : {tag, channels}) Put16(b, v);
    for (uint32_t v : {rate, rate * channels * bits / 8}) Put32(b, v);
    for (unsigned v : {channels * bits / 8, bits}) Put16(b, v);
    return b;
}

inline Bytes RiffWave(const std::vector<Bytes>& chunks) {
    Bytes body = {'W', 'A', 'V', 'E'};
    for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
    return Chunk("RIFF", body);
}

inline Bytes Samples16(const std::vector<int16_t>& samples) {
    Bytes b;
    for (int16_t s : samples) Put16(b, uint16_t(s));
    return b;
}

inline Bytes PcmWave(unsigned channels, uint32_t rate, unsigned bits, const Bytes& data) {
    return RiffWave({Chunk("fmt ", FormatFields(1, channels, rate, bits)), Chunk("data", data)});
}

inline Bytes ConstantClip(int16_t level, int frames) {
    return PcmWave(1, 44100, 16, Samples16(std::vector<int16_t>(size_t(frames), level)));
}

// A sine of amplitude a (of full scale) at hz, sampled at rate, after lead frames of
// silence, as 16-bit samples.
inline std::vector<int16_t> Sine(double a, double hz, int rate, int frames, int lead = 0) {
    std::vector<int16_t> s(size_t(lead + frames), 0);
    for (int i = 0; i < frames; ++i)
        s[size_t(lead + i)] = int16_t(std::lround(32767 * a * std::sin(2 * M_PI * hz * i / rate)));
    return s;
}

// Interleaved stereo mixer output, asked for in device-sized pieces.
inline std::vector<float> Render(int frames) {
    std::vector<float> out(size_t(frames) * 2, 0.0f);
    for (int at = 0; at < frames; at += 512)
        kaSound::Mix(out.data() + size_t(at) * 2, std::min(512, frames - at));
    return out;
}

// The same as the device plays it: the mixer's output through the device's callback.
inline std::vector<float> PullFromDevice(int frames) {
    std::vector<float> out(size_t(frames) * 2, 0.0f);
    for (int at = 0; at < frames; at += 1024)
        headless::PullAudio(out.data() + size_t(at) * 2, std::min(1024, frames - at));
    return out;
}

// The largest difference between one sample and the next of the same channel, from
// firstFrame on.
inline double LargestStep(const std::vector<float>& s, size_t firstFrame = 0) {
    double step = 0;
    for (size_t i = firstFrame * 2 + 2; i < s.size(); ++i)
        step = std::max(step, double(std::fabs(s[i] - s[i - 2])));
    return step;
}

// Root mean square over frames from firstFrame (to the end when frames is 0).
inline double Rms(const std::vector<float>& s, size_t firstFrame = 0, size_t frames = 0) {
    if (!frames) frames = s.size() / 2 - firstFrame;
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

// A fresh headless platform and sound module over a temporary program directory.
class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/akari-sound-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        headless::Reset();
        headless::EnableAudio(true);
        headless::SetProgramDirectory(dir_);
        kaSound::Init();  // as the screen set-up does
        kaSound::ResetTable();
    }
    void TearDown() override {
        kaMusic::CloseMusic();
        kaSound::Release();
        std::filesystem::remove_all(dir_);
    }
    void Write(const std::string& name, const Bytes& bytes) {
        std::ofstream(dir_ + "/" + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    size_t Boxes() const { return headless::MessageBoxes().size(); }
    std::string LastBox() const { return Boxes() ? headless::MessageBoxes().back().text : ""; }
    std::string dir_;
};

constexpr int Second = 44100;

// A format 0 file: an organ (which holds its level) sounding one note for ticks, written
// as a two-byte delta time. At 480 ticks a beat and 120 beats a minute, 960 ticks are a second.
inline Bytes Note(int note, uint32_t ticks) {
    return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 1, 0xE0, 'M', 'T', 'r', 'k', 0, 0, 0, 16,
            0, 0xC0, 19, 0, 0x90, uint8_t(note), 100, uint8_t(0x80 | ticks >> 7),
            uint8_t(ticks & 0x7F), 0x80, uint8_t(note), 0, 0, 0xFF, 0x2F, 0};
}

// The same with the music's synthesizer started, past a broken SoundFont in the program
// directory to the system's.
class MusicTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        Write("aaa.sf2", Bytes(64, 0x55));
        testing::internal::CaptureStderr();
        ASSERT_EQ(kaMusic::Init(), 1);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "the synthesizer stays quiet";
    }
    void Play(int note, uint32_t ticks, int loop) {
        Write("m.mid", Note(note, ticks));
        kaMusic::PlayMusic("m.mid", loop);
    }
};

}  // namespace soundtest
