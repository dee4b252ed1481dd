// The input the shell fills, the frame's input the story's screens are offered, the key
// poll of Ctrl and Return, and the pointer the story places or moves.
#include "story/engine/input.h"

#include "base/frame.h"
#include "platform/platform.h"

InputFields InputState;

namespace {

InputFields Frame;  // the input of the frame being run

// The state Ctrl and Return share in the poll, as each poll leaves it.
enum KeyPoll { KeyUp, KeyWentDown, KeyWentUp, KeyHeld };
KeyPoll ClickKeys = KeyUp;
bool Pressed = false;  // the frame's click comes from a press
// A Return that clicked a page's focused item: no press until it is let go.
bool ReturnTakenByPage = false;
// Held Ctrl skips once it has been held a quarter of a second, so that Ctrl+C copies the
// line it was pressed over rather than one skipped to; the copy takes the hold, which
// then skips nothing until Ctrl is let go. A pad's Ctrl waits as long, to skip alike.
constexpr float CtrlSkipDelay = 0.25f;
float CtrlHeldSeconds = 0.0f;
bool CtrlTaken = false;

bool PlaceWanted = false, MoveWanted = false;
int PlaceX, PlaceY, MoveX, MoveY;
bool FullScreenToggleWanted = false;

// KeyWentDown on the poll the key goes down, KeyHeld while it stays down (also when it
// was released at the previous poll), KeyWentUp on the poll it is seen up after being down.
KeyPoll Poll(bool down, KeyPoll last) {
    if (down) return last == KeyUp ? KeyWentDown : KeyHeld;
    return last == KeyWentDown || last == KeyHeld ? KeyWentUp : KeyUp;
}

}  // namespace

void ResetInput() {
    InputState = InputFields{};
    Frame = InputFields{};
    ClickKeys = KeyUp;
    Pressed = ReturnTakenByPage = CtrlTaken = false;
    CtrlHeldSeconds = 0.0f;
    PlaceWanted = MoveWanted = false;
    FullScreenToggleWanted = false;
}

// Built from the fields that stay, so that an edge added to InputFields is cleared too.
void ClearInputEdges() {
    InputFields kept{};
    kept.MouseX = InputState.MouseX;
    kept.MouseY = InputState.MouseY;
    kept.FullScreenShown = InputState.FullScreenShown;
    kept.ReturnTakenByToggle = InputState.ReturnTakenByToggle;
    kept.PadCtrlHeld = InputState.PadCtrlHeld;
    kept.TranslationHeld = InputState.TranslationHeld;
    kept.PointerAway = InputState.PointerAway;
    InputState = kept;
}

void BeginFrameInput() {
    Frame = InputState;
    if (Frame.ReturnKey) ReturnTakenByPage = false;  // a fresh press
}
const InputFields& FrameInput() { return Frame; }
void TakeClick() { Frame.LeftClick = 0; }
void TakeRightClick() { Frame.RightClick = 0; }

void TakePageInput() {
    Frame.LeftClick = Frame.RightClick = 0;
    Frame.WheelSteps = Frame.BackKey = 0;
}
void TakePreferencesKey() { Frame.PreferencesKey = 0; }
void TakeArrowKey() { Frame.ArrowKey = ArrowNone; }

void TakeFocusPress() {
    if (Frame.ReturnKey) ReturnTakenByPage = true;
    Frame.ReturnKey = Frame.SpaceKey = 0;
}

void MapKeysToClick() {
    bool pressed = Frame.LeftClick != 0;  // a mouse press in this frame
    const bool ctrlDown = plat::KeyIsDown(plat::KeyCtrl) || InputState.PadCtrlHeld;
    CtrlHeldSeconds = ctrlDown ? CtrlHeldSeconds + FrameSeconds : 0.0f;
    CtrlTaken = ctrlDown && (CtrlTaken || Frame.CopyKey);
    bool ctrl = ctrlDown && !CtrlTaken && CtrlHeldSeconds >= CtrlSkipDelay;
    ClickKeys = Poll(ctrl, ClickKeys);
    if (ClickKeys == KeyWentUp) Frame.LeftClick = 0;
    if (ClickKeys == KeyHeld) Frame.LeftClick = 1;
    // The Return of Alt+Return, or of a page's focused item, is no press until let go.
    bool ret = plat::KeyIsDown(plat::KeyReturn);
    if (!ret) ReturnTakenByPage = false;
    if (InputState.ReturnTakenByToggle || ReturnTakenByPage) ret = false;
    ClickKeys = Poll(ret, ClickKeys);
    if (ClickKeys == KeyWentDown || Frame.ReturnKey) {
        Frame.LeftClick = 1;
        pressed = true;
    } else if (ClickKeys == KeyHeld) {
        Frame.LeftClick = 0;
    }
    if (Frame.SpaceKey) {
        Frame.LeftClick = 1;
        pressed = true;
    }
    Pressed = pressed;
}

bool ClickPressed() { return Pressed; }
bool ClickKeysBusy() {
    bool ctrlWaiting = !CtrlTaken && CtrlHeldSeconds < CtrlSkipDelay &&
                       (plat::KeyIsDown(plat::KeyCtrl) || InputState.PadCtrlHeld);
    return ClickKeys != KeyUp || ctrlWaiting;
}

void PlacePointer(int x, int y) {
    Frame.MouseX = x;
    Frame.MouseY = y;
    PlaceWanted = true;
    PlaceX = x;
    PlaceY = y;
}

void MovePointerTo(int x, int y) {
    MoveWanted = true;
    MoveX = x;
    MoveY = y;
}

bool TakePointerPlace(int* x, int* y) {
    if (!PlaceWanted) return false;
    PlaceWanted = false;
    *x = PlaceX;
    *y = PlaceY;
    return true;
}

bool TakePointerMove(int* x, int* y) {
    if (!MoveWanted) return false;
    MoveWanted = false;
    *x = MoveX;
    *y = MoveY;
    return true;
}

void RequestFullScreenToggle() { FullScreenToggleWanted = true; }

bool TakeFullScreenToggle() {
    bool wanted = FullScreenToggleWanted;
    FullScreenToggleWanted = false;
    return wanted;
}
