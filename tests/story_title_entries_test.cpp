// The title's entries: つづきから continues from the most recent save, slot or quick, as
// F9 continues from the quick slot; 設定 opens the preferences; a click anywhere else
// starts the story as it always did.
#include <functional>
#include <iterator>

#include "tests/engine_script.h"

using namespace storytest;

namespace {

class TitleEntries : public StoryTest {
protected:
    void ClickOn(const layout::Rect& r) { ClickAt(r.left + 20, (r.top + r.bottom) / 2); }
    void ToTitle() {
        SetGameMode(ModeTitle);
        PointAt(300, 157);
        Frame();
        Frame();
        ASSERT_EQ(GetGameMode(), ModeTitle);
    }
    // Lines 8, 11 and 14 on bands 1, 0 and 1 of sc0.sad, flag 3 at 0, 1 and 2.
    void UseScenes() {
        WriteEnginePictures(dir);
        SetScript({"file:sc0.sad", "setscreen:1", Sjis("一行目の文です"), "flg:003,1", "setscreen:0",
                   Sjis("二行目の文です"), "flg:003,2", "setscreen:1", Sjis("三行目の文です"),
                   Sjis("四行目の文です"), "label:_end", "end:99"});
    }
    // Steps from the story's start to line.
    void PlayTo(int line) {
        GoToLineForTest(5);
        SetFlagForTest(3, 0);
        ClickAt(300, 400);
        while (CurrentScene().line < line) Click();
        ASSERT_EQ(CurrentScene().line, line);
    }
    // Saves at line with F5 (quick), to slot, or as the resume point the end keeps.
    void SaveAt(int line, int slot) {
        PlayTo(line);
        if (slot == QuickSlot) Press(plat::KeyF5);
        else EXPECT_TRUE(slot == ResumePoint ? WriteResumePoint() : SaveSlot(slot));
    }
    // The program started again over the same folder.
    void Restart() {
        TearDown();
        SetUp();
        UseScenes();
    }
};

// つづきから takes the save whose file changed last (slot, quick or the resume point), as
// F9 does; the click that took it makes no step.
TEST_F(TitleEntries, ContinueLoadsTheMostRecentSave) {
    UseScenes();
    SaveAt(11, 2);
    SaveAt(14, QuickSlot);
    SaveAt(8, 4);
    SaveAt(14, ResumePoint);
    SetChangedAt(Slot(2), 1796722830);
    SetChangedAt(Slot(4), 1796722830 - 60);
    SetChangedAt(Slot(QuickSlot), 1796722830 - 30);
    SetChangedAt(Slot(ResumePoint), 1796722830 - 90);
    struct Case {
        int newest, line, flag;
    } cases[] = {{2, 11, 1}, {QuickSlot, 14, 2}, {4, 8, 0}, {ResumePoint, 14, 2}};
    time_t now = 1796722900;
    for (const Case& c : cases) {
        SetChangedAt(Slot(c.newest), now += 100);
        ToTitle();
        ClickOn(layout::ContinueEntry);
        EXPECT_EQ(GetGameMode(), ModeStory) << c.newest;
        EXPECT_EQ(CurrentScene().line, c.line) << c.newest;
        EXPECT_EQ(FlagForTest(3), c.flag) << c.newest;
        EXPECT_EQ(QuickNoticeForTest(), TextLoaded) << c.newest;
    }
}

// Every way out of the story (a key, the menu's quit, the quit prompt) keeps the place for
// つづきから; at the title, or once the script ended the run, nothing is kept; a damaged
// resume point is none.
TEST_F(TitleEntries, EveryWayOutOfTheStoryKeepsThePlaceToContinueFrom) {
    struct Route {
        std::function<void()> end;
        bool kept;
    } routes[] = {
        {[] { KeyDown(plat::KeyEscape); }, true},
        {[this] { Frame(0.016f, false, true), ClickOn(layout::QuitGameButton); }, true},
        {[this] { ClickOn(layout::QuitButton), ClickOn(layout::ChoiceRowHit(0)); }, true},
        {[this] { for (int i = 0; i < 5 && !Shell.ShutdownDone; ++i) Click(); }, false},
        {[this] { ToTitle(), KeyDown(plat::KeyEscape); }, false}};
    for (size_t r = 0; r < std::size(routes); ++r) {
        Restart();
        std::filesystem::remove(Slot(ResumePoint));
        PlayTo(11);
        routes[r].end();
        ASSERT_TRUE(Shell.ShutdownDone) << r;
        EXPECT_EQ(std::filesystem::exists(Slot(ResumePoint)), routes[r].kept) << r;
        Restart();
        ToTitle();
        if (!routes[r].kept) {
            EXPECT_EQ(MostRecentSlot(), -1) << r;
            continue;
        }
        ClickOn(layout::ContinueEntry);
        EXPECT_EQ(std::vector<int>({GetGameMode(), CurrentScene().line, FlagForTest(3)}),
                  std::vector<int>({ModeStory, 11, 1}))
            << r;
    }
    PlayTo(11);
    ASSERT_TRUE(WriteResumePoint());
    EXPECT_EQ(MostRecentSlot(), ResumePoint);
    std::string damaged = ReadFile(Slot(ResumePoint));
    damaged[damaged.size() / 3] ^= 1;
    WriteFile(Slot(ResumePoint), damaged);
    EXPECT_EQ(MostRecentSlot(), -1);
}

// 設定, by a click, the keys or F1, opens the preferences over the title; a right click,
// F1 or Escape closes them with no step made. Over the system menu F1 opens nothing.
// With no save (an empty slot file is none), つづきから neither loads nor starts the story.
TEST_F(TitleEntries, WithNoSaveContinueDoesNothingAndThePreferencesOpenOverTheTitle) {
    UseScenes();
    WriteFile(Slot(0), "");
    ToTitle();
    ClickOn(layout::ContinueEntry);
    EXPECT_EQ(GetGameMode(), ModeTitle) << "no save to continue from";
    const std::function<void()> ways[][2] = {
        {[&] { ClickOn(layout::TitlePreferencesEntry); }, [&] { Frame(0.016f, false, true); }},
        {[&] {
             Press(plat::KeyDown);
             EXPECT_TRUE(PointerIn(layout::ContinueEntry));
             Press(plat::KeyDown);
             EXPECT_TRUE(PointerIn(layout::TitlePreferencesEntry));
             PressAndHold(plat::KeyReturn);
         }, [&] { Press(plat::KeyF1); }},
        {[&] { Press(plat::KeyF1); }, [&] { Press(plat::KeyEscape); }}};
    for (size_t i = 0; i < std::size(ways); ++i) {
        ToTitle();
        ways[i][0]();
        Frame();
        EXPECT_TRUE(PreferencesOpen) << i;
        ways[i][1]();
        Frame();
        EXPECT_FALSE(PreferencesOpen) << i;
        EXPECT_EQ(GetGameMode(), ModeTitle) << i << ": the close went no further";
        EXPECT_EQ(CurrentScene().line, 5) << i;
        EXPECT_EQ(Shell.ShutdownDone, 0) << i;
    }
    Click();
    Frame(0.016f, false, true);
    ASSERT_EQ(GetGameMode(), ModeSystemMenu);
    Press(plat::KeyF1);
    EXPECT_FALSE(PreferencesOpen);
}

// A click, or Return, off the entries leaves the title and makes the first step at once.
TEST_F(TitleEntries, AClickElsewhereStartsTheStoryAsBefore) {
    UseScenes();
    WriteFile(Slot(1), "01,040,001,001,001,11\r\n");
    for (layout::Point at : {layout::Point{layout::ContinueEntry.left - 2, 410},
                             layout::Point{560, layout::TitlePreferencesEntry.bottom + 2}}) {
        ToTitle();
        GoToLineForTest(5);
        ClickAt(at.x, at.y);
        EXPECT_EQ(GetGameMode(), ModeStory) << at.x << "," << at.y;
        EXPECT_EQ(CurrentScene().line, 8) << at.x << "," << at.y;
    }
    ToTitle();
    GoToLineForTest(5);
    headless::SetKeyDown(plat::KeyReturn, true);
    Frame();
    headless::SetKeyDown(plat::KeyReturn, false);
    EXPECT_EQ(GetGameMode(), ModeStory);
    EXPECT_EQ(CurrentScene().line, 8);
}

}  // namespace
