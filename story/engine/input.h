// What the player did: the pointer, the clicks, the keys. The shell fills InputState from
// the window's events; the story reads it only through the frame's input, a copy made
// whole as each frame begins, which the screens are offered in turn.
#pragma once

// The click flags and the other edges live one frame: the main loop clears them after
// the frame.
struct InputFields {
    int MouseX, MouseY;   // client pixels, last position seen over the window
    int LeftClick;        // the one signal to continue
    int RightClick;
    // One-frame edges of the additions beside the original input: wheel notches turned
    // (up positive), the A key, the S key, Escape while the backlog holds it, F5, F9
    // and any other key pressed.
    int WheelSteps;
    int AutoKey;
    int SkipKey;
    int EscapeKey;
    int QuickSaveKey;
    int QuickLoadKey;
    int OtherKey;
    // F1, and an arrow key (one of the Arrow values) for the preferences.
    int PreferencesKey;
    int ArrowKey;
    // The V key: self-voicing on or off.
    int VoicingKey;
    // R: back to the backlog line under the pointer.
    int GoBackKey;
    // Whether the window shows full screen, as the shell last set it.
    int FullScreenShown;
    // Alt+Return toggled full screen: its Return is no press until it is let go.
    int ReturnTakenByToggle;
    // The keyboard focus's edges: Tab (1) or Shift+Tab (-1), Return and Space pressed,
    // Page Up, and the key that leaves the menu or a page as its return button would
    // (Backspace; also a pad's B).
    int TabKey;
    int ReturnKey;
    int SpaceKey;
    int PageUpKey;
    int BackKey;
    // A gamepad's button that stands for Ctrl is held: the key poll reads Ctrl as down.
    int PadCtrlHeld;
    // T or the pad's right stick is held: the line's English is shown.
    int TranslationHeld;
    // Ctrl+C: the line shown goes on the clipboard.
    int CopyKey;
    // The real pointer is away from the window (the shell sets it before each frame): the
    // game's own is not drawn.
    int PointerAway;
};
extern InputFields InputState;

enum { ArrowNone = 0, ArrowUp, ArrowDown, ArrowLeft, ArrowRight };

// Forgets every input and any pointer move asked for (the shell, when a game opens).
void ResetInput();
// Called by the main loop after each frame: every one-frame edge back to 0; the pointer's
// position and the states that outlive a frame (full screen shown, a Return taken by
// Alt+Return, a pad's held Ctrl, the pointer away) stay.
void ClearInputEdges();

// ---- The frame's input ----------------------------------------------------------------

// Called as a frame begins: the frame's input made whole from InputState.
void BeginFrameInput();
// The input of the frame being run. A screen that acts on a click or a key takes it, and
// the screens offered the input after it in the frame do not see it again.
const InputFields& FrameInput();
void TakeClick();
void TakeRightClick();
// A page over the story takes every click, the wheel and Backspace of its frame.
void TakePageInput();
void TakePreferencesKey();
// The frame's arrow key, taken by the word box's focus.
void TakeArrowKey();
// Return or Space pressed the focused item of a page: the story does not see them again
// should the click close the page, and that Return is no press until it is let go.
void TakeFocusPress();

// Called once a frame by the story, after the pages: Ctrl and Return polled (both keys
// share one state, so the Return poll starts from what the Ctrl poll left) and mapped to
// the frame's click. Ctrl held clicks every frame once it has been held a quarter of a
// second, from the frame after on, until Ctrl+C takes it; Return clicks once
// per press, and while it is held (and in the frame of its release) a click is dropped.
// Space clicks once per press, as Return does. A Return pressed and let go between two
// polls (a quick tap during a long frame) is seen only by its key event, and clicks all
// the same. Ctrl is down also while a pad holds it.
void MapKeysToClick();
// The frame's click comes from a press (a mouse button, Return or Space), not from held
// Ctrl alone.
bool ClickPressed();
// Ctrl or Return is down or was let go at the last poll (or Ctrl waits to skip): the next
// frame polls them again.
bool ClickKeysBusy();

// ---- The pointer the story places -------------------------------------------------------

// The game's pointer is at a client pixel from now on, for the rest of this frame and,
// after it, until the real pointer moves; the real one is not moved.
void PlacePointer(int x, int y);
// Asks for the real pointer to be put at a client pixel; the main loop moves it once the
// frame is over. A later request in the same frame replaces an earlier one.
void MovePointerTo(int x, int y);
// Called by the main loop after a frame: the position placed or asked for, if any, and
// the request forgotten.
bool TakePointerPlace(int* x, int* y);
bool TakePointerMove(int* x, int* y);
// Asks for full screen to be switched on or off; the main loop does it after the frame.
void RequestFullScreenToggle();
// Called by the main loop after a frame: true once for each request.
bool TakeFullScreenToggle();
