// Our own Ogg Opus clips in sound objects: a clip, written the same each time, decodes
// at its length, pitch and level at the output rate; a missing or damaged one gives -1
// and no error box, and takes no slot.
#include <cstring>

#include "tests/sound_test_files.h"
#include "tools/opus_file.h"

using namespace soundtest;

namespace {

class OpusClipTest : public SoundTest {
protected:
    // A second of a 440 Hz tone at half scale, 48 kHz, written as the build writes clips.
    Bytes ToneClip() {
        std::string path = dir_ + "/tone.opus";
        EXPECT_TRUE(WriteOpusFile(path, Sine(0.5, 440, 48000, 48000), 48000));
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(OpusClipTest, DecodesAtItsLengthPitchAndLevelAtTheOutputRate) {
    Bytes clip = ToneClip();
    ASSERT_GT(clip.size(), 1000u);
    EXPECT_EQ(ToneClip(), clip) << "the same samples make another file";
    std::filesystem::create_directory(dir_ + "/speech");
    Write("speech/tone.opus", clip);
    int id = kaSound::LoadOpusObject("speech/tone.opus", 1);
    ASSERT_EQ(id, 0);
    kaSound::Play(id, -1);
    EXPECT_NEAR(kaSound::SecondsLeft(id), 1.0, 0.01);
    std::vector<float> out = Render(kaSound::OutputRate);
    // Rising zero crossings of the left channel over the middle half second.
    int crossings = 0;
    for (size_t f = kaSound::OutputRate / 4; f < size_t(kaSound::OutputRate) * 3 / 4; ++f)
        crossings += out[f * 2 - 2] < 0 && out[f * 2] >= 0;
    EXPECT_NEAR(crossings, 220, 2) << "a clip at the wrong rate sounds at the wrong pitch";
    EXPECT_NEAR(Rms(out, kaSound::OutputRate / 4, kaSound::OutputRate / 2), 0.5 / std::sqrt(2.0), 0.03);
    EXPECT_EQ(Boxes(), 0u);
}

TEST_F(OpusClipTest, AMissingOrDamagedClipIsAbsentWithoutABox) {
    Bytes clip = ToneClip();
    std::vector<size_t> pages;
    for (size_t at = 0; at + 4 < clip.size(); ++at)
        if (std::memcmp(&clip[at], "OggS", 4) == 0) pages.push_back(at);
    ASSERT_GE(pages.size(), 4u);
    // The decoder itself would skip the changed page and end at the cut ones, and give
    // a clip with a stretch missing.
    Bytes flipped = clip;
    flipped[(pages[2] + pages[3]) / 2] ^= 0x10;
    Bytes atPage(clip.begin(), clip.begin() + long(pages.back()));
    Bytes inPage(clip.begin(), clip.begin() + long(pages.back() + 40));
    struct Case {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"a byte changed", flipped}, {"cut at a page", atPage}, {"cut within a page", inPage},
        {"empty", {}}, {"a WAVE clip", ConstantClip(8192, 4410)}, {"text", {'O', 'g', 'g', 'S', '\n'}},
    };
    EXPECT_EQ(kaSound::LoadOpusObject("missing.opus", 1), -1);
    for (const Case& c : cases) {
        Write("bad.opus", c.bytes);
        EXPECT_EQ(kaSound::LoadOpusObject("bad.opus", 1), -1) << c.what;
    }
    EXPECT_EQ(Boxes(), 0u) << LastBox();
    Write("good.opus", clip);
    EXPECT_EQ(kaSound::LoadOpusObject("good.opus", 1), 0) << "a failed load took a slot";
}

}  // namespace
