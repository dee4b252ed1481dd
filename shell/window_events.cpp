// Window events turned into the InputState and the shell's window state (a pad's
// through pad_input.cpp). Pointer positions arrive in window pixels and are mapped to
// the picture's client pixels.
#include <algorithm>

#include "draw/kaDraw.h"
#include "platform/platform.h"
#include "shell/shell.h"
#include "story/screen.h"
#include "story/story.h"

void WantFrame(int how) { Shell.FrameWanted = std::max(Shell.FrameWanted, how); }

// The press that follows a click as the second of a double click does nothing, so a
// quick double click advances the game once. A press on the bars beside the picture, or
// while the logo plays (no click ends it), does nothing either, and is no first half;
// nor is a press that the wheel or a key came after. The press after it counts,
// whatever the system numbers it.
static void Press(const plat::Event& ev) {
    int x, y;
    int& paired = Shell.PressToPair[ev.button == 1 ? 0 : 1];
    bool second = paired > 0 && ev.clicks == paired + 1;
    bool taken = !second && CurrentScreen() != Screen::Logo && WindowToClient(ev.x, ev.y, &x, &y);
    paired = taken ? ev.clicks : 0;
    if (!taken) return;
    if (ev.button == 1) InputState.LeftClick = 1;
    if (ev.button == 3) InputState.RightClick = 1;
    WantFrame(FrameAtOnce);
}

// The position is kept only while it lies over the picture: a drag that leaves it
// leaves the last position inside. Any move may cross the picture's edge, where the
// system pointer is shown or hidden, so each asks for a frame.
static void PointerMoved(const plat::Event& ev) {
    int x, y;
    if (WindowToClient(ev.x, ev.y, &x, &y)) {
        InputState.MouseX = x;
        InputState.MouseY = y;
    }
    WantFrame(FrameWhenDue);
}

// A Return pressed on its own means the one of Alt+Return was let go, even when no frame
// ran to see it up (a still page rests): it steps the story as any Return does. Escape
// closes the backlog or the preferences first, then leaves full screen, and only then ends the game.
static void KeyPressed(const plat::Event& ev) {
    Shell.PressToPair[0] = Shell.PressToPair[1] = 0;
    if (ev.key == plat::KeyReturn) InputState.ReturnTakenByToggle = 0;
    if (ev.key == plat::KeyA) InputState.AutoKey = 1;
    if (ev.key == plat::KeyF5) InputState.QuickSaveKey = 1;
    if (ev.key == plat::KeyF9) InputState.QuickLoadKey = 1;
    if (ev.key == plat::KeyS)
        InputState.SkipKey = 1;
    else
        InputState.OtherKey = 1;
    if (ev.key == plat::KeyF1) InputState.PreferencesKey = 1;
    if (ev.key == plat::KeyV) InputState.VoicingKey = 1;
    if (ev.key == plat::KeyT) InputState.TranslationHeld = 1;
    if (ev.key == plat::KeyCopy) InputState.CopyKey = 1;
    if (ev.key == plat::KeyUp) InputState.ArrowKey = ArrowUp;
    if (ev.key == plat::KeyDown) InputState.ArrowKey = ArrowDown;
    if (ev.key == plat::KeyLeft) InputState.ArrowKey = ArrowLeft;
    if (ev.key == plat::KeyRight) InputState.ArrowKey = ArrowRight;
    if (ev.key == plat::KeyTab) InputState.TabKey = 1;
    if (ev.key == plat::KeyShiftTab) InputState.TabKey = -1;
    if (ev.key == plat::KeyReturn) InputState.ReturnKey = 1;
    if (ev.key == plat::KeySpace) InputState.SpaceKey = 1;
    if (ev.key == plat::KeyPageUp) InputState.PageUpKey = 1;
    if (ev.key == plat::KeyBackspace) InputState.BackKey = 1;
    if (ev.key == plat::KeyR) InputState.GoBackKey = 1;
    bool pageTakesEscape = CurrentScreen() == Screen::Backlog || CurrentScreen() == Screen::Preferences;
    if (ev.key == plat::KeyEscape && pageTakesEscape) InputState.EscapeKey = 1;
    if (ev.key != plat::KeyEscape || pageTakesEscape) {
        WantFrame(FrameAtOnce);  // Return and Ctrl are read by the frame's key poll
    } else if (Shell.FullScreen) {
        ToggleFullScreen();
    } else {
        Shutdown();
    }
}

static void Resized(const plat::Event& ev) {
    Shell.WindowWidth = ev.x;
    Shell.WindowHeight = ev.y;
    if (!Shell.FullScreen) {
        Shell.WindowedWidth = ev.x;
        Shell.WindowedHeight = ev.y;
    }
    kaDraw::PresentAgain();
    WantFrame(FrameWhenDue);
}

void HandleWindowEvent(const plat::Event& ev) {
    switch (ev.type) {
    case plat::EvPointerMove: PointerMoved(ev); break;
    case plat::EvButtonDown: Press(ev); break;
    case plat::EvKeyDown: KeyPressed(ev); break;
    case plat::EvKeyUp:
        if (ev.key == plat::KeyT) InputState.TranslationHeld = 0;
        WantFrame(FrameAtOnce);
        break;
    case plat::EvFullScreenKey:
        ToggleFullScreen();
        InputState.ReturnTakenByToggle = 1;
        break;
    case plat::EvWheel:
        Shell.PressToPair[0] = Shell.PressToPair[1] = 0;
        InputState.WheelSteps += ev.y;
        WantFrame(FrameAtOnce);
        break;
    case plat::EvCloseRequested:
        if (Shell.CloseState == 0) Shell.CloseState = 1;
        if (Shell.CloseState < 2) Shutdown();
        break;
    case plat::EvFocusGained:
        Shell.AppActive = 1;
        ResetFrameTimer();
        WantFrame(FrameWhenDue);
        break;
    case plat::EvFocusLost:
        Shell.AppActive = 0;
        InputState.TranslationHeld = 0;  // its release goes elsewhere
        if (!Shell.SystemCursorShown) {
            plat::ShowSystemPointer(true);
            Shell.SystemCursorShown = 1;
        }
        break;
    case plat::EvWindowMoved:
        Shell.ClientOriginX = ev.x;
        Shell.ClientOriginY = ev.y;
        break;
    case plat::EvWindowResized: Resized(ev); break;
    case plat::EvExposed: kaDraw::PresentAgain(); break;
    case plat::EvRaiseRequested: plat::RaiseWindow(); break;
    case plat::EvPadButton: PadButtonChanged(ev); break;
    case plat::EvPadStick: PadStickMoved(ev); break;
    case plat::EvPointerCrossed: WantFrame(FrameWhenDue); break;  // the game's pointer comes or goes
    default: break;
    }
}
