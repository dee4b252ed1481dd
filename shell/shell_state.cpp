// The shell state the story engine reads and writes: input, frame timing, game mode,
// the pointer, and the one ordered shutdown.
#include <cstdint>

#include "draw/kaDraw.h"
#include "platform/platform.h"
#include "shell/shell.h"
#include "sound/kaMusic.h"
#include "sound/kaSound.h"

InputFields InputState;
ShellFields Shell;

static int GameMode = -1;  // the logo
static int CursorVisible = 0;

void ResetShellState() {
    GameMode = -1;
    CursorVisible = 0;
    InputState = InputFields{};
    uint32_t now = plat::Milliseconds();
    Shell = ShellFields{};
    Shell.SystemCursorShown = 1;
    Shell.LastFrameTime = now;
    Shell.NextMusicPoll = now + 1000;
}

void ResetFrameTimer() {
    Shell.FrameSeconds = 0.0f;
    Shell.LastFrameTime = plat::Milliseconds();
}

// Key-state tracker: 1 on the poll the key goes down, 3 while it stays down (also when
// it was released at the previous poll), 2 on the poll it is seen up after being down.
void PollKey(int virtualKey, int* state) {
    plat::Key key = virtualKey == VkControl ? plat::KeyCtrl
                    : virtualKey == VkReturn ? plat::KeyReturn
                                             : plat::KeyNone;
    bool down = key != plat::KeyNone && plat::KeyIsDown(key);
    // The Return of Alt+Return toggled full screen: it is no press until it is let go.
    if (key == plat::KeyReturn && Shell.ReturnTakenByToggle) {
        if (!down) Shell.ReturnTakenByToggle = 0;
        down = false;
    }
    if (down)
        *state = *state == KeyUp ? KeyWentDown : KeyHeld;
    else
        *state = (*state == KeyWentDown || *state == KeyHeld) ? KeyWentUp : KeyUp;
}

bool SetPointerPos(int x, int y) {
    int windowX, windowY;
    ClientToWindow(x, y, &windowX, &windowY);
    return plat::WarpPointer(windowX, windowY);
}

void SetCursorVisible(int visible) { CursorVisible = visible; }
int GetCursorVisible() { return CursorVisible; }
void SetGameMode(int mode) { GameMode = mode; }
int GetGameMode() { return GameMode; }

// Releases every media module once, in a fixed order, then asks the window to close
// (unless the close request is what brought us here).
int Shutdown() {
    if (Shell.ShutdownDone) return 1;
    Shell.ShutdownDone = 1;
    kaMusic::CloseMusic();
    kaDraw::FreeText();
    kaSound::Release();
    kaDraw::CloseScreen();
    if (Shell.InstanceLockHeld) {
        plat::ReleaseInstanceLock();
        Shell.InstanceLockHeld = 0;
    }
    Shell.CloseState = 2;
    return 1;
}
