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
