// SDL2 backend: SDL events turned into the game's events (the pads' through
// sdl_pad.cpp), the blocking wait and the millisecond clock.
#include <SDL.h>

#include <algorithm>

#include "platform/platform.h"
#include "platform/sdl_internal.h"

namespace {

// The longest the wait blocks in SDL before it looks at the single-instance socket.
constexpr Uint32 WaitSliceMs = 50;
// While a joystick is plugged in, SDL's own wait looks at it every millisecond, which
// keeps a resting game busy; the wait looks this often instead, which a player does not
// feel.
constexpr Uint32 PadWaitSliceMs = 10;

plat::Key KeyOf(SDL_Scancode code) {
    switch (code) {
    case SDL_SCANCODE_ESCAPE: return plat::KeyEscape;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_RETURN2:
    case SDL_SCANCODE_KP_ENTER: return plat::KeyReturn;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL: return plat::KeyCtrl;
    case SDL_SCANCODE_A: return plat::KeyA;
    case SDL_SCANCODE_F5: return plat::KeyF5;
    case SDL_SCANCODE_F9: return plat::KeyF9;
    case SDL_SCANCODE_S: return plat::KeyS;
    case SDL_SCANCODE_F1: return plat::KeyF1;
    case SDL_SCANCODE_UP: return plat::KeyUp;
    case SDL_SCANCODE_DOWN: return plat::KeyDown;
    case SDL_SCANCODE_LEFT: return plat::KeyLeft;
    case SDL_SCANCODE_RIGHT: return plat::KeyRight;
    case SDL_SCANCODE_TAB: return plat::KeyTab;
    case SDL_SCANCODE_SPACE: return plat::KeySpace;
    case SDL_SCANCODE_PAGEUP: return plat::KeyPageUp;
    case SDL_SCANCODE_BACKSPACE: return plat::KeyBackspace;
    case SDL_SCANCODE_V: return plat::KeyV;
    case SDL_SCANCODE_R: return plat::KeyR;
    case SDL_SCANCODE_T: return plat::KeyT;
    case SDL_SCANCODE_C: return plat::KeyCopy;
    default: return plat::KeyNone;
    }
}

// Fills ev from an SDL event the game cares about; false for every other event.
bool Translate(const SDL_Event& e, plat::Event* ev) {
    *ev = plat::Event{};
    if (sdlplat::IsPadEvent(e)) {
        sdlplat::HandlePadEvent(e);
        return sdlplat::TakePadEvent(ev);
    }
    switch (e.type) {
    case SDL_QUIT: ev->type = plat::EvCloseRequested; return true;
    case SDL_MOUSEMOTION:
        ev->type = plat::EvPointerMove;
        ev->x = e.motion.x;
        ev->y = e.motion.y;
        return true;
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_RIGHT)
            return false;
        ev->type = plat::EvButtonDown;
        ev->button = e.button.button == SDL_BUTTON_LEFT ? 1 : 3;
        ev->clicks = e.button.clicks;
        ev->x = e.button.x;
        ev->y = e.button.y;
        return true;
    case SDL_MOUSEWHEEL: {
        int notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        if (notches == 0) return false;
        ev->type = plat::EvWheel;
        ev->y = notches;
        return true;
    }
    case SDL_KEYDOWN:
        if (e.key.repeat) return false;
        if (e.key.keysym.scancode == SDL_SCANCODE_F11 ||
            (KeyOf(e.key.keysym.scancode) == plat::KeyReturn && (e.key.keysym.mod & KMOD_ALT))) {
            ev->type = plat::EvFullScreenKey;
            return true;
        }
        ev->key = KeyOf(e.key.keysym.scancode);
        if (ev->key == plat::KeyNone) return false;
        if (ev->key == plat::KeyTab && (e.key.keysym.mod & KMOD_SHIFT)) ev->key = plat::KeyShiftTab;
        if (ev->key == plat::KeyCopy && !(e.key.keysym.mod & KMOD_CTRL)) return false;
        ev->type = plat::EvKeyDown;
        return true;
    case SDL_KEYUP:
        if (KeyOf(e.key.keysym.scancode) != plat::KeyT) return false;
        ev->key = plat::KeyT;
        ev->type = plat::EvKeyUp;
        return true;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: ev->type = plat::EvFocusGained; return true;
        case SDL_WINDOWEVENT_FOCUS_LOST: ev->type = plat::EvFocusLost; return true;
        case SDL_WINDOWEVENT_ENTER:
        case SDL_WINDOWEVENT_LEAVE: ev->type = plat::EvPointerCrossed; return true;
        case SDL_WINDOWEVENT_CLOSE: ev->type = plat::EvCloseRequested; return true;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_RESTORED: ev->type = plat::EvExposed; return true;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            ev->type = plat::EvWindowResized;
            ev->x = e.window.data1;
            ev->y = e.window.data2;
            return true;
        case SDL_WINDOWEVENT_MOVED:
            ev->type = plat::EvWindowMoved;
            ev->x = e.window.data1;
            ev->y = e.window.data2;
            return true;
        default: return false;
        }
    default: return false;
    }
}

void RaiseEvent(plat::Event* ev) {
    *ev = plat::Event{};
    ev->type = plat::EvRaiseRequested;
}

}  // namespace

namespace plat {

bool PollEvent(Event* ev) {
    if (sdlplat::TakeRaiseRequest()) {
        RaiseEvent(ev);
        return true;
    }
    if (sdlplat::TakePadEvent(ev)) return true;
    SDL_Event e;
    while (SDL_PollEvent(&e))
        if (Translate(e, ev)) return true;
    return false;
}

// SDL's wait sleeps on the display connection; it cannot see the instance socket, so
// it is woken every WaitSliceMs to look there too. With a joystick plugged in it would
// not sleep at all: the wait then looks for events every PadWaitSliceMs.
bool WaitEvent(Event* ev, int timeoutMs) {
    Uint32 start = SDL_GetTicks();
    for (;;) {
        if (sdlplat::TakeRaiseRequest()) {
            RaiseEvent(ev);
            return true;
        }
        if (sdlplat::TakePadEvent(ev)) return true;
        Uint32 spent = SDL_GetTicks() - start;
        if (timeoutMs >= 0 && spent >= Uint32(timeoutMs)) return false;
        Uint32 slice = WaitSliceMs;
        if (timeoutMs >= 0 && Uint32(timeoutMs) - spent < slice) slice = Uint32(timeoutMs) - spent;
        SDL_Event e;
        if (!SDL_WasInit(SDL_INIT_EVENTS)) {
            SDL_Delay(slice);
        } else if (SDL_WasInit(SDL_INIT_JOYSTICK) && SDL_NumJoysticks() > 0) {
            if (!SDL_PollEvent(&e))
                SDL_Delay(std::min(slice, PadWaitSliceMs));
            else if (Translate(e, ev))
                return true;
        } else if (SDL_WaitEventTimeout(&e, int(slice)) && Translate(e, ev)) {
            return true;
        }
    }
}

uint32_t Milliseconds() { return SDL_GetTicks(); }

}  // namespace plat
