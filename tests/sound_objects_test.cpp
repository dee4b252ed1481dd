// The table of sound objects: slots, names, mix counts, controls on ids that hold no
// clip, object 0 under the music, and the error tone.
#include "tests/sound_test_files.h"

using namespace soundtest;

using ObjectTest = SoundTest;

TEST_F(ObjectTest, SeventyObjectsAndNamesOfUpToThirtyCharacters) {
    std::string thirty = std::string(26, 'a') + ".sad";
    Write("v.sad", ConstantClip(8192, 64));
    Write(thirty, ConstantClip(100, 4));
    ASSERT_EQ(kaSound::LoadObject(thirty.c_str(), 1), 0);
    EXPECT_EQ(kaSound::NameOf(0), thirty);
    EXPECT_EQ(kaSound::LoadObject(("b" + thirty).c_str(), 1), -1);
    EXPECT_EQ(LastBox(), "kaSound::LoadObject : ファイル名またはリソース名が長すぎます");
    for (int i = 1; i < kaSound::ObjectCount; ++i) ASSERT_EQ(kaSound::LoadObject("v.sad", 1), i);
    EXPECT_EQ(kaSound::LoadObject("v.sad", 1), -1);
    EXPECT_EQ(LastBox(), "kaSound::LoadObject : オブジェクト数が多過ぎます");
    EXPECT_EQ(headless::BeepCount(), 0) << "a box beeps through the mixer instead";
    std::vector<float> beep = Render(44100 / 4);
    EXPECT_GT(Rms(beep, 0, 4410), 0.05);
    EXPECT_EQ(Rms(beep, 44100 / 5), 0.0) << "the tone is short";
    kaSound::ReleaseObject(42);
    EXPECT_EQ(kaSound::LoadObject("v.sad", 1), 42);
}

TEST_F(ObjectTest, MusicHoldsObjectZeroUntilItCloses) {
    Write("v.sad", ConstantClip(8192, 64));
    ASSERT_EQ(kaMusic::Init(), 1);
    EXPECT_EQ(kaSound::MixCountOf(0), 1);
    EXPECT_STREQ(kaSound::NameOf(0), "DirectMusic");
    for (int i = 1; i < kaSound::ObjectCount; ++i) ASSERT_EQ(kaSound::LoadObject("v.sad", 1), i);
    kaSound::ReleaseObject(0);
    EXPECT_EQ(kaSound::LoadObject("v.sad", 1), -1);
    kaMusic::CloseMusic();
    EXPECT_EQ(kaSound::LoadObject("v.sad", 1), 0);
}

TEST_F(ObjectTest, MixCountsAndControlsOnIdsWithoutAClip) {
    Write("v.sad", ConstantClip(8192, 64));
    EXPECT_EQ(kaSound::LoadObject("v.sad", -3), 0);
    EXPECT_EQ(kaSound::MixCountOf(0), 3);
    EXPECT_EQ(kaSound::LoadObject("v.sad", 11), -1);
    EXPECT_EQ(LastBox(), "kaSound::LoadObject : ミックス数が多過ぎます");
    EXPECT_EQ(kaSound::LoadObject("v.sad", 0), 1);
    Render(44100 / 5);  // the error tone
    // None of these sounds: an object without buffers, the failed load's -1, a free slot,
    // an id out of range, a selector past the mix count.
    for (int id : {1, -1, 2, 70}) {
        kaSound::Play(id, -1);
        kaSound::SetVolume(id, -6, -1);
        kaSound::Stop(id, -1);
        kaSound::ReleaseObject(id);
    }
    kaSound::Play(0, 3);
    kaSound::SetVolume(0, -6, 3);
    EXPECT_EQ(Rms(Render(32)), 0.0);
    EXPECT_EQ(kaSound::VolumeOf(0, 3), 0);
    EXPECT_EQ(headless::AudioLockDepth(), 0);
}
