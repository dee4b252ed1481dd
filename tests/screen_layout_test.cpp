// The system menu's margin and the marks under the speed and music buttons answer no
// click: they touch no button of the menu, whatever the margin comes to show.
#include <gtest/gtest.h>

#include <vector>

#include "base/screen_layout.h"

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
