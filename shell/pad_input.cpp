// A gamepad turned into what the keyboard and mouse give: one table says what each
// button stands for; the left stick moves the pointer and the right one turns the
// wheel, a frame at a time.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/screen_layout.h"
#include "platform/platform.h"
#include "shell/shell.h"
#include "story/screen.h"
#include "story/story.h"

namespace {

// What a button stands for when it is pressed.
enum PadAction {
    AsKey,        // the key beside it
    AsCtrl,       // Ctrl: pressed, and held while the button is
    AsLeftClick,  // a left click where the pointer is
    AsBack,       // in the story a right click (the system menu), elsewhere Backspace
    AsMenu,       // in the story a right click: the system menu
    AsWheelUp,    // one notch of the wheel up: the backlog
    AsVoicing,    // self-voicing on or off
    AsTranslation,  // held: the line's English shown
};

struct PadMapping {
    plat::PadButton button;
    PadAction action;
    plat::Key key;
};

const PadMapping PadTable[] = {
    {plat::PadA, AsLeftClick, plat::KeyNone},
    {plat::PadB, AsBack, plat::KeyNone},
    {plat::PadX, AsKey, plat::KeyA},     // auto mode
    {plat::PadY, AsWheelUp, plat::KeyNone},
    {plat::PadLB, AsKey, plat::KeyS},    // skip what was read
    {plat::PadRB, AsCtrl, plat::KeyCtrl},  // held: skip everything
    {plat::PadLT, AsKey, plat::KeyF5},   // quick save
    {plat::PadRT, AsKey, plat::KeyF9},   // quick load
    {plat::PadStart, AsMenu, plat::KeyNone},
    {plat::PadBack, AsKey, plat::KeyF1},  // preferences
    {plat::PadLeftStickPress, AsVoicing, plat::KeyNone},
    {plat::PadRightStickPress, AsTranslation, plat::KeyNone},  // held: the line's English
    {plat::PadUp, AsKey, plat::KeyUp},
    {plat::PadDown, AsKey, plat::KeyDown},
    {plat::PadLeft, AsKey, plat::KeyLeft},
    {plat::PadRight, AsKey, plat::KeyRight},
};

// A stick's travel inside this (of 32767) counts as at rest: a pad's sticks seldom
// come back to the very middle.
constexpr int DeadZone = 8000;
// The pointer's speed with the left stick pushed all the way, in client pixels a
// second; less pushed, proportionally slower.
constexpr float PointerSpeed = 640.0f;
// The right stick turns the wheel this many notches a second, slightly pushed and all
// the way.
constexpr float SlowestNotches = 4.0f, FastestNotches = 16.0f;

int StickX[2], StickY[2];  // by PadStickLeft and PadStickRight
float PointerCarryX, PointerCarryY;  // the part of a pixel the pointer has yet to move
float WheelClock;  // notches gathered toward the next; a new push turns one at once

// The part of an axis's travel beyond the dead zone, -1 to 1.
float BeyondDeadZone(int value) {
    int travel = std::abs(value);
    if (travel <= DeadZone) return 0.0f;
    float part = std::fmin(float(travel - DeadZone) / float(32767 - DeadZone), 1.0f);
    return value < 0 ? -part : part;
}

// In the story with no page over it, B and Start open the system menu as a right click.
bool StoryShown() {
    const Screen s = CurrentScreen();
    return s == Screen::Story || s == Screen::Choice || s == Screen::QuitPrompt;
}

void Send(plat::EventType type, plat::Key key = plat::KeyNone, int y = 0) {
    plat::Event ev{};
    ev.type = type;
    ev.key = key;
    ev.y = y;
    HandleWindowEvent(ev);
}

// A press of the mouse's button at the pointer, as the window would report it.
void ClickAtPointer(int button) {
    plat::Event ev{};
    ev.type = plat::EvButtonDown;
    ev.button = button;
    ev.clicks = 1;
    ClientToWindow(InputState.MouseX, InputState.MouseY, &ev.x, &ev.y);
    HandleWindowEvent(ev);
}

// An edge of the keyboard's that has no key event of its own here: set for the next
// frame, and as any key press it ends skipping.
void KeyEdge(int* edge) {
    *edge = 1;
    InputState.OtherKey = 1;
    WantFrame(FrameAtOnce);
}

void Pressed(const PadMapping& m) {
    switch (m.action) {
    case AsCtrl: InputState.PadCtrlHeld = 1; [[fallthrough]];
    case AsKey: Send(plat::EvKeyDown, m.key); break;
    case AsLeftClick: ClickAtPointer(1); break;
    case AsMenu:
        if (StoryShown()) ClickAtPointer(3);
        break;
    case AsBack:
        if (StoryShown())
            ClickAtPointer(3);
        else
            KeyEdge(&InputState.BackKey);
        break;
    case AsWheelUp: Send(plat::EvWheel, plat::KeyNone, 1); break;
    case AsVoicing: KeyEdge(&InputState.VoicingKey); break;
    case AsTranslation:
        InputState.TranslationHeld = 1;
        WantFrame(FrameAtOnce);
        break;
    }
}

}  // namespace

