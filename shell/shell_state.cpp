// The shell's state: frame timing, the pointer, and the one ordered shutdown.
#include <cstdint>

#include "base/frame.h"
#include "platform/platform.h"
#include "shell/shell.h"
#include "story/story.h"

ShellFields Shell;

void ResetShellState() {
    ResetInput();
    ResetPadInput();
    ResetGameStart();
    uint32_t now = plat::Milliseconds();
    Shell = ShellFields{};
    FrameSeconds = 0.0f;
    Shell.SystemCursorShown = 1;
    Shell.LastFrameTime = now;
}

void ResetFrameTimer() {
    FrameSeconds = 0.0f;
    Shell.LastFrameTime = plat::Milliseconds();
}

bool SetPointerPos(int x, int y) {
    int windowX, windowY;
    ClientToWindow(x, y, &windowX, &windowY);
    return plat::WarpPointer(windowX, windowY);
}

// Writes the read marks left unsaved and the reader's place, releases every media
// module once, in a fixed order, then asks the window to close (unless the close request
// is what brought us here).
int Shutdown() {
    if (Shell.ShutdownDone) return 1;
    Shell.ShutdownDone = 1;
    WriteReadMarks();
    if (GameStarted()) WriteResumePoint();
    CloseMedia();
    if (Shell.InstanceLockHeld) {
        plat::ReleaseInstanceLock();
        Shell.InstanceLockHeld = 0;
    }
    Shell.CloseState = 2;
    return 1;
}
