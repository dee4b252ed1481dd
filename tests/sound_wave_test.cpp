// The WAVE reader and the conversion at load: the formats we play, the format block
// handed on, and broken files refused without reading past their end. (Other rates go
// through the converter the Opus clips' test hears at its pitch.)
#include "tests/sound_test_files.h"

using namespace soundtest;
using WaveTest = SoundTest;

static Bytes Floats(const std::vector<float>& values) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(values.data());
    return Bytes(p, p + values.size() * 4);
}

static Bytes Extensible(unsigned channels, unsigned bits, uint8_t subtype, const Bytes& data) {
    Bytes f = FormatFields(0xFFFE, channels, 44100, bits);
    unsigned mask = channels == 2 ? 3 : 4;  // then the subformat's GUID
    for (unsigned v : {22u, bits, mask, 0u, unsigned(subtype), 0u, 0u, 0x10u, 0x80u, 0xAA00u})
        Put16(f, v);
    for (uint8_t v : {0x00, 0x38, 0x9B, 0x71}) f.push_back(v);
    return RiffWave({Chunk("fmt ", f), Chunk("data", data)});
}

TEST_F(WaveTest, PlaysEachFormatSampleExactAtTheOutputRate) {
    const std::pair<Bytes, std::vector<float>> cases[] = {  // a file, its frames left and right
        {PcmWave(2, 44100, 16, Samples16({16384, -8192, -32768, 32767})),
         {0.5f, -0.25f, -1, 32767 / 32768.0f, 0, 0}},
        {PcmWave(1, 44100, 8, {192, 64}), {0.5f, 0.5f, -0.5f, -0.5f, 0, 0}},
        {RiffWave({Chunk("fmt ", FormatFields(3, 1, 44100, 32)),
                   Chunk("data", Floats({0.75f, NAN, -0.125f}))}),
         {0.75f, 0.75f, 0, 0, -0.125f, -0.125f, 0, 0}},  // not a number: silence
        {Extensible(1, 16, 1, Samples16({-16384})), {-0.5f, -0.5f, 0, 0}},
        {Extensible(2, 32, 3, Floats({0.25f, -0.5f})), {0.25f, -0.5f, 0, 0}},
        // 24- and 32-bit integers, little-endian, plain and extensible
        {PcmWave(2, 44100, 24, {0x00, 0x00, 0x40, 0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x80, 1, 0, 0}),
         {0.5f, 8388607 / 8388608.0f, -1, 1 / 8388608.0f, 0, 0}},
        {PcmWave(1, 44100, 32, {0, 0, 0, 0xC0, 0xFF, 0xFF, 0xFF, 0x7F}),
         {-0.5f, -0.5f, 1, 1, 0, 0}},
        {Extensible(1, 24, 1, {0x00, 0x00, 0xE0}), {-0.25f, -0.25f, 0, 0}},
        {Extensible(2, 32, 1, {0, 0, 0, 0x20, 0, 0, 0, 0x80}), {0.25f, -1, 0, 0}},
    };
    for (size_t c = 0; c < std::size(cases); ++c) {
        Write("clip.sad", cases[c].first);
        int id = kaSound::LoadObject("clip.sad", 1);
        kaSound::Play(id, -1);
        const std::vector<float>& expected = cases[c].second;
        std::vector<float> out = Render(int(expected.size() / 2));
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_FLOAT_EQ(out[i], expected[i]) << "case " << c << ", sample " << i;
        kaSound::ReleaseObject(id);
    }
    EXPECT_EQ(Boxes(), 0u) << LastBox();
}

TEST_F(WaveTest, ChunksAnywhereOddOnesPaddedNonPcmFormatKeptThenRefused) {
    Bytes adpcm = FormatFields(2, 1, 22050, 4);
    for (unsigned v : {4u, 0x1F4u, 7u}) Put16(adpcm, v);
    Bytes file = RiffWave({Chunk("LIST", {1, 2, 3}), Chunk("data", Samples16({8192, 8192})),
                           Chunk("junk", Bytes(5, 0)), Chunk("fmt ", adpcm)});
    // Writers get the RIFF size wrong both ways: past the file's end, or covering no
    // more than the form type. Chunks whole up to the file's end are read all the same.
    for (uint8_t riffSize : {0xFF, 4}) {
        file[4] = riffSize;
        Write("moved.sad", file);
        std::vector<uint8_t> format, data;
        ASSERT_EQ(kaSound::ReadWaveFile((dir_ + "/moved.sad").c_str(), &format, &data), 0)
            << "RIFF size " << int(riffSize);
        EXPECT_EQ(format, adpcm) << "cbSize and its extra bytes kept";
        EXPECT_EQ(data, Samples16({8192, 8192}));
    }
    EXPECT_EQ(kaSound::LoadObject("moved.sad", 1), -1) << "ADPCM is not played";
    EXPECT_EQ(LastBox(), "kaSound::LoadObject : サウンドバッファが生成できません");
}

TEST_F(WaveTest, UnplayableFormatsAndBrokenFilesAreRefused) {
    const std::string notFound = "kaSound::LoadObject : WAVEリソースが見つかりません";
    const std::string noBuffer = "kaSound::LoadObject : サウンドバッファが生成できません";
    Bytes good = ConstantClip(1000, 10), noRiff = good, dataPastEnd = good;
    noRiff[0] = 'X';
    dataPastEnd[40] = 0xFF;  // the data chunk's size
    Bytes cbSizePastChunk = FormatFields(3, 1, 44100, 32);
    Put16(cbSizePastChunk, 200);
    const std::pair<Bytes, std::string> cases[] = {
        {Extensible(1, 16, 2, Bytes(8, 0)), noBuffer},  // an unknown subformat
        {RiffWave({Chunk("fmt ", FormatFields(3, 1, 44100, 64)), Chunk("data", Bytes(16, 0))}),
         noBuffer},  // 64-bit float
        {PcmWave(3, 44100, 16, Bytes(12, 0)), noBuffer},
        {PcmWave(1, 44100, 12, Bytes(12, 0)), noBuffer},
        {{}, notFound}, {noRiff, notFound}, {dataPastEnd, notFound},
        {RiffWave({Chunk("data", Samples16({1, 2}))}), notFound},
        {RiffWave({Chunk("fmt ", Bytes(14, 1)), Chunk("data", {1, 0})}), notFound},
        {Bytes(good.begin(), good.begin() + 40), notFound},  // cut inside a chunk header
        {PcmWave(0, 44100, 16, {1, 0}), notFound},
        {RiffWave({Chunk("fmt ", cbSizePastChunk), Chunk("data", Bytes(4, 0))}), notFound},
    };
    for (size_t c = 0; c < std::size(cases); ++c) {
        Write("bad.sad", cases[c].first);
        EXPECT_EQ(kaSound::LoadObject("bad.sad", 1), -1) << "case " << c;
        EXPECT_EQ(Boxes(), c + 1) << "case " << c;
        EXPECT_EQ(LastBox(), cases[c].second) << "case " << c;
    }
    EXPECT_EQ(kaSound::InUse(0), 0) << "a refused file keeps no slot";
    EXPECT_EQ(kaSound::LoadObject("absent.sad", 1), -1);
    EXPECT_EQ(LastBox(), notFound);
}
