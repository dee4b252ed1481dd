// SDL2 backend: the frame reaches the window through the window surface (an X11
// shared-memory image), paced by sleeping to the display's refresh rate.
#include <SDL.h>

#include "platform/platform.h"
#include "platform/sdl_internal.h"

namespace {

constexpr int DefaultRefreshHz = 60;

bool Presented = false;     // the window surface holds a frame
Uint64 NextDeadline = 0;    // performance-counter time the next frame may be shown

// The window surface never waits for the vertical blank, so the frame rate is held to
// the display's refresh by sleeping until the next period starts. A frame that came
// late starts a new schedule instead of being followed by a burst.
void PaceToRefresh() {
    SDL_DisplayMode mode;
    int hz = DefaultRefreshHz;
    int display = sdlplat::Window ? SDL_GetWindowDisplayIndex(sdlplat::Window) : 0;
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 && mode.refresh_rate > 0)
        hz = mode.refresh_rate;
    Uint64 freq = SDL_GetPerformanceFrequency();
    Uint64 period = freq / Uint64(hz);
    Uint64 now = SDL_GetPerformanceCounter();
    if (NextDeadline == 0 || now >= NextDeadline + period) {
        NextDeadline = now + period;
        return;
    }
    if (now < NextDeadline) SDL_Delay(Uint32((NextDeadline - now) * 1000 / freq));
    NextDeadline += period;
}

}  // namespace

namespace sdlplat {
void ResetPresentation() {
    Presented = false;
    NextDeadline = 0;
}
}  // namespace sdlplat

namespace plat {

// Paced even when the window surface cannot be had, so that the frame loop never spins.
void Present(const uint32_t* pixels, int pitchBytes, int width, int height) {
    SDL_Surface* surface =
        pixels && sdlplat::Window ? SDL_GetWindowSurface(sdlplat::Window) : nullptr;
    if (surface && (!SDL_MUSTLOCK(surface) || SDL_LockSurface(surface) == 0)) {
        if (width > surface->w) width = surface->w;
        if (height > surface->h) height = surface->h;
        SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_RGB888, pixels, pitchBytes,
                          surface->format->format, surface->pixels, surface->pitch);
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
        SDL_UpdateWindowSurface(sdlplat::Window);
        Presented = true;
    }
    PaceToRefresh();
}

void PresentAgain() {
    if (Presented && sdlplat::Window) SDL_UpdateWindowSurface(sdlplat::Window);
}

}  // namespace plat
