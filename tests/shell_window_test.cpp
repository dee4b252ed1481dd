// The window at any size: the picture scaled into it with bars, the pointer mapped back
// to the picture's pixels, full screen on F11 and Alt+Return, and the size and
// full-screen state kept beside set.ini.
#include "tests/shell_test_game.h"

using namespace shelltest;

namespace {

using WindowFit = ShellGame;

TEST_F(WindowFit, ThePointerMapsToThePictureAtEveryScaleAndTheBarsTakeNoClicks) {
    struct Case {
        int width, height;
        int x, y, w, h;  // where the picture lies
        int barX, barY;  // a point on a bar, or -1
    } cases[] = {
        {640, 474, 0, 0, 640, 474, -1, -1},
        {1280, 948, 0, 0, 1280, 948, -1, -1},
        {1000, 600, 95, 0, 810, 600, 40, 300},  // bars left and right
        {800, 900, 0, 153, 800, 593, 400, 100},  // bars above and below
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        storytest::SetScript({storytest::Sjis("静かな頁")});
        Open(ModeTitle);
        Push(plat::EvWindowResized, c.width, c.height);
        RunFor(2000);
        int x, y, w, h;
        PictureInWindow(&x, &y, &w, &h);
        EXPECT_EQ(std::vector<int>({x, y, w, h}), std::vector<int>({c.x, c.y, c.w, c.h}))
            << c.width << "x" << c.height;

        // The picture's last window pixels are its last client pixels; one further on,
        // right or below, is off the picture.
        int lastX = -1, lastY = -1, offX, offY;
        EXPECT_TRUE(WindowToClient(x + w - 1, y + h - 1, &lastX, &lastY));
        EXPECT_EQ(lastX * 1000 + lastY, 639473) << c.width << "x" << c.height;
        EXPECT_FALSE(WindowToClient(x + w, y, &offX, &offY) || WindowToClient(x, y + h, &offX, &offY))
            << c.width << "x" << c.height;

        // Every client pixel has window pixels that map back to it; the warp lands on one,
        // also when the story asks for the pointer there (a choice taken sends it to the
        // panel), which the loop does once the frame is over.
        for (int cx : {0, 1, 319, 560, 639})
            for (int cy : {0, 170, 473})
                for (bool asked : {false, true}) {
                    if (asked) MovePointerTo(cx, cy), RunFrame();
                    else SetPointerPos(cx, cy);
                    int wx, wy, mx = -1, my = -1;
                    headless::LastWarp(&wx, &wy);
                    EXPECT_TRUE(WindowToClient(wx, wy, &mx, &my));
                    EXPECT_EQ(mx * 1000 + my, cx * 1000 + cy) << c.width << "x" << c.height << " " << asked;
                    EXPECT_FALSE(TakePointerMove(&wx, &wy)) << "made once";
                }
        if (c.barX >= 0) {
            int line = CurrentScene().line;
            Push(plat::EvPointerMove, c.barX, c.barY);
            ClickAt(Now() + 5, c.barX, c.barY);
            ClickAt(Now() + 300, c.barX, c.barY, 3);
            RunFor(500);
            EXPECT_EQ(CurrentScene().line, line) << "a click on a bar does nothing";
            EXPECT_EQ(GetGameMode(), ModeStory);
        }
    }
}

// The Return of Alt+Return is no step, held or let go; a Return of its own is.
TEST_F(WindowFit, TheReturnOfTheFullScreenKeyTakesNoStep) {
    storytest::SetScript({storytest::Sjis("一"), storytest::Sjis("二"), storytest::Sjis("三")});
    Open(ModeTitle);
    RunFor(1000);
    int line = CurrentScene().line;
    headless::SetKeyDown(plat::KeyReturn, true);
    Push(plat::EvFullScreenKey);
    RunFor(300);
    headless::SetKeyDown(plat::KeyReturn, false);
    RunFor(300);
    EXPECT_TRUE(headless::FullScreen());
    EXPECT_EQ(CurrentScene().line, line);
    headless::SetKeyDown(plat::KeyReturn, true);  // a Return of its own steps
    Push(plat::EvKeyDown, 0, 0, 0, 0, plat::KeyReturn);
    RunFor(100);
    headless::SetKeyDown(plat::KeyReturn, false);
    EXPECT_EQ(CurrentScene().line, line + 1);
}

TEST_F(WindowFit, TheSizeAndFullScreenAreKeptBesideSetIniForTheNextRun) {
    const std::filesystem::path file = dir / "config" / "akari" / "window.ini";
    // A run that changes nothing writes nothing.
    Push(plat::EvFocusGained);
    Push(plat::EvCloseRequested);
    EXPECT_EQ(RunGame(), 0);
    EXPECT_FALSE(std::filesystem::exists(file));

    TearDown();
    SetUp();
    Push(plat::EvFocusGained);
    Push(plat::EvWindowResized, 1000, 600);
    Push(plat::EvFullScreenKey);
    headless::PushEventAt(500, {plat::EvCloseRequested, 0, 0, 0, 0, {}});
    EXPECT_EQ(RunGame(), 0);
    EXPECT_EQ(storytest::ReadFile(file), "width=1000\nheight=600\nfullscreen=1\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "config" / "akari" / "set.ini"));

    headless::Reset();
    ASSERT_EQ(OpenGame(), 1);
    int w, h;
    headless::WindowSize(&w, &h);
    EXPECT_EQ(w * 10000 + h, 1000 * 10000 + 600) << "the window opens at the kept size";
    EXPECT_TRUE(headless::FullScreen());
    Shutdown();
    plat::CloseWindow();

    storytest::WriteFile(file, "width=20\nheight=99999\nfullscreen=7\n");  // hand-edited
    headless::Reset();
    ASSERT_EQ(OpenGame(), 1);
    headless::WindowSize(&w, &h);
    EXPECT_EQ(w * 10000 + h, 640 * 10000 + 474);
    EXPECT_FALSE(headless::FullScreen());
}

}  // namespace
