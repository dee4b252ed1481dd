// What the plugged-in gamepads hold, kept by both backends: each pad's buttons and axes
// as its driver reports them, merged into the events of one pad (platform.h's
// EvPadButton and EvPadStick), so that any pad acts and one unplugged lets go of what
// it held.
#pragma once
#include "platform/platform.h"

namespace padstate {

constexpr int MaxPads = 8;  // pads past these are not listened to
// The axes as a pad reports them: the sticks -32768 to 32767 (right and down
// positive), the triggers 0 to 32767.
enum PadAxis { AxisLeftX, AxisLeftY, AxisRightX, AxisRightY, AxisLT, AxisRT, AxisCount };

// Forgets every pad and every event not yet taken.
void Reset();
// A pad comes, named by the driver's number for it; false when it is there already or
// there is no room. One that goes lets go of its buttons and its sticks come to rest.
bool Plug(int pad);
void Unplug(int pad);
bool Plugged(int pad);
// What a plugged pad reports; a pad not plugged is not listened to.
void Button(int pad, plat::PadButton button, bool down);
void Axis(int pad, PadAxis axis, int value);
// The next change of the merged pad, in the order they came; false when none waits.
bool TakeEvent(plat::Event* ev);

}  // namespace padstate
