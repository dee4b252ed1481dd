// The reader's preferences: kept in preferences.ini and read back, a damaged file gives
// the defaults; a voice let finish plays on past a step until the next voiced line.
#include "tests/story_test_table.h"

using namespace storytest;

namespace {

class Prefs : public StoryTest {
protected:
    std::filesystem::path File() const { return dir / "config" / "akari" / "preferences.ini"; }
    static std::vector<uint32_t> Shown() { return headless::LastFrame()->pixels; }
    // A click in the middle of box n of a row whose boxes are step apart and width wide.
    void ClickBox(int row, int n, int step = layout::WideBoxStep, int width = layout::WideBoxWidth) {
        ClickOn(layout::PreferenceBox(row, n, step, width));
    }
    void ClickStepper(int row, int n) { ClickBox(row, n, layout::StepperBoxStep, layout::StepperBoxWidth); }
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
    Preferences.SelfVoicing = true;
    Preferences.English = true;
    ASSERT_TRUE(SavePreferences());
    ResetPreferences();
    LoadPreferences();
    EXPECT_EQ(Preferences.MusicVolume, 35);
    EXPECT_EQ(Preferences.VoiceVolume, 0);
    EXPECT_FALSE(Preferences.ClickStopsVoice);
    EXPECT_EQ(Preferences.AutoPauseTenths, 25);
    EXPECT_TRUE(Preferences.SkipEverything);
    EXPECT_TRUE(SelfVoicingOn());
    EXPECT_TRUE(EnglishInForce());
    SetScript({Sjis("一二三")});
    EXPECT_FLOAT_EQ(AutoPause(6), 2.5f + 0.05f * 3) << "auto mode's pause follows";

    const std::string good = ReadFile(File());
    const std::string damaged[] = {
        good.substr(0, good.size() / 2) + "music_vol",  // cut short
        "[preferences]\nmusic_volume=33\n",              // not a step of 5
        "[preferences]\nmusic_volume=120\n",
        "[preferences]\nvoice_volume=-5\n",
        "[preferences]\nskip_everything=2\n",
        "[preferences]\nself_voicing=2\n",
        "[preferences]\nself_voicing=-1\n",
        "[preferences]\nmusic_volume=50x\n",
        "[preferences]\nlanguage=fr\n",
        "music_volume=50\n",                              // no header
        std::string(5000, 'a'),
    };
    for (const std::string& bytes : damaged) {
        WriteFile(File(), bytes);
        LoadPreferences();
        EXPECT_EQ(Preferences.MusicVolume, 100) << bytes;
        EXPECT_EQ(Preferences.VoiceVolume, 100) << bytes;
        EXPECT_FALSE(Preferences.SkipEverything) << bytes;
        EXPECT_FALSE(SelfVoicingOn()) << bytes;
        EXPECT_FALSE(EnglishInForce()) << bytes;
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
        ASSERT_EQ(CurrentScene().line, 7);
        EXPECT_EQ(Sounding(), "v_minato_001.sad ");
        Frame(0.016f, true);
        ASSERT_EQ(CurrentScene().line, 8);
        EXPECT_EQ(Sounding(), stops ? "" : "v_minato_001.sad ") << "a step past a voiced line";
        Frame(0.016f, true);
        ASSERT_EQ(CurrentScene().line, 10);
        EXPECT_EQ(Sounding(), "v_sayo_001.sad ") << "the next voice stops the one before";
        // Held Ctrl cuts the voice whatever the preference.
        SkipWithCtrl();
        ASSERT_EQ(CurrentScene().line, 11);
        EXPECT_EQ(Sounding(), "") << stops;
    }
}

TEST_F(Prefs, ChangesEachSettingByMouseWheelAndKeysAndClosesBackToTheStory) {
    SetScript({Sjis("一行目です"), Sjis("二")});
    UseSystemSettings("0,0,");
    Frame(0.016f, true);
    PointAt(0, 0);
    Frame(0.016f);
    const std::vector<uint32_t> story = Shown();
    const int line = CurrentScene().line;
    Press(plat::KeyF1);
    ASSERT_TRUE(PreferencesOpen);

    ClickStepper(0, 0);
    ClickStepper(0, 0);
    EXPECT_EQ(Preferences.MusicVolume, 90) << "two clicks on the music's less";
    PointAt(200, layout::PreferenceRowTopOf(1) + 10);
    Wheel(-1);
    EXPECT_EQ(Preferences.VoiceVolume, 95) << "the wheel down over the voice's row";
    Press(plat::KeyDown);  // the music's row was picked by the clicks
    Press(plat::KeyLeft);
    EXPECT_EQ(Preferences.VoiceVolume, 90) << "left on the voice's row";
    ClickStepper(3, 1);
    EXPECT_EQ(Preferences.AutoPauseTenths, 15);
    ClickBox(2, 1);
    EXPECT_FALSE(Preferences.ClickStopsVoice);
    ClickBox(4, 1);
    EXPECT_TRUE(Preferences.SkipEverything);
    ClickBox(5, 3, layout::SpeedBoxStep, layout::SpeedBoxWidth);
    EXPECT_EQ(MessageSpeed, 3.0f);
    EXPECT_EQ(ReadFile(dir / "owlsys.ini"), "3,0,\r\n") << "as the menu writes it";
    ClickBox(6, 1);
    EXPECT_EQ(MusicOff, 1);
    EXPECT_EQ(ReadFile(dir / "owlsys.ini"), "3,1,\r\n");
    ClickBox(7, 0);
    EXPECT_EQ(Shell.FullScreen, 1);
    EXPECT_EQ(CurrentScene().line, line) << "no click reached the story";

    ResetPreferences();
    LoadPreferences();
    EXPECT_EQ(Preferences.AutoPauseTenths, 15) << "a change is saved as it is made";

    PointAt(0, 0);
    Press(plat::KeyEscape);
    EXPECT_FALSE(PreferencesOpen);
    EXPECT_EQ(Shell.ShutdownDone, 0) << "Escape closes the page, not the game";
    EXPECT_EQ(CurrentScene().line, line);
    EXPECT_TRUE(Shown() == story) << "the story as it was";
}

}  // namespace
