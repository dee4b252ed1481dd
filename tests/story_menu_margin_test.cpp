// The system menu's margin: the slot under the pointer, or the notice of a save or a
// load, whose closing click acts on nothing under it.
#include <stdlib.h>

#include <ctime>

#include "tests/engine_script.h"

using namespace storytest;

namespace {

// 2026/12/08 09:40:30 UTC.
constexpr time_t December8 = 1796722830;

bool Inside(const layout::Rect& r, int x, int y) {
    return r.left <= x && x < r.right && r.top <= y && y < r.bottom;
}

class MenuMargin : public StoryTest {
protected:
    std::string tz;
    void SetUp() override {
        StoryTest::SetUp();
        if (const char* old = getenv("TZ")) tz = old;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override {
        if (tz.empty()) unsetenv("TZ");
        else setenv("TZ", tz.c_str(), 1);
        tzset();
        StoryTest::TearDown();
    }

    static uint32_t Pixel(int x, int y) { return headless::LastFrame()->Pixel(x, y) & 0xFFFFFF; }
    void OpenMenu() {
        PointAt(100, 440);  // in the margin, on no button
        Frame(0.016f, false, true);
        ASSERT_EQ(GetGameMode(), ModeSystemMenu);
    }
    // Line 8 on band 1 of sc0.sad, line 10 on band 0; slot 0 saved at the first, slot 1
    // at the second, each from the menu; the story left at line 11.
    void SaveTwoScenes() {
        WriteEnginePictures(dir);
        SetScript({"file:sc0.sad", "setscreen:1", LongLine, "setscreen:0", Sjis("二行目"),
                   Sjis("三行目"), Sjis("四行目")});
        PointAt(300, 400);
        Click();
        ASSERT_EQ(CurrentScene().line, 8);
        OpenMenu();
        ClickOn(layout::SaveRow.Button(0));
        Click();  // the notice closed, the story steps on
        ASSERT_EQ(CurrentScene().line, 10);
        OpenMenu();
        ClickOn(layout::SaveRow.Button(1));
        Click();
        ASSERT_FALSE(State(0).empty() || State(1).empty());
    }
    std::vector<uint8_t> StatePreview(int slot, int line) {
        static StateFile state;
        EXPECT_TRUE(ReadStateFile(State(slot).c_str(), &state));
        EXPECT_EQ(state.snapshot.line, line);
        return std::vector<uint8_t>(state.preview, state.preview + PreviewBytes);
    }
    // Pixels of the picture's place in the last frame that differ from preview.
    static int OffPreview(const std::vector<uint8_t>& preview) {
        const layout::Placement& p = layout::SlotPreview;
        int off = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                const uint8_t* rgb = &preview[size_t(3 * (y * p.width + x))];
                off += Pixel(p.x + x, p.y + y) != (uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | rgb[2]);
            }
        return off;
    }
    // Pixels of the picture's place, with its frame, that are not the page's black.
    static int DrawnAtPicture() {
        const layout::Rect& f = layout::SlotPreviewFrame;
        int drawn = 0;
        for (int y = f.top; y < f.bottom; ++y)
            for (int x = f.left; x < f.right; ++x) drawn += Pixel(x, y) != 0;
        return drawn;
    }
    static std::string MarginText(int i) { return MenuMarginTextForTest(i); }

