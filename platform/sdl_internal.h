// What the SDL2 backend's files share: the game window, the single-instance lock's
// wake-up check and the gamepads.
#pragma once
#include <SDL.h>

#include "platform/platform.h"

namespace sdlplat {

// The game window; nullptr before OpenWindow and after CloseWindow.
extern SDL_Window* Window;

// True once for every raise request another copy has sent since the last call.
bool TakeRaiseRequest();

// Forgets the presented frame and its pacing (the window surface goes with the window).
void ResetPresentation();

// The gamepads, listened to from OpenWindow to CloseWindow.
void OpenPads();
void ClosePads();
// SDL's pad events (plugged, unplugged, a button, an axis) go to HandlePadEvent; what
// they change is taken as the game's events by TakePadEvent, before SDL's next.
bool IsPadEvent(const SDL_Event& e);
void HandlePadEvent(const SDL_Event& e);
bool TakePadEvent(plat::Event* ev);

#ifdef AKARI_TEST_PAD
// The pad test's program only (test_pad.cpp): a virtual pad plugged in as the pads
// open, set each time events are taken from the lines its test writes.
void AttachTestPad();
void DriveTestPad();
#endif

}  // namespace sdlplat
