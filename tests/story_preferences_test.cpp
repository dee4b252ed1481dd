// The reader's preferences: kept in preferences.ini and read back, a damaged file gives
// the defaults; a voice let finish plays on past a step until the next voiced line.
#include "tests/story_test_table.h"

using namespace storytest;

namespace {

class Prefs : public StoryTest {
protected:
    std::filesystem::path File() const { return dir / "config" / "akari" / "preferences.ini"; }
    // The clips sounding, by name, each followed by a space.
    static std::string Playing() {
        std::string names;
        for (int id = 1; id < kaSound::ObjectCount; ++id)
            if (kaSound::SecondsLeft(id) > 0.0f) names += std::string(kaSound::NameOf(id)) + " ";
        return names;
    }
};

TEST_F(Prefs, SavedAndReadBackAndADamagedFileGivesTheDefaults) {
    LoadPreferences();
    EXPECT_EQ(Preferences.MusicVolume, 100) << "no file: the defaults";
    EXPECT_TRUE(Preferences.ClickStopsVoice);
    Preferences.MusicVolume = 35;
    Preferences.VoiceVolume = 0;
    Preferences.ClickStopsVoice = false;
    Preferences.AutoPauseTenths = 25;
    Preferences.SkipEverything = true;
    ASSERT_TRUE(SavePreferences());
    ResetPreferences();
    LoadPreferences();
    EXPECT_EQ(Preferences.MusicVolume, 35);
    EXPECT_EQ(Preferences.VoiceVolume, 0);
    EXPECT_FALSE(Preferences.ClickStopsVoice);
    EXPECT_EQ(Preferences.AutoPauseTenths, 25);
    EXPECT_TRUE(Preferences.SkipEverything);
    SetScript({Sjis("一二三")});
    EXPECT_FLOAT_EQ(AutoPause(6), 2.5f + 0.05f * 3) << "auto mode's pause follows";

    const std::string good = ReadFile(File());
    const std::string damaged[] = {
        good.substr(0, good.size() / 2) + "music_vol",  // cut short
        "[preferences]\nmusic_volume=33\n",              // not a step of 5
        "[preferences]\nmusic_volume=120\n",
        "[preferences]\nvoice_volume=-5\n",
        "[preferences]\nskip_everything=2\n",
        "[preferences]\nmusic_volume=50x\n",
        "music_volume=50\n",                              // no header
        std::string(5000, 'a'),
    };
    for (const std::string& bytes : damaged) {
        WriteFile(File(), bytes);
        LoadPreferences();
        EXPECT_EQ(Preferences.MusicVolume, 100) << bytes;
        EXPECT_EQ(Preferences.VoiceVolume, 100) << bytes;
        EXPECT_FALSE(Preferences.SkipEverything) << bytes;
    }
    EXPECT_TRUE(headless::MessageBoxes().empty()) << "no box for a file of ours";
}

TEST_F(Prefs, AVoiceLetFinishSurvivesAStepAndStopsAtTheNextVoicedLine) {
    CopyAssets({"v_minato_001.sad", "v_sayo_001.sad"});
    SetScript({"wave_play:v_minato_001.sad", Sjis("一"), Sjis("二"),
               "wave_play:v_sayo_001.sad", Sjis("三"), Sjis("四")});
    for (bool stops : {true, false}) {
        ResetStoryState();
        SetGameMode(ModeStory);
        Preferences.ClickStopsVoice = stops;
        Frame(0.016f, true);
        ASSERT_EQ(CurrentLine, 7);
        EXPECT_EQ(Playing(), "v_minato_001.sad ");
        Frame(0.016f, true);
        ASSERT_EQ(CurrentLine, 8);
        EXPECT_EQ(Playing(), stops ? "" : "v_minato_001.sad ") << "a step past a voiced line";
        Frame(0.016f, true);
        ASSERT_EQ(CurrentLine, 10);
        EXPECT_EQ(Playing(), "v_sayo_001.sad ") << "the next voice stops the one before";
        // Held Ctrl cuts the voice whatever the preference.
        headless::SetKeyDown(plat::KeyCtrl, true);
        Frame(0.016f);
        Frame(0.016f);
        headless::SetKeyDown(plat::KeyCtrl, false);
        Frame(0.016f);
        ASSERT_EQ(CurrentLine, 11);
        EXPECT_EQ(Playing(), "") << stops;
    }
}

}  // namespace