    // Longer than the margin holds: 30 characters of two bytes.
    const std::string LongLine = Sjis("一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十");
};

// Over its save or load button, the margin shows the slot's small picture, the time its
// file was saved and the start of its line; an empty slot says so, with no picture.
TEST_F(MenuMargin, TheMarginShowsTheSlotUnderThePointer) {
    SaveTwoScenes();
    const std::vector<uint8_t> first = StatePreview(0, 8), second = StatePreview(1, 10);
    ASSERT_NE(first, second) << "two pictures to tell apart";
    SetChangedAt(Slot(0), December8);
    OpenMenu();
    EXPECT_EQ(DrawnAtPicture(), 0) << "nothing under no button";
    for (const layout::ButtonRow& row : {layout::SaveRow, layout::LoadRow}) {
        Hover(row.Button(0));
        EXPECT_EQ(OffPreview(first), 0);
        EXPECT_EQ(MarginText(0), "2026/12/08 09:40");
        // 56 bytes of the line (28 characters), then the ellipsis.
        EXPECT_EQ(MarginText(1), LongLine.substr(0, 56) + "\x81\x63");
        Hover(row.Button(1));
        EXPECT_EQ(OffPreview(second), 0);
        EXPECT_EQ(MarginText(1), Sjis("二行目")) << "a short line whole";
        Hover(row.Button(2));
        EXPECT_EQ(MarginText(0), EngineText(TextEmptySlot));
        EXPECT_EQ(MarginText(1), "");
        EXPECT_EQ(DrawnAtPicture(), 0);
    }
    // A slot saved while the menu is open shows what it holds now.
    ClickOn(layout::SaveRow.Button(2));
    Click();
    OpenMenu();
    Hover(layout::LoadRow.Button(2));
    EXPECT_EQ(OffPreview(StatePreview(2, 11)), 0);
    EXPECT_EQ(MarginText(1), Sjis("三行目"));
    // The time is the reader's, to the minute it began.
    setenv("TZ", "JST-9", 1);
    tzset();
    Hover(layout::LoadRow.Button(0));
    EXPECT_EQ(MarginText(0), "2026/12/08 18:40");
    char text[32];
    FormatSaveTime(int64_t(December8) * 1000000000 + 999999999, text, sizeof text);
    EXPECT_STREQ(text, "2026/12/08 18:40");
}

// A slot without a state beside it shows its line and time but no picture; a slot
// holding a command line shows its time alone. A music setting other than 0 is off.
TEST_F(MenuMargin, AnOlderSlotShowsItsLineAndNoPicture) {
    SaveTwoScenes();
    std::filesystem::remove(State(0));
    WriteFile(Slot(3), "01,040,001,001,001,7\r\n");  // setscreen:1
    UseSystemSettings("2,-1,");
    OpenMenu();
    const layout::Rect m = layout::MarkUnder(layout::MusicRow.Button(1));
    EXPECT_EQ(Pixel((m.left + m.right) / 2, m.top + 1), 0xF0E080u) << "the music's mark";
    Hover(layout::LoadRow.Button(0));
    EXPECT_EQ(DrawnAtPicture(), 0);
    EXPECT_EQ(MarginText(1).substr(0, 6), LongLine.substr(0, 6));
    EXPECT_EQ(MarginText(0).size(), 16u) << "the time";
    Hover(layout::SaveRow.Button(3));
    EXPECT_EQ(MarginText(0).size(), 16u);
    EXPECT_EQ(MarginText(1), "");
    EXPECT_TRUE(headless::MessageBoxes().empty());
}

// A save's or a load's notice stands in the margin, with how to go on. The click that
// closes it acts on nothing under it (Save No.3, the panel's menu button in the story);
// after a save it steps the story, after a load the loaded line stays.
TEST_F(MenuMargin, TheNoticeTakesTheMarginAndItsClickActsOnNothingUnderIt) {
    SaveTwoScenes();
    OpenMenu();
    const layout::Point panelMenu{525, 265};  // on speed 5, and on the panel's menu button
    ASSERT_TRUE(Inside(layout::SpeedRow.Button(5), panelMenu.x, panelMenu.y) &&
                Inside(layout::MenuButton, panelMenu.x, panelMenu.y));
    for (bool save : {true, false}) {
        ClickOn(save ? layout::SaveRow.Button(3) : layout::LoadRow.Button(1));
        EXPECT_EQ(MarginText(0), Sjis(save ? "セーブしました" : "ロードしました"));
        Hover(layout::SaveRow.Button(2));
        EXPECT_EQ(MarginText(1), Sjis("クリックで戻る")) << "how to go on, not the slot's line";
        if (save) {
            ClickOn(layout::SaveRow.Button(2));
            EXPECT_FALSE(std::filesystem::exists(Slot(2))) << "Save No.3 under the notice's click";
            EXPECT_EQ(CurrentScene().line, 12) << "the story stepped";
        } else {
            PointAt(panelMenu.x, panelMenu.y);
            Click();
            EXPECT_FALSE(SystemMenuOpen) << "the panel's menu button under the notice's click";
            EXPECT_EQ(CurrentScene().line, 10) << "the loaded line";
        }
        ASSERT_EQ(GetGameMode(), ModeStory);
        OpenMenu();
    }
}

}  // namespace
