// The table of sound objects: slots, names, mix counts, the controls on ids that do not
// hold a clip, and a module without a device.
#include "tests/sound_test_files.h"

namespace soundtest {
namespace {

const char* const TooMany = "kaSound::LoadObject : オブジェクト数が多過ぎます";
const char* const TooLong = "kaSound::LoadObject : ファイル名またはリソース名が長すぎます";
const char* const MixTooLarge = "kaSound::LoadObject : ミックス数が多過ぎます";

class ObjectTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        Write("v.sad", ConstantClip(8192, 64));
    }
};

TEST_F(ObjectTest, SeventyObjectsFitAndTheSeventyFirstIsRefused) {
    for (int i = 0; i < kaSound::ObjectCount; ++i) ASSERT_EQ(kaSound::LoadObject("v.sad", 1), i);
    EXPECT_EQ(kaSound::LoadObject("v.sad", 1), -1);
    ASSERT_EQ(Boxes(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].caption, "エラー発生");
    EXPECT_EQ(LastBox(), TooMany);
    // The failed load's -1 is ignored by every control.
    LetBeepEnd();
    kaSound::Play(-1, -1);
    kaSound::SetVolume(-1, -10, -1);
    kaSound::Stop(-1, -1);
    EXPECT_EQ(Peak(Render(100)), 0.0);
    // Releasing one object frees its slot for the next load.
    kaSound::ReleaseObject(42);
    EXPECT_EQ(kaSound::InUse(42), 0);
    EXPECT_EQ(kaSound::LoadObject("v.sad", 1), 42);
}

TEST_F(ObjectTest, WithMusicHoldingObjectZeroSixtyNineFit) {
    ASSERT_EQ(kaMusic::Init(), 1);
    for (int i = 1; i < kaSound::ObjectCount; ++i) ASSERT_EQ(kaSound::LoadObject("v.sad", 1), i);
    EXPECT_EQ(kaSound::LoadObject("v.sad", 1), -1);
    EXPECT_EQ(LastBox(), TooMany);
    kaSound::ReleaseObject(0);
    EXPECT_EQ(kaSound::InUse(0), 1);
    EXPECT_EQ(kaSound::LoadObject("v.sad", 1), -1) << "object 0 stayed with the music";
}

TEST_F(ObjectTest, NamesOfThirtyCharactersLoadAndLongerOnesTakeNoSlot) {
    std::string thirty(26, 'a');
    thirty += ".sad";
    Write(thirty, ConstantClip(100, 4));
    ASSERT_EQ(kaSound::LoadObject(thirty.c_str(), 1), 0);
    EXPECT_EQ(kaSound::NameOf(0), thirty);
    std::string thirtyOne = "b" + thirty;
    Write(thirtyOne, ConstantClip(100, 4));
    EXPECT_EQ(kaSound::LoadObject(thirtyOne.c_str(), 1), -1);
    EXPECT_EQ(LastBox(), TooLong);
    EXPECT_EQ(kaSound::InUse(1), 0) << "the refused name leaks no slot";
    EXPECT_EQ(kaSound::LoadObject("v.sad", 1), 1);
}

TEST_F(ObjectTest, MixCountsTakeTheirSizeAndAboveTenAreRefused) {
    EXPECT_EQ(kaSound::LoadObject("v.sad", -3), 0);
    EXPECT_EQ(kaSound::MixCountOf(0), 3);
    EXPECT_EQ(kaSound::LoadObject("v.sad", 11), -1);
    EXPECT_EQ(LastBox(), MixTooLarge);
    EXPECT_EQ(kaSound::LoadObject("v.sad", -11), -1);
    EXPECT_EQ(kaSound::LoadObject("v.sad", 10), 1);
    // Mix count 0: a slot without buffers, which never sounds.
    LetBeepEnd();
    EXPECT_EQ(kaSound::LoadObject("v.sad", 0), 2);
    EXPECT_EQ(kaSound::MixCountOf(2), 0);
    kaSound::Play(2, -1);
    kaSound::Play(2, 0);
    EXPECT_EQ(Peak(Render(32)), 0.0);
    kaSound::Stop(2, -1);
    kaSound::SetVolume(2, -6, -1);
    EXPECT_EQ(kaSound::VolumeOf(2, 0), 0);
}

TEST_F(ObjectTest, ControlsIgnoreFreeSlotsBadIdsAndBadSelectors) {
    ASSERT_EQ(kaSound::LoadObject("v.sad", 2), 0);
    for (int id : {-1, 1, 69, 70, 1000}) {
        kaSound::Play(id, -1);
        kaSound::Play(id, 0);
        kaSound::SetVolume(id, -6, -1);
        kaSound::Stop(id, -1);
        kaSound::ReleaseObject(id);
    }
    kaSound::Play(0, 2);  // buffers 0 and 1 only
    kaSound::Play(0, -2);
    kaSound::SetVolume(0, -6, 2);
    EXPECT_EQ(Peak(Render(32)), 0.0);
    EXPECT_EQ(kaSound::VolumeOf(0, 0), 0);
    EXPECT_EQ(kaSound::VolumeOf(1, 0), 0);
    EXPECT_EQ(kaSound::InUse(0), 1);
    EXPECT_EQ(Boxes(), 0u);
    EXPECT_EQ(headless::AudioLockDepth(), 0);
}

TEST_F(ObjectTest, VolumesAreClampedHundredthsOfADecibel) {
    ASSERT_EQ(kaSound::LoadObject("v.sad", 2), 0);
    kaSound::SetVolume(0, 5, -1);
    EXPECT_EQ(kaSound::VolumeOf(0, 0), 0);
    kaSound::SetVolume(0, -150, 1);
    EXPECT_EQ(kaSound::VolumeOf(0, 0), 0);
    EXPECT_EQ(kaSound::VolumeOf(0, 1), -10000);
    kaSound::SetVolume(0, -2147483647, -1);
    EXPECT_EQ(kaSound::VolumeOf(0, 0), -10000);
    kaSound::SetVolume(0, -6, 0);
    EXPECT_EQ(kaSound::VolumeOf(0, 0), -600);
}

TEST_F(ObjectTest, WithoutADeviceEverythingIsSilentAndQuiet) {
    Start(false);
    EXPECT_EQ(kaSound::SoundReady, 0);
    EXPECT_EQ(kaSound::LoadObject("v.sad", 1), -1);
    EXPECT_EQ(kaSound::LoadObject("v.sad", 11), -1);
    kaSound::Play(0, -1);
    kaSound::SetVolume(0, -6, -1);
    EXPECT_FALSE(kaSound::PlayBeep());
    EXPECT_EQ(Boxes(), 0u);
    EXPECT_EQ(kaSound::InUse(0), 0);
}

TEST_F(ObjectTest, ErrorBoxBeepsThroughTheMixer) {
    EXPECT_EQ(kaSound::LoadObject("absent.sad", 1), -1);
    EXPECT_EQ(headless::BeepCount(), 0) << "the system bell is only the fallback";
    std::vector<float> out = Render(44100 / 4);
    EXPECT_GT(Rms(out, 0, 4410), 0.05);
    EXPECT_EQ(Rms(out, 44100 / 5, 100), 0.0) << "the tone is short";
}

}  // namespace
}  // namespace soundtest
