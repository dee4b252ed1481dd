// SDL2 backend: the game window (the pads are listened to while it is open), full
// screen, the pointer and the key-down query.
#include <SDL.h>
#include <malloc.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "platform/sdl_internal.h"

namespace sdlplat {
SDL_Window* Window = nullptr;
}
using sdlplat::Window;

// A hang-up (the session ending, the terminal closed) ends the game as SIGTERM does: SDL
// takes that for a close request, and the game closes the way its close box does.
static void HangUp(int) { raise(SIGTERM); }

namespace plat {

bool OpenWindow(const char* captionUtf8, int clientWidth, int clientHeight) {
    if (Window) return true;
    // Pictures, clips and the files they come from, of a megabyte or more, come and go
    // with every page: each gets a mapping of its own and goes back to the system when
    // freed. Left to itself the C library raises that bound to the largest block freed
    // so far, and keeps later ones in heaps that seldom shrink. The threads that read
    // at start-up and ahead of a page share one heap with the game's, instead of each
    // keeping one of its own.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_ARENA_MAX, 1);
    // The GL renderer behind an "accelerated" window surface runs on the CPU under a
    // software GL; the plain X11 shared-memory image costs a tenth of it per frame.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // A close request is reported once, from the window; SDL_QUIT then only comes
    // from SIGINT/SIGTERM (and SIGHUP, passed on as SIGTERM).
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The game takes keys, never typed text, so the X input method's compose table is
    // never consulted; reading the locale's (half a megabyte of text) held up the first
    // frame by several milliseconds. An empty one is read instead.
    setenv("XCOMPOSEFILE", "/dev/null", 1);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "akari: cannot open the game window: %s\n", SDL_GetError());
        return false;
    }
    struct sigaction hangUp = {}, before;
    sigaction(SIGHUP, nullptr, &before);
    if (before.sa_handler == SIG_DFL) {  // a game started with nohup keeps ignoring it
        hangUp.sa_handler = HangUp;
        sigemptyset(&hangUp.sa_mask);
        sigaction(SIGHUP, &hangUp, nullptr);
    }
    // Where no display can be reached SDL falls back to a driver that shows nothing; a
    // window nobody can see is refused unless that driver was asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!SDL_getenv("SDL_VIDEODRIVER") && driver &&
        (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0)) {
        std::fprintf(stderr, "akari: no display to show the game window on "
                             "(neither DISPLAY nor WAYLAND_DISPLAY leads to one)\n");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    // SDL writes the X11 window name (WM_NAME) through the C library's character
    // locale; under the "C" locale a UTF-8 caption would come out as Latin-1 mojibake.
    std::string previousLocale = std::setlocale(LC_CTYPE, nullptr);
    std::setlocale(LC_CTYPE, "C.UTF-8");
    Window = SDL_CreateWindow(captionUtf8, SDL_WINDOWPOS_CENTERED_DISPLAY(0),
                              SDL_WINDOWPOS_CENTERED_DISPLAY(0), clientWidth, clientHeight,
                              SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
    std::setlocale(LC_CTYPE, previousLocale.c_str());
    if (!Window) {
        std::fprintf(stderr, "akari: cannot open the game window: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    SDL_StopTextInput();
    SDL_DisableScreenSaver();
    sdlplat::OpenPads();
    return true;
}

void SetFullScreen(bool on) {
    if (Window) SDL_SetWindowFullscreen(Window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void CloseWindow() {
    if (!Window) return;
    sdlplat::ClosePads();
    sdlplat::ResetPresentation();
    SDL_DestroyWindow(Window);
    Window = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void ClientOrigin(int* x, int* y) {
    *x = *y = 0;
    if (Window) SDL_GetWindowPosition(Window, x, y);
}

void RaiseWindow() {
    if (!Window) return;
    SDL_RestoreWindow(Window);
    SDL_RaiseWindow(Window);
}

void GlobalPointer(int* x, int* y) { SDL_GetGlobalMouseState(x, y); }

bool PointerInWindow() { return Window && SDL_GetMouseFocus() == Window; }

bool WarpPointer(int clientX, int clientY) {
    if (!Window) return false;
    SDL_WarpMouseInWindow(Window, clientX, clientY);
    return true;
}

void ShowSystemPointer(bool shown) { SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE); }

bool KeyIsDown(Key key) {
    const Uint8* keys = SDL_GetKeyboardState(nullptr);
    switch (key) {
    case KeyCtrl: return keys[SDL_SCANCODE_LCTRL] || keys[SDL_SCANCODE_RCTRL];
    case KeyReturn:
        return keys[SDL_SCANCODE_RETURN] || keys[SDL_SCANCODE_KP_ENTER] ||
               keys[SDL_SCANCODE_RETURN2];
    default: return false;
    }
}

}  // namespace plat
