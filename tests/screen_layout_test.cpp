// The screen layout against the figures of the game's design, typed out here a second
// time on purpose: a change to base/screen_layout.h that moves a picture, a text or a
// button by one pixel fails here before a player sees it.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "base/screen_layout.h"

namespace {

using Four = std::array<int, 4>;
Four Edges(const layout::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
Four Place(const layout::Placement& p) { return {p.x, p.y, p.width, p.height}; }
Four Area(const layout::TextArea& a) { return {a.x, a.y, a.right, a.bottom}; }

bool Answers(const layout::Rect& hit, int x, int y) {
    return hit.left < x && x < hit.right && hit.top < y && y < hit.bottom;
}
bool Covers(const layout::Rect& drawn, int x, int y) {
    return drawn.left <= x && x < drawn.right && drawn.top <= y && y < drawn.bottom;
}

}  // namespace

TEST(ScreenLayout, TheBackBufferTheWindowAndTheOpeningPictures) {
    EXPECT_EQ(layout::BackBufferWidth, 700);
    EXPECT_EQ(layout::BackBufferHeight, 520);
    EXPECT_EQ(layout::ClientWidth, 640);
    EXPECT_EQ(layout::ClientHeight, 474);
    EXPECT_EQ(layout::PointerSize, 32);
    EXPECT_EQ(Place(layout::Logo), (Four{175, 160, 325, 115}));
    EXPECT_EQ(Place(layout::Notice), (Four{90, 150, 450, 165}));
    EXPECT_EQ(Place(layout::Title), (Four{0, 0, 640, 474}));
}

TEST(ScreenLayout, TheStoryScreensPicturesAndMessageWindow) {
    EXPECT_EQ(Place(layout::Band), (Four{0, 0, 500, 375}));
    EXPECT_EQ(layout::WaveReach, 10);
    EXPECT_EQ(Place(layout::Character), (Four{260, 40, 250, 350}));
    EXPECT_EQ(Place(layout::WindowBack), (Four{0, 0, 500, 375}));
    EXPECT_EQ(Place(layout::WindowFrame), (Four{0, 200, 491, 119}));
    EXPECT_EQ(Place(layout::Panel), (Four{474, 0, 168, 377}));
    EXPECT_EQ(Place(layout::MessageFrame), (Four{-7, 375, 650, 100}));
    EXPECT_EQ(Area(layout::MessageText), (Four{10, 385, 590, 580}));
}

// The panel picture's boxes lie over exactly the pixels its buttons answer on: a box a
// pixel too wide would show an edge where a click does nothing.
TEST(ScreenLayout, ThePanelButtonsAndTheBoxesUnderThem) {
    EXPECT_EQ(Edges(layout::QuitButton), (Four{549, 326, 616, 347}));
    EXPECT_EQ(Edges(layout::MenuButton), (Four{518, 256, 625, 284}));
    struct Case {
        layout::Rect hit, box;
    };
    for (const Case& c : {Case{layout::QuitButton, layout::PanelQuitBox}, Case{layout::MenuButton, layout::PanelMenuBox}})
        for (int y = 0; y < layout::Panel.height; ++y)
            for (int x = 0; x < layout::Panel.width; ++x)
                ASSERT_EQ(Covers(c.box, x, y), Answers(c.hit, x + layout::Panel.x, y + layout::Panel.y))
                    << "panel pixel " << x << "," << y;
}

TEST(ScreenLayout, ChoiceRowsHighlightsTextsAndThePrompt) {
    EXPECT_EQ(Place(layout::ChoiceBox), (Four{58, 90, 470, 200}));
    for (int i = 0; i < layout::ChoiceRowsMost; ++i) {
        int top = 140 + 40 * i;
        EXPECT_EQ(Edges(layout::ChoiceRowHit(i)), (Four{70, top, 512, top + 35})) << "row " << i;
        EXPECT_EQ(Edges(layout::ChoiceHighlight(i)), (Four{80, top, 512, top + 35})) << "row " << i;
        EXPECT_EQ(Area(layout::ChoiceOption(i)), (Four{80, top, 800, 600})) << "row " << i;
        // The y the pointer is left at once an option is taken lies above every row.
        EXPECT_FALSE(Answers(layout::ChoiceRowHit(i), 300, layout::PointerYAfterOption)) << "row " << i;
    }
    EXPECT_EQ(layout::ChoiceTextSize, 28);
    EXPECT_EQ(Area(layout::ChoicePrompt), (Four{30, 385, 655, 100}));
    EXPECT_EQ(layout::PointerAfterChoice.x, 560);
    EXPECT_EQ(layout::PointerAfterChoice.y, 170);
    EXPECT_EQ(layout::PointerYAfterOption, 5);
    // Neither panel button answers at the y a chosen option leaves the pointer at.
    for (int x = 0; x < layout::ClientWidth; ++x) {
        EXPECT_FALSE(Answers(layout::QuitButton, x, layout::PointerYAfterOption));
        EXPECT_FALSE(Answers(layout::MenuButton, x, layout::PointerYAfterOption));
    }
}

TEST(ScreenLayout, TheSystemMenuRowsTheirButtonsAndTexts) {
    EXPECT_EQ(Place(layout::MenuPage), (Four{0, 0, 640, 474}));
    struct Row {
        const char* name;
        layout::ButtonRow row;
        std::vector<int> lefts;
        int top, bottom;
    };
    const Row rows[] = {
        {"save", layout::SaveRow, {170, 233, 296, 359, 422}, 90, 115},
        {"load", layout::LoadRow, {170, 233, 296, 359, 422}, 170, 195},
        {"speed", layout::SpeedRow, {170, 233, 296, 359, 422, 485}, 250, 275},
        {"music", layout::MusicRow, {170, 237}, 325, 350},
    };
    for (const Row& r : rows) {
        ASSERT_EQ(r.row.count, int(r.lefts.size())) << r.name;
        for (int n = 0; n < r.row.count; ++n) {
            int left = r.lefts[size_t(n)];
            EXPECT_EQ(Edges(r.row.Button(n)), (Four{left, r.top, left + 50, r.bottom})) << r.name << " " << n;
        }
    }
    EXPECT_EQ(Edges(layout::QuitGameButton), (Four{170, 370, 340, 390}));
    EXPECT_EQ(Edges(layout::ReturnButton), (Four{320, 370, 490, 390}));
    // Both bottom buttons answer from 321 to 339 and only there; the page shows quit
    // ending where return begins.
    for (int x = 160; x < 500; ++x) {
        bool both = Answers(layout::QuitGameButton, x, 380) && Answers(layout::ReturnButton, x, 380);
        EXPECT_EQ(both, x >= 321 && x <= 339) << "x " << x;
    }
    EXPECT_EQ(Edges(layout::QuitGameBox), (Four{170, 370, 320, 390}));
    EXPECT_EQ(Area(layout::MenuText), (Four{170, 50, 635, 500}));
}

// What the menu draws beside the design's own: the margin's picture, texts and notice lie
// in the free margin, left of every button and of the menu text; each mark lies under its
// button, off it, and above the next row's button and the picture's own labels under the
// speed row ("おんがく" from y 290).
TEST(ScreenLayout, TheMenusMarginAndMarksStayOffItsButtonsAndText) {
    std::vector<layout::Rect> buttons = {layout::QuitGameButton, layout::ReturnButton};
    for (const layout::ButtonRow& row : {layout::SaveRow, layout::LoadRow, layout::SpeedRow, layout::MusicRow})
        for (int n = 0; n < row.count; ++n) buttons.push_back(row.Button(n));
    auto overlaps = [](const layout::Rect& a, const layout::Rect& b) {
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    };
    auto rect = [](const layout::TextArea& a) { return layout::Rect{a.x, a.y, a.right, a.bottom}; };
    const layout::Rect& margin = layout::MenuMargin;
    EXPECT_LE(margin.right, layout::MenuText.x);
    const layout::Placement& p = layout::SlotPreview;
    const layout::Rect preview{p.x, p.y, p.x + p.width, p.y + p.height};
    for (const layout::Rect& drawn : {layout::SlotPreviewFrame, preview, rect(layout::SlotDateText),
                                      rect(layout::SlotLineText), rect(layout::MenuNoticeText)}) {
        EXPECT_TRUE(drawn.left >= margin.left && drawn.right <= margin.right && drawn.top >= margin.top &&
                    drawn.bottom <= margin.bottom)
            << drawn.left << "," << drawn.top;
        for (const layout::Rect& b : buttons) EXPECT_FALSE(overlaps(drawn, b)) << drawn.left << "," << drawn.top;
    }
    EXPECT_EQ(p.width, 150);
    EXPECT_EQ(p.height, 113);
    std::vector<layout::Rect> marks;
    for (const layout::ButtonRow& row : {layout::SpeedRow, layout::MusicRow})
        for (int n = 0; n < row.count; ++n) {
            layout::Rect m = layout::MarkUnder(row.Button(n));
            EXPECT_TRUE(m.left > row.Button(n).left && m.right < row.Button(n).right && m.top > row.bottom);
            marks.push_back(m);
        }
    for (const layout::Rect& m : marks) {
        for (const layout::Rect& b : buttons) EXPECT_FALSE(overlaps(m, b)) << m.left << "," << m.top;
        EXPECT_TRUE(m.bottom <= 290 || m.top >= layout::MusicRow.bottom) << m.left << "," << m.top;
    }
}

// The title's entries stand apart, at its foot right of the picture's own words
// ("クリックで はじまります", x 240 to 400), inside the window.
TEST(ScreenLayout, TheTitlesEntries) {
    for (const layout::Rect& e : {layout::ContinueEntry, layout::TitlePreferencesEntry}) {
        EXPECT_GT(e.left, 400);
        EXPECT_LE(e.right, layout::ClientWidth);
        EXPECT_LE(e.bottom, layout::ClientHeight - 10);
        layout::Rect light = layout::TitleEntryLight(e);
        EXPECT_TRUE(light.left > e.left && light.right < layout::TitleEntryTextLeft && light.top > e.top &&
                    light.bottom < e.bottom);
    }
    EXPECT_LE(layout::ContinueEntry.bottom, layout::TitlePreferencesEntry.top);
}
