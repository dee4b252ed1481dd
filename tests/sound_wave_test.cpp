// The WAVE reader and the conversion at load: the formats we play, the format block
// handed on, and every kind of broken file refused without reading past its end.
#include "tests/sound_test_files.h"

namespace soundtest {
namespace {

const char* const NotFound = "kaSound::LoadObject : WAVEリソースが見つかりません";
const char* const NoBuffer = "kaSound::LoadObject : サウンドバッファが生成できません";

class WaveTest : public SoundTest {
protected:
    // Loads a file and returns the first frames it plays, left and right.
    std::vector<float> PlayedFrames(const Bytes& file, int frames) {
        Write("clip.sad", file);
        int id = kaSound::LoadObject("clip.sad", 1);
        EXPECT_GE(id, 0) << LastBox();
        kaSound::Play(id, -1);
        std::vector<float> out = Render(frames);
        kaSound::ReleaseObject(id);
        return out;
    }
    // Loads a file that must be refused, and returns the box's text.
    std::string Refusal(const Bytes& file) {
        Write("bad.sad", file);
        size_t before = Boxes();
        EXPECT_EQ(kaSound::LoadObject("bad.sad", 1), -1);
        EXPECT_EQ(Boxes(), before + 1);
        EXPECT_EQ(kaSound::InUse(0), 0) << "a refused file keeps no slot";
        return LastBox();
    }
};

Bytes ExtensibleFormat(unsigned channels, unsigned bits, uint8_t subtype) {
    Bytes b = FormatFields(0xFFFE, channels, 44100, bits);
    Put16(&b, 22);
    Put16(&b, bits);
    Put32(&b, channels == 2 ? 3 : 4);
    Bytes guid = {subtype, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
    b.insert(b.end(), guid.begin(), guid.end());
    return b;
}

Bytes FloatBytes(const std::vector<float>& values) {
    Bytes b;
    for (float v : values) {
        uint32_t raw;
        std::memcpy(&raw, &v, 4);
        Put32(&b, raw);
    }
    return b;
}

TEST_F(WaveTest, PlaysPcmFloatAndExtensibleSamplesExactly) {
    // 16-bit stereo: left and right kept apart.
    std::vector<float> out = PlayedFrames(PcmWave(2, 44100, 16, Samples16({16384, -8192, -32768, 32767})), 2);
    EXPECT_FLOAT_EQ(out[0], 0.5f);
    EXPECT_FLOAT_EQ(out[1], -0.25f);
    EXPECT_FLOAT_EQ(out[2], -1.0f);
    // 8-bit mono: unsigned around 128, copied to both sides.
    out = PlayedFrames(PcmWave(1, 44100, 8, Bytes{192, 64}), 2);
    EXPECT_FLOAT_EQ(out[0], 0.5f);
    EXPECT_FLOAT_EQ(out[1], 0.5f);
    EXPECT_FLOAT_EQ(out[2], -0.5f);
    // IEEE float; a non-finite sample becomes silence instead of poisoning the mix.
    Bytes floatFmt = FormatFields(3, 1, 44100, 32);
    Put16(&floatFmt, 0);
    out = PlayedFrames(RiffWave({Chunk("fmt ", floatFmt),
                                 Chunk("data", FloatBytes({0.75f, NAN, -0.125f}))}), 3);
    EXPECT_FLOAT_EQ(out[0], 0.75f);
    EXPECT_FLOAT_EQ(out[2], 0.0f);
    EXPECT_FLOAT_EQ(out[4], -0.125f);
    // Extensible with a PCM and with a float subformat.
    out = PlayedFrames(RiffWave({Chunk("fmt ", ExtensibleFormat(1, 16, 1)),
                                 Chunk("data", Samples16({-16384}))}), 1);
    EXPECT_FLOAT_EQ(out[0], -0.5f);
    out = PlayedFrames(RiffWave({Chunk("fmt ", ExtensibleFormat(2, 32, 3)),
                                 Chunk("data", FloatBytes({0.25f, -0.5f}))}), 1);
    EXPECT_FLOAT_EQ(out[0], 0.25f);
    EXPECT_FLOAT_EQ(out[1], -0.5f);
    EXPECT_EQ(Boxes(), 0u);
}

TEST_F(WaveTest, OtherRatesAreResampledToTheOutputRate) {
    // 22050 Hz: twice the frames, with the midpoints interpolated.
    std::vector<float> out = PlayedFrames(PcmWave(1, 22050, 16, Samples16({0, 16384, 0})), 8);
    EXPECT_FLOAT_EQ(out[0], 0.0f);
    EXPECT_FLOAT_EQ(out[2], 0.25f);
    EXPECT_FLOAT_EQ(out[4], 0.5f);
    EXPECT_FLOAT_EQ(out[6], 0.25f);
    EXPECT_FLOAT_EQ(out[8], 0.0f);
    EXPECT_FLOAT_EQ(out[12], 0.0f) << "nothing after the clip's six frames";
    // 48 kHz: one second of source lasts one second of output.
    out = PlayedFrames(PcmWave(1, 48000, 16, Samples16(std::vector<int16_t>(48000, 8192))), 44101);
    EXPECT_FLOAT_EQ(out[2 * 44099], 0.25f);
    EXPECT_FLOAT_EQ(out[2 * 44100], 0.0f);
}

TEST_F(WaveTest, ChunksAreFoundAnywhereInTheFormAndOddOnesArePadded) {
    Bytes odd = {1, 2, 3};  // three bytes and a pad byte
    Bytes file = RiffWave({Chunk("LIST", odd), Chunk("data", Samples16({8192, 8192})),
                           Chunk("junk", Bytes(5, 0)), Chunk("fmt ", FormatFields(1, 1, 44100, 16))});
    std::string path = Write("moved.sad", file);
    std::vector<uint8_t> format, data;
    ASSERT_EQ(kaSound::ReadWaveFile(path.c_str(), &format, &data), 0);
    EXPECT_EQ(format.size(), 18u);
    EXPECT_EQ(data, Samples16({8192, 8192}));
    // A RIFF size larger than the file is tolerated when the chunks inside are whole.
    file[4] = 0xFF;
    Write("moved.sad", file);
    ASSERT_EQ(kaSound::ReadWaveFile(path.c_str(), &format, &data), 0);
}

TEST_F(WaveTest, NonPcmFormatKeepsItsExtraBytesAndIsRefusedAtBufferCreation) {
    Bytes adpcm = FormatFields(2, 1, 22050, 4);
    Put16(&adpcm, 4);
    Bytes extra = {0xF4, 0x01, 0x07, 0x00};
    adpcm.insert(adpcm.end(), extra.begin(), extra.end());
    Bytes file = RiffWave({Chunk("fmt ", adpcm), Chunk("data", Bytes(256, 0x11))});
    std::string path = Write("adpcm.sad", file);
    std::vector<uint8_t> format, data;
    ASSERT_EQ(kaSound::ReadWaveFile(path.c_str(), &format, &data), 0);
    ASSERT_EQ(format.size(), 22u);
    EXPECT_EQ(format[16], 4);
    EXPECT_EQ(Bytes(format.begin() + 18, format.end()), extra);
    EXPECT_EQ(Refusal(file), NoBuffer);
    // Formats we do not play: 24-bit PCM, three channels, an unknown extensible subformat.
    EXPECT_EQ(Refusal(PcmWave(1, 44100, 24, Bytes(30, 0))), NoBuffer);
    EXPECT_EQ(Refusal(PcmWave(3, 44100, 16, Bytes(30, 0))), NoBuffer);
    EXPECT_EQ(Refusal(RiffWave({Chunk("fmt ", ExtensibleFormat(1, 16, 2)),
                                Chunk("data", Bytes(8, 0))})), NoBuffer);
    EXPECT_EQ(Refusal(PcmWave(1, 44100, 16, Bytes{})), NoBuffer) << "no samples";
}

TEST_F(WaveTest, BrokenFilesAreRefusedAsNotFound) {
    Bytes good = ConstantClip(1000, 10);
    Bytes noRiff = good;
    noRiff[0] = 'X';
    Bytes noWave = good;
    noWave[8] = 'X';
    Bytes noFmt = RiffWave({Chunk("data", Samples16({1, 2}))});
    Bytes noData = RiffWave({Chunk("fmt ", FormatFields(1, 1, 44100, 16))});
    Bytes shortFmt = RiffWave({Chunk("fmt ", Bytes(14, 1)), Chunk("data", Samples16({1}))});
    Bytes dataPastEnd = good;
    dataPastEnd[40] = 0xFF;  // the data chunk's size, now larger than the file
    Bytes cutInHeader(good.begin(), good.begin() + 40);  // inside the data chunk's header
    Bytes zeroChannels = PcmWave(0, 44100, 16, Samples16({1}));
    Bytes zeroRate = PcmWave(1, 0, 16, Samples16({1}));
    Bytes lyingExtra = FormatFields(3, 1, 44100, 32);
    Put16(&lyingExtra, 200);
    Bytes extraPastChunk = RiffWave({Chunk("fmt ", lyingExtra), Chunk("data", Bytes(4, 0))});
    Bytes hugeJunk = RiffWave({Chunk("junk", Bytes(4, 0)), Chunk("data", Samples16({1}))});
    hugeJunk[16] = 0xF0;  // a chunk before "fmt " that claims to run past the end
    hugeJunk[19] = 0x7F;
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"no RIFF", noRiff}, {"no WAVE", noWave}, {"no fmt", noFmt}, {"no data", noData},
        {"fmt under 16 bytes", shortFmt}, {"data past the end", dataPastEnd},
        {"cut in a chunk header", cutInHeader}, {"zero channels", zeroChannels},
        {"zero rate", zeroRate}, {"cbSize past the fmt chunk", extraPastChunk},
        {"chunk past the end before fmt", hugeJunk}};
    for (const auto& c : cases) EXPECT_EQ(Refusal(c.second), NotFound) << c.first;
    EXPECT_EQ(Refusal(Bytes{}), NotFound) << "empty file";
    EXPECT_EQ(kaSound::LoadObject("absent.sad", 1), -1);
    EXPECT_EQ(LastBox(), NotFound);
}

}  // namespace
}  // namespace soundtest
