// Start-up in its fixed order and the message loop: every waiting event before a
// frame, frames only while the window is active, a blocking wait while it is not.
#include <cstdlib>
#include <ctime>

#include "platform/platform.h"
#include "shell/shell.h"
#include "sound/kaMusic.h"
#include "story/story.h"

const char* const GameCaption = "灯りの駅";

// How long one inactive pass blocks when nothing happens; any event ends it sooner.
static constexpr int InactiveWaitMs = 1000;
static constexpr uint32_t MusicPollIntervalMs = 1000;

int OpenGame() {
    ResetShellState();
    if (!CheckSingleInstance(GameCaption)) return 0;
    if (!plat::OpenWindow(GameCaption, ClientWidth, ClientHeight)) {
        if (Shell.InstanceLockHeld) plat::ReleaseInstanceLock();
        Shell.InstanceLockHeld = 0;
        return -1;
    }
    plat::ClientOrigin(&Shell.ClientOriginX, &Shell.ClientOriginY);
    std::srand(unsigned(std::time(nullptr)));
    StartGame();
    ResetFrameTimer();
    return 1;
}

// A window that cannot be made is a failure the player must hear of, unlike a second
// copy that hands over to the first.
int RunGame() {
    int opened = OpenGame();
    if (opened < 0) return 1;
    if (opened > 0) {
        while (RunLoopPass()) {
        }
        plat::CloseWindow();
    }
    return 0;
}

bool RunLoopPass() {
    plat::Event ev;
    while (Shell.CloseState != 2 && plat::PollEvent(&ev)) HandleWindowEvent(ev);
    if (Shell.CloseState == 2) return false;
    if (!Shell.AppActive) {
        if (plat::WaitEvent(&ev, InactiveWaitMs)) HandleWindowEvent(ev);
    } else {
        RunFrame();
    }
    return Shell.CloseState != 2;
}

// Asks the music module once a second whether a piece that does not loop has ended.
// The due time is compared as a signed difference so the clock's wrap does not make
// every frame poll.
static void PollMusicWhenDue() {
    if (!kaMusic::MusicPlaying || kaMusic::MusicLoop) return;
    uint32_t now = plat::Milliseconds();
    if (int32_t(now - Shell.NextMusicPoll) < 0) return;
    kaMusic::PollMusicEnd();
    Shell.NextMusicPoll = plat::Milliseconds() + MusicPollIntervalMs;
}

// Over the client area the game draws its own pointer; the system's is hidden there.
// It is shown or hidden only when the pointer crosses the edge.
static void FollowPointerAcrossTheEdge() {
    int x, y;
    plat::GlobalPointer(&x, &y);
    bool inside = x >= Shell.ClientOriginX && y >= Shell.ClientOriginY &&
                  x < Shell.ClientOriginX + ClientWidth && y < Shell.ClientOriginY + ClientHeight;
    if (inside && Shell.SystemCursorShown) {
        plat::ShowSystemPointer(false);
        Shell.SystemCursorShown = 0;
    } else if (!inside && !Shell.SystemCursorShown) {
        plat::ShowSystemPointer(true);
        Shell.SystemCursorShown = 1;
    }
}

void RunFrame() {
    uint32_t now = plat::Milliseconds();
    Shell.FrameSeconds = float(double(uint32_t(now - Shell.LastFrameTime)) * 0.001);
    Shell.LastFrameTime = plat::Milliseconds();
    if (Shell.GameStarted == 1) FrameUpdate();
    PollMusicWhenDue();
    InputState.LeftClick = 0;
    InputState.RightClick = 0;
    InputState.WheelSteps = InputState.AutoKey = InputState.EscapeKey = 0;
    FollowPointerAcrossTheEdge();
}
