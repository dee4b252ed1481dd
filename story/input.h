// What the player did, as the story engine reads it: the pointer, the clicks, the keys.
// The shell fills it from the window's events; the story reads it every frame.
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
    // The real pointer is away from the window (the shell sets it before each frame): the
    // game's own is not drawn.
    int PointerAway;
};
extern InputFields InputState;

// Key-state values of PollKey.
enum { KeyUp = 0, KeyWentDown = 1, KeyWentUp = 2, KeyHeld = 3 };
// Virtual-key codes the frame update polls.
constexpr int VkReturn = 13, VkControl = 17;

enum { ArrowNone = 0, ArrowUp, ArrowDown, ArrowLeft, ArrowRight };

// Forgets every input and any pointer move asked for (the shell, when a game opens).
void ResetInput();
// Called by the main loop after each frame: every one-frame edge back to 0; the pointer's
// position and the states that outlive a frame (full screen shown, a Return taken by
// Alt+Return, a pad's held Ctrl, the pointer away) stay.
void ClearInputEdges();

// Called once a frame by the story for Ctrl and Return: moves *state on from the key's
// state at the previous poll (KeyWentDown, KeyHeld, KeyWentUp, KeyUp). Ctrl is down
// also while a pad holds it (PadCtrlHeld). Any other code reads as a key that is up.
void PollKey(int virtualKey, int* state);

// Asks for the pointer to be put at a client pixel; the main loop moves it once the
// frame is over. A later request in the same frame replaces an earlier one.
void MovePointerTo(int x, int y);
// Called by the main loop after a frame: the position asked for, if any, and the
// request forgotten.
bool TakePointerMove(int* x, int* y);
// Asks for full screen to be switched on or off; the main loop does it after the frame.
void RequestFullScreenToggle();
// Called by the main loop after a frame: true once for each request.
bool TakeFullScreenToggle();
