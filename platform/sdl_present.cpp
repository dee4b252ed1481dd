// SDL2 backend: the frame reaches the window through the window surface (an X11
// shared-memory image), scaled to fit the client area with black bars beside it.
#include <SDL.h>

#include "platform/platform.h"
#include "platform/sdl_internal.h"

namespace {

constexpr int DefaultRefreshHz = 60;

SDL_Surface* Frame = nullptr;    // the frame in the window surface's layout, unscaled
SDL_Surface* Painted = nullptr;  // the window surface whose bars are painted black
int PaintedWidth = 0, PaintedHeight = 0;

// The frame in the window surface's own layout, so that the copy or stretch into the
// window needs no conversion; nullptr when it cannot be had.
SDL_Surface* FrameLike(const SDL_Surface* surface, int width, int height) {
    Uint32 format = surface->format->format;
    if (Frame && (Frame->w != width || Frame->h != height || Frame->format->format != format)) {
        SDL_FreeSurface(Frame);
        Frame = nullptr;
    }
    if (!Frame)
        Frame = SDL_CreateRGBSurfaceWithFormat(0, width, height, surface->format->BitsPerPixel,
                                               format);
    return Frame;
}

// A window surface is new after every resize: its bars are painted once, not per frame.
void PaintBarsOnce(SDL_Surface* surface) {
    if (surface == Painted && surface->w == PaintedWidth && surface->h == PaintedHeight) return;
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    Painted = surface;
    PaintedWidth = surface->w;
    PaintedHeight = surface->h;
}

// Whole factors copy pixels (sharp); any other size is filtered, when both sides are
// 32-bit, else copied nearest.
void Scale(SDL_Surface* frame, SDL_Surface* surface, SDL_Rect* dest) {
    if (dest->w == frame->w && dest->h == frame->h) {
        SDL_BlitSurface(frame, nullptr, surface, dest);
    } else if (dest->w % frame->w == 0 && dest->h % frame->h == 0) {
        SDL_BlitScaled(frame, nullptr, surface, dest);
    } else if (surface->format->BytesPerPixel != 4 ||
               SDL_SoftStretchLinear(frame, nullptr, surface, dest) != 0) {
        SDL_BlitScaled(frame, nullptr, surface, dest);
    }
}

}  // namespace

namespace sdlplat {
void ResetPresentation() {
    SDL_FreeSurface(Frame);
    Frame = nullptr;
    Painted = nullptr;
}
}  // namespace sdlplat

namespace plat {

void Present(const uint32_t* pixels, int pitchBytes, int width, int height) {
    if (!pixels || !sdlplat::Window || width <= 0 || height <= 0) return;
    SDL_Surface* surface = SDL_GetWindowSurface(sdlplat::Window);
    if (!surface) return;
    SDL_Surface* frame = FrameLike(surface, width, height);
    if (!frame) return;
    if (SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_RGB888, pixels, pitchBytes,
                          frame->format->format, frame->pixels, frame->pitch) != 0)
        return;
    PaintBarsOnce(surface);
    SDL_Rect dest;
    FitPicture(surface->w, surface->h, width, height, &dest.x, &dest.y, &dest.w, &dest.h);
    Scale(frame, surface, &dest);
    SDL_UpdateWindowSurface(sdlplat::Window);
}

int RefreshRate() {
    SDL_DisplayMode mode;
    int display = sdlplat::Window ? SDL_GetWindowDisplayIndex(sdlplat::Window) : 0;
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 && mode.refresh_rate > 0)
        return mode.refresh_rate;
    return DefaultRefreshHz;
}

}  // namespace plat
