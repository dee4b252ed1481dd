// Quick save and quick load: F5 and F9 through the window's key events, the quick slot's
// files, and the notice that goes by itself.
#include <functional>
#include <utility>

#include "tests/engine_script.h"

using namespace storytest;

namespace {

class QuickSlot : public StoryTest {
protected:
    uint32_t Pixel(int x, int y) { return headless::LastFrame()->Pixel(x, y) & 0xFFFFFF; }
    void UseScenes() {
        WriteEnginePictures(dir);
        SetScript({"file:sc0.sad", "setscreen:1", "flg:004,1", Sjis("一二三四五六七八九十一二三四五六七八九十"), "flg:004,2",
                   "setscreen:0", Sjis("二"), Sjis("三")});
        PointAt(300, 400);
        Click();
        ASSERT_EQ(CurrentScene().line, 9);
    }
};

TEST_F(QuickSlot, F9LoadsWhatF5SavedAndShowsTheLineAgain) {
    UseScenes();
    for (int i = 0; i < 30; ++i) Frame();  // the line is out
    Press(plat::KeyF5);
    EXPECT_EQ(QuickNoticeForTest(), TextQuickSaved);
    Click();
    Click();
    ASSERT_EQ(CurrentScene().line, 13);
    ASSERT_EQ(FlagForTest(4), 2);

    Press(plat::KeyF9);
    EXPECT_EQ(QuickNoticeForTest(), TextQuickLoaded);
    EXPECT_EQ(CurrentScene().line, 9);
    EXPECT_EQ(FlagForTest(4), 1);
    for (int i = 0; i < 100; ++i) Frame();  // the notice gone by itself, the line whole
    // Loaded again over the same line, whole by now: it comes out again too.
    ASSERT_GT(RevealCount, MessageLayout().count);
    Press(plat::KeyF9);
    EXPECT_LT(RevealCount, MessageLayout().count);
}

// While the notice shows, the line goes on coming out under it; then it goes by itself.
TEST_F(QuickSlot, TheLineComesOutUnderTheNoticeThenItGoes) {
    UseScenes();
    Frame();
    Press(plat::KeyF5);
    const int out = RevealCount;
    for (int i = 0; i < 5; ++i) Frame(0.05f);
    EXPECT_GT(RevealCount, out) << "the line goes on coming out under the notice";
    EXPECT_LE(RevealCount, MessageLayout().count) << "not shown whole at once";
    for (int i = 0; i < 30; ++i) Frame(0.05f);
    EXPECT_EQ(QuickNoticeForTest(), -1);
}

// F9 at the title opens the story at the quick save; a save that cannot be written says
// so; the system menu takes neither key; F5 where nothing can be saved says so over what
// shows there, and saves nothing.
TEST_F(QuickSlot, F9AtTheTitleAFailedSaveAndF5WhereNothingCanBeSaved) {
    UseScenes();
    Press(plat::KeyF5);
    SetGameMode(ModeTitle);
    Frame();
    GoToLineForTest(5);
    Press(plat::KeyF9);
    EXPECT_EQ(GetGameMode(), ModeStory);
    EXPECT_EQ(CurrentScene().line, 9);
    EXPECT_EQ(QuickNoticeForTest(), TextQuickLoaded);

    std::filesystem::remove(dir / "z_quick.sdt");
    std::filesystem::create_directory(dir / "z_quick.sdt");
    Press(plat::KeyF5);
    EXPECT_EQ(QuickNoticeForTest(), TextSaveFailed);

    ResetQuickSlot();
    Frame(0.016f, false, true);
    ASSERT_EQ(GetGameMode(), ModeSystemMenu);
    Press(plat::KeyF9);
    Press(plat::KeyF5);
    EXPECT_EQ(GetGameMode(), ModeSystemMenu);
    EXPECT_EQ(QuickNoticeForTest(), -1);

    std::filesystem::remove(dir / "z_quick.sdt");
    const std::pair<const char*, std::function<void()>> places[] = {
        {"the title", [] { SetGameMode(ModeTitle); }},
        {"the backlog", [] { InputState.WheelSteps = 1; }},
    };
    const layout::TextArea& a = layout::QuickNoticeText;
    for (const auto& [where, go] : places) {
        ResetStoryState();
        SetGameMode(ModeStory);
        Click();
        go();
        Frame();
        const std::vector<uint32_t> before = headless::LastFrame()->pixels;
        Press(plat::KeyF5);
        EXPECT_STREQ(EngineText(EngineTextId(QuickNoticeForTest())), Sjis("ここではセーブできません").c_str()) << where;
        int drawn = 0;
        for (int y = a.y; y < a.y + 30; ++y)
            for (int x = a.x; x < a.x + 250; ++x) drawn += Pixel(x, y) != (before[size_t(y * 640 + x)] & 0xFFFFFF);
        EXPECT_GT(drawn, 50) << where;
        EXPECT_FALSE(std::filesystem::exists(dir / "z_quick.sdt")) << where;
        if (BacklogOpen) Frame(0.016f, false, true);
    }
}

}  // namespace
