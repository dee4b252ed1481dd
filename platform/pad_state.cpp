// What the plugged-in gamepads hold, merged into the events of one pad: a button is down
// while any pad holds it, a stick stands where the pad deflecting it most holds it.
#include "platform/pad_state.h"

#include <cstdint>

namespace {

struct Pad {
    bool plugged;
    int id;
    bool held[plat::PadButtonCount];
    int axes[padstate::AxisCount];
};

// A trigger counts as pressed past half its travel.
constexpr int TriggerPressed = 16384;
// One report changes at most every button and both sticks; the backends take the
// events it makes before the next.
constexpr int QueueSize = 2 * (plat::PadButtonCount + 2);

Pad Pads[padstate::MaxPads];
// What the merged pad last reported.
bool ReportedHeld[plat::PadButtonCount];
int ReportedStick[2][2];
plat::Event Queued[QueueSize];
int QueueHead, QueueCount;

Pad* Find(int id) {
    for (Pad& p : Pads)
        if (p.plugged && p.id == id) return &p;
    return nullptr;
}

void Queue(const plat::Event& ev) {
    if (QueueCount == QueueSize) return;
    Queued[(QueueHead + QueueCount++) % QueueSize] = ev;
}

// The stick's place on the pad that deflects it furthest; (0, 0) with no pad.
void MergedStick(int stick, int* x, int* y) {
    *x = *y = 0;
    int64_t furthest = 0;
    for (const Pad& p : Pads) {
        if (!p.plugged) continue;
        int px = p.axes[stick == plat::PadStickLeft ? padstate::AxisLeftX : padstate::AxisRightX];
        int py = p.axes[stick == plat::PadStickLeft ? padstate::AxisLeftY : padstate::AxisRightY];
        int64_t distance = int64_t(px) * px + int64_t(py) * py;
        if (distance > furthest) {
            furthest = distance;
            *x = px;
            *y = py;
        }
    }
}

// Every difference between what the pads hold and what was last reported becomes an
// event.
void ReportChanges() {
    for (int b = 0; b < plat::PadButtonCount; ++b) {
        bool held = false;
        for (const Pad& p : Pads) held = held || (p.plugged && p.held[b]);
        if (held == ReportedHeld[b]) continue;
        ReportedHeld[b] = held;
        plat::Event ev{};
        ev.type = plat::EvPadButton;
        ev.button = b;
        ev.down = held;
        Queue(ev);
    }
    for (int stick = plat::PadStickLeft; stick <= plat::PadStickRight; ++stick) {
        int x, y;
        MergedStick(stick, &x, &y);
        if (x == ReportedStick[stick][0] && y == ReportedStick[stick][1]) continue;
        ReportedStick[stick][0] = x;
        ReportedStick[stick][1] = y;
        plat::Event ev{};
        ev.type = plat::EvPadStick;
        ev.button = stick;
        ev.x = x;
        ev.y = y;
        Queue(ev);
    }
}

}  // namespace

namespace padstate {

void Reset() {
    for (Pad& p : Pads) p = Pad{};
    for (bool& held : ReportedHeld) held = false;
    for (auto& stick : ReportedStick) stick[0] = stick[1] = 0;
    QueueHead = QueueCount = 0;
}

bool Plug(int pad) {
    if (Find(pad)) return false;
    for (Pad& p : Pads) {
        if (p.plugged) continue;
        p = Pad{};
        p.plugged = true;
        p.id = pad;
        return true;
    }
    return false;
}

void Unplug(int pad) {
    Pad* p = Find(pad);
    if (!p) return;
    p->plugged = false;
    ReportChanges();
}

bool Plugged(int pad) { return Find(pad) != nullptr; }

void Button(int pad, plat::PadButton button, bool down) {
    Pad* p = Find(pad);
    if (!p || button < 0 || button >= plat::PadButtonCount) return;
    p->held[button] = down;
    ReportChanges();
}

void Axis(int pad, PadAxis axis, int value) {
    Pad* p = Find(pad);
    if (!p || axis < 0 || axis >= AxisCount) return;
    p->axes[axis] = value < -32768 ? -32768 : value > 32767 ? 32767 : value;
    if (axis == AxisLT) p->held[plat::PadLT] = value >= TriggerPressed;
    if (axis == AxisRT) p->held[plat::PadRT] = value >= TriggerPressed;
    ReportChanges();
}

bool TakeEvent(plat::Event* ev) {
    if (QueueCount == 0) return false;
    *ev = Queued[QueueHead];
    QueueHead = (QueueHead + 1) % QueueSize;
    --QueueCount;
    return true;
}

}  // namespace padstate
