// The input the story reads, the key poll of Ctrl and Return, and the pointer moves the
// story asks for.
#include "story/input.h"

#include "platform/platform.h"

InputFields InputState;

static bool PointerMoveWanted = false;
static int PointerMoveX, PointerMoveY;
static bool FullScreenToggleWanted = false;

void ResetInput() {
    InputState = InputFields{};
    PointerMoveWanted = false;
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
    kept.PointerAway = InputState.PointerAway;
    InputState = kept;
}

void RequestFullScreenToggle() { FullScreenToggleWanted = true; }

bool TakeFullScreenToggle() {
    bool wanted = FullScreenToggleWanted;
    FullScreenToggleWanted = false;
    return wanted;
}

// 1 on the poll the key goes down, 3 while it stays down (also when it was released at
// the previous poll), 2 on the poll it is seen up after being down.
void PollKey(int virtualKey, int* state) {
    plat::Key key = virtualKey == VkControl ? plat::KeyCtrl
                    : virtualKey == VkReturn ? plat::KeyReturn
                                             : plat::KeyNone;
    bool down = key != plat::KeyNone && plat::KeyIsDown(key);
    if (key == plat::KeyCtrl && InputState.PadCtrlHeld) down = true;
    // The Return of Alt+Return toggled full screen: it is no press until it is let go.
    if (key == plat::KeyReturn && InputState.ReturnTakenByToggle) {
        if (!down) InputState.ReturnTakenByToggle = 0;
        down = false;
    }
    if (down)
        *state = *state == KeyUp ? KeyWentDown : KeyHeld;
    else
        *state = (*state == KeyWentDown || *state == KeyHeld) ? KeyWentUp : KeyUp;
}

void MovePointerTo(int x, int y) {
    PointerMoveWanted = true;
    PointerMoveX = x;
    PointerMoveY = y;
}

bool TakePointerMove(int* x, int* y) {
    if (!PointerMoveWanted) return false;
    PointerMoveWanted = false;
    *x = PointerMoveX;
    *y = PointerMoveY;
    return true;
}