void ResetPadInput() {
    StickX[0] = StickX[1] = StickY[0] = StickY[1] = 0;
    PointerCarryX = PointerCarryY = 0.0f;
    WheelClock = 1.0f;
}

void PadButtonChanged(const plat::Event& ev) {
    for (const PadMapping& m : PadTable) {
        if (m.button != ev.button) continue;
        if (ev.down) {
            Pressed(m);
        } else if (m.action == AsCtrl) {
            InputState.PadCtrlHeld = 0;
            WantFrame(FrameAtOnce);  // the key poll sees it let go
        } else if (m.action == AsTranslation) {
            InputState.TranslationHeld = 0;
            WantFrame(FrameAtOnce);
        }
    }
}

void PadStickMoved(const plat::Event& ev) {
    if (ev.button != plat::PadStickLeft && ev.button != plat::PadStickRight) return;
    StickX[ev.button] = ev.x;
    StickY[ev.button] = ev.y;
    if (PadSticksPushed()) WantFrame(FrameWhenDue);
}

bool PadSticksPushed() {
    return BeyondDeadZone(StickX[plat::PadStickLeft]) != 0.0f ||
           BeyondDeadZone(StickY[plat::PadStickLeft]) != 0.0f ||
           BeyondDeadZone(StickY[plat::PadStickRight]) != 0.0f;
}

// The pointer is moved over the picture and the system pointer asked to follow; the
// parts of a pixel left over are kept, so a slight push still moves it, slowly.
void PadSticksFrame(float seconds) {
    float pushX = BeyondDeadZone(StickX[plat::PadStickLeft]);
    float pushY = BeyondDeadZone(StickY[plat::PadStickLeft]);
    float moveX = pushX == 0.0f ? 0.0f : pushX * PointerSpeed * seconds + PointerCarryX;
    float moveY = pushY == 0.0f ? 0.0f : pushY * PointerSpeed * seconds + PointerCarryY;
    int stepX = int(moveX), stepY = int(moveY);
    PointerCarryX = moveX - float(stepX);
    PointerCarryY = moveY - float(stepY);
    if (stepX != 0 || stepY != 0) {
        int x = std::min(std::max(InputState.MouseX + stepX, 0), layout::ClientWidth - 1);
        int y = std::min(std::max(InputState.MouseY + stepY, 0), layout::ClientHeight - 1);
        InputState.MouseX = x;
        InputState.MouseY = y;
        MovePointerTo(x, y);
    }
    float wheel = BeyondDeadZone(StickY[plat::PadStickRight]);
    if (wheel == 0.0f) {
        WheelClock = 1.0f;
        return;
    }
    WheelClock += seconds * (SlowestNotches + (FastestNotches - SlowestNotches) * std::fabs(wheel));
    int notches = int(WheelClock);
    WheelClock -= float(notches);
    InputState.WheelSteps += wheel < 0.0f ? notches : -notches;  // pushed up: the wheel up
}
