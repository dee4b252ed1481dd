// What the SDL2 backend's files share: the game window and the single-instance
// lock's wake-up check.
#pragma once
#include <SDL.h>

namespace sdlplat {

// The game window; nullptr before OpenWindow and after CloseWindow.
extern SDL_Window* Window;

// True once for every raise request another copy has sent since the last call.
bool TakeRaiseRequest();

// Forgets the presented frame and its pacing (the window surface goes with the window).
void ResetPresentation();

}  // namespace sdlplat
