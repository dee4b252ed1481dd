// The screen layout's rectangles against each other: what is drawn lies exactly over
// what answers a click, and the places the pointer is moved to answer no click.
#include <gtest/gtest.h>

#include <vector>

#include "base/screen_layout.h"

namespace {

bool Answers(const layout::Rect& hit, int x, int y) {
    return hit.left < x && x < hit.right && hit.top < y && y < hit.bottom;
}

}  // namespace

// The panel picture's boxes lie over exactly the pixels its buttons answer on: a box a
// pixel too wide would show an edge where a click does nothing.
TEST(ScreenLayout, ThePanelsBoxesLieExactlyOverItsButtons) {
    for (auto [hit, box] : {std::pair{layout::QuitButton, layout::PanelQuitBox},
                            std::pair{layout::MenuButton, layout::PanelMenuBox}})
        for (int y = 0; y < layout::Panel.height; ++y)
            for (int x = 0; x < layout::Panel.width; ++x) {
                bool covered = box.left <= x && x < box.right && box.top <= y && y < box.bottom;
                ASSERT_EQ(covered, Answers(hit, x + layout::Panel.x, y + layout::Panel.y)) << x << "," << y;
            }
}

// The y the pointer is left at once an option is taken answers neither a row of the
// choice nor a panel button, so that the next frame highlights nothing.
TEST(ScreenLayout, ThePointerLeftAfterAChoiceAnswersNothing) {
    for (int x = 0; x < layout::ClientWidth; ++x) {
        for (int i = 0; i < layout::ChoiceRowsMost; ++i)
            EXPECT_FALSE(Answers(layout::ChoiceRowHit(i), x, layout::PointerYAfterOption)) << "row " << i;
        EXPECT_FALSE(Answers(layout::QuitButton, x, layout::PointerYAfterOption));
        EXPECT_FALSE(Answers(layout::MenuButton, x, layout::PointerYAfterOption));
    }
}

// The system menu's margin and the marks under the speed and music buttons answer no
// click: they touch no button of the menu.
TEST(ScreenLayout, TheMenusMarginAndMarksTouchNoButton) {
    std::vector<layout::Rect> buttons = {layout::QuitGameButton, layout::ReturnButton}, drawn = {layout::MenuMargin};
    for (const layout::ButtonRow& row : {layout::SaveRow, layout::LoadRow, layout::SpeedRow, layout::MusicRow})
        for (int n = 0; n < row.count; ++n) buttons.push_back(row.Button(n));
    for (const layout::ButtonRow& row : {layout::SpeedRow, layout::MusicRow})
        for (int n = 0; n < row.count; ++n) drawn.push_back(layout::MarkUnder(row.Button(n)));
    for (const layout::Rect& d : drawn)
        for (const layout::Rect& b : buttons)
            EXPECT_FALSE(d.left < b.right && b.left < d.right && d.top < b.bottom && b.top < d.bottom)
                << d.left << "," << d.top << " over " << b.left << "," << b.top;
}
