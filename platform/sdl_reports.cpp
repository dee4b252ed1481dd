// SDL2 backend: the modal message box, the system bell and the program's directory.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <string>

#include "platform/platform.h"
#include "platform/sdl_internal.h"

namespace plat {

// When no box can be shown (no display) the text stays only on standard error, where
// the error report has already written it.
void MessageBox(const char* captionUtf8, const char* textUtf8) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, captionUtf8, textUtf8, sdlplat::Window);
}

// SDL has no bell: ring the X server's, or the terminal's when there is no X window.
void SystemBeep() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (sdlplat::Window && SDL_GetWindowWMInfo(sdlplat::Window, &info) &&
        info.subsystem == SDL_SYSWM_X11) {
        XBell(info.info.x11.display, 0);
        XFlush(info.info.x11.display);
        return;
    }
    if (isatty(STDERR_FILENO)) (void)!write(STDERR_FILENO, "\a", 1);
}

const char* ProgramDirectory() {
    static std::string dir;
    if (!dir.empty()) return dir.c_str();
    // SDL reads /proc/self/exe; without /proc the current directory is all we have.
    if (char* base = SDL_GetBasePath()) {
        dir = base;
        SDL_free(base);
    }
    if (dir.empty()) dir = "./";
    if (dir.back() != '/') dir += '/';
    return dir.c_str();
}

// A read-only mount says so here even to root, whom file modes do not stop.
bool ProgramDirectoryWritable() { return access(ProgramDirectory(), W_OK) == 0; }

}  // namespace plat
