// SDL2 backend: gamepads through SDL's game controller API and its standard mapping,
// plugged in and out while the game runs; what they hold is merged by pad_state.cpp.
#include <SDL.h>

#include "platform/pad_state.h"
#include "platform/sdl_internal.h"

namespace {

plat::PadButton ButtonOf(Uint8 button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A: return plat::PadA;
    case SDL_CONTROLLER_BUTTON_B: return plat::PadB;
    case SDL_CONTROLLER_BUTTON_X: return plat::PadX;
    case SDL_CONTROLLER_BUTTON_Y: return plat::PadY;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return plat::PadLB;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return plat::PadRB;
    case SDL_CONTROLLER_BUTTON_START: return plat::PadStart;
    case SDL_CONTROLLER_BUTTON_BACK: return plat::PadBack;
    case SDL_CONTROLLER_BUTTON_LEFTSTICK: return plat::PadLeftStickPress;
    case SDL_CONTROLLER_BUTTON_RIGHTSTICK: return plat::PadRightStickPress;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return plat::PadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return plat::PadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return plat::PadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return plat::PadRight;
    default: return plat::PadButtonCount;  // not one the game listens to
    }
}

padstate::PadAxis AxisOf(Uint8 axis) {
    switch (axis) {
    case SDL_CONTROLLER_AXIS_LEFTX: return padstate::AxisLeftX;
    case SDL_CONTROLLER_AXIS_LEFTY: return padstate::AxisLeftY;
    case SDL_CONTROLLER_AXIS_RIGHTX: return padstate::AxisRightX;
    case SDL_CONTROLLER_AXIS_RIGHTY: return padstate::AxisRightY;
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT: return padstate::AxisLT;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT: return padstate::AxisRT;
    default: return padstate::AxisCount;
    }
}

// A pad SDL found: opened when there is room for it. The pads plugged in before the
// game started arrive this way too.
void Added(int deviceIndex) {
    SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0 || padstate::Plugged(id)) return;
    SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex);
    if (pad && !padstate::Plug(id)) SDL_GameControllerClose(pad);
}

void Removed(SDL_JoystickID id) {
    if (!padstate::Plugged(id)) return;
    SDL_GameController* pad = SDL_GameControllerFromInstanceID(id);
    if (pad) SDL_GameControllerClose(pad);
    padstate::Unplug(id);
}

}  // namespace

namespace sdlplat {

// Without the subsystem (no joystick support here) the game simply hears no pad.
void OpenPads() {
    padstate::Reset();
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return;
#ifdef AKARI_TEST_PAD
    AttachTestPad();
#endif
}

// Leaving the subsystem closes every pad still open.
void ClosePads() {
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER)) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    padstate::Reset();
}

bool IsPadEvent(const SDL_Event& e) {
    return e.type == SDL_CONTROLLERDEVICEADDED || e.type == SDL_CONTROLLERDEVICEREMOVED ||
           e.type == SDL_CONTROLLERBUTTONDOWN || e.type == SDL_CONTROLLERBUTTONUP ||
           e.type == SDL_CONTROLLERAXISMOTION;
}

void HandlePadEvent(const SDL_Event& e) {
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED: Added(e.cdevice.which); break;
    case SDL_CONTROLLERDEVICEREMOVED: Removed(e.cdevice.which); break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        padstate::Button(e.cbutton.which, ButtonOf(e.cbutton.button),
                         e.cbutton.state == SDL_PRESSED);
        break;
    case SDL_CONTROLLERAXISMOTION:
        padstate::Axis(e.caxis.which, AxisOf(e.caxis.axis), e.caxis.value);
        break;
    default: break;
    }
}

bool TakePadEvent(plat::Event* ev) {
#ifdef AKARI_TEST_PAD
    DriveTestPad();
#endif
    return padstate::TakeEvent(ev);
}

}  // namespace sdlplat
