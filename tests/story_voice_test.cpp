// Voice clips of wave_play: lines on the real mixer: one object at a time, the music's
// object left alone.
#include "sound/kaSound.h"
#include "tests/story_test_table.h"

using namespace storytest;

namespace {

class VoiceClips : public StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        kaDraw::CloseScreen();
        headless::EnableAudio(true);
        kaDraw::Screen(700, 520, 1);
        ASSERT_EQ(kaSound::SoundReady, 1);
        std::filesystem::copy_file(std::filesystem::path(AKARI_GAME_DIR) / "voice1.sad",
                                   dir / "voice1.sad");
        std::filesystem::copy_file(std::filesystem::path(AKARI_GAME_DIR) / "voice2.sad",
                                   dir / "voice2.sad");
    }
    void TearDown() override {
        kaSound::Release();
        StoryTest::TearDown();
    }
};

TEST_F(VoiceClips, EachClipReleasesTheOneBeforeSoALongStoryNeverFillsTheTable) {
    EXPECT_EQ(VoiceId, -1) << "no clip before the first wave_play:";
    std::memset(TestTable, 0, sizeof TestTable);
    for (int i = 0; i < 6; ++i) std::strcpy(TestTable[i], Head(i).c_str());
    int line = 6;
    for (int i = 0; i < 200; ++i) {
        std::strcpy(TestTable[line++], i % 2 ? "wave_play:voice1.sad" : "wave_play:voice2.sad");
        std::strcpy(TestTable[line++], Sjis("声").c_str());
    }
    UseScriptTable(TestTable);
    int previous = -1;
    for (int i = 0; i < 200; ++i) {
        StoryStep();
        ASSERT_GE(VoiceId, 0) << "clip " << i;
        if (previous >= 0 && previous != VoiceId) {
            EXPECT_EQ(kaSound::InUse(previous), 0);
        }
        previous = VoiceId;
    }
    EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(VoiceClips, TwoClipsInOneStepLeaveTheSecondAsTheVoice) {
    SetScript({Head(0), Head(1), Head(2), Head(3), Head(4), Head(5), "wave_play:voice1.sad",
               "wave_play:voice2.sad", Sjis("二つ"), Sjis("次")});
    StoryStep();
    ASSERT_GE(VoiceId, 0);
    EXPECT_STREQ(kaSound::NameOf(VoiceId), "voice2.sad");
    int inUse = 0;
    for (int id = 0; id < kaSound::ObjectCount; ++id) inUse += kaSound::InUse(id) != 0;
    EXPECT_LE(inUse, 2) << "the first clip was released (object 0 may carry the music)";
}

}  // namespace
