// Self-voicing: a narrated line's clip behaves as its voice; the screens' items speak as
// the pointer reaches them; V and the preferences switch the mode. Off, nothing plays.
#include <sys/stat.h>

#include "tests/sound_test_files.h"
#include "tests/story_test_table.h"

using namespace storytest;

namespace {

class SelfVoicing : public StoryTest {
protected:
    void SetUp() override {
        StoryTest::SetUp();
        std::filesystem::copy(std::string(AKARI_GAME_DIR) + "/speech", dir / "speech");
    }
    // Gives the script text its narration clip: a copy of one of the phrases'.
    void Narrate(const std::string& text, const char* phrase = "notice") {
        std::filesystem::copy_file(dir / "speech" / (std::string(phrase) + ".opus"),
                                   dir / kaSound::SpeechClipName(text.c_str()),
                                   std::filesystem::copy_options::overwrite_existing);
    }
    static std::string Narration(const std::string& text) { return kaSound::SpeechClipName(text.c_str()); }
    static std::string Phrase(const char* id) { return std::string("speech/") + id + ".opus"; }
    static int ObjectsInUse() {
        int n = 0;
        for (int id = 0; id < kaSound::ObjectCount; ++id)
            n += kaSound::InUse(id) && std::string(kaSound::NameOf(id)) != "DirectMusic";
        return n;
    }
    static void PlayOut(float seconds) {
        std::vector<float> out(size_t(2 * seconds * kaSound::OutputRate));
        headless::PullAudio(out.data(), int(out.size() / 2));
    }
    // A two-line story on its first line, self-voicing on, the pointer off every item.
    void ShowFirstLineSpeaking() {
        SetScript({Sjis("一"), Sjis("二")});
        Preferences.SelfVoicing = true;
        Frame(0.016f, true);
        PointAt(0, 0);
    }
};

TEST_F(SelfVoicing, ANarratedLineSpeaksAsItIsShownAndBehavesAsItsVoice) {
    CopyAssets({"v_minato_001.sad"});
    const std::string one = Sjis("一"), two = Sjis("二"), three = Sjis("三"), four = Sjis("四");
    SetScript({one, "wave_play:v_minato_001.sad", two, three, four, Sjis("五")});
    for (const std::string& text : {one, two, four}) Narrate(text);  // three has none
    Preferences.SelfVoicing = true;

    Frame(0.016f, true);
    ASSERT_EQ(CurrentScene().line, 6);
    EXPECT_EQ(Sounding(), Narration(one) + " ") << "in the frame the line is shown";
    EXPECT_STREQ(kaSound::NameOf(VoiceId), Narration(one).c_str()) << "it is the line's voice";
    Frame(0.016f, true);
    ASSERT_EQ(CurrentScene().line, 8);
    EXPECT_EQ(Sounding(), "v_minato_001.sad ") << "the step stopped the narration; a voiced line plays "
                                                  "its own clip alone";
    Frame(0.016f, true);
    ASSERT_EQ(CurrentScene().line, 9);
    EXPECT_EQ(Sounding(), "") << "no clip, nothing played";
    EXPECT_TRUE(headless::MessageBoxes().empty()) << "and nothing reported";

    Frame(0.016f, true);
    EXPECT_EQ(Sounding(), Narration(four) + " ");

    // The backlog says its name, then a line as the pointer reaches it; a click replays it.
    Wheel(1);
    ASSERT_TRUE(BacklogOpen);
    EXPECT_EQ(Sounding(), Phrase("backlog_open") + " ");
    bool found = false;
    for (int y = layout::BacklogPage.top; y < layout::BacklogPage.bottom && !found; y += 2) {
        PointAt(300, y);
        Frame(0.016f);
        found = Sounding() == Narration(one) + " ";
    }
    EXPECT_TRUE(found) << "the first line says itself as the pointer reaches it";
    PlayOut(0.5f);
    float left = SecondsLeftOf(Narration(one));
    Frame(0.016f, true);
    EXPECT_GT(SecondsLeftOf(Narration(one)), left + 0.4f) << "a click replays it";
    Wheel(-10);
    EXPECT_FALSE(BacklogOpen);
}

// The phrase that says auto mode is on is waited for as a voice is.
TEST_F(SelfVoicing, AutoModeWaitsForItsOwnPhraseAsForAVoice) {
    SetScript({Sjis("一"), Sjis("二")});
    UseSystemSettings("0,0,");
    Preferences.SelfVoicing = true;
    Frame(0.016f, true);
    ASSERT_EQ(CurrentScene().line, 6);
    PressA();
    EXPECT_TRUE(AutoModeOnForTest());
    EXPECT_EQ(Sounding(), Phrase("auto_on") + " ");
    for (int i = 0; i < 40; ++i) Frame(0.05f);
    EXPECT_EQ(CurrentScene().line, 6) << "two seconds on, the phrase (unplayed) goes on";
    PlayOut(5.0f);
    for (int i = 0; i < 40 && CurrentScene().line == 6; ++i) Frame(0.05f);
    EXPECT_EQ(CurrentScene().line, 7);
}

// A slot's button says, after its name, what the margin shows (empty, or the time and
// the line), each clip after the one before; the loop wakes for the next.
TEST_F(SelfVoicing, ASlotsButtonSaysWhatTheSlotHolds) {
    CopyAssets({"v_minato_001.sad"});
    SetScript({Sjis("一"), "wave_play:v_minato_001.sad", Sjis("二")});
    Preferences.SelfVoicing = true;
    Frame(0.016f, true);
    Narrate(Sjis("一"));
    auto said = [this](const layout::Rect& button) {
        Frame(0.016f, false, true);
        Hover(button);
        std::vector<std::string> clips;
        std::vector<uint32_t> waits;  // the loop's rest with 0.2 s of the clip left
        for (int i = 0; i < 10 && !Sounding().empty(); ++i) {
            clips.push_back(Sounding());
            PlayOut(SecondsLeftOf(clips.back().substr(0, clips.back().size() - 1)) - 0.2f);
            Frame(0.016f);
            waits.push_back(MsUntilNextFrame());
            PlayOut(0.3f);
            Frame(0.016f);
        }
        for (size_t i = 0; i + 1 < waits.size(); ++i) EXPECT_LE(waits[i], 250u) << clips[i];
        return clips;
    };
    EXPECT_EQ(said(layout::SaveRow.Button(1)),
              (std::vector<std::string>{Phrase("menu_save_2") + " ", Phrase("menu_slot_empty") + " "}));
    Frame(0.016f, true);  // saved, and back to the story
    Frame(0.016f, true);
    struct stat file;
    ASSERT_EQ(stat((dir / "z_save1.sdt").c_str(), &file), 0);
    std::tm t;
    ASSERT_TRUE(localtime_r(&file.st_mtime, &t));
    std::vector<std::string> expected = {Phrase("menu_load_2") + " "};
    for (const std::string& id : {"month_" + std::to_string(t.tm_mon + 1), "day_" + std::to_string(t.tm_mday),
                                  "hour_" + std::to_string(t.tm_hour), "minute_" + std::to_string(t.tm_min)})
        expected.push_back(Phrase(id.c_str()) + " ");
    expected.push_back(Narration(Sjis("一")) + " ");
    EXPECT_EQ(said(layout::LoadRow.Button(1)), expected);
    Frame(0.016f, false, true);  // the menu closed, the next line (voiced) shown and saved
    PointAt(0, 0);
    Frame(0.016f, true);
    said(layout::SaveRow.Button(2));
    Frame(0.016f, true);
    Frame(0.016f, true);
    EXPECT_EQ(said(layout::LoadRow.Button(2)).back(), "v_minato_001.sad ") << "said in its speaker's voice";
}

// F9 without a quick save, and F5, say their notices; the menu's buttons speak once as the
// pointer reaches them.
TEST_F(SelfVoicing, TheQuickKeysAndMenuButtonsSpeakOnceAsThePointerReachesThem) {
    ShowFirstLineSpeaking();
    Press(plat::KeyF9);
    EXPECT_NE(Sounding().find(Phrase("quick_none")), std::string::npos);
    Press(plat::KeyF5);
    EXPECT_NE(Sounding().find(Phrase("quick_saved")), std::string::npos);
    Frame(0.016f, false, true);
    ASSERT_EQ(GetGameMode(), ModeSystemMenu);
    Hover(layout::SaveRow.Button(0));
    EXPECT_EQ(Sounding(), Phrase("menu_save_1") + " ");
    float full = SecondsLeftOf(Phrase("menu_save_1"));
    PlayOut(0.3f);
    Frame(0.016f);
    Frame(0.016f);
    EXPECT_NEAR(SecondsLeftOf(Phrase("menu_save_1")), full - 0.3f, 0.02f) << "staying on it says it once";
    PointAt(0, 0);
    Frame(0.016f);
    Hover(layout::SaveRow.Button(0));
    EXPECT_NEAR(SecondsLeftOf(Phrase("menu_save_1")), full, 0.02f) << "back on it, it is said again";

    Hover(layout::ReturnButton);
    EXPECT_EQ(Sounding(), Phrase("menu_return") + " ") << "each replaces the one before";
    ClickOn(layout::SaveRow.Button(3));
    EXPECT_EQ(Sounding(), Phrase("menu_saved") + " ") << "the notice, and how to go on";
    Frame(0.016f, true);
    Frame(0.016f, false, true);
    ClickOn(layout::LoadRow.Button(4));
    EXPECT_EQ(Sounding(), Phrase("slot_empty") + " ") << "a slot with nothing to load";
    EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(SelfVoicing, PreferenceRowsSayTheirNamesAndTheirValuesAsTheyChange) {
    ShowFirstLineSpeaking();
    Press(plat::KeyF1);
    ASSERT_TRUE(PreferencesOpen);
    EXPECT_EQ(Sounding(), Phrase("title_settings") + " ");
    PointAt(200, layout::PreferenceRowTopOf(1) + 10);
    Frame(0.016f);
    EXPECT_EQ(Sounding(), Phrase("pref_voice_volume") + " ");
    ClickOn(layout::PreferenceBox(1, 0, layout::StepperBoxStep, layout::StepperBoxWidth));
    EXPECT_EQ(Preferences.VoiceVolume, 95);
    EXPECT_EQ(Sounding(), Phrase("volume_95") + " ") << "its value as it changes";
}

TEST_F(SelfVoicing, VAndThePreferencesSwitchItAndPreferencesIniKeepsIt) {
    SetScript({Sjis("一"), Sjis("二")});
    const std::filesystem::path file = dir / "config" / "akari" / "preferences.ini";
    LoadPreferences();
    EXPECT_FALSE(SelfVoicingOn()) << "off by default";
    Press(plat::KeyV);
    EXPECT_TRUE(SelfVoicingOn());
    EXPECT_EQ(Sounding(), Phrase("voicing_on") + " ");
    ResetPreferences();
    LoadPreferences();
    EXPECT_TRUE(SelfVoicingOn()) << "kept in preferences.ini";
    Press(plat::KeyV);
    EXPECT_FALSE(SelfVoicingOn());
    EXPECT_EQ(Sounding(), Phrase("voicing_off") + " ") << "said as it goes off too";

    // The preferences' row switches it too.
    PointAt(0, 0);
    Press(plat::KeyF1);
    ClickOn(layout::PreferenceBox(8, 0, layout::WideBoxStep, layout::WideBoxWidth));
    EXPECT_TRUE(SelfVoicingOn());

    WriteFile(file, "[preferences]\nmusic_volume=50\n");
    LoadPreferences();
    EXPECT_FALSE(SelfVoicingOn()) << "a file without the entry";
    EXPECT_EQ(Preferences.MusicVolume, 50);
    EXPECT_TRUE(headless::MessageBoxes().empty());
}

// With the mode off, a run over every screen that speaks loads no clip and plays nothing.
TEST_F(SelfVoicing, WithTheModeOffNothingIsLoadedOrPlayed) {
    const std::string one = Sjis("一");
    SetScript({one, "command:2", "aaaa:" + Sjis("甲"), "bbbb:" + Sjis("乙"), Sjis("選ぶ"), "label:aaaa", Sjis("甲の後")});
    for (const std::string& text : {one, Sjis("甲"), Sjis("乙"), Sjis("選ぶ")}) Narrate(text);
    Frame(0.016f, true);
    ClickOn(layout::ChoiceRowHit(0));
    ASSERT_EQ(CurrentScene().storyState, ChoiceOpen);
    Hover(layout::ChoiceRowHit(1));
    Hover(layout::MenuButton);
    Frame(0.016f, false, true);
    Hover(layout::SaveRow.Button(0));
    ClickOn(layout::ReturnButton);
    Wheel(1);
    PointAt(300, 400);
    Frame(0.016f, true);
    Wheel(-10);
    ASSERT_FALSE(BacklogOpen);
    PressA();
    EXPECT_EQ(ObjectsInUse(), 0);
    std::vector<float> out = soundtest::PullFromDevice(kaSound::OutputRate / 2);
    EXPECT_EQ(soundtest::Rms(out), 0.0);

    // The same run with the mode on speaks.
    Preferences.SelfVoicing = true;
    Hover(layout::ChoiceRowHit(0));
    EXPECT_EQ(Sounding(), Narration(Sjis("甲")) + " ");
}

}  // namespace
