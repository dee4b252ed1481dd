// Window events turned into the InputState and the shell's window state.
#include "platform/platform.h"
#include "shell/shell.h"
#include "story/story.h"

// The second press of a double click (clicks 2, 4, ...) does nothing, so a quick
// double click advances the game once.
static void Press(const plat::Event& ev) {
    if (ev.clicks % 2 == 0) return;
    if (ev.button == 1) InputState.LeftClick = 1;
    if (ev.button == 3) InputState.RightClick = 1;
}

// The position is kept only while it lies over the client area: a drag that leaves the
// window leaves the last position inside it.
static void PointerMoved(const plat::Event& ev) {
    if (ev.x < 0 || ev.y < 0 || ev.x >= ClientWidth || ev.y >= ClientHeight) return;
    InputState.MouseX = ev.x;
    InputState.MouseY = ev.y;
}

void HandleWindowEvent(const plat::Event& ev) {
    switch (ev.type) {
    case plat::EvPointerMove: PointerMoved(ev); break;
    case plat::EvButtonDown: Press(ev); break;
    case plat::EvKeyDown:
        if (ev.key == plat::KeyEscape && BacklogOpen) InputState.EscapeKey = 1;
        else if (ev.key == plat::KeyEscape) Shutdown();
        if (ev.key == plat::KeyA) InputState.AutoKey = 1;
        break;
    case plat::EvWheel: InputState.WheelSteps += ev.y; break;
    case plat::EvCloseRequested:
        if (Shell.CloseState == 0) Shell.CloseState = 1;
        if (Shell.CloseState < 2) Shutdown();
        break;
    case plat::EvFocusGained:
        Shell.AppActive = 1;
        ResetFrameTimer();
        break;
    case plat::EvFocusLost:
        Shell.AppActive = 0;
        if (!Shell.SystemCursorShown) {
            plat::ShowSystemPointer(true);
            Shell.SystemCursorShown = 1;
        }
        break;
    case plat::EvWindowMoved:
        Shell.ClientOriginX = ev.x;
        Shell.ClientOriginY = ev.y;
        break;
    case plat::EvExposed: plat::PresentAgain(); break;
    case plat::EvRaiseRequested: plat::RaiseWindow(); break;
    default: break;
    }
}
